// CIconButton: configuration, messages, hover, clicks (check box, drop-down
// menu, link) and the tooltip. Drawing is in CIconButton_Draw.cpp.
#include "ui/controls/CIconButton.h"

#include "ui/controls/LinkTarget.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsCheckBoxType(DWORD type)
{
    // Only the check-box types: BS_AUTO3STATE, BS_GROUPBOX and BS_OWNERDRAW
    // share the bit BS_CHECKBOX too.
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

}  // namespace

BEGIN_MESSAGE_MAP(CIconButton, CButton)
ON_WM_SETCURSOR()
ON_WM_KILLFOCUS()
ON_WM_MOUSEMOVE()
ON_WM_SYSCOLORCHANGE()
ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
ON_WM_ACTIVATE()
ON_WM_ENABLE()
ON_WM_CANCELMODE()
ON_WM_GETDLGCODE()
ON_WM_CTLCOLOR_REFLECT()
ON_WM_MENUCHAR()
ON_WM_MEASUREITEM()
ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
ON_WM_MOUSELEAVE()
ON_MESSAGE(BM_SETCHECK, OnSetCheck)
ON_MESSAGE(BM_GETCHECK, OnGetCheck)
END_MESSAGE_MAP()

CIconButton::CIconButton()
    : m_bGreyDisabledBitmap(TRUE), m_bFlat(TRUE), m_bHover(FALSE), m_bParentFace(FALSE), m_bPressed(FALSE),
      m_bFocused(FALSE), m_bDisabled(FALSE), m_bDefaultButton(FALSE), m_bCheckBoxMode(FALSE),
      m_nImageAlign(ST_ALIGN_HORIZ), m_bFlatBorder(TRUE), m_bFlatFocusRect(FALSE), m_crColours{},
      m_hMenuTarget(nullptr), m_bMenuOpen(FALSE), m_hBtnCursor(nullptr), m_pOldFaceBitmap(nullptr),
      m_bTrackAlways(TRUE), m_nCheckState(0), m_nStyleType(BS_TYPEMASK), m_szLinkURL{}, m_Icons{}, m_Bitmaps{}
{
    SetDefaultColors(FALSE);
}

CIconButton::~CIconButton()
{
    if (m_dcParentFace.GetSafeHdc() && m_pOldFaceBitmap)
        m_dcParentFace.SelectObject(m_pOldFaceBitmap);
    FreeResources();
    if (m_hBtnCursor)
        ::DestroyCursor(m_hBtnCursor);
    m_DropMenu.DestroyMenu();
}

const char* CIconButton::GetVersionC()
{
    return "3.5";
}

short CIconButton::GetVersionI()
{
    return 35;
}

void CIconButton::Repaint(BOOL bRepaint)
{
    if (bRepaint && ::IsWindow(GetSafeHwnd()))
        Invalidate();
}

// ---- subclassing and styles ----

void CIconButton::PreSubclassWindow()
{
    DWORD style = GetStyle();
    DWORD type = style & BS_TYPEMASK;
    m_nStyleType = static_cast<int>(type);
    if (IsCheckBoxType(type))
        m_bCheckBoxMode = TRUE;
    if (type == BS_DEFPUSHBUTTON) {
        m_bDefaultButton = TRUE;
        m_nStyleType = BS_PUSHBUTTON;
    }
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

// Keeps the window owner-drawn whatever type is asked for; a push button
// type only says whether the button is the default one.
LRESULT CIconButton::OnSetStyle(WPARAM wParam, LPARAM lParam)
{
    UINT type = static_cast<UINT>(wParam) & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
        m_bDefaultButton = type == BS_DEFPUSHBUTTON;
    return DefWindowProc(BM_SETSTYLE, (wParam & ~0x14u) | BS_OWNERDRAW, lParam);
}

UINT CIconButton::OnGetDlgCode()
{
    // The layer already calls an owner-drawn button "not default": the
    // button says which it is itself.
    UINT code = CButton::OnGetDlgCode() & ~static_cast<UINT>(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
    code |= m_bDefaultButton ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
    return code;
}

LRESULT CIconButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDBLCLK)
        message = WM_LBUTTONDOWN;
    return CButton::DefWindowProc(message, wParam, lParam);
}

HBRUSH CIconButton::CtlColor(CDC*, UINT)
{
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

// ---- check box ----

LRESULT CIconButton::OnSetCheck(WPARAM wParam, LPARAM)
{
    if (m_bCheckBoxMode) {
        m_nCheckState = (wParam == BST_CHECKED || wParam == BST_INDETERMINATE) ? 1 : 0;
        Invalidate();
    }
    return 0;
}

LRESULT CIconButton::OnGetCheck(WPARAM, LPARAM)
{
    return m_nCheckState;
}

DWORD CIconButton::SetCheck(int nCheck, BOOL bRepaint)
{
    if (m_bCheckBoxMode) {
        m_nCheckState = nCheck ? 1 : 0;
        Repaint(bRepaint);
    }
    return BTNST_OK;
}

int CIconButton::GetCheck()
{
    return m_nCheckState;
}

BOOL CIconButton::GetDefault()
{
    return m_bDefaultButton;
}

// ---- colours and looks ----

DWORD CIconButton::SetDefaultColors(BOOL bRepaint)
{
    for (int i = 0; i < BTNST_MAX_COLORS; ++i)
        m_crColours[i] = ::GetSysColor(i % 2 == 0 ? COLOR_BTNFACE : COLOR_BTNTEXT);
    Repaint(bRepaint);
    return BTNST_OK;
}

DWORD CIconButton::SetColor(BYTE byColorIndex, COLORREF crColor, BOOL bRepaint)
{
    if (byColorIndex >= BTNST_MAX_COLORS)
        return BTNST_INVALIDINDEX;
    m_crColours[byColorIndex] = crColor;
    Repaint(bRepaint);
    return BTNST_OK;
}

DWORD CIconButton::GetColor(BYTE byColorIndex, COLORREF* crpColor)
{
    if (byColorIndex >= BTNST_MAX_COLORS)
        return BTNST_INVALIDINDEX;
    if (crpColor)
        *crpColor = m_crColours[byColorIndex];
    return BTNST_OK;
}

// All three channels move by one amount, held so that none leaves 0..255:
// the hue stays.
DWORD CIconButton::OffsetColor(BYTE byColorIndex, short shOffset, BOOL bRepaint)
{
    if (byColorIndex >= BTNST_MAX_COLORS)
        return BTNST_INVALIDINDEX;
    if (shOffset < -255 || shOffset > 255)
        return BTNST_BADPARAM;
    COLORREF c = m_crColours[byColorIndex];
    int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    int offset = shOffset;
    if (offset > 0)
        offset = std::min({offset, 255 - r, 255 - g, 255 - b});
    else
        offset = std::max({offset, -r, -g, -b});
    m_crColours[byColorIndex] = RGB(r + offset, g + offset, b + offset);
    Repaint(bRepaint);
    return BTNST_OK;
}

DWORD CIconButton::SetAlign(BYTE byAlign, BOOL bRepaint)
{
    if (byAlign > ST_ALIGN_HORIZ_RIGHT)
        return BTNST_INVALIDALIGN;
    m_nImageAlign = byAlign;
    Repaint(bRepaint);
    return BTNST_OK;
}

DWORD CIconButton::SetFlat(BOOL bFlat, BOOL bRepaint)
{
    m_bFlat = bFlat;
    Repaint(bRepaint);
    return BTNST_OK;
}

DWORD CIconButton::DrawBorder(BOOL bDrawBorder, BOOL bRepaint)
{
    m_bFlatBorder = bDrawBorder;
    Repaint(bRepaint);
    return BTNST_OK;
}

DWORD CIconButton::DrawFlatFocus(BOOL bDrawFlatFocus, BOOL bRepaint)
{
    m_bFlatFocusRect = bDrawFlatFocus;
    Repaint(bRepaint);
    return BTNST_OK;
}

DWORD CIconButton::SetAlwaysTrack(BOOL bAlwaysTrack)
{
    m_bTrackAlways = bAlwaysTrack;
    return BTNST_OK;
}

void CIconButton::DrawTransparent(BOOL bRepaint)
{
    m_bParentFace = TRUE;
    DropParentFace();
    Repaint(bRepaint);
}

void CIconButton::DropParentFace()
{
    if (m_dcParentFace.GetSafeHdc()) {
        if (m_pOldFaceBitmap)
            m_dcParentFace.SelectObject(m_pOldFaceBitmap);
        m_dcParentFace.DeleteDC();
    }
    m_pOldFaceBitmap = nullptr;
    m_bmpParentFace.DeleteObject();
}

void CIconButton::OnSysColorChange()
{
    CButton::OnSysColorChange();
    DropParentFace();
    Repaint(TRUE);
}

DWORD CIconButton::SetBtnCursor(int nCursorId, BOOL bRepaint)
{
    if (m_hBtnCursor) {
        ::DestroyCursor(m_hBtnCursor);
        m_hBtnCursor = nullptr;
    }
    if (nCursorId == 0)
        return BTNST_OK;
    LPCSTR name = MAKEINTRESOURCE(nCursorId);
    HINSTANCE module = AfxFindResourceHandle(name, RT_GROUP_CURSOR);
    m_hBtnCursor = module ? static_cast<HCURSOR>(::LoadImage(module, name, IMAGE_CURSOR, 0, 0, 0)) : nullptr;
    Repaint(bRepaint);
    return m_hBtnCursor ? BTNST_OK : BTNST_INVALIDRESOURCE;
}

BOOL CIconButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_hBtnCursor) {
        ::SetCursor(m_hBtnCursor);
        return TRUE;
    }
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

DWORD CIconButton::SetURL(const char* szURL)
{
    std::memset(m_szLinkURL, 0, sizeof m_szLinkURL);
    if (szURL)
        std::strncpy(m_szLinkURL, szURL, sizeof m_szLinkURL - 1);
    return BTNST_OK;
}

// ---- hover ----

void CIconButton::CancelHover()
{
    if (m_bFlat && m_bHover) {
        m_bHover = FALSE;
        Invalidate();
    }
}

void CIconButton::OnMouseMove(UINT nFlags, CPoint point)
{
    CButton::OnMouseMove(nFlags, point);
    if ((nFlags & MK_LBUTTON) && !m_bHover)
        return;
    if (!m_bFlat)
        return;
    CWnd* tracking = m_bTrackAlways ? this : CWnd::GetActiveWindow();
    CPoint cursor;
    ::GetCursorPos(&cursor);
    CWnd* under = CWnd::WindowFromPoint(cursor);
    if (under && under->GetSafeHwnd() == GetSafeHwnd() && tracking) {
        if (!m_bHover) {
            m_bHover = TRUE;
            Invalidate();
            TRACKMOUSEEVENT tme{};
            tme.cbSize = sizeof tme;
            tme.dwFlags = TME_LEAVE;
            tme.hwndTrack = GetSafeHwnd();
            ::TrackMouseEvent(&tme);
        }
    } else {
        CancelHover();
    }
}

void CIconButton::OnMouseLeave()
{
    CancelHover();
}

void CIconButton::OnKillFocus(CWnd* pNewWnd)
{
    CButton::OnKillFocus(pNewWnd);
    CancelHover();
}

void CIconButton::OnCancelMode()
{
    CButton::OnCancelMode();
    CancelHover();
}

void CIconButton::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CButton::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        CancelHover();
}

void CIconButton::OnEnable(BOOL bEnable)
{
    CButton::OnEnable(bEnable);
    if (bEnable)
        return;
    // A disabled button cannot keep the focus: the next item takes it.
    if (CWnd* parent = GetParent()) {
        CWnd* next = parent->GetNextDlgTabItem(this);
        if (next && next != this)
            next->SetFocus();
        else
            parent->SetFocus();
    }
    CancelHover();
}

// ---- clicks ----

BOOL CIconButton::OnClicked()
{
    SetFocus();
    if (m_bCheckBoxMode) {
        m_nCheckState = !m_nCheckState;
        Invalidate();
    } else if (m_DropMenu.GetSafeHmenu()) {
        ShowDropMenu();
    } else if (m_szLinkURL[0]) {
        vxui::OpenLink(m_szLinkURL);
    }
    // The parent hears of the click too.
    return FALSE;
}

void CIconButton::ShowDropMenu()
{
    CMenu* popup = m_DropMenu.GetSubMenu(0);
    if (!popup)
        return;
    m_bMenuOpen = TRUE;
    Invalidate();
    CRect rc;
    GetWindowRect(&rc);
    HWND self = GetSafeHwnd();
    auto command = static_cast<UINT>(::TrackPopupMenu(popup->GetSafeHmenu(),
                                                      TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD,
                                                      rc.left, rc.bottom, 0, self, nullptr));
    if (!::IsWindow(self))
        return;
    m_bMenuOpen = FALSE;
    Invalidate();
    if (command && m_hMenuTarget)
        ::PostMessage(m_hMenuTarget, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

DWORD CIconButton::SetMenu(UINT nMenu, HWND hParentWnd, BOOL bWinXPStyle, UINT nToolbarID, CSize sizeToolbarIcon,
                           COLORREF crToolbarBk, BOOL bRepaint)
{
    m_DropMenu.DestroyMenu();
    m_hMenuTarget = nullptr;
    m_bMenuOpen = FALSE;
    if (nMenu == 0) {
        Repaint(bRepaint);
        return BTNST_OK;
    }
    ZelMenu::s_nDrawModeThemed = bWinXPStyle ? 1 : 0;
    ZelMenu::s_nDrawModePlain = bWinXPStyle ? 1 : 0;
    if (!m_DropMenu.LoadMenu(nMenu))
        return BTNST_INVALIDRESOURCE;
    if (nToolbarID) {
        m_DropMenu.SetBitmapBackground(crToolbarBk);
        m_DropMenu.SetIconSize(sizeToolbarIcon.cx, sizeToolbarIcon.cy);
        if (!m_DropMenu.LoadToolbar(nToolbarID)) {
            m_DropMenu.DestroyMenu();
            return BTNST_INVALIDRESOURCE;
        }
    }
    m_hMenuTarget = hParentWnd;
    Repaint(bRepaint);
    return BTNST_OK;
}

void CIconButton::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct && lpMeasureItemStruct->CtlType == ODT_MENU
        && m_DropMenu.HoldsItem(lpMeasureItemStruct->itemData)) {
        m_DropMenu.MeasureItem(lpMeasureItemStruct);
        return;
    }
    CButton::OnMeasureItem(nIDCtl, lpMeasureItemStruct);
}

LRESULT CIconButton::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
{
    if (pMenu && ZelMenu::IsMenu(pMenu->GetSafeHmenu()))
        return ZelMenu::FindKeyboardShortcut(nChar, nFlags, CMenu::FromHandlePermanent(pMenu->GetSafeHmenu()));
    return Default();
}

// ---- tooltip ----

void CIconButton::InitToolTip()
{
    if (::IsWindow(m_Tip.GetSafeHwnd()))
        return;
    m_Tip.Create(this);
    m_Tip.Activate(FALSE);
    m_Tip.SetMaxTipWidth(400);
}

BOOL CIconButton::PreTranslateMessage(MSG* pMsg)
{
    InitToolTip();
    m_Tip.RelayEvent(pMsg);
    return CButton::PreTranslateMessage(pMsg);
}

void CIconButton::SetTooltipText(const char* szText, BOOL bActivate)
{
    if (!szText)
        return;
    InitToolTip();
    if (m_Tip.GetToolCount() == 0) {
        CRect rc;
        GetClientRect(&rc);
        m_Tip.AddTool(this, szText, &rc, 1);
    }
    m_Tip.UpdateTipText(szText, this, 1);
    m_Tip.Activate(bActivate);
}

void CIconButton::SetTooltipText(int nText, BOOL bActivate)
{
    CString text;
    text.LoadString(static_cast<UINT>(nText));
    if (!text.IsEmpty())
        SetTooltipText(static_cast<LPCSTR>(text), bActivate);
}

void CIconButton::ActivateTooltip(BOOL bEnable)
{
    if (::IsWindow(m_Tip.GetSafeHwnd()) && m_Tip.GetToolCount() > 0)
        m_Tip.Activate(bEnable);
}

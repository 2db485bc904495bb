#include "ui/controls/CDialogBase.h"

#include <algorithm>
#include <cctype>
#include <string>

IMPLEMENT_DYNAMIC(CDialogBase, CDialog)

BEGIN_MESSAGE_MAP(CDialogBase, CDialog)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_LBUTTONDOWN()
ON_WM_GETMINMAXINFO()
ON_WM_NCHITTEST()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
END_MESSAGE_MAP()

CDialogBase::CDialogBase(UINT nIDTemplate, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_nQuitConfirm(1), m_hIcon(nullptr), m_strLoadError("Failed to load skin"),
      m_nNoCenter(0), m_nNoRightStrip(1), m_nNoRightTop(1), m_nNoDrag(0), m_nNoBackground(0), m_pSkin(nullptr)
{}

CDialogBase::~CDialogBase()
{
    delete m_pSkin;
}

void CDialogBase::DoDataExchange(CDataExchange*) {}

void CDialogBase::Init() {}

void CDialogBase::OnDrawBackgroundEnd(HDC) {}

void CDialogBase::DoEscape() {}

int CDialogBase::DoQuitConfirm()
{
    return 1;
}

int CDialogBase::DoExit()
{
    return 1;
}

void CDialogBase::InitControls() {}

// Enter and Escape never end the dialog by themselves.
void CDialogBase::OnOK() {}

void CDialogBase::OnCancel() {}

BOOL CDialogBase::OnInitDialog()
{
    CDialog::OnInitDialog();
    Init();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    ModifyStyle(WS_CAPTION | WS_SYSMENU, 0, 0);
    if (m_pSkin && !m_strSkinFile.IsEmpty() && m_pSkin->LoadSkin(m_strSkinFile)) {
        SetWindowText(m_pSkin->GetTitle()->text);
        const ST_SKIN_RECT& rc = m_pSkin->GetBackground()->rect;
        SetWindowPos(nullptr, 0, 0, rc.width, rc.height, SWP_NOMOVE | SWP_NOZORDER);
        InitControls();
        return TRUE;
    }
    MessageBox(m_strLoadError, "Error", MB_ICONERROR);
    // Without its skin the window would stay a grey square with no caption
    // and no way to close it: it ends here (a modeless one hides for its
    // owner to destroy).
    EndDialog(IDCANCEL);
    return FALSE;
}

BOOL CDialogBase::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN) {
        if (pMsg->wParam == VK_ESCAPE) {
            DoEscape();
            return TRUE;
        }
        if (pMsg->wParam == VK_RETURN) {
            // Enter belongs to an edit (a new line, or the edit's own use);
            // anywhere else it would press a button, which skinned dialogs
            // do not want.
            CWnd* focus = GetFocus();
            char name[64] = {};
            if (focus)
                GetClassName(focus->GetSafeHwnd(), name, sizeof(name));
            std::string lowered(name);
            std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            return lowered.find("edit") == std::string::npos;
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}

LRESULT CDialogBase::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        if (DoQuitConfirm() && DoExit())
            CDialog::OnCancel();
        return 1;
    }
    return CDialog::DefWindowProc(message, wParam, lParam);
}

void CDialogBase::OnPaint()
{
    if (IsIconic()) {
        // Kept for desktops that paint minimised windows.
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        CRect rc;
        GetClientRect(&rc);
        const int x = (rc.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (rc.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
        return;
    }
    if (!m_pSkin) {
        Default();
        return;
    }
    CPaintDC dc(this);
    CRect rc;
    GetWindowRect(&rc);
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&dc, rc.Width(), rc.Height());
    CBitmap* old = mem.SelectObject(&bmp);
    // What the skin leaves undrawn (no background, a transparent key) shows
    // the dialog face rather than whatever the bitmap held.
    mem.FillSolidRect(0, 0, rc.Width(), rc.Height(), GetSysColor(COLOR_BTNFACE));
    if (!m_nNoDrag && !m_nNoBackground)
        m_pSkin->DrawBackground(mem.GetSafeHdc(), rc, m_nNoRightStrip, m_nNoRightTop, m_nNoCenter);
    OnDrawBackgroundEnd(mem.GetSafeHdc());
    dc.BitBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(old);
    bmp.DeleteObject();
    mem.DeleteDC();
}

HCURSOR CDialogBase::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CDialogBase::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!IsZoomed() && !m_nNoDrag)
        PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    Default();
}

void CDialogBase::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    if (m_pSkin) {
        RECT work{};
        if (SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0)) {
            lpMMI->ptMaxSize.x = work.right - work.left;
            lpMMI->ptMaxSize.y = work.bottom - work.top;
        }
        lpMMI->ptMinTrackSize.x = m_pSkin->GetBackground()->min_size.w;
        lpMMI->ptMinTrackSize.y = m_pSkin->GetBackground()->min_size.h;
    }
    Default();
}

LRESULT CDialogBase::OnNcHitTest(CPoint)
{
    return HTCLIENT;
}

BOOL CDialogBase::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CDialogBase::OnSize(UINT, int, int)
{
    Default();
}

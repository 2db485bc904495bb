#include "ui/controls/CTabCtrlEx.h"

IMPLEMENT_DYNAMIC(CTabCtrlEx, CTabCtrl)

BEGIN_MESSAGE_MAP(CTabCtrlEx, CTabCtrl)
ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

// The label buffer of one tab: longer labels are drawn cut.
constexpr int kLabelBuffer = 64;

}  // namespace

CTabCtrlEx::CTabCtrlEx() : m_crSelColour(RGB(0, 0, 255)), m_crUnselColour(RGB(50, 50, 50)) {}

CTabCtrlEx::~CTabCtrlEx()
{
    m_SelFont.DeleteObject();
    m_UnselFont.DeleteObject();
}

int CTabCtrlEx::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    (void)lpCreateStruct;
    if (Default() == -1)
        return -1;
    ModifyStyle(0, TCS_OWNERDRAWFIXED);
    return 0;
}

// Controls of dialog templates are subclassed, not created here.
void CTabCtrlEx::PreSubclassWindow()
{
    CTabCtrl::PreSubclassWindow();
    ModifyStyle(0, TCS_OWNERDRAWFIXED);
}

void CTabCtrlEx::SetColours(COLORREF selected, COLORREF unselected)
{
    m_crSelColour = selected;
    m_crUnselColour = unselected;
    Invalidate(TRUE);
}

void CTabCtrlEx::SetFonts(int selWeight, int selItalic, int selUnderline, int unselWeight, int unselItalic,
                          int unselUnderline)
{
    // The control's font may be one of ours from an earlier call: read it
    // before deleting anything.
    LOGFONT lf{};
    HFONT current = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!current || !::GetObject(current, sizeof(lf), &lf)) {
        NONCLIENTMETRICS ncm{};
        ncm.cbSize = sizeof(ncm);
        ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
        lf = ncm.lfMessageFont;
    }
    m_SelFont.DeleteObject();
    m_UnselFont.DeleteObject();

    LOGFONT sel = lf;
    sel.lfWeight = selWeight;
    sel.lfItalic = static_cast<BYTE>(selItalic);
    sel.lfUnderline = static_cast<BYTE>(selUnderline);
    m_SelFont.CreateFontIndirect(&sel);
    LOGFONT unsel = lf;
    unsel.lfWeight = unselWeight;
    unsel.lfItalic = static_cast<BYTE>(unselItalic);
    unsel.lfUnderline = static_cast<BYTE>(unselUnderline);
    m_UnselFont.CreateFontIndirect(&unsel);

    SetFont(unselWeight < selWeight ? &m_SelFont : &m_UnselFont, TRUE);
}

void CTabCtrlEx::SetFonts(CFont* selected, CFont* unselected)
{
    // Read both before deleting: the caller may pass our own fonts.
    LOGFONT sel{};
    LOGFONT unsel{};
    if (selected)
        selected->GetLogFont(&sel);
    if (unselected)
        unselected->GetLogFont(&unsel);
    m_SelFont.DeleteObject();
    m_UnselFont.DeleteObject();
    m_SelFont.CreateFontIndirect(&sel);
    m_UnselFont.CreateFontIndirect(&unsel);
    SetFont(unsel.lfHeight < sel.lfHeight ? &m_SelFont : &m_UnselFont, TRUE);
}

void CTabCtrlEx::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CRect rect(lpDrawItemStruct->rcItem);
    int item = static_cast<int>(lpDrawItemStruct->itemID);
    if (item < 0)
        return;
    bool selected = item == GetCurSel();

    char label[kLabelBuffer] = {};
    TCITEM tci{};
    tci.mask = TCIF_TEXT | TCIF_IMAGE;
    tci.pszText = label;
    tci.cchTextMax = kLabelBuffer - 1;
    if (!GetItem(item, &tci))
        return;

    CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (!dc)
        return;
    int saved = dc->SaveDC();

    rect.top += ::GetSystemMetrics(SM_CYEDGE);
    dc->SetBkMode(TRANSPARENT);
    dc->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));

    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessage(TCM_GETIMAGELIST));
    if (images && tci.iImage >= 0) {
        rect.left += dc->GetTextExtent(" ", 1).cx;
        ImageList_Draw(images, tci.iImage, dc->GetSafeHdc(), rect.left, rect.top, ILD_TRANSPARENT);
        IMAGEINFO info{};
        if (ImageList_GetImageInfo(images, tci.iImage, &info))
            rect.left += info.rcImage.right - info.rcImage.left;
    }

    CFont* old = nullptr;
    if (selected) {
        dc->SetTextColor(m_crSelColour);
        old = dc->SelectObject(&m_SelFont);
        rect.top -= ::GetSystemMetrics(SM_CYEDGE);
        dc->DrawText(label, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    } else {
        dc->SetTextColor(m_crUnselColour);
        old = dc->SelectObject(&m_UnselFont);
        dc->DrawText(label, -1, &rect, DT_SINGLELINE | DT_BOTTOM | DT_CENTER);
    }
    if (old)
        dc->SelectObject(old);
    dc->RestoreDC(saved);
}

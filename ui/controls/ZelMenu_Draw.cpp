// ZelMenu: measuring and drawing items in the classic and the XP style, and
// the off-screen DC they draw through.
#include "ui/controls/ZelMenu.h"

#include <algorithm>
#include <string>

namespace {

// The system's menu font, for measuring and drawing the texts.
LOGFONT MenuLogFont()
{
    NONCLIENTMETRICS ncm{};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    return ncm.lfMenuFont;
}

void Fill(CDC* dc, const CRect& rc, COLORREF colour)
{
    dc->FillSolidRect(&rc, colour);
}

void Frame(CDC* dc, const CRect& rc, COLORREF colour)
{
    CBrush brush(colour);
    dc->FrameRect(&rc, &brush);
}

}  // namespace

// ---- ZelMenuMemDC ----

ZelMenuMemDC::ZelMenuMemDC(CDC* pTarget, const RECT& rect) : m_pTarget(pTarget), m_rect(rect)
{
    CreateCompatibleDC(pTarget);
    m_bitmap.CreateCompatibleBitmap(pTarget, std::max(1, m_rect.Width()), std::max(1, m_rect.Height()));
    m_pOldBitmap = SelectObject(&m_bitmap);
    // Callers draw in the target's coordinates.
    SetViewportOrg(-m_rect.left, -m_rect.top);
}

ZelMenuMemDC::~ZelMenuMemDC()
{
    SetViewportOrg(0, 0);
    if (m_pTarget)
        m_pTarget->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, 0, 0, SRCCOPY);
    SelectObject(m_pOldBitmap);
}

// ---- measuring ----

void ZelMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    if (!lpMIS || lpMIS->CtlType != ODT_MENU || !HoldsItem(lpMIS->itemData))
        return;
    const auto* item = reinterpret_cast<const ZelMenuData*>(lpMIS->itemData);
    bool xp = GetMenuDrawMode() == 1;
    int margin = xp && s_bIconEffects ? 7 : 4;
    if (item->m_nFlags & MF_SEPARATOR) {
        lpMIS->itemWidth = 0;
        lpMIS->itemHeight =
            static_cast<UINT>(std::max(::GetSystemMetrics(SM_CYMENU) / 2, (margin + m_nIconHeight) / 2));
        return;
    }
    LOGFONT lf = MenuLogFont();
    CFont font;
    font.CreateFontIndirect(&lf);
    // A DC of the main window, or of the screen when there is none.
    CWnd* main = AfxGetMainWnd();
    HWND owner = main && ::IsWindow(main->GetSafeHwnd()) ? main->GetSafeHwnd() : nullptr;
    HDC hdc = ::GetDC(owner);
    CDC* dc = CDC::FromHandle(hdc);
    CFont* old = dc->SelectObject(&font);
    std::string text = item->GetAnsiText();
    int textWidth = dc->GetTextExtent(text.c_str(), static_cast<int>(text.size())).cx;
    dc->SelectObject(old);
    ::ReleaseDC(owner, hdc);
    int width = xp ? m_nIconWidth + textWidth + margin + 8 : 2 * m_nIconWidth + textWidth + 1;
    lpMIS->itemWidth = static_cast<UINT>(width);
    lpMIS->itemHeight = static_cast<UINT>(std::max(::GetSystemMetrics(SM_CYMENU), margin + m_nIconHeight));
}

// ---- drawing ----

CImageList* ZelMenu::ImageListOf(const ZelMenuData* item, int& index) const
{
    if (item->m_pImageList && item->m_nImageIndex >= 0) {
        index = item->m_nImageIndex;
        return item->m_pImageList;
    }
    if (item->m_nGlobalImageIndex >= 0 && s_ImageList.GetSafeHandle()) {
        index = item->m_nGlobalImageIndex;
        return &s_ImageList;
    }
    index = -1;
    return nullptr;
}

// The part before the first tab left-aligned, the part after the last tab
// (the accelerator) right-aligned in a rectangle shortened by rightShorten.
void ZelMenu::DrawItemText(CDC* pDC, const ZelMenuData* item, CRect rc, COLORREF colour, int rightShorten)
{
    std::string text = item->GetAnsiText();
    size_t first = text.find('\t');
    size_t last = text.rfind('\t');
    pDC->SetTextColor(colour);
    pDC->SetBkMode(TRANSPARENT);
    std::string left = text.substr(0, first);
    pDC->DrawText(left.c_str(), static_cast<int>(left.size()), &rc, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    if (first != std::string::npos) {
        std::string right = text.substr(last + 1);
        CRect accel = rc;
        accel.right -= rightShorten;
        pDC->DrawText(right.c_str(), static_cast<int>(right.size()), &accel, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    }
}

// A tick of seven 3-pixel strokes (or a dot) on a box of the menu colour.
void ZelMenu::DrawCheckMark(CDC* pDC, const CRect& box, bool radio, bool selected, COLORREF back)
{
    Fill(pDC, box, selected ? back : LightenColor(back, 0.6));
    if (s_nShellType > 1) {
        CRect edge = box;
        pDC->DrawEdge(&edge, BDR_SUNKENINNER, BF_RECT);
    }
    COLORREF ink = ::GetSysColor(COLOR_MENUTEXT);
    if (radio) {
        CBrush brush(ink);
        CBrush* oldBrush = pDC->SelectObject(&brush);
        CPen pen(PS_SOLID, 1, ink);
        CPen* oldPen = pDC->SelectObject(&pen);
        pDC->Ellipse(box.left + 5, box.top + 4, box.left + 10, box.top + 9);
        pDC->SelectObject(oldPen);
        pDC->SelectObject(oldBrush);
        return;
    }
    static const int drop[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i)
        pDC->FillSolidRect(box.left + 4 + i, box.top + 4 + drop[i], 1, 3, ink);
}

void ZelMenu::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (!lpDIS || lpDIS->CtlType != ODT_MENU || !HoldsItem(lpDIS->itemData))
        return;
    if (GetMenuDrawMode() == 1)
        DrawItemXP(lpDIS);
    else
        DrawItemClassic(lpDIS);
}

void ZelMenu::DrawItemClassic(LPDRAWITEMSTRUCT lpDIS)
{
    const auto* item = reinterpret_cast<const ZelMenuData*>(lpDIS->itemData);
    CDC* target = CDC::FromHandle(lpDIS->hDC);
    CRect rc(lpDIS->rcItem);
    ZelMenuMemDC dc(target, rc);
    LOGFONT lf = MenuLogFont();
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* oldFont = dc.SelectObject(&font);

    COLORREF back = ::GetSysColor(IsXPThemeActive() ? COLOR_3DFACE : COLOR_MENU);
    bool disabled = (lpDIS->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    bool selected = (lpDIS->itemState & ODS_SELECTED) != 0 && (!disabled || s_bSelectDisabledClassic);
    bool checked = (lpDIS->itemState & ODS_CHECKED) != 0;
    Fill(&dc, rc, back);
    if (item->m_nFlags & MF_SEPARATOR) {
        CRect line = rc;
        line.top += rc.Height() / 2;
        dc.DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        dc.SelectObject(oldFont);
        return;
    }
    if (selected)
        Fill(&dc, CRect(rc.left + m_nIconWidth + 5, rc.top, rc.right, rc.bottom), ::GetSysColor(COLOR_HIGHLIGHT));

    int offset = std::max(0, (rc.Height() - m_nIconHeight - 4) / 2);
    CRect box(rc.left, rc.top + offset, rc.left + m_nIconWidth + 4, rc.top + offset + m_nIconHeight + 4);
    int index = -1;
    CImageList* list = ImageListOf(item, index);
    if (list) {
        if (checked)
            Fill(&dc, box, LightenColor(back, 0.6));
        ImageList_Draw(list->GetSafeHandle(), index, dc.GetSafeHdc(), rc.left + 2, box.top + 2, ILD_TRANSPARENT);
        if (checked)
            dc.Draw3dRect(&box, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        else if (selected)
            dc.Draw3dRect(&box, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    } else if (checked) {
        DrawCheckMark(&dc, box, false, selected, back);
    }

    CRect text(rc.left + m_nIconWidth + 9, rc.top - 1, rc.right, rc.bottom - 1);
    if (!disabled) {
        DrawItemText(&dc, item, text, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT), m_nIconWidth);
    } else if (selected) {
        DrawItemText(&dc, item, text, back, m_nIconWidth);
    } else {
        CRect raised = text;
        raised.OffsetRect(1, 1);
        DrawItemText(&dc, item, raised, ::GetSysColor(COLOR_BTNHIGHLIGHT), m_nIconWidth);
        DrawItemText(&dc, item, text, ::GetSysColor(COLOR_GRAYTEXT), m_nIconWidth);
    }
    dc.SelectObject(oldFont);
}

void ZelMenu::DrawItemXP(LPDRAWITEMSTRUCT lpDIS)
{
    const auto* item = reinterpret_cast<const ZelMenuData*>(lpDIS->itemData);
    CDC* target = CDC::FromHandle(lpDIS->hDC);
    CRect rc(lpDIS->rcItem);
    ZelMenuMemDC dc(target, rc);
    LOGFONT lf = MenuLogFont();
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* oldFont = dc.SelectObject(&font);

    bool theme = IsXPThemeActive() != FALSE;
    int margin = s_bIconEffects ? 7 : 4;
    int column = m_nIconWidth + margin;
    COLORREF columnColour = ::GetSysColor(COLOR_BTNFACE);
    if (!theme)
        columnColour = LightenColor(columnColour, 0.25);
    COLORREF textBack = ::GetSysColor(COLOR_WINDOW);
    COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    bool disabled = (lpDIS->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    bool selected = (lpDIS->itemState & ODS_SELECTED) != 0 && (!disabled || s_bSelectDisabledXP);
    bool checked = (lpDIS->itemState & ODS_CHECKED) != 0;

    CRect columnRect(rc.left, rc.top, rc.left + column, rc.bottom);
    CRect textRect(rc.left + column, rc.top, rc.right, rc.bottom);
    Fill(&dc, textRect, textBack);
    Frame(&dc, textRect, textBack);
    Fill(&dc, columnRect, columnColour);
    if (item->m_nFlags & MF_SEPARATOR) {
        CRect line(columnRect.right + margin, rc.top + rc.Height() / 2, rc.right, rc.bottom);
        dc.DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        dc.SelectObject(oldFont);
        return;
    }
    if (selected) {
        Fill(&dc, rc, LightenColor(highlight, theme ? 0.7 : 0.85));
        Frame(&dc, rc, highlight);
    }

    int x = rc.left + (column - m_nIconWidth) / 2;
    int y = rc.top + (rc.Height() - m_nIconHeight) / 2;
    int index = -1;
    CImageList* list = ImageListOf(item, index);
    if (list) {
        HIMAGELIST h = list->GetSafeHandle();
        int count = list->GetImageCount();
        bool copies = s_bIconEffects && list != &s_ImageList && count >= index + 3;
        if (checked) {
            CRect box(x - 2, y - 2, x + m_nIconWidth + 2, y + m_nIconHeight + 2);
            Fill(&dc, box, LightenColor(highlight, 0.85));
            Frame(&dc, box, highlight);
        }
        if (copies && selected && !disabled) {
            ImageList_Draw(h, count - 2, dc.GetSafeHdc(), x + 1, y + 1, ILD_TRANSPARENT);
            ImageList_Draw(h, index, dc.GetSafeHdc(), x - 1, y - 1, ILD_TRANSPARENT);
        } else if (copies && !disabled) {
            ImageList_Draw(h, count - 1, dc.GetSafeHdc(), x, y, ILD_TRANSPARENT);
        } else {
            ImageList_Draw(h, index, dc.GetSafeHdc(), x, y, ILD_TRANSPARENT);
        }
    } else if (checked) {
        CRect box(x - 2, y - 2, x + m_nIconWidth + 2, y + m_nIconHeight + 2);
        Fill(&dc, box, LightenColor(highlight, 0.85));
        Frame(&dc, box, highlight);
        DrawCheckMark(&dc, CRect(x, y, x + m_nIconWidth, y + m_nIconHeight), false, true,
                      LightenColor(highlight, 0.85));
    }
    COLORREF ink = disabled ? ::GetSysColor(COLOR_GRAYTEXT) : ::GetSysColor(COLOR_MENUTEXT);
    if (disabled && selected)
        ink = LightenColor(ink, 0.4);
    CRect text(rc.left + column + margin, rc.top, rc.right, rc.bottom);
    DrawItemText(&dc, item, text, ink, m_nIconWidth);
    dc.SelectObject(oldFont);
}

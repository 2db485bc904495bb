// ZelMenu: pictures from toolbar resources, the icon size and mask colour,
// and the shadowed and faded copies the XP style draws.
#include "ui/controls/ZelMenu.h"

#include <memory>

namespace {

WORD ReadWord(const unsigned char* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

}  // namespace

// ---- ZelMenuToolBar ----

ZelMenuToolBar::~ZelMenuToolBar()
{
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
}

BOOL ZelMenuToolBar::LoadToolBar(UINT nIDResource)
{
    LPCSTR name = MAKEINTRESOURCE(nIDResource);
    HRSRC res = ::FindResource(nullptr, name, RT_TOOLBAR);
    HGLOBAL data = res ? ::LoadResource(nullptr, res) : nullptr;
    auto* bytes = data ? static_cast<const unsigned char*>(::LockResource(data)) : nullptr;
    DWORD size = res ? ::SizeofResource(nullptr, res) : 0;
    // Header of four WORDs, then one WORD per button: a cut resource is
    // refused rather than read past its end.
    if (!bytes || size < 8)
        return FALSE;
    WORD width = ReadWord(bytes + 2);
    WORD height = ReadWord(bytes + 4);
    WORD count = ReadWord(bytes + 6);
    if (width == 0 || height == 0 || size < 8u + 2u * count)
        return FALSE;
    HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP);
    HBITMAP strip = ::LoadBitmap(module ? module : AfxGetInstanceHandle(), name);
    if (!strip)
        return FALSE;
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = strip;
    m_nButtonWidth = width;
    m_nButtonHeight = height;
    m_arrIds.clear();
    for (WORD i = 0; i < count; ++i)
        m_arrIds.push_back(ReadWord(bytes + 8 + 2 * i));
    return TRUE;
}

int ZelMenuToolBar::ImageIndexOf(UINT nCommand) const
{
    int image = 0;
    for (UINT id : m_arrIds) {
        if (id == 0)
            continue;  // a separator has no picture
        if (id == nCommand)
            return image;
        ++image;
    }
    return -1;
}

// ---- ZelMenu ----

void ZelMenu::SetIconSize(int width, int height)
{
    if (width > 0)
        m_nIconWidth = width;
    if (height > 0)
        m_nIconHeight = height;
}

void ZelMenu::SetBitmapBackground(COLORREF colour)
{
    m_crIconBack = colour;
    m_bUseIconBack = TRUE;
}

void ZelMenu::UnSetBitmapBackground()
{
    m_bUseIconBack = FALSE;
}

BOOL ZelMenu::LoadToolbars(const UINT* pToolBars, int nCount)
{
    BOOL ok = TRUE;
    for (int i = 0; pToolBars && i < nCount; ++i)
        ok = LoadToolbar(pToolBars[i]) && ok;
    return ok;
}

BOOL ZelMenu::LoadToolbar(UINT nToolBar)
{
    ZelMenuToolBar bar;
    if (!bar.LoadToolBar(nToolBar))
        return FALSE;
    for (UINT command : bar.m_arrIds) {
        if (command == 0)
            continue;
        int pos = -1;
        ZelMenu* holder = FindMenuOption(command, pos);
        if (!holder)
            continue;  // only commands the menu has get pictures
        ZelMenuData* item = holder->m_arrItems[pos];
        auto list = std::make_unique<CImageList>();
        if (!list->Create(m_nIconWidth, m_nIconHeight, ILC_COLORDDB | ILC_MASK, 1, 1)
            || ImageList_AddMasked(list->GetSafeHandle(), bar.m_hBitmap, MaskColour()) < 0)
            continue;
        int index = bar.ImageIndexOf(command);
        if (index < 0 || index >= list->GetImageCount())
            continue;
        if (GetMenuDrawMode() == 1 && s_bIconEffects)
            AddEffectCopies(list.get(), index);
        delete item->m_pImageList;
        item->m_pImageList = list.release();
        item->m_nImageIndex = index;
        item->m_nImageSourceId = static_cast<int>(nToolBar);
        item->m_nFlags |= MF_OWNERDRAW;
        holder->CMenu::ModifyMenu(static_cast<UINT>(pos), item->m_nFlags | MF_BYPOSITION, item->m_nCommand,
                                  reinterpret_cast<LPCSTR>(item));
    }
    return TRUE;
}

// Appends a shadow (the picture's shape in a dark grey) and a faded copy
// (lightened) of the picture; the XP style draws a selected icon over its
// shadow and an unselected one from the faded copy.
void ZelMenu::AddEffectCopies(CImageList* list, int index)
{
    COLORREF mask = MaskColour();
    COLORREF shadowColour = DarkenColor(::GetSysColor(COLOR_BTNFACE), 0.35);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP shadow = ::CreateCompatibleBitmap(screen, m_nIconWidth, m_nIconHeight);
    HBITMAP faded = ::CreateCompatibleBitmap(screen, m_nIconWidth, m_nIconHeight);
    ::ReleaseDC(nullptr, screen);
    RECT all{0, 0, m_nIconWidth, m_nIconHeight};
    HBRUSH back = ::CreateSolidBrush(mask);
    HGDIOBJ old = ::SelectObject(dc, faded);
    ::FillRect(dc, &all, back);
    ImageList_Draw(list->GetSafeHandle(), index, dc, 0, 0, ILD_TRANSPARENT);
    HDC shadowDc = ::CreateCompatibleDC(dc);
    HGDIOBJ oldShadow = ::SelectObject(shadowDc, shadow);
    ::FillRect(shadowDc, &all, back);
    for (int y = 0; y < m_nIconHeight; ++y) {
        for (int x = 0; x < m_nIconWidth; ++x) {
            COLORREF c = ::GetPixel(dc, x, y);
            if (c == mask)
                continue;
            ::SetPixel(shadowDc, x, y, shadowColour);
            COLORREF light = LightenColor(c, 0.3);
            ::SetPixel(dc, x, y, light == mask ? c : light);
        }
    }
    ::SelectObject(shadowDc, oldShadow);
    ::DeleteDC(shadowDc);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(back);
    ImageList_AddMasked(list->GetSafeHandle(), shadow, mask);
    ImageList_AddMasked(list->GetSafeHandle(), faded, mask);
    ::DeleteObject(shadow);
    ::DeleteObject(faded);
}

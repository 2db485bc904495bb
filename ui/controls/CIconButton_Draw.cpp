// CIconButton: its pictures (icons, grey copies, masked bitmaps) and the
// drawing of face, border, picture, caption and focus.
#include "ui/controls/CIconButton.h"

#include <algorithm>
#include <vector>

// ---- pictures ----

void CIconButton::FreeResources(BOOL bCheckForNULL)
{
    if (bCheckForNULL) {
        for (STRUCT_ICONS& icon : m_Icons)
            if (icon.hIcon)
                ::DestroyIcon(icon.hIcon);
        for (STRUCT_BITMAPS& bitmap : m_Bitmaps) {
            if (bitmap.hBitmap)
                ::DeleteObject(bitmap.hBitmap);
            if (bitmap.hMask)
                ::DeleteObject(bitmap.hMask);
        }
    }
    std::fill(std::begin(m_Icons), std::end(m_Icons), STRUCT_ICONS{});
    std::fill(std::begin(m_Bitmaps), std::end(m_Bitmaps), STRUCT_BITMAPS{});
}

DWORD CIconButton::SetIcon(int nIconIn, int nIconOut)
{
    auto load = [](int id) -> HICON {
        LPCSTR name = MAKEINTRESOURCE(id);
        HINSTANCE module = AfxFindResourceHandle(name, RT_GROUP_ICON);
        return module ? static_cast<HICON>(::LoadImage(module, name, IMAGE_ICON, 0, 0, 0)) : nullptr;
    };
    HICON in = load(nIconIn);
    HICON out = nIconOut == 0 || nIconOut == kGreyCopy ? reinterpret_cast<HICON>(static_cast<intptr_t>(nIconOut))
                                                       : load(nIconOut);
    return SetIcon(in, out);
}

// The size of an icon is its colour bitmap's (half the hot spot is wrong for
// odd sizes); the two bitmaps the query hands out are ours to delete.
static bool IconSize(HICON icon, DWORD* width, DWORD* height)
{
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return false;
    BITMAP bm{};
    HBITMAP sized = info.hbmColor ? info.hbmColor : info.hbmMask;
    bool ok = ::GetObject(sized, sizeof bm, &bm) != 0;
    if (ok) {
        *width = static_cast<DWORD>(bm.bmWidth);
        *height = static_cast<DWORD>(info.hbmColor ? bm.bmHeight : bm.bmHeight / 2);
    }
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    return ok;
}

DWORD CIconButton::SetIcon(HICON hIconIn, HICON hIconOut)
{
    FreeResources();
    if (hIconIn) {
        m_Icons[0].hIcon = hIconIn;
        if (!IconSize(hIconIn, &m_Icons[0].dwWidth, &m_Icons[0].dwHeight)) {
            FreeResources();
            return BTNST_INVALIDRESOURCE;
        }
        if (hIconOut == reinterpret_cast<HICON>(static_cast<intptr_t>(kGreyCopy)))
            hIconOut = CreateGreyCopy(hIconIn);
        if (hIconOut) {
            m_Icons[1].hIcon = hIconOut;
            if (!IconSize(hIconOut, &m_Icons[1].dwWidth, &m_Icons[1].dwHeight)) {
                FreeResources();
                return BTNST_INVALIDRESOURCE;
            }
        }
    }
    Invalidate();
    return BTNST_OK;
}

// Every pixel that is not black becomes its grey level; the copy keeps the
// shape (mask) of the icon it copies.
HICON CIconButton::CreateGreyCopy(HICON hIcon)
{
    ICONINFO info{};
    if (!::GetIconInfo(hIcon, &info))
        return nullptr;
    HICON grey = nullptr;
    BITMAP bm{};
    if (info.hbmColor && ::GetObject(info.hbmColor, sizeof bm, &bm) && bm.bmBitsPixel == 32) {
        std::vector<DWORD> pixels(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
        LONG bytes = static_cast<LONG>(pixels.size() * sizeof(DWORD));
        if (::GetBitmapBits(info.hbmColor, bytes, pixels.data()) == bytes) {
            bool hasAlpha = false;
            for (DWORD& p : pixels) {
                hasAlpha = hasAlpha || (p & 0xFF000000u) != 0;
                if ((p & 0xFFFFFF) == 0)
                    continue;
                DWORD r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
                DWORD level = static_cast<DWORD>(0.299 * r + 0.587 * g + 0.114 * b) & 0xFF;
                p = (p & 0xFF000000u) | (level << 16) | (level << 8) | level;
            }
            // A colour bitmap with alpha keeps it; one without takes its
            // shape from the icon's mask.
            HBITMAP copy = nullptr;
            if (hasAlpha) {
                copy = ::CreateBitmap(bm.bmWidth, bm.bmHeight, bm.bmPlanes, bm.bmBitsPixel, nullptr);
            } else {
                HDC screen = ::GetDC(nullptr);
                copy = ::CreateCompatibleBitmap(screen, bm.bmWidth, bm.bmHeight);
                ::ReleaseDC(nullptr, screen);
            }
            if (copy && ::SetBitmapBits(copy, static_cast<DWORD>(bytes), pixels.data()) == bytes) {
                ICONINFO made = info;
                made.fIcon = TRUE;
                made.hbmColor = copy;
                grey = ::CreateIconIndirect(&made);
            }
            if (copy)
                ::DeleteObject(copy);
        }
    }
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    return grey;
}

DWORD CIconButton::SetBitmaps(int nBitmapIn, COLORREF crTransColorIn, int nBitmapOut, COLORREF crTransColorOut)
{
    auto load = [](int id) -> HBITMAP {
        LPCSTR name = MAKEINTRESOURCE(id);
        HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP);
        return module ? ::LoadBitmap(module, name) : nullptr;
    };
    HBITMAP in = load(nBitmapIn);
    HBITMAP out = nBitmapOut ? load(nBitmapOut) : nullptr;
    return SetBitmaps(in, crTransColorIn, out, crTransColorOut);
}

DWORD CIconButton::SetBitmaps(HBITMAP hBitmapIn, COLORREF crTransColorIn, HBITMAP hBitmapOut, COLORREF crTransColorOut)
{
    FreeResources();
    HBITMAP given[2] = {hBitmapIn, hBitmapOut};
    COLORREF keys[2] = {crTransColorIn, crTransColorOut};
    for (int i = 0; i < 2; ++i) {
        if (!given[i])
            continue;
        STRUCT_BITMAPS& b = m_Bitmaps[i];
        b.hBitmap = given[i];
        b.crTransparent = keys[i];
        BITMAP bm{};
        if (!::GetObject(given[i], sizeof bm, &bm)) {
            FreeResources();
            return BTNST_INVALIDRESOURCE;
        }
        b.dwWidth = static_cast<DWORD>(bm.bmWidth);
        b.dwHeight = static_cast<DWORD>(bm.bmHeight);
        b.hMask = CreateBitmapMask(given[i], b.dwWidth, b.dwHeight, keys[i]);
        if (!b.hMask) {
            FreeResources();
            return BTNST_FAILEDMASK;
        }
    }
    Invalidate();
    return BTNST_OK;
}

// A monochrome mask (1 where the transparent colour is), and the bitmap's
// transparent pixels turned black, so that mask AND then bitmap OR draws it.
HBITMAP CIconButton::CreateBitmapMask(HBITMAP hSource, DWORD dwWidth, DWORD dwHeight, COLORREF crTransColor)
{
    HBITMAP mask = ::CreateBitmap(static_cast<int>(dwWidth), static_cast<int>(dwHeight), 1, 1, nullptr);
    if (!mask)
        return nullptr;
    HDC src = ::CreateCompatibleDC(nullptr);
    HDC dst = ::CreateCompatibleDC(nullptr);
    HGDIOBJ oldSrc = ::SelectObject(src, hSource);
    HGDIOBJ oldDst = ::SelectObject(dst, mask);
    COLORREF oldBack = ::SetBkColor(src, crTransColor);
    ::BitBlt(dst, 0, 0, static_cast<int>(dwWidth), static_cast<int>(dwHeight), src, 0, 0, SRCCOPY);
    // The bitmap AND the inverted mask: the mask's 1 bits come in as the
    // background colour (black), its 0 bits as the text colour (white).
    ::SetBkColor(src, RGB(0, 0, 0));
    COLORREF oldText = ::SetTextColor(src, RGB(255, 255, 255));
    ::BitBlt(src, 0, 0, static_cast<int>(dwWidth), static_cast<int>(dwHeight), dst, 0, 0, SRCAND);
    ::SetTextColor(src, oldText);
    ::SetBkColor(src, oldBack);
    ::SelectObject(dst, oldDst);
    ::SelectObject(src, oldSrc);
    ::DeleteDC(dst);
    ::DeleteDC(src);
    return mask;
}

// ---- drawing ----

int CIconButton::ChosenImage() const
{
    if (m_bPressed || (m_bHover && !m_bCheckBoxMode))
        return 0;
    return (m_Icons[1].hIcon || m_Bitmaps[1].hBitmap) ? 1 : 0;
}

DWORD CIconButton::OnDrawBackground(CDC* pDC, const RECT* pRect)
{
    COLORREF colour = (m_bHover || m_bPressed) ? m_crColours[BTNST_COLOR_BK_IN]
                      : m_bFocused             ? m_crColours[BTNST_COLOR_BK_FOCUS]
                                               : m_crColours[BTNST_COLOR_BK_OUT];
    pDC->FillSolidRect(pRect, colour);
    return BTNST_OK;
}

DWORD CIconButton::OnDrawBorder(CDC* pDC, const RECT* pRect)
{
    if (m_bPressed)
        pDC->Draw3dRect(pRect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    else
        pDC->Draw3dRect(pRect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    return BTNST_OK;
}

// The parent's client area under the button, taken once.
void CIconButton::CaptureParentFace(CDC* pDC)
{
    if (m_dcParentFace.GetSafeHdc() || !GetParent())
        return;
    CRect client, window;
    GetClientRect(&client);
    GetWindowRect(&window);
    GetParent()->ScreenToClient(&window);
    CDC* parentDc = GetParent()->GetDC();
    if (!parentDc)
        return;
    m_dcParentFace.CreateCompatibleDC(pDC);
    m_bmpParentFace.CreateCompatibleBitmap(pDC, client.Width(), client.Height());
    m_pOldFaceBitmap = m_dcParentFace.SelectObject(&m_bmpParentFace);
    m_dcParentFace.BitBlt(0, 0, client.Width(), client.Height(), parentDc, window.left, window.top, SRCCOPY);
    GetParent()->ReleaseDC(parentDc);
}

void CIconButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    if (m_bCheckBoxMode)
        m_bPressed = (lpDIS->itemState & ODS_SELECTED) || m_nCheckState;
    else
        m_bPressed = (lpDIS->itemState & ODS_SELECTED) || (m_DropMenu.GetSafeHmenu() && m_bMenuOpen);
    m_bFocused = (lpDIS->itemState & ODS_FOCUS) != 0;
    m_bDisabled = (lpDIS->itemState & ODS_DISABLED) != 0;
    CRect itemRect(lpDIS->rcItem);
    pDC->SetBkMode(TRANSPARENT);

    if (!m_bFlat && (m_bFocused || m_bDefaultButton)) {
        CBrush black(RGB(0, 0, 0));
        pDC->FrameRect(&itemRect, &black);
        itemRect.DeflateRect(1, 1);
    }

    if (m_bParentFace) {
        CaptureParentFace(pDC);
        if (m_dcParentFace.GetSafeHdc())
            pDC->BitBlt(0, 0, itemRect.right, itemRect.bottom, &m_dcParentFace, 0, 0, SRCCOPY);
    } else {
        OnDrawBackground(pDC, &itemRect);
    }

    if (m_bPressed) {
        if (m_bFlat) {
            if (m_bFlatBorder)
                OnDrawBorder(pDC, &itemRect);
        } else {
            CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
            pDC->FrameRect(&itemRect, &shadow);
        }
    } else if (!m_bFlat) {
        auto line = [pDC](int colour, std::initializer_list<CPoint> points) {
            CPen pen(PS_SOLID, 1, ::GetSysColor(colour));
            CPen* old = pDC->SelectObject(&pen);
            auto it = points.begin();
            pDC->MoveTo(*it);
            for (++it; it != points.end(); ++it)
                pDC->LineTo(*it);
            pDC->SelectObject(old);
        };
        const CRect& r = itemRect;
        line(COLOR_BTNHIGHLIGHT, {{r.left, r.bottom - 1}, {r.left, r.top}, {r.right, r.top}});
        line(COLOR_3DLIGHT, {{r.left + 1, r.bottom - 1}, {r.left + 1, r.top + 1}, {r.right, r.top + 1}});
        line(COLOR_3DDKSHADOW, {{r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top - 1}});
        line(COLOR_BTNSHADOW, {{r.left + 1, r.bottom - 2}, {r.right - 2, r.bottom - 2}, {r.right - 2, r.top}});
    } else if (m_bHover && m_bFlatBorder) {
        OnDrawBorder(pDC, &itemRect);
    }

    CString title;
    GetWindowText(title);
    CRect captionRect(lpDIS->rcItem);
    if (m_Icons[0].hIcon)
        DrawTheIcon(pDC, !title.IsEmpty(), &lpDIS->rcItem, &captionRect, m_bPressed, m_bDisabled);
    if (m_Bitmaps[0].hBitmap) {
        pDC->SetBkColor(RGB(255, 255, 255));
        DrawTheBitmap(pDC, !title.IsEmpty(), &lpDIS->rcItem, &captionRect, m_bPressed, m_bDisabled);
    }

    if (!title.IsEmpty()) {
        if (m_bPressed && !m_bCheckBoxMode)
            captionRect.OffsetRect(1, 1);
        CRect centre = captionRect;
        pDC->DrawText(title, -1, &captionRect, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
        captionRect.OffsetRect((centre.Width() - captionRect.Width()) / 2,
                               (centre.Height() - captionRect.Height()) / 2);
        pDC->SetBkMode(TRANSPARENT);
        if (m_bDisabled) {
            captionRect.OffsetRect(1, 1);
            pDC->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
            pDC->DrawText(title, -1, &captionRect, DT_WORDBREAK | DT_CENTER);
            captionRect.OffsetRect(-1, -1);
            pDC->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
            pDC->DrawText(title, -1, &captionRect, DT_WORDBREAK | DT_CENTER);
        } else {
            bool in = m_bHover || m_bPressed;
            pDC->SetTextColor(m_crColours[in ? BTNST_COLOR_FG_IN : BTNST_COLOR_FG_OUT]);
            pDC->SetBkColor(m_crColours[in ? BTNST_COLOR_BK_IN : BTNST_COLOR_BK_OUT]);
            pDC->DrawText(title, -1, &captionRect, DT_WORDBREAK | DT_CENTER);
        }
    }

    if (m_bFocused && (!m_bFlat || m_bFlatFocusRect)) {
        CRect focus = itemRect;
        focus.DeflateRect(3, 3);
        pDC->DrawFocusRect(&focus);
    }
}

void CIconButton::PrepareImageRect(BOOL bHasTitle, RECT* rpItem, CRect* rpTitle, BOOL bIsPressed, DWORD dwWidth,
                                   DWORD dwHeight, CRect* rpImage)
{
    CRect item(rpItem);
    int w = static_cast<int>(dwWidth), h = static_cast<int>(dwHeight);
    rpImage->CopyRect(&item);
    switch (m_nImageAlign) {
    case ST_ALIGN_HORIZ:
        if (bHasTitle) {
            rpImage->left = item.left + 3;
            rpTitle->left += w + 3;
        } else {
            rpImage->left += (item.Width() - w) / 2;
        }
        rpImage->top += (item.Height() - h) / 2;
        break;
    case ST_ALIGN_VERT:
        rpImage->left += (item.Width() - w) / 2;
        if (bHasTitle) {
            rpImage->top = 3;
            rpTitle->top += h;
        } else {
            rpImage->top += (item.Height() - h) / 2;
        }
        break;
    case ST_ALIGN_HORIZ_RIGHT: {
        CRect client;
        GetClientRect(&client);
        if (bHasTitle) {
            rpTitle->left = 3;
            rpTitle->right = item.Width() - w - 3;
            rpImage->left = client.right - w - 3;
            rpImage->top += (item.Height() - h) / 2;
        } else {
            rpImage->left += (item.Width() - w) / 2;
        }
        break;
    }
    default:
        break;
    }
    if (bIsPressed && !m_bCheckBoxMode)
        rpImage->OffsetRect(1, 1);
}

void CIconButton::DrawTheIcon(CDC* pDC, BOOL bHasTitle, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed,
                              BOOL bIsDisabled)
{
    const STRUCT_ICONS& icon = m_Icons[ChosenImage()];
    CRect image;
    PrepareImageRect(bHasTitle, rpItem, rpCaption, bIsPressed, icon.dwWidth, icon.dwHeight, &image);
    pDC->DrawState(image.TopLeft(), CSize(rpItem->right - image.left, rpItem->bottom - image.top), icon.hIcon,
                   DST_ICON | (bIsDisabled ? DSS_DISABLED : DSS_NORMAL), static_cast<HBRUSH>(nullptr));
}

void CIconButton::DrawTheBitmap(CDC* pDC, BOOL bHasTitle, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed,
                                BOOL bIsDisabled)
{
    const STRUCT_BITMAPS& bitmap = m_Bitmaps[ChosenImage()];
    CRect image;
    PrepareImageRect(bHasTitle, rpItem, rpCaption, bIsPressed, bitmap.dwWidth, bitmap.dwHeight, &image);
    int w = static_cast<int>(bitmap.dwWidth), h = static_cast<int>(bitmap.dwHeight);
    CDC source;
    source.CreateCompatibleDC(pDC);
    HGDIOBJ old = ::SelectObject(source.GetSafeHdc(), bitmap.hMask);
    if (bIsDisabled && m_bGreyDisabledBitmap) {
        // Mask and picture combined on white, drawn embossed.
        CDC work;
        work.CreateCompatibleDC(pDC);
        CBitmap combined;
        combined.CreateCompatibleBitmap(pDC, w, h);
        CBitmap* oldWork = work.SelectObject(&combined);
        work.FillSolidRect(0, 0, w, h, RGB(255, 255, 255));
        work.BitBlt(0, 0, w, h, &source, 0, 0, SRCAND);
        ::SelectObject(source.GetSafeHdc(), bitmap.hBitmap);
        work.BitBlt(0, 0, w, h, &source, 0, 0, SRCPAINT);
        work.SelectObject(oldWork);
        pDC->DrawState(image.TopLeft(), CSize(w, h), static_cast<HBITMAP>(combined.GetSafeHandle()),
                       DST_BITMAP | DSS_DISABLED, static_cast<HBRUSH>(nullptr));
    } else {
        pDC->BitBlt(image.left, image.top, w, h, &source, 0, 0, SRCAND);
        ::SelectObject(source.GetSafeHdc(), bitmap.hBitmap);
        pDC->BitBlt(image.left, image.top, w, h, &source, 0, 0, SRCPAINT);
    }
    ::SelectObject(source.GetSafeHdc(), old);
}

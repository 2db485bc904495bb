#include "platform/gdi/CImageList.h"

#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/GdiTemp_p.h"

namespace {
thread_local std::map<HIMAGELIST, std::unique_ptr<CImageList>> t_lists;

HBITMAP H(CBitmap* b)
{
    return b ? static_cast<HBITMAP>(b->m_hObject) : nullptr;
}
}  // namespace

CImageList::~CImageList()
{
    DeleteImageList();
}

CImageList* CImageList::FromHandle(HIMAGELIST h)
{
    return vxgdi::TempWrapper(t_lists, h);
}

BOOL CImageList::Attach(HIMAGELIST h)
{
    if (m_hImageList || !h)
        return FALSE;
    m_hImageList = h;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST h = m_hImageList;
    m_hImageList = nullptr;
    return h;
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    CBitmap bm;
    if (!bm.LoadBitmap(nBitmapID))
        return FALSE;
    BITMAP info{};
    bm.GetBitmap(&info);
    if (!Create(cx, info.bmHeight, ILC_COLOR32 | ILC_MASK, 0, nGrow))
        return FALSE;
    return ImageList_AddMasked(m_hImageList, static_cast<HBITMAP>(bm.m_hObject), crMask) >= 0;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    return ImageList_Destroy(Detach());
}

int CImageList::GetImageCount() const
{
    return ImageList_GetImageCount(m_hImageList);
}
BOOL CImageList::SetImageCount(UINT n)
{
    return ImageList_SetImageCount(m_hImageList, n);
}
int CImageList::Add(CBitmap* img, CBitmap* mask)
{
    return ImageList_Add(m_hImageList, H(img), H(mask));
}
int CImageList::Add(CBitmap* img, COLORREF crMask)
{
    return ImageList_AddMasked(m_hImageList, H(img), crMask);
}
int CImageList::Add(HICON hIcon)
{
    return ImageList_ReplaceIcon(m_hImageList, -1, hIcon);
}

BOOL CImageList::Replace(int nImage, CBitmap* img, CBitmap* mask)
{
    return ImageList_Replace(m_hImageList, nImage, H(img), H(mask));
}

int CImageList::Replace(int nImage, HICON hIcon)
{
    return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon);
}
BOOL CImageList::Remove(int nImage)
{
    return ImageList_Remove(m_hImageList, nImage);
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle)
{
    return pDC && ImageList_Draw(m_hImageList, nImage, pDC->m_hDC, pt.x, pt.y, nStyle);
}

BOOL CImageList::GetImageInfo(int nImage, IMAGEINFO* info) const
{
    return ImageList_GetImageInfo(m_hImageList, nImage, info);
}

COLORREF CImageList::SetBkColor(COLORREF cr)
{
    return ImageList_SetBkColor(m_hImageList, cr);
}
COLORREF CImageList::GetBkColor() const
{
    return ImageList_GetBkColor(m_hImageList);
}
HICON CImageList::ExtractIcon(int nImage)
{
    return ImageList_GetIcon(m_hImageList, nImage, 0);
}

#pragma once
// One picture (PNG, JPEG, BMP) loaded from a file or a resource, drawn
// scaled, whole or in part, with an optional colour key, and the region of
// its opaque pixels. Belongs to the thread that uses it (the GUI thread for
// the controls that draw through it); takes no locks.
//
// Embedded in classes of other libraries: members keep their order.

#include "platform/platform.h"

class AFX_EXT_CLASS CMyPicture {
public:
    CMyPicture();
    virtual ~CMyPicture();
    // Copies take their own duplicate of the picture; the region is rebuilt
    // on demand.
    CMyPicture(const CMyPicture& other);
    CMyPicture& operator=(const CMyPicture& other);

    int SetImage(CString path);
    int SetImage(CString path, BOOL transparent, COLORREF key);
    int SetImage(UINT id, const char* type);
    int SetImage(UINT id, const char* type, BOOL transparent, COLORREF key);
    void SetTransparent(BOOL transparent, COLORREF key);

    void DrawImage(HDC hdc, int x, int y, int w, int h);
    void DrawImage(HDC hdc, int x, int y, int w, int h, int srcX, int srcY, int srcW, int srcH);

    int GetWidth();
    int GetHeight();
    BOOL HasImage();
    Gdiplus::Image* GetImage();
    // A new region of the opaque pixels of the picture scaled to w x h; the
    // caller deletes it. Null without a picture.
    HRGN GetRgn(HDC hdc, int w, int h);

    CString m_strImagePath;
    Gdiplus::Image* m_pImage;
    Gdiplus::Region* m_pRegion;
    BOOL m_bHasAlpha;
    BOOL m_bTransparent;
    COLORREF m_crColourKey;

private:
    void ReleaseImage();
    // Takes the decoded picture over; fails (and keeps nothing) when the
    // data could not be decoded.
    int AdoptImage(Gdiplus::Image* image);
    int LoadFromGlobal(HGLOBAL block);
    Gdiplus::Region* BuildRegion(int w, int h) const;

    // The size the cached region was built for.
    int m_nRegionWidth = 0;
    int m_nRegionHeight = 0;
};

#pragma once
// Image lists: equal-sized pictures kept with their masks, drawn by index
// (list views, tab controls, menus). Owned by the thread that made them.

#include "platform/gdi/wingdi.h"

#define ILC_MASK     0x00000001
#define ILC_COLOR    0x00000000
#define ILC_COLORDDB 0x000000FE
#define ILC_COLOR4   0x00000004
#define ILC_COLOR8   0x00000008
#define ILC_COLOR16  0x00000010
#define ILC_COLOR24  0x00000018
#define ILC_COLOR32  0x00000020

#define ILD_NORMAL      0x00000000
#define ILD_TRANSPARENT 0x00000001
#define ILD_MASK        0x00000010
#define ILD_IMAGE       0x00000020
#define ILD_BLEND25     0x00000002
#define ILD_BLEND50     0x00000004
#define ILD_FOCUS       ILD_BLEND25
#define ILD_SELECTED    ILD_BLEND50
#define ILD_BLEND       ILD_BLEND50

typedef struct _IMAGEINFO {
    HBITMAP hbmImage;  // all images side by side; owned by the list
    HBITMAP hbmMask;
    int Unused1;
    int Unused2;
    RECT rcImage;
} IMAGEINFO, *LPIMAGEINFO;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST himl);
// Bitmaps wider than the image width add one image per slice; the result is
// the index of the first added image, -1 on failure.
int ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask);
int ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF mask);
int ImageList_ReplaceIcon(HIMAGELIST himl, int index, HICON icon);  // index -1 adds
#define ImageList_AddIcon(himl, hicon) ImageList_ReplaceIcon(himl, -1, hicon)
BOOL ImageList_Replace(HIMAGELIST himl, int index, HBITMAP image, HBITMAP mask);
BOOL ImageList_Remove(HIMAGELIST himl, int index);  // -1 removes all
#define ImageList_RemoveAll(himl) ImageList_Remove(himl, -1)
int ImageList_GetImageCount(HIMAGELIST himl);
BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT count);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy);
BOOL ImageList_GetImageInfo(HIMAGELIST himl, int index, IMAGEINFO* info);
COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF bk);
COLORREF ImageList_GetBkColor(HIMAGELIST himl);
BOOL ImageList_Draw(HIMAGELIST himl, int index, HDC hdc, int x, int y, UINT style);
BOOL ImageList_DrawEx(HIMAGELIST himl, int index, HDC hdc, int x, int y, int dx, int dy, COLORREF bk, COLORREF fg,
                      UINT style);
HICON ImageList_GetIcon(HIMAGELIST himl, int index, UINT flags);
#define ImageList_ExtractIcon(hi, himl, i) ImageList_GetIcon(himl, i, 0)

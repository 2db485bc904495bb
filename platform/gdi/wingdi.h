#pragma once
// Drawing: the GDI constants, records and free functions with their public
// Win32 values. Device contexts and GDI objects belong to the thread that
// made them (in practice the GUI thread); memory DCs and bitmaps may be used
// by a worker that keeps them to itself.

#include "platform/base/types.h"

// ---- stock objects ----
#define WHITE_BRUSH         0
#define LTGRAY_BRUSH        1
#define GRAY_BRUSH          2
#define DKGRAY_BRUSH        3
#define BLACK_BRUSH         4
#define NULL_BRUSH          5
#define HOLLOW_BRUSH        NULL_BRUSH
#define WHITE_PEN           6
#define BLACK_PEN           7
#define NULL_PEN            8
#define OEM_FIXED_FONT      10
#define ANSI_FIXED_FONT     11
#define ANSI_VAR_FONT       12
#define SYSTEM_FONT         13
#define DEVICE_DEFAULT_FONT 14
#define SYSTEM_FIXED_FONT   16
#define DEFAULT_GUI_FONT    17
#define DC_BRUSH            18
#define DC_PEN              19

// ---- object types (GetObjectType) ----
#define OBJ_PEN    1
#define OBJ_BRUSH  2
#define OBJ_DC     3
#define OBJ_FONT   6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC  10

// ---- pens and brushes ----
#define PS_SOLID       0
#define PS_DASH        1
#define PS_DOT         2
#define PS_DASHDOT     3
#define PS_DASHDOTDOT  4
#define PS_NULL        5
#define PS_INSIDEFRAME 6
#define PS_STYLE_MASK  0x0000000F
#define BS_SOLID       0
#define BS_NULL        1
#define BS_HOLLOW      BS_NULL
#define BS_HATCHED     2
#define BS_PATTERN     3
#define HS_HORIZONTAL  0
#define HS_VERTICAL    1
#define HS_FDIAGONAL   2
#define HS_BDIAGONAL   3
#define HS_CROSS       4
#define HS_DIAGCROSS   5

typedef struct tagLOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
} LOGPEN, *LPLOGPEN;

typedef struct tagLOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
} LOGBRUSH, *LPLOGBRUSH;

// ---- fonts ----
#define LF_FACESIZE         32
#define FW_DONTCARE         0
#define FW_THIN             100
#define FW_LIGHT            300
#define FW_NORMAL           400
#define FW_REGULAR          400
#define FW_MEDIUM           500
#define FW_SEMIBOLD         600
#define FW_BOLD             700
#define FW_HEAVY            900
#define ANSI_CHARSET        0
#define DEFAULT_CHARSET     1
#define GB2312_CHARSET      134
#define OUT_DEFAULT_PRECIS  0
#define OUT_TT_PRECIS       4
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY     0
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY   5
#define DEFAULT_PITCH       0
#define FIXED_PITCH         1
#define VARIABLE_PITCH      2
#define FF_DONTCARE         (0 << 4)
#define FF_ROMAN            (1 << 4)
#define FF_SWISS            (2 << 4)
#define FF_MODERN           (3 << 4)

typedef struct tagLOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONT, *LPLOGFONT, LOGFONTA;
typedef const LOGFONT* LPCLOGFONT;

typedef struct tagTEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
} TEXTMETRIC, *LPTEXTMETRIC;

// ---- bitmaps ----
typedef struct tagBITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
} BITMAP, *LPBITMAP;

#define BI_RGB         0
#define DIB_RGB_COLORS 0

typedef struct tagBITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;  // positive: bottom-up rows; negative: top-down
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER, *LPBITMAPINFOHEADER;

typedef struct tagRGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
} RGBQUAD;

typedef struct tagBITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
} BITMAPINFO, *LPBITMAPINFO;

// ---- raster operations ----
#define SRCCOPY     0x00CC0020u
#define SRCPAINT    0x00EE0086u
#define SRCAND      0x008800C6u
#define SRCINVERT   0x00660046u
#define SRCERASE    0x00440328u
#define NOTSRCCOPY  0x00330008u
#define NOTSRCERASE 0x001100A6u
#define MERGEPAINT  0x00BB0226u
#define PATCOPY     0x00F00021u
#define PATINVERT   0x005A0049u
#define DSTINVERT   0x00550009u
#define BLACKNESS   0x00000042u
#define WHITENESS   0x00FF0062u

#define R2_BLACK   1
#define R2_NOT     6
#define R2_XORPEN  7
#define R2_NOP     11
#define R2_COPYPEN 13
#define R2_WHITE   16

// ---- background mode, stretch mode, mapping ----
#define TRANSPARENT  1
#define OPAQUE       2
#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE     4
#define MM_TEXT      1

// ---- AlphaBlend ----
#define AC_SRC_OVER  0x00
#define AC_SRC_ALPHA 0x01

typedef struct _BLENDFUNCTION {
    BYTE BlendOp;
    BYTE BlendFlags;
    BYTE SourceConstantAlpha;
    BYTE AlphaFormat;
} BLENDFUNCTION, *PBLENDFUNCTION;

// ---- regions ----
#define ERROR         0
#define NULLREGION    1
#define SIMPLEREGION  2
#define COMPLEXREGION 3
#define RGN_ERROR     ERROR
#define RGN_AND       1
#define RGN_OR        2
#define RGN_XOR       3
#define RGN_DIFF      4
#define RGN_COPY      5

// ---- text ----
#define DT_TOP             0x00000000
#define DT_LEFT            0x00000000
#define DT_CENTER          0x00000001
#define DT_RIGHT           0x00000002
#define DT_VCENTER         0x00000004
#define DT_BOTTOM          0x00000008
#define DT_WORDBREAK       0x00000010
#define DT_SINGLELINE      0x00000020
#define DT_EXPANDTABS      0x00000040
#define DT_TABSTOP         0x00000080
#define DT_NOCLIP          0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT        0x00000400
#define DT_NOPREFIX        0x00000800
#define DT_INTERNAL        0x00001000
#define DT_EDITCONTROL     0x00002000
#define DT_PATH_ELLIPSIS   0x00004000
#define DT_END_ELLIPSIS    0x00008000
#define DT_MODIFYSTRING    0x00010000
#define DT_RTLREADING      0x00020000
#define DT_WORD_ELLIPSIS   0x00040000
#define DT_HIDEPREFIX      0x00100000
#define DT_PREFIXONLY      0x00200000

#define ETO_OPAQUE  0x0002
#define ETO_CLIPPED 0x0004

#define TA_LEFT     0
#define TA_RIGHT    2
#define TA_CENTER   6
#define TA_TOP      0
#define TA_BOTTOM   8
#define TA_BASELINE 24

// ---- edges (DrawEdge) ----
#define BDR_RAISEDOUTER 0x0001
#define BDR_SUNKENOUTER 0x0002
#define BDR_RAISEDINNER 0x0004
#define BDR_SUNKENINNER 0x0008
#define BDR_OUTER       (BDR_RAISEDOUTER | BDR_SUNKENOUTER)
#define BDR_INNER       (BDR_RAISEDINNER | BDR_SUNKENINNER)
#define EDGE_RAISED     (BDR_RAISEDOUTER | BDR_RAISEDINNER)
#define EDGE_SUNKEN     (BDR_SUNKENOUTER | BDR_SUNKENINNER)
#define EDGE_ETCHED     (BDR_SUNKENOUTER | BDR_RAISEDINNER)
#define EDGE_BUMP       (BDR_RAISEDOUTER | BDR_SUNKENINNER)
#define BF_LEFT         0x0001
#define BF_TOP          0x0002
#define BF_RIGHT        0x0004
#define BF_BOTTOM       0x0008
#define BF_TOPLEFT      (BF_TOP | BF_LEFT)
#define BF_BOTTOMRIGHT  (BF_BOTTOM | BF_RIGHT)
#define BF_RECT         (BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM)
#define BF_MIDDLE       0x0800
#define BF_SOFT         0x1000
#define BF_ADJUST       0x2000
#define BF_FLAT         0x4000
#define BF_MONO         0x8000

// ---- DrawState ----
#define DST_COMPLEX    0x0000
#define DST_TEXT       0x0001
#define DST_PREFIXTEXT 0x0002
#define DST_ICON       0x0003
#define DST_BITMAP     0x0004
#define DSS_NORMAL     0x0000
#define DSS_UNION      0x0010
#define DSS_DISABLED   0x0020
#define DSS_MONO       0x0080
#define DSS_RIGHT      0x8000

// ---- icons and images ----
#define DI_MASK             0x0001
#define DI_IMAGE            0x0002
#define DI_NORMAL           0x0003
#define DI_DEFAULTSIZE      0x0008
#define IMAGE_BITMAP        0
#define IMAGE_ICON          1
#define IMAGE_CURSOR        2
#define LR_DEFAULTCOLOR     0x00000000
#define LR_MONOCHROME       0x00000001
#define LR_LOADFROMFILE     0x00000010
#define LR_LOADTRANSPARENT  0x00000020
#define LR_DEFAULTSIZE      0x00000040
#define LR_CREATEDIBSECTION 0x00002000
#define LR_SHARED           0x00008000

#define IDI_APPLICATION ((LPCSTR)(uintptr_t)32512)
#define IDI_HAND        ((LPCSTR)(uintptr_t)32513)
#define IDI_QUESTION    ((LPCSTR)(uintptr_t)32514)
#define IDI_EXCLAMATION ((LPCSTR)(uintptr_t)32515)
#define IDI_ASTERISK    ((LPCSTR)(uintptr_t)32516)
#define IDI_WARNING     IDI_EXCLAMATION
#define IDI_ERROR       IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK

typedef struct _ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
} ICONINFO, *PICONINFO;

// ---- system colours ----
#define COLOR_SCROLLBAR               0
#define COLOR_BACKGROUND              1
#define COLOR_ACTIVECAPTION           2
#define COLOR_INACTIVECAPTION         3
#define COLOR_MENU                    4
#define COLOR_WINDOW                  5
#define COLOR_WINDOWFRAME             6
#define COLOR_MENUTEXT                7
#define COLOR_WINDOWTEXT              8
#define COLOR_CAPTIONTEXT             9
#define COLOR_ACTIVEBORDER            10
#define COLOR_INACTIVEBORDER          11
#define COLOR_APPWORKSPACE            12
#define COLOR_HIGHLIGHT               13
#define COLOR_HIGHLIGHTTEXT           14
#define COLOR_BTNFACE                 15
#define COLOR_BTNSHADOW               16
#define COLOR_GRAYTEXT                17
#define COLOR_BTNTEXT                 18
#define COLOR_INACTIVECAPTIONTEXT     19
#define COLOR_BTNHIGHLIGHT            20
#define COLOR_3DDKSHADOW              21
#define COLOR_3DLIGHT                 22
#define COLOR_INFOTEXT                23
#define COLOR_INFOBK                  24
#define COLOR_HOTLIGHT                26
#define COLOR_GRADIENTACTIVECAPTION   27
#define COLOR_GRADIENTINACTIVECAPTION 28
#define COLOR_MENUHILIGHT             29
#define COLOR_MENUBAR                 30
#define COLOR_DESKTOP                 COLOR_BACKGROUND
#define COLOR_3DFACE                  COLOR_BTNFACE
#define COLOR_3DSHADOW                COLOR_BTNSHADOW
#define COLOR_3DHIGHLIGHT             COLOR_BTNHIGHLIGHT
#define COLOR_3DHILIGHT               COLOR_BTNHIGHLIGHT
#define COLOR_BTNHILIGHT              COLOR_BTNHIGHLIGHT

// ---- SystemParametersInfo ----
#define SPI_GETWORKAREA         0x0030
#define SPI_GETNONCLIENTMETRICS 0x0029
#define SPI_GETICONTITLELOGFONT 0x001F

typedef struct tagNONCLIENTMETRICSA {
    UINT cbSize;
    int iBorderWidth;
    int iScrollWidth;
    int iScrollHeight;
    int iCaptionWidth;
    int iCaptionHeight;
    LOGFONT lfCaptionFont;
    int iSmCaptionWidth;
    int iSmCaptionHeight;
    LOGFONT lfSmCaptionFont;
    int iMenuWidth;
    int iMenuHeight;
    LOGFONT lfMenuFont;
    LOGFONT lfStatusFont;
    LOGFONT lfMessageFont;
    int iPaddedBorderWidth;
} NONCLIENTMETRICS, *LPNONCLIENTMETRICS;

// ---- device contexts ----
// A window's DC outside painting (null: the screen); released with ReleaseDC.
HDC GetDC(HWND hWnd);
HDC GetWindowDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hdc);
// The window's shape: only the region's pixels show and take the mouse. The
// region is copied; the caller may delete its handle. Null: the whole window.
int SetWindowRgn(HWND hWnd, HRGN rgn, BOOL redraw);
// A copy of the shape into an existing region.
int GetWindowRgn(HWND hWnd, HRGN rgn);
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj);
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
int SaveDC(HDC hdc);
BOOL RestoreDC(HDC hdc, int saved);  // saved < 0: relative to the newest
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
int SetROP2(HDC hdc, int mode);
int SetStretchBltMode(HDC hdc, int mode);
UINT SetTextAlign(HDC hdc, UINT align);
COLORREF SetDCBrushColor(HDC hdc, COLORREF color);
COLORREF SetDCPenColor(HDC hdc, COLORREF color);
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old);
BOOL GetViewportOrgEx(HDC hdc, LPPOINT org);
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old);
int GetDeviceCaps(HDC hdc, int index);
#define HORZRES    8
#define VERTRES    10
#define BITSPIXEL  12
#define PLANES     14
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define RASTERCAPS 38
#define RC_PALETTE 0x0100

// ---- clipping ----
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
int SelectClipRgn(HDC hdc, HRGN rgn);  // a copy is kept; null removes the clip
int GetClipBox(HDC hdc, LPRECT rect);
BOOL PtVisible(HDC hdc, int x, int y);
BOOL RectVisible(HDC hdc, LPCRECT rect);

// ---- objects ----
HGDIOBJ GetStockObject(int index);
BOOL DeleteObject(HGDIOBJ obj);
int GetObject(HGDIOBJ obj, int size, LPVOID out);
#define GetObjectA GetObject
DWORD GetObjectType(HGDIOBJ obj);
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* lp);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* lb);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, LPCSTR faceName);
#define CreateFontA CreateFont
HFONT CreateFontIndirect(const LOGFONT* lf);
#define CreateFontIndirectA CreateFontIndirect
// Monochrome when planes * bits is 1, otherwise 32-bit; bits are rows of
// WORD-aligned (mono) or 4-byte pixels (BGRA), top row first.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* bmi, UINT usage, void** bits, HANDLE section, DWORD offset);
LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits);
LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);
int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO bmi, UINT usage);
HBITMAP LoadBitmap(HINSTANCE module, LPCSTR name);
#define LoadBitmapA LoadBitmap
HANDLE LoadImage(HINSTANCE module, LPCSTR name, UINT type, int cx, int cy, UINT flags);
#define LoadImageA LoadImage
HANDLE CopyImage(HANDLE image, UINT type, int cx, int cy, UINT flags);

// ---- regions ----
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(LPCRECT rect);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int w, int h);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
#define ALTERNATE 1
#define WINDING   2
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, LPCRECT rect);
BOOL EqualRgn(HRGN a, HRGN b);
int OffsetRgn(HRGN rgn, int dx, int dy);
int GetRgnBox(HRGN rgn, LPRECT rect);
BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush);
BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int w, int h);

// ---- drawing ----
COLORREF GetPixel(HDC hdc, int x, int y);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color);
BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old);
BOOL LineTo(HDC hdc, int x, int y);
BOOL Polyline(HDC hdc, const POINT* points, int count);
BOOL Polygon(HDC hdc, const POINT* points, int count);
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int w, int h);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
int FillRect(HDC hdc, LPCRECT rect, HBRUSH brush);
int FrameRect(HDC hdc, LPCRECT rect, HBRUSH brush);
BOOL InvertRect(HDC hdc, LPCRECT rect);
BOOL DrawFocusRect(HDC hdc, LPCRECT rect);
BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags);
BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop);
BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop);
BOOL TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, UINT key);
BOOL AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, BLENDFUNCTION bf);
// The system colour of the index, a brush of it (a stock object).
DWORD GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);
BOOL SystemParametersInfo(UINT action, UINT param, LPVOID out, UINT winIni);
#define SystemParametersInfoA SystemParametersInfo

// ---- text ----
int DrawText(HDC hdc, LPCSTR text, int count, LPRECT rect, UINT format);
#define DrawTextA DrawText
BOOL TextOut(HDC hdc, int x, int y, LPCSTR text, int count);
#define TextOutA TextOut
BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT count, const INT* dx);
#define ExtTextOutA ExtTextOut
BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int count, LPSIZE size);
#define GetTextExtentPoint32A GetTextExtentPoint32
#define GetTextExtentPoint    GetTextExtentPoint32
BOOL GetTextMetrics(HDC hdc, LPTEXTMETRIC tm);
#define GetTextMetricsA GetTextMetrics
int GetTextFace(HDC hdc, int count, LPSTR name);

// ---- icons ----
HICON LoadIcon(HINSTANCE module, LPCSTR name);
#define LoadIconA LoadIcon
HICON CreateIconIndirect(PICONINFO info);
HICON CopyIcon(HICON icon);
BOOL DestroyIcon(HICON icon);
// Fills info with new bitmaps that the caller deletes.
BOOL GetIconInfo(HICON icon, PICONINFO info);
BOOL DrawIcon(HDC hdc, int x, int y, HICON icon);
BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flicker, UINT flags);
typedef BOOL(CALLBACK* DRAWSTATEPROC)(HDC, LPARAM, WPARAM, int, int);
BOOL DrawState(HDC hdc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM data, WPARAM wData, int x, int y, int cx, int cy,
               UINT flags);
#define DrawStateA DrawState

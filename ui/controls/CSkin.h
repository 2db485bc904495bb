#pragma once
// The skin of a window, read from one XML skin file: the window title, a
// background picture cut into a 3x3 grid (corners at their size, edges and
// centre stretched) and named records that place and dress the controls of
// the window (buttons, labels, edits, plain rectangles).
//
// GUI thread (it draws into DCs and dresses windows); a CSkin takes no lock.
// Records are plain C structures of fixed size allocated with malloc, owned
// by their map and freed exactly once.

#include "platform/platform.h"
#include "ui/common/CXmlDoc.h"
#include "ui/controls/CMyPicture.h"

class CMyPictureButton;
class CMyColorStatic;
class CMyPictureStatic;

// Sizes of the fixed text fields, terminating zero included.
#define SKIN_TEXT_LEN 64
#define SKIN_PATH_LEN 260

struct ST_SKIN_RECT {
    int left;
    int top;
    int right;
    int bottom;
    int width;   // right - left
    int height;  // bottom - top
};

struct ST_SKIN_SIZE {
    int w;
    int h;
};

// Rectangles are source coordinates in the background image.
struct ST_SKIN_BACKGROUND {
    char image[SKIN_PATH_LEN];
    ST_SKIN_SIZE min_size;
    ST_SKIN_RECT rect;
    ST_SKIN_RECT top_left;
    ST_SKIN_RECT top_right;
    ST_SKIN_RECT bottom_left;
    ST_SKIN_RECT bottom_right;
    ST_SKIN_RECT fill_center;
    ST_SKIN_RECT right_hide;
    ST_SKIN_RECT right_top_hide;
    int transparent;
    COLORREF transparent_color;
};

struct ST_SKIN_BUTTON {
    char image[SKIN_PATH_LEN];
    char image_hot[SKIN_PATH_LEN];
    char image_on[SKIN_PATH_LEN];
    char image_off[SKIN_PATH_LEN];
    char image_disabled[SKIN_PATH_LEN];
    ST_SKIN_RECT rect;
    char tooltips[SKIN_TEXT_LEN];
    char tooltips_off[SKIN_TEXT_LEN];
    int transparent;
    int fit_transparent_region;
    int fit_image_size;
    int hand_cursor;
    COLORREF transparent_color;
};

struct ST_SKIN_LABEL {
    char text[SKIN_TEXT_LEN];
    ST_SKIN_RECT rect;
    COLORREF color;
    char font_name[SKIN_TEXT_LEN];
    int font_size;
    int bold;
    int underline;
    char tooltips[SKIN_TEXT_LEN];
    char image[SKIN_PATH_LEN];
    int transparent;
    COLORREF transparent_color;
    int align;     // 0 left, 1 centre, 2 right
    int max_show;  // kept for hosts; nothing here reads it
    int hand_cursor;
    int italic;
};

struct ST_SKIN_EDIT {
    ST_SKIN_RECT rect;
    COLORREF color;
    COLORREF bg_color;
    COLORREF border_color;
    char font_name[SKIN_TEXT_LEN];
    int font_size;
};

class AFX_EXT_CLASS CSkin {
public:
    CSkin();
    // A copy owns copies of every record and of the background picture, so
    // it draws and dresses controls as the original does.
    CSkin(const CSkin& other);
    CSkin& operator=(const CSkin& other);
    virtual ~CSkin();

    // Reads the skin file; 1 on success, 0 on failure. A failed load leaves
    // the skin that was loaded before whole.
    int LoadSkin(const char* path);

    ST_SKIN_LABEL* GetTitle() { return &m_title; }
    ST_SKIN_BACKGROUND* GetBackground() { return &m_background; }
    ST_SKIN_BUTTON* GetButton(const char* name);
    ST_SKIN_LABEL* GetLabel(const char* name);
    ST_SKIN_EDIT* GetEdit(const char* name);
    ST_SKIN_RECT* GetRect(const char* name);

    void InitButton(CMyPictureButton* pButton, const char* name);
    void InitLabel(CMyColorStatic* pLabel, const char* name, const char* caption);
    void InitLabel(CMyColorStatic* pLabel, const char* name);
    void InitPicture(CMyPicture* pPicture, const char* name);
    void InitPictureStatic(CMyPictureStatic* pStatic, const char* name);

    // Draws the background for a window of the rectangle's size at the DC's
    // origin. The switches (1 = off) leave out the right strip, the right-top
    // piece and the centre.
    void DrawBackground(HDC hDC, RECT rect, int noRightStrip, int noRightTop, int noCentre);

protected:
    int LoadTitle();
    int LoadBackground();
    int LoadButtons();
    int LoadLabels();
    int LoadEdits();
    int LoadRects();
    // Each reads the next entry of its list into the scratch record and
    // stores a copy under the entry's name (an entry with a number out of
    // range is skipped); 0 when the list has ended.
    int LoadNextButton(ST_SKIN_BUTTON* pButton);
    int LoadNextLabel(ST_SKIN_LABEL* pLabel);
    int LoadNextEdit(ST_SKIN_EDIT* pEdit);
    int LoadNextRect(ST_SKIN_RECT* pRect);
    // 1 read, 0 missing (the record left 0), -1 a number out of range.
    int LoadRect(ST_SKIN_RECT* pRect, const char* name);
    int LoadSize(ST_SKIN_SIZE* pSize, const char* name);

    // Members in this order are part of the class's layout.
    CXmlDoc m_xml;
    char m_szSkinPath[SKIN_PATH_LEN];  // folder of image files, ends in '/' (or empty)
    CMap<CString, LPCSTR, ST_SKIN_BUTTON*, ST_SKIN_BUTTON*> m_mapButtons;
    CMap<CString, LPCSTR, ST_SKIN_LABEL*, ST_SKIN_LABEL*> m_mapLabels;
    CMap<CString, LPCSTR, ST_SKIN_EDIT*, ST_SKIN_EDIT*> m_mapEdits;
    CMap<CString, LPCSTR, ST_SKIN_RECT*, ST_SKIN_RECT*> m_mapRects;
    ST_SKIN_LABEL m_title;
    ST_SKIN_BACKGROUND m_background;
    CMyPicture m_picBackground;

private:
    void ClearButtons();
    void ClearLabels();
    void ClearEdits();
    void ClearRects();
    void CopyFrom(const CSkin& other);
    void TakeFrom(CSkin& other);
    bool EnterSkin();
    bool ImagePath(char* out, const CString& name, const char* what);
    void BoundSizes();
};

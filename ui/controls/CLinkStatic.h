#pragma once
// A link target that opens itself with the desktop, and a text static that
// behaves as a clickable link: its text turns to the hover colour under the
// mouse, it shows a hand cursor and a click opens its link. Only web and
// mail links are opened; anything else (files, programs, other schemes)
// is refused. GUI thread only; no locks.

#include "platform/platform.h"

class AFX_EXT_CLASS CLinkTarget {
public:
    CLinkTarget(const char* link = nullptr);  // NOLINT: a target from its text
    CLinkTarget(const CLinkTarget& other);
    CLinkTarget& operator=(const CLinkTarget& other);
    CLinkTarget& operator=(const char* link);
    operator const char*() const { return m_strLink.GetString(); }  // NOLINT
    virtual ~CLinkTarget();

    // NULL for an empty link, SE_ERR_NOASSOC for a link that is not an
    // http, https or mailto address, else the shell's result.
    virtual HINSTANCE Navigate();

protected:
    CString m_strLink;
};

class AFX_EXT_CLASS CLinkStatic : public CStatic {
    DECLARE_DYNAMIC(CLinkStatic)

public:
    // deleteOnDestroy: the object was made with new and deletes itself once
    // its window is gone.
    CLinkStatic(const char* link = nullptr, BOOL deleteOnDestroy = FALSE);
    ~CLinkStatic() override;

    void SetNoLink(BOOL bNoLink) { m_bNoLink = bNoLink; }

    static COLORREF g_colorUnvisited;
    static COLORREF g_colorVisited;
    static COLORREF g_colorOver;
    static HCURSOR g_hCursorLink;

protected:
    void PreSubclassWindow() override;
    void PostNcDestroy() override;

    LRESULT OnNcHitTest(CPoint point);
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    void OnLButtonDown(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnTimer(UINT_PTR nIDEvent);
    void OnClicked();
    DECLARE_MESSAGE_MAP()

    // Members in this order are part of the class's layout.
    CLinkTarget m_link;
    COLORREF m_crText;
    CFont m_Font;
    BOOL m_bDeleteOnDestroy;
    BOOL m_bHover;
    UINT m_nTimerId;
    BOOL m_bNoLink;
};

#pragma once
// Device contexts. For now only the painting context of a window that is
// handling WM_PAINT and the wrapper that message handlers receive; drawing
// itself is added with the rest of the drawing layer.

#include "platform/base/base.h"
#include "platform/ui/winuser.h"

class CWnd;

class CDC {
public:
    CDC() = default;
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }  // NOLINT: the classic implicit conversion

    // A wrapper for a handle given to a handler; lives until the GUI thread
    // goes back to its message loop. Null for a null handle.
    static CDC* FromHandle(HDC hDC);
    BOOL Attach(HDC hDC);
    HDC Detach();
};

// Opened in a WM_PAINT handler: paints the window that is being painted.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps{};
    HWND m_hWnd = nullptr;
};

// The client area of a window outside WM_PAINT.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

    HWND m_hWnd = nullptr;
};

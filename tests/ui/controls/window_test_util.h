#pragma once
// Windows of the control tests: a plain parent and what it shows.

#include "platform/ui/WindowRegistry_p.h"
#include "platform/ui/ui_test_env.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace ctltest {

// What the window shows now, painted afresh.
inline QImage Grab(const CWnd& wnd)
{
    QWidget* w = vxw::WidgetOf(wnd.GetSafeHwnd());
    return w ? w->grab().toImage() : QImage();
}

inline COLORREF At(const QImage& img, int x, int y)
{
    QRgb p = img.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

// Pixels of exactly that colour inside the rectangle.
inline int Count(const QImage& img, const RECT& rc, COLORREF c)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += At(img, x, y) == c;
    return n;
}

// A top-level window to hold the controls under test.
class Parent : public CWnd {
public:
    bool Make(int w, int h, const char* title = "parent")
    {
        return CreateEx(0, "VxTestParent", title, WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr) != FALSE;
    }
    ~Parent() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
};

}  // namespace ctltest

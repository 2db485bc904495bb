#pragma once
// Shared helpers of the control tests: the generated test pictures, a plain
// host window, pumping and grabbing what a window shows.

#include "controls_test_resources.h"
#include "platform/gdi/gdi_test_util.h"
#include "platform/ui/WindowRegistry_p.h"
#include "platform/ui/ui_test_env.h"

#include <QImage>
#include <QWidget>

#include <chrono>
#include <thread>

inline HINSTANCE ControlPictures()
{
    return ControlResources();
}

class HostWnd : public CWnd {
public:
    explicit HostWnd(int w = 360, int h = 240, COLORREF face = RGB(250, 250, 250)) : m_face(face)
    {
        CreateEx(0, "VxControlsHost", "", WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT) {
            CPaintDC dc(this);
            CRect rc;
            GetClientRect(&rc);
            dc.FillSolidRect(&rc, m_face);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    COLORREF m_face;
};

// What the window shows now, as 0xRRGGBB pixels.
inline QImage Grab(const CWnd& wnd)
{
    QWidget* w = vxw::WidgetOf(wnd.GetSafeHwnd());
    return w ? w->grab().toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}

inline COLORREF PixelAt(const QImage& img, int x, int y)
{
    QRgb p = img.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

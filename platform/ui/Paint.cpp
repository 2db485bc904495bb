// BeginPaint / EndPaint: the painting context of the window being painted.
#include "platform/ui/winuser.h"

#include "platform/gdi/DcHandle_p.h"
#include "platform/ui/GuiThread_p.h"
#include "platform/ui/WindowCall_p.h"
#include "platform/ui/WindowRegistry_p.h"

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT ps)
{
    VX_ASSERT_GUI_THREAD(nullptr);
    if (!ps)
        return nullptr;
    *ps = PAINTSTRUCT{};
    QWidget* w = vxw::WidgetOf(hWnd);
    if (!w)
        return nullptr;
    vxw::PaintState* paint = vxw::g_paint;
    bool painting = paint && paint->hwnd == hWnd;
    ps->rcPaint = painting ? paint->rect : RECT{0, 0, w->width(), w->height()};
    ps->fErase = TRUE;
    // Outside a paint event Qt cannot draw on the widget: the context is
    // then one that draws nothing.
    ps->hdc = vxgdi::CreateWindowDc(painting ? paint->device : nullptr, w->size());
    return ps->hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps)
{
    VX_ASSERT_GUI_THREAD(FALSE);
    if (ps && ps->hdc)
        vxw::ReleasePaintDc(ps->hdc);
    return TRUE;
}

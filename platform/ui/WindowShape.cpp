// Window shapes: SetWindowRgn over the widget's mask, so that pixels outside
// the region neither show nor take the mouse.
#include "platform/gdi/GdiObject_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QWidget>

using namespace vxgdi;

int SetWindowRgn(HWND hWnd, HRGN rgn, BOOL redraw)
{
    QWidget* w = vxw::WidgetOf(hWnd);
    if (!w)
        return 0;
    if (!rgn) {
        w->clearMask();
    } else {
        RgnObj* r = Rgn(rgn);
        if (!r)
            return 0;
        // An empty region would make Qt drop the mask; an empty shape is a
        // window that shows nothing.
        w->setMask(r->region.isEmpty() ? QRegion(-1, -1, 1, 1) : r->region);
    }
    if (redraw)
        w->update();
    return 1;
}

int GetWindowRgn(HWND hWnd, HRGN rgn)
{
    QWidget* w = vxw::WidgetOf(hWnd);
    RgnObj* r = Rgn(rgn);
    if (!w || !r)
        return ERROR;
    QRegion m = w->mask();
    if (m.isEmpty())
        return ERROR;  // no shape set
    r->region = m;
    return m.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// Control colours asked of the parent, and cursor pictures, for the
// controls and cursors of the windowing layer.
#include "platform/gdi/CtlColor_p.h"

#include "platform/gdi/DcHandle_p.h"
#include "platform/gdi/GdiObject_p.h"
#include "platform/gdi/Icon_p.h"
#include "platform/ui/winuser.h"

namespace vxgdi {

CtlColors QueryCtlColor(HWND parent, UINT msg, HWND control, QColor defaultText, QColor defaultBackground)
{
    CtlColors out;
    out.text = defaultText;
    out.background = defaultBackground;
    if (!parent)
        return out;
    // A DC with nothing to draw on: the handler only sets colours and modes.
    auto dc = std::make_unique<DcHandle>();
    dc->kind = DcHandle::Kind::Screen;
    HDC hdc = NewDc(std::move(dc));
    DcHandle* d = FromHdc(hdc);
    d->st.text = RGB(defaultText.red(), defaultText.green(), defaultText.blue());
    d->st.bk = RGB(defaultBackground.red(), defaultBackground.green(), defaultBackground.blue());
    LRESULT r = ::SendMessage(parent, msg, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(control));
    if ((d = FromHdc(hdc))) {
        out.text = ToQColor(d->st.text);
        out.background = ToQColor(d->st.bk);
        out.transparent = d->st.bkMode == TRANSPARENT;
    }
    if (BrushObj* b = Brush(reinterpret_cast<HGDIOBJ>(r))) {
        if (b->lb.lbStyle == BS_NULL) {
            out.nullBrush = true;
        } else {
            out.brush = true;
            out.brushColor = ToQColor(b->lb.lbColor);
        }
    }
    FreeDc(hdc);
    return out;
}

bool CursorImage(HCURSOR cursor, QImage* image, QPoint* hotspot)
{
    IconObj* i = Icon(cursor);
    if (!i)
        return false;
    if (image)
        *image = i->image;
    if (hotspot)
        *hotspot = i->hotspot;
    return true;
}

}  // namespace vxgdi

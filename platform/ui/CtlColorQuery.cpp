#include "platform/ui/CtlColorQuery_p.h"

#include "platform/gdi/DcHandle_p.h"
#include "platform/gdi/GdiObject_p.h"
#include "platform/ui/winuser.h"

using namespace vxgdi;

namespace vxw {

vxgdi::CtlColors QueryCtlColor(HWND parent, UINT msg, HWND control, QColor defaultText, QColor defaultBackground)
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

}  // namespace vxw

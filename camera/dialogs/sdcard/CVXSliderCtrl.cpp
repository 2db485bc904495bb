#include "camera/dialogs/sdcard/CVXSliderCtrl.h"

#include "platform/ui/commctrl.h"

#include <algorithm>
#include <cstdint>

BEGIN_MESSAGE_MAP(CVXSliderCtrl, CSliderCtrl)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

bool CVXSliderCtrl::PositionAt(int x, int left, int right, int nMin, int nMax, int& nPos)
{
    const int64_t width = int64_t(right) - left;
    const int64_t range = int64_t(nMax) - nMin;
    if (width <= 0 || range <= 0)
        return false;
    const int64_t offset = std::clamp<int64_t>(int64_t(x) - left, 0, width);
    nPos = static_cast<int>(nMin + (offset * range + width / 2) / width);
    return true;
}

void CVXSliderCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    CRect thumb, channel;
    GetThumbRect(&thumb);
    GetChannelRect(&channel);
    int pos = 0;
    if (thumb.PtInRect(point) || !PositionAt(point.x, channel.left, channel.right, GetRangeMin(), GetRangeMax(), pos)) {
        // On the thumb: the slider's own dragging.
        CSliderCtrl::OnLButtonDown(nFlags, point);
        return;
    }
    SetPos(pos);
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(pos)),
                            reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

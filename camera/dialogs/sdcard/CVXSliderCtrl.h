#pragma once
// The record player's position slider: a click on the channel beside the
// thumb jumps there at once (the plain slider would step a page), tells the
// parent with WM_HSCROLL / SB_THUMBPOSITION and swallows the click. The
// parent reads the new position with GetPos(): the message's 16-bit position
// field cannot hold a range in milliseconds.
//
// Threads: GUI thread only.

#include "platform/platform.h"

class CVXSliderCtrl : public CSliderCtrl {
public:
    // The position a click at x on a channel from left to right stands for,
    // in the range nMin .. nMax: (x - left) × range / width in 64 bits,
    // rounded, clamped to the range. False when there is nothing to seek in:
    // an empty range or a channel without width.
    static bool PositionAt(int x, int left, int right, int nMin, int nMax, int& nPos);

protected:
    void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

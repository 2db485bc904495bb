#pragma once
// A slider drawn from bitmap resources: a channel with an optional "active"
// part before the thumb, and a thumb with an optional active picture while
// dragging. GUI thread only; takes no locks.
//
// Exported whole: members keep their order.

#include "platform/platform.h"

class AFX_EXT_CLASS CImageSlider : public CStatic {
public:
    CImageSlider();
    ~CImageSlider() override;

    int m_nMax;
    int m_nMin;
    int m_nPos;
    int m_nPage;
    RECT m_rcClient;
    int m_nChannelWidth;
    int m_nChannelHeight;
    int m_nThumbWidth;
    int m_nThumbHeight;
    int m_nMarginLeft;
    int m_nMarginTop;
    int m_nMarginRight;
    int m_nMarginBottom;
    int m_nThumbBkX;
    int m_nThumbBkY;
    int m_nDragOffset;
    BOOL m_bVertical;
    BOOL m_bChannelActive;
    BOOL m_bThumbActive;
    BOOL m_bChannelTransparent;
    BOOL m_bThumbTransparent;
    BOOL m_bThumbLoaded;
    BOOL m_bChannelLoaded;
    BOOL m_bDragging;
    BOOL m_bFocused;
    BOOL m_bFocusRectShown;
    BOOL m_bDrawFocusRect;
    BOOL m_bEnabled;
    CBitmap m_bmChannel;
    CBitmap m_bmChannelMask;
    CBitmap m_bmChannelActive;
    CBitmap m_bmChannelActiveMask;
    CBitmap m_bmThumb;
    CBitmap m_bmThumbMask;
    CBitmap m_bmThumbActive;
    CBitmap m_bmThumbActiveMask;
    CBitmap m_bmThumbBk;
};

#include "ui/controls/CImageSlider.h"

CImageSlider::CImageSlider()
    : m_nMax(100), m_nMin(0), m_nPos(0), m_nPage(20), m_rcClient{0, 0, 0, 0}, m_nChannelWidth(0), m_nChannelHeight(0),
      m_nThumbWidth(0), m_nThumbHeight(0), m_nMarginLeft(0), m_nMarginTop(0), m_nMarginRight(0), m_nMarginBottom(0),
      m_nThumbBkX(-1), m_nThumbBkY(-1), m_nDragOffset(0), m_bVertical(FALSE), m_bChannelActive(FALSE),
      m_bThumbActive(FALSE), m_bChannelTransparent(FALSE), m_bThumbTransparent(FALSE), m_bThumbLoaded(FALSE),
      m_bChannelLoaded(FALSE), m_bDragging(FALSE), m_bFocused(FALSE), m_bFocusRectShown(FALSE), m_bDrawFocusRect(TRUE),
      m_bEnabled(TRUE)
{}

// The bitmaps free their GDI objects themselves.
CImageSlider::~CImageSlider() = default;

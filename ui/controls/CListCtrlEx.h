#pragma once
// A report list that can show one column as a row of picture progress bars,
// one CMyProgressCtrl child over that column of each visible row, with the
// values taken from the public table m_nProgressValue.
//
// Threads: the list belongs to the GUI thread. m_nProgressValue may be
// written by any thread at any time without a lock (each entry is atomic);
// a repaint of the list shows the values it reads.
//
// Embedded in dialogs of other libraries: members keep their order.

#include "ui/controls/CImageSlider.h"
#include "ui/controls/CMyProgressCtrl.h"

#include <atomic>
#include <vector>

class AFX_EXT_CLASS CListCtrlEx : public CListCtrl {
    DECLARE_DYNAMIC(CListCtrlEx)

public:
    CListCtrlEx();
    ~CListCtrlEx() override;

    void InitProgressColumn(UINT backImageId, UINT foreImageId, const char* resType, BOOL transparent,
                            COLORREF colourKey, int column);
    void OnPaint();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    static constexpr int kProgressRows = 100;

    CArray<CImageSlider*, CImageSlider*> m_arrSliders;
    CArray<CMyProgressCtrl*, CMyProgressCtrl*> m_arrProgress;
    int m_nProgressColumn;
    UINT m_nBackImageId;
    UINT m_nForeImageId;
    const char* m_lpszResType;
    BOOL m_bTransparent;
    COLORREF m_crColourKey;
    BOOL m_bProgressColumn;
    std::atomic<int> m_nProgressValue[kProgressRows];

protected:
    DECLARE_MESSAGE_MAP()

private:
    struct Bar {
        int row;
        CRect rect;
        int pos;
        CMyProgressCtrl* ctrl;  // null when the window could not be made
    };
    // The bars the visible rows want now (rows past the value table get none).
    std::vector<Bar> WantedBars();
    void DestroyChildren();
    LRESULT OnRebuildBars(WPARAM, LPARAM);

    // Where the current bars stand, to tell whether a paint may keep them.
    std::vector<Bar> m_barLayout;
    bool m_bRebuildPosted = false;
};

// Writers keep the plain form list.m_nProgressValue[i] = v.
static_assert(sizeof(std::atomic<int>[CListCtrlEx::kProgressRows]) == sizeof(int[CListCtrlEx::kProgressRows]),
              "the value table keeps the layout of int[100]");

#include "ui/controls/CMyListCtrl.h"

#include <vector>

BEGIN_MESSAGE_MAP(CMyListCtrl, CListCtrl)
ON_NOTIFY_REFLECT(LVN_BEGINDRAG, OnLvnBegindrag)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_CREATE()
END_MESSAGE_MAP()

CMyListCtrl::CMyListCtrl()
    : m_bBlockColumnResize(FALSE), m_bDragEnabled(FALSE), m_pfnSwapRows(nullptr), m_pSwapRowsUser(nullptr),
      m_nDragRow(-1), m_bDragging(FALSE)
{}

CMyListCtrl::~CMyListCtrl() = default;

void CMyListCtrl::SetSwapRowsCallback(SwapRowsFn fn, void* user)
{
    m_pfnSwapRows = fn;
    m_pSwapRowsUser = user;
}

void CMyListCtrl::PreSubclassWindow()
{
    CListCtrl::PreSubclassWindow();
    m_bBlockColumnResize = TRUE;
    m_bDragEnabled = FALSE;
    m_pfnKeptSwapRows = m_pfnSwapRows;
    m_pKeptSwapRowsUser = m_pSwapRowsUser;
    m_pfnSwapRows = nullptr;
    m_pSwapRowsUser = nullptr;
}

int CMyListCtrl::OnCreate(LPCREATESTRUCT)
{
    // Made here rather than subclassed: the callback stays as it was.
    m_pfnSwapRows = m_pfnKeptSwapRows;
    m_pSwapRowsUser = m_pKeptSwapRowsUser;
    if (Default() == -1)
        return -1;
    m_bBlockColumnResize = TRUE;
    m_bDragEnabled = FALSE;
    return 0;
}

BOOL CMyListCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (m_bBlockColumnResize && hdr && (hdr->code == HDN_BEGINTRACKA || hdr->code == HDN_BEGINTRACKW)) {
        *pResult = 1;
        return TRUE;
    }
    return CListCtrl::OnNotify(wParam, lParam, pResult);
}

void CMyListCtrl::OnLvnBegindrag(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (!m_bDragEnabled)
        return;
    auto* lv = reinterpret_cast<NMLISTVIEW*>(pNMHDR);
    if (lv->iItem == -1)
        return;
    m_bDragging = TRUE;
    m_nDragRow = lv->iItem;
    SetCapture();
}

void CMyListCtrl::OnLButtonUp(UINT, CPoint)
{
    if (m_bDragging) {
        m_bDragging = FALSE;
        ::ReleaseCapture();
    }
    Default();
}

void CMyListCtrl::OnMouseMove(UINT, CPoint point)
{
    if (!m_bDragging) {
        Default();
        return;
    }
    SetRedraw(FALSE);
    UINT flags = 0;
    int target = HitTest(point, &flags);
    if (target < 0) {
        if (flags & LVHT_BELOW) {
            target = GetTopIndex() + GetCountPerPage();
        } else if (flags & LVHT_ABOVE) {
            target = GetTopIndex() - 1;
        } else {
            SetRedraw(TRUE);
            return;
        }
    }
    if (target != m_nDragRow) {
        MoveSelection(target - m_nDragRow);
        m_nDragRow = target;
    }
    SetRedraw(TRUE);
    Default();
}

// Moves every selected row by delta, the leading row first, so that rows
// never pass over one another; stops at the first row that would leave the
// list.
void CMyListCtrl::MoveSelection(int delta)
{
    std::vector<int> selected;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
        selected.push_back(row);
    int count = GetItemCount();
    auto moveOne = [&](int row) {
        int to = row + delta;
        if (to < 0 || to > count - 1)
            return false;
        SetItemState(row, 0, LVIS_SELECTED);
        for (int at = row; at != to; at += delta > 0 ? 1 : -1)
            SwapRows(at, delta > 0 ? at + 1 : at - 1);
        EnsureVisible(to, TRUE);
        SetItemState(to, LVIS_SELECTED, LVIS_SELECTED);
        return true;
    };
    if (delta >= 1) {
        for (auto it = selected.rbegin(); it != selected.rend(); ++it)
            if (!moveOne(*it))
                return;
    } else {
        for (int row : selected)
            if (!moveOne(row))
                return;
    }
}

void CMyListCtrl::SwapRows(int row1, int row2)
{
    CHeaderCtrl* header = GetHeaderCtrl();
    int columns = header ? header->GetItemCount() : 0;
    for (int c = 0; c < columns; ++c) {
        CString a = GetItemText(row1, c);
        CString b = GetItemText(row2, c);
        SetItemText(row1, c, b);
        SetItemText(row2, c, a);
    }
    LVITEM one{};
    one.mask = LVIF_IMAGE | LVIF_PARAM;
    one.iItem = row1;
    LVITEM two = one;
    two.iItem = row2;
    GetItem(&one);
    GetItem(&two);
    std::swap(one.iItem, two.iItem);
    SetItem(&one);
    SetItem(&two);
    if (m_pfnSwapRows)
        m_pfnSwapRows(m_pSwapRowsUser, row1, row2);
}

#include "ui/controls/CListCtrlEx.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CListCtrlEx, CListCtrl)

namespace {

// Bars are rebuilt by a message of our own after the paint: a window made or
// destroyed while its parent paints would ask for yet another paint.
UINT RebuildBarsMessage()
{
    static const UINT message = ::RegisterWindowMessage("VxListCtrlEx.RebuildBars");
    return message;
}
UINT g_rebuildBars = RebuildBarsMessage();

constexpr int kFirstBarId = 0x400;

}  // namespace

BEGIN_MESSAGE_MAP(CListCtrlEx, CListCtrl)
ON_WM_PAINT()
ON_WM_CTLCOLOR()
ON_REGISTERED_MESSAGE(g_rebuildBars, OnRebuildBars)
END_MESSAGE_MAP()

CListCtrlEx::CListCtrlEx()
    : m_nProgressColumn(0), m_nBackImageId(0), m_nForeImageId(0), m_lpszResType(nullptr), m_bTransparent(FALSE),
      m_crColourKey(RGB(255, 255, 255)), m_bProgressColumn(FALSE)
{
    for (auto& v : m_nProgressValue)
        v.store(0, std::memory_order_relaxed);
}

CListCtrlEx::~CListCtrlEx()
{
    DestroyChildren();
}

void CListCtrlEx::DestroyChildren()
{
    for (INT_PTR i = 0; i < m_arrSliders.GetSize(); ++i) {
        if (::IsWindow(m_arrSliders[i]->GetSafeHwnd()))
            m_arrSliders[i]->DestroyWindow();
        delete m_arrSliders[i];
    }
    m_arrSliders.RemoveAll();
    for (INT_PTR i = 0; i < m_arrProgress.GetSize(); ++i) {
        if (::IsWindow(m_arrProgress[i]->GetSafeHwnd()))
            m_arrProgress[i]->DestroyWindow();
        delete m_arrProgress[i];
    }
    m_arrProgress.RemoveAll();
    m_barLayout.clear();
}

void CListCtrlEx::InitProgressColumn(UINT backImageId, UINT foreImageId, const char* resType, BOOL transparent,
                                     COLORREF colourKey, int column)
{
    m_nBackImageId = backImageId;
    m_nForeImageId = foreImageId;
    m_lpszResType = resType;
    m_bTransparent = transparent;
    m_crColourKey = colourKey;
    m_nProgressColumn = column;
    m_bProgressColumn = TRUE;
    for (auto& v : m_nProgressValue)
        v.store(0, std::memory_order_relaxed);
}

std::vector<CListCtrlEx::Bar> CListCtrlEx::WantedBars()
{
    std::vector<Bar> bars;
    int top = GetTopIndex();
    int last = std::min(GetItemCount(), top + GetCountPerPage());
    CRect header;
    CHeaderCtrl* h = GetHeaderCtrl();
    if (!h || !h->GetItemRect(m_nProgressColumn, &header))
        return bars;
    // Bars live between the header and the bottom of the list, never over
    // either.
    CRect client;
    GetClientRect(&client);
    const int below = h->IsWindowVisible() ? header.bottom : client.top;
    for (int r = std::max(top, 0); r < std::min(last, kProgressRows); ++r) {
        CRect label;
        if (!GetItemRect(r, &label, LVIR_LABEL))
            continue;
        CRect bar(label.left + header.left + 10, label.top + 1, header.right - 5, label.bottom - 1);
        bar.top = std::max<LONG>(bar.top, below);
        bar.bottom = std::min<LONG>(bar.bottom, client.bottom);
        if (bar.bottom <= bar.top)
            continue;
        int v = m_nProgressValue[r].load(std::memory_order_relaxed);
        // A value outside 0..100 shows an empty bar.
        bars.push_back(Bar{r, bar, v >= 0 && v <= 100 ? v : 0, nullptr});
    }
    return bars;
}

void CListCtrlEx::OnPaint()
{
    if (m_bProgressColumn) {
        std::vector<Bar> wanted = WantedBars();
        bool sameLayout = wanted.size() == m_barLayout.size()
                          && std::equal(wanted.begin(), wanted.end(), m_barLayout.begin(),
                                        [](const Bar& a, const Bar& b) { return a.row == b.row && a.rect == b.rect; });
        if (sameLayout) {
            for (size_t i = 0; i < wanted.size(); ++i) {
                if (wanted[i].pos == m_barLayout[i].pos)
                    continue;
                m_barLayout[i].pos = wanted[i].pos;
                if (CMyProgressCtrl* bar = m_barLayout[i].ctrl) {
                    bar->SetPos(wanted[i].pos);
                    bar->Invalidate(TRUE);
                }
            }
        } else if (!m_bRebuildPosted) {
            m_bRebuildPosted = PostMessage(g_rebuildBars) != FALSE;
        }
    }
    Default();
}

LRESULT CListCtrlEx::OnRebuildBars(WPARAM, LPARAM)
{
    m_bRebuildPosted = false;
    DestroyChildren();
    if (!m_bProgressColumn)
        return 0;
    for (Bar want : WantedBars()) {
        auto* bar = new CMyProgressCtrl;
        if (!bar->Create("", WS_CHILD | WS_VISIBLE, want.rect, this, static_cast<UINT>(kFirstBarId + want.row))) {
            delete bar;
            m_barLayout.push_back(want);
            continue;
        }
        want.ctrl = bar;
        bar->SetBackImage(m_nBackImageId, m_lpszResType, m_bTransparent, m_crColourKey, TRUE);
        bar->SetForeImage(m_nForeImageId, m_lpszResType, m_bTransparent, m_crColourKey);
        bar->SetRange(0, 100);
        bar->SetPos(want.pos);
        m_arrProgress.Add(bar);
        m_barLayout.push_back(want);
    }
    return 0;
}

HBRUSH CListCtrlEx::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CListCtrl::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetBkMode(TRANSPARENT);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    return brush;
}

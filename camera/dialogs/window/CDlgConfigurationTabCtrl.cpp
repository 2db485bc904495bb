#include "camera/dialogs/window/CDlgConfigurationTabCtrl.h"

#include "camera/dialogs/SettingsPageTable.h"
#include "resources/vxcam/resource.h"
#include "ui/controls/CDlgTabItem.h"

BEGIN_MESSAGE_MAP(CDlgConfigurationTabCtrl, CTabCtrlEx)
ON_WM_LBUTTONDOWN()
ON_NOTIFY_REFLECT(TCN_SELCHANGE, OnSelChange)
ON_WM_VSCROLL()
END_MESSAGE_MAP()

CDlgConfigurationTabCtrl::CDlgConfigurationTabCtrl() = default;

CDlgConfigurationTabCtrl::~CDlgConfigurationTabCtrl()
{
    DestroyPages();
}

void CDlgConfigurationTabCtrl::CreatePages()
{
    m_container.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, IDC_PAGE_CONTAINER);
    const CategoryPages* pages = FindCategoryPages(m_nCategory);
    if (!pages || !pages->hasPages) {
        m_nPageCount = 0;
        return;
    }
    m_nPageCount = pages->count;
    for (int i = 0; i < pages->count; ++i) {
        const PageSlot& slot = pages->slots[i];
        if (!slot.factory)
            continue;
        CDlgTabItem* page = slot.factory(m_pOwner);
        if (page->Create(slot.templateId, &m_container))
            m_pages[i] = page;
        else
            delete page;
    }
    SetCurSel(0);
    m_nCurrentPage = 0;
    Layout();
}

void CDlgConfigurationTabCtrl::DestroyPages()
{
    for (CDlgTabItem*& page : m_pages) {
        if (page) {
            page->DestroyWindow();
            delete page;
            page = nullptr;
        }
    }
    if (m_container.GetSafeHwnd())
        m_container.DestroyWindow();
    m_nPageCount = 0;
}

CDlgTabItem* CDlgConfigurationTabCtrl::GetPage(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_nPageCount ? m_pages[nIndex] : nullptr;
}

void CDlgConfigurationTabCtrl::ShowCurrentPage()
{
    if (CDlgTabItem* page = GetPage(m_nCurrentPage))
        page->ShowWindow(SW_SHOW);
}

void CDlgConfigurationTabCtrl::Layout()
{
    CRect client, item;
    GetClientRect(&client);
    GetItemRect(0, &item);
    int width = client.right - client.left - 2;
    int height = client.bottom - item.bottom - 2;
    m_container.MoveWindow(client.left + 1, item.bottom + 1, width, height);
    for (int i = 0; i < m_nPageCount; ++i) {
        if (m_pages[i])
            m_pages[i]->SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CDlgConfigurationTabCtrl::SwitchToFocused()
{
    int focused = GetCurFocus();
    if (m_nPageCount <= 0 || focused == m_nCurrentPage || focused < 0 || focused >= m_nPageCount)
        return;
    if (CDlgTabItem* old = GetPage(m_nCurrentPage))
        old->ShowWindow(SW_HIDE);
    m_nCurrentPage = focused;
    if (CDlgTabItem* page = GetPage(m_nCurrentPage)) {
        page->ShowWindow(SW_SHOW);
        page->SetFocus();
    }
}

void CDlgConfigurationTabCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    CTabCtrlEx::OnLButtonDown(nFlags, point);
    SwitchToFocused();
}

void CDlgConfigurationTabCtrl::OnSelChange(NMHDR*, LRESULT* pResult)
{
    // Keyboard selection switches like a click.
    SwitchToFocused();
    *pResult = 0;
}

void CDlgConfigurationTabCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    // Only the category's own bar moves the page; it is never created, so
    // this runs only if a later layout gives pages a scroll range.
    if (pScrollBar != &m_scrollBar || !m_scrollBar.GetSafeHwnd())
        return;
    CDlgTabItem* page = GetPage(m_nCurrentPage);
    if (!page)
        return;
    int minPos = 0, maxPos = 0;
    m_scrollBar.GetScrollRange(&minPos, &maxPos);
    int pos = m_scrollBar.GetScrollPos();
    CRect box;
    m_container.GetClientRect(&box);
    int pageStep = box.Height() - 20;
    int next = pos;
    switch (nSBCode) {
    case SB_LINEUP:
        if (pos > 0)
            next = pos - 10;
        break;
    case SB_LINEDOWN:
        if (pos < maxPos)
            next = pos + 10;
        break;
    case SB_PAGEUP:
        next = std::max(0, pos - pageStep);
        break;
    case SB_PAGEDOWN:
        next = std::min(maxPos, pos + pageStep);
        break;
    case SB_TOP:
        next = 0;
        break;
    case SB_BOTTOM:
        next = maxPos;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        int target = static_cast<int>(nPos);
        if (target == pos || (std::abs(target - pos) < 10 && target != 0 && target != maxPos))
            return;
        next = target;
        break;
    }
    default:
        return;
    }
    next = std::clamp(next, 0, maxPos);
    m_scrollBar.SetScrollPos(next);
    page->SetWindowPos(nullptr, 0, -next, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

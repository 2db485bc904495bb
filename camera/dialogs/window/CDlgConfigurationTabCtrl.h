#pragma once
// The tab strip of one category: makes the category's pages inside a
// container window and switches between them. GUI thread only.

#include "ui/controls/CTabCtrlEx.h"

class CCameraSetupDlg;
class CDlgTabItem;

class CDlgConfigurationTabCtrl : public CTabCtrlEx {
public:
    CDlgConfigurationTabCtrl();
    ~CDlgConfigurationTabCtrl() override;

    void SetOwner(CCameraSetupDlg* pOwner) { m_pOwner = pOwner; }
    void SetCategory(int nCode) { m_nCategory = nCode; }
    void CreatePages();
    void DestroyPages();
    // Shows the current page (a slot without a page shows nothing).
    void ShowCurrentPage();
    CDlgTabItem* GetPage(int nIndex) const;
    int GetPageCount() const { return m_nPageCount; }
    int GetCurrentPage() const { return m_nCurrentPage; }

    // ---- members, in the order of their meaning ----
    CScrollBar m_scrollBar;  // never made as a window
    CStatic m_container;
    int m_nCategory = 10;
    int m_nPageCount = 0;
    CCameraSetupDlg* m_pOwner = nullptr;
    CDlgTabItem* m_pages[20] = {};
    int m_nCurrentPage = 0;

protected:
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnSelChange(NMHDR* pNotify, LRESULT* pResult);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void SwitchToFocused();
};

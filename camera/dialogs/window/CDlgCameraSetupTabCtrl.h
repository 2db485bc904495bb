#pragma once
// The settings window's category tabs: one category dialog per tab, made at
// start-up, switched by click or keyboard. GUI thread only: the critical
// section guards the table against re-entry from the window's own handlers
// and is never held across threads.

#include "camera/dialogs/window/CDlgConfigurationSettings.h"
#include "ui/controls/CTabCtrlEx.h"

class CCameraSetupDlg;

class CDlgCameraSetupTabCtrl : public CTabCtrlEx {
public:
    CDlgCameraSetupTabCtrl();
    ~CDlgCameraSetupTabCtrl() override;

    void SetOwner(CCameraSetupDlg* pOwner) { m_pOwner = pOwner; }
    void CreateCategories();
    void ShowCurrentCategory();
    void DestroyCategories();
    CDlgConfigurationSettings* GetCategory(int nIndex);
    int GetCurrentCategory() const { return m_nCurrent; }

    // ---- members, in the order of their meaning ----
    CCameraSetupDlg* m_pOwner = nullptr;
    CDlgConfigurationSettings* m_categories[20] = {};
    int m_nToCreate = 7;
    int m_nCreated = 0;
    int m_nCurrent = 0;
    CRITICAL_SECTION m_cs;

protected:
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnSelChange(NMHDR* pNotify, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void SwitchToFocused();
};

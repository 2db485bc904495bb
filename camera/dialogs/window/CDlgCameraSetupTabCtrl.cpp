#include "camera/dialogs/window/CDlgCameraSetupTabCtrl.h"

#include "camera/dialogs/SettingsPageTable.h"
#include "resources/vxcam/resource.h"

BEGIN_MESSAGE_MAP(CDlgCameraSetupTabCtrl, CTabCtrlEx)
ON_WM_LBUTTONDOWN()
ON_NOTIFY_REFLECT(TCN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

namespace {

class Guard {
public:
    explicit Guard(CRITICAL_SECTION& cs) : m_cs(cs) { EnterCriticalSection(&m_cs); }
    ~Guard() { LeaveCriticalSection(&m_cs); }

private:
    CRITICAL_SECTION& m_cs;
};

}  // namespace

CDlgCameraSetupTabCtrl::CDlgCameraSetupTabCtrl()
{
    InitializeCriticalSection(&m_cs);
}

CDlgCameraSetupTabCtrl::~CDlgCameraSetupTabCtrl()
{
    {
        Guard lock(m_cs);
        for (CDlgConfigurationSettings*& c : m_categories) {
            delete c;
            c = nullptr;
        }
    }
    DeleteCriticalSection(&m_cs);
}

void CDlgCameraSetupTabCtrl::CreateCategories()
{
    Guard lock(m_cs);
    m_nCurrent = 0;
    for (int i = 0; i < m_nToCreate && i < kWindowCategoryCount; ++i) {
        auto* category = new CDlgConfigurationSettings(m_pOwner);
        category->SetOwner(m_pOwner);
        category->SetCategory(kWindowCategories[i].code);
        if (!category->Create(IDD_CONFIG_SETTINGS, this)) {
            delete category;
            continue;
        }
        m_categories[i] = category;
    }
    m_nCreated = m_nToCreate;
    SetCurFocus(0);
    Layout();
}

CDlgConfigurationSettings* CDlgCameraSetupTabCtrl::GetCategory(int nIndex)
{
    Guard lock(m_cs);
    return nIndex >= 0 && nIndex < m_nCreated ? m_categories[nIndex] : nullptr;
}

void CDlgCameraSetupTabCtrl::Layout()
{
    CRect client, item;
    GetClientRect(&client);
    GetItemRect(0, &item);
    int x = item.left, y = item.bottom + 1;
    int cx = client.right - item.left - 1, cy = client.bottom - (item.bottom + 1) - 1;
    for (int i = 0; i < m_nCreated; ++i) {
        if (m_categories[i])
            m_categories[i]->SetWindowPos(nullptr, x, y, cx, cy,
                                          SWP_NOZORDER | (i == 0 ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
}

void CDlgCameraSetupTabCtrl::ShowCurrentCategory()
{
    Guard lock(m_cs);
    if (m_nCurrent < m_nCreated && m_categories[m_nCurrent])
        m_categories[m_nCurrent]->ShowCurrentPage();
}

void CDlgCameraSetupTabCtrl::DestroyCategories()
{
    Guard lock(m_cs);
    for (int i = 0; i < 20; ++i) {
        CDlgConfigurationSettings* category = m_categories[i];
        if (!category)
            continue;
        category->m_tabCtrl.DestroyPages();
        category->DestroyWindow();
        delete category;
        m_categories[i] = nullptr;
    }
    m_nCreated = 0;
}

void CDlgCameraSetupTabCtrl::SwitchToFocused()
{
    Guard lock(m_cs);
    int focused = GetCurFocus();
    if (m_nCreated <= 0 || focused == m_nCurrent || focused < 0 || focused >= m_nCreated)
        return;
    if (m_categories[m_nCurrent])
        m_categories[m_nCurrent]->ShowWindow(SW_HIDE);
    m_nCurrent = focused;
    if (CDlgConfigurationSettings* category = m_categories[m_nCurrent]) {
        category->ShowCurrentPage();
        category->ShowWindow(SW_SHOW);
        category->SetFocus();
    }
}

void CDlgCameraSetupTabCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    CTabCtrlEx::OnLButtonDown(nFlags, point);
    SwitchToFocused();
}

void CDlgCameraSetupTabCtrl::OnSelChange(NMHDR*, LRESULT* pResult)
{
    SwitchToFocused();
    *pResult = 0;
}

#include "camera/dialogs/window/CDlgConfigurationSettings.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/SettingsPageTable.h"
#include "resources/vxcam/resource.h"

CDlgConfigurationSettings::CDlgConfigurationSettings(CCameraSetupDlg* pOwner)
    : CDialog(IDD_CONFIG_SETTINGS, nullptr), m_pOwner(pOwner)
{}

void CDlgConfigurationSettings::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SETUP_TAB, m_tabCtrl);
}

BOOL CDlgConfigurationSettings::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_tabCtrl.SetOwner(m_pOwner);
    m_tabCtrl.SetFonts(400, 0, 0, 400, 0, 0);
    if (const CategoryPages* pages = FindCategoryPages(m_nCategory)) {
        for (int i = 0; i < pages->count; ++i)
            m_tabCtrl.InsertItem(i, VxcamString(pages->slots[i].labelId));
    }
    m_tabCtrl.SetCategory(m_nCategory);
    m_tabCtrl.CreatePages();
    SetWindowText("");
    return TRUE;
}

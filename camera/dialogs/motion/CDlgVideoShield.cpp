#include "camera/dialogs/motion/CDlgVideoShield.h"

#include "camera/dialogs/CVXCamApp.h"
#include "resources/vxcam/resource.h"

BEGIN_MESSAGE_MAP(CDlgVideoShield, CZoneDialog)
ON_BN_CLICKED(IDC_SHIELD_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_SHIELD_CLEAR_ALL, OnClearAll)
ON_BN_CLICKED(IDC_SHIELD_CLEAR_SELECTED, OnClearSelected)
ON_BN_CLICKED(IDC_SHIELD_RED, OnColour)
ON_BN_CLICKED(IDC_SHIELD_GREEN, OnColour)
ON_BN_CLICKED(IDC_SHIELD_BLACK, OnColour)
ON_BN_CLICKED(IDC_SHIELD_APPLY, OnApply)
END_MESSAGE_MAP()

CDlgVideoShield::CDlgVideoShield(CCameraSetupDlg* pOwner, CWnd* pParent)
    : CZoneDialog(IDD_VIDEO_SHIELD, IDC_SHIELD_PICTURE, kMaxRectangles, pOwner, pParent)
{
    // The picture comes with "Refresh".
    m_bDownloadAtStart = false;
}

BOOL CDlgVideoShield::OnInitDialog()
{
    CZoneDialog::OnInitDialog();
    UpdateData(FALSE);
    if (CWnd* apply = GetDlgItem(IDC_SHIELD_APPLY))
        apply->EnableWindow(FALSE);
    return TRUE;
}

void CDlgVideoShield::DoDataExchange(CDataExchange* pDX)
{
    CZoneDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_SHIELD_ENABLE, m_bEnable);
    DDX_Radio(pDX, IDC_SHIELD_RED, m_nColour);
}

void CDlgVideoShield::OnRefresh()
{
    StartDownload();
}

void CDlgVideoShield::PictureArrived(bool ok)
{
    // A new picture starts with no rectangles.
    if (ok)
        m_layout.DeleteAll();
    if (CWnd* apply = GetDlgItem(IDC_SHIELD_APPLY))
        apply->EnableWindow(ok);
}

void CDlgVideoShield::PressRefused()
{
    CString text;
    text.Format(VxcamString(IDS_SHIELD_LIMIT), kMaxRectangles);
    ShowMessageText(this, IDS_PAGE_VIDEO_SHIELD, text, MB_ICONINFORMATION);
}

void CDlgVideoShield::OnClearAll()
{
    m_layout.DeleteAll();
    Repaint();
}

void CDlgVideoShield::OnClearSelected()
{
    m_layout.DeleteSelected();
    Repaint();
}

void CDlgVideoShield::OnColour()
{
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 0)};
    if (IsDlgButtonChecked(IDC_SHIELD_GREEN) == BST_CHECKED)
        m_fill = colours[1];
    else if (IsDlgButtonChecked(IDC_SHIELD_BLACK) == BST_CHECKED)
        m_fill = colours[2];
    else
        m_fill = colours[0];
    Repaint();
}

void CDlgVideoShield::OnApply()
{
    UpdateData(TRUE);
}

#include "camera/dialogs/motion/CDlgMDDetect.h"

#include "camera/dialogs/motion/CDlgMDDetect_p.h"
#include "camera/dialogs/motion/CMotionPic.h"
#include "resources/vxcam/resource.h"

using md_page::Checked;
using md_page::ShowItem;

void CDlgMDDetect::ArrangeSmartControls()
{
    int types = motion_form::TargetTypeCount(m_values.model);
    // The template offers all three types; one window serves one camera,
    // so the list only ever shrinks.
    if (types > 0) {
        while (static_cast<int>(SendDlgItemMessage(IDC_MD_SMART_TYPE, CB_GETCOUNT)) > types)
            SendDlgItemMessage(IDC_MD_SMART_TYPE, CB_DELETESTRING, static_cast<WPARAM>(types));
    }
    if (m_nSmartType >= types)
        m_nSmartType = 0;
    // Without the combo the check stands in its place, on the row of "Detection".
    CPoint place = types > 0 ? m_rcTracking.TopLeft() : CPoint(m_rcTargets.left, m_rcDetection.top);
    if (CWnd* tracking = GetDlgItem(IDC_MD_SMART_TRACKING))
        tracking->SetWindowPos(nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDlgMDDetect::ShowSmartControls()
{
    motion_form::SmartControls shown =
        motion_form::ShownSmartControls(m_values.model, m_values.streams, Checked(this, IDC_MD_SMART_ENABLE));
    ShowItem(this, IDC_MD_SMART_LABEL, shown.detection);
    ShowItem(this, IDC_MD_SMART_ENABLE, shown.detection);
    ShowItem(this, IDC_MD_SMART_TYPE, shown.targets);
    ShowItem(this, IDC_MD_SMART_TRACKING, shown.tracking);
}

void CDlgMDDetect::OnDetectionClicked()
{
    ShowSmartControls();
}

void CDlgMDDetect::OnRecordToCardClicked()
{
    if (motion_form::CouplesRecordActions(m_values.streams) && !Checked(this, IDC_MD_SD_RECORD))
        CheckDlgButton(IDC_MD_FTP_RECORD, BST_UNCHECKED);
}

void CDlgMDDetect::OnUploadRecordClicked()
{
    if (motion_form::CouplesRecordActions(m_values.streams) && Checked(this, IDC_MD_FTP_RECORD))
        CheckDlgButton(IDC_MD_SD_RECORD, BST_CHECKED);
}

void CDlgMDDetect::OnZones()
{
    if (!IsLoaded())
        return;
    CMotionPic dlg(m_pOwner, this);
    dlg.m_nVideoMode = m_values.videomode;
    dlg.m_nZoneCount = m_values.areaCount;
    for (int i = 0; i < motion_form::kAreas; ++i) {
        const motion_form::Area& a = m_values.areas[i];
        dlg.m_rcZones[i] = {a.left, a.top, a.right, a.bottom};
    }
    m_pZones = &dlg;
    std::weak_ptr<int> alive = m_life;
    INT_PTR result = dlg.DoModal();
    if (alive.expired())
        return;  // the window closed meanwhile: the page is gone
    m_pZones = nullptr;
    if (result != IDOK)
        return;
    m_values.areaCount = dlg.m_nZoneCount < 0 ? 0 : dlg.m_nZoneCount > 4 ? 4 : dlg.m_nZoneCount;
    for (int i = 0; i < motion_form::kAreas; ++i) {
        const RECT& r = dlg.m_rcZones[i];
        m_values.areas[i] = {r.left, r.top, r.right, r.bottom};
    }
}

void CDlgMDDetect::OnDestroy()
{
    // The zone dialog would otherwise stay on screen, its owner hidden,
    // until its snapshot download ends; the download's end is dropped.
    if (m_pZones)
        m_pZones->EndDialog(IDCANCEL);
    m_pZones = nullptr;
    m_life.reset();
    CSettingsPage::OnDestroy();
}

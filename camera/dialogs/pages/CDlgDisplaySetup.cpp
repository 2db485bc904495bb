#include "camera/dialogs/pages/CDlgDisplaySetup.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

#include <cstdlib>

using namespace display_form;

namespace {

const struct {
    int slider, edit;
} kControls[kQuantityCount] = {
    {IDC_DISP_BRIGHTNESS_SLIDER, IDC_DISP_BRIGHTNESS},
    {IDC_DISP_SATURATION_SLIDER, IDC_DISP_SATURATION},
    {IDC_DISP_CONTRAST_SLIDER, IDC_DISP_CONTRAST},
    {IDC_DISP_SHARPNESS_SLIDER, IDC_DISP_SHARPNESS},
    {IDC_DISP_HUE_SLIDER, IDC_DISP_HUE},
    {IDC_DISP_EXPOSURE_SLIDER, IDC_DISP_EXPOSURE},
};
constexpr UINT kFirstId = 21043;
constexpr UINT kLastId = 27052;

}  // namespace

BEGIN_MESSAGE_MAP(CDlgDisplaySetup, CSettingsPage)
ON_NOTIFY_RANGE(NM_CUSTOMDRAW, kFirstId, kLastId, OnSliderDraw)
ON_NOTIFY_RANGE(NM_RELEASEDCAPTURE, kFirstId, kLastId, OnSliderReleased)
ON_CONTROL_RANGE(EN_CHANGE, kFirstId, kLastId, OnEditChange)
ON_CONTROL_RANGE(EN_KILLFOCUS, kFirstId, kLastId, OnEditKillFocus)
ON_BN_CLICKED(IDC_DISP_DEFAULT, OnSetDefault)
END_MESSAGE_MAP()

CDlgDisplaySetup::CDlgDisplaySetup(CCameraSetupDlg* pOwner)
    : CSettingsPage(IDD_DISPLAY, IDS_PAGE_DISPLAY, pOwner, IDC_APPLY)
{
    m_writeButtons.push_back(IDC_DISP_DEFAULT);
}

int CDlgDisplaySetup::QuantityOf(UINT id, bool slider)
{
    for (int q = 0; q < kQuantityCount; ++q) {
        if (static_cast<UINT>(slider ? kControls[q].slider : kControls[q].edit) == id)
            return q;
    }
    return -1;
}

CSliderCtrl* CDlgDisplaySetup::SliderOf(int q) const
{
    return static_cast<CSliderCtrl*>(GetDlgItem(kControls[q].slider));
}

BOOL CDlgDisplaySetup::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    // Each slider takes its edit's range, so the two always agree.
    for (int q = 0; q < kQuantityCount; ++q) {
        if (CSliderCtrl* s = SliderOf(q)) {
            s->SetRange(Info(static_cast<Quantity>(q)).lo, Info(static_cast<Quantity>(q)).hi);
            s->SetPos(m_values.value[q]);
        }
        ShowSliderValue(q);
    }
    UpdateData(FALSE);
    return TRUE;
}

void CDlgDisplaySetup::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_DISP_FLIP, m_bFlip);
    DDX_Check(pDX, IDC_DISP_MIRROR, m_bMirror);
    DDX_Check(pDX, IDC_DISP_NIGHT, m_bNight);
    DDX_Check(pDX, IDC_DISP_SMOOTH, m_bSmooth);
    DDX_Check(pDX, IDC_DISP_WDR, m_bWdr);
    DDX_CBIndex(pDX, IDC_DISP_AEMODE, m_nAeMode);
    DDX_CBIndex(pDX, IDC_DISP_MODE, m_nDisplayMode);
    DDX_Text(pDX, IDC_DISP_SHUTTER, m_nShutter);
    DDV_MinMaxInt(pDX, m_nShutter, 0, 65535);
    DDX_Text(pDX, IDC_DISP_GAIN, m_nGain);
    DDV_MinMaxInt(pDX, m_nGain, 0, 65535);
    DDX_Text(pDX, IDC_DISP_IRCUT, m_nIrCut);
    DDV_MinMaxInt(pDX, m_nIrCut, 1, 1024);
}

void CDlgDisplaySetup::ShowSliderValue(int q)
{
    CSliderCtrl* s = SliderOf(q);
    if (!s)
        return;
    CString text;
    text.Format("%d", s->GetPos());
    CString shown;
    GetDlgItemText(kControls[q].edit, shown);
    if (shown != text)
        SetDlgItemText(kControls[q].edit, text);
}

void CDlgDisplaySetup::OnSliderDraw(UINT id, NMHDR*, LRESULT* result)
{
    *result = CDRF_DODEFAULT;
    int q = QuantityOf(id, true);
    // Not while the user types into the edit: the edit moves the slider then.
    CWnd* edit = q >= 0 ? GetDlgItem(kControls[q].edit) : nullptr;
    if (edit && ::GetFocus() != edit->GetSafeHwnd())
        ShowSliderValue(q);
}

void CDlgDisplaySetup::OnSliderReleased(UINT id, NMHDR*, LRESULT* result)
{
    *result = 0;
    int q = QuantityOf(id, true);
    if (q >= 0)
        ShowSliderValue(q);
}

void CDlgDisplaySetup::OnEditChange(UINT id)
{
    int q = QuantityOf(id, false);
    if (q < 0)
        return;
    CString text;
    GetDlgItemText(id, text);
    if (text.IsEmpty())
        return;
    int n = std::atoi(text);
    const QuantityInfo& info = Info(static_cast<Quantity>(q));
    if (n >= info.lo && n <= info.hi && SliderOf(q) && SliderOf(q)->GetPos() != n)
        SliderOf(q)->SetPos(n);
}

void CDlgDisplaySetup::OnEditKillFocus(UINT id)
{
    int q = QuantityOf(id, false);
    if (q >= 0)
        ShowSliderValue(q);
}

CString CDlgDisplaySetup::LoadPath()
{
    CWebWatchNB* camera = Camera();
    if (CWnd* smooth = GetDlgItem(IDC_DISP_SMOOTH))
        smooth->EnableWindow(camera && camera->GetStreamCount() > 2);
    return kLoadPath;
}

void CDlgDisplaySetup::ShowLoaded(const CString& reply)
{
    ParseLoad(reply, m_values);
    for (int q = 0; q < kQuantityCount; ++q) {
        if (CSliderCtrl* s = SliderOf(q))
            s->SetPos(m_values.value[q]);
        ShowSliderValue(q);
    }
    m_bFlip = m_values.flip;
    m_bMirror = m_values.mirror;
    m_bNight = m_values.night;
    m_bSmooth = m_values.smooth;
    m_bWdr = m_values.wdr;
    m_nAeMode = m_values.aeMode;
    m_nDisplayMode = m_values.displayMode;
    m_nShutter = m_values.shutter;
    m_nGain = m_values.gain;
    m_nIrCut = m_values.irCut;
    UpdateData(FALSE);
}

CString CDlgDisplaySetup::ApplyPath()
{
    if (!UpdateData(TRUE))
        return CString();
    Values v = m_values;
    for (int q = 0; q < kQuantityCount; ++q) {
        // What is sent is what the slider and, from now on, its edit show.
        ShowSliderValue(q);
        if (CSliderCtrl* s = SliderOf(q))
            v.value[q] = s->GetPos();
    }
    v.flip = m_bFlip != 0;
    v.mirror = m_bMirror != 0;
    v.night = m_bNight != 0;
    v.smooth = m_bSmooth != 0;
    v.wdr = m_bWdr != 0;
    if (m_nAeMode >= 0)
        v.aeMode = m_nAeMode;
    if (m_nDisplayMode >= 0)
        v.displayMode = m_nDisplayMode;
    v.shutter = m_nShutter;
    v.gain = m_nGain;
    v.irCut = m_nIrCut;
    return ComposeApply(v);
}

void CDlgDisplaySetup::OnSetDefault()
{
    if (IsRequestPending() || !IsLoaded())
        return;
    if (!StartRequest(Request::Sync, ComposeDefault(m_values.displayMode), true, 3000))
        ShowError(IDS_DEFAULT_FAILED);
}

bool CDlgDisplaySetup::JobDone(Request kind, const RequestJob& job)
{
    if (kind != Request::Sync)
        return false;
    if (!job.Succeeded()) {
        ShowError(IDS_DEFAULT_FAILED);
        return true;
    }
    if (ShowInfo(IDS_DEFAULT_DONE))
        Load();
    return true;
}

#include "camera/dialogs/pages/CVideoEncodeSettingDlg.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/pages/CVideoEncodeSecondarySettingDlg.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

#include <algorithm>
#include <cstdlib>

using namespace video_form;

namespace {

struct StreamControls {
    int res, slider, bps, fps, brmode, gop, quality;
};
const StreamControls kStream[3] = {
    {IDC_VIDEO_RES_1, IDC_VIDEO_BPS_SLIDER_1, IDC_VIDEO_BPS_1, IDC_VIDEO_FPS_1, IDC_VIDEO_BRMODE_1, IDC_VIDEO_GOP_1,
     IDC_VIDEO_QUALITY_1},
    {IDC_VIDEO_RES_2, IDC_VIDEO_BPS_SLIDER_2, IDC_VIDEO_BPS_2, IDC_VIDEO_FPS_2, IDC_VIDEO_BRMODE_2, IDC_VIDEO_GOP_2,
     IDC_VIDEO_QUALITY_2},
    {IDC_VIDEO_RES_3, IDC_VIDEO_BPS_SLIDER_3, IDC_VIDEO_BPS_3, IDC_VIDEO_FPS_3, IDC_VIDEO_BRMODE_3, IDC_VIDEO_GOP_3,
     IDC_VIDEO_QUALITY_3},
};

int StreamOfControl(UINT id, bool slider)
{
    for (int i = 0; i < 3; ++i) {
        if (static_cast<UINT>(slider ? kStream[i].slider : kStream[i].bps) == id)
            return i;
    }
    return -1;
}

void SetItems(CComboBox* combo, const std::vector<std::string>& items, int index)
{
    if (!combo)
        return;
    combo->ResetContent();
    for (const std::string& s : items)
        combo->AddString(s.c_str());
    combo->SetCurSel(index);
}

}  // namespace

BEGIN_MESSAGE_MAP(CVideoEncodeSettingDlg, CSettingsPage)
ON_BN_CLICKED(IDC_NET_APPLY, OnApply)
ON_BN_CLICKED(IDC_VIDEO_MOBILE, OnMobile)
ON_CBN_SELCHANGE(IDC_VIDEO_RES_1, OnPrimaryChange)
ON_CBN_SELCHANGE(IDC_VIDEO_RES_2, OnSecondaryChange)
ON_CBN_SELCHANGE(IDC_VIDEO_RES_3, OnTertiaryChange)
ON_CBN_SELCHANGE(IDC_VIDEO_FORMAT, OnFormatChange)
ON_NOTIFY_RANGE(NM_CUSTOMDRAW, IDC_VIDEO_BPS_SLIDER_1, IDC_VIDEO_BPS_SLIDER_3, OnSliderDraw)
ON_CONTROL_RANGE(EN_KILLFOCUS, IDC_VIDEO_BPS_2, IDC_VIDEO_BPS_1, OnBitrateKillFocus)
END_MESSAGE_MAP()

CVideoEncodeSettingDlg::CVideoEncodeSettingDlg(CCameraSetupDlg* pOwner)
    : CSettingsPage(IDD_VIDEO, IDS_PAGE_VIDEO, pOwner, IDC_NET_APPLY)
{
    m_nLoadTimeoutMs = 5000;
    m_nApplyTimeoutMs = 5000;
}

int CVideoEncodeSettingDlg::Streams() const
{
    CWebWatchNB* camera = Camera();
    return camera ? camera->GetStreamCount() : 3;
}

CSliderCtrl* CVideoEncodeSettingDlg::SliderAt(int stream) const
{
    return static_cast<CSliderCtrl*>(GetDlgItem(kStream[stream].slider));
}

BOOL CVideoEncodeSettingDlg::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    for (const StreamControls& c : kStream) {
        CComboBox* fps = Combo(c.fps);
        CComboBox* gop = Combo(c.gop);
        CString text;
        for (int n = 1; fps && n <= 30; ++n) {
            text.Format("%02d", n);
            fps->AddString(text);
        }
        for (int n = 2; gop && n <= 149; ++n) {
            text.Format("%02d", n);
            gop->AddString(text);
        }
        if (fps)
            fps->SetCurSel(24);
        if (gop)
            gop->SetCurSel(48);
        if (CComboBox* b = Combo(c.brmode))
            b->SetCurSel(0);
        if (CComboBox* q = Combo(c.quality))
            q->SetCurSel(0);
        if (CSliderCtrl* s = static_cast<CSliderCtrl*>(GetDlgItem(c.slider)))
            s->SetRange(32, 2048);
    }
    return TRUE;
}

std::string CVideoEncodeSettingDlg::ResolutionText(int stream) const
{
    CComboBox* c = Combo(kStream[stream].res);
    int sel = c ? c->GetCurSel() : -1;
    if (sel < 0)
        return {};
    CString text;
    c->GetLBText(sel, text);
    return text.GetString();
}

void CVideoEncodeSettingDlg::ShowBitrate(int stream)
{
    CString text;
    text.Format("%d", SliderAt(stream) ? SliderAt(stream)->GetPos() : 0);
    CString shown;
    GetDlgItemText(kStream[stream].bps, shown);
    if (shown != text)
        SetDlgItemText(kStream[stream].bps, text);
}

void CVideoEncodeSettingDlg::ShowLists()
{
    for (int i = 0; i < 3; ++i) {
        SetItems(Combo(kStream[i].res), m_lists.stream[i].items, m_lists.stream[i].index);
        if (CSliderCtrl* s = SliderAt(i)) {
            int pos = s->GetPos();
            s->SetRange(m_lists.bitrate[i].lo, m_lists.bitrate[i].hi, TRUE);
            s->SetPos(std::clamp(pos, m_lists.bitrate[i].lo, m_lists.bitrate[i].hi));
        }
        ShowBitrate(i);
    }
}

void CVideoEncodeSettingDlg::ReadSelections()
{
    for (int i = 0; i < 3; ++i) {
        if (CComboBox* c = Combo(kStream[i].res))
            m_lists.stream[i].index = c->GetCurSel();
    }
}

void CVideoEncodeSettingDlg::FillFrameRates(bool pal)
{
    for (const StreamControls& c : kStream) {
        CComboBox* fps = Combo(c.fps);
        if (!fps)
            continue;
        int kept = KeptFrameRateIndex(fps->GetCurSel(), pal);
        fps->ResetContent();
        CString text;
        for (int n = 1; n <= FrameRateCount(pal); ++n) {
            text.Format("%02d", n);
            fps->AddString(text);
        }
        fps->SetCurSel(kept);
    }
}

CString CVideoEncodeSettingDlg::LoadPath()
{
    int streams = Streams();
    if (CWnd* mobile = GetDlgItem(IDC_VIDEO_MOBILE))
        mobile->ShowWindow(streams > 2 ? SW_SHOW : SW_HIDE);
    const StreamControls& t = kStream[2];
    for (int id : {t.res, t.fps, t.slider, t.brmode, t.gop, t.quality, t.bps}) {
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(streams > 2);
    }
    return video_form::LoadPath(streams);
}

void CVideoEncodeSettingDlg::ShowLoaded(const CString& reply)
{
    CWebWatchNB* camera = Camera();
    m_values = Values();
    m_values.streams = Streams();
    ParseLoad(reply, camera ? camera->GetModelVersion() : CString(), m_values);
    m_lists = FillLists(m_values.family, m_values.letter, m_values.videomode, m_values.w1, m_values.h1, m_values.w2);
    for (int i = 0; i < 3; ++i) {
        const Resolutions& r = m_lists.stream[i];
        m_values.loadedResolution[i] =
            r.index >= 0 && r.index < static_cast<int>(r.items.size()) ? r.items[static_cast<size_t>(r.index)] : "";
    }
    if (CComboBox* format = Combo(IDC_VIDEO_FORMAT))
        format->SetCurSel(m_values.pal ? 0 : 1);
    FillFrameRates(m_values.pal);
    if (m_values.family.threeProfiles)
        SetItems(Combo(IDC_VIDEO_CODING), {"H.264 baseline", "H.264 mainprofile", "H.265"}, m_values.profileIndex);
    else
        SetItems(Combo(IDC_VIDEO_CODING), {"baseline", "mainprofile"}, m_values.profileIndex);
    ShowLists();
    int streams = m_values.streams > 2 ? 3 : 2;
    for (int i = 0; i < streams; ++i) {
        const Stream& s = m_values.stream[i];
        if (CSliderCtrl* slider = SliderAt(i))
            slider->SetPos(std::clamp(s.bps, m_lists.bitrate[i].lo, m_lists.bitrate[i].hi));
        ShowBitrate(i);
        Combo(kStream[i].fps)->SetCurSel(s.fpsIndex);
        Combo(kStream[i].gop)->SetCurSel(s.gopIndex);
        Combo(kStream[i].brmode)->SetCurSel(s.brmode);
        Combo(kStream[i].quality)->SetCurSel(s.qualityIndex);
    }
}

void CVideoEncodeSettingDlg::OnPrimaryChange()
{
    ReadSelections();
    if (!PrimaryChanged(m_values.family, m_lists))
        return;
    ShowLists();
}

void CVideoEncodeSettingDlg::OnSecondaryChange()
{
    ReadSelections();
    SecondaryChanged(m_lists);
    ShowLists();
}

void CVideoEncodeSettingDlg::OnTertiaryChange()
{
    ReadSelections();
    m_lists.bitrate[2] = {32, 512};
    ShowLists();
}

void CVideoEncodeSettingDlg::OnFormatChange()
{
    CComboBox* format = Combo(IDC_VIDEO_FORMAT);
    FillFrameRates(!format || format->GetCurSel() != 1);
}

void CVideoEncodeSettingDlg::OnSliderDraw(UINT id, NMHDR*, LRESULT* result)
{
    *result = CDRF_DODEFAULT;
    int i = StreamOfControl(id, true);
    CWnd* edit = i >= 0 ? GetDlgItem(kStream[i].bps) : nullptr;
    if (edit && ::GetFocus() != edit->GetSafeHwnd())
        ShowBitrate(i);
}

void CVideoEncodeSettingDlg::OnBitrateKillFocus(UINT id)
{
    int i = StreamOfControl(id, false);
    if (i < 0 || !SliderAt(i))
        return;
    CString text;
    GetDlgItemText(id, text);
    SliderAt(i)->SetPos(std::clamp(std::atoi(text), SliderAt(i)->GetRangeMin(), SliderAt(i)->GetRangeMax()));
    ShowBitrate(i);
}

CString CVideoEncodeSettingDlg::ApplyPath()
{
    Values v = m_values;
    v.streams = Streams();
    CComboBox* format = Combo(IDC_VIDEO_FORMAT);
    v.pal = !format || format->GetCurSel() != 1;
    if (CComboBox* coding = Combo(IDC_VIDEO_CODING); coding && coding->GetCurSel() >= 0)
        v.profileIndex = coding->GetCurSel();
    int streams = v.streams > 2 ? 3 : 2;
    for (int i = 0; i < streams; ++i) {
        // A bit rate typed and not yet left counts as the slider takes it.
        OnBitrateKillFocus(static_cast<UINT>(kStream[i].bps));
        Stream& s = v.stream[i];
        s.bps = SliderAt(i) ? SliderAt(i)->GetPos() : s.bps;
        auto keep = [this](int id, int& value) {
            int sel = Combo(id) ? Combo(id)->GetCurSel() : -1;
            if (sel >= 0)
                value = sel;
        };
        keep(kStream[i].fps, s.fpsIndex);
        keep(kStream[i].brmode, s.brmode);
        keep(kStream[i].gop, s.gopIndex);
        keep(kStream[i].quality, s.qualityIndex);
        s.fpsIndex = std::min(s.fpsIndex, FrameRateCount(v.pal) - 1);
    }
    std::string chosen[3] = {ResolutionText(0), ResolutionText(1), ResolutionText(2)};
    int mode = VideoModeToSend(v, chosen);
    if (mode < 0) {
        // The camera has no mode for these resolutions; sending another
        // would switch it to a picture nobody chose.
        ShowError(IDS_APPLY_FAILED);
        return CString();
    }
    CWaitCursor wait;
    return ComposeApply(v, mode);
}

void CVideoEncodeSettingDlg::OnMobile()
{
    CVideoEncodeSecondarySettingDlg dlg(m_pOwner);
    dlg.DoModal();
}

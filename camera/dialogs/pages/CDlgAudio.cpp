#include "camera/dialogs/pages/CDlgAudio.h"

#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

CDlgAudio::CDlgAudio(CCameraSetupDlg* pOwner) : CSettingsPage(IDD_AUDIO, IDS_PAGE_AUDIO, pOwner, IDC_APPLY)
{
    m_nApplyTimeoutMs = 5000;
}

int CDlgAudio::Streams() const
{
    // The camera object's count: what the login read ("maxchn" of the HX
    // family), 3 for the others.
    CWebWatchNB* camera = Camera();
    return camera ? camera->GetStreamCount() : 3;
}

void CDlgAudio::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_AUDIO_FORMAT, m_nFormat);
    DDX_Check(pDX, IDC_AUDIO_ENABLE_1, m_bEnabled[0]);
    DDX_Check(pDX, IDC_AUDIO_ENABLE_2, m_bEnabled[1]);
    DDX_Check(pDX, IDC_AUDIO_ENABLE_3, m_bEnabled[2]);
    DDX_CBIndex(pDX, IDC_AUDIO_INPUT_TYPE, m_nInputType);
    DDX_Text(pDX, IDC_AUDIO_IN_VOLUME, m_nInputVolume);
    DDV_MinMaxInt(pDX, m_nInputVolume, 1, 100);
    DDX_Text(pDX, IDC_AUDIO_OUT_VOLUME, m_nOutputVolume);
    DDV_MinMaxInt(pDX, m_nOutputVolume, 1, 100);
}

CString CDlgAudio::LoadPath()
{
    int streams = Streams();
    if (CWnd* third = GetDlgItem(IDC_AUDIO_ENABLE_3))
        third->EnableWindow(streams > 2);
    return audio_form::LoadPath(streams);
}

void CDlgAudio::ShowLoaded(const CString& reply)
{
    m_values.streams = Streams();
    audio_form::ParseLoad(reply, m_values);
    m_nFormat = m_values.format;
    for (int i = 0; i < 3; ++i)
        m_bEnabled[i] = m_values.enabled[i];
    m_nInputType = m_values.inputType;
    m_nInputVolume = m_values.inputVolume;
    m_nOutputVolume = m_values.outputVolume;
    UpdateData(FALSE);
}

CString CDlgAudio::ApplyPath()
{
    // The volumes' range check is the standard one of the data exchange.
    if (!UpdateData(TRUE))
        return CString();
    CWaitCursor wait;
    audio_form::Values v = m_values;
    v.streams = Streams();
    v.format = m_nFormat;
    for (int i = 0; i < 3; ++i)
        v.enabled[i] = m_bEnabled[i] != 0;
    v.inputType = m_nInputType;
    v.inputVolume = m_nInputVolume;
    v.outputVolume = m_nOutputVolume;
    return audio_form::ComposeApply(v);
}

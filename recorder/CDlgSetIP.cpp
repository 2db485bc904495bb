#include "recorder/CDlgSetIP.h"

#include "recorder/CGlobalInfo.h"
#include "resources/VXKSTRes/resource.h"
#include "utility/vx_log.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

namespace {

enum {
    IDC_LEGACY_PORT = 1058,
    IDC_USER = 1059,
    IDC_PASSWORD = 1060,
    IDC_RTSP_PORT = 1061,
    IDC_HTTP_PORT = 1062,
    IDC_CHANNEL = 1122,
    IDC_STREAM = 1123,
    IDC_HOST = 5004,
    IDC_NAME = 5047,
    IDC_TYPE = 5246,
    IDC_LEGACY_LABEL = 5247,
    IDC_HTTP_LABEL = 5248,
};

CString Text(UINT id)
{
    CString s;
    s.LoadString(id);
    return s;
}

STIPCfgKst* FindCamera(int id)
{
    if (id < 0)
        return nullptr;
    CArray<STIPCfgKst>& cameras = GlobalInfo().m_arrCameras;
    for (INT_PTR i = 0; i < cameras.GetSize(); ++i) {
        if (cameras[i].CAMERAID == id)
            return &cameras[i];
    }
    return nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDlgSetIP, CDialog)
ON_CBN_SELCHANGE(IDC_TYPE, OnSelChangeType)
END_MESSAGE_MAP()

CDlgSetIP::CDlgSetIP(CWnd* pParent) : CDialog(IDD_SET_IP, pParent) {}

void CDlgSetIP::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHANNEL, m_cmbChannel);
    DDX_Control(pDX, IDC_STREAM, m_cmbStream);
    DDX_Control(pDX, IDC_TYPE, m_cmbType);
    DDX_Text(pDX, IDC_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, 256);
    DDX_Text(pDX, IDC_HOST, m_strHost);
    DDV_MaxChars(pDX, m_strHost, 256);
    DDX_Text(pDX, IDC_LEGACY_PORT, m_nLegacyPort);
    DDV_MinMaxUInt(pDX, m_nLegacyPort, 1, 20000);
    DDX_Text(pDX, IDC_HTTP_PORT, m_nHttpPort);
    DDV_MinMaxUInt(pDX, m_nHttpPort, 80, 65535);
    DDX_Text(pDX, IDC_RTSP_PORT, m_nRtspPort);
    DDV_MinMaxUInt(pDX, m_nRtspPort, 1, 20000);
    DDX_Text(pDX, IDC_USER, m_strUser);
    DDV_MaxChars(pDX, m_strUser, 64);
    DDX_Text(pDX, IDC_PASSWORD, m_strPwd);
    DDV_MaxChars(pDX, m_strPwd, 64);
}

BOOL CDlgSetIP::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_cmbType.ResetContent();
    int entry = m_cmbType.AddString(Text(IDS_TYPE_2));
    m_cmbType.SetItemData(entry, 2);
    m_cmbType.SetCurSel(0);
    const STIPCfgKst* camera = FindCamera(m_nCameraID);
    if (camera) {
        m_strName = camera->NAME;
        m_strHost = camera->IP;
        if (camera->TYPE == 2) {
            m_nLegacyPort = 9660;
            m_nHttpPort = static_cast<UINT>(camera->PORT);
        } else {
            // A row of another type keeps it: an entry of its own, named as
            // the camera list names it, shows its port field and streams.
            m_nLegacyPort = static_cast<UINT>(camera->PORT);
            m_nHttpPort = 80;
            CString text;
            if (camera->TYPE == 0 || camera->TYPE == 1)
                text = Text(IDS_TYPE_0);
            else if (camera->TYPE == 3)
                text = Text(IDS_TYPE_3);
            else
                text.Format("%s %d", static_cast<const char*>(Text(IDS_COL_TYPE)), camera->TYPE);
            int own = m_cmbType.AddString(text);
            m_cmbType.SetItemData(own, static_cast<DWORD_PTR>(static_cast<INT_PTR>(camera->TYPE)));
            m_cmbType.SetCurSel(own);
            // The legacy field takes ports from 1 to 20000, the HTTP field
            // from 80: a port of an unknown type goes where it fits.
            m_bOtherTypeOnHttp = camera->TYPE != 0 && camera->TYPE != 1 && camera->PORT >= 80;
            if (m_bOtherTypeOnHttp) {
                m_nHttpPort = static_cast<UINT>(camera->PORT);
                m_nLegacyPort = 9660;
            }
        }
        UpdateTypeFields();
        m_nRtspPort = static_cast<UINT>(camera->RTSP);
        // A third stream and channels past the template's four get entries,
        // so the row's own values are shown; a value no entry can stand for
        // leaves the list unselected and is kept on saving.
        if (camera->STREAM == 2 && m_cmbStream.GetCount() == 2)
            m_cmbStream.AddString(Text(IDS_STREAM_THIRD));
        m_cmbStream.SetCurSel(camera->STREAM >= 0 && camera->STREAM < m_cmbStream.GetCount() ? camera->STREAM : -1);
        if (camera->CHANNEL >= 0 && camera->CHANNEL < 300) {
            for (int n = m_cmbChannel.GetCount(); n <= camera->CHANNEL; ++n) {
                CString number;
                number.Format("%d", n + 1);
                m_cmbChannel.AddString(number);
            }
        }
        m_cmbChannel.SetCurSel(camera->CHANNEL >= 0 && camera->CHANNEL < m_cmbChannel.GetCount() ? camera->CHANNEL
                                                                                                   : -1);
        m_strUser = camera->UID;
        m_strPwd = camera->PWD;
        UpdateData(FALSE);
    } else {
        m_nCameraID = -1;
        m_cmbChannel.SetCurSel(0);
        UpdateTypeFields();
    }
    return TRUE;
}

void CDlgSetIP::OnSelChangeType()
{
    UpdateTypeFields();
}

void CDlgSetIP::UpdateTypeFields()
{
    int sel = m_cmbType.GetCurSel();
    if (sel < 0)
        return;
    const auto type = static_cast<int>(m_cmbType.GetItemData(sel));
    auto show = [this](int id, bool on) {
        if (CWnd* w = GetDlgItem(id))
            w->ShowWindow(on ? SW_SHOW : SW_HIDE);
    };
    if (type == 0 || type == 1 || (type != 2 && !m_bOtherTypeOnHttp)) {
        m_cmbChannel.EnableWindow(TRUE);
        show(IDC_LEGACY_LABEL, true);
        show(IDC_LEGACY_PORT, true);
        show(IDC_HTTP_LABEL, false);
        show(IDC_HTTP_PORT, false);
    } else {
        // The network camera's channel is fixed; other types choose theirs.
        m_cmbChannel.EnableWindow(type == 2 ? FALSE : TRUE);
        show(IDC_LEGACY_LABEL, false);
        show(IDC_LEGACY_PORT, false);
        show(IDC_HTTP_LABEL, true);
        show(IDC_HTTP_PORT, true);
    }
    FillStreamList();
}

void CDlgSetIP::FillStreamList()
{
    m_cmbStream.ResetContent();
    m_cmbStream.AddString(Text(IDS_STREAM_MAIN));
    m_cmbStream.SetCurSel(0);
    m_cmbStream.AddString(Text(IDS_STREAM_SUB));
}

bool CDlgSetIP::HostResolves(const CString& host)
{
    if (host.IsEmpty())
        return false;
    if (inet_addr(host) != INADDR_NONE)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found)
        return false;
    char text[INET_ADDRSTRLEN] = {};
    const auto* addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    bool ok = addr && inet_ntop(AF_INET, &addr->sin_addr, text, sizeof text) && text[0];
    freeaddrinfo(found);
    return ok;
}

BOOL CDlgSetIP::Refuse(UINT textId, int control)
{
    CString caption = Text(IDS_ERROR_CAPTION);
    MessageBox(Text(textId), caption, MB_ICONERROR);
    if (CWnd* w = GetDlgItem(control))
        GotoDlgCtrl(w);
    return FALSE;
}

BOOL CDlgSetIP::CheckInput()
{
    m_strName.Trim();
    if (m_strName.IsEmpty())
        return Refuse(IDS_NAME_MISSING, IDC_NAME);
    m_strHost.Trim();
    bool valid = false;
    {
        CWaitCursor wait;
        valid = HostResolves(m_strHost);
    }
    if (!valid)
        return Refuse(IDS_HOST_BAD, IDC_HOST);
    m_strUser.Trim();
    if (m_strUser.IsEmpty())
        return Refuse(IDS_USER_MISSING, IDC_USER);
    return TRUE;
}

void CDlgSetIP::OnOK()
{
    if (!UpdateData(TRUE) || !CheckInput())
        return;
    CGlobalInfo& global = GlobalInfo();
    STIPCfgKst* existing = FindCamera(m_nCameraID);
    // What no list entry showed keeps the row's value.
    const int typeSel = m_cmbType.GetCurSel();
    const int type = typeSel >= 0 ? static_cast<int>(static_cast<INT_PTR>(m_cmbType.GetItemData(typeSel)))
                                  : (existing ? existing->TYPE : -1);
    int channel = m_cmbChannel.GetCurSel();
    if (channel < 0 && existing)
        channel = existing->CHANNEL;
    int stream = m_cmbStream.GetCurSel();
    if (stream < 0 && existing)
        stream = existing->STREAM;
    // The port comes from the field that is shown.
    const CWnd* legacy = GetDlgItem(IDC_LEGACY_PORT);
    const bool legacyField = legacy && (legacy->GetStyle() & WS_VISIBLE);
    const int port = static_cast<int>(legacyField ? m_nLegacyPort : m_nHttpPort);
    if (existing) {
        const bool same = type == existing->TYPE && m_strHost == existing->IP && m_strName == existing->NAME
                          && m_strUser == existing->UID && m_strPwd == existing->PWD && channel == existing->CHANNEL
                          && stream == existing->STREAM && port == existing->PORT
                          && static_cast<int>(m_nRtspPort) == existing->RTSP;
        if (same) {
            m_bChanged = FALSE;
            m_bNew = FALSE;
            EndDialog(IDOK);
            return;
        }
    }
    m_bChanged = TRUE;
    m_bNew = FALSE;
    STIPCfgKst record;
    record.CAMERAID = m_nCameraID;
    record.TYPE = type;
    CopyTextField(record.NAME, m_strName);
    CopyTextField(record.IP, m_strHost);
    record.CHANNEL = channel;
    record.STREAM = stream;
    record.PORT = port;
    record.RTSP = static_cast<int>(m_nRtspPort);
    CopyTextField(record.UID, m_strUser);
    CopyTextField(record.PWD, m_strPwd);
    const int id = global.m_db.SaveCamera(record);
    if (id < 0)
        return;
    if (existing && id == m_nCameraID) {
        record.m_pCamera = existing->m_pCamera;
        record.m_bStop = existing->m_bStop.load();
        record.m_bRecording = existing->m_bRecording.load();
        record.m_hFinishEvent = existing->m_hFinishEvent;
        record.m_stCameraInfo.CAMERAID = id;
        global.m_db.LoadSchedule(record.m_stCameraInfo, TRUE);
        *existing = record;
    } else {
        m_nCameraID = id;
        record.CAMERAID = id;
        record.m_stCameraInfo.CAMERAID = id;
        m_bNew = TRUE;
        global.m_db.LoadSchedule(record.m_stCameraInfo, TRUE);
        global.m_arrCameras.Add(record);
    }
    vx_log(4, "CDlgSetIP::OnOK camera %d saved%s", id, m_bNew ? " (new)" : "");
    EndDialog(IDOK);
}

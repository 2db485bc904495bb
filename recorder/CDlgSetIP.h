#pragma once
// The add and edit camera dialog (template 179): the camera row's fields,
// checked, saved through the database and brought into the settings
// object's camera list. The opener reads m_bChanged, m_bNew and m_nCameraID.
//
// A row of a type other than 2 gets a type entry of its own while it is
// edited, a third stream and a channel past the fourth get list entries, so
// the dialog shows the row's values and a save keeps what the user did not
// change; new cameras are always type 2.
//
// Threads: the GUI thread. The host look-up blocks it under the wait cursor.

#include "platform/platform.h"

class CDlgSetIP : public CDialog {
public:
    explicit CDlgSetIP(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void UpdateTypeFields();
    void FillStreamList();
    BOOL CheckInput();

    // Whether a host text names an IPv4 host: a dotted address, else a name
    // that resolves to one.
    static bool HostResolves(const CString& host);

    UINT m_nLegacyPort = 9660;
    UINT m_nRtspPort = 554;
    UINT m_nHttpPort = 80;
    CString m_strName;
    CString m_strHost;
    CString m_strUser = "admin";
    CString m_strPwd = "lanterns";
    CComboBox m_cmbChannel;
    CComboBox m_cmbType;
    CComboBox m_cmbStream;
    BOOL m_bChanged = FALSE;
    BOOL m_bNew = FALSE;
    int m_nCameraID = -1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSelChangeType();
    DECLARE_MESSAGE_MAP()

private:
    // A row of a type the dialog does not know shows its port in the HTTP
    // port field when that field's range takes it, else in the other one.
    bool m_bOtherTypeOnHttp = false;
    BOOL Refuse(UINT textId, int control);
};

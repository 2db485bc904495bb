#pragma once
// The system parameters dialog (template 5076): record length, the free-space
// limit of the record drives, start recording, start minimised, hide when
// minimised and run at logon. OK writes the "SysParam" section of the
// configuration file, has the settings object reload it and adds or removes
// the program's run-at-logon entry.
//
// Threads: the GUI thread. No lock: the settings it reloads are atomics that
// the recording and disk threads read.

#include "platform/platform.h"

class CSysParamDlg : public CDialog {
public:
    explicit CSysParamDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;

    // Sets or removes the run-at-logon entry of the running program, which
    // starts its executable on the given program folder; false (logged) when
    // the entry could not be changed.
    static bool SetRunAtLogon(bool on, const CString& programDir);

    int m_nRecordType = 1;
    UINT m_nFreeSpace = 500;    // megabytes
    UINT m_nRecordLength = 30;  // minutes
    int m_bStartRecord = 0;
    int m_bStartMin = 0;
    int m_bMinHide = 0;
    int m_bAutoRun = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

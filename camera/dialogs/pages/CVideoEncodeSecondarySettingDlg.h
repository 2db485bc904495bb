#pragma once
// "Video Setup (Smartphone and Pad)": the size of the snapshots the camera
// sends to phones. Modal; its requests run on the settings window's worker
// and come back posted, so the dialog never waits on the camera. GUI thread
// only.

#include "camera/dialogs/window/CRequestWorker.h"
#include "platform/platform.h"

#include <memory>

class CCameraSetupDlg;

class CVideoEncodeSecondarySettingDlg : public CDialog {
public:
    explicit CVideoEncodeSecondarySettingDlg(CCameraSetupDlg* pOwner);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnRefresh();
    void OnApply();
    LRESULT OnRequestDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    bool Start(const CString& path, bool post);
    void UpdateButtons();

    CCameraSetupDlg* m_pOwner;
    std::shared_ptr<RequestJob> m_job;
    bool m_bApply = false;  // the job in flight is the apply
    bool m_bLoaded = false;
};

#pragma once
// "Storage": the camera's micro SD card (state, total and free size) and its
// format. The format is one request of the window's worker with a 30 s
// time-out; the page learns its end from a posted message, so the GUI
// thread never waits for it, and a page that is gone by then drops it. The
// window's watchdog is stopped meanwhile: its liveness check would wait
// behind the format on the camera's session.
// GUI thread only; the job is read only after the worker posted its end.

#include "camera/dialogs/window/CSettingsPage.h"

#define UM_FORMAT_DONE (WM_APP + 121)

class CDlgHDDInfo : public CSettingsPage {
public:
    explicit CDlgHDDInfo(CCameraSetupDlg* pOwner);

    bool IsFormatting() const { return m_formatJob != nullptr; }

protected:
    CString LoadPath() override;
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override { return CString(); }

    BOOL OnInitDialog() override;
    void OnFormat();
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnFormatDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void EnableItem(int id, bool on);
    void ShowFormatting(bool on);

    bool m_bCard = false;
    std::shared_ptr<RequestJob> m_formatJob;
};

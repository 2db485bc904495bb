#pragma once
// "System Log": has the camera write its log, fetches it and lists one row
// per line in a virtual list; "Reset" empties the camera's log. GUI thread
// only.

#include "camera/dialogs/window/CSettingsPage.h"

#include <string>
#include <vector>

class CDlgSysLog : public CSettingsPage {
public:
    explicit CDlgSysLog(CCameraSetupDlg* pOwner);

    const std::vector<std::string>& Lines() const { return m_lines; }

protected:
    CString LoadPath() override;
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override { return CString(); }
    bool JobDone(Request kind, const RequestJob& job) override;

    BOOL OnInitDialog() override;
    void OnGetDispInfo(NMHDR* hdr, LRESULT* result);
    void OnReset();
    DECLARE_MESSAGE_MAP()

private:
    enum class Step { Fetch, Reset };
    Step m_step = Step::Fetch;
    std::vector<std::string> m_lines;
};

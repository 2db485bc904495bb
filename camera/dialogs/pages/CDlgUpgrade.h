#pragma once
// "Firmware Upgrade": shows what the camera is (model key, CamID, PIN and
// web version), reboots it, resets it to factory settings and uploads a
// firmware package to it. The information is read on the first showing and
// on "Refresh"; "Reboot", "Reset (factory)" and "Upgrade" wait for a
// successful read, since the package check needs the model key. A camera
// reached by P2P identifier has no address to upload to: "Upgrade" stays
// disabled for it.
//
// The upload runs under the modal progress dialog, owned by the settings
// window so that the window cannot be closed beneath it, while the window's
// link check rests (the camera restarts after taking the package).
//
// GUI thread only; the requests run on the settings window's request worker
// and the upload on the progress dialog's worker.

#include "camera/dialogs/window/CSettingsPage.h"

class CDlgUpgrade : public CSettingsPage {
public:
    explicit CDlgUpgrade(CCameraSetupDlg* pOwner);

    // The model key of the last successful read; a package must match it.
    const CString& Model() const { return m_strModel; }

protected:
    CString LoadPath() override;
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override { return CString(); }
    bool JobDone(Request kind, const RequestJob& job) override;

    BOOL OnInitDialog() override;
    void OnBrowse();
    void OnUpgrade();
    void OnReboot();
    void OnReset();
    DECLARE_MESSAGE_MAP()

private:
    enum class Command { Reboot, Reset };
    void RunCommand(Command command);
    bool IsP2P() const;
    // The checks before an upload, each with its box; the path to send, or
    // empty when the upload must not start.
    CString CheckedPackage();
    void Upload(const CString& strPath);

    CString m_strModel;
    Command m_command = Command::Reboot;
};

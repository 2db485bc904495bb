#include "recorder/CrashReport.h"

#include "platform/kernel/crash_report.h"
#include "utility/vx_log.h"

#include <cinttypes>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr const char* kCaption = "Hollowmere";
constexpr const char* kSupportAddress = "support@hollowmere.example";

}  // namespace

CString PendingCrashReportPath(const CString& appPath)
{
    return appPath + "VXKST.crash";
}

bool InstallRecorderCrashHandler(const CString& appPath)
{
    return vxk::InstallCrashHandler(PendingCrashReportPath(appPath).GetString());
}

void OfferPendingCrashReport(const CString& appPath, CWnd* owner, const std::function<bool()>& leaving)
{
    CString pending = PendingCrashReportPath(appPath);
    if (!PathFileExistsA(pending))
        return;
    vxk::CrashReport report;
    if (!vxk::ReadCrashReport(pending.GetString(), report)) {
        vx_log(2, "OfferPendingCrashReport: %s is no crash report, removed", pending.GetString());
        DeleteFileA(pending);
        return;
    }
    CString question;
    question.Format("A crash occurs.\n\nException code: %x\nException address: %" PRIx64
                    "\nFile: %s\n\nWould you like to "
                    "create a crash report?",
                    static_cast<unsigned>(report.signal), report.address,
                    report.module.empty() ? "unknown" : report.module.c_str());
    vx_log(2, "OfferPendingCrashReport: signal %d at %" PRIx64 " in %s", report.signal, report.address,
           report.module.c_str());
    HWND ownerWnd = owner ? owner->GetSafeHwnd() : nullptr;
    const int answer = MessageBoxA(ownerWnd, question, kCaption, MB_YESNO | MB_ICONERROR);
    if (leaving && leaving()) {
        vx_log(4, "OfferPendingCrashReport: the program ends unanswered, the report stays pending");
        return;
    }
    if (answer != IDYES) {
        DeleteFileA(pending);
        return;
    }
    CString dump = appPath + "VXKST.dmp";
    if (std::rename(pending, dump) != 0) {
        vx_log(2, "OfferPendingCrashReport: %s cannot be written", dump.GetString());
        DeleteFileA(pending);
        return;
    }
    CString done = "A crash report file (" + dump
                   + ") has been created. To help us fix this crash, please email the report file to " + kSupportAddress
                   + ". We will solve the issue as soon as possible.";
    MessageBoxA(ownerWnd, done, kCaption, MB_ICONINFORMATION);
}

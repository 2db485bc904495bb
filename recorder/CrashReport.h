#pragma once
// The crash report of the recorder: a fatal signal leaves a pending report
// in the program directory (the platform's crash handler writes it); the
// next first start asks whether to keep it as "VXKST.dmp".
//
// GUI thread.

#include "platform/platform.h"

#include <functional>

// Where the crash handler writes the pending report.
CString PendingCrashReportPath(const CString& appPath);
// Installs the crash handler for this program.
bool InstallRecorderCrashHandler(const CString& appPath);
// Asks about a pending report, over `owner` when given: Yes keeps it as
// "VXKST.dmp" (replacing an older one) and says where it is; No deletes it.
// Nothing when there is none. When `leaving` says, after the question
// ended, that the program is ending (nobody answered it), the report stays
// pending for the next start.
void OfferPendingCrashReport(const CString& appPath, CWnd* owner = nullptr,
                             const std::function<bool()>& leaving = nullptr);

#pragma once
// The crash report of the recorder: a fatal signal leaves a pending report
// in the program directory (the platform's crash handler writes it); the
// next first start asks whether to keep it as "VXKST.dmp".
//
// GUI thread.

#include "platform/platform.h"

// Where the crash handler writes the pending report.
CString PendingCrashReportPath(const CString& appPath);
// Installs the crash handler for this program.
bool InstallRecorderCrashHandler(const CString& appPath);
// Asks about a pending report: Yes keeps it as "VXKST.dmp" (replacing an
// older one) and says where it is; No deletes it. Nothing when there is none.
void OfferPendingCrashReport(const CString& appPath);

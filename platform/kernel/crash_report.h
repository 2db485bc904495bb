#pragma once
// The crash report of a program: fatal signals (SEGV, BUS, FPE, ILL, ABRT)
// write a pending text report on an alternate stack, with async-signal-safe
// calls only, and then end the process as the signal would have. The next
// start of the program reads the report and asks the user what to do with
// it; nothing waits for a person inside the dying process.
//
// Report text, line by line:
//   "signal N"            the signal number
//   "address 0x..."       the instruction address of the fault
//   "fault 0x..."         the address the signal named (si_addr)
//   "backtrace"           then one "0x..." frame address per line, then the
//                         loader's symbolic names of the same frames
//   "maps"                then a copy of /proc/self/maps
//
// Builds with a sanitizer leave the signals to the sanitizer: installing does
// nothing there.

#include <cstdint>
#include <string>
#include <vector>

namespace vxk {

// Installs the handlers; the report goes to `pendingPath` (written beside it
// first and renamed, so a half-written report is never read). False when
// nothing was installed.
bool InstallCrashHandler(const std::string& pendingPath);
// The path the installed handlers write to; empty when none is installed.
std::string CrashReportPath();

struct CrashReport {
    int signal = 0;
    uint64_t address = 0;
    std::string module;  // the file mapped at the address, from the saved maps
    std::vector<uint64_t> frames;
    std::string text;  // the whole report
};

// Reads a report written by the handlers; false when the file is missing or
// is no report.
bool ReadCrashReport(const std::string& path, CrashReport& out);

}  // namespace vxk

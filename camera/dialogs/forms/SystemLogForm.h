#pragma once
// The camera's system log as the System Log page lists it, without the
// window: the lines of the fetched file and the texts of a row. Plain
// values; any thread.

#include "platform/platform.h"

#include <string>
#include <vector>

namespace syslog_form {

extern const char* const kSyncPath;
extern const char* const kFilePath;
extern const char* const kResetPath;

// The sync reply says the file is ready.
bool SyncSucceeded(const CString& reply);
bool ResetSucceeded(const CString& reply);

// The listed lines of a fetched file: behind the first blank line when
// there is one, split at each "\n" with a trailing "\r" dropped, only lines
// holding both "[" and "]".
std::vector<std::string> SplitLog(const CString& text);

// Column 0 the row number from 1; column 1 the time between the first "["
// and the first "]" with "_" as "-"; column 2 the text from the second
// character after that "]". A line whose "]" is missing, comes before its
// "[", or leaves nothing behind gives empty texts.
std::string CellText(const std::string& line, int row, int column);

}  // namespace syslog_form

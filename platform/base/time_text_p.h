#pragma once
// The texts of the date, time and span classes of this folder. Pure
// functions, any thread.

#include "platform/base/CString.h"

#include <ctime>

namespace vxbase {

// A span of time: %D the days, %H %M %S the hours, minutes and seconds in
// two digits, %% a percent sign; anything else stands as it is.
CString FormatSpan(const char* format, long long days, long hours, long minutes, long seconds);

// strftime in the C locale; empty for an empty format, and where the text
// would pass 64 KiB.
CString FormatTm(const char* format, const struct tm& t);

}  // namespace vxbase

#pragma once
// The text of a span of time, for both span classes of this folder: %D the
// days, %H %M %S the hours, minutes and seconds in two digits, %% a percent
// sign; anything else stands as it is. A pure function, any thread.

#include "platform/base/CString.h"

namespace vxbase {

CString FormatSpan(const char* format, long long days, long hours, long minutes, long seconds);

}  // namespace vxbase

#pragma once
// The program directory of the recorder, with a final '/': the folder of the
// program (VX_PROGRAM_DIR redirects it). Formed on the first call. Any thread
// after start-up.

#include "platform/platform.h"

CString GetRecorderAppPath();

#pragma once
// What column 0 of the camera list shows for a status code. Constant; any
// thread.

#include "platform/platform.h"

#include <vector>

// The code's text and picture; false for codes that change nothing there.
bool StatusLook(int code, UINT& text, int& image);
// Every text column 0 can show (the camera without a schedule's too), so
// that the column can be made wide enough for each.
std::vector<UINT> StatusTexts();

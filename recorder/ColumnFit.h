#pragma once
// Column widths that fit the font in use: a list's fixed widths were chosen
// for a narrow font and cut their text in a wider one. GUI thread.

#include "platform/platform.h"

#include <vector>

// The width for a column of the list: at least the given width, and wide
// enough for its header and for each of the typical values in the list's
// font.
int FitColumnWidth(CListCtrl& list, int minimum, const CString& header, std::vector<CString> values);

#pragma once
// Value forms of the skin file, shared by the loading and copying code of
// CSkin. GUI-free.

#include "platform/base/CString.h"
#include "platform/base/types.h"
#include "ui/controls/CSkin.h"

namespace vxskin {

// "true" in any case gives 1; anything else, a missing attribute too, 0.
int ParseFlag(const CString& text);
// Exactly "#" and six hexadecimal digits RRGGBB; anything else is black (0).
COLORREF ParseColour(const CString& text);
// Coordinates and sizes of a skin lie within this many pixels either way, so
// that the difference of any two fits an int.
constexpr int kNumberLimit = 1000000;

// Decimal as atoi reads it (leading blanks, a sign, the digits up to the
// first other character; none gives 0, as does a missing attribute). false,
// with value untouched, when the number lies beyond +-kNumberLimit.
bool ParseBoundedNumber(const CString& text, int& value);
// The same, a number out of range brought to the nearer end of the range.
int ParseNumber(const CString& text);

// Brings a rectangle within [0, w] x [0, h] (right and bottom no less than
// left and top), width and height following; false when nothing changed.
bool BoundRect(ST_SKIN_RECT& rect, int w, int h);
// Copies text into a field of `size` bytes. Longer text is cut on a UTF-8
// character boundary (a cut character would show as garbage) and the cut is
// logged with `what` naming the field.
void CopyText(char* field, size_t size, const CString& text, const char* what);

}  // namespace vxskin

#pragma once
// Value forms of the skin file, shared by the loading and copying code of
// CSkin. GUI-free.

#include "platform/base/CString.h"
#include "platform/base/types.h"

namespace vxskin {

// "true" in any case gives 1; anything else, a missing attribute too, 0.
int ParseFlag(const CString& text);
// Exactly "#" and six hexadecimal digits RRGGBB; anything else is black (0).
COLORREF ParseColour(const CString& text);
// Decimal as atoi reads it; missing gives 0.
int ParseNumber(const CString& text);
// Copies text into a field of `size` bytes. Longer text is cut on a UTF-8
// character boundary (a cut character would show as garbage) and the cut is
// logged with `what` naming the field.
void CopyText(char* field, size_t size, const CString& text, const char* what);

}  // namespace vxskin

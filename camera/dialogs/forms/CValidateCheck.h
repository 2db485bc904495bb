#pragma once
// Checks the settings pages run on typed values before any of them goes
// into a camera request (where ":", "&", "=" and quotes would split or end
// a parameter). Each check only answers; the page picks the message and the
// control to focus. Stateless; safe from any thread.

#include "platform/platform.h"

class CValidateCheck {
public:
    virtual ~CValidateCheck() = default;

    static int HasReservedChar(CString text);         // : & = "
    static int HasReservedCharOrSpace(CString text);  // : & = " and blank
    static int IsEmpty(CString text);                 // nothing but white space
    static int IsLettersAndDigits(CString text);      // ASCII letters and digits only (empty: 1)
    static int IsDigits(CString text);                // "0" to "9" only (empty: 1)
    // Digits only, and their number (no overflow) within [nMin, nMax]. An
    // empty text is no number.
    static int IsNumberInRange(CString text, int nMin, int nMax);
    static int IsEmailAddress(CString text);   // at least 6 characters with an "@"
    static int IsValidPassword(CString text);  // none of & = " \ blank # % + ?
    static int IsValidKey(CString text);       // none of & = " backslash
    static int IsValidPath(CString text);      // none of : & = " ' \ / + ;
};

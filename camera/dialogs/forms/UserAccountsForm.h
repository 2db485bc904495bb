#pragma once
// What the User Accounts page reads from and writes to the camera, without
// the window: the three rows, their checks and the apply request. Plain
// values; any thread.

#include "platform/platform.h"

namespace user_form {

constexpr int kRows = 3;  // administrator, user, guest

extern const char* const kLoadPath;

struct Row {
    CString loadedName;  // as the camera last reported it: picks the row
    CString name;        // as edited
    CString password;
    CString retyped;
};

struct Values {
    Row rows[kRows];
    bool singleAccount = false;  // only the administrator row is shown
    int Shown() const { return singleAccount ? 1 : kRows; }
};

// Cameras of the own vendor, and others whose firmware maps to camera
// types 32 to 34, keep one account.
bool IsSingleAccount(const CString& vendor, int camType);

// Fills the rows (loaded and edited alike); the caller decides the row count.
void ParseLoad(const CString& reply, Values& v);
// The vendor and firmware version of a load reply.
CString VendorOf(const CString& reply);
CString SoftVersionOf(const CString& reply);

struct Refusal {
    int row = -1;    // the row the message names; -1: none
    int textId = 0;  // 20050, 20104, 20053, 20051 (prefixed by the row's name) or 20054
    CString name;    // for 20054: the name already taken
};

// Checks the shown rows; hidden rows only take part in the duplicate check
// (they keep the names the camera has). textId 0: nothing refused.
Refusal Check(const Values& v);
// The apply request for the shown rows; every value encoded.
CString ComposeApply(const Values& v);
// After a successful apply the edited names are the camera's.
void Applied(Values& v);

}  // namespace user_form

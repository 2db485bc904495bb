#pragma once
// Reading the whole HTTP reply texts that vxnet hands back for CGI requests,
// and keeping account secrets out of log lines. No state; any thread.

#include "platform/platform.h"

namespace vxcam {

// The status code of the reply's first line ("HTTP/1.x NNN ..."), or 0 when
// the first line is not a status line.
int CgiReplyStatus(const char* reply);

// A GET succeeded: status 200, or (an HV camera's reply without a status
// line) a body that is one <Message> document. A page that merely quotes
// "HTTP/1.1 200" or "</Message>" does not pass.
bool CgiGetSucceeded(const char* reply);
// A POST succeeded: status 200 and no "[Error]" in the body.
bool CgiPostSucceeded(const char* reply);

// A copy of `text` for a log line: every occurrence of the password and of
// its percent-encoded form, and the value of every "password=" (any case), is
// replaced by "***".
CString MaskSecrets(const CString& text, const CString& password, const CString& passwordEncoded);

// The camera clock's text "YYYYMMDDhhmmss": exactly 14 digits forming a valid
// date and time. False (and `out` untouched) otherwise.
bool ParseCameraTimeText(const CString& text, COleDateTime& out);

}  // namespace vxcam

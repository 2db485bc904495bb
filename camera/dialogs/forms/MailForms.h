#pragma once
// What the e-mail and FTP pages read from and write to the camera, without
// the windows: the receivers packed in one "ma_to" value, the field checks
// with the message and field of the first failure, the requests and what a
// test's result number says on each page. Plain values; any thread.

#include "platform/platform.h"

namespace mail_form {

extern const char* const kLoadPath;

enum Field {
    kNone = 0,
    kServer,
    kPort,
    kSender,
    kSenderName,
    kUser,
    kPassword,
    kReceiver1,
    kReceiver2,
    kReceiver3,
    kSubject,
    kMessage,
};

struct Values {
    CString server;
    int port = 25;
    int encryption = 0;  // 0 None, 1 SSL, 2 TLS, 3 SMARTTLS
    bool authentication = true;
    CString user, password;
    CString sender, senderName;
    CString receivers[3];
    CString subject, message;
    int photoSize = 1;  // 0 "XL" (11), 1 "L" (12), 2 "S" (13)
    int streams = 3;    // "S" only with 3 or more
};

// "ma_to" cut at its first two ";": the rest after the second stays with
// receiver 3 up to a third ";".
void SplitReceivers(const CString& to, CString (&receivers)[3]);
// Always both ";", so the camera's three places stay where they were.
CString JoinReceivers(const CString (&receivers)[3]);

void ParseLoad(const CString& reply, Values& v);

struct Refusal {
    UINT textId = 0;  // 0: the values pass
    Field field = kNone;
};
// The first failing rule. A receiver holding ";" is refused: it would move
// every receiver after it at the next load.
Refusal Check(const Values& v);

// Apply and test write the same: the account goes as entered whether or not
// "Authentication" is checked (login type 3 says it is unused), so a test
// never erases it.
CString ComposeApply(const Values& v);

// The box text of a test's result number.
UINT TestResultText(int result);

}  // namespace mail_form

namespace ftp_form {

extern const char* const kLoadPath;

struct Values {
    CString server;
    int port = 21;
    CString user, password, path;
    bool passive = true;
};

void ParseLoad(const CString& reply, Values& v);
// 0 or IDS_PASSWORD_BAD_CHAR.
UINT Check(const Values& v);
CString ComposeApply(const Values& v);
UINT TestResultText(int result);

}  // namespace ftp_form

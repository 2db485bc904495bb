#include "camera/dialogs/forms/MailForms.h"

#include "camera/dialogs/forms/CValidateCheck.h"
#include "camera/session/CCgiCmd.h"
#include "resources/vxcam/resource.h"

namespace mail_form {

const char* const kLoadPath = "/cgi-bin/hi3510/param.cgi?cmd=getsmtpattr&cmd=getalarmsnapattr";

void SplitReceivers(const CString& to, CString (&receivers)[3])
{
    for (CString& r : receivers)
        r.Empty();
    int first = to.Find(';');
    if (first < 0) {
        receivers[0] = to;
        return;
    }
    receivers[0] = to.Left(first);
    int second = to.Find(';', first + 1);
    if (second < 0) {
        receivers[1] = to.Mid(first + 1);
        return;
    }
    receivers[1] = to.Mid(first + 1, second - first - 1);
    int third = to.Find(';', second + 1);
    receivers[2] = third < 0 ? to.Mid(second + 1) : to.Mid(second + 1, third - second - 1);
}

CString JoinReceivers(const CString (&receivers)[3])
{
    return receivers[0] + ";" + receivers[1] + ";" + receivers[2];
}

void ParseLoad(const CString& reply, Values& v)
{
    v.server = CCgiCmd::GetCgiValue2(reply, "ma_server");
    v.user = CCgiCmd::GetCgiValue2(reply, "ma_username");
    v.password = CCgiCmd::GetCgiValue2(reply, "ma_password");
    v.sender = CCgiCmd::GetCgiValue2(reply, "ma_from");
    v.senderName = CCgiCmd::GetCgiValue2(reply, "ma_fromname");
    v.subject = CCgiCmd::GetCgiValue2(reply, "ma_subject");
    v.message = CCgiCmd::GetCgiValue2(reply, "ma_text");
    v.port = CCgiCmd::GetCgiValueInt3(reply, "ma_port");
    SplitReceivers(CCgiCmd::GetCgiValue2(reply, "ma_to"), v.receivers);
    int ssl = CCgiCmd::GetCgiValueInt3(reply, "ma_ssl");
    v.encryption = ssl >= 0 && ssl <= 2 ? ssl : 3;
    v.authentication = CCgiCmd::GetCgiValueInt3(reply, "ma_logintype") == 1;
    CString channel = CCgiCmd::GetCgiValue2(reply, "snap_chn");
    if (channel == "11")
        v.photoSize = 0;
    else if (channel == "13" && v.streams >= 3)
        v.photoSize = 2;
    else
        v.photoSize = 1;
}

namespace {

// An address field: 20059 when it is no address, 20060 when it holds a
// reserved character, a blank or ";" (the receivers' separator).
UINT AddressRefusal(const CString& address)
{
    if (!CValidateCheck::IsEmailAddress(address))
        return IDS_EMAIL_INVALID;
    if (CValidateCheck::HasReservedCharOrSpace(address) || address.Find(';') >= 0)
        return IDS_EMAIL_BAD_CHAR;
    return 0;
}

}  // namespace

Refusal Check(const Values& v)
{
    if (CValidateCheck::HasReservedCharOrSpace(v.server))
        return {IDS_SMTP_INVALID, kServer};
    if (v.port < 1 || v.port > 50000)
        return {IDS_SMTP_PORT_INVALID, kPort};
    if (!v.sender.IsEmpty()) {
        if (UINT id = AddressRefusal(v.sender))
            return {id, kSender};
    }
    if (!v.senderName.IsEmpty() && CValidateCheck::HasReservedChar(v.senderName))
        return {IDS_SENDER_BAD_CHAR, kSenderName};
    if (!v.user.IsEmpty() && CValidateCheck::HasReservedCharOrSpace(v.user))
        return {IDS_ACCOUNT_BAD_CHAR, kUser};
    if (!v.password.IsEmpty() && !CValidateCheck::IsValidPassword(v.password))
        return {IDS_PASSWORD_BAD_CHAR, kPassword};
    const Field receiverFields[3] = {kReceiver1, kReceiver2, kReceiver3};
    for (int i = 0; i < 3; ++i) {
        if (v.receivers[i].IsEmpty())
            continue;
        if (UINT id = AddressRefusal(v.receivers[i]))
            return {id, receiverFields[i]};
    }
    if (!v.subject.IsEmpty() && CValidateCheck::HasReservedChar(v.subject))
        return {IDS_SUBJECT_BAD_CHAR, kSubject};
    if (!v.message.IsEmpty() && CValidateCheck::HasReservedChar(v.message))
        return {IDS_MESSAGE_BAD_CHAR, kMessage};
    return {};
}

CString ComposeApply(const Values& v)
{
    CString server = v.server;
    server.Trim();
    const char* channel = v.photoSize == 0 ? "11" : (v.photoSize == 2 && v.streams >= 3) ? "13" : "12";
    auto enc = [](const CString& text) { return CCgiCmd::UrlEncode(text); };
    CString path;
    path.Format("/cgi-bin/hi3510/param.cgi?cmd=setsmtpattr&-ma_server=%s&-ma_from=%s&-ma_to=%s&-ma_subject=%s"
                "&-ma_text=%s&-ma_logintype=%d&-ma_username=%s&-ma_password=%s&-ma_port=%d&-ma_ssl=%d"
                "&-ma_fromname=%s&cmd=setalarmsnapattr&-snap_chn=%s",
                enc(server).GetString(), enc(v.sender).GetString(), enc(JoinReceivers(v.receivers)).GetString(),
                enc(v.subject).GetString(), enc(v.message).GetString(), v.authentication ? 1 : 3,
                enc(v.user).GetString(), enc(v.password).GetString(), v.port, v.encryption,
                enc(v.senderName).GetString(), channel);
    return path;
}

UINT TestResultText(int result)
{
    switch (result) {
    case 0:
        return IDS_TEST_PASSED;
    case -2:
        return IDS_TEST_SSL_ERROR;
    case -3:
        return IDS_TEST_NO_SERVER;
    case -4:
        return IDS_TEST_ACCOUNT_ERROR;
    default:
        return IDS_TEST_FAILED;
    }
}

}  // namespace mail_form

namespace ftp_form {

const char* const kLoadPath = "/cgi-bin/hi3510/param.cgi?cmd=getftpattr";

void ParseLoad(const CString& reply, Values& v)
{
    v.server = CCgiCmd::GetCgiValue2(reply, "ft_server");
    v.port = CCgiCmd::GetCgiValueInt3(reply, "ft_port");
    v.user = CCgiCmd::GetCgiValue2(reply, "ft_username");
    v.password = CCgiCmd::GetCgiValue2(reply, "ft_password");
    v.path = CCgiCmd::GetCgiValue2(reply, "ft_dirname");
    v.passive = CCgiCmd::GetCgiValueInt3(reply, "ft_mode") == 0;
}

UINT Check(const Values& v)
{
    if (!v.password.IsEmpty() && !CValidateCheck::IsValidPassword(v.password))
        return IDS_PASSWORD_BAD_CHAR;
    return 0;
}

CString ComposeApply(const Values& v)
{
    CString path;
    path.Format("/cgi-bin/hi3510/param.cgi?cmd=setftpattr&-ft_server=%s&-ft_port=%d&-ft_username=%s"
                "&-ft_password=%s&-ft_dirname=%s&-ft_mode=%d",
                CCgiCmd::UrlEncode(v.server).GetString(), v.port, CCgiCmd::UrlEncode(v.user).GetString(),
                CCgiCmd::UrlEncode(v.password).GetString(), CCgiCmd::UrlEncode(v.path).GetString(), v.passive ? 0 : 1);
    return path;
}

UINT TestResultText(int result)
{
    switch (result) {
    case 0:
        return IDS_TEST_PASSED;
    case -2:
        return IDS_TEST_NO_SERVER;
    case -3:
        return IDS_TEST_ACCOUNT_ERROR;
    case -4:
        return IDS_TEST_WRONG_PATH;
    default:
        return IDS_TEST_FAILED;
    }
}

}  // namespace ftp_form

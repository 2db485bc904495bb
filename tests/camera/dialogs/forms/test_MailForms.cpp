// The e-mail and FTP pages' rules by table: receivers packed in one value,
// the field checks in their order, the requests and the test results.
#include "camera/dialogs/forms/MailForms.h"
#include "outside/vxnet/vxnet.h"
#include "resources/vxcam/resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

TEST(MailReceivers, SplitAtTheFirstTwoSeparatorsAndJoinWithBoth)
{
    struct Case {
        const char* to;
        const char* r[3];
        const char* joined;
    } cases[] = {
        {"a@b.com;;c@d.com", {"a@b.com", "", "c@d.com"}, "a@b.com;;c@d.com"},
        {"", {"", "", ""}, ";;"},
        {"a@b.com", {"a@b.com", "", ""}, "a@b.com;;"},
        {"a@b.com;x@y.org", {"a@b.com", "x@y.org", ""}, "a@b.com;x@y.org;"},
        {"1;2;3;4", {"1", "2", "3"}, "1;2;3"},  // a fourth part is dropped
    };
    for (const Case& c : cases) {
        CString r[3];
        mail_form::SplitReceivers(c.to, r);
        for (int i = 0; i < 3; ++i)
            EXPECT_STREQ(r[i].GetString(), c.r[i]) << c.to << " " << i;
        EXPECT_STREQ(mail_form::JoinReceivers(r).GetString(), c.joined) << c.to;
    }
}

TEST(MailCheck, FirstFailingRuleNamesItsField)
{
    auto valid = [] {
        mail_form::Values v;
        v.server = "smtp.example.com";
        v.sender = "cam@example.com";
        v.receivers[0] = "me@example.com";
        return v;
    };
    struct Case {
        const char* what;
        std::function<void(mail_form::Values&)> change;
        UINT text;
        mail_form::Field field;
    } cases[] = {
        {"valid", [](mail_form::Values&) {}, 0, mail_form::kNone},
        {"server blank", [](mail_form::Values& v) { v.server = "smtp example"; }, IDS_SMTP_INVALID, mail_form::kServer},
        {"port 0", [](mail_form::Values& v) { v.port = 0; }, IDS_SMTP_PORT_INVALID, mail_form::kPort},
        {"port 50001", [](mail_form::Values& v) { v.port = 50001; }, IDS_SMTP_PORT_INVALID, mail_form::kPort},
        {"short sender", [](mail_form::Values& v) { v.sender = "a@b.c"; }, IDS_EMAIL_INVALID, mail_form::kSender},
        {"sender name", [](mail_form::Values& v) { v.senderName = "a=b"; }, IDS_SENDER_BAD_CHAR,
         mail_form::kSenderName},
        {"user", [](mail_form::Values& v) { v.user = "a b"; }, IDS_ACCOUNT_BAD_CHAR, mail_form::kUser},
        {"password", [](mail_form::Values& v) { v.password = "p#w"; }, IDS_PASSWORD_BAD_CHAR, mail_form::kPassword},
        {"short receiver 2", [](mail_form::Values& v) { v.receivers[1] = "x@y"; }, IDS_EMAIL_INVALID,
         mail_form::kReceiver2},
        {"receiver with ;", [](mail_form::Values& v) { v.receivers[2] = "a@b.com;c@d.com"; }, IDS_EMAIL_BAD_CHAR,
         mail_form::kReceiver3},
        {"subject", [](mail_form::Values& v) { v.subject = "a&b"; }, IDS_SUBJECT_BAD_CHAR, mail_form::kSubject},
        {"message", [](mail_form::Values& v) { v.message = "x:y"; }, IDS_MESSAGE_BAD_CHAR, mail_form::kMessage},
        {"server before port",
         [](mail_form::Values& v) {
             v.server = "a b";
             v.port = 0;
         },
         IDS_SMTP_INVALID, mail_form::kServer},
    };
    for (const Case& c : cases) {
        mail_form::Values v = valid();
        c.change(v);
        mail_form::Refusal r = mail_form::Check(v);
        EXPECT_EQ(r.textId, c.text) << c.what;
        EXPECT_EQ(r.field, c.field) << c.what;
    }
}

TEST(MailRequest, EncodedTextsBothSeparatorsAndTheAccountWithoutAuthentication)
{
    mail_form::Values v;
    mail_form::ParseLoad("var ma_server=\" smtp.x.org \";\r\nvar ma_port=\"465\";\r\nvar ma_ssl=\"7\";\r\n"
                         "var ma_logintype=\"3\";\r\nvar ma_username=\"bob\";\r\nvar ma_password=\"pw1\";\r\n"
                         "var ma_to=\";;\";\r\nvar ma_text=\"one\r\ntwo\";\r\nvar snap_chn=\"13\";\r\n",
                         v);
    EXPECT_EQ(v.encryption, 3);  // SMARTTLS
    EXPECT_FALSE(v.authentication);
    EXPECT_EQ(v.photoSize, 2);
    EXPECT_STREQ(v.message.GetString(), "one\r\ntwo");
    EXPECT_STREQ(mail_form::ComposeApply(v).GetString(),
                 "/cgi-bin/hi3510/param.cgi?cmd=setsmtpattr&-ma_server=smtp.x.org&-ma_from=&-ma_to=%3B%3B"
                 "&-ma_subject=&-ma_text=one%0D%0Atwo&-ma_logintype=3&-ma_username=bob&-ma_password=pw1"
                 "&-ma_port=465&-ma_ssl=3&-ma_fromname=&cmd=setalarmsnapattr&-snap_chn=13");
    // "S" needs three streams.
    v.streams = 2;
    mail_form::ParseLoad("var snap_chn=\"13\";\r\n", v);
    EXPECT_EQ(v.photoSize, 1);
}

TEST(TestResults, OneNumberTwoMeanings)
{
    const int results[] = {0, -2, -3, -4, -5, 1};
    const UINT mail[] = {IDS_TEST_PASSED,        IDS_TEST_SSL_ERROR, IDS_TEST_NO_SERVER,
                         IDS_TEST_ACCOUNT_ERROR, IDS_TEST_FAILED,    IDS_TEST_FAILED};
    const UINT ftp[] = {IDS_TEST_PASSED,     IDS_TEST_NO_SERVER, IDS_TEST_ACCOUNT_ERROR,
                        IDS_TEST_WRONG_PATH, IDS_TEST_FAILED,    IDS_TEST_FAILED};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(mail_form::TestResultText(results[i]), mail[i]) << results[i];
        EXPECT_EQ(ftp_form::TestResultText(results[i]), ftp[i]) << results[i];
    }
}

TEST(FtpRequest, PassiveModeAndEncodedTexts)
{
    ftp_form::Values v;
    ftp_form::ParseLoad("var ft_server=\"ftp.x.org\";\r\nvar ft_port=\"2121\";\r\nvar ft_username=\"u\";\r\n"
                        "var ft_password=\"p:1\";\r\nvar ft_dirname=\"/up load\";\r\nvar ft_mode=\"1\";\r\n",
                        v);
    EXPECT_FALSE(v.passive);
    EXPECT_EQ(ftp_form::Check(v), 0u);
    EXPECT_STREQ(ftp_form::ComposeApply(v).GetString(),
                 "/cgi-bin/hi3510/param.cgi?cmd=setftpattr&-ft_server=ftp.x.org&-ft_port=2121&-ft_username=u"
                 "&-ft_password=p%3A1&-ft_dirname=%2Fup%20load&-ft_mode=1");
    v.password = "a b";
    EXPECT_EQ(ftp_form::Check(v), static_cast<UINT>(IDS_PASSWORD_BAD_CHAR));
}

TEST(MailRequest, LoggedRequestsAndRepliesHoldNoPassword)
{
    mail_form::Values mail;
    mail.password = "Secr3tMail";
    ftp_form::Values ftp;
    ftp.password = "Secr3tFtp";
    std::string texts[] = {
        mail_form::ComposeApply(mail).GetString(),
        ftp_form::ComposeApply(ftp).GetString(),
        "var ma_password=\"Secr3tMail\";\r\nvar ft_password=\"Secr3tFtp\";\r\n",
    };
    for (const std::string& text : texts) {
        char* safe = nullptr;
        // No session secrets: the parameter names alone must mask them.
        ASSERT_EQ(vxnet_redact_text(text.c_str(), nullptr, 0, &safe), 0);
        ASSERT_NE(safe, nullptr);
        std::string out = safe;
        vxnet_free_cgi_output(&safe);
        EXPECT_EQ(out.find("Secr3t"), std::string::npos) << out;
    }
}

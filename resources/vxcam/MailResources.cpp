// The E-mail and FTP pages and the texts of their tests.
#include "resources/vxcam/TemplateItems.h"
#include "resources/vxcam/VxcamResources_p.h"
#include "resources/vxcam/resource.h"

namespace vxcam_res {

namespace {

using namespace items;

void AddStrings(vxw::ResourceModule& m)
{
    m.AddString(IDS_SMTP_PORT_INVALID, "SMTP port is invalid.");
    // "Test passed." and "Test failed." are the device pages' strings.
    m.AddString(IDS_TEST_NO_SERVER, "Unable to connect to server");
    m.AddString(IDS_TEST_ACCOUNT_ERROR, "User name or password error");
    m.AddString(IDS_TEST_WRONG_PATH, "Wrong path");
    m.AddString(IDS_TEST_SSL_ERROR, "SSL error");
}

void AddEmailPage(vxw::ResourceModule& m)
{
    Items i = {
        Label("SMTP server name:", 10, 10, 80),
        Edit(IDC_MAIL_SERVER, 95, 8, 150),
        Label("Server port:", 255, 10, 50),
        Edit(IDC_MAIL_PORT, 310, 8, 40, ES_NUMBER),
        Label("Encrypt type:", 10, 26, 80),
        Combo(IDC_MAIL_ENCRYPT, 95, 24, 80, {"None", "SSL", "TLS", "SMARTTLS"}),
        Check(IDC_MAIL_SSL, "SSL", 185, 26, 40),
        Button(IDC_MAIL_OVERWRITE, "Overwrite SMTP", 255, 24, 70),
        Check(IDC_MAIL_AUTH, "Authentication", 10, 42, 100),
        Label("User name:", 10, 56, 80),
        Edit(IDC_MAIL_USER, 95, 54, 110),
        Label("Password:", 215, 56, 40),
        Edit(IDC_MAIL_PASSWORD, 260, 54, 110, ES_PASSWORD),
        Label("Sender:", 10, 72, 80),
        Edit(IDC_MAIL_SENDER, 95, 70, 150),
        Label("Sender name:", 10, 88, 80),
        Edit(IDC_MAIL_SENDER_NAME, 95, 86, 150),
        Label("Send to:", 10, 104, 80),
        Edit(IDC_MAIL_TO_1, 95, 102, 150),
        Edit(IDC_MAIL_TO_2, 95, 116, 150),
        Edit(IDC_MAIL_TO_3, 95, 130, 150),
        Label("Subject:", 10, 148, 80),
        Edit(IDC_MAIL_SUBJECT, 95, 146, 150),
        Label("Message:", 10, 164, 80),
        Item("EDIT", IDC_MAIL_TEXT, "", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_BORDER | WS_VSCROLL | kTab,
             95, 162, 150, 30),
        Label("Photo size:", 255, 104, 60),
        Item("BUTTON", IDC_MAIL_SIZE_XL, "XL", BS_AUTORADIOBUTTON | WS_GROUP | kTab, 255, 116, 30, 10),
        Item("BUTTON", IDC_MAIL_SIZE_L, "L", BS_AUTORADIOBUTTON, 290, 116, 30, 10),
        Item("BUTTON", IDC_MAIL_SIZE_S, "S", BS_AUTORADIOBUTTON, 325, 116, 30, 10),
        Button(IDC_TEST, "Test", 170, 200),
        Button(IDC_REFRESH, "Refresh", 240, 200),
        Button(IDC_APPLY, "Apply", 310, 200),
    };
    m.AddDialog(IDD_EMAIL, Page(std::move(i)));
}

void AddFtpPage(vxw::ResourceModule& m)
{
    Items i = {
        Label("FTP server:", 10, 12, 80),
        Edit(IDC_FTP_SERVER, 95, 10, 150),
        Label("FTP server port:", 10, 30, 80),
        Edit(IDC_FTP_PORT, 95, 28, 50, ES_NUMBER),
        Label("FTP username:", 10, 48, 80),
        Edit(IDC_FTP_USER, 95, 46, 150),
        Label("FTP password:", 10, 66, 80),
        Edit(IDC_FTP_PASSWORD, 95, 64, 150, ES_PASSWORD),
        Check(IDC_FTP_PASSIVE, "Passive mode", 95, 82, 100),
        Label("FTP path:", 10, 98, 80),
        Edit(IDC_FTP_PATH, 95, 96, 200),
        Button(IDC_TEST, "Test", 170, 200),
        Button(IDC_REFRESH, "Refresh", 240, 200),
        Button(IDC_APPLY, "Apply", 310, 200),
    };
    m.AddDialog(IDD_FTP, Page(std::move(i)));
}

}  // namespace

void FillMail(vxw::ResourceModule& m)
{
    AddStrings(m);
    AddEmailPage(m);
    AddFtpPage(m);
}

}  // namespace vxcam_res

// The Wireless page's rules without its window: what a load shows, which
// values pass the field check, the requests, the rows of a scan and the
// settings an "Add" of a row gives.
#include "camera/dialogs/forms/WirelessForm.h"
#include "resources/vxcam/resource.h"

#include <gtest/gtest.h>

#include <string>

using namespace wireless_form;

namespace {

std::string Text(const CString& s)
{
    return static_cast<const char*>(s);
}

TEST(WirelessForm, LoadTakesOutOfRangeValuesAsTheirDefaults)
{
    Loaded l =
        ParseLoad("var wf_enable=\"1\";\r\nvar wf_ssid=\"HomeNet\";\r\nvar wf_auth=\"7\";\r\n"
                  "var wf_key=\"k\";\r\nvar wf_enc=\"2\";\r\nvar wf_mode=\"5\";\r\nvar networktype=\"LAN\";\r\n");
    EXPECT_TRUE(l.values.enabled);
    EXPECT_EQ(Text(l.values.ssid), "HomeNet");
    EXPECT_EQ(l.values.security, 0);
    EXPECT_EQ(l.values.encryption, 1);
    EXPECT_EQ(l.values.mode, 1);
    EXPECT_TRUE(l.wired);
    // The link type is compared with case; a camera on Wi-Fi says otherwise.
    EXPECT_FALSE(ParseLoad("var networktype=\"lan\";\r\n").wired);
    EXPECT_FALSE(ParseLoad("var networktype=\"WIFI\";\r\n").wired);
    EXPECT_FALSE(ParseLoad("var wf_enable=\"2\";\r\n").values.enabled);
}

TEST(WirelessForm, FieldCheck)
{
    const CString ssid32(std::string(32, 's').c_str());
    const CString ssid33(std::string(33, 's').c_str());
    std::string e17;  // 17 characters, 34 bytes
    for (int i = 0; i < 17; ++i)
        e17 += "\xc3\xa9";
    const CString ssidWide(e17.c_str());
    const CString key63(std::string(63, 'k').c_str());
    const CString key64(std::string(64, 'k').c_str());
    const CString hex64(std::string(64, 'A').c_str());
    const CString key65(std::string(65, 'k').c_str());
    struct Case {
        Values v;
        UINT text;
        Field field;
    };
    const Case cases[] = {
        {{false, "", 3, "", 0, 0}, 0, kNone},  // off: nothing is checked
        {{true, "", 0, "", 0, 0}, IDS_SSID_INVALID, kSsid},
        {{true, ssid33, 0, "", 0, 0}, IDS_SSID_INVALID, kSsid},
        {{true, ssidWide, 0, "", 0, 0}, IDS_SSID_INVALID, kSsid},  // bytes count, not characters
        {{true, ssid32, 0, "", 0, 0}, 0, kNone},
        {{true, "Net", 0, "a&b", 0, 0}, 0, kNone},  // no security: the key goes as typed
        {{true, "Net", 1, "", 0, 0}, IDS_WIFI_KEY_INVALID, kKey},
        {{true, "Net", 3, key65, 1, 0}, IDS_WIFI_KEY_INVALID, kKey},
        {{true, "Net", 1, key64, 0, 0}, 0, kNone},  // WEP keys keep the field's own limit
        // WPA: a passphrase of 8 to 63 characters, or 64 hexadecimal digits.
        {{true, "Net", 2, "seven77", 0, 0}, IDS_WIFI_KEY_INVALID, kKey},
        {{true, "Net", 3, "eight888", 1, 0}, 0, kNone},
        {{true, "Net", 3, key63, 1, 0}, 0, kNone},
        {{true, "Net", 3, key64, 1, 0}, IDS_WIFI_KEY_INVALID, kKey},
        {{true, "Net", 2, hex64, 0, 0}, 0, kNone},
        {{true, "Net", 2, "pass=word", 0, 0}, IDS_WIFI_KEY_INVALID, kKey},
        {{true, "Net", 3, "back\\slash", 0, 0}, IDS_WIFI_KEY_INVALID, kKey},
        {{true, "Net", 3, "sunflower 42", 1, 0}, 0, kNone},
    };
    for (const Case& c : cases) {
        Refusal r = Check(c.v);
        EXPECT_EQ(r.textId, c.text) << Text(c.v.ssid) << " / " << Text(c.v.key);
        EXPECT_EQ(r.field, c.field) << Text(c.v.ssid) << " / " << Text(c.v.key);
    }
}

TEST(WirelessForm, RequestsEncodeTheTextsAndNeverSendMinusOne)
{
    Values v{true, "My Net&1", 3, "a b+c%", 1, 0};
    EXPECT_EQ(Text(ComposeApply(v)), "/cgi-bin/hi3510/param.cgi?cmd=setwirelessattr&-wf_enable=1&-wf_ssid=My%20Net%261"
                                     "&-wf_auth=3&-wf_key=a%20b%2Bc%25&-wf_enc=1&-wf_mode=0");
    EXPECT_EQ(Text(ComposeTest(v)), "/cgi-bin/hi3510/param.cgi?cmd=chkwirelessattr&-wf_ssid=My%20Net%261"
                                    "&-wf_auth=3&-wf_key=a%20b%2Bc%25&-wf_enc=1&-wf_mode=0");
    Values unselected{true, "N", -1, "", -1, -1};
    EXPECT_EQ(Text(ComposeApply(unselected)), "/cgi-bin/hi3510/param.cgi?cmd=setwirelessattr&-wf_enable=1&-wf_ssid=N"
                                              "&-wf_auth=0&-wf_key=&-wf_enc=0&-wf_mode=0");
    v.enabled = false;
    EXPECT_EQ(Text(ComposeApply(v)), "/cgi-bin/hi3510/param.cgi?cmd=setwirelessattr&-wf_enable=0");
}

TEST(WirelessForm, ScanRows)
{
    EXPECT_EQ(ParseScan(false, "var waccess_points=\"3\";").count, -1);
    ScanResult none = ParseScan(true, "var waccess_points=\"0\";\r\n");
    EXPECT_EQ(none.count, 0);
    EXPECT_TRUE(none.rows.empty());

    ScanResult two =
        ParseScan(true, "var waccess_points=\"2\";\r\nvar wessid[0]=\"HomeNet\";\r\nvar wnet[0]=\"Infra\";\r\n"
                        "var wrssi[0]=\"86\";\r\nvar wauth[0]=\"WPA2-PSK\";\r\nvar wenc[0]=\"AES\";\r\n"
                        "var wessid[1]=\"Peer\";\r\nvar wrssi[1]=\"x\";\r\n");
    ASSERT_EQ(two.rows.size(), 2u);
    EXPECT_EQ(Text(two.rows[0].ssid), "HomeNet");
    EXPECT_EQ(Text(two.rows[0].mode), "Infra");
    EXPECT_EQ(Text(two.rows[0].signal), "86");
    EXPECT_EQ(two.rows[0].strength, 86);
    EXPECT_EQ(Text(two.rows[0].security), "WPA2-PSK");
    EXPECT_EQ(Text(two.rows[0].encryption), "AES");
    // Missing values give empty texts and strength 0.
    EXPECT_EQ(Text(two.rows[1].signal), "0");
    EXPECT_EQ(Text(two.rows[1].mode), "");

    std::string many = "var waccess_points=\"120\";\r\n";
    for (int i = 0; i < 120; ++i)
        many += "var wessid[" + std::to_string(i) + "]=\"ap" + std::to_string(i) + "\";\r\n";
    ScanResult big = ParseScan(true, many.c_str());
    ASSERT_EQ(big.rows.size(), 120u);
    EXPECT_EQ(Text(big.rows[119].ssid), "ap119");
    // A broken count does not make millions of rows.
    EXPECT_EQ(ParseScan(true, "var waccess_points=\"99999999\";").rows.size(), static_cast<size_t>(kMaxScanRows));
}

TEST(WirelessForm, AddTakesColumnFourThenColumnThree)
{
    struct Case {
        const char *mode, *security, *encryption;
        int wantMode, wantSecurity, wantEncryption;
    };
    const Case cases[] = {
        {"Infra", "WPA2-PSK", "AES", 0, 3, 1},
        {"infra", "wpa-psk", "tkip", 0, 2, 0},
        {"Adhoc", "OPEN", "WEP", 1, 1, 0},  // "OPEN" keeps column 4's security
        {"Infra", "OPEN", "NONE", 0, 0, 0},
        {"Infra", "NONE", "WEP", 0, 0, 0},      // column 3 overrides
        {"Infra", "WPA3-SAE", "AES", 0, 0, 1},  // unknown texts: none, TKIP
        {"", "", "", 1, 0, 0},
    };
    for (const Case& c : cases) {
        ScanRow row;
        row.ssid = "Net";
        row.mode = c.mode;
        row.security = c.security;
        row.encryption = c.encryption;
        Choice got = ChooseRow(row);
        EXPECT_EQ(Text(got.ssid), "Net");
        EXPECT_EQ(got.mode, c.wantMode) << c.mode << "/" << c.security << "/" << c.encryption;
        EXPECT_EQ(got.security, c.wantSecurity) << c.mode << "/" << c.security << "/" << c.encryption;
        EXPECT_EQ(got.encryption, c.wantEncryption) << c.mode << "/" << c.security << "/" << c.encryption;
    }
}

}  // namespace

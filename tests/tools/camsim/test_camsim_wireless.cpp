// camsim's Wi-Fi commands, the cued network restart and the logins in its
// system log, as the settings pages meet them.

#include "support/CamsimHttp.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

const std::string kParam = "/cgi-bin/hi3510/param.cgi?";

using Reply = CamsimReply;

Reply get(const CamsimProcess& cam, const std::string& target, long timeoutMs = 30000)
{
    return CamsimGet(cam, target, timeoutMs);
}

TEST(CamsimWireless, SettingsAreCheckedAsACameraWould)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    struct Case {
        const char* query;
        bool taken;
    };
    const Case cases[] = {
        {"-wf_enable=1&-wf_ssid=HomeNet&-wf_auth=3&-wf_key=sunflower-42&-wf_enc=1&-wf_mode=0", true},
        {"-wf_enable=1&-wf_ssid=HomeNet&-wf_auth=3&-wf_key=short&-wf_enc=1&-wf_mode=0", false},
        {"-wf_enable=1&-wf_ssid=OldBridge&-wf_auth=1&-wf_key=abcdef&-wf_enc=0&-wf_mode=0", false},
        {"-wf_enable=1&-wf_ssid=OldBridge&-wf_auth=1&-wf_key=0123456789&-wf_enc=0&-wf_mode=0", true},
        {"-wf_enable=1&-wf_ssid=&-wf_auth=0&-wf_key=&-wf_enc=0&-wf_mode=0", false},
        {"-wf_enable=1&-wf_ssid=123456789012345678901234567890123&-wf_auth=0&-wf_key=&-wf_enc=0&-wf_mode=0", false},
        {"-wf_enable=1&-wf_ssid=GuestOpen&-wf_auth=0&-wf_key=any&-wf_enc=0&-wf_mode=1", true},
        {"-wf_enable=1&-wf_ssid=HomeNet&-wf_auth=4&-wf_key=sunflower-42&-wf_enc=1&-wf_mode=0", false},
        {"-wf_enable=0", true},
    };
    for (const Case& c : cases) {
        Reply r = get(cam, kParam + "cmd=setwirelessattr&" + c.query);
        EXPECT_EQ(r.has("[Succeed]set ok."), c.taken) << c.query << "\n" << r.body;
    }
    // The last taken values read back; the refused ones changed nothing.
    Reply back = get(cam, kParam + "cmd=getwirelessattr");
    for (const std::string& line :
         {CamsimVar("wf_enable", "0"), CamsimVar("wf_ssid", "GuestOpen"), CamsimVar("wf_mode", "1")})
        EXPECT_TRUE(back.has(line)) << line << "\n" << back.body;
}

TEST(CamsimWireless, TheTestPassesOnlyForACandidateMatchingAnAccessPoint)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    EXPECT_TRUE(get(cam, kParam + "cmd=getchkwireless").has(CamsimVar("chkres", "0"))) << "no candidate yet";
    struct Case {
        const char* candidate;
        const char* chkres;
    };
    const Case cases[] = {
        {"-wf_ssid=HomeNet&-wf_auth=3&-wf_key=sunflower-42&-wf_enc=1&-wf_mode=0", "1"},
        {"-wf_ssid=HomeNet&-wf_auth=3&-wf_key=sunflower-43&-wf_enc=1&-wf_mode=0", "0"},
        {"-wf_ssid=GuestOpen&-wf_auth=0&-wf_key=&-wf_enc=0&-wf_mode=0", "1"},
        {"-wf_ssid=Elsewhere&-wf_auth=2&-wf_key=whatever-9&-wf_enc=0&-wf_mode=0", "0"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(get(cam, kParam + "cmd=chkwirelessattr&" + c.candidate).has("[Succeed]set ok.")) << c.candidate;
        ASSERT_FALSE(cam.get("/camsim/cue?op=getchkwireless&seconds=0").empty());
        EXPECT_TRUE(get(cam, kParam + "cmd=getchkwireless").has(CamsimVar("chkres", c.chkres))) << c.candidate;
    }
    // The candidate is not the camera's setting.
    EXPECT_TRUE(get(cam, kParam + "cmd=getwirelessattr").has(CamsimVar("wf_ssid", "")));
    // A key the camera could never use is refused before any test.
    EXPECT_TRUE(get(cam, kParam + "cmd=chkwirelessattr&-wf_ssid=HomeNet&-wf_auth=3&-wf_key=abc&-wf_enc=1&-wf_mode=0")
                    .has("[Error]"));
    std::string log = get(cam, "/log/syslog.txt").body;
    EXPECT_NE(log.find("wireless test passed"), std::string::npos) << log;
    EXPECT_NE(log.find("wireless test failed"), std::string::npos) << log;
}

TEST(CamsimWireless, TheScanListsTheTableOrWhatWasCued)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    ASSERT_FALSE(cam.get("/camsim/cue?op=searchwireless&seconds=0").empty());
    Reply table = get(cam, kParam + "cmd=searchwireless");
    for (const std::string& line :
         {CamsimVar("waccess_points", "5"), CamsimVar("wessid[0]", "HomeNet"), CamsimVar("wnet[0]", "Infra"),
          CamsimVar("wrssi[0]", "86"), CamsimVar("wauth[0]", "WPA2-PSK"), CamsimVar("wenc[0]", "AES"),
          CamsimVar("wauth[3]", "OPEN"), CamsimVar("wenc[3]", "WEP")})
        EXPECT_TRUE(table.has(line)) << line << "\n" << table.body;
    EXPECT_FALSE(table.has("[Succeed]")) << "a scan only reads";

    struct Case {
        const char* result;
        const char* expect;
    };
    const Case cases[] = {
        {"0", "var waccess_points=\"0\";"},
        {"fail", "[Error]"},
        {"120", "var wessid[119]=\"camsim-ap-119\";"},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(cam.get(std::string("/camsim/cue?op=searchwireless&seconds=0&result=") + c.result).empty());
        Reply r = get(cam, kParam + "cmd=searchwireless");
        EXPECT_TRUE(r.has(c.expect)) << c.result << "\n" << r.body.substr(0, 200);
    }
    EXPECT_TRUE(cam.get("/camsim/cue?op=nosuchop&seconds=1").empty());
}

TEST(CamsimWireless, ACuedRestartFollowsOnlyANewAddressOrHttpPort)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    ASSERT_FALSE(cam.get("/camsim/cue?op=netrestart&seconds=5").empty());
    // The same values again: no restart, the cue waits.
    EXPECT_TRUE(get(cam, kParam + "cmd=sethttpport&-httpport=80").has("[Succeed]set ok."));
    EXPECT_EQ(get(cam, kParam + "cmd=getserverinfo", 3000).code, CURLE_OK);
    // A new address is answered, then the camera is gone a while.
    EXPECT_TRUE(get(cam, kParam + "cmd=setnetattr&-ipaddr=192.168.1.90").has("[Succeed]set ok."));
    // The ports close just after the answer went out.
    bool gone = false;
    for (int i = 0; i < 40 && !gone; ++i) {
        gone = get(cam, kParam + "cmd=getserverinfo", 500).code != CURLE_OK;
        if (!gone)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(gone) << "the camera never went";
    bool back = false;
    for (int i = 0; i < 40 && !back; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        back = get(cam, kParam + "cmd=getnetattr", 2000).has(CamsimVar("ip", "192.168.1.90"));
    }
    EXPECT_TRUE(back) << "the camera never came back";
}

TEST(CamsimWireless, LoginsReachTheSystemLog)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    ASSERT_TRUE(get(cam, kParam + "cmd=getuserinfo").has("authLevel"));
    std::string log = get(cam, "/log/syslog.txt").body;
    EXPECT_NE(log.find("] user admin logged in\r\n"), std::string::npos) << log;
}

}  // namespace

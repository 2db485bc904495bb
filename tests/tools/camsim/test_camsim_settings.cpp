// camsim's settings store as the settings pages use it: what a setter takes
// a reload shows, a refused request changes nothing, and the account rows
// are the ones every login checks.

#include "support/CamsimHttp.h"

#include <gtest/gtest.h>

namespace {

const std::string kParam = "/cgi-bin/hi3510/param.cgi?";

using Reply = CamsimReply;

Reply get(const CamsimProcess& cam, const std::string& target, const std::string& user = "admin",
          const std::string& password = "admin", long auth = CURLAUTH_ANY)
{
    return CamsimGet(cam, target, 10000, user, password, auth);
}

class SettingsByFamily : public ::testing::TestWithParam<const char*> {};

TEST_P(SettingsByFamily, EveryPageValueReadsBackWhatWasSet)
{
    CamsimProcess cam({"--no-rtsp", "--family", GetParam(), "--vendor", "VX"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    Reply set = get(cam, kParam
                             + "cmd=setoverlayattr&-region=1&-show=0&-name=Hall%20%232%2050%25%2B&-place=1"
                               "&cmd=setntpattr&-ntpenable=1&-ntpserver=ntp.example.lan&-ntpinterval=24"
                               "&cmd=setservertime&-timezone=Europe%2FBerlin&-dstmode=on"
                               "&cmd=setmotorattr&-tiltspeed=2&-panspeed=2&-movehome=off"
                               "&cmd=setaencattr&-chn=12&-aeswitch=0&-aeformat=g711u"
                               "&cmd=setaudioinvolume&-volin_type=0&-volume=33&cmd=setaudiooutvolume&-volume=66"
                               "&cmd=setuserattr&-at_username=user&-at_newname=viewer&-at_password=v%3Aw");
    EXPECT_EQ(set.body, "[Succeed]set ok.\r\n");
    Reply back = get(cam, kParam
                              + "cmd=getoverlayattr&-region=1&cmd=getntpattr&cmd=getservertime&cmd=getmotorattr"
                                "&cmd=getaencattr&-chn=12&cmd=getaudioinvolume&cmd=getaudiooutvolume"
                                "&cmd=getuserattr&cmd=getvendorinfo");
    for (const std::string& line :
         {CamsimVar("show_1", "0"), CamsimVar("name_1", "Hall #2 50%+"), CamsimVar("place_1", "1"),
          CamsimVar("ntpserver", "ntp.example.lan"), CamsimVar("ntpinterval", "24"),
          CamsimVar("timeZone", "Europe/Berlin"), CamsimVar("dstmode", "on"), CamsimVar("panspeed", "2"),
          CamsimVar("tiltspeed", "2"), CamsimVar("movehome", "off"), CamsimVar("aeswitch_2", "0"),
          CamsimVar("aeformat_2", "g711u"), CamsimVar("volin_type", "0"), CamsimVar("volume", "33"),
          CamsimVar("ao_volume", "66"), CamsimVar("at_username1", "viewer"), CamsimVar("at_password1", "v:w"),
          CamsimVar("vendor", "VX")})
        EXPECT_TRUE(back.has(line)) << line << "\n" << back.body;
}

INSTANTIATE_TEST_SUITE_P(Families, SettingsByFamily, ::testing::Values("HX", "DY", "AJ", "HTL"));

TEST(CamsimSettings, ARefusedCommandChangesNothingOfItsRequest)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    const char* refused[] = {
        "cmd=setmotorattr&-panspeed=7",
        "cmd=setaudioinvolume&-volume=0",
        "cmd=setaudiooutvolume&-volume=101",
        "cmd=setaencattr&-chn=11&-aeformat=mp3",
        "cmd=setntpattr&-ntpinterval=25",
        "cmd=setservertime&-dstmode=maybe",
        "cmd=setoverlayattr&-region=0&-place=4",
        "cmd=setoverlayattr&-region=0&-type=3",
        "cmd=setoverlayattr&-region=1&-name=a%22b",
        "cmd=setoverlayattr&-region=1&-name=a%0D%0Ab",
        "cmd=setuserattr&-at_username=nobody&-at_password=x",
        "cmd=setuserattr&-at_username=guest&-at_newname=ADMIN",  // taken, whatever the case
        "cmd=setvendorinfo&-vendor=X",
    };
    for (const char* r : refused) {
        // The first command would be taken on its own; the refused one undoes it.
        Reply reply = get(cam, kParam + "cmd=setmotorattr&-panspeed=0&" + r);
        EXPECT_EQ(reply.status, 200) << r;
        EXPECT_TRUE(reply.has("[Error]")) << r;
        EXPECT_FALSE(reply.has("[Succeed]")) << r;
    }
    Reply back = get(cam, kParam + "cmd=getmotorattr&cmd=getuserattr&cmd=getoverlayattr&-region=1");
    EXPECT_TRUE(back.has(CamsimVar("panspeed", "1"))) << back.body;
    EXPECT_TRUE(back.has(CamsimVar("at_username2", "guest"))) << back.body;
    EXPECT_TRUE(back.has(CamsimVar("name_1", "camsim"))) << back.body;
}

TEST(CamsimSettings, CommandErrorFaultAndStreamCount)
{
    CamsimProcess cam({"--no-rtsp", "--streams", "2"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    EXPECT_TRUE(get(cam, kParam + "cmd=getaencattr&-chn=13").has("[Error]"));
    EXPECT_TRUE(get(cam, kParam + "cmd=getaencattr&-chn=12").has(CamsimVar("aeswitch_2", "1")));
    EXPECT_TRUE(get(cam, kParam + "cmd=getvideoattr").has(CamsimVar("maxchn", "2")));

    ASSERT_FALSE(cam.fault("cmderror=getmotorattr,setntpattr").empty());
    Reply failed = get(cam, kParam + "cmd=getmotorattr&cmd=getvendorinfo");
    EXPECT_EQ(failed.status, 200);
    EXPECT_TRUE(failed.has("[Error]")) << failed.body;
    EXPECT_TRUE(get(cam, kParam + "cmd=setntpattr&-ntpinterval=5").has("[Error]"));
    EXPECT_TRUE(get(cam, kParam + "cmd=getntpattr").has(CamsimVar("ntpinterval", "1")));
    ASSERT_FALSE(cam.fault("cmderror=").empty());
    EXPECT_FALSE(get(cam, kParam + "cmd=getmotorattr").has("[Error]"));
}

TEST(CamsimSettings, AccountRowsDriveEveryLogin)
{
    struct Case {
        const char* family;
        std::string loginTarget;  // with USER and PASS in place of the account for AJ
        bool queryAccount;
    } const cases[] = {
        {"HX", kParam + "cmd=getuserinfo", false},
        {"DY", "/dy-cgi/user.cgi?cmd=checkuserinfo", false},
        {"AJ", "/cgi-bin/user_management?username=USER&password=PASS", true},
        {"HTL", "/cgi-bin/web.cgi?mod=device&cmd=get", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        CamsimProcess cam({"--no-rtsp", "--family", c.family});
        ASSERT_TRUE(cam.ok()) << cam.error();
        // "p:w;d/@1" encoded.
        ASSERT_TRUE(
            get(cam, kParam + "cmd=setuserattr&-at_username=admin&-at_newname=boss&-at_password=p%3Aw%3Bd%2F%401")
                .has("[Succeed]"));
        auto login = [&](const std::string& user, const std::string& password) {
            std::string target = c.loginTarget;
            if (c.queryAccount) {
                target.replace(target.find("USER"), 4, user);
                target.replace(target.find("PASS"), 4, password == "p:w;d/@1" ? "p%3Aw%3Bd%2F%401" : password);
            }
            return get(cam, target, user, password);
        };
        Reply fresh = login("boss", "p:w;d/@1");
        EXPECT_EQ(fresh.status, 200) << fresh.body;
        if (std::string(c.family) == "DY") {
            EXPECT_TRUE(fresh.has("var rolename='admin';")) << fresh.body;
        }
        if (std::string(c.family) == "AJ") {
            EXPECT_TRUE(fresh.has("code=\"200\"")) << fresh.body;
        }
        Reply old = login("admin", "admin");
        EXPECT_NE(old.status, 200) << old.body;
    }
    // Digest too: the HX request above went by whatever curl chose; force it.
    CamsimProcess cam({"--no-rtsp", "--auth", "digest"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    EXPECT_EQ(get(cam, kParam + "cmd=getuserinfo", "user", "user", CURLAUTH_DIGEST).status, 200);
    EXPECT_EQ(get(cam, kParam + "cmd=getuserinfo", "user", "wrong", CURLAUTH_DIGEST).status, 401);
}

}  // namespace

// camsim's motion detection commands as a camera checks them: areas inside
// the video of the videomode the request leaves, the alarm actions by
// name, the I/O alarm, and smart detection only on cameras of two streams
// or fewer with the target types of their model.

#include "support/CamsimHttp.h"

#include <gtest/gtest.h>

namespace {

const std::string kParam = "/cgi-bin/hi3510/param.cgi?";

std::string get(const CamsimProcess& cam, const std::string& query)
{
    return CamsimGet(cam, kParam + query, 10000).body;
}

}  // namespace

TEST(CamsimMotion, AreasActionsAndSmartDetectionAsACameraChecksThem)
{
    CamsimProcess cam({"--no-rtsp", "--streams", "2", "--model", "CAMXC4-HX-Z"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    // An area reaching the corner of the video the same request chooses.
    EXPECT_EQ(get(cam, "cmd=setvideoattr&-videomode=41&cmd=setmdattr&-name=2&-enable=1&-s=70&-x=1000&-y=500&-w=920"
                       "&-h=580&cmd=setmdalarm&-aname=relay&-switch=on&cmd=setioattr&-io_enable=1"
                       "&cmd=setsmdattr&-smd_enable=1&cmd=setsmdex&-smd_rect=1&-smd_type=1"),
              "[Succeed]set ok.\r\n");

    const char* refused[] = {
        "cmd=setmdattr&-name=5&-enable=0",
        "cmd=setmdattr&-name=1&-s=0",
        "cmd=setmdattr&-name=1&-s=101",
        "cmd=setmdattr&-name=1&-x=-1",
        "cmd=setmdattr&-name=1&-enable=1&-x=1000&-y=0&-w=921&-h=10",  // one pixel past 1920
        "cmd=setmdattr&-name=1&-enable=1&-x=0&-y=1000&-w=10&-h=81",   // one pixel past 1080
        "cmd=setmdattr&-name=1&-enable=1&-x=0&-y=0&-w=0&-h=10",       // an empty area detects nothing
        "cmd=setmdattr&-name=2&-y=501",                               // area 2 as it is, moved out
        "cmd=setmdalarm&-aname=siren&-switch=on",
        "cmd=setmdalarm&-aname=relay&-switch=maybe",
        "cmd=setsmdex&-smd_type=2",  // this model tells two kinds of targets
        "cmd=setioattr&-io_enable=2",
    };
    for (const char* r : refused) {
        // The first command would be taken on its own; the refused one undoes it.
        std::string reply = get(cam, std::string("cmd=setmdattr&-name=3&-s=10&") + r);
        EXPECT_NE(reply.find("[Error]"), std::string::npos) << r;
        EXPECT_EQ(reply.find("[Succeed]"), std::string::npos) << r;
    }
    std::string back = get(cam, "cmd=getvideoattr&cmd=getmdattr&cmd=getmdalarm&-aname=relay&cmd=getioattr"
                                "&cmd=getsmdattr&cmd=getsmdex");
    for (const std::string& line :
         {CamsimVar("videomode", "41"), CamsimVar("m2_enable", "1"), CamsimVar("m2_x", "1000"),
          CamsimVar("m2_y", "500"), CamsimVar("m2_w", "920"), CamsimVar("m2_h", "580"),
          CamsimVar("m2_sensitivity", "70"), CamsimVar("m3_sensitivity", "50"), CamsimVar("m1_enable", "0"),
          CamsimVar("md_relay_switch", "on"), CamsimVar("io_enable", "1"), CamsimVar("smd_enable", "1"),
          CamsimVar("smd_rect", "1"), CamsimVar("smd_type", "1")})
        EXPECT_NE(back.find(line), std::string::npos) << line << "\n" << back;
    EXPECT_EQ(back.find("md_email_switch"), std::string::npos) << "-aname picks one action";
}

TEST(CamsimMotion, NoSmartDetectionOnThreeStreams)
{
    CamsimProcess cam({"--no-rtsp", "--streams", "3", "--model", "CAMXB4-HX"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    EXPECT_NE(get(cam, "cmd=getsmdattr").find("[Error]"), std::string::npos);
    EXPECT_NE(get(cam, "cmd=setsmdex&-smd_rect=1").find("[Error]"), std::string::npos);
    std::string actions = get(cam, "cmd=getmdalarm");
    for (const char* a : {"email", "emailsnap", "ftpsnap", "ftprec", "snap", "record", "relay"})
        EXPECT_NE(actions.find(CamsimVar(std::string("md_") + a + "_switch", "off")), std::string::npos) << a;
}

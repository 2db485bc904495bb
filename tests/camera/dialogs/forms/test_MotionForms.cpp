// The motion detection page's rules without the window: what a load reply
// shows, the apply request for each kind of camera, and which smart
// detection controls a model shows.
#include "camera/dialogs/forms/MotionForms.h"

#include <gtest/gtest.h>

#include <string>

using namespace motion_form;

namespace {

std::string Var(const std::string& name, const std::string& value)
{
    return "var " + name + "=\"" + value + "\";\r\n";
}

std::string AreaVars(int n, int enable, int x, int y, int w, int h, const std::string& s = "50")
{
    std::string m = "m" + std::to_string(n) + "_";
    return Var(m + "enable", std::to_string(enable)) + Var(m + "x", std::to_string(x)) + Var(m + "y", std::to_string(y))
           + Var(m + "w", std::to_string(w)) + Var(m + "h", std::to_string(h)) + Var(m + "sensitivity", s);
}

Values Parsed(const std::string& reply, const char* model = "CAMXA1-N", int streams = 3)
{
    Values v;
    v.model = model;
    v.streams = streams;
    ParseLoad(CString(reply.c_str()), v);
    return v;
}

const char* const kWeek = "&-week2=PPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPP";

}  // namespace

TEST(MotionForm, LoadPacksEnabledAreasAndFallsBackOnOddValues)
{
    Values v =
        Parsed(Var("videomode", "101") + AreaVars(1, 1, 10, 20, 300, 200, "0") + AreaVars(2, 0, 5, 5, 50, 50, "90")
               + AreaVars(3, 1, 1000, 900, 400, 300, "90") + AreaVars(4, 0, 0, 0, 0, 0) + Var("snap_count", "4")
               + Var("md_email_switch", "ON") + Var("md_ftpsnap_switch", "off") + Var("md_ftprec_switch", "on")
               + Var("md_snap_switch", "On") + Var("md_record_switch", "yes"));
    EXPECT_EQ(v.videomode, 101);
    ASSERT_EQ(v.areaCount, 2);
    EXPECT_EQ(v.areas[0].left, 10);
    EXPECT_EQ(v.areas[0].bottom, 220);
    EXPECT_EQ(v.areas[1].left, 1000);
    EXPECT_EQ(v.areas[1].right, 1400);
    EXPECT_EQ(v.areas[1].bottom, 1200);
    EXPECT_EQ(v.areas[2].right, 0);
    EXPECT_EQ(v.sensitivity, 50) << "area 1's 0 counts as 50, area 3's 90 is not used";
    EXPECT_EQ(v.snapCount, 1);
    EXPECT_TRUE(v.email);
    EXPECT_FALSE(v.ftpSnap);
    EXPECT_TRUE(v.ftpRec);
    EXPECT_TRUE(v.sdSnap);
    EXPECT_FALSE(v.sdRec);

    const std::pair<const char*, int> sensitivities[] = {{"1", 1}, {"100", 100}, {"101", 50}, {"-3", 50}, {"", 50}};
    for (const auto& [text, want] : sensitivities)
        EXPECT_EQ(Parsed(AreaVars(1, 1, 0, 0, 10, 10, text)).sensitivity, want) << text;
    EXPECT_EQ(Parsed(Var("snap_count", "3")).snapCount, 3);
}

TEST(MotionForm, SmartValuesAreReadOnlyWhereTheModelHasThem)
{
    std::string reply = Var("smd_enable", "1") + Var("smd_type", "2") + Var("smd_rect", "1");
    Values b4 = Parsed(reply, "CAMXB4-HX-Z", 2);
    EXPECT_TRUE(b4.smartEnable);
    EXPECT_EQ(b4.smartType, 2);
    EXPECT_TRUE(b4.smartTracking);
    EXPECT_EQ(Parsed(reply, "CAMXC4-HX", 2).smartType, 0) << "two types only";
    EXPECT_EQ(Parsed(Var("smd_type", "1"), "CAMXC4-HX", 2).smartType, 1);
    EXPECT_FALSE(Parsed(reply, "CAMXB4-HX", 3).smartEnable) << "three streams: no smart detection";

    EXPECT_EQ(std::string(LoadPath(3)).find("smd"), std::string::npos);
    EXPECT_EQ(std::string(LoadPath(2)).substr(std::string(LoadPath(3)).size()), "&cmd=getsmdattr&cmd=getsmdex");
}

TEST(MotionForm, ApplyBeginsWithTheScheduleAndLeavesIoAlarmAndRelayAlone)
{
    Values v = Parsed(AreaVars(1, 1, 10, 20, 300, 200, "70") + AreaVars(3, 1, 1000, 900, 400, 300));
    v.snapCount = 2;
    v.email = true;
    v.sdSnap = true;
    v.ftpRec = true;
    EXPECT_EQ(std::string(ComposeApply(v, kWeek)),
              std::string("/cgi-bin/hi3510/param.cgi?&cmd=setscheduleex&-ename=md") + kWeek
                  + "&cmd=setmdattr&-enable=1&-s=70&-name=1&-x=10&-y=20&-w=300&-h=200"
                    "&cmd=setmdattr&-enable=1&-s=70&-name=2&-x=1000&-y=900&-w=400&-h=300"
                    "&cmd=setmdattr&-enable=0&-s=70&-name=3&cmd=setmdattr&-enable=0&-s=70&-name=4"
                    "&cmd=setalarmsnapattr&-snap_count=2"
                    "&cmd=setmdalarm&-aname=email&-switch=on&cmd=setmdalarm&-aname=emailsnap&-switch=on"
                    "&cmd=setmdalarm&-aname=ftpsnap&-switch=off&cmd=setmdalarm&-aname=snap&-switch=on"
                    "&cmd=setmdalarm&-aname=ftprec&-switch=on&cmd=setmdalarm&-aname=record&-switch=off");
}

TEST(MotionForm, RecordActionsAndSmartDetectionByCamera)
{
    struct Case {
        const char* model;
        int streams;
        bool sdRec, ftpRec, smart, tracking;
        int type;
        const char* tail;  // what follows the snapshot actions
    } cases[] = {
        {"CAMXA1-N", 3, true, false, true, true, 1,
         "&cmd=setmdalarm&-aname=ftprec&-switch=off&cmd=setmdalarm&-aname=record&-switch=on"},
        {"CAMXB4-HX", 2, true, true, true, true, 2,
         "&cmd=setmdalarm&-aname=record&-switch=on&cmd=setmdalarm&-aname=ftprec&-switch=on"
         "&cmd=setsmdattr&-smd_enable=1&cmd=setsmdex&-smd_rect=1&-smd_type=2"},
        {"CAMXC4-HX", 2, false, true, false, false, 2,
         "&cmd=setmdalarm&-aname=ftprec&-switch=off&cmd=setmdalarm&-aname=record&-switch=off"
         "&cmd=setsmdattr&-smd_enable=0&cmd=setsmdex&-smd_rect=0&-smd_type=0"},
        {"CAMXC4-HX", 1, true, false, true, false, 1,
         "&cmd=setmdalarm&-aname=record&-switch=on&cmd=setmdalarm&-aname=ftprec&-switch=off"
         "&cmd=setsmdattr&-smd_enable=1&cmd=setsmdex&-smd_rect=0&-smd_type=1"},
        {"CAMXA1-NP", 2, false, false, true, true, 0,
         "&cmd=setmdalarm&-aname=ftprec&-switch=off&cmd=setmdalarm&-aname=record&-switch=off"
         "&cmd=setsmdattr&-smd_enable=1&cmd=setsmdex&-smd_rect=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + std::to_string(c.streams));
        Values v;
        v.model = c.model;
        v.streams = c.streams;
        v.sdRec = c.sdRec;
        v.ftpRec = c.ftpRec;
        v.smartEnable = c.smart;
        v.smartTracking = c.tracking;
        v.smartType = c.type;
        std::string path(ComposeApply(v, kWeek));
        std::string snap = "&cmd=setmdalarm&-aname=snap&-switch=off";
        size_t at = path.find(snap);
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(path.substr(at + snap.size()), c.tail);
    }
}

TEST(MotionForm, SmartControlsByModelStreamsAndDetection)
{
    struct Case {
        const char* model;
        int streams;
        bool checked;
        bool detection, targets, tracking;
        int types;
    } cases[] = {
        {"CAMXB4-HX-Z", 2, true, true, true, true, 3}, {"CAMXB4-HX-Z", 2, false, true, false, false, 3},
        {"CAMXC4-HX", 1, true, true, true, true, 2},   {"CAMXA1-NP-1", 2, true, true, false, false, 0},
        {"CAMXA1-N", 2, true, true, false, true, 0},   {"CAMXB4-HX", 3, true, false, false, false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + std::to_string(c.streams) + (c.checked ? " on" : " off"));
        SmartControls shown = ShownSmartControls(c.model, c.streams, c.checked);
        EXPECT_EQ(shown.detection, c.detection);
        EXPECT_EQ(shown.targets, c.targets);
        EXPECT_EQ(shown.tracking, c.tracking);
        EXPECT_EQ(TargetTypeCount(c.model), c.types);
    }
}

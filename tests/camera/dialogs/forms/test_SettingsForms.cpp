// The settings pages' requests and reply reading, without windows.

#include "camera/dialogs/forms/DeviceSettingsForms.h"
#include "camera/dialogs/forms/TimeSettingsForm.h"
#include "camera/dialogs/forms/UserAccountsForm.h"

#include <gtest/gtest.h>

namespace {

CString Var(const char* name, const char* value)
{
    CString s;
    s.Format("var %s=\"%s\";\r\n", name, value);
    return s;
}

bool Has(const CString& text, const char* part)
{
    return text.Find(part) >= 0;
}

// --- Name & Time ---

TEST(TimeForm, LoadReadsZoneIntervalFormatAndOverlayCodes)
{
    struct {
        const char* what;
        int chip;
        const char* model;
        const char* placeTime;
        const char* interval;
        const char* type;
        int expTimePlace, expInterval, expFormat;
    } const cases[] = {
        {"own codes: 3 is bottom", 71, "CAMXC5-HX-Z20-D", "3", "24", "1", 1, 24, 1},
        {"own codes: 1 is top", 71, "CAMXA1-N-Z20", "1", "0", "0", 0, 1, 0},
        {"other model: the code is the index", 71, "CAMXA1-N", "1", "25", "5", 1, 1, 2},
        {"other family ignores the model", 73, "CAMXC5-HX", "0", "12", "2", 0, 12, 2},
    };
    for (const auto& c : cases) {
        CString reply = Var("time", "20261210120000") + Var("timeZone", "asia/TOKYO") + Var("dstmode", "ON")
                        + Var("ntpserver", "ntp.example.lan") + Var("ntpinterval", c.interval)
                        + Var("place_0", c.placeTime) + Var("type_0", c.type) + Var("show_0", "1")
                        + Var("name_1", "Hall") + Var("place_1", "0") + Var("show_1", "0");
        time_form::Values v;
        bool own = time_form::UsesOwnOverlayCodes(c.chip, c.model);
        time_form::ParseLoad(reply, own, v);
        EXPECT_EQ(v.timePlace, c.expTimePlace) << c.what;
        EXPECT_EQ(v.ntpInterval, c.expInterval) << c.what;
        EXPECT_EQ(v.dateFormat, c.expFormat) << c.what;
        EXPECT_EQ(v.zone, 25) << c.what;
        EXPECT_TRUE(v.daylight) << c.what;
        EXPECT_TRUE(v.timeKnown) << c.what;
        EXPECT_EQ(v.clock.GetHour(), 12);
        EXPECT_EQ(v.ntpServer, "ntp.example.lan");
    }
}

TEST(TimeForm, CameraTimeNeedsFourteenDigits)
{
    const char* bad[] = {"2026121012000", "202612101200000", "2026121012000x", "20261310120000", "2026-12-10 12:0", ""};
    for (const char* t : bad) {
        COleDateTime out;
        EXPECT_FALSE(time_form::ParseCompactTime(t, out)) << t;
    }
    COleDateTime out;
    ASSERT_TRUE(time_form::ParseCompactTime("20261210235958", out));
    EXPECT_EQ(out.Format("%Y-%m-%d %H:%M:%S"), "2026-12-10 23:59:58");
}

TEST(TimeForm, ApplyEncodesTextsAndKeepsWhatTheTableLacks)
{
    time_form::Values v;
    v.timeKnown = true;
    v.name = "Hall #2 50%+ K\xc3\xbc"
             "che/?";
    v.zone = -1;
    v.reportedZone = "Europe/Berlin";
    v.ntpServer = "ntp.example.lan";
    v.ntpInterval = 6;
    v.timePlace = 1;
    v.showTime = true;
    CString path;
    ASSERT_EQ(time_form::ComposeApply(v, true, path), 0);
    EXPECT_TRUE(Has(path, "-region=0&-show=1&-place=3&-type=0&")) << path;
    EXPECT_TRUE(Has(path, "-name=Hall%20%232%2050%25%2B%20K%C3%BCche%2F%3F&")) << path;
    EXPECT_TRUE(Has(path, "-timezone=Europe%2FBerlin&-dstmode=off")) << path;
    EXPECT_TRUE(Has(path, "-ntpenable=1&-ntpserver=ntp.example.lan&-ntpinterval=6")) << path;

    v.reportedZone.Empty();
    EXPECT_EQ(time_form::ComposeApply(v, true, path), 20046);  // no zone at all: refuse
    v.zone = 13;
    v.timeKnown = false;
    EXPECT_EQ(time_form::ComposeApply(v, true, path), 20046);  // no camera time loaded
    v.timeKnown = true;
    for (const char* bad : {"a&b", "a=b", "a`b", "a\"b", "a\\b"}) {
        v.name = bad;
        EXPECT_EQ(time_form::ComposeApply(v, false, path), 20089) << bad;
    }
}

TEST(TimeForm, SyncZoneFromBias)
{
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 7;
    t.wDay = 1;
    t.wHour = 8;
    t.wMinute = 5;
    t.wSecond = 9;
    struct {
        long bias;
        bool daylight;
        int expected;  // 0 sent, else the refusal text
        const char* zone;
    } const cases[] = {
        {660, false, 0, "Pacific%2FApia"},       {0, false, 0, "Europe%2FDublin"},
        {-60, true, 0, "Europe%2FBrussels"},     {-345, false, 20046, nullptr},  // Kathmandu: no row
        {-780, false, 0, "Pacific%2FTongatapu"}, {300, true, 0, "America%2FNew_York"},
    };
    for (const auto& c : cases) {
        CString path;
        EXPECT_EQ(time_form::ComposeSync(t, c.bias, c.daylight, path), c.expected) << c.bias;
        if (c.zone) {
            CString expect;
            expect.Format("/cgi-bin/hi3510/param.cgi?&cmd=setservertime&-time=2026.07.01.08.05.09&-timezone=%s"
                          "&-dstmode=%s",
                          c.zone, c.daylight ? "on" : "off");
            EXPECT_EQ(path, expect);
        }
    }
}

// --- PTZ and Audio ---

TEST(PtzForm, VendorAndClampedSpeed)
{
    ptz_form::Values v;
    ptz_form::ParseLoad(Var("panspeed", "7") + Var("movehome", "On") + Var("vendor", "vx"), v);
    EXPECT_TRUE(v.ownVendor);
    EXPECT_EQ(v.speed, 2);
    EXPECT_TRUE(v.moveHome);
    EXPECT_EQ(ptz_form::ComposeApply(v),
              "/cgi-bin/hi3510/param.cgi?cmd=setmotorattr&-tiltspeed=2&-panspeed=2&-movehome=on");
    ptz_form::Values other;
    ptz_form::ParseLoad(Var("panspeed", "0") + Var("vendor", "CAMSIM"), other);
    EXPECT_FALSE(other.ownVendor);
}

TEST(AudioForm, FormatWordSurvivesAndStreamCountDecidesChannel13)
{
    struct {
        const char* reported;
        int selected;
        const char* sent;
    } const cases[] = {
        {"G711A", 0, "g711a"}, {"g711u", 1, "g711u"}, {"g726", 1, "g726"},
        {"g711u", 0, "g711a"}, {"g711a", 1, "g726"},  {"", 1, "g726"},
    };
    for (const auto& c : cases) {
        audio_form::Values v;
        audio_form::ParseLoad(Var("aeformat_1", c.reported), v);
        if (c.selected != v.format)
            v.format = c.selected;
        EXPECT_EQ(audio_form::FormatWord(v), c.sent) << c.reported << " " << c.selected;
    }

    audio_form::Values two;
    two.streams = 2;
    EXPECT_FALSE(Has(audio_form::LoadPath(2), "chn=13"));
    audio_form::ParseLoad(Var("aeswitch_1", "1") + Var("aeswitch_2", "0") + Var("aeswitch_3", "1")
                              + Var("volin_type", "1") + Var("volume", "40") + Var("ao_volume", "90")
                              + Var("aeformat_1", "g711a"),
                          two);
    EXPECT_FALSE(two.enabled[2]);
    CString path = audio_form::ComposeApply(two);
    EXPECT_FALSE(Has(path, "chn=13")) << path;
    EXPECT_EQ(path, "/cgi-bin/hi3510/param.cgi?cmd=setaencattr&-chn=11&-aeswitch=1&-aeformat=g711a"
                    "&cmd=setaencattr&-chn=12&-aeswitch=0&-aeformat=g711a"
                    "&cmd=setaudioinvolume&-volin_type=1&-volume=40&cmd=setaudiooutvolume&-volume=90");
    two.streams = 3;
    EXPECT_TRUE(Has(audio_form::ComposeApply(two), "&cmd=setaencattr&-chn=13&-aeswitch=0&"));
}

// --- User accounts ---

user_form::Values Users(const char* a, const char* b, const char* c)
{
    user_form::Values v;
    user_form::ParseLoad(Var("at_username0", a) + Var("at_password0", "pw") + Var("at_username1", b)
                             + Var("at_password1", "") + Var("at_username2", c) + Var("at_password2", ""),
                         v);
    return v;
}

TEST(UserForm, ChecksInRowOrder)
{
    struct {
        const char* what;
        int row;
        const char* name;
        const char* password;
        const char* retyped;
        int expRow, expText;
    } const cases[] = {
        {"empty name", 1, "  ", "", "", 1, 20050},
        {"blank in name", 0, "ad min", "pw", "pw", 0, 20104},
        {"umlaut in name", 2, "g\xc3\xa4st", "", "", 2, 20104},
        {"reserved in password", 0, "admin", "a b", "a b", 0, 20053},
        {"retyped differs", 1, "user", "Ab", "ab", 1, 20051},
        {"empty password is fine", 1, "user", "", "", -1, 0},
    };
    for (const auto& c : cases) {
        user_form::Values v = Users("admin", "user", "guest");
        v.rows[c.row].name = c.name;
        v.rows[c.row].password = c.password;
        v.rows[c.row].retyped = c.retyped;
        user_form::Refusal r = user_form::Check(v);
        EXPECT_EQ(r.textId, c.expText) << c.what;
        EXPECT_EQ(r.row, c.expRow) << c.what;
    }
    user_form::Values dup = Users("admin", "Guest", "guest");
    user_form::Refusal r = user_form::Check(dup);
    EXPECT_EQ(r.textId, 20054);
    EXPECT_EQ(r.name, "Guest");
}

TEST(UserForm, HiddenRowsAreNeitherCheckedNorSentButKeepTheirNames)
{
    EXPECT_TRUE(user_form::IsSingleAccount("vx", 16));
    EXPECT_TRUE(user_form::IsSingleAccount("CAMSIM", 33));
    EXPECT_FALSE(user_form::IsSingleAccount("CAMSIM", 16));

    user_form::Values v = Users("admin", "", "");
    v.singleAccount = true;
    EXPECT_EQ(user_form::Check(v).textId, 0);
    EXPECT_FALSE(Has(user_form::ComposeApply(v), "at_username=&")) << user_form::ComposeApply(v);

    user_form::Values taken = Users("admin", "viewer", "guest");
    taken.singleAccount = true;
    taken.rows[0].name = "VIEWER";
    EXPECT_EQ(user_form::Check(taken).textId, 20054);
}

TEST(UserForm, ApplyEncodesLoadedNamesAndRenamesOnce)
{
    user_form::Values v = Users("ad min&1", "user", "guest");
    v.rows[0].name = "boss";
    v.rows[0].password = v.rows[0].retyped = "p:w;d/@1";
    CString path = user_form::ComposeApply(v);
    EXPECT_TRUE(Has(path, "cmd=setuserattr&-at_username=ad%20min%261&-at_newname=boss&-at_password=p%3Aw%3Bd%2F%401"))
        << path;
    EXPECT_TRUE(Has(path, "&cmd=setuserattr&-at_username=guest&-at_newname=guest&-at_password=")) << path;
    user_form::Applied(v);
    EXPECT_TRUE(Has(user_form::ComposeApply(v), "-at_username=boss&-at_newname=boss&"));
}

}  // namespace

// The Video Setup page's rules: the videomode table, the resolution lists by
// model family and letter, frame rates by format and the apply request.
#include "camera/dialogs/forms/VideoEncodeForm.h"

#include <gtest/gtest.h>

namespace {

using namespace video_form;

TEST(VideoEncodeForm, VideomodeTable)
{
    const struct {
        const char *p, *s, *t;
        int mode;
    } cases[] = {
        {"1080P 1920x1080", "720P 1280x720", "", 48},
        {"1080P 1920x1080", "1/2 720P 640x352", "", 41},
        {"1080P 1920x1080", "1/2 720P 640x352", "1/4 720P 320x176", 41},
        {"720P 1280x720", "1/2 720P 640x352", "", 31},
        {"960P 1280x960", "VGA 640x480", "1/2 VGA 320x240", 51},
        {"4M 2560x1440", "720P 1280x720", "", 85},
        {"4K 3840x2160", "1/2 720P 640x352", "", 123},
        {"D1 704x576", "CIF 352x288", "CIF 352x288", 17},
        {"960P 1280x960", "1/2 720P 640x352", "", -1},
        {"1080P 1920x1080", "720P 1280x720", "1/4 720P 320x176", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VideoMode(c.p, c.s, c.t), c.mode) << c.p << "|" << c.s << "|" << c.t;
}

TEST(VideoEncodeForm, ListsPerFamilyAndLetter)
{
    const struct {
        const char* model;
        char letter;
        int v, w1, h1, w2;
        const char* primary;  // the selected primary text
        int primaryMax;
        const char* secondary;
        int secondaryMax;
    } cases[] = {
        {"CAMX1k-N", 'k', 17, 704, 576, 352, "D1 704x576", 2048, "CIF 352x288", 512},
        {"CAMX1g-N", 'g', 41, 1920, 1080, 640, "1080P 1920x1080", 8192, "1/2 720P 640x352", 2048},
        {"CAMX1g-N", 'g', 31, 1280, 720, 320, "720P 1280x720", 6144, "1/4 720P 320x176", 512},
        {"CAMX1f-N", 'f', 51, 1280, 960, 640, "960P 1280x960", 6144, "VGA 640x480", 2048},
        {"CAMXB4-HX-Z1", 'e', 85, 2560, 1440, 1280, "4M 2560x1440", 6144, "720P 1280x720", 2048},
        {"CAMXC5-HX-1", 'e', 102, 2560, 1920, 640, "5M 2560x1920", 6144, "VGA 640x480", 2048},
        {"CAMXA1-N-W22", 'e', 41, 1920, 1080, 640, "1080P 1920x1080", 6144, "1/2 720P 640x352", 2048},
    };
    for (const auto& c : cases) {
        Lists l = FillLists(FamilyOf(c.model), c.letter, c.v, c.w1, c.h1, c.w2);
        ASSERT_GE(l.stream[0].index, 0) << c.model;
        EXPECT_EQ(l.stream[0].items[static_cast<size_t>(l.stream[0].index)], c.primary) << c.model;
        EXPECT_EQ(l.bitrate[0].hi, c.primaryMax) << c.model;
        ASSERT_GE(l.stream[1].index, 0) << c.model;
        EXPECT_EQ(l.stream[1].items[static_cast<size_t>(l.stream[1].index)], c.secondary) << c.model;
        EXPECT_EQ(l.bitrate[1].hi, c.secondaryMax) << c.model;
    }
}

TEST(VideoEncodeForm, PrimaryChangeRefillsTheTertiaryForEveryStreamCount)
{
    Family f = FamilyOf("CAMX1f-N");
    Lists l = FillLists(f, 'f', 31, 1280, 720, 640);
    EXPECT_EQ(l.stream[2].items, std::vector<std::string>{"1/4 720P 320x176"});
    l.stream[0].index = 2;  // "960P 1280x960"
    ASSERT_TRUE(PrimaryChanged(f, l));
    EXPECT_EQ(l.stream[1].items, (std::vector<std::string>{"VGA 640x480", "1/2 VGA 320x240"}));
    EXPECT_EQ(l.stream[2].items, std::vector<std::string>{"1/2 VGA 320x240"});
    EXPECT_EQ(VideoMode(l.stream[0].items[2], l.stream[1].items[0], l.stream[2].items[0]), 51);
    // The 4K family keeps "720P" first for every primary.
    Family k = FamilyOf("CAMXB4-HX-Z1");
    Lists kl = FillLists(k, 'e', 122, 3840, 2160, 1280);
    kl.stream[0].index = 2;  // 1080P
    ASSERT_TRUE(PrimaryChanged(k, kl));
    EXPECT_EQ(kl.stream[1].items, (std::vector<std::string>{"720P 1280x720", "1/2 720P 640x352"}));
    EXPECT_EQ(kl.bitrate[0].hi, 8192);
}

TEST(VideoEncodeForm, FrameRatesProfilesAndAbsentValues)
{
    EXPECT_EQ(KeptFrameRateIndex(29, true), 24);  // NTSC 30 -> PAL 25
    EXPECT_EQ(KeptFrameRateIndex(9, true), 9);
    EXPECT_EQ(ProfileToSend(2), 3);
    EXPECT_EQ(ProfileToSend(1), 1);

    Values v;
    ParseLoad("var videomode=\"48\";\r\nvar vinorm=\"N\";\r\nvar profile=\"3\";\r\nvar bps_1=\"4096\";\r\n"
              "var fps_1=\"30\";\r\nvar brmode_1=\"1\";\r\nvar imagegrade_1=\"2\";\r\nvar model=\"CAMXB4-HX-Z1\";\r\n",
              "CAMXB4-HX-Z1", v);
    EXPECT_FALSE(v.pal);
    EXPECT_EQ(v.profileIndex, 2);
    EXPECT_EQ(v.stream[0].fpsIndex, 29);
    EXPECT_EQ(v.stream[0].gopIndex, 48) << "an absent gop keeps the default";
    EXPECT_EQ(v.stream[1].fpsIndex, 24) << "an absent fps keeps the default";
    v.streams = 2;
    CString path = ComposeApply(v, 85);
    EXPECT_EQ(std::string(path), "/cgi-bin/hi3510/param.cgi?cmd=setvideoattr&-vinorm=N&-profile=3&-videomode=85"
                                 "&cmd=setvencattr&-chn=11&-bps=4096&-fps=30&-brmode=1&-imagegrade=2&-gop=50"
                                 "&cmd=setvencattr&-chn=12&-bps=512&-fps=25&-brmode=0&-imagegrade=1&-gop=50");
}

TEST(VideoEncodeForm, AMissSendsTheLoadedModeOnlyForTheLoadedResolutions)
{
    Values v;
    v.streams = 2;
    v.videomode = 77;
    v.loadedResolution[0] = "720P 1280x720";
    v.loadedResolution[1] = "1/4 720P 320x176";
    std::string asLoaded[3] = {"720P 1280x720", "1/4 720P 320x176", ""};
    EXPECT_EQ(VideoModeToSend(v, asLoaded), 77);
    std::string other[3] = {"960P 1280x960", "1/2 720P 640x352", ""};
    EXPECT_EQ(VideoModeToSend(v, other), -1);
    std::string known[3] = {"1080P 1920x1080", "720P 1280x720", "stale"};
    EXPECT_EQ(VideoModeToSend(v, known), 48);
}

}  // namespace

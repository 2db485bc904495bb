// camsim's snapshot timers, weekly schedules, plan recording, alarm
// snapshots and mail and FTP settings as a camera checks them: each row
// stored under its own name and read back under the camera's, a refused
// request changing nothing, channel 13 only with three streams, and the
// mail and FTP tests answering 0 unless a test cued another result.

#include "support/CamsimHttp.h"

#include <gtest/gtest.h>

namespace {

const std::string kParam = "/cgi-bin/hi3510/param.cgi?";

std::string get(const CamsimProcess& cam, const std::string& query)
{
    return CamsimGet(cam, kParam + query, 20000).body;
}

bool has(const std::string& body, const std::string& text)
{
    return body.find(text) != std::string::npos;
}

}  // namespace

TEST(CamsimSchedules, RowsAreKeptApartAndValuesCheckedAsACameraWould)
{
    CamsimProcess cam({"--no-rtsp", "--streams", "2"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    const std::string nights = std::string(16, 'P') + std::string(32, 'N');
    EXPECT_EQ(get(cam, "cmd=setsnaptimerattrex&-as_enable=1&-as_interval=30&-as_type=ftp"
                       "&cmd=setscheduleex&-ename=md&-week3="
                           + nights
                           + "&cmd=setplanrecattr&-planrec_time=900&-planrec_chn=12"
                             "&cmd=setalarmsnapattr&-snap_name_mode=1&-snap_timer_name=a%26b%3Dc"
                             "&cmd=setsmtpattr&-ma_to=%3B%3Bc%40d.org&-ma_text=one%0D%0Atwo"
                             "&cmd=setftpattr&-ft_dirname=%2Fup%20load&-ft_mode=1"),
              "[Succeed]set ok.\r\n");

    const char* refused[] = {
        "cmd=setsnaptimerattrex&-as_type=sms&-as_enable=1",
        "cmd=setsnaptimerattrex&-as_type=email&-as_interval=0",
        "cmd=setsnaptimerattrex&-as_type=email&-as_interval=65536",
        "cmd=setscheduleex&-ename=alarm&-week0=PPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPP",
        "cmd=setscheduleex&-ename=md&-week7=PPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPP",
        "cmd=setscheduleex&-ename=md&-week0=PPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPP",   // 47 marks
        "cmd=setscheduleex&-ename=md&-week0=PPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPX",  // not a mark
        "cmd=setplanrecattr&-planrec_time=14",
        "cmd=setplanrecattr&-planrec_time=901",
        "cmd=setplanrecattr&-planrec_chn=13",                                      // a third stream this camera lacks
        "cmd=setalarmsnapattr&-snap_timer_name=abcdefghijklmnopqrstuvwxyz012345",  // 32 characters
        "cmd=setsmtpattr&-ma_port=0",
        "cmd=setsmtpattr&-ma_logintype=4",
        "cmd=setftpattr&-ft_mode=2",
    };
    for (const char* r : refused) {
        // The first command would be taken on its own; the refused one undoes it.
        std::string reply = get(cam, std::string("cmd=setsnaptimerattrex&-as_type=snap&-as_interval=7&") + r);
        EXPECT_TRUE(has(reply, "[Error]")) << r;
        EXPECT_FALSE(has(reply, "[Succeed]")) << r;
    }

    std::string back = get(cam, "cmd=getsnaptimerattrex&-as_type=ftp&cmd=getplanrecattr&cmd=getalarmsnapattr"
                                "&cmd=getsmtpattr&cmd=getftpattr");
    for (const std::string& line :
         {CamsimVar("as_ftp_enable", "1"), CamsimVar("as_ftp_interval", "30"), CamsimVar("planrec_time", "900"),
          CamsimVar("planrec_chn", "12"), CamsimVar("snap_name_mode", "1"), CamsimVar("snap_timer_name", "a&b=c"),
          CamsimVar("ma_to", ";;c@d.org"), CamsimVar("ma_text", "one\r\ntwo"), CamsimVar("ft_dirname", "/up load"),
          CamsimVar("ft_mode", "1")})
        EXPECT_TRUE(has(back, line)) << line << "\n" << back;
    EXPECT_FALSE(has(back, "as_snap_")) << "-as_type picks one row";
    EXPECT_TRUE(has(get(cam, "cmd=getsnaptimerattrex&-as_type=snap"), CamsimVar("as_snap_interval", "60")));

    // Each schedule keeps its own week.
    std::string md = get(cam, "cmd=getscheduleex&-ename=md");
    std::string snap = get(cam, "cmd=getscheduleex&-ename=snap");
    EXPECT_TRUE(has(md, CamsimVar("week3", nights))) << md;
    EXPECT_TRUE(has(md, CamsimVar("week2", std::string(48, 'P')))) << md;
    EXPECT_TRUE(has(snap, CamsimVar("week3", std::string(48, 'P')))) << snap;
}

TEST(CamsimSchedules, ThirdStreamRecordsOnlyWhereThereIsOne)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    std::string defaults = get(cam, "cmd=getplanrecattr");
    EXPECT_TRUE(has(defaults, CamsimVar("planrec_time", "600"))) << defaults;
    EXPECT_TRUE(has(defaults, CamsimVar("planrec_chn", "11"))) << defaults;
    EXPECT_EQ(get(cam, "cmd=setplanrecattr&-planrec_chn=13"), "[Succeed]set ok.\r\n");
    EXPECT_TRUE(has(get(cam, "cmd=getplanrecattr"), CamsimVar("planrec_chn", "13")));
}

TEST(CamsimMailTests, AnswerZeroUnlessCuedAndACueServesOneTest)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    ASSERT_EQ(cam.get("/camsim/cue?op=testsmtp&seconds=0&result=-3"), "ok\n");
    ASSERT_EQ(cam.get("/camsim/cue?op=testftp&seconds=0&result=-4"), "ok\n");
    EXPECT_TRUE(has(get(cam, "cmd=testsmtp"), CamsimVar("result", "-3")));
    EXPECT_TRUE(has(get(cam, "cmd=testftp"), CamsimVar("result", "-4")));
    ASSERT_EQ(cam.get("/camsim/cue?op=testsmtp&seconds=0"), "ok\n");  // a time without a result
    EXPECT_TRUE(has(get(cam, "cmd=testsmtp"), CamsimVar("result", "0")));
    EXPECT_TRUE(has(get(cam, "cmd=testftp"), CamsimVar("result", "0")));  // its usual time, then 0
}

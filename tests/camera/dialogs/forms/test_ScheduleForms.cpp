// The weekly schedule text, the plan-record options and the auto capture
// request, driven by tables without windows.
#include "camera/dialogs/forms/ScheduleForms.h"

#include <gtest/gtest.h>

#include <string>

using namespace week_schedule;

namespace {

std::string Marks(std::initializer_list<std::pair<char, int>> runs)
{
    std::string s;
    for (auto [c, n] : runs)
        s.append(static_cast<size_t>(n), c);
    return s;
}

DayPairs Day(std::initializer_list<Pair> pairs)
{
    DayPairs d;
    int i = 0;
    for (Pair p : pairs)
        d.pairs[i++] = p;
    return d;
}

CString WeekReply(const std::string& days0to6)
{
    // Seven texts separated by commas.
    CString reply;
    size_t at = 0;
    for (int d = 0; d < 7; ++d) {
        size_t comma = days0to6.find(',', at);
        std::string day = days0to6.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        at = comma == std::string::npos ? days0to6.size() : comma + 1;
        CString line;
        line.Format("var week%d=\"%s\";\r\n", d, day.c_str());
        reply += line;
    }
    return reply;
}

}  // namespace

TEST(WeekSchedule, PairsMakeTheDayText)
{
    struct Case {
        DayPairs pairs;
        std::string text;
    } cases[] = {
        {Day({{16, 24}, {26, 48}}), Marks({{'N', 16}, {'P', 8}, {'N', 2}, {'P', 22}})},
        {Day({{20, 18}}), std::string(48, 'N')},                            // reversed adds nothing
        {Day({{4, 10}, {8, 12}}), Marks({{'N', 4}, {'P', 8}, {'N', 36}})},  // overlapping
        {Day({{0, 48}}), std::string(48, 'P')},
        {Day({}), std::string(48, 'N')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(DayText(c.pairs).GetString()), c.text);
}

TEST(WeekSchedule, TextShowsItsFirstFourRuns)
{
    std::string five =
        Marks({{'P', 2}, {'N', 2}, {'P', 2}, {'N', 2}, {'P', 2}, {'N', 2}, {'P', 2}, {'N', 2}, {'P', 2}, {'N', 30}});
    DayPairs d = PairsOf(five.c_str());
    const Pair want[] = {{0, 2}, {4, 6}, {8, 10}, {12, 14}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(d.pairs[i].start, want[i].start) << i;
        EXPECT_EQ(d.pairs[i].end, want[i].end) << i;
    }
    // A run reaching midnight ends at 24:00.
    DayPairs late = PairsOf(Marks({{'N', 26}, {'P', 22}}).c_str());
    EXPECT_EQ(late.pairs[0].start, 26);
    EXPECT_EQ(late.pairs[0].end, 48);
    // 47 characters: all pairs stay 00:00 ~ 00:00.
    DayPairs cut = PairsOf(std::string(47, 'P').c_str());
    for (const Pair& p : cut.pairs)
        EXPECT_TRUE(p.start == 0 && p.end == 0);
}

TEST(WeekSchedule, UntouchedDayGoesBackAsLoadedAndTouchedDaysAreRebuilt)
{
    std::string five =
        Marks({{'P', 1}, {'N', 1}, {'P', 1}, {'N', 1}, {'P', 1}, {'N', 1}, {'P', 1}, {'N', 1}, {'P', 1}, {'N', 39}});
    std::string full(48, 'P');
    Week week;
    week.Load(WeekReply(five + "," + full + "," + full + "," + full + "," + full + "," + full + "," + full));
    EXPECT_FALSE(week.AllEqual());
    DayPairs shown = week.Shown(0);
    // Sent byte for byte, fifth run included.
    EXPECT_EQ(std::string(week.ApplyPart(0, shown, false).GetString()), "&-week0=" + five);
    week.Touch(0);
    std::string four = five;
    four[8] = 'N';
    EXPECT_EQ(std::string(week.ApplyPart(0, shown, false).GetString()), "&-week0=" + four);

    // "Apply to everyday": every day gets the shown day's text.
    std::string all;
    for (int d = 0; d < 7; ++d)
        all += "&-week" + std::to_string(d) + "=" + full;
    EXPECT_EQ(std::string(week.ApplyPart(3, week.Shown(3), true).GetString()), all);

    // A day the camera reported badly is rebuilt from its (empty) pairs.
    Week odd;
    odd.Load(WeekReply("PPP,,,,,,"));
    EXPECT_EQ(std::string(odd.TextFor(0, odd.Shown(0)).GetString()), std::string(48, 'N'));
}

TEST(WeekSchedule, AllEqualComparesWithWeek0)
{
    std::string a(48, 'P'), b(48, 'N');
    Week same, differs;
    same.Load(WeekReply(a + "," + a + "," + a + "," + a + "," + a + "," + a + "," + a));
    differs.Load(WeekReply(a + "," + a + "," + a + "," + a + "," + a + "," + a + "," + b));
    EXPECT_TRUE(same.AllEqual());
    EXPECT_FALSE(differs.AllEqual());
}

TEST(SdSize, WholeMegabytesThenGigabytes)
{
    const std::pair<const char*, const char*> cases[] = {
        {"31166976", "29.72 GB"}, {"0", "0.00 GB"},  {"1048575", "1.00 GB"},       {"1023", "0.00 GB"},
        {"", "0.00 GB"},          {"-5", "0.00 GB"}, {"8589934592", "8192.00 GB"},
    };
    for (auto [kb, text] : cases)
        EXPECT_EQ(std::string(SdSizeText(kb).GetString()), text) << kb;
}

TEST(RecordOptions, ReplyValuesAndDefaults)
{
    struct Case {
        const char* reply;
        bool twoStream;
        int length, stream;
        const char* status;
    } cases[] = {
        {"var sdstatus=\"Ready\";\r\n", false, 600, 0, "Ready"},  // keys absent: 600 s, channel 11
        {"var planrec_time=\"900\";\r\nvar planrec_chn=\"12\";\r\nvar sdstatus=\"OUT\";\r\n", false, 900, 1, "None"},
        {"var planrec_time=\"15\";\r\nvar planrec_chn=\"13\";\r\n", false, 15, 2, ""},
        {"var planrec_chn=\"13\";\r\n", true, 600, 1, ""},
    };
    for (const Case& c : cases) {
        record_form::Options o;
        o.twoStreamModel = c.twoStream;
        record_form::ParseOptions(c.reply, o);
        EXPECT_EQ(o.length, c.length) << c.reply;
        EXPECT_EQ(o.stream, c.stream) << c.reply;
        EXPECT_EQ(std::string(o.cardStatus.GetString()), c.status) << c.reply;
    }
    EXPECT_TRUE(record_form::IsTwoStreamModel("CAMXC5-HX-Z20"));
    EXPECT_FALSE(record_form::IsTwoStreamModel("CAMXC4-HX"));
    for (auto [n, ok] : {std::pair{14, false}, {15, true}, {900, true}, {901, false}})
        EXPECT_EQ(record_form::LengthInRange(n), ok) << n;
    record_form::Options o;
    o.length = 900;
    o.stream = 2;
    EXPECT_STREQ(record_form::ComposeOptions(o).GetString(),
                 "/cgi-bin/hi3510/param.cgi?cmd=setplanrecattr&-planrec_time=900&-planrec_chn=13");
}

TEST(AutoCapture, RequestEncodesTheNameAndCarriesTheSchedule)
{
    capture_form::Values v;
    capture_form::ParseLoad(
        "var as_ftp_enable=\"1\";\r\nvar as_ftp_interval=\"30\";\r\nvar as_email_enable=\"0\";\r\n"
        "var as_email_interval=\"60\";\r\nvar as_snap_enable=\"1\";\r\nvar as_snap_interval=\"90\";\r\n"
        "var snap_name_mode=\"1\";\r\nvar snap_timer_name=\"gate\";\r\n",
        v);
    EXPECT_TRUE(v.ftp.enabled);
    EXPECT_EQ(v.ftp.interval, 30);
    EXPECT_FALSE(v.email.enabled);
    EXPECT_EQ(v.sd.interval, 90);
    EXPECT_EQ(v.nameMode, 0);  // "Overwrite"
    v.fileName = "a&b=c";
    Week week;
    week.Load(WeekReply(std::string(48, 'P') + ",,,,,,"));
    EXPECT_STREQ(capture_form::ComposeApply(v, week.ApplyPart(0, week.Shown(0), false)).GetString(),
                 ("/cgi-bin/hi3510/param.cgi?cmd=setsnaptimerattrex&-as_enable=1&-as_interval=30&-as_type=ftp"
                  "&cmd=setsnaptimerattrex&-as_enable=0&-as_interval=60&-as_type=email"
                  "&cmd=setsnaptimerattrex&-as_enable=1&-as_interval=90&-as_type=snap"
                  "&cmd=setalarmsnapattr&-snap_name_mode=1&-snap_timer_name=a%26b%3Dc"
                  "&cmd=setscheduleex&-ename=snap&-week0="
                  + std::string(48, 'P'))
                     .c_str());
}

// The question about a pending crash report: Yes keeps it as "VXKST.dmp",
// replacing an older one; No deletes it.
#include "recorder_test_env.h"

#include "recorder/CrashReport.h"

namespace {

const char* const kReport =
    "signal 11\naddress 0x401000\nfault 0x0\nbacktrace\n0x401000\n0x402000\n./VXKST-HD(+0x1000)[0x401000]\n"
    "maps\n00400000-00500000 r-xp 00000000 08:01 1234 /opt/vx/VXKST-HD\n";

TEST(CrashReport, YesKeepsTheReportNoDeletesIt)
{
    for (int answer : {IDYES, IDNO}) {
        vxtest::TempDir dir;
        CString app = (dir.path() + "/").c_str();
        rectest::WriteFile(dir.file("VXKST.crash"), kReport);
        rectest::WriteFile(dir.file("VXKST.dmp"), "an older report");
        rectest::MessageBoxes boxes(answer);
        OfferPendingCrashReport(app);
        ASSERT_GE(boxes.calls.size(), 1u);
        const auto& q = boxes.calls[0];
        EXPECT_EQ(q.caption, "Hollowmere");
        EXPECT_EQ(q.type, static_cast<UINT>(MB_YESNO | MB_ICONERROR));
        EXPECT_NE(q.text.find("Exception code: b\n"), std::string::npos) << q.text;
        EXPECT_NE(q.text.find("Exception address: 401000\n"), std::string::npos) << q.text;
        EXPECT_NE(q.text.find("File: /opt/vx/VXKST-HD\n"), std::string::npos) << q.text;
        EXPECT_NE(access(dir.file("VXKST.crash").c_str(), F_OK), 0);
        if (answer == IDYES) {
            EXPECT_EQ(rectest::ReadFile(dir.file("VXKST.dmp")), kReport);
            ASSERT_EQ(boxes.calls.size(), 2u);
            EXPECT_NE(boxes.calls[1].text.find(dir.file("VXKST.dmp")), std::string::npos);
        } else {
            EXPECT_EQ(rectest::ReadFile(dir.file("VXKST.dmp")), "an older report");
            EXPECT_EQ(boxes.calls.size(), 1u);
        }
    }
}

TEST(CrashReport, NothingPendingAsksNothing)
{
    vxtest::TempDir dir;
    rectest::MessageBoxes boxes;
    OfferPendingCrashReport((dir.path() + "/").c_str());
    EXPECT_TRUE(boxes.calls.empty());
    rectest::WriteFile(dir.file("VXKST.crash"), "not a report");
    OfferPendingCrashReport((dir.path() + "/").c_str());
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_NE(access(dir.file("VXKST.crash").c_str(), F_OK), 0);
}

}  // namespace

VX_UI_TEST_MAIN()

// The recording search beside a camera that records: segments already
// finished are listed, the one still being written is not (and keeps
// growing and stays playable), and it is listed once its recording stops.
#include "recorder_program.h"

#include "recorder/CSearchRecordFile.h"

using namespace rectest;

namespace {

double ProbeDuration(const std::string& path)
{
    std::string out =
        vxtest::runCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 '" + path + "' 2>/dev/null");
    return atof(out.c_str());
}

std::vector<std::string> Search(const std::string& folder)
{
    const COleDateTime now = COleDateTime::GetCurrentTime();
    const COleDateTime from = now - COleDateTimeSpan(0, 1, 0, 0), to = now + COleDateTimeSpan(0, 1, 0, 0);
    CArray<STRecordFileKst> results;
    CSearchRecordFile().SearchFiles(from, to, folder.c_str(), results);
    std::vector<std::string> names;
    for (INT_PTR i = 0; i < results.GetSize(); ++i)
        names.emplace_back(results[i].strFileName.GetString());
    return names;
}

}  // namespace

TEST(RecordSearchWhileRecording, TheOpenSegmentIsListedOnlyOnceItEnds)
{
    CamsimProcess cam({"--family", "DY", "--keyint", "15"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    Program p;
    const int id = p.Add(CameraOf(cam));
    p.Run([&](CMainDlg& dlg) {
        StatusWatch watch(dlg, 0);
        const std::string folder = p.CameraFolder(id);
        dlg.DoStartCamera(0);
        ASSERT_TRUE(watch.WaitFor(2, 20000)) << "status " << watch.Now();
        ASSERT_TRUE(watch.Until([&] { return SegmentsIn(folder).size() == 1; }, 10000));
        watch.Pump(3000);
        dlg.DoStopCamera(0);
        const std::vector<std::string> finished = SegmentsIn(folder);
        ASSERT_EQ(finished.size(), 1u);
        watch.Pump(1100);  // the next segment's name is a later second

        dlg.DoStartCamera(0);
        ASSERT_TRUE(watch.Until([&] { return SegmentsIn(folder).size() == 2; }, 20000));
        std::string open;
        for (const std::string& f : SegmentsIn(folder))
            if (f != finished[0])
                open = f;
        watch.Pump(2000);
        EXPECT_EQ(Search(folder), finished);
        const long long size = FileSize(folder + open);
        watch.Pump(2000);
        EXPECT_GT(FileSize(folder + open), size) << "the open segment keeps growing";
        EXPECT_EQ(Search(folder), finished);

        dlg.DoStopCamera(0);
        EXPECT_EQ(Search(folder), (std::vector<std::string>{finished[0], open}));
        EXPECT_GT(ProbeDuration(folder + open), 2.0);
    });
}

VX_RECORDER_TEST_MAIN()

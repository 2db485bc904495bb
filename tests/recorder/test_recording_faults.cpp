// Recording in process against camsim when the disk or the database works
// against it: a record folder deleted or blocked, a disk that fills up under
// a segment, and a database another program holds locked at start.
#include "recorder_program.h"

#include <sys/mount.h>

#include <filesystem>
#include <fstream>

using namespace rectest;
namespace fs = std::filesystem;

namespace {

std::string FolderOf(CMainDlg& dlg, int row)
{
    return dlg.Slot(dlg.SlotOfRow(row)).m_stCameraInfo.REC_PATH;
}

bool Shows(CMainDlg& dlg, int row, UINT textId)
{
    return dlg.List().GetItemText(row, 0) == Text(textId);
}

std::vector<long long> SizesIn(const std::string& folder)
{
    std::vector<long long> sizes;
    for (const auto& name : SegmentsIn(folder))
        sizes.push_back(FileSize(folder + name));
    return sizes;
}

double ProbeDuration(const std::string& path)
{
    return atof(
        vxtest::runCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 '" + path + "' 2>/dev/null")
            .c_str());
}

// A small file system of its own under a folder, unmounted at the end.
class SmallDisk {
public:
    SmallDisk(const std::string& at, const char* size) : m_at(at)
    {
        mkdir(at.c_str(), 0700);
        m_mounted = mount("tmpfs", at.c_str(), "tmpfs", 0, (std::string("size=") + size).c_str()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            umount2(m_at.c_str(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }

    // Writes a file until the disk is full.
    void Fill(const std::string& path) const
    {
        std::vector<char> block(64 * 1024, 'f');
        FILE* f = fopen(path.c_str(), "wb");
        if (!f)
            return;
        setvbuf(f, nullptr, _IONBF, 0);
        while (fwrite(block.data(), 1, block.size(), f) == block.size()) {}
        while (fwrite(block.data(), 1, 512, f) == 512) {}
        fclose(f);
    }

private:
    std::string m_at;
    bool m_mounted = false;
};

}  // namespace

TEST(RecordingFaults, ARecordFolderDeletedWhileRecordingIsMadeAgainAtTheNextSegment)
{
    CamsimProcess cam({"--family", "DY", "--keyint", "15"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    Program p;
    p.Add(CameraOf(cam));
    p.Run([&](CMainDlg& dlg) {
        StatusWatch watch(dlg, 0);
        const std::string folder = FolderOf(dlg, 0);
        dlg.DoStartCamera(0);
        ASSERT_TRUE(watch.WaitFor(2, 20000)) << "status " << watch.Now();
        ASSERT_TRUE(watch.Until([&] { return SegmentsIn(folder).size() == 1; }, 10000));

        // Removed by hand, with a file in its place so that it cannot be
        // made; the stream drops, so the next segment starts soon.
        fs::remove_all(folder);
        const std::string blocker = folder.substr(0, folder.size() - 1);
        std::ofstream(blocker) << "x";
        cam.fault("stream=stop");
        ASSERT_TRUE(watch.Until([&] { return watch.Now() != 2; }, 20000));
        cam.fault("stream=resume");
        ASSERT_TRUE(watch.Until([&] { return Shows(dlg, 0, IDS_STATE_FOLDER_FAILED); }, 30000))
            << dlg.List().GetItemText(0, 0).GetString();

        // Once it can be made it is, within a retry.
        fs::remove(blocker);
        ASSERT_TRUE(watch.WaitFor(2, 15000)) << dlg.List().GetItemText(0, 0).GetString();
        EXPECT_TRUE(watch.Until([&] { return SegmentsIn(folder).size() == 1; }, 10000));
    });
}

TEST(RecordingFaults, AFullDiskClosesTheSegmentSaysSoAndRecordingGoesOnWhenSpaceReturns)
{
    CamsimProcess cam({"--family", "DY", "--keyint", "15"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    Program p;  // FreeSpace 0: the free-space guard never steps in
    SmallDisk disk(p.dir.file("disk"), "48m");
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    Camera c = CameraOf(cam);
    c.folder = p.dir.file("disk") + "/cam/";
    p.Add(c);
    p.Run([&](CMainDlg& dlg) {
        StatusWatch watch(dlg, 0);
        const std::string folder = FolderOf(dlg, 0);
        ASSERT_EQ(folder, c.folder);
        dlg.DoStartCamera(0);
        ASSERT_TRUE(watch.WaitFor(2, 20000)) << "status " << watch.Now();
        ASSERT_TRUE(watch.Until([&] { return SegmentsIn(folder).size() == 1; }, 10000));
        const std::string first = folder + SegmentsIn(folder)[0];
        // A few fragments on the disk first: they must still play afterwards.
        ASSERT_TRUE(watch.Until([&] { return FileSize(first) > 64 * 1024; }, 20000)) << FileSize(first);

        const std::string filler = p.dir.file("disk") + "/filler";
        disk.Fill(filler);
        ASSERT_TRUE(watch.Until([&] { return Shows(dlg, 0, IDS_STATE_DISK_FULL); }, 15000))
            << dlg.List().GetItemText(0, 0).GetString();
        // The retries meanwhile leave no file behind, empty or not.
        watch.Pump(10000);
        EXPECT_TRUE(Shows(dlg, 0, IDS_STATE_DISK_FULL)) << dlg.List().GetItemText(0, 0).GetString();
        EXPECT_EQ(SegmentsIn(folder).size(), 1u);
        EXPECT_GT(ProbeDuration(first), 0.5) << "what was written still plays";

        fs::remove(filler);
        ASSERT_TRUE(watch.WaitFor(2, 15000)) << dlg.List().GetItemText(0, 0).GetString();
        EXPECT_TRUE(watch.Until(
            [&] {
                const auto sizes = SizesIn(folder);
                return sizes.size() == 2 && sizes[1] > 0;
            },
            10000));
    });
    for (long long size : SizesIn(c.folder))
        EXPECT_GT(size, 0);
}

TEST(RecordingFaults, ADatabaseLockedAtStartIsReportedAndNeverReadAsEmpty)
{
    // Retry once the other program let go: the cameras are there. Cancel:
    // the recorder ends and the rows it could not read are as they were.
    for (const int answer : {IDRETRY, IDCANCEL}) {
        SCOPED_TRACE(answer);
        Program p;
        Camera c;
        c.name = "front door";
        const int id = p.Add(c);
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(GlobalInfo().m_strSqlitePath, &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        const std::string database = GlobalInfo().m_strSqlitePath.GetString();
        const std::string before = ReadFile(database);

        std::vector<std::string> boxes;
        vxw::test::SetMessageBoxHook([&](const vxw::test::MessageBoxCall& call) {
            boxes.push_back(call.caption + ": " + call.text);
            sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
            return answer;
        });
        bool ran = false;
        p.Run([&](CMainDlg& dlg) {
            ran = true;
            ASSERT_EQ(dlg.List().GetItemCount(), 1);
            EXPECT_EQ(dlg.Slot(dlg.SlotOfRow(0)).CAMERAID, id);
        });
        vxw::test::SetMessageBoxHook(nullptr);
        sqlite3_close(other);

        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], "Error: Failed to init camera data: database is locked");
        EXPECT_EQ(ran, answer == IDRETRY);
        if (answer == IDCANCEL) {
            EXPECT_EQ(ReadFile(database), before);
        }
    }
}

VX_RECORDER_TEST_MAIN()

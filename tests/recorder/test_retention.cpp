// Retention on real files with set times: only old recording segments go.
#include "recorder/CGlobalInfo.h"

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <ctime>
#include <fstream>
#include <thread>

namespace {

// A file last written `hours` ago.
std::string Aged(const vxtest::TempDir& dir, const std::string& name, double hours)
{
    std::string path = dir.file(name);
    std::ofstream(path) << "x";
    timeval tv[2];
    tv[0].tv_sec = tv[1].tv_sec = std::time(nullptr) - static_cast<time_t>(hours * 3600);
    tv[0].tv_usec = tv[1].tv_usec = 0;
    utimes(path.c_str(), tv);
    return path;
}

bool Exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

TEST(Retention, SegmentNames)
{
    const struct {
        const char* name;
        bool segment;
    } cases[] = {
        {"20240105083000.mp4", true},    {"20240105083000.avi", true},   {"2024-01-05-083000.mp4", true},
        {"20240105083000.MP4", true},    {"holiday.mp4", false},         {"2024010512.mp4", false},
        {"202401050830001.mp4", false},  {"-20240105083000.mp4", false}, {"20240105083000-.mp4", false},
        {"2024--0105083000.mp4", false}, {"20240105083000.mkv", false},  {".mp4", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CGlobalInfo::IsSegmentFileName(c.name), c.segment) << c.name;
}

TEST(Retention, OldSegmentsGoEverythingElseStays)
{
    vxtest::TempDir dir;
    std::string old25 = Aged(dir, "20240101000000.mp4", 25);
    std::string new23 = Aged(dir, "20240101010000.mp4", 23);
    std::string oldAvi = Aged(dir, "2024-01-01-020000.avi", 30);
    std::string holiday = Aged(dir, "holiday.mp4", 1000);
    std::string other = Aged(dir, "20240101000000.txt", 1000);
    std::string sub = dir.file("20240101030000.mp4");
    mkdir(sub.c_str(), 0700);
    CGlobalInfo g;
    g.DeleteOldRecordFiles(dir.path().c_str(), 0);
    EXPECT_FALSE(Exists(old25));
    EXPECT_FALSE(Exists(oldAvi));
    EXPECT_TRUE(Exists(new23));
    EXPECT_TRUE(Exists(holiday));  // the user's own video
    EXPECT_TRUE(Exists(other));
    EXPECT_TRUE(Exists(sub));
}

TEST(Retention, KeepDaysDecideTheLimit)
{
    const struct {
        int days;
        double hours;
        bool kept;
    } cases[] = {
        {7, 8 * 24 - 1, true}, {7, 8 * 24 + 1, false},  {-1, 1000, true},
        {-100, 100000, true},  {2147483647, 1e6, true}, {1000000000, 1e6, true},
    };
    for (const auto& c : cases) {
        vxtest::TempDir dir;
        std::string f = Aged(dir, "20240101000000.mp4", c.hours);
        CGlobalInfo g;
        g.DeleteOldRecordFiles(dir.path().c_str(), c.days);
        EXPECT_EQ(Exists(f), c.kept) << c.days << " days, " << c.hours << " h";
    }
}

TEST(Retention, AnExitRequestHolds)
{
    vxtest::TempDir dir;
    std::string f = Aged(dir, "20240101000000.mp4", 100);
    CGlobalInfo g;
    // Asked to stop just before a run: the run deletes nothing.
    g.RequestAbortDelete();
    g.DeleteOldRecordFiles(dir.path().c_str(), 0);
    EXPECT_TRUE(Exists(f));
}

TEST(Retention, AbortMidRunStopsAtTheNextEntry)
{
    vxtest::TempDir dir;
    const int n = 2000;
    for (int i = 0; i < n; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "202401%08d.mp4", i);
        Aged(dir, name, 100);
    }
    CGlobalInfo g;
    std::thread t([&] { g.DeleteOldRecordFiles(dir.path().c_str(), 0); });
    // Wait until the run has begun deleting, then ask it to stop.
    auto count = [&] {
        int left = 0;
        CFileFind f;
        BOOL more = f.FindFile((dir.path() + "/*.mp4").c_str());
        while (more) {
            more = f.FindNextFile();
            ++left;
        }
        return left;
    };
    for (int spins = 0; count() == n && spins < 100000; ++spins)
        std::this_thread::yield();
    g.RequestAbortDelete();
    t.join();
    int left = count();
    // Not every file went; whatever was left stays left on the next run.
    g.DeleteOldRecordFiles(dir.path().c_str(), 0);
    EXPECT_EQ(count(), left);
}

}  // namespace

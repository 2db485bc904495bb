// The recorder's decisions without a window: the hour a schedule makes of a
// moment, byte counts as shown, drives by file system, the low rule.
#include "recorder/CGlobalInfo.h"
#include "recorder/RecordLogic.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <sys/stat.h>

using namespace record_logic;

namespace {

// The mount point under which `path` lies as the kernel lists it: the
// longest mount point that is the path or one of its parents. In a container
// or chroot /dev/shm may be a folder of a /dev mount rather than a mount of
// its own.
std::string ListedMountPointOf(const std::string& path)
{
    std::ifstream in("/proc/self/mountinfo");
    std::string line, best;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string id, parent, device, root, mountPoint;
        if (!(fields >> id >> parent >> device >> root >> mountPoint))
            continue;
        bool covers = mountPoint == "/" || path == mountPoint || path.rfind(mountPoint + "/", 0) == 0;
        if (covers && mountPoint.size() > best.size())
            best = mountPoint;
    }
    return best;
}

}  // namespace

TEST(Schedule, CellOfWeekdayAndHour)
{
    // tm_wday counts from Sunday; the grids from Monday.
    EXPECT_EQ(WeekdayRow(0), 6);
    EXPECT_EQ(WeekdayRow(1), 0);
    EXPECT_EQ(WeekdayRow(6), 5);

    int continuous[7][24] = {};
    int motion[7][24] = {};
    continuous[6][23] = 1;  // Sunday 23:00
    continuous[0][0] = 2;   // Monday 00:00, any non-zero value
    motion[2][5] = 1;       // Wednesday 05:00, continuous set too
    continuous[2][5] = 1;
    motion[3][7] = 2;  // not exactly 1: continuous
    const struct {
        int tmWday, hour;
        ScheduleKind kind;
    } cases[] = {
        {0, 23, kContinuous}, {0, 22, kOffSchedule}, {1, 0, kContinuous},   {1, 1, kOffSchedule},
        {3, 5, kMotion},      {4, 7, kContinuous},   {5, 12, kOffSchedule}, {6, 0, kOffSchedule},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CellKind(continuous, motion, WeekdayRow(c.tmWday), c.hour), c.kind) << c.tmWday << " " << c.hour;
    EXPECT_EQ(CellKind(continuous, motion, 7, 0), kOffSchedule);
    EXPECT_EQ(CellKind(continuous, motion, 0, 24), kOffSchedule);
}

TEST(FreeSpace, SizesAsShown)
{
    const struct {
        uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, "0B"},
        {999, "999B"},
        {1000, "0.98KB"},
        {1048576, "1.00MB"},
        {1024000, "0.98MB"},
        {511967232, "488.2MB"},  // 488.25: the last digit is dropped, not rounded
        {1610612736, "1.50GB"},
        {500095254528ull, "465.7GB"},
        {13249974108ull, "12.3GB"},
        {2199023255552ull, "2.00TB"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(FormatSize(c.bytes).GetString(), c.text) << c.bytes;
}

TEST(FreeSpace, DrivesAreFileSystems)
{
    vxtest::TempDir dir;
    mkdir(dir.file("a").c_str(), 0700);
    // Two folders on one file system, one not made yet: one entry.
    std::vector<DriveId> one = DistinctDrives({dir.file("a/"), dir.file("b/not/yet/")});
    ASSERT_EQ(one.size(), 1u);
    struct stat st {};
    ASSERT_EQ(stat(dir.path().c_str(), &st), 0);
    EXPECT_EQ(one[0].device, static_cast<unsigned long long>(st.st_dev));
    EXPECT_FALSE(one[0].mountPoint.empty());
    EXPECT_EQ(one[0].mountPoint[0], '/');

    // Empty texts have no drive.
    DriveId none;
    EXPECT_FALSE(DriveOfFolder("", none));
    EXPECT_TRUE(DistinctDrives({"", ""}).empty());

    // A second file system beside it: two entries, in the order seen.
    struct stat shm {};
    if (stat("/dev/shm", &shm) == 0 && shm.st_dev != st.st_dev) {
        std::vector<DriveId> two = DistinctDrives({dir.file("a/"), "/dev/shm/x/", dir.file("a/b/")});
        ASSERT_EQ(two.size(), 2u);
        EXPECT_EQ(two[1].device, static_cast<unsigned long long>(shm.st_dev));
        std::string listed = ListedMountPointOf("/dev/shm");
        if (listed.empty())
            std::cout << "[ INFO     ] /proc/self/mountinfo is not readable: the mount point of /dev/shm is not checked\n";
        else
            EXPECT_EQ(two[1].mountPoint, listed);
    }
}

TEST(FreeSpace, LowBelowTheThresholdInWholeMegabytes)
{
    CGlobalInfo g;
    g.m_ullFreeSpace = 500;
    const uint64_t mb = 1024 * 1024;
    EXPECT_TRUE(g.IsLowSpace(499 * mb));
    EXPECT_TRUE(g.IsLowSpace(500 * mb - 1));
    EXPECT_FALSE(g.IsLowSpace(500 * mb));
    EXPECT_TRUE(g.IsLowSpace(0));
    g.m_ullFreeSpace = 4294967295ull;
    EXPECT_TRUE(g.IsLowSpace(1ull << 50));
}

// The recording search's folder scanner over real files: which names count
// as segments, the range rule, files still being written, read-only files,
// links and FIFOs, the order of the results, and that searching changes no
// file. Run in the C locale and in a German one.

#include "recorder/CSearchRecordFile.h"
#include "support/LocalTime.h"

#include "outside/vxplay/OutputFile.h"
#include "outside/vxplay/vxplay.h"
#include "support/TempDir.h"
#include "support/german_locale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using vxtest::LocalTime;

void MakeFile(const std::string& path, const std::string& body, time_t mtime)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::write(fd, body.data(), body.size()), ssize_t(body.size()));
    ::close(fd);
    struct timespec times[2] = {{mtime, 0}, {mtime, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

struct FileState {
    off_t size;
    struct timespec mtime, ctime;
};

std::map<std::string, FileState> StateOf(const std::string& dir, const std::vector<std::string>& names)
{
    std::map<std::string, FileState> out;
    for (const std::string& n : names) {
        struct stat st;
        if (lstat((dir + "/" + n).c_str(), &st) == 0)
            out[n] = {st.st_size, st.st_mtim, st.st_ctim};
    }
    return out;
}

bool operator==(const FileState& a, const FileState& b)
{
    return a.size == b.size && a.mtime.tv_sec == b.mtime.tv_sec && a.mtime.tv_nsec == b.mtime.tv_nsec
           && a.ctime.tv_sec == b.ctime.tv_sec && a.ctime.tv_nsec == b.ctime.tv_nsec;
}

std::vector<std::string> Names(const CArray<STRecordFileKst>& results)
{
    std::vector<std::string> names;
    for (INT_PTR i = 0; i < results.GetSize(); ++i)
        names.emplace_back(results[i].strFileName.GetString());
    return names;
}

class RecordSearch : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (GetParam() && !m_german.Use())
            GTEST_SKIP() << "no German locale can be made here";
    }
    void TearDown() override { setlocale(LC_ALL, "C"); }
    vxtest::GermanLocale m_german;
};

TEST_P(RecordSearch, ListsOverlappingSegmentsOnlyAndTouchesNoFile)
{
    vxtest::TempDir dir("vx-search");
    ASSERT_TRUE(dir.ok());
    vxtest::TempDir outside("vx-search-out");
    const auto at = [](int h, int mi, int s) { return LocalTime(2024, 1, 5, h, mi, s); };
    // name, size, last write; the range is 08:00:00 to 09:00:00.
    struct Case {
        const char* name;
        int size;
        time_t mtime;
    };
    const Case files[] = {
        {"20240105083000.mp4", 999, at(8, 31, 0)},         // plain
        {"2024-01-05-083100.avi", 1024000, at(8, 32, 0)},  // dashed form
        {"2024010512.mp4", 1, at(8, 31, 0)},               // too short
        {"20241305083000.mp4", 1, at(8, 31, 0)},           // month 13
        {"20240230083000.mp4", 1, at(8, 31, 0)},           // 30 February
        {"20240105083000 old.mp4", 1, at(8, 31, 0)},       // text after the digits
        {"20240105083500.jpg", 1, at(8, 36, 0)},           // other type
        {"20240105075000.mp4", 1, at(8, 0, 0)},            // ends at the range start
        {"20240105075001.mp4", 1, at(8, 0, 1)},            // one second inside
        {"20240105090000.mp4", 1, at(9, 1, 0)},            // starts at the range end
        {"20240105085959.mp4", 1, at(9, 0, 30)},           // starts one second before it
        {"20240105084000.avi", 1, at(8, 41, 0)},           // a tie of start times
        {"20240105084000.MP4", 1, at(8, 41, 0)},
        {"20240105084500.mp4", 1, at(8, 46, 0)},  // read-only below
        {"20240105084600.mp4", 1, at(8, 47, 0)},  // being written below
    };
    std::vector<std::string> all;
    for (const Case& c : files) {
        MakeFile(dir.file(c.name), std::string(size_t(c.size), 'x'), c.mtime);
        all.emplace_back(c.name);
    }
    ASSERT_EQ(chmod(dir.file("20240105084500.mp4").c_str(), 0444), 0);
    ASSERT_EQ(mkdir(dir.file("20240105083600.mp4").c_str(), 0755), 0);
    MakeFile(outside.file("target.mp4"), "t", at(8, 37, 0));
    ASSERT_EQ(symlink(outside.file("target.mp4").c_str(), dir.file("20240105083700.mp4").c_str()), 0);
    ASSERT_EQ(mkfifo(dir.file("20240105083800.mp4").c_str(), 0644), 0);
    all.insert(all.end(), {"20240105083600.mp4", "20240105083700.mp4", "20240105083800.mp4"});

    // A writer's open file description lock, as the recorder's segments carry.
    int writer = ::open(dir.file("20240105084600.mp4").c_str(), O_WRONLY);
    ASSERT_GE(writer, 0);
    struct flock lk = {};
    lk.l_type = F_WRLCK;
    lk.l_whence = SEEK_SET;
    ASSERT_EQ(fcntl(writer, F_OFD_SETLK, &lk), 0);

    const auto before = StateOf(dir.path(), all);
    const auto targetBefore = StateOf(outside.path(), {"target.mp4"});
    COleDateTime from(2024, 1, 5, 8, 0, 0), to(2024, 1, 5, 9, 0, 0);
    CSearchRecordFile search;
    CArray<STRecordFileKst> results;
    search.SearchFiles(from, to, dir.path().c_str(), results);

    const std::vector<std::string> expected = {"20240105075001.mp4", "20240105083000.mp4", "2024-01-05-083100.avi",
                                               "20240105084000.MP4", "20240105084000.avi", "20240105085959.mp4"};
    EXPECT_EQ(Names(results), expected);
    ASSERT_EQ(results.GetSize(), 6);
    EXPECT_STREQ(results[1].strStartTime, "2024-01-05 08:30:00");
    EXPECT_STREQ(results[1].strEndTime, "2024-01-05 08:31:00");
    EXPECT_STREQ(results[1].strSize, "999B");
    EXPECT_EQ(std::string(results[1].strFilePath.GetString()), dir.file("20240105083000.mp4"));
    EXPECT_STREQ(results[2].strStartTime, "2024-01-05 08:31:00");
    EXPECT_STREQ(results[2].strSize, "0.98MB");

    // Searching changed nothing, not even the inode times.
    EXPECT_EQ(StateOf(dir.path(), all), before);
    EXPECT_EQ(StateOf(outside.path(), {"target.mp4"}), targetBefore);

    // Once the writer lets go, the segment is listed.
    ::close(writer);
    search.SearchFiles(from, to, (dir.path() + "/").c_str(), results);
    EXPECT_EQ(results.GetSize(), 7);
    EXPECT_STREQ(results[5].strFileName, "20240105084600.mp4");
}

INSTANTIATE_TEST_SUITE_P(Locales, RecordSearch, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "German" : "C"; });

TEST(RecordSearchNames, StartOnlyFromRealDatesInFixedFields)
{
    const struct {
        const char* name;
        bool ok;
    } cases[] = {
        {"20240229235959.mp4", true},    {"20230229000000.mp4", false},  {"19000229000000.avi", false},
        {"20000229000000.avi", true},    {"20240105240000.mp4", false},  {"20240105086000.mp4", false},
        {"20240105080060.mp4", false},   {"20240100080000.mp4", false},  {"2024-01-05-08-30-00.mp4", true},
        {"2024--0105083000.mp4", false}, {"-20240105083000.mp4", false}, {"20240105083000.mp4.part", false},
        {"２0240105083000.mp4", false},
    };
    for (const auto& c : cases) {
        COleDateTime start;
        EXPECT_EQ(CSearchRecordFile::ParseSegmentName(c.name, start), c.ok) << c.name;
    }
}

TEST(RecordSearchNames, EqualStartsKeepTheReverseOfTheScan)
{
    CArray<STRecordFileKst> list;
    const char* rows[][2] = {{"2024-01-05 08:00:00", "a"},
                             {"2024-01-05 07:00:00", "b"},
                             {"2024-01-05 08:00:00", "c"},
                             {"2024-01-05 08:00:00", "d"}};
    for (auto& r : rows) {
        STRecordFileKst rec;
        rec.strStartTime = r[0];
        rec.strFileName = r[1];
        list.Add(rec);
    }
    CSearchRecordFile().SortByStartTime(list);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "d", "c", "a"}));
}

TEST(RecordSearchWriter, OutputFileHoldsItsLockUntilClosed)
{
    vxtest::TempDir dir("vx-search-lock");
    const std::string path = dir.file("20240105083000.mp4");
    vxplay::OutputFile out;
    ASSERT_EQ(out.create(path), VXPLAY_OK);
    EXPECT_TRUE(vxk::IsFileBeingWritten(path.c_str()));
    // A second descriptor of the same file closed in this process keeps the
    // lock: it belongs to the writer's open file description.
    ::close(::open(path.c_str(), O_RDONLY));
    EXPECT_TRUE(vxk::IsFileBeingWritten(path.c_str()));
    out.close();
    EXPECT_FALSE(vxk::IsFileBeingWritten(path.c_str()));
    EXPECT_FALSE(vxk::IsFileBeingWritten(dir.path().c_str()));
}

}  // namespace

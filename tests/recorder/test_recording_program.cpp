// The real program recording two simulated cameras for about two and a half
// minutes: segments of the record length, a camera that vanishes and comes
// back, "-stop_rec", "-start_rec" and "-exit" from second starts, and every
// segment playable afterwards.
#include "program_instance.h"

#include "support/CamsimProcess.h"
#include "support/RunCommand.h"

#include <dirent.h>
#include <sqlite3.h>

#include <algorithm>
#include <ctime>

using namespace progtest;

namespace {

const char* const kCreateCamera =
    "CREATE TABLE TBL_CAMERA (CAMERAID INTEGER PRIMARY KEY AUTOINCREMENT, IP TEXT, NAME TEXT, PORT INTEGER, "
    "CHANNEL INTEGER, UID TEXT, PWD TEXT, TYPE INTEGER, STREAM INTEGER, RTSP INTEGER, PIN TEXT, FLAG INTEGER);";
const char* const kCreateSchedule =
    "CREATE TABLE TBL_CHANNEL_LIST (CAMERAID INTEGER PRIMARY KEY, MON_SREC_TIME TEXT, TUE_SREC_TIME TEXT, "
    "WED_SREC_TIME TEXT, THU_SREC_TIME TEXT, FRI_SREC_TIME TEXT, SAT_SREC_TIME TEXT, SUN_SREC_TIME TEXT, "
    "MON_NACT_TIME TEXT, TUE_NACT_TIME TEXT, WED_NACT_TIME TEXT, THU_NACT_TIME TEXT, FRI_NACT_TIME TEXT, "
    "SAT_NACT_TIME TEXT, SUN_NACT_TIME TEXT, REC_ENABLE INTEGER, REC_PATH TEXT, REC_DAYS INTEGER, "
    "REC_DURATION INTEGER, FLAG INTEGER);";

void AddCamera(sqlite3* db, const CamsimProcess& cam, const std::string& name)
{
    std::string sql = "INSERT INTO TBL_CAMERA(IP, NAME, PORT, CHANNEL, UID, PWD, TYPE, STREAM, RTSP, PIN, FLAG) "
                      "VALUES('127.0.0.1', '"
                      + name + "', " + std::to_string(cam.httpPort()) + ", 0, 'admin', 'admin', 2, 0, "
                      + std::to_string(cam.rtspPort()) + ", '', 0);";
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    std::string hours;
    for (int h = 0; h < 24; ++h)
        hours += std::to_string(h) + ",";
    std::string schedule = "INSERT INTO TBL_CHANNEL_LIST VALUES(last_insert_rowid()";
    for (int d = 0; d < 7; ++d)
        schedule += ", '" + hours + "'";
    for (int d = 0; d < 7; ++d)
        schedule += ", ''";
    schedule += ", 1, '', 7, 0, 0);";
    ASSERT_EQ(sqlite3_exec(db, schedule.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
}

std::vector<std::string> Segments(const std::string& dir)
{
    std::vector<std::string> files;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n.size() == 18 && n.compare(14, 4, ".mp4") == 0)
                files.push_back(n);
        }
        closedir(d);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The start time in a segment's name.
time_t StartOf(const std::string& name)
{
    struct tm t {};
    if (!strptime(name.substr(0, 14).c_str(), "%Y%m%d%H%M%S", &t))
        return 0;
    t.tm_isdst = -1;
    return mktime(&t);
}

long long Size(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

// The sizes of every segment of the folders, by path.
std::vector<std::pair<std::string, long long>> Snapshot(const std::vector<std::string>& dirs)
{
    std::vector<std::pair<std::string, long long>> all;
    for (const auto& dir : dirs) {
        for (const auto& f : Segments(dir))
            all.emplace_back(dir + f, Size(dir + f));
    }
    return all;
}

std::string Probe(const std::string& path)
{
    std::string out = vxtest::runCommand("ffprobe -v error -select_streams v:0 -show_entries "
                                         "stream=codec_name:format=duration -of csv=p=0 '"
                                         + path + "' 2>/dev/null");
    std::replace(out.begin(), out.end(), '\n', ',');
    return out;
}

double Duration(const std::string& path)
{
    std::string out =
        vxtest::runCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 '" + path + "' 2>/dev/null");
    return atof(out.c_str());
}

}  // namespace

TEST(RecordingProgram, SegmentsReconnectsAndTheSecondStartsCommands)
{
    CamsimProcess a({"--family", "DY", "--keyint", "15"});
    CamsimProcess b({"--family", "DY", "--keyint", "15"});
    ASSERT_TRUE(a.ok() && b.ok());
    Folder f;
    std::ofstream(f.dir.file("config/vxkstcfg.ini")) << "[Config]\nlog_level=4\nDataType=1\npreRecordlen=2000\n"
                                                        "[SysParam]\nStartRecord=1\nRecordLength=1\nFreeSpace=0\n";
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(f.dir.file("VXKST.sqlite").c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, kCreateCamera, nullptr, nullptr, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, kCreateSchedule, nullptr, nullptr, nullptr), SQLITE_OK);
        AddCamera(db, a, "A");
        AddCamera(db, b, "B");
        sqlite3_close(db);
    }
    const std::string dirA = f.dir.file("movies/Camera-1/"), dirB = f.dir.file("movies/Camera-2/");

    Instance program(f, {});
    ASSERT_TRUE(WaitUntil([&] { return !Segments(dirA).empty() && !Segments(dirB).empty(); }, 30)) << f.Log();
    const time_t firstA = StartOf(Segments(dirA)[0]);

    // B vanishes for 10 s: its file ends, a new one starts soon after it
    // is back.
    std::this_thread::sleep_for(std::chrono::seconds(5));
    b.fault("vanish=10");
    const time_t back = time(nullptr) + 10;
    ASSERT_TRUE(WaitUntil([&] { return Segments(dirB).size() >= 2; }, 40)) << f.Log();
    EXPECT_LE(StartOf(Segments(dirB).back()), back + 5 + 1);

    // A's first segment is cut at the record length.
    ASSERT_TRUE(WaitUntil([&] { return Segments(dirA).size() >= 2; }, 90)) << f.Log();
    EXPECT_NEAR(static_cast<double>(StartOf(Segments(dirA)[1]) - firstA), 60.0, 3.0);

    // "-stop_rec": every file closes and none follows.
    {
        Instance stop(f, {"-stop_rec"});
        EXPECT_EQ(stop.Wait(), 0);
    }
    std::this_thread::sleep_for(std::chrono::seconds(3));
    auto stopped = Snapshot({dirA, dirB});
    std::this_thread::sleep_for(std::chrono::seconds(5));
    EXPECT_EQ(Snapshot({dirA, dirB}), stopped) << "a file grew or came after -stop_rec";
    const size_t countA = Segments(dirA).size(), countB = Segments(dirB).size();

    // "-start_rec": both record again.
    {
        Instance start(f, {"-start_rec"});
        EXPECT_EQ(start.Wait(), 0);
    }
    EXPECT_TRUE(WaitUntil([&] { return Segments(dirA).size() > countA && Segments(dirB).size() > countB; }, 30));
    std::this_thread::sleep_for(std::chrono::seconds(4));

    // "-exit": the program ends cleanly.
    auto exitAt = std::chrono::steady_clock::now();
    {
        Instance ender(f, {"-exit"});
        EXPECT_EQ(ender.Wait(), 0);
    }
    EXPECT_EQ(program.Wait(15), 0);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - exitAt).count(), 16.0);
    EXPECT_EQ(access(f.dir.file("VXKST.dmp").c_str(), F_OK), -1);

    // Every segment plays; a full one lasts the record length plus at most
    // the pre-record and a key-frame interval.
    for (const auto& dir : {dirA, dirB}) {
        std::vector<std::string> files = Segments(dir);
        for (size_t i = 0; i < files.size(); ++i) {
            std::string probe = Probe(dir + files[i]);
            EXPECT_EQ(probe.rfind("h264,", 0), 0u) << files[i] << ": " << probe;
            double d = Duration(dir + files[i]);
            EXPECT_GT(d, 0.0) << files[i];
            EXPECT_LE(d, 60.0 + 2.0 + 1.0 + 1.5) << files[i];
        }
    }
    const double full = Duration(dirA + Segments(dirA)[0]);
    EXPECT_GE(full, 58.0);
    std::string log = f.Log();
    EXPECT_EQ(log.find("FATAL:"), std::string::npos) << log;
}

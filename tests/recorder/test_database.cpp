// The camera database over real SQLite files.
#include "recorder_test_env.h"

#include "recorder/CDBOper.h"

#include <sqlite3.h>

#include <cstring>

namespace {

struct Db {
    vxtest::TempDir dir;
    CDBOper db;
    Db()
    {
        db.m_nKind = 1;
        db.m_strSqlitePath = dir.file("VXKST.sqlite").c_str();
        db.m_strLegacyPath = dir.file("VXKST.dat").c_str();
        db.m_strMoviePath = (dir.path() + "/movies/").c_str();
    }
    int Exec(const char* sql)
    {
        sqlite3* h = nullptr;
        sqlite3_open(db.m_strSqlitePath, &h);
        int rc = sqlite3_exec(h, sql, nullptr, nullptr, nullptr);
        sqlite3_close(h);
        return rc;
    }
    int Count(const char* sql)
    {
        sqlite3* h = nullptr;
        sqlite3_open(db.m_strSqlitePath, &h);
        sqlite3_stmt* st = nullptr;
        int n = -1;
        if (sqlite3_prepare_v2(h, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            n = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
        sqlite3_close(h);
        return n;
    }
};

STIPCfgKst Camera(const char* ip, const char* name)
{
    STIPCfgKst c;
    c.CAMERAID = -1;
    CopyTextField(c.IP, ip);
    CopyTextField(c.NAME, name);
    CopyTextField(c.UID, "admin");
    CopyTextField(c.PWD, "pa'ss");
    c.PORT = 80;
    c.TYPE = 2;
    c.RTSP = 554;
    return c;
}

TEST(Database, AFreshFolderGetsBothTablesOnce)
{
    Db d;
    rectest::MessageBoxes boxes;
    d.db.InitDatabase();
    EXPECT_FALSE(d.db.IsOpen());
    EXPECT_EQ(d.Count("select count(*) from sqlite_master where type='table' and name like 'TBL_%'"), 2);
    // A file that lost its schedule table gets it back; the cameras stay.
    ASSERT_GE(d.db.SaveCamera(Camera("10.0.0.1", "one")), 1);
    d.Exec("DROP TABLE TBL_CHANNEL_LIST");
    d.db.InitDatabase();
    EXPECT_EQ(d.Count("select count(*) from sqlite_master where name='TBL_CHANNEL_LIST'"), 1);
    EXPECT_EQ(d.Count("select count(*) from TBL_CAMERA"), 1);
    CArray<STIPCfgKst> cams;
    d.db.LoadCameras(cams);
    EXPECT_EQ(cams.GetSize(), 1);
    EXPECT_TRUE(boxes.calls.empty());
}

TEST(Database, TextsRoundTripAsTyped)
{
    Db d;
    d.db.InitDatabase();
    const char* names[] = {"it's \"quoted\"", "100% sure; DROP TABLE TBL_CAMERA;--", "Kamera Küche ☃"};
    std::vector<int> ids;
    for (const char* n : names)
        ids.push_back(d.db.SaveCamera(Camera("cam.example", n)));
    CArray<STIPCfgKst> cams;
    d.db.LoadCameras(cams);
    ASSERT_EQ(cams.GetSize(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(cams[i].CAMERAID, ids[static_cast<size_t>(i)]);
        EXPECT_STREQ(cams[i].NAME, names[i]);
        EXPECT_STREQ(cams[i].PWD, "pa'ss");
        EXPECT_EQ(cams[i].TYPE, 2);
        // A camera without a schedule row gets its default folder.
        CString folder;
        folder.Format("%s/movies/Camera-%d/", d.dir.path().c_str(), cams[i].CAMERAID);
        EXPECT_STREQ(cams[i].m_stCameraInfo.REC_PATH, folder.GetString());
        EXPECT_TRUE(PathIsDirectoryA(folder));
    }
    // Editing keeps the id.
    STIPCfgKst edit = cams[1];
    CopyTextField(edit.NAME, "renamed");
    EXPECT_EQ(d.db.SaveCamera(edit), edit.CAMERAID);
    d.db.LoadCameras(cams);
    EXPECT_STREQ(cams[1].NAME, "renamed");
}

TEST(Database, TextsAreCutAtACharacterBoundary)
{
    char field[5];
    CopyTextField(field, "ab☃");  // 'a' 'b' and three bytes: does not fit
    EXPECT_STREQ(field, "ab");
    CopyTextField(field, "abcdef");
    EXPECT_STREQ(field, "abcd");
    CopyTextField(field, "aé☃");
    EXPECT_STREQ(field, "aé");
    CopyTextField(field, nullptr);
    EXPECT_STREQ(field, "");
}

TEST(Database, AFailedInsertIsAFailure)
{
    Db d;
    d.db.InitDatabase();
    ASSERT_GE(d.db.SaveCamera(Camera("a", "first")), 1);
    ASSERT_EQ(d.Exec("CREATE TRIGGER no_more BEFORE INSERT ON TBL_CAMERA BEGIN SELECT RAISE(ABORT, 'full'); END"),
              SQLITE_OK);
    rectest::MessageBoxes boxes;
    EXPECT_EQ(d.db.SaveCamera(Camera("b", "second")), -1);
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].caption, "Error");
    EXPECT_NE(boxes.calls[0].text.find("Failed to save camera: "), std::string::npos);
    EXPECT_NE(boxes.calls[0].text.find("full"), std::string::npos);
    EXPECT_EQ(d.Count("select count(*) from TBL_CAMERA"), 1);
}

TEST(Database, HourLists)
{
    int grid[7][24] = {};
    grid[0][0] = grid[0][23] = 1;
    grid[2][8] = grid[2][9] = grid[2][10] = 1;
    grid[3][5] = 2;  // only exactly 1 counts
    EXPECT_STREQ(CDBOper::EncodeHours(grid).GetString(), "'0,23,', '', '8,9,10,', '', '', '', '', ");

    const struct {
        const char* text;
        std::vector<int> hours;
    } cases[] = {
        {"8,9,10,", {8, 9, 10}}, {"", {}}, {"24,-1,5", {}}, {"3,3,", {3}}, {"0,23,", {0, 23}}, {",,7,", {7}},
    };
    for (const auto& c : cases) {
        int g[7][24] = {};
        CDBOper::DecodeHours(c.text, 4, &g[0][0]);
        std::vector<int> got;
        for (int h = 0; h < 24; ++h)
            if (g[4][h])
                got.push_back(h);
        EXPECT_EQ(got, c.hours) << c.text;
        for (int day = 0; day < 7; ++day) {
            for (int h = 0; h < 24; ++h) {
                if (day != 4) {
                    EXPECT_EQ(g[day][h], 0);
                }
            }
        }
    }
}

TEST(Database, AtMost300CamerasLoad)
{
    Db d;
    d.db.InitDatabase();
    d.Exec("BEGIN");
    std::string sql;
    for (int i = 1; i <= 301; ++i)
        sql += "INSERT INTO TBL_CAMERA(CAMERAID, IP, FLAG) VALUES(" + std::to_string(i) + ", 'h', 0);";
    sql += "INSERT INTO TBL_CAMERA(CAMERAID, IP, FLAG) VALUES(1000, 'hidden', 1);";
    ASSERT_EQ(d.Exec(("BEGIN;" + sql + "COMMIT;").c_str()), SQLITE_OK);
    CArray<STIPCfgKst> cams;
    d.db.LoadCameras(cams);
    ASSERT_EQ(cams.GetSize(), 300);
    EXPECT_EQ(cams[0].CAMERAID, 1);
    EXPECT_EQ(cams[299].CAMERAID, 300);
}

TEST(Database, SchedulesApplyToAllKeepEachCamerasOwnFields)
{
    Db d;
    d.db.InitDatabase();
    CArray<STCameraInfoKst> list;
    for (int i = 0; i < 3; ++i) {
        STCameraInfoKst s;
        s.CAMERAID = 10 + i;
        s.REC_ENABLE = i % 2;
        s.REC_DAYS = 3 + i;
        s.REC_DURATION = 7 * i;
        std::string path = d.dir.file("own-" + std::to_string(i) + "-it's/");
        CopyTextField(s.REC_PATH, path.c_str());
        s.arrContinuous[i][i] = 1;
        s.arrMotion[6][20 + i] = 1;
        list.Add(s);
    }
    d.db.SaveSchedules(list, 2, TRUE);
    for (int i = 0; i < 3; ++i) {
        STCameraInfoKst s;
        s.CAMERAID = 10 + i;
        d.db.LoadSchedule(s, TRUE);
        EXPECT_EQ(s.arrContinuous[2][2], 1);
        EXPECT_EQ(s.arrContinuous[i][i], i == 2 ? 1 : 0);
        EXPECT_EQ(s.arrMotion[6][22], 1);
        EXPECT_EQ(s.REC_ENABLE, i % 2);
        EXPECT_EQ(s.REC_DAYS, 3 + i);
        EXPECT_EQ(s.REC_DURATION, 7 * i);
        EXPECT_STREQ(s.REC_PATH, d.dir.file("own-" + std::to_string(i) + "-it's/").c_str());
    }
    EXPECT_FALSE(d.db.IsOpen());
}

TEST(Database, ASavedScheduleReplacesAllRowsAtOnce)
{
    Db d;
    d.db.InitDatabase();
    CArray<STCameraInfoKst> list;
    STCameraInfoKst a;
    a.CAMERAID = 1;
    list.Add(a);
    STCameraInfoKst b;
    b.CAMERAID = 2;
    list.Add(b);
    EXPECT_TRUE(d.db.SaveSchedules(list, -1, FALSE));
    EXPECT_EQ(d.Count("select count(*) from TBL_CHANNEL_LIST"), 2);
    // A failing row shows its message; the others are still written.
    rectest::MessageBoxes boxes;
    list[1].CAMERAID = 1;  // a duplicate key
    EXPECT_FALSE(d.db.SaveSchedules(list, -1, FALSE));
    EXPECT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(d.Count("select count(*) from TBL_CHANNEL_LIST"), 1);
}

}  // namespace

VX_UI_TEST_MAIN()

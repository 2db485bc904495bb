// The one-time import of a legacy database file. No writer of the legacy
// format is at hand, so the mapping is driven through the reader's interface
// with rows as the reader hands them over; the real reader (a child process)
// is driven with files it cannot read.
#include "recorder_test_env.h"

#include "recorder/CDBOper.h"

#include <random>

namespace {

class RowsReader : public ILegacyReader {
public:
    explicit RowsReader(LegacyTables t, int* calls) : m_tables(std::move(t)), m_calls(calls) {}
    bool Read(const std::string&, LegacyTables& out, std::string&) override
    {
        ++*m_calls;
        out = m_tables;
        return true;
    }

private:
    LegacyTables m_tables;
    int* m_calls;
};

struct Folder {
    vxtest::TempDir dir;
    std::string legacy = dir.file("VXKST.dat");
    void Setup(CDBOper& db, int kind)
    {
        db.m_nKind = kind;
        db.m_strSqlitePath = dir.file("VXKST.sqlite").c_str();
        db.m_strLegacyPath = legacy.c_str();
        db.m_strMoviePath = (dir.path() + "/movies/").c_str();
    }
};

LegacyTables SampleTables()
{
    LegacyTables t;
    // A file from before the four columns, and one with them.
    t.cameras.push_back({{"CAMERAID", "7"},
                         {"IP", "10.0.0.7"},
                         {"NAME", "Gate"},
                         {"PORT", "9660"},
                         {"CHANNEL", "0"},
                         {"UID", "admin"},
                         {"PWD", "x'y"},
                         {"FLAG", "0"}});
    t.cameras.push_back({{"CAMERAID", "12"},
                         {"IP", "cam12"},
                         {"NAME", "Yard"},
                         {"PORT", "80"},
                         {"CHANNEL", "1"},
                         {"UID", "u"},
                         {"PWD", "p"},
                         {"TYPE", "2"},
                         {"STREAM", "1"},
                         {"RTSP", "8554"},
                         {"PIN", "1234"},
                         {"FLAG", "0"}});
    t.schedules.push_back({{"CAMERAID", "7"},
                           {"MON_SREC_TIME", "8,9,"},
                           {"SUN_NACT_TIME", "23,"},
                           {"REC_ENABLE", "1"},
                           {"REC_PATH", "D:\\records\\gate"},
                           {"REC_DAYS", "5"},
                           {"REC_DURATION", "30"}});
    t.schedules.push_back({{"CAMERAID", "12"}, {"REC_ENABLE", "1"}, {"REC_PATH", "\\\\server\\share"}});
    return t;
}

TEST(LegacyImport, RowsComeOverOnceWithTheirIds)
{
    Folder f;
    rectest::WriteFile(f.legacy, "legacy bytes");
    int calls = 0;
    {
        CDBOper db;
        f.Setup(db, 0);
        db.m_pLegacyReader = std::make_unique<RowsReader>(SampleTables(), &calls);
        db.InitDatabase();
        EXPECT_EQ(calls, 1);
        CArray<STIPCfgKst> cams;
        db.LoadCameras(cams);
        ASSERT_EQ(cams.GetSize(), 2);
        EXPECT_EQ(cams[0].CAMERAID, 7);
        EXPECT_STREQ(cams[0].IP, "10.0.0.7");
        EXPECT_STREQ(cams[0].PWD, "x'y");
        // Missing columns: what the older upgrade wrote.
        EXPECT_EQ(cams[0].TYPE, 0);
        EXPECT_EQ(cams[0].STREAM, 0);
        EXPECT_EQ(cams[0].RTSP, 554);
        EXPECT_STREQ(cams[0].PIN, "");
        EXPECT_EQ(cams[0].m_stCameraInfo.arrContinuous[0][8], 1);
        EXPECT_EQ(cams[0].m_stCameraInfo.arrContinuous[0][9], 1);
        EXPECT_EQ(cams[0].m_stCameraInfo.arrMotion[6][23], 1);
        EXPECT_EQ(cams[0].m_stCameraInfo.REC_DAYS, 5);
        // Windows folders mean nothing here: the default folder applies.
        EXPECT_STREQ(cams[0].m_stCameraInfo.REC_PATH, (f.dir.path() + "/movies/Camera-7/").c_str());
        EXPECT_STREQ(cams[1].m_stCameraInfo.REC_PATH, (f.dir.path() + "/movies/Camera-12/").c_str());
        EXPECT_EQ(cams[1].TYPE, 2);
        EXPECT_EQ(cams[1].RTSP, 8554);
        EXPECT_STREQ(cams[1].PIN, "1234");
        // New cameras continue after the imported ids.
        STIPCfgKst c;
        c.CAMERAID = -1;
        EXPECT_EQ(db.SaveCamera(c), 13);
    }
    // The next start imports nothing again, even after the cameras went.
    CDBOper db;
    f.Setup(db, 0);
    db.m_pLegacyReader = std::make_unique<RowsReader>(SampleTables(), &calls);
    db.DeleteCamera(7);
    db.DeleteCamera(12);
    db.DeleteCamera(13);
    db.InitDatabase();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(rectest::ReadFile(f.legacy), "legacy bytes");
}

TEST(LegacyImport, KindOneOrNoFileReadsNothing)
{
    for (int kind : {0, 1}) {
        Folder f;
        if (kind == 1)
            rectest::WriteFile(f.legacy, "legacy bytes");
        int calls = 0;
        CDBOper db;
        f.Setup(db, kind);
        db.m_pLegacyReader = std::make_unique<RowsReader>(SampleTables(), &calls);
        db.InitDatabase();
        EXPECT_EQ(calls, 0);
        CArray<STIPCfgKst> cams;
        db.LoadCameras(cams);
        EXPECT_EQ(cams.GetSize(), 0);
    }
}

TEST(LegacyImport, ABadRowLeavesNoRows)
{
    Folder f;
    rectest::WriteFile(f.legacy, "legacy bytes");
    LegacyTables t = SampleTables();
    t.cameras.push_back({{"CAMERAID", "7"}, {"IP", "duplicate"}});
    int calls = 0;
    rectest::MessageBoxes boxes;
    CDBOper db;
    f.Setup(db, 0);
    db.m_pLegacyReader = std::make_unique<RowsReader>(t, &calls);
    db.InitDatabase();
    ASSERT_EQ(boxes.calls.size(), 1u);
    CArray<STIPCfgKst> cams;
    db.LoadCameras(cams);
    EXPECT_EQ(cams.GetSize(), 0);
}

TEST(LegacyImport, UnreadableFilesAreReportedAndLeftAlone)
{
    std::mt19937 rng(7);
    std::string random(64 * 1024, '\0');
    for (char& c : random)
        c = static_cast<char>(rng());
    // The start of a real file's header with nothing behind it.
    std::string truncated("\x00\x01\x00\x00Standard Jet DB\x00\x01\x00\x00\x00", 24);
    for (const std::string& bytes : {random, truncated, std::string()}) {
        Folder f;
        rectest::WriteFile(f.legacy, bytes);
        rectest::MessageBoxes boxes;
        CDBOper db;
        f.Setup(db, 0);
        db.m_pLegacyReader = MakeMdbReader(std::string(VX_BIN_DIR) + "/vxkst-mdbread");
        db.InitDatabase();
        ASSERT_EQ(boxes.calls.size(), 1u);
        EXPECT_EQ(boxes.calls[0].caption, "Error");
        EXPECT_NE(boxes.calls[0].text.find(f.legacy), std::string::npos);
        EXPECT_NE(boxes.calls[0].text.find("not imported"), std::string::npos);
        EXPECT_EQ(rectest::ReadFile(f.legacy), bytes);
        CArray<STIPCfgKst> cams;
        db.LoadCameras(cams);
        EXPECT_EQ(cams.GetSize(), 0);
    }
}

TEST(LegacyImport, TheReadersLinesRoundTrip)
{
    LegacyRow row{{"IP", "a\tb\nc"}, {"NAME", "☃"}, {"PWD", ""}};
    LegacyTables t;
    ASSERT_TRUE(ParseLegacyRows(FormatLegacyRow("TBL_CAMERA", row) + FormatLegacyRow("TBL_CHANNEL_LIST", {}), t));
    ASSERT_EQ(t.cameras.size(), 1u);
    EXPECT_EQ(t.cameras[0], row);
    EXPECT_EQ(t.schedules.size(), 1u);
    EXPECT_FALSE(ParseLegacyRows("TBL_OTHER\n", t));
    EXPECT_FALSE(ParseLegacyRows("TBL_CAMERA\tIP=zz\n", t));
}

}  // namespace

VX_UI_TEST_MAIN()

// The one-time import of real legacy database files, written by a small
// Jet 4 writer and read by the real reader in its child process.
#include "recorder_test_env.h"

#include "recorder/CDBOper.h"
#include "support/Jet4Writer.h"

#include <sys/stat.h>

namespace {

using vxtest::JetColumn;
using vxtest::JetTable;
using Value = std::optional<std::string>;

Value V(const char* s)
{
    return std::string(s);
}

std::vector<JetColumn> CameraColumns(bool withNewColumns)
{
    std::vector<JetColumn> c = {{"CAMERAID", JetColumn::Long}, {"IP", JetColumn::Text},      {"NAME", JetColumn::Text},
                                {"PORT", JetColumn::Long},     {"CHANNEL", JetColumn::Long}, {"UID", JetColumn::Text},
                                {"PWD", JetColumn::Text},      {"FLAG", JetColumn::Long}};
    if (withNewColumns) {
        c.push_back({"TYPE", JetColumn::Long});
        c.push_back({"STREAM", JetColumn::Long});
        c.push_back({"RTSP", JetColumn::Long});
        c.push_back({"PIN", JetColumn::Text});
    }
    return c;
}

JetTable Schedules()
{
    JetTable t{"TBL_CHANNEL_LIST", {{"CAMERAID", JetColumn::Long}}, {}};
    for (const char* day : {"MON", "TUE", "WED", "THU", "FRI", "SAT", "SUN"})
        t.columns.push_back({std::string(day) + "_SREC_TIME", JetColumn::Text});
    for (const char* day : {"MON", "TUE", "WED", "THU", "FRI", "SAT", "SUN"})
        t.columns.push_back({std::string(day) + "_NACT_TIME", JetColumn::Text});
    for (const char* c : {"REC_ENABLE"})
        t.columns.push_back({c, JetColumn::Long});
    t.columns.push_back({"REC_PATH", JetColumn::Text});
    t.columns.push_back({"REC_DAYS", JetColumn::Long});
    t.columns.push_back({"REC_DURATION", JetColumn::Long});
    t.columns.push_back({"FLAG", JetColumn::Long});
    auto row = [](const char* id, const char* monday, const char* sundayMotion, const char* path) {
        std::vector<Value> r = {V(id), V(monday)};
        for (int i = 0; i < 5; ++i)
            r.push_back(V(""));
        r.push_back(std::nullopt);
        for (int i = 0; i < 6; ++i)
            r.push_back(V(""));
        r.push_back(V(sundayMotion));
        r.insert(r.end(), {V("1"), V(path), V("5"), V("30"), std::nullopt});
        return r;
    };
    t.rows.push_back(row("7", "8,9,", "23,", "D:\\records\\gate"));
    t.rows.push_back(row("40", "", "", "\\\\server\\share"));
    return t;
}

struct Folder {
    vxtest::TempDir dir;
    std::string legacy = dir.file("VXKST.dat");
    void Setup(CDBOper& db)
    {
        db.m_nKind = 0;
        db.m_strSqlitePath = dir.file("VXKST.sqlite").c_str();
        db.m_strLegacyPath = legacy.c_str();
        db.m_strMoviePath = (dir.path() + "/movies/").c_str();
        db.m_pLegacyReader = MakeMdbReader(std::string(VX_BIN_DIR) + "/vxkst-mdbread");
    }
};

TEST(LegacyFiles, CamerasComeOverOnceWithTheirIds)
{
    for (bool withNewColumns : {false, true}) {
        Folder f;
        JetTable cams{"TBL_CAMERA", CameraColumns(withNewColumns), {}};
        std::vector<Value> gate = {V("7"), V("10.0.0.7"), V("Tor Küche"), V("9660"),
                                   V("0"), V("admin"),    V("it's"),      V("0")};
        std::vector<Value> yard = {V("40"), V("yard.example"), V("Yard"), V("80"), V("2"), V("u"), V("p"), V("0")};
        if (withNewColumns) {
            gate.insert(gate.end(), {V("0"), V("1"), V("8554"), V("1234")});
            yard.insert(yard.end(), {V("2"), std::nullopt, std::nullopt, std::nullopt});
        }
        cams.rows = {gate, yard};
        ASSERT_TRUE(vxtest::Jet4Writer::Write(f.legacy, {cams, Schedules()}));
        std::string bytes = rectest::ReadFile(f.legacy);
        rectest::MessageBoxes boxes;
        {
            CDBOper db;
            f.Setup(db);
            db.InitDatabase();
            EXPECT_TRUE(boxes.calls.empty()) << (boxes.calls.empty() ? "" : boxes.calls[0].text);
            CArray<STIPCfgKst> list;
            db.LoadCameras(list);
            ASSERT_EQ(list.GetSize(), 2);
            EXPECT_EQ(list[0].CAMERAID, 7);
            EXPECT_STREQ(list[0].NAME, "Tor Küche");
            EXPECT_STREQ(list[0].PWD, "it's");
            EXPECT_EQ(list[0].PORT, 9660);
            EXPECT_EQ(list[0].STREAM, withNewColumns ? 1 : 0);
            EXPECT_EQ(list[0].RTSP, withNewColumns ? 8554 : 554);
            EXPECT_STREQ(list[0].PIN, withNewColumns ? "1234" : "");
            EXPECT_EQ(list[1].CAMERAID, 40);
            EXPECT_EQ(list[1].CHANNEL, 2);
            EXPECT_EQ(list[1].TYPE, withNewColumns ? 2 : 0);
            EXPECT_EQ(list[1].RTSP, 554);
            const STCameraInfoKst& s = list[0].m_stCameraInfo;
            EXPECT_EQ(s.arrContinuous[0][8] + s.arrContinuous[0][9], 2);
            EXPECT_EQ(s.arrMotion[6][23], 1);
            EXPECT_EQ(s.REC_ENABLE, 1);
            EXPECT_EQ(s.REC_DAYS, 5);
            EXPECT_EQ(s.REC_DURATION, 30);
            // Folders of the older Windows program fall back to the default.
            EXPECT_STREQ(s.REC_PATH, (f.dir.path() + "/movies/Camera-7/").c_str());
            EXPECT_STREQ(list[1].m_stCameraInfo.REC_PATH, (f.dir.path() + "/movies/Camera-40/").c_str());
        }
        // A second start reads the file no more, even once the cameras went.
        CDBOper db;
        f.Setup(db);
        db.DeleteCamera(7);
        db.DeleteCamera(40);
        db.InitDatabase();
        CArray<STIPCfgKst> list;
        db.LoadCameras(list);
        EXPECT_EQ(list.GetSize(), 0);
        EXPECT_EQ(rectest::ReadFile(f.legacy), bytes);
    }
}

TEST(LegacyFiles, CutFilesAreReportedAndLeftAlone)
{
    Folder source;
    JetTable cams{"TBL_CAMERA",
                  CameraColumns(true),
                  {{V("7"), V("h"), V("n"), V("80"), V("0"), V("u"), V("p"), V("0"), V("2"), V("0"), V("554"), V("")}}};
    ASSERT_TRUE(vxtest::Jet4Writer::Write(source.legacy, {cams, Schedules()}));
    std::string whole = rectest::ReadFile(source.legacy);
    for (size_t keep : {size_t(100), size_t(4096), size_t(4096 * 3), whole.size() - 4096}) {
        Folder f;
        std::string cut = whole.substr(0, keep);
        rectest::WriteFile(f.legacy, cut);
        rectest::MessageBoxes boxes;
        CDBOper db;
        f.Setup(db);
        db.InitDatabase();
        CArray<STIPCfgKst> list;
        db.LoadCameras(list);
        // Nothing comes over, not even a part, and the user is told.
        EXPECT_EQ(list.GetSize(), 0) << keep;
        ASSERT_EQ(boxes.calls.size(), 1u) << keep;
        EXPECT_NE(boxes.calls[0].text.find("not imported"), std::string::npos);
        EXPECT_EQ(rectest::ReadFile(f.legacy), cut);
    }
}

TEST(LegacyFiles, AReaderThatCrashesEndsAsUnreadable)
{
    Folder f;
    JetTable cams{
        "TBL_CAMERA", CameraColumns(false), {{V("7"), V("h"), V("n"), V("80"), V("0"), V("u"), V("p"), V("0")}}};
    ASSERT_TRUE(vxtest::Jet4Writer::Write(f.legacy, {cams}));
    std::string crasher = f.dir.file("crashing-reader");
    rectest::WriteFile(crasher, "#!/bin/sh\nprintf 'TBL_CAMERA\\tCAMERAID=37\\n'\nkill -SEGV $$\n");
    chmod(crasher.c_str(), 0700);
    rectest::MessageBoxes boxes;
    CDBOper db;
    f.Setup(db);
    db.m_pLegacyReader = MakeMdbReader(crasher);
    db.InitDatabase();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_NE(boxes.calls[0].text.find("cannot be read"), std::string::npos);
    CArray<STIPCfgKst> list;
    db.LoadCameras(list);
    EXPECT_EQ(list.GetSize(), 0);
}

}  // namespace

VX_UI_TEST_MAIN()

// Settings and skin values read from the program's INI files.
#include "recorder_test_env.h"

#include "recorder/CGlobalInfo.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ProgramFolder {
    vxtest::TempDir dir;
    CString app;
    ProgramFolder()
    {
        app = (dir.path() + "/").c_str();
        mkdir(dir.file("config").c_str(), 0700);
    }
    void Config(const std::string& text) { rectest::WriteFile(dir.file("config/vxkstcfg.ini"), text); }
    void Skin(const std::string& text) { rectest::WriteFile(dir.file("config/vxkstskin.ini"), text); }
};

TEST(Settings, MissingFilesGiveTheDefaults)
{
    ProgramFolder f;
    rectest::MessageBoxes boxes;
    CGlobalInfo g;
    g.LoadConfig(f.app);
    EXPECT_EQ(g.m_nLogLevel, 0);
    EXPECT_EQ(g.m_nPreRecLen, 5000);
    EXPECT_EQ(g.m_nRecordType, 1);
    EXPECT_EQ(g.m_nRecordLength, 30);
    EXPECT_EQ(g.m_ullFreeSpace, 500u);
    EXPECT_EQ(g.m_nStartRecord + g.m_nStartMin + g.m_nMinHide + g.m_nAutoRun, 0);
    EXPECT_STREQ(g.m_strSqlitePath.GetString(), (f.dir.path() + "/VXKST.sqlite").c_str());
    EXPECT_STREQ(g.m_strDaoPath.GetString(), (f.dir.path() + "/VXKST.dat").c_str());
    EXPECT_STREQ(g.m_strMoviePath.GetString(), (f.dir.path() + "/movies/").c_str());
    EXPECT_TRUE(PathIsDirectoryA(g.m_strMoviePath));
    // A fresh install just works: the database is there, nothing was asked.
    EXPECT_TRUE(PathFileExistsA(g.m_strSqlitePath));
    EXPECT_TRUE(boxes.calls.empty());
}

TEST(Settings, PreRecordLengthOutsideItsRangeFallsBack)
{
    const struct {
        const char* value;
        int expected;
    } cases[] = {{"30000", 30000}, {"30001", 5000}, {"-1", 5000}, {"0", 0}};
    for (const auto& c : cases) {
        ProgramFolder f;
        f.Config(std::string("[Config]\npreRecordlen=") + c.value + "\nlog_level=4\n");
        CGlobalInfo g;
        g.LoadConfig(f.app);
        EXPECT_EQ(g.m_nPreRecLen, c.expected) << c.value;
        EXPECT_EQ(g.m_nLogLevel, 4);
    }
}

TEST(Settings, FreeSpaceIsReadUnsignedAndWide)
{
    const struct {
        const char* value;
        uint64_t expected;
    } cases[] = {{"4294967295", 4294967295ull}, {"2147483648", 2147483648ull}, {"200", 200}, {"-5", 500}, {"x", 500}};
    for (const auto& c : cases) {
        ProgramFolder f;
        f.Config(std::string("[SysParam]\nFreeSpace=") + c.value + "\n");
        CGlobalInfo g;
        g.LoadConfig(f.app);
        EXPECT_EQ(g.m_ullFreeSpace, c.expected) << c.value;
    }
    CGlobalInfo g;
    g.m_ullFreeSpace = 4294967295ull;
    // Far more free space than 2^31 MB is still below 4294967295 MB.
    EXPECT_TRUE(g.IsLowSpace(uint64_t(3000000000ull) * 1024 * 1024));
    g.m_ullFreeSpace = 500;
    EXPECT_TRUE(g.IsLowSpace(499ull * 1024 * 1024));
    EXPECT_FALSE(g.IsLowSpace(500ull * 1024 * 1024));
}

TEST(Settings, MoviePathGetsItsSlashOrFallsBack)
{
    ProgramFolder f;
    std::string existing = f.dir.file("rec");
    mkdir(existing.c_str(), 0700);
    f.Config("[Config]\nmoviepath=" + existing + "\n");
    CGlobalInfo g;
    g.LoadConfig(f.app);
    EXPECT_STREQ(g.m_strMoviePath.GetString(), (existing + "/").c_str());

    // A missing last folder without a final '/' is taken for a file name:
    // not created, the program's own folder is used.
    ProgramFolder f2;
    std::string missing = f2.dir.file("new/deeper");
    f2.Config("[Config]\nmoviepath=" + missing + "\n");
    CGlobalInfo g2;
    g2.LoadConfig(f2.app);
    EXPECT_STREQ(g2.m_strMoviePath.GetString(), (f2.dir.path() + "/movies/").c_str());
    EXPECT_FALSE(PathIsDirectoryA(missing.c_str()));

    // With a final '/' the whole path is made.
    ProgramFolder f3;
    std::string made = f3.dir.file("made/here/");
    f3.Config("[Config]\nmoviepath=" + made + "\n");
    CGlobalInfo g3;
    g3.LoadConfig(f3.app);
    EXPECT_STREQ(g3.m_strMoviePath.GetString(), made.c_str());
}

TEST(Settings, HandEditedValuesOutsideTheDialogsRangesAreBroughtBack)
{
    // Started from another folder: nothing may land in the working directory.
    vxtest::TempDir elsewhere;
    char cwd[4096] = {};
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(elsewhere.path().c_str()), 0);
    const struct {
        const char* length;
        int expected;
        const char* moviePath;
        const char* underProgram;  // where the movies go, below the program folder
    } cases[] = {
        {"71583", 30, "relmovies/", "relmovies/"},
        {"0", 1, "D:\\movies\\", "movies/"},
        {"-5", 1, "d:/movies/", "movies/"},
        {"15", 15, "nested/rel/", "nested/rel/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.moviePath);
        ProgramFolder f;
        f.Config(std::string("[Config]\nmoviepath=") + c.moviePath + "\n[SysParam]\nRecordLength=" + c.length + "\n");
        CGlobalInfo g;
        g.LoadConfig(f.app);
        EXPECT_EQ(g.m_nRecordLength, c.expected);
        EXPECT_STREQ(g.m_strMoviePath.GetString(), (f.dir.path() + "/" + c.underProgram).c_str());
        EXPECT_TRUE(PathIsDirectoryA(g.m_strMoviePath));
    }
    EXPECT_EQ(rmdir(elsewhere.path().c_str()), 0) << "the working directory stayed empty";
    mkdir(elsewhere.path().c_str(), 0700);
    ASSERT_EQ(chdir(cwd), 0);
}

TEST(Settings, SkinElementsFollowTheirKeys)
{
    ProgramFolder f;
    f.Skin("[LOCATION]\nExit=10 20 30 40\nMin=1 2 3 4\n"
           "[BITMAPTRANSCOLOR]\nExit=255 0 255\nMin=\n");
    CGlobalInfo g;
    g.LoadConfig(f.app);
    // No bitmaps in this module: every handle stays NULL.
    g.m_hSkinModule = vxw::RegisterResourceModule("settings-test-empty", nullptr);
    STSkinElement exit = g.LoadSkinButton2("Exit", 189, 188);
    EXPECT_EQ(exit.rect.left, 10);
    EXPECT_EQ(exit.rect.top, 20);
    EXPECT_EQ(exit.rect.right, 40);
    EXPECT_EQ(exit.rect.bottom, 60);
    EXPECT_EQ(exit.bTrans, 1);
    EXPECT_EQ(exit.crTrans, RGB(255, 0, 255));
    EXPECT_EQ(exit.hBmp1, nullptr);
    EXPECT_EQ(exit.hBmp3, nullptr);
    STSkinElement min = g.LoadSkinButton2("Min", 208, 209);
    EXPECT_EQ(min.bTrans, 0);  // empty text: no key colour
    STSkinImage missing = g.LoadSkinImage("Nowhere", 131);
    EXPECT_EQ(missing.rect.left + missing.rect.top + missing.rect.right + missing.rect.bottom, 0);
    EXPECT_EQ(missing.bTrans, 0);
}

}  // namespace

VX_UI_TEST_MAIN()

// Hostile skin files opened by a skinned dialog: each one loads with every
// size in bounds or is refused with the "Failed to load skin" box, quickly,
// without a hang or a burst of memory, and never leaves a window behind that
// a person could not close.
#include "skin_test_util.h"
#include "window_test_util.h"

#include "ui/controls/CDialogBase.h"

#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>

using namespace skintest;

namespace {

enum : UINT { IDD_HOSTILE = 2300 };

void FillModule(vxw::ResourceModule& m)
{
    vxw::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t.cx = 100;
    t.cy = 60;
    t.caption = "template caption";
    m.AddDialog(IDD_HOSTILE, t);
}

class HostileDlg : public CDialogBase {
public:
    HostileDlg(const std::string& skinFile, const std::string& folder) : CDialogBase(IDD_HOSTILE)
    {
        m_pSkin = new TestSkin(folder);
        m_strSkinFile = skinFile.c_str();
    }
    CSkin& Skin() { return *m_pSkin; }
};

// The largest the process's resident memory has been, in MB.
long PeakMb()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long kb = 0;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> kb;
            break;
        }
    }
    return kb / 1024;
}

double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

uint32_t Crc32(const unsigned char* p, size_t n)
{
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

// A small PNG whose header claims 30000 x 30000 pixels.
std::vector<unsigned char> PictureBomb()
{
    std::vector<unsigned char> png = PictureBytes({"aaaa", "aaaa", "aaaa", "aaaa"});
    auto put = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            png[at + static_cast<size_t>(i)] = static_cast<unsigned char>(v >> (24 - 8 * i));
    };
    put(16, 30000);  // IHDR width and height, then its checksum
    put(20, 30000);
    put(29, Crc32(&png[12], 17));
    return png;
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

std::string Skin(const std::string& background, const std::string& rest = std::string())
{
    return "<skin><title>Hostile</title><background>" + background + "</background>" + rest + "</skin>";
}

std::string Bg(const std::string& children = std::string(), const char* image = "bg.png")
{
    return std::string("<image>") + image + "</image>" + children;
}

struct Work {
    int w, h;
};

struct HostileRow {
    const char* name;
    std::string xml;  // the skin file's text; empty: no skin file at all
    bool loads;
    std::function<void(CSkin&, Work)> check;  // what a loaded skin holds
};

class HostileSkins : public ::testing::Test {
protected:
    void SetUp() override
    {
        static HINSTANCE module = vxw::RegisterResourceModule("ui-test-hostile", &FillModule);
        AfxSetResourceHandle(module);
        folder = dir.file("skin");
        ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
        ASSERT_TRUE(WritePicture(folder + "/bg.png", std::vector<std::string>(30, std::string(40, 'a'))));
        ASSERT_TRUE(WritePicture(dir.file("outside.png"), {"bb", "bb"}));
        ASSERT_EQ(::symlink("../outside.png", (folder + "/link.png").c_str()), 0);
        ASSERT_EQ(::mkfifo((folder + "/pipe.png").c_str(), 0600), 0);
        std::ofstream(folder + "/big.png").close();
        ASSERT_EQ(::truncate((folder + "/big.png").c_str(), 40L * 1024 * 1024), 0);
        WriteBytes(folder + "/bomb.png", PictureBomb());
        WriteText(folder + "/garbage.xml", std::string("\x89PNG\r\n\x1a\n\0\0garbage<<<", 20));
        vxw::test::SetMessageBoxHook([this](const vxw::test::MessageBoxCall& call) {
            boxes.push_back(call.text);
            return IDOK;
        });
        RECT rc{};
        ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &rc, 0));
        work = {rc.right - rc.left, rc.bottom - rc.top};
    }
    void TearDown() override
    {
        vxw::test::SetMessageBoxHook(nullptr);
        vxw::test::SetModalDialogHook(nullptr);
    }

    vxtest::TempDir dir;
    std::string folder;
    std::vector<std::string> boxes;
    Work work{};
};

TEST_F(HostileSkins, EachLoadsInBoundsOrIsRefusedQuicklyAndNoWindowIsLeftThatCannotClose)
{
    const std::string grid = "<top_left left=\"0\" top=\"0\" right=\"4\" bottom=\"4\"/>";
    std::string manyButtons = "<buttons>";
    for (int i = 0; i < 20000; ++i)
        manyButtons += "<button name=\"b" + std::to_string(i) + "\"><image>bg.png</image>"
                       "<rect left=\"1\" top=\"1\" right=\"9\" bottom=\"9\"/></button>";
    manyButtons += "</buttons>";
    std::string deep = "<labels>";
    for (int i = 0; i < 5000; ++i)
        deep += "<label name=\"d\">";
    for (int i = 0; i < 5000; ++i)
        deep += "</label>";
    deep += "</labels>";
    const std::string laughs =
        "<?xml version=\"1.0\"?><!DOCTYPE skin [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
        "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
        "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">]>";
    const std::string huge(100000, 'x');

    const HostileRow rows[] = {
        {"a window of 20000 x 20000", Skin(Bg("<rect left=\"0\" top=\"0\" right=\"20000\" bottom=\"20000\"/>")), true,
         [](CSkin& s, Work w) {
             EXPECT_EQ(s.GetBackground()->rect.width, w.w);
             EXPECT_EQ(s.GetBackground()->rect.height, w.h);
         }},
        {"a minimum size of 30000 x 30000", Skin(Bg("<min_size w=\"30000\" h=\"30000\"/>")), true,
         [](CSkin& s, Work w) {
             EXPECT_EQ(s.GetBackground()->min_size.w, w.w);
             EXPECT_EQ(s.GetBackground()->min_size.h, w.h);
         }},
        {"a rect reaching INT_MAX", Skin(Bg("<rect left=\"0\" top=\"0\" right=\"2147483647\" bottom=\"2147483647\"/>")),
         false, nullptr},
        {"a rect from INT_MIN to INT_MAX",
         Skin(Bg("<rect left=\"-2147483648\" top=\"0\" right=\"2147483647\" bottom=\"10\"/>")), false, nullptr},
        {"a number beyond any int", Skin(Bg("<min_size w=\"99999999999999999999\" h=\"1\"/>")), false, nullptr},
        {"a button of 12000 x 12000 fitted to its region",
         Skin(Bg(grid), "<buttons><button name=\"big\" fit_transparent_region=\"true\" transparent=\"true\">"
                        "<image>bg.png</image><rect left=\"0\" top=\"0\" right=\"12000\" bottom=\"12000\"/>"
                        "</button><button name=\"wild\"><image>bg.png</image>"
                        "<rect left=\"-2147483648\" top=\"0\" right=\"2147483647\" bottom=\"1\"/></button></buttons>"),
         true,
         [](CSkin& s, Work w) {
             ASSERT_NE(s.GetButton("big"), nullptr);
             EXPECT_EQ(s.GetButton("big")->rect.width, w.w);
             EXPECT_EQ(s.GetButton("big")->rect.height, w.h);
             EXPECT_EQ(s.GetButton("wild"), nullptr);  // out of range: not loaded
         }},
        {"pieces beyond their picture",
         Skin(Bg("<fill_center left=\"30\" top=\"-5\" right=\"50000\" bottom=\"50000\"/>")), true,
         [](CSkin& s, Work) {
             const ST_SKIN_RECT& fc = s.GetBackground()->fill_center;
             EXPECT_EQ(fc.left, 30);
             EXPECT_EQ(fc.top, 0);
             EXPECT_EQ(fc.right, 40);
             EXPECT_EQ(fc.bottom, 30);
         }},
        {"a FIFO as the picture", Skin(Bg("", "pipe.png")), false, nullptr},
        {"a picture out of the folder by ../", Skin(Bg("", "../outside.png")), false, nullptr},
        {"a picture out of the folder by a link", Skin(Bg("", "link.png")), false, nullptr},
        {"a picture by an absolute path", Skin(Bg("", "/etc/hostname")), false, nullptr},
        {"a picture file of 40 MB", Skin(Bg("", "big.png")), false, nullptr},
        {"a picture that claims 30000 x 30000 pixels", Skin(Bg("", "bomb.png")), false, nullptr},
        {"no skin file", "", false, nullptr},
        {"a file that is no XML", "@garbage", false, nullptr},
        {"the wrong root", "<skins><title>T</title><background><image>bg.png</image></background></skins>", false,
         nullptr},
        {"labels nested 5000 deep", Skin(Bg(), deep), true, nullptr},
        {"entities that expand a million fold", laughs + Skin(Bg(), "<labels><label name=\"l\" title=\"&e;\"/></labels>"),
         true,
         [](CSkin& s, Work) {
             ASSERT_NE(s.GetLabel("l"), nullptr);
             EXPECT_LE(std::string(s.GetLabel("l")->text).size(), 63u);
         }},
        {"20000 buttons", Skin(Bg(), manyButtons), true,
         [](CSkin& s, Work) { EXPECT_NE(s.GetButton("b19999"), nullptr); }},
        {"over-long texts",
         "<skin><title>" + huge + "</title><background><image>bg.png</image></background><labels><label name=\"l\" "
             "title=\"" + huge + "\" font_name=\"" + huge + "\" font_size=\"2000000000\"/></labels></skin>",
         true,
         [](CSkin& s, Work) {
             EXPECT_EQ(std::string(s.GetTitle()->text), std::string(63, 'x'));
             ASSERT_NE(s.GetLabel("l"), nullptr);
             EXPECT_EQ(std::string(s.GetLabel("l")->text).size(), 63u);
             EXPECT_LE(s.GetLabel("l")->font_size, 500);
         }},
        {"attributes of the wrong type",
         Skin(Bg("<min_size w=\"wide\" h=\"-\"/><rect left=\"x\" top=\"0.5\" right=\"12px\" bottom=\"#10\"/>")), true,
         [](CSkin& s, Work) {
             EXPECT_EQ(s.GetBackground()->min_size.w, 0);
             EXPECT_EQ(s.GetBackground()->rect.right, 12);  // read as atoi reads it
             EXPECT_EQ(s.GetBackground()->rect.bottom, 0);
         }},
    };

    for (const HostileRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::string file = dir.file("absent.xml");
        if (row.xml == "@garbage") {
            file = folder + "/garbage.xml";
        } else if (!row.xml.empty()) {
            file = folder + "/skin.xml";
            WriteText(file, row.xml);
        }
        boxes.clear();
        HostileDlg dlg(file, folder);
        bool shown = false;
        CRect rc;
        vxw::test::SetModalDialogHook([&](CDialog& d) {
            shown = d.IsWindowVisible() != FALSE;
            d.GetWindowRect(&rc);
            // The way out of a skinned window, as Alt+F4 or its close button gives it.
            d.SendMessage(WM_CLOSE);
        });
        const long memoryBefore = PeakMb();
        const double cpuBefore = ThreadCpuSeconds();
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        const double took = ThreadCpuSeconds() - cpuBefore;
        vxw::test::SetModalDialogHook(nullptr);

        // A second is the aim. The work is the GUI thread's, so its own CPU
        // time is measured: a busy machine does not stretch it, and the
        // bound leaves room for the checked builds while still catching the
        // many seconds an uncut size took.
        EXPECT_LT(took, 5.0) << "CPU seconds";
        EXPECT_LT(PeakMb() - memoryBefore, 400) << "MB more at the peak";
        EXPECT_FALSE(::IsWindow(dlg.GetSafeHwnd()));
        if (row.loads) {
            EXPECT_TRUE(boxes.empty());
            EXPECT_TRUE(shown);
            EXPECT_LE(rc.Width(), work.w);
            EXPECT_LE(rc.Height(), work.h);
            if (row.check)
                row.check(dlg.Skin(), work);
        } else {
            EXPECT_EQ(boxes, std::vector<std::string>{"Failed to load skin"});
            EXPECT_FALSE(shown) << "a window without its skin was shown";
        }
    }
}

}  // namespace

VX_UI_TEST_MAIN()

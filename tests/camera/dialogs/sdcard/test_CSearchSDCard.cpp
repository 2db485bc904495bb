// The memory card's listing pages as text: rows, links, the walk over
// folders with its bounds, and the local file names of downloads.
#include "camera/dialogs/sdcard/CSearchSDCard.h"
#include "camera/dialogs/sdcard/SdLocalFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

namespace {

std::string Row(const std::string& link, const std::string& name, const std::string& date, const std::string& size)
{
    return "<tr><td><a href=\"" + link + "\">" + name + "</a></td><td>&nbsp;" + date + "</td><td>&nbsp;&nbsp;" + size
           + "</td></tr>\n";
}

TEST(SearchSDCard, ParseLineTable)
{
    struct Case {
        const char* name;
        std::string row;
        int kept;
        int dir;
        const char* link;
        const char* entryName;
        const char* size;
        bool validTime;
    };
    const std::string good = Row("/sd/20261210/", "20261210/", "10-Dec-2026 12:30:05", "[DIRECTORY]");
    const Case cases[] = {
        {"directory", good, 1, 1, "/sd/20261210/", "20261210/", "[DIRECTORY]", true},
        {"directory any case", Row("a/", "a/", "10-Dec-2026 12:30:05", "[directory]"), 1, 1, "a/", "a/", "[directory]",
         true},
        {"file", Row("x.avi", "x.avi", "10-Dec-2026 12:30:05", "1.5M"), 1, 0, "x.avi", "x.avi", "1.5M", true},
        {"parent row", Row("../", "Parent Directory", "10-Dec-2026 12:30:05", "-"), 0, 0, "", "", "", false},
        {"bad date kept, invalid", Row("y", "y", "yesterday", "12"), 1, 0, "y", "y", "12", false},
        {"short name", Row("a", "a", "10-Dec-2026 12:30:05", "1"), 1, 0, "a", "a", "1", true},
        {"entities", Row("a&amp;b.avi", "a&amp;b&#39;s&#x41;.avi", "10-Dec-2026 12:30:05", "1"), 1, 0, "a&b.avi",
         "a&b'sA.avi", "1", true},
        {"no link marker", "<tr><td>x.avi</td><td>&nbsp;10-Dec-2026</td><td>&nbsp;&nbsp;1</td></tr>", 0, 0, "", "", "",
         false},
        {"no name end", "<tr><td><a href=\"x\">x</td><td>&nbsp;10-Dec-2026</td><td>&nbsp;&nbsp;1</td></tr>", 0, 0, "",
         "", "", false},
        {"no date marker", "<tr><td><a href=\"x\">x</a></td><td>10-Dec-2026</td><td>&nbsp;&nbsp;1</td></tr>", 0, 0, "",
         "", "", false},
        {"no size marker", "<tr><td><a href=\"x\">x</a></td><td>&nbsp;10-Dec-2026</td><td>1</td></tr>", 0, 0, "", "",
         "", false},
        {"empty link", Row("", "x", "10-Dec-2026", "1"), 0, 0, "", "", "", false},
        {"cut before size end", "<tr><td><a href=\"x\">x</a></td><td>&nbsp;10-Dec-2026</td><td>&nbsp;&nbsp;1", 0, 0, "",
         "", "", false},
    };
    for (const Case& c : cases) {
        STSearchFile e;
        EXPECT_EQ(CSearchSDCard::ParseLine(CString(c.row.c_str()), e), c.kept) << c.name;
        if (!c.kept)
            continue;
        EXPECT_EQ(e.bDir, c.dir) << c.name;
        EXPECT_EQ(e.strLink, c.link) << c.name;
        EXPECT_EQ(e.strName, c.entryName) << c.name;
        EXPECT_EQ(e.strSize, c.size) << c.name;
        EXPECT_EQ(e.tmModified.GetStatus() == COleDateTime::valid, c.validTime) << c.name;
    }
    STSearchFile e;
    ASSERT_TRUE(CSearchSDCard::ParseLine(CString(good.c_str()), e));
    EXPECT_EQ(e.tmModified.Format("%Y-%m-%d %H:%M:%S"), "2026-12-10 12:30:05");
}

TEST(SearchSDCard, ParseFilesKeepsPageOrderAndStopsAtACutRow)
{
    std::string page = "<html><body><table>" + Row("../", "Parent", "10-Dec-2026 10:00:00", "-")
                       + Row("b", "b", "10-Dec-2026 10:00:00", "2") + Row("a", "a", "10-Dec-2026 09:00:00", "1")
                       + "<tr><td><a href=\"c\">c</a></td><td>&nbsp;10-Dec";
    CArray<STSearchFile> out;
    CSearchSDCard::ParseFiles(CString(page.c_str()), out);
    ASSERT_EQ(out.GetSize(), 2);
    EXPECT_EQ(out[0].strName, "b");
    EXPECT_EQ(out[1].strName, "a");
    CArray<STSearchFile> none;
    CSearchSDCard::ParseFiles("<html>no rows</html>", none);
    EXPECT_EQ(none.GetSize(), 0);
}

TEST(SearchSDCard, SortFilesIsStableOldestFirstInvalidLast)
{
    CArray<STSearchFile> list;
    auto add = [&](const char* name, const char* time) {
        STSearchFile f;
        f.strName = name;
        if (!f.tmModified.ParseDateTime(time))
            f.tmModified.SetStatus(COleDateTime::invalid);
        list.Add(f);
    };
    add("late", "2026-12-10 12:00:00");
    add("bad", "nonsense");
    add("tie1", "2026-12-10 10:00:00");
    add("early", "2026-12-09 10:00:00");
    add("tie2", "2026-12-10 10:00:00");
    add("tie3", "2026-12-10 10:00:00");
    CSearchSDCard::SortFiles(list);
    const char* want[] = {"early", "tie1", "tie2", "tie3", "late", "bad"};
    ASSERT_EQ(list.GetSize(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(list[i].strName, want[i]) << i;
}

TEST(SearchSDCard, ResolveLinkTable)
{
    const std::pair<const char*, const char*> page = {"/sd/20261210/", ""};
    struct Case {
        const char* link;
        const char* want;
    };
    const Case cases[] = {
        {"record000/", "/sd/20261210/record000/"},
        {"/sd/20261210/a.avi", "/sd/20261210/a.avi"},
        {"./a.avi", "/sd/20261210/a.avi"},
        {"../", "/sd/"},
        {"../../../../etc/passwd", ""},
        {"/sd/../cgi-bin/hi3510/sysreboot.cgi", "/cgi-bin/hi3510/sysreboot.cgi"},
        {"%2e%2e/%2e%2e/x", "/x"},
        {"http://evil/sd/x", ""},
        {"//evil/sd/x", ""},
        {"javascript:alert(1)", ""},
        {"/cgi-bin/hi3510/param.cgi?cmd=sysreboot", ""},
        {"a#frag", ""},
        {"a\\b", ""},
        {"a%0d%0ab", ""},
        {"a b.avi", "/sd/20261210/a%20b.avi"},
        {"a%20b.avi", "/sd/20261210/a%20b.avi"},
        {"dir//sub/", "/sd/20261210/dir/sub/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CSearchSDCard::ResolveLink(page.first, c.link), c.want) << c.link;
}

TEST(SearchSDCard, DayFolders)
{
    COleDateTime d;
    EXPECT_TRUE(CSearchSDCard::DayFolderDate("20261210/", d));
    EXPECT_EQ(d.Format("%Y-%m-%d"), "2026-12-10");
    for (const char* bad : {"2026121/", "20261210", "20261310/", "2026121x/", "202612100/", "20260230/"})
        EXPECT_FALSE(CSearchSDCard::DayFolderDate(bad, d)) << bad;
}

// A card made of pages in a map; the reader counts each read.
class Card {
public:
    std::map<std::string, std::string> pages;
    std::map<std::string, int> reads;
    std::set<std::string> tooLarge;  // pages over the reply bound
    CSearchSDCard::Hooks Hooks()
    {
        CSearchSDCard::Hooks h;
        h.read = [this](const CString& path, CString& page) {
            std::string p(path.view());
            ++reads[p];
            if (tooLarge.count(p))
                return CSearchSDCard::kPageTooLarge;
            auto it = pages.find(p);
            if (it == pages.end())
                return 0;
            page = it->second.c_str();
            return 1;
        };
        return h;
    }
};

COleDateTime At(const char* text)
{
    COleDateTime t;
    t.ParseDateTime(text);
    return t;
}

std::vector<std::string> Names(const CArray<STSearchFile>& out)
{
    std::vector<std::string> names;
    for (INT_PTR i = 0; i < out.GetSize(); ++i)
        names.emplace_back(out[i].strName.view());
    return names;
}

TEST(SearchSDCard, SearchWalksDayFoldersInRangeAndKeepsFilesInTime)
{
    Card card;
    const char* dir = "[DIRECTORY]";
    card.pages["/sd/"] = Row("../", "Parent", "10-Dec-2026 00:00:00", "-")
                         + Row("20261209/", "20261209/", "09-Dec-2026 23:59:00", dir)
                         + Row("20261210/", "20261210/", "10-Dec-2026 00:00:00", dir)
                         + Row("20261211/", "20261211/", "11-Dec-2026 00:00:00", dir)
                         + Row("2026121/", "2026121/", "10-Dec-2026 00:00:00", dir)
                         + Row("20261210x", "20261210x", "10-Dec-2026 00:00:00", dir)
                         + Row("loose.avi", "loose.avi", "10-Dec-2026 11:00:00", "5");
    card.pages["/sd/20261210/"] = Row("record000/", "record000/", "10-Dec-2026 00:00:00", dir)
                                  + Row("images000/", "images000/", "10-Dec-2026 00:00:00", dir)
                                  + Row("recdata.db", "recdata.db", "10-Dec-2026 10:00:00", "9");
    card.pages["/sd/20261210/record000/"] = Row("b.264", "b.264", "10-Dec-2026 10:15:59", "1")
                                            + Row("a.264", "a.264", "10-Dec-2026 10:00:00", "1")
                                            + Row("c.264", "c.264", "10-Dec-2026 10:16:00", "1")
                                            + Row("RECDATA.DB", "RECDATA.DB", "10-Dec-2026 10:01:00", "1");
    CArray<STSearchFile> out;
    auto o = CSearchSDCard::SearchFiles(card.Hooks(), At("2026-12-10 10:00:00"), At("2026-12-10 10:15:59"), out, 1);
    EXPECT_EQ(Names(out), (std::vector<std::string>{"a.264", "b.264"}));
    EXPECT_EQ(out[0].strLink, "/sd/20261210/record000/a.264");
    EXPECT_FALSE(o.capped);
    EXPECT_EQ(card.reads.count("/sd/20261209/"), 0u);
    EXPECT_EQ(card.reads.count("/sd/20261211/"), 0u);
    EXPECT_EQ(card.reads.count("/sd/20261210/images000/"), 0u);
    EXPECT_EQ(card.reads.count("/sd/2026121/"), 0u);

    // The picture search takes the image folder and leaves the record one.
    card.pages["/sd/20261210/images000/"] = Row("p.jpg", "p.jpg", "10-Dec-2026 10:05:00", "1");
    card.reads.clear();
    CArray<STSearchFile> pics;
    CSearchSDCard::SearchFiles(card.Hooks(), At("2026-12-10 00:00:00"), At("2026-12-10 23:59:59"), pics, 0);
    EXPECT_EQ(Names(pics), (std::vector<std::string>{"p.jpg", "loose.avi"}));
    EXPECT_EQ(card.reads.count("/sd/20261210/record000/"), 0u);
}

TEST(SearchSDCard, HostileListingsNeitherLoopNorLeaveTheCard)
{
    Card card;
    const char* dir = "[DIRECTORY]";
    const char* t = "10-Dec-2026 10:00:00";
    card.pages["/sd/"] = Row("20261210/", "20261210/", t, dir) + Row("/sd/", "20261211/", t, dir)
                         + Row("http://evil/sd/20261210/", "20261210/", t, dir);
    card.pages["/sd/20261210/"] =
        Row("./", "self/", t, dir) + Row("../", "up/", t, dir) + Row("../20261210/", "again/", t, dir)
        + Row("/cgi-bin/hi3510/sysreboot.cgi", "reboot/", t, dir)
        + Row("/cgi-bin/hi3510/sysreboot.cgi", "reboot.avi", t, "1") + Row("deep/", "deep/", t, dir)
        + Row("loop/", "loop/", t, dir) + Row("ok.avi", "ok.avi", t, "1");
    // A folder that always links one level further down.
    std::string deep = "/sd/20261210/deep/";
    for (int i = 0; i < 50; ++i) {
        card.pages[deep] = Row("d/", "d/", t, dir) + Row("f.avi", "f.avi", t, "1");
        deep += "d/";
    }
    card.pages["/sd/20261210/loop/"] = Row("/sd/20261210/", "back/", t, dir) + Row("../loop/", "self2/", t, dir);
    CArray<STSearchFile> out;
    CSearchSDCard::Limits limits;
    limits.maxDepth = 4;
    auto o =
        CSearchSDCard::SearchFiles(card.Hooks(), At("2026-12-10 00:00:00"), At("2026-12-10 23:59:59"), out, 1, limits);
    for (const auto& [path, n] : card.reads) {
        EXPECT_EQ(n, 1) << path;
        EXPECT_EQ(path.rfind("/sd/", 0), 0u) << path;
    }
    for (INT_PTR i = 0; i < out.GetSize(); ++i)
        EXPECT_EQ(out[i].strLink.Left(4), "/sd/");
    // The endless folder is cut at the depth bound, and only it: the file
    // beside it and those above the bound are still listed.
    EXPECT_EQ(o.foldersTooDeep, 1);
    EXPECT_FALSE(o.capped);
    EXPECT_FALSE(o.pagesCapped);
    EXPECT_LE(card.reads.size(), 8u);
    std::vector<std::string> names = Names(out);
    EXPECT_EQ(std::count(names.begin(), names.end(), "ok.avi"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "f.avi"), 3);  // depths 2 to 4

    // A huge page: the results are capped, and the search says so.
    std::string big;
    for (int i = 0; i < 200000; ++i)
        big += Row("f" + std::to_string(i) + ".avi", "f" + std::to_string(i) + ".avi", t, "1");
    card.pages["/sd/"] = Row("20261210/", "20261210/", t, dir);
    card.pages["/sd/20261210/"] = big;
    card.reads.clear();
    CArray<STSearchFile> many;
    auto capped =
        CSearchSDCard::SearchFiles(card.Hooks(), At("2026-12-10 00:00:00"), At("2026-12-10 23:59:59"), many, 1);
    EXPECT_TRUE(capped.capped);
    EXPECT_EQ(many.GetSize(), CSearchSDCard::Limits().maxResults);
}

TEST(SearchSDCard, ThePageBoundEndsTheSearchAndAPageTooLargeIsNamed)
{
    Card card;
    const char* dir = "[DIRECTORY]";
    const char* t = "10-Dec-2026 10:00:00";
    card.pages["/sd/"] = Row("20261210/", "20261210/", t, dir);
    std::string day;
    for (int i = 0; i < 5; ++i) {
        std::string sub = "r" + std::to_string(i) + "/";
        day += Row(sub, sub, t, dir);
        card.pages["/sd/20261210/" + sub] =
            Row("f" + std::to_string(i) + ".avi", "f" + std::to_string(i) + ".avi", t, "1");
    }
    card.pages["/sd/20261210/"] = day;
    CSearchSDCard::Limits limits;
    limits.maxPages = 4;  // the top, the day and two of its folders
    CArray<STSearchFile> out;
    auto o =
        CSearchSDCard::SearchFiles(card.Hooks(), At("2026-12-10 00:00:00"), At("2026-12-10 23:59:59"), out, 1, limits);
    EXPECT_TRUE(o.pagesCapped);
    EXPECT_EQ(o.pages, 4);
    EXPECT_EQ(card.reads.size(), 4u);
    EXPECT_EQ(Names(out), (std::vector<std::string>{"f0.avi", "f1.avi"}));

    // A folder whose page is too large is named; its siblings still count.
    card.tooLarge.insert("/sd/20261210/r1/");
    CArray<STSearchFile> rest;
    auto big = CSearchSDCard::SearchFiles(card.Hooks(), At("2026-12-10 00:00:00"), At("2026-12-10 23:59:59"), rest, 1);
    EXPECT_EQ(big.tooLarge, "/sd/20261210/r1/");
    EXPECT_EQ(Names(rest), (std::vector<std::string>{"f0.avi", "f2.avi", "f3.avi", "f4.avi"}));
}

TEST(SearchSDCard, LinksAreCodedOnceAndNamesShowTheirControlCharacters)
{
    struct Case {
        const char* link;  // as the page gives it
        const char* stored;
    };
    // The browser's link, whatever the page's coding, is coded once; coding
    // it for the request again changes nothing.
    const Case cases[] = {
        {"/sd/d/REC SPACE.avi", "/sd/d/REC%20SPACE.avi"}, {"/sd/d/REC%20SPACE.avi", "/sd/d/REC%20SPACE.avi"},
        {"/sd/d/100%25.avi", "/sd/d/100%25.avi"},         {"/sd/d/a+b.avi", "/sd/d/a+b.avi"},
        {"/sd/d/caf\xC3\xA9.avi", "/sd/d/caf%C3%A9.avi"}, {"/sd/d/caf%c3%a9.avi", "/sd/d/caf%C3%A9.avi"},
    };
    for (const Case& c : cases) {
        CString stored = CSearchSDCard::ResolveLink("/sd/d/", c.link);
        EXPECT_EQ(stored, c.stored) << c.link;
        EXPECT_EQ(CSearchSDCard::RequestPath(stored), stored) << c.link;
    }
    // A link no search made is made safe for the request line.
    EXPECT_EQ(CSearchSDCard::RequestPath("/sd/a b#c%.avi"), "/sd/a%20b%23c%25.avi");

    EXPECT_EQ(CSearchSDCard::ShownText("a\nb\tc\rd\x1b[2Je\x7f.avi"), "a\\nb\\tc\\rd\\x1B[2Je\\x7F.avi");
    EXPECT_EQ(CSearchSDCard::ShownText("caf\xC3\xA9 100%.avi"), "caf\xC3\xA9 100%.avi");
}

TEST(SdLocalFile, DownloadsAreBoundByTheListedSizeAndTheFreeRoom)
{
    struct Case {
        const char* size;
        int64_t freeBytes;
        int64_t reserve;
        int64_t min, max;
    };
    const int64_t K = 1024, M = 1024 * 1024;
    const Case cases[] = {
        // One unit of the last digit either way, and 1 %.
        {"1000K", -1, 0, 1000 * K - K - 10 * K, 1000 * K + K + 10 * K},
        {"1.5M", -1, 0, 1572864 - 104857 - 15728, 1572864 + 104857 + 15728},
        {"512", -1, 0, 511 - 5, 512 + 1 + 5},
        {"0K", -1, 0, 0, K},
        {" 12kb ", -1, 0, 12 * K - K - 122, 12 * K + K + 122},
        // The free room less the reserve bounds as well.
        {"1000K", 600 * M, 500 * M, 1000 * K - K - 10 * K, 1000 * K + K + 10 * K},
        {"1000K", 500 * M + 100 * K, 500 * M, 1000 * K - K - 10 * K, 100 * K},
        {"1000K", 100 * M, 500 * M, 1000 * K - K - 10 * K, 0},
        // No size: only the room.
        {"-", 600 * M, 500 * M, 0, 100 * M},
        {"1000X", -1, 0, 0, -1},
        {"", -1, 0, 0, -1},
    };
    for (const Case& c : cases) {
        sdcard::SizeBounds b = sdcard::DownloadBounds(c.size, c.freeBytes, c.reserve);
        EXPECT_EQ(b.minBytes, c.min) << c.size << " " << c.freeBytes;
        EXPECT_EQ(b.maxBytes, c.max) << c.size << " " << c.freeBytes;
    }
}

TEST(SearchSDCard, CancelStopsBeforeTheNextPage)
{
    Card card;
    card.pages["/sd/"] = Row("20261210/", "20261210/", "10-Dec-2026 00:00:00", "[DIRECTORY]");
    auto hooks = card.Hooks();
    int pagesSeen = 0;
    hooks.progress = [&](int pages, int) { pagesSeen = pages; };
    hooks.cancelled = [&] { return pagesSeen >= 1; };
    CArray<STSearchFile> out;
    auto o = CSearchSDCard::SearchFiles(hooks, At("2026-12-10 00:00:00"), At("2026-12-10 23:59:59"), out, 1);
    EXPECT_TRUE(o.cancelled);
    EXPECT_EQ(card.reads.size(), 1u);
}

TEST(SdLocalFile, NamesTakeTheLastComponentOnly)
{
    struct Case {
        const char* name;
        const char* link;
        std::string want;
    };
    const Case cases[] = {
        {"a.avi", "/sd/a.avi", "a.avi"},
        {"../../x", "/sd/x", "x"},
        {"/abs/x", "/sd/x", "x"},
        {"a\\b", "/sd/b", "b"},
        {"", "/sd/d/from%20link.avi", "from link.avi"},
        {"..", "/sd/..", ""},
        // An unusable name gives way to the link's last component.
        {".", "/sd/d/dot.avi", "dot.avi"},
        {"a\x01"
         "b",
         "/sd/x", "x"},
        {"bad\x1b[2J.avi", "/sd/d/REC%20SPACE.avi", "REC SPACE.avi"},
        {"a\nb", "/sd/d/a%0Ab.avi", ""},
        {"dir/", "/sd/dir/", "dir"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(sdcard::LocalName(c.name, c.link).view()), c.want) << c.name;
    std::string longName(300, 'n');
    CString capped = sdcard::LocalName((longName + ".avi").c_str(), "/sd/x");
    EXPECT_LE(capped.GetLength(), 200);
    EXPECT_EQ(capped.Right(4), ".avi");
}

TEST(SdLocalFile, AFreePathNeverNamesAFileThereAndMakesNone)
{
    vxtest::TempDir dir("vx-sdlocal");
    {
        std::ofstream(dir.file("a.avi")) << "mine";
    }
    CString first = sdcard::FreeLocalPath(dir.path().c_str(), "a.avi");
    EXPECT_EQ(first, (dir.path() + "/a (2).avi").c_str());
    EXPECT_FALSE(std::filesystem::exists(dir.file("a (2).avi")));
    {
        std::ofstream(dir.file("a (2).avi")) << "mine too";
    }
    CString second = sdcard::FreeLocalPath((dir.path() + "/").c_str(), "a.avi");
    EXPECT_EQ(second, (dir.path() + "/a (3).avi").c_str());
    EXPECT_TRUE(sdcard::FreeLocalPath("", "a.avi").IsEmpty());
    EXPECT_TRUE(sdcard::FreeLocalPath(dir.path().c_str(), "..").IsEmpty());
    EXPECT_TRUE(sdcard::FreeLocalPath((dir.path() + "/missing").c_str(), "a.avi").IsEmpty());
}

}  // namespace

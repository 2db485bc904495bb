// The simulated camera's memory card as a plain HTTP client sees it: the
// listing pages with their rows, the day folders, byte ranges and HEAD, and
// the control requests that reshape the card.

#include "support/CamsimHttp.h"
#include "support/CamsimProcess.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <ctime>
#include <string>

namespace {

struct Reply {
    CURLcode code = CURLE_OK;
    long status = 0;
    std::string headers;
    std::string body;
};

Reply fetch(const CamsimProcess& cam, const std::string& path, const std::string& range = "", bool head = false)
{
    Reply r;
    CURL* c = curl_easy_init();
    std::string url = cam.httpUrl(path);
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, camsim_http::Append);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &r.body);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, camsim_http::Append);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &r.headers);
    curl_easy_setopt(c, CURLOPT_USERPWD, "admin:admin");
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, 10000L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    if (!range.empty())
        curl_easy_setopt(c, CURLOPT_RANGE, range.c_str());
    if (head)
        curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    r.code = curl_easy_perform(c);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &r.status);
    curl_easy_cleanup(c);
    return r;
}

// The folder name of the day `daysBack` before today, and a listing date
// prefix of that day ("10-Dec-2026").
struct Day {
    std::string folder;
    std::string date;
};

Day DayBack(int daysBack)
{
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    time_t t = time(nullptr);
    struct tm tm {};
    localtime_r(&t, &tm);
    tm.tm_mday -= daysBack;
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    mktime(&tm);
    char folder[40], date[48];
    snprintf(folder, sizeof folder, "%04d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    snprintf(date, sizeof date, "%02d-%s-%04d", tm.tm_mday, months[tm.tm_mon], tm.tm_year + 1900);
    return {folder, date};
}

std::string Row(const std::string& link, const std::string& name, const std::string& date, const std::string& size)
{
    return "<tr><td><a href=\"" + link + "\">" + name + "</a></td><td>&nbsp;" + date + "</td><td>&nbsp;&nbsp;" + size
           + "</td></tr>";
}

bool Has(const std::string& page, const std::string& text)
{
    return page.find(text) != std::string::npos;
}

TEST(CamsimSdCard, ListingPagesHoldDayFoldersRecordingsPicturesAndIndexFiles)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    Day today = DayBack(0), yesterday = DayBack(1), twoBack = DayBack(2), threeBack = DayBack(3);

    Reply root = fetch(cam, "/sd/");
    ASSERT_EQ(root.status, 200) << root.body;
    // The parent row comes first and is sized "-"; folders are "[DIRECTORY]"
    // dated with English month names.
    size_t parent = root.body.find("<tr><td><a href=\"../\">Parent Directory</a></td><td>&nbsp;");
    ASSERT_NE(parent, std::string::npos) << root.body;
    EXPECT_LT(parent, root.body.find("[DIRECTORY]"));
    EXPECT_TRUE(Has(root.body, "</td><td>&nbsp;&nbsp;-</td></tr>"));
    for (const Day& d : {today, yesterday, threeBack})
        EXPECT_TRUE(Has(root.body, Row("/sd/" + d.folder + "/", d.folder + "/", d.date + " 00:00:00", "[DIRECTORY]")))
            << d.folder << "\n"
            << root.body;
    EXPECT_FALSE(Has(root.body, twoBack.folder));

    Reply day = fetch(cam, "/sd/" + today.folder + "/");
    EXPECT_TRUE(Has(day.body, "/sd/" + today.folder + "/record000/\">record000/</a>")) << day.body;
    EXPECT_TRUE(Has(day.body, "/sd/" + today.folder + "/images000/\">images000/</a>")) << day.body;

    // The same recording names stand in two day folders; each folder of
    // recordings or pictures carries its index file.
    struct Case {
        std::string folder;
        std::string row;
    };
    const std::string rec = "/sd/" + today.folder + "/record000/";
    const std::string recBack = "/sd/" + yesterday.folder + "/record000/";
    const std::string img = "/sd/" + today.folder + "/images000/";
    const Case cases[] = {
        {rec, "\">REC_000000.avi</a></td><td>&nbsp;" + today.date + " 00:00:00</td>"},
        {rec, "\">REC_101559.avi</a></td><td>&nbsp;" + today.date + " 10:15:59</td>"},
        {rec, "\">REC_235959.avi</a></td><td>&nbsp;" + today.date + " 23:59:59</td>"},
        {rec, "<a href=\"" + rec + "recdata.db\">recdata.db</a>"},
        {recBack, "\">REC_000000.avi</a></td><td>&nbsp;" + yesterday.date + " 00:00:00</td>"},
        {recBack, "\">REC_080000.avi</a></td><td>&nbsp;" + yesterday.date + " 08:00:00</td>"},
        {img, "\">IMG_101600.jpg</a></td><td>&nbsp;" + today.date + " 10:16:00</td>"},
        {img, "<a href=\"" + img + "imgdata.db\">imgdata.db</a>"},
    };
    for (const Case& c : cases) {
        Reply page = fetch(cam, c.folder);
        EXPECT_TRUE(Has(page.body, c.row)) << c.row << "\n" << page.body;
    }
    Reply missing = fetch(cam, "/sd/" + twoBack.folder + "/record000/REC_000000.avi");
    EXPECT_EQ(missing.status, 404);
}

TEST(CamsimSdCard, FilesAnswerHeadAndByteRanges)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    ASSERT_EQ(cam.get("/camsim/sd?file=/sd/t/x.bin&size=1000"), "ok\n");
    Reply whole = fetch(cam, "/sd/t/x.bin");
    ASSERT_EQ(whole.status, 200);
    ASSERT_EQ(whole.body.size(), 1000u);
    EXPECT_TRUE(Has(whole.headers, "Accept-Ranges: bytes"));

    Reply head = fetch(cam, "/sd/t/x.bin", "", true);
    EXPECT_EQ(head.status, 200);
    EXPECT_TRUE(Has(head.headers, "Content-Length: 1000")) << head.headers;
    EXPECT_TRUE(head.body.empty());

    struct Case {
        const char* range;
        long status;
        const char* contentRange;
        size_t first;
        size_t size;
    };
    const Case cases[] = {
        {"0-99", 206, "bytes 0-99/1000", 0, 100},
        {"990-", 206, "bytes 990-999/1000", 990, 10},
        {"-10", 206, "bytes 990-999/1000", 990, 10},
        {"900-5000", 206, "bytes 900-999/1000", 900, 100},
        {"999-999", 206, "bytes 999-999/1000", 999, 1},
        {"1000-", 416, "bytes */1000", 0, 0},
        {"5-2", 416, "bytes */1000", 0, 0},
        {"0-1,5-6", 416, "bytes */1000", 0, 0},
    };
    for (const Case& c : cases) {
        Reply r = fetch(cam, "/sd/t/x.bin", c.range);
        EXPECT_EQ(r.status, c.status) << c.range;
        EXPECT_TRUE(Has(r.headers, std::string("Content-Range: ") + c.contentRange)) << c.range << "\n" << r.headers;
        EXPECT_EQ(r.body, c.status == 206 ? whole.body.substr(c.first, c.size) : std::string()) << c.range;
    }
}

TEST(CamsimSdCard, ControlRequestsReshapeTheCardAndRefuseBadOnes)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    // A page's markup verbatim, even one that is no listing at all.
    const std::string markup = "<tr><td><a href=\"../../cgi-bin/x\">odd</td>";
    char* esc = curl_easy_escape(nullptr, markup.c_str(), static_cast<int>(markup.size()));
    ASSERT_EQ(cam.get(std::string("/camsim/sd?page=/sd/h/&markup=") + esc), "ok\n");
    curl_free(esc);
    EXPECT_EQ(fetch(cam, "/sd/h/").body, markup);

    // A page of N rows, each a file below the page.
    ASSERT_EQ(cam.get("/camsim/sd?page=/sd/n/&rows=3"), "ok\n");
    std::string rows = fetch(cam, "/sd/n/").body;
    EXPECT_TRUE(Has(rows, "<a href=\"/sd/n/F2.avi\">F2.avi</a>")) << rows;
    EXPECT_FALSE(Has(rows, "F3.avi"));

    // A file added with its time and a listed name of its own.
    ASSERT_EQ(cam.get("/camsim/sd?file=/sd/a/b.avi&size=10&time=20261210103000&name=shown.avi"), "ok\n");
    std::string listing = fetch(cam, "/sd/a/").body;
    EXPECT_TRUE(Has(listing, Row("/sd/a/b.avi", "shown.avi", "10-Dec-2026 10:30:00", "1K"))) << listing;

    for (const char* bad : {"/camsim/sd?file=/etc/passwd&size=1", "/camsim/sd?file=/sd/dir/&size=1",
                            "/camsim/sd?file=/sd/x&size=lots", "/camsim/sd?file=/sd/x&time=yesterday",
                            "/camsim/sd?page=/sd/nodir&rows=1", "/camsim/sd?page=/sd/p/&rows=-1"}) {
        EXPECT_NE(cam.get(bad), "ok\n") << bad;
    }
    EXPECT_EQ(fetch(cam, "/etc/passwd").status, 404);
}

}  // namespace

#include "tools/camsim/SdCard.h"

#include "tools/camsim/Numbers.h"

#include <algorithm>
#include <set>

namespace camsim {

namespace {

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// "10-Dec-2026 12:30:05", English month names whatever the locale.
std::string listDate(time_t t)
{
    struct tm tm {};
    localtime_r(&t, &tm);
    char buf[64];
    snprintf(buf, sizeof buf, "%02d-%s-%04d %02d:%02d:%02d", tm.tm_mday, kMonths[tm.tm_mon], tm.tm_year + 1900,
             tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

std::string row(const std::string& link, const std::string& name, const std::string& date, const std::string& size)
{
    return "<tr><td><a href=\"" + link + "\">" + name + "</a></td><td>&nbsp;" + date + "</td><td>&nbsp;&nbsp;" + size
           + "</td></tr>\r\n";
}

std::string htmlEscape(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

// Bytes that differ from file to file, so a test can compare downloads.
std::string pattern(const std::string& seed, size_t size)
{
    std::string out(size, '\0');
    uint32_t x = 2166136261u;
    for (char c : seed)
        x = (x ^ static_cast<unsigned char>(c)) * 16777619u;
    for (size_t i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        out[i] = static_cast<char>(x & 0xff);
    }
    return out;
}

std::string dayFolder(time_t day)
{
    struct tm tm {};
    localtime_r(&day, &tm);
    char folder[32];
    snprintf(folder, sizeof folder, "/sd/%04d%02d%02d/", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    return folder;
}

time_t dayStart(time_t t)
{
    struct tm tm {};
    localtime_r(&t, &tm);
    tm.tm_hour = tm.tm_min = tm.tm_sec = 0;
    tm.tm_isdst = -1;
    return mktime(&tm);
}

bool parseCompact(const std::string& s, time_t& out)
{
    struct tm tm {};
    if (s.size() != 14
        || sscanf(s.c_str(), "%4d%2d%2d%2d%2d%2d", &tm.tm_year, &tm.tm_mon, &tm.tm_mday, &tm.tm_hour, &tm.tm_min,
                  &tm.tm_sec)
               != 6)
        return false;
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    tm.tm_isdst = -1;
    out = mktime(&tm);
    return out != -1;
}

// "bytes=a-b", "bytes=a-", "bytes=-n" against a body of `size` bytes.
enum class Range { None, Ok, Bad };
Range parseRange(const std::string& h, size_t size, size_t& first, size_t& last)
{
    if (h.empty())
        return Range::None;
    if (h.rfind("bytes=", 0) != 0 || h.find(',') != std::string::npos)
        return Range::Bad;
    std::string byteRange = h.substr(6);
    size_t dash = byteRange.find('-');
    if (dash == std::string::npos)
        return Range::Bad;
    try {
        std::string a = byteRange.substr(0, dash), b = byteRange.substr(dash + 1);
        if (a.empty()) {
            size_t n = std::stoull(b);
            if (n == 0 || size == 0)
                return Range::Bad;
            first = size - std::min(n, size);
            last = size - 1;
        } else {
            first = std::stoull(a);
            last = b.empty() ? size - 1 : std::min<size_t>(std::stoull(b), size - 1);
            if (first >= size || last < first)
                return Range::Bad;
        }
    } catch (const std::exception&) {
        return Range::Bad;
    }
    return Range::Ok;
}

// A path's %XX as bytes; unlike a query, a path keeps its '+'.
std::string pathDecode(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && isxdigit(static_cast<unsigned char>(s[i + 1]))
            && isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// An href as a camera writes it: the path's bytes that a URL cannot carry
// as they are, %-coded.
std::string hrefOf(const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : path) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7f || c == '%' || c == '"' || c == '#' || c == '?' || c == '<' || c == '>') {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

}  // namespace

SdCard::SdCard(CameraState& state) : Dialect(state), snapshot_(state.options.width, state.options.height)
{
    time_t today = dayStart(state.clock.now());
    addDay(today, 0);
    addDay(today - 86400, 1);
    addDay(today - 3 * 86400, 3);
    // One long recording, a day back, so the search of today stays as it is.
    File longOne;
    longOne.modified = today - 86400 + 8 * 3600;
    longOne.kind = Kind::LongRecording;
    files_[dayFolder(today - 86400) + "record000/REC_080000.avi"] = std::move(longOne);
}

void SdCard::addDay(time_t day, int index)
{
    const std::string base = dayFolder(day);
    // The first day's recordings and pictures begin at the day's edges and on
    // the minute's last second, where a search's bounds lie.
    const int times[] = {0, 10 * 3600, 10 * 3600 + 15 * 60 + 59, 10 * 3600 + 16 * 60, 23 * 3600 + 59 * 60 + 59};
    for (int t : times) {
        char name[32];
        snprintf(name, sizeof name, "REC_%02d%02d%02d.avi", t / 3600, t / 60 % 60, t % 60);
        files_[base + "record000/" + name] = File{"", day + t, {}, Kind::Recording};
        snprintf(name, sizeof name, "IMG_%02d%02d%02d.jpg", t / 3600, t / 60 % 60, t % 60);
        files_[base + "images000/" + name] = File{"", day + t, {}, Kind::Picture};
    }
    files_[base + "record000/recdata.db"] = File{"", day + 3600, pattern(base + "recdata", 512), Kind::Data};
    files_[base + "images000/imgdata.db"] = File{"", day + 3600, pattern(base + "imgdata", 512), Kind::Data};
}

void SdCard::loadMedia()
{
    std::lock_guard media(mediaMutex_);
    if (mediaTried_)
        return;
    mediaTried_ = true;
    if (!SdMedia::load(media_, mediaError_)) {
        fprintf(stderr, "camsim: %s\n", mediaError_.c_str());
        return;
    }
    std::lock_guard lock(mutex_);
    for (auto& [path, f] : files_) {
        if (f.kind == Kind::Recording)
            f.body = media_.shortRecording;
        else if (f.kind == Kind::LongRecording)
            f.body = media_.longRecording;
    }
}

bool SdCard::handles(const HttpRequest& req) const
{
    return req.path == "/sd" || req.path.rfind("/sd/", 0) == 0;
}

bool SdCard::isFolder(const std::string& path) const
{
    if (path.empty() || path.back() != '/')
        return false;
    if (path == "/sd/" || markup_.count(path))
        return true;
    auto it = files_.lower_bound(path);
    return it != files_.end() && it->first.rfind(path, 0) == 0;
}

void SdCard::makePictures(const std::string& folder)
{
    // A listing shows the pictures' true sizes, so they are made first.
    for (auto it = files_.lower_bound(folder); it != files_.end() && it->first.rfind(folder, 0) == 0; ++it) {
        if (it->second.kind == Kind::Picture && it->second.body.empty()) {
            std::string error;
            it->second.body = snapshot_.jpeg(error);
        }
    }
}

std::string SdCard::listing(const std::string& folder) const
{
    std::string page = "<html><head><title>Index of " + htmlEscape(folder) + "</title></head><body><h1>Index of "
                       + htmlEscape(folder) + "</h1><table>\r\n";
    page += row("../", "Parent Directory", listDate(state_.clock.now()), "-");
    std::set<std::string> seenFolders;
    for (auto it = files_.lower_bound(folder); it != files_.end() && it->first.rfind(folder, 0) == 0; ++it) {
        std::string rest = it->first.substr(folder.size());
        size_t slash = rest.find('/');
        if (slash != std::string::npos) {
            std::string sub = rest.substr(0, slash + 1);
            if (seenFolders.insert(sub).second)
                page += row(htmlEscape(hrefOf(folder + sub)), htmlEscape(sub), listDate(dayStart(it->second.modified)),
                            "[DIRECTORY]");
            continue;
        }
        const File& f = it->second;
        std::string name = f.listedName.empty() ? rest : f.listedName;
        std::string size = !f.listedSize.empty() ? f.listedSize : std::to_string((f.body.size() + 1023) / 1024) + "K";
        page += row(htmlEscape(hrefOf(it->first)), htmlEscape(name), listDate(f.modified), size);
    }
    page += "</table></body></html>\r\n";
    return page;
}

HttpReply SdCard::handle(const HttpRequest& req)
{
    std::string path = pathDecode(req.path);
    if (path == "/sd")
        path = "/sd/";
    std::string body;
    bool isPage = false;
    bool endless = false;
    int cut = -1;
    loadMedia();
    {
        std::lock_guard lock(mutex_);
        auto m = markup_.find(path);
        if (m != markup_.end()) {
            body = m->second;
            isPage = true;
        } else if (isFolder(path)) {
            makePictures(path);
            body = listing(path);
            isPage = true;
        } else {
            auto f = files_.find(path);
            if (f == files_.end())
                return HttpReply::text(404, "<html><body>404 Not Found</body></html>\r\n", "text/html");
            if ((f->second.kind == Kind::Recording || f->second.kind == Kind::LongRecording) && f->second.body.empty())
                return HttpReply::text(500, mediaError_ + "\r\n");  // written once, before loadMedia() returned
            if (f->second.kind == Kind::Picture && f->second.body.empty()) {
                std::string error;
                f->second.body = snapshot_.jpeg(error);
                if (f->second.body.empty())
                    return HttpReply::text(500, error + "\r\n");
            }
            if (f->second.status != 200)
                return HttpReply::text(f->second.status, std::to_string(f->second.status) + "\r\n", "text/html");
            body = f->second.body;
            endless = f->second.endless;
            cut = f->second.cut;
        }
    }
    if (isPage)
        return HttpReply::text(200, body, "text/html");
    HttpReply r;
    r.contentType = "application/octet-stream";
    r.cutAfter = cut;
    if (endless) {
        r.body = std::move(body);
        r.endless = true;
        return r;
    }
    r.headers.emplace_back("Accept-Ranges", "bytes");
    size_t first = 0, last = 0;
    switch (parseRange(req.header("range"), body.size(), first, last)) {
    case Range::None:
        r.body = std::move(body);
        break;
    case Range::Ok:
        r.status = 206;
        r.headers.emplace_back("Content-Range", "bytes " + std::to_string(first) + "-" + std::to_string(last) + "/"
                                                    + std::to_string(body.size()));
        r.body = body.substr(first, last - first + 1);
        break;
    case Range::Bad:
        r.status = 416;
        r.headers.emplace_back("Content-Range", "bytes */" + std::to_string(body.size()));
        break;
    }
    return r;
}

HttpReply SdCard::control(const QueryPairs& q)
{
    std::string page = queryValue(q, "page");
    std::string file = queryValue(q, "file");
    loadMedia();
    std::lock_guard lock(mutex_);
    if (!file.empty()) {
        if (file.rfind("/sd/", 0) != 0 || file.back() == '/')
            return HttpReply::text(400, "file must be a path below /sd/\n");
        File f;
        f.listedName = queryValue(q, "name");
        f.modified = state_.clock.now();
        std::string time = queryValue(q, "time");
        if (!time.empty() && !parseCompact(time, f.modified))
            return HttpReply::text(400, "bad time: " + time + "\n");
        size_t size = 0;
        try {
            size = std::stoull(queryValue(q, "size").empty() ? "1024" : queryValue(q, "size"));
        } catch (const std::exception&) {
            return HttpReply::text(400, "bad size\n");
        }
        if (size > (64u << 20))
            return HttpReply::text(400, "size too large\n");
        f.body = pattern(file, size);
        f.listedSize = queryValue(q, "listed");
        if (!queryValue(q, "status").empty() && !parseIntIn(queryValue(q, "status"), 100, 599, f.status))
            return HttpReply::text(400, "bad status\n");
        if (!queryValue(q, "cut").empty() && !parseIntIn(queryValue(q, "cut"), 0, 1 << 30, f.cut))
            return HttpReply::text(400, "bad cut\n");
        f.endless = queryValue(q, "endless") == "1";
        std::string media = queryValue(q, "media");
        if (media == "short") {
            if (media_.shortRecording.empty())
                return HttpReply::text(500, "no recording: " + mediaError_ + "\n");
            f.body = media_.shortRecording;
        } else if (!media.empty()) {
            return HttpReply::text(400, "media must be short\n");
        }
        files_[file] = std::move(f);
        return HttpReply::text(200, "ok\n");
    }
    if (page.empty() || page.back() != '/')
        return HttpReply::text(400, "page must be a folder path ending in /\n");
    std::string rows = queryValue(q, "rows");
    if (!rows.empty()) {
        long n = 0;
        try {
            n = std::stol(rows);
        } catch (const std::exception&) {
            n = -1;
        }
        if (n < 0 || n > 1000000)
            return HttpReply::text(400, "bad rows\n");
        std::string markup = "<html><body><table>\r\n";
        std::string date = listDate(state_.clock.now());
        for (long i = 0; i < n; ++i) {
            std::string name = "F" + std::to_string(i) + ".avi";
            markup += row(page + name, name, date, "1K");
        }
        markup += "</table></body></html>\r\n";
        markup_[page] = std::move(markup);
        return HttpReply::text(200, "ok\n");
    }
    markup_[page] = queryValue(q, "markup");
    return HttpReply::text(200, "ok\n");
}

}  // namespace camsim

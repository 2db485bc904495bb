#include "camera/dialogs/sdcard/CSearchSDCard.h"

#include "camera/session/CgiReply.h"
#include "utility/vx_log.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kRowStart = "<tr><td>";
constexpr std::string_view kRowEnd = "</td></tr>";
constexpr std::string_view kLinkStart = "<tr><td><a href=\"";
constexpr std::string_view kDateStart = "</td><td>&nbsp;";
constexpr std::string_view kSizeStart = "<td>&nbsp;&nbsp;";
constexpr char kRoot[] = "/sd/";

size_t Find(std::string_view text, std::string_view what, size_t from)
{
    return from > text.size() ? std::string_view::npos : text.find(what, from);
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void AppendUtf8(std::string& out, unsigned long cp)
{
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        out += '?';
    } else if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Characters a path may carry as they are; everything else travels
// percent-coded, so the request holds exactly the path that was checked.
bool PathSafe(unsigned char c)
{
    return std::isalnum(c)
           || std::string_view("-._~/!$&'()*+,;=:@").find(static_cast<char>(c)) != std::string_view::npos;
}

std::string PercentEncodePath(std::string_view path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : path) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (PathSafe(c)) {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

// What a log line may carry of a listing: no password, no control
// character that would forge a line of its own.
CString Loggable(const CString& text)
{
    return CSearchSDCard::ShownText(vxcam::MaskSecrets(text, "", ""));
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

bool ContainsNoCase(const CString& text, const char* what)
{
    CString lower = text;
    lower.MakeLower();
    return lower.Find(what) >= 0;
}

// The folder a page lists: its path up to and with its last "/".
std::string FolderOf(std::string_view pagePath)
{
    size_t slash = pagePath.rfind('/');
    return slash == std::string_view::npos ? std::string("/") : std::string(pagePath.substr(0, slash + 1));
}

}  // namespace

std::string CSearchSDCard::PercentDecoded(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

CString CSearchSDCard::RequestPath(const CString& link)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string_view in = link.view();
    std::string out;
    for (size_t i = 0; i < in.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(in[i]);
        bool escape = c == '%' && i + 2 < in.size() && HexValue(in[i + 1]) >= 0 && HexValue(in[i + 2]) >= 0;
        if (escape || PathSafe(c)) {
            out += in[i];
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return CString(out);
}

CString CSearchSDCard::ShownText(const CString& text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : text.view()) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\r')
            out += "\\r";
        else if (c < 0x20 || c == 0x7f) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return CString(out);
}

CString CSearchSDCard::DecodeEntities(const CString& text)
{
    std::string_view in = text.view();
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size();) {
        if (in[i] != '&') {
            out += in[i++];
            continue;
        }
        size_t semi = in.find(';', i);
        if (semi == std::string_view::npos || semi - i > 10) {
            out += in[i++];
            continue;
        }
        std::string_view name = in.substr(i + 1, semi - i - 1);
        bool known = true;
        if (name == "amp")
            out += '&';
        else if (name == "lt")
            out += '<';
        else if (name == "gt")
            out += '>';
        else if (name == "quot")
            out += '"';
        else if (name == "apos" || name == "#39")
            out += '\'';
        else if (name == "nbsp")
            out += ' ';
        else if (name.size() > 1 && name[0] == '#') {
            bool hexForm = name[1] == 'x' || name[1] == 'X';
            std::string_view digits = name.substr(hexForm ? 2 : 1);
            unsigned long cp = 0;
            known = !digits.empty();
            for (char c : digits) {
                int v = hexForm ? HexValue(c) : (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : -1);
                if (v < 0 || cp > 0x10FFFF) {
                    known = false;
                    break;
                }
                cp = cp * (hexForm ? 16 : 10) + static_cast<unsigned long>(v);
            }
            if (known)
                AppendUtf8(out, cp);
        } else {
            known = false;
        }
        if (known) {
            i = semi + 1;
        } else {
            out += in[i++];
        }
    }
    return CString(out);
}

CString CSearchSDCard::ResolveLink(const CString& pagePath, const CString& link)
{
    std::string_view raw = link.view();
    if (raw.empty() || raw.find_first_of("?#\\") != std::string_view::npos)
        return CString();
    // "scheme:" before any "/" is a URL of its own; "//" names a host.
    size_t colon = raw.find(':');
    if (colon != std::string_view::npos && raw.substr(0, colon).find('/') == std::string_view::npos)
        return CString();
    if (raw.substr(0, 2) == "//")
        return CString();
    // Decode first: "%2e%2e" must climb no more than ".." does.
    std::string decoded = PercentDecoded(raw);
    for (char ch : decoded) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7f || c == '\\')
            return CString();
    }
    std::string full = decoded[0] == '/' ? decoded : FolderOf(pagePath.view()) + decoded;
    bool dir = full.back() == '/';
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos <= full.size()) {
        size_t slash = full.find('/', pos);
        if (slash == std::string::npos)
            slash = full.size();
        std::string part = full.substr(pos, slash - pos);
        pos = slash + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (parts.empty())
                return CString();
            parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out = "/";
    for (size_t i = 0; i < parts.size(); ++i) {
        out += parts[i];
        if (i + 1 < parts.size() || dir)
            out += '/';
    }
    return CString(PercentEncodePath(out));
}

bool CSearchSDCard::DayFolderDate(const CString& name, COleDateTime& day)
{
    if (name.GetLength() != 9 || name[8] != '/')
        return false;
    for (int i = 0; i < 8; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i])))
            return false;
    }
    CString text = name.Left(4) + "-" + name.Mid(4, 2) + "-" + name.Mid(6, 2);
    COleDateTime d;
    if (!d.ParseDateTime(text, VAR_DATEVALUEONLY))
        return false;
    day = d;
    return true;
}

int CSearchSDCard::ParseLine(const CString& rowText, STSearchFile& entry)
{
    std::string_view row = rowText.view();
    size_t link = Find(row, kLinkStart, 0);
    if (link == std::string_view::npos)
        return 0;
    link += kLinkStart.size();
    size_t linkEnd = Find(row, "\">", link);
    if (linkEnd == std::string_view::npos || linkEnd == link)
        return 0;
    size_t name = linkEnd + 2;
    size_t nameEnd = Find(row, "</a>", name);
    if (nameEnd == std::string_view::npos)
        return 0;
    size_t date = Find(row, kDateStart, name + 4);
    if (date == std::string_view::npos)
        return 0;
    date += kDateStart.size();
    size_t dateEnd = Find(row, "</td>", date);
    if (dateEnd == std::string_view::npos)
        return 0;
    size_t size = Find(row, kSizeStart, dateEnd + 4);
    if (size == std::string_view::npos)
        return 0;
    size += kSizeStart.size();
    size_t sizeEnd = Find(row, "</td>", size);
    if (sizeEnd == std::string_view::npos)
        return 0;

    CString sizeText(row.substr(size, sizeEnd - size));
    if (sizeText.CompareNoCase("-") == 0)
        return 0;
    entry.strLink = DecodeEntities(CString(row.substr(link, linkEnd - link)));
    entry.strName = DecodeEntities(CString(row.substr(name, nameEnd - name)));
    entry.bDir = sizeText.CompareNoCase("[DIRECTORY]") == 0 ? 1 : 0;
    entry.strSize = sizeText;
    CString dateText(row.substr(date, dateEnd - date));
    entry.tmModified = COleDateTime();
    if (!entry.tmModified.ParseDateTime(dateText, 0, 1033))
        entry.tmModified.SetStatus(COleDateTime::invalid);
    vx_log(VX_LOG_TRACE, "file (%s) modify time: (%s)-(%s)", static_cast<const char*>(Loggable(entry.strName)),
           static_cast<const char*>(Loggable(dateText)),
           static_cast<const char*>(entry.tmModified.Format("%Y-%m-%d %H:%M:%S")));
    return 1;
}

void CSearchSDCard::ParseFiles(const CString& pageText, CArray<STSearchFile>& out)
{
    std::string_view page = pageText.view();
    auto position = [](size_t at) { return at == std::string_view::npos ? -1 : static_cast<int>(at); };
    size_t start = Find(page, kRowStart, 0);
    while (start != std::string_view::npos) {
        size_t end = Find(page, kRowEnd, start);
        if (end == std::string_view::npos) {
            vx_log(VX_LOG_TRACE, "ParseFiles : no end : %d", position(end));
            return;
        }
        end += kRowEnd.size();
        CString row(page.substr(start, end - start));
        vx_log(VX_LOG_TRACE, "ParseLine : %s", static_cast<const char*>(Loggable(row)));
        STSearchFile entry;
        if (ParseLine(row, entry)) {
            vx_log(VX_LOG_TRACE, "ParseLine ok: %s", static_cast<const char*>(Loggable(entry.strName)));
            out.Add(entry);
        }
        start = Find(page, kRowStart, end);
    }
    vx_log(VX_LOG_TRACE, "ParseFiles : no start : %d", position(start));
}

void CSearchSDCard::SortFiles(CArray<STSearchFile>& list)
{
    std::vector<STSearchFile> items;
    items.reserve(static_cast<size_t>(list.GetSize()));
    for (INT_PTR i = 0; i < list.GetSize(); ++i)
        items.push_back(list[i]);
    std::stable_sort(items.begin(), items.end(), [](const STSearchFile& a, const STSearchFile& b) {
        bool av = a.tmModified.GetStatus() == COleDateTime::valid;
        bool bv = b.tmModified.GetStatus() == COleDateTime::valid;
        if (av != bv)
            return av;
        return av && a.tmModified < b.tmModified;
    });
    list.RemoveAll();
    for (auto& item : items)
        list.Add(item);
}

namespace {

struct SearchState {
    const CSearchSDCard::Hooks& hooks;
    const CSearchSDCard::Limits& limits;
    COleDateTime start;
    COleDateTime end;
    COleDateTime startDay;
    COleDateTime endDay;
    int bRecord;
    std::set<std::string> visited;
    CSearchSDCard::Outcome outcome;
    std::vector<STSearchFile> found;
};

COleDateTime DayOf(const COleDateTime& t)
{
    COleDateTime day;
    if (t.GetStatus() != COleDateTime::valid) {
        day.SetStatus(COleDateTime::invalid);
        return day;
    }
    day.SetDate(t.GetYear(), t.GetMonth(), t.GetDay());
    return day;
}

bool Stop(SearchState& s)
{
    if (s.hooks.cancelled && s.hooks.cancelled()) {
        s.outcome.cancelled = true;
        return true;
    }
    return s.outcome.capped || s.outcome.pagesCapped;
}

void ReadFolder(SearchState& s, const CString& path, int depth)
{
    if (Stop(s))
        return;
    // Too deep: this folder alone is skipped, its siblings are still read.
    if (depth > s.limits.maxDepth) {
        ++s.outcome.foldersTooDeep;
        return;
    }
    if (s.outcome.pages >= s.limits.maxPages) {
        s.outcome.pagesCapped = true;
        return;
    }
    if (!s.visited.insert(std::string(path.view())).second)
        return;
    CString page;
    ++s.outcome.pages;
    int got = s.hooks.read ? s.hooks.read(path, page) : 0;
    if (s.hooks.progress)
        s.hooks.progress(s.outcome.pages, static_cast<int>(s.found.size()));
    if (got == CSearchSDCard::kPageTooLarge && s.outcome.tooLarge.IsEmpty())
        s.outcome.tooLarge = path;
    if (got != 1)
        return;
    CArray<STSearchFile> rows;
    CSearchSDCard::ParseFiles(page, rows);
    for (INT_PTR i = 0; i < rows.GetSize(); ++i) {
        if (Stop(s))
            return;
        STSearchFile entry = rows[i];
        CString link = CSearchSDCard::ResolveLink(path, entry.strLink);
        if (link.IsEmpty())
            continue;
        entry.strLink = link;
        if (entry.bDir) {
            vx_log(VX_LOG_TRACE, "file dir : %s", static_cast<const char*>(Loggable(entry.strName)));
            if (depth == 0) {
                COleDateTime day;
                if (!CSearchSDCard::DayFolderDate(entry.strName, day))
                    continue;
                vx_log(VX_LOG_TRACE, "file dir time: %s", static_cast<const char*>(day.Format("%Y-%m-%d %HH:%MM:%SS")));
                if ((s.startDay.GetStatus() == COleDateTime::valid && s.startDay > day)
                    || (s.endDay.GetStatus() == COleDateTime::valid && s.endDay < day))
                    continue;
            }
            if (ContainsNoCase(entry.strName, s.bRecord ? "image" : "record"))
                continue;
            // Only strictly below the page being read: no parent, no self.
            if (link.GetLength() <= path.GetLength() || link.Left(path.GetLength()) != path || link.Right(1) != "/")
                continue;
            ReadFolder(s, link, depth + 1);
            continue;
        }
        if (entry.strName.CompareNoCase("recdata.db") == 0 || entry.strName.CompareNoCase("imgdata.db") == 0)
            continue;
        if (!StartsWithNoCase(link.view(), kRoot))
            continue;
        vx_log(VX_LOG_TRACE, "file (%s) modify time: %s", static_cast<const char*>(Loggable(entry.strName)),
               static_cast<const char*>(entry.tmModified.Format("%Y-%m-%d %H:%M:%S")));
        if (s.start <= entry.tmModified && entry.tmModified <= s.end) {
            if (static_cast<int>(s.found.size()) >= s.limits.maxResults) {
                s.outcome.capped = true;
                return;
            }
            s.found.push_back(entry);
        }
    }
}

}  // namespace

CSearchSDCard::Outcome CSearchSDCard::SearchFiles(const Hooks& hooks, const COleDateTime& start,
                                                  const COleDateTime& end, CArray<STSearchFile>& out, int bRecord,
                                                  const Limits& limits)
{
    SearchState s{hooks, limits, start, end, DayOf(start), DayOf(end), bRecord, {}, {}, {}};
    ReadFolder(s, kRoot, 0);
    for (auto& f : s.found)
        out.Add(f);
    SortFiles(out);
    return s.outcome;
}

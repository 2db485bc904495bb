#pragma once
// The camera's memory card as its HTML listing pages show it: rows of a
// link, a name, a date and a size, read page by page into STSearchFile
// entries. The text work here knows no window and no camera: SearchFiles
// reads each page through a reader the caller gives, so the browser pages
// run it on their worker and tests drive it with tables.
//
// A listing is foreign input. Links are decoded, resolved against the page
// and normalised; a row whose link carries a scheme or a host is dropped; a
// directory is read only when it lies strictly below the page being read and
// was not read before; files are kept only below "/sd/". Depth, pages read
// and results are bounded, so no listing makes the search loop or wander: a
// folder past the depth bound is skipped alone, while the page and result
// bounds end the search where they are reached.
//
// Threads: any; the functions keep no state. The search calls its reader,
// progress and cancel hooks on the calling thread.

#include "platform/platform.h"

#include <functional>
#include <string>
#include <string_view>

struct STSearchFile {
    CString strLink;  // normalised path on the camera (percent-coded for the request)
    CString strName;  // the link's text, entities decoded; directories end in "/"
    int bDir = 0;
    CString strSize;          // as the page shows it
    COleDateTime tmModified;  // invalid when the date does not parse
};

class CSearchSDCard {
public:
    struct Limits {
        int maxDepth = 6;        // day folder, record folder, files: depth 2
        int maxPages = 2000;     // listing pages read in one search
        int maxResults = 20000;  // files kept
    };
    // What a page read gave besides a page (1) or a failure (0).
    static constexpr int kPageTooLarge = 2;
    struct Hooks {
        // Reads one page (a path on the camera): 1 when it came, 0 when it
        // failed, kPageTooLarge when it was over the reply bound.
        std::function<int(const CString& path, CString& page)> read;
        // Pages read and files found so far; may be empty.
        std::function<void(int pages, int files)> progress;
        // Asked before each page; true stops the search. May be empty.
        std::function<bool()> cancelled;
    };
    struct Outcome {
        int pages = 0;
        bool capped = false;       // only the first maxResults files are kept
        bool pagesCapped = false;  // the page bound ended the search
        int foldersTooDeep = 0;    // folders past the depth bound, skipped
        CString tooLarge;          // the first page over the reply bound
        bool cancelled = false;
    };

    // Reads "/sd/" and below for files of [start, end] (both ends included);
    // bRecord 1 for recordings (skips folders named with "image"), 0 for
    // pictures (skips "record"). The files come sorted by time.
    static Outcome SearchFiles(const Hooks& hooks, const COleDateTime& start, const COleDateTime& end,
                               CArray<STSearchFile>& out, int bRecord, const Limits& limits);
    static Outcome SearchFiles(const Hooks& hooks, const COleDateTime& start, const COleDateTime& end,
                               CArray<STSearchFile>& out, int bRecord)
    {
        return SearchFiles(hooks, start, end, out, bRecord, Limits());
    }

    // Appends every row of the page that parses; links stay as the page has
    // them (entities decoded).
    static void ParseFiles(const CString& page, CArray<STSearchFile>& out);
    // Fills one entry from one row "<tr><td><a href="LINK">NAME</a></td>
    // <td>&nbsp;DATE</td><td>&nbsp;&nbsp;SIZE</td></tr>"; non-zero when kept.
    static int ParseLine(const CString& row, STSearchFile& entry);
    // Oldest first; equal times keep their order; invalid times go last.
    static void SortFiles(CArray<STSearchFile>& list);

    // The link of a row on the page at pagePath as a normalised absolute
    // path ("/sd/a/b"), with a final "/" kept; empty when it carries a
    // scheme, a host, a query, a backslash or a control character, or climbs
    // above the root.
    static CString ResolveLink(const CString& pagePath, const CString& link);
    // "&amp;", "&lt;", "&gt;", "&quot;", "&#39;", "&nbsp;" and numeric
    // references; anything else stays as written.
    static CString DecodeEntities(const CString& text);
    // "%XX" of two hexadecimal digits as its byte; any other "%" stays as
    // written.
    static std::string PercentDecoded(std::string_view text);
    // A link as a request path: what ResolveLink coded stays as it is, any
    // byte that cannot stand in a path (and a "%" that starts no "%XX") is
    // coded. A link is coded once, by ResolveLink; this only makes sure.
    static CString RequestPath(const CString& link);
    // A name from the card as it may be shown: control characters written
    // as "\n", "\t", "\r" or "\xHH".
    static CString ShownText(const CString& text);
    // A day folder of the card's top: "YYYYMMDD/" of a real date.
    static bool DayFolderDate(const CString& name, COleDateTime& day);
};

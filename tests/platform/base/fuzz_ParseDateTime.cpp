// Arbitrary text, as a camera's listing page or reply may hold it, through
// the date parser and the CString searches: no crash, and every date that
// parses formats to a text that parses back to the same date.
#include "platform/base/COleDateTime.h"
#include "platform/base/CString.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Check(bool ok, const char* what, const std::string& input)
{
    if (!ok) {
        fprintf(stderr, "fuzz_ParseDateTime: %s for \"%s\"\n", what, input.c_str());
        abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.c_str();  // the parser reads up to the first NUL, like its callers

    for (DWORD flags : {DWORD{0}, VAR_DATEVALUEONLY, VAR_TIMEVALUEONLY}) {
        COleDateTime t;
        bool ok = t.ParseDateTime(text.c_str(), flags, 1033);
        Check(ok == (t.GetStatus() == COleDateTime::valid), "result and status disagree", text);
        if (!ok)
            continue;
        Check(t.GetYear() >= 100 && t.GetYear() <= 9999, "year out of range", text);
        CString shown = t.Format("%Y-%m-%d %H:%M:%S");
        COleDateTime back;
        Check(back.ParseDateTime(shown), "formatted date does not parse", text);
        Check(back == t, "round trip changed the date", text);
    }

    CString s(text.c_str());
    int pos = 0;
    for (int guard = 0; pos >= 0; ++guard) {
        Check(guard <= s.GetLength() + 1, "Tokenize does not end", text);
        s.Tokenize(" ,:", pos);
    }
    int at = s.Find(":");
    CString left = s.Left(at), mid = s.Mid(at + 1, 3);
    Check(left.GetLength() <= s.GetLength() && mid.GetLength() <= 3, "extraction too long", text);
    s.Trim(" \t").Replace("%", "%%");
    return 0;
}

// Feeds arbitrary bytes to the code-page converters as text of every code
// page: no crash or hang, decoded text is valid Unicode, its UTF-8 form
// decodes back to it, and text that converted without loss converts back to
// the same wide text.
#include "platform/kernel/codepage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool ok, const char* what, unsigned cp)
{
    if (!ok) {
        fprintf(stderr, "fuzz_codepage: %s (code page %u)\n", what, cp);
        abort();
    }
}

const std::vector<unsigned>& CodePages()
{
    static const std::vector<unsigned> list = [] {
        std::vector<unsigned> v;
        for (unsigned cp = 1; cp < 70000; ++cp)
            if (vxk::IconvNameForCodePage(cp) && cp != CP_OEMCP && cp != CP_MACCP && cp != CP_THREAD_ACP)
                v.push_back(cp);
        return v;
    }();
    return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const auto& pages = CodePages();
    unsigned cp = pages[data[0] % pages.size()];
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    std::wstring wide;
    bool invalid = false;
    Check(vxk::DecodeCodePage(cp, text, wide, &invalid), "decode refused a known code page", cp);
    for (wchar_t c : wide)
        Check(uint32_t(c) <= 0x10FFFF && (uint32_t(c) < 0xD800 || uint32_t(c) > 0xDFFF),
              "decoded a value that is no character", cp);

    std::string utf8;
    bool lost = true;
    Check(vxk::EncodeCodePage(CP_UTF8, wide, utf8, nullptr, &lost), "UTF-8 encode failed", cp);
    Check(!lost, "UTF-8 lost a character", cp);
    std::wstring back;
    bool bad = true;
    Check(vxk::DecodeCodePage(CP_UTF8, utf8, back, &bad) && !bad && back == wide, "UTF-8 round trip", cp);

    std::string again;
    lost = false;
    Check(vxk::EncodeCodePage(cp, wide, again, nullptr, &lost), "encode refused a known code page", cp);
    if (!lost && !invalid) {
        std::wstring wideAgain;
        Check(vxk::DecodeCodePage(cp, again, wideAgain) && wideAgain == wide, "lossless round trip differs", cp);
    }

    // The Win32 forms with a buffer that is sometimes too small.
    std::vector<wchar_t> wbuf(size % 7 + 1);
    if (!text.empty())
        MultiByteToWideChar(cp, 0, text.data(), int(text.size()), wbuf.data(), int(wbuf.size()));
    std::vector<char> cbuf(size % 11 + 1);
    BOOL used = FALSE;
    if (!wide.empty())
        WideCharToMultiByte(cp, 0, wide.data(), int(wide.size()), cbuf.data(), int(cbuf.size()), nullptr, &used);
    return 0;
}

// Arbitrary replies through every reply helper: no crash, attribute values
// never hold their closing quote, and UrlEncode gives only unreserved
// characters and codes that decode to the input again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "camera/session/CCgiCmd.h"

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        fprintf(stderr, "fuzz_CCgiCmd: %s\n", what);
        abort();
    }
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The input is "name\nattribute\nreply".
std::string Field(const std::string& in, size_t& pos)
{
    size_t lf = in.find('\n', pos);
    if (lf == std::string::npos)
        lf = in.size();
    std::string f = in.substr(pos, lf - pos);
    pos = lf < in.size() ? lf + 1 : lf;
    return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string in(reinterpret_cast<const char*>(data), size);
    size_t pos = 0;
    CString name(Field(in, pos));
    CString attr(Field(in, pos));
    CString reply(in.substr(pos));

    for (int noVar = 0; noVar < 2; ++noVar) {
        CCgiCmd::GetCgiValue2(reply, name, noVar);
        CCgiCmd::GetCgiValue(reply, name, noVar);
        CCgiCmd::GetCgiValueInt(reply, name, noVar);
        CCgiCmd::GetCgiValueInt2(reply, name, 0, noVar);
        CCgiCmd::GetCgiValueInt3(reply, name, 0, noVar);
    }
    CCgiCmd::GetInivalue(reply, attr, name);
    CCgiCmd::GetJsonValueStr(reply, name);
    CCgiCmd::GetJsonValueInt(reply, name, 0);
    CString value = CCgiCmd::GetXmlAttr(reply, name, attr);
    Check(value.Find('"') < 0, "attribute value holds a quote");
    CCgiCmd::GetXmlAttrInt(reply, name, attr, 0);
    CCgiCmd::GetXmlTypeValue(reply, name, attr);
    CCgiCmd::GetXmlValue(reply, name);
    CCgiCmd::GetXmlValueInt(reply, name, 0);

    CString encoded = CCgiCmd::UrlEncode(reply);
    std::string decoded;
    const std::string& e = encoded.str();
    for (size_t i = 0; i < e.size(); ++i) {
        char c = e[i];
        if (c == '%') {
            Check(i + 2 < e.size() && HexValue(e[i + 1]) >= 0 && HexValue(e[i + 2]) >= 0, "bad escape");
            decoded += static_cast<char>(HexValue(e[i + 1]) * 16 + HexValue(e[i + 2]));
            i += 2;
        } else {
            bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'
                              || c == '.' || c == '_' || c == '~';
            Check(unreserved, "reserved character left in the encoded text");
            decoded += c;
        }
    }
    Check(decoded == reply.str(), "encoded text does not decode to the input");
    return 0;
}

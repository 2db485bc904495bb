#include "camera/session/CCgiCmd.h"

namespace {

// Value after key up to the end marker, or empty when the marker is missing.
CString ValueUpTo(const CString& text, int after, const char* marker)
{
    int end = text.Find(marker, after);
    return end < 0 ? CString() : text.Mid(after, end - after);
}

// quote: '"', '\'' or 0 for unquoted values.
CString VariableValue(CString reply, const CString& name, int bNoVar, char quote)
{
    // Blanks around the equals sign do not matter.
    reply.Replace(" =", "=");
    reply.Replace("= ", "=");

    CString key = bNoVar ? name : "var " + name;
    key += '=';
    if (quote)
        key += quote;
    int at = reply.Find(key);
    if (at >= 0) {
        int after = at + key.GetLength();
        switch (quote) {
        case '"': {
            // The closing quote is the one before the ";" when there is one,
            // so a value may hold quotes of its own.
            int end = reply.Find("\";", after);
            if (end < 0)
                end = reply.Find('"', after);
            return end < 0 ? CString() : reply.Mid(after, end - after);
        }
        case '\'':
            return ValueUpTo(reply, after, "';");
        default:
            return ValueUpTo(reply, after, ";");
        }
    }
    // Cameras that leave the value unquoted.
    CString plain = "var " + name + "=";
    at = reply.Find(plain);
    if (at < 0)
        return CString();
    return ValueUpTo(reply, at + plain.GetLength(), ";");
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

CString WithoutDoubleQuotes(const CString& value)
{
    int n = value.GetLength();
    if (n >= 2 && value[0] == '"' && value[n - 1] == '"')
        return value.Mid(1, n - 2);
    return value;
}

// End of the start tag that begins at from: the first ">" outside quoted
// attribute values, or the end of the text.
int StartTagEnd(const CString& xml, int from)
{
    char quote = 0;
    for (int i = from; i < xml.GetLength(); ++i) {
        char c = xml[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i;
        }
    }
    return xml.GetLength();
}

}  // namespace

CCgiCmd::CCgiCmd() = default;
CCgiCmd::CCgiCmd(const CCgiCmd&) = default;
CCgiCmd& CCgiCmd::operator=(const CCgiCmd&) = default;
CCgiCmd::~CCgiCmd() = default;

CString CCgiCmd::GetCgiValue2(CString strReply, CString strName, int bNoVar)
{
    return VariableValue(std::move(strReply), strName, bNoVar, '"');
}

CString CCgiCmd::GetCgiValue(CString strReply, CString strName, int bNoVar)
{
    return VariableValue(std::move(strReply), strName, bNoVar, '\'');
}

CString CCgiCmd::GetCgiValueInt(CString strReply, CString strName, int bNoVar)
{
    return VariableValue(std::move(strReply), strName, bNoVar, 0);
}

int CCgiCmd::GetCgiValueInt2(CString strReply, CString strName, int, int bNoVar)
{
    return vxk::AtoiSaturated(GetCgiValueInt(std::move(strReply), strName, bNoVar));
}

int CCgiCmd::GetCgiValueInt3(CString strReply, CString strName, int, int bNoVar)
{
    return vxk::AtoiSaturated(GetCgiValue2(std::move(strReply), strName, bNoVar));
}

CString CCgiCmd::GetInivalue(CString strIni, CString strSection, CString strKey)
{
    const CString header = "[" + strSection + "]";
    const std::string_view text = strIni.view();
    const std::string_view key = strKey.view();
    bool on = false;
    size_t start = 0;
    while (start < text.size()) {
        // Lines end at "\n"; a "\r" before it goes with the break, a lone
        // one stays in the line.
        size_t lf = text.find('\n', start);
        size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
        std::string_view line = text.substr(start, (lf == std::string_view::npos ? text.size() : lf) - start);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        start = next;
        if (!on) {
            // Later headers do not end the search: a key of a later
            // section is found as well.
            on = line.substr(0, header.GetLength()) == header.view();
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string_view::npos || line.size() <= key.size() || line.substr(0, key.size()) != key)
            continue;
        char after = line[key.size()];
        if (after != '=' && !IsBlank(after))
            continue;
        std::string_view value = line.substr(eq + 1);
        while (!value.empty() && IsBlank(value.front()))
            value.remove_prefix(1);
        while (!value.empty() && IsBlank(value.back()))
            value.remove_suffix(1);
        return WithoutDoubleQuotes(CString(value));
    }
    return CString();
}

CString CCgiCmd::GetJsonValueStr(CString strJson, CString strKey)
{
    strJson.Replace(" :", ":");
    strJson.Replace(": ", ":");
    CString key = "\"" + strKey + "\":";
    int at = strJson.Find(key);
    if (at < 0)
        return CString();
    int after = at + key.GetLength();
    int end = strJson.Find(',', after);
    if (end < 0)
        end = strJson.Find('}', after);
    if (end < 0)
        return CString();
    // White space between JSON tokens means nothing (pretty-printed replies).
    CString value = strJson.Mid(after, end - after);
    value.Trim();
    return WithoutDoubleQuotes(value);
}

int CCgiCmd::GetJsonValueInt(CString strJson, CString strKey, int)
{
    return vxk::AtoiSaturated(GetJsonValueStr(std::move(strJson), strKey));
}

CString CCgiCmd::GetXmlAttr(CString strXml, CString strElement, CString strAttr)
{
    CString open = "<" + strElement + " ";
    int at = strXml.Find(open);
    if (at < 0)
        return CString();
    // Only within the element's own start tag, never in what follows it.
    int from = at + open.GetLength() - 1;
    int tagEnd = StartTagEnd(strXml, from);
    CString tag = strXml.Mid(from, tagEnd - from);
    CString attr = " " + strAttr + "=\"";
    int a = tag.Find(attr);
    if (a < 0)
        return CString();
    int valueStart = a + attr.GetLength();
    int valueEnd = tag.Find('"', valueStart);
    if (valueEnd < 0)
        return CString();
    return tag.Mid(valueStart, valueEnd - valueStart);
}

int CCgiCmd::GetXmlAttrInt(CString strXml, CString strElement, CString strAttr, int)
{
    return vxk::AtoiSaturated(GetXmlAttr(std::move(strXml), strElement, strAttr));
}

CString CCgiCmd::GetXmlTypeValue(CString strXml, CString strName, CString strType)
{
    CString open, close;
    if (strType.IsEmpty()) {
        open = "<" + strName + ">";
        close = "</" + strName + ">";
    } else {
        open = "<" + strName + "><" + strType + ">";
        close = "</" + strType + "></" + strName + ">";
    }
    int at = strXml.Find(open);
    if (at < 0)
        return CString();
    int start = at + open.GetLength();
    int end = strXml.Find(close, start);
    if (end < 0)
        return CString();
    return strXml.Mid(start, end - start);
}

CString CCgiCmd::GetXmlValue(CString strXml, CString strName)
{
    return GetXmlTypeValue(std::move(strXml), strName, "string");
}

int CCgiCmd::GetXmlValueInt(CString strXml, CString strName, int)
{
    return vxk::AtoiSaturated(GetXmlTypeValue(std::move(strXml), strName, "int"));
}

CString CCgiCmd::UrlEncode(CString strText)
{
    // Everything outside the unreserved set, so no name or password can end
    // a parameter, start another or break the request line.
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(static_cast<size_t>(strText.GetLength()) * 3);
    for (unsigned char c : strText.view()) {
        bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
                    || c == '_' || c == '~';
        if (keep) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
    }
    return CString(std::move(out));
}

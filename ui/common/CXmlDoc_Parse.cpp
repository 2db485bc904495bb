// The tokenizer, the element parser and the result report of CXmlDoc.
#include "ui/common/CXmlDoc.h"

#include "ui/common/CXmlDoc_p.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>

namespace vxxml {

bool NamesEqual(const char* a, const char* b, int nLen, bool bIgnoreCase)
{
    if (!bIgnoreCase)
        return std::memcmp(a, b, static_cast<size_t>(nLen)) == 0;
    for (int i = 0; i < nLen; ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

bool IsValidName(const char* szName)
{
    if (!szName || !IsNameStart(static_cast<unsigned char>(*szName)))
        return false;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(szName); *p; ++p) {
        const unsigned char c = *p;
        if (c < 0x20 || c == 0x7F || IsSpace(c) || std::strchr("\"'<>&/=[]", c))
            return false;
    }
    return true;
}

namespace {

// Offset of the first occurrence of the two- or three-character sequence
// seq in [from, end), or -1.
int FindSeq(const char* d, int from, int end, const char* seq, int nSeq)
{
    const char last = seq[nSeq - 1];
    int i = from + nSeq - 1;
    while (i < end) {
        const void* hit = std::memchr(d + i, last, static_cast<size_t>(end - i));
        if (!hit)
            return -1;
        i = static_cast<int>(static_cast<const char*>(hit) - d);
        if (i - (nSeq - 1) >= from && std::memcmp(d + i - (nSeq - 1), seq, static_cast<size_t>(nSeq - 1)) == 0)
            return i - (nSeq - 1);
        ++i;
    }
    return -1;
}

int NameEnd(const char* d, int i, int end)
{
    while (i < end && !IsNameEnd(static_cast<unsigned char>(d[i])))
        ++i;
    return i;
}

// Skips a quoted string starting at d[i]; returns the offset after its
// closing quote, or end when it is not closed.
int SkipQuoted(const char* d, int i, int end)
{
    const void* q = std::memchr(d + i + 1, d[i], static_cast<size_t>(end - i - 1));
    return q ? static_cast<int>(static_cast<const char*>(q) - d) + 1 : end;
}

int Unterminated(CXmlDoc::TokenCursor& c, const char* szType)
{
    c.szError = "unterminated_tag_syntax";
    c.szErrorType = szType;
    c.nErrorOffset = c.nOffset;
    c.nLength = c.nEnd - c.nOffset;
    c.nNext = c.nEnd;
    c.nTokenType = kTokError;
    return kTokError;
}

// A bad "<": the error node runs to the next ">" when that comes before the
// next "<", else up to that "<"; the text after it is read on as usual.
int SyntaxError(CXmlDoc::TokenCursor& c, const char* szError)
{
    const char* d = c.pDoc;
    int i = c.nOffset + 1;
    while (i < c.nEnd && d[i] != '<' && d[i] != '>')
        ++i;
    if (i < c.nEnd && d[i] == '>')
        ++i;
    c.szError = szError;
    c.nErrorOffset = c.nOffset;
    c.nLength = i - c.nOffset;
    c.nNext = i;
    c.nTokenType = kTokError;
    return kTokError;
}

int Finish(CXmlDoc::TokenCursor& c, int nType, int nAfter)
{
    c.nLength = nAfter - c.nOffset;
    c.nNext = nAfter;
    c.nTokenType = nType;
    return nType;
}

int ScanDoctype(CXmlDoc::TokenCursor& c)
{
    const char* d = c.pDoc;
    const int end = c.nEnd;
    int i = c.nOffset + 2;
    bool bSubset = false;
    int nBad = -1;
    while (i < end) {
        const char ch = d[i];
        if (ch == '"' || ch == '\'') {
            i = SkipQuoted(d, i, end);
            continue;
        }
        if (!bSubset) {
            if (ch == '>')
                break;
            if (ch == '[')
                bSubset = true;
            ++i;
            continue;
        }
        if (ch == ']') {
            bSubset = false;
            ++i;
            continue;
        }
        if (ch != '<') {
            ++i;
            continue;
        }
        // markup inside the internal subset
        if (i + 1 < end && d[i + 1] == '?') {
            const int q = FindSeq(d, i + 2, end, "?>", 2);
            i = q < 0 ? end : q + 2;
        } else if (i + 3 < end && d[i + 1] == '!' && d[i + 2] == '-' && d[i + 3] == '-') {
            const int q = FindSeq(d, i + 4, end, "-->", 3);
            i = q < 0 ? end : q + 3;
        } else if (i + 2 < end && d[i + 1] == '!' && d[i + 2] >= 'A' && d[i + 2] <= 'Z') {
            i += 3;
            while (i < end && d[i] != '>') {
                if (d[i] == '"' || d[i] == '\'')
                    i = SkipQuoted(d, i, end);
                else
                    ++i;
            }
            if (i < end)
                ++i;
        } else {
            if (nBad < 0)
                nBad = i;
            ++i;
        }
    }
    if (i >= end)
        return Unterminated(c, "document_type");
    Finish(c, CXmlDoc::NT_DOCUMENT_TYPE, i + 1);
    if (nBad >= 0) {
        c.szError = "doctype_tag_syntax";
        c.nErrorOffset = nBad;
        c.nTokenType = kTokError;
        return kTokError;
    }
    return CXmlDoc::NT_DOCUMENT_TYPE;
}

}  // namespace

int NextToken(CXmlDoc::TokenCursor& c)
{
    const char* d = c.pDoc;
    const int end = c.nEnd;
    const int n = c.nNext;
    c.szError = nullptr;
    c.szErrorType = nullptr;
    c.bEmptyElement = false;
    c.nOffset = n;
    if (n >= end) {
        c.nLength = 0;
        c.nTokenType = kTokEnd;
        return kTokEnd;
    }
    if (d[n] != '<') {
        const void* lt = std::memchr(d + n, '<', static_cast<size_t>(end - n));
        const int e = lt ? static_cast<int>(static_cast<const char*>(lt) - d) : end;
        int nType = CXmlDoc::NT_WHITESPACE;
        for (int i = n; i < e; ++i) {
            if (!IsSpace(static_cast<unsigned char>(d[i]))) {
                nType = CXmlDoc::NT_TEXT;
                break;
            }
        }
        return Finish(c, nType, e);
    }
    if (n + 1 >= end)
        return Unterminated(c, "tag");
    const unsigned char ch = static_cast<unsigned char>(d[n + 1]);
    if (IsNameStart(ch)) {
        c.nNameL = n + 1;
        c.nNameR = NameEnd(d, n + 1, end);
        int i = c.nNameR;
        while (i < end) {
            const char x = d[i];
            if (x == '>')
                break;
            if (x == '"' || x == '\'')
                i = SkipQuoted(d, i, end);
            else
                ++i;
        }
        if (i >= end)
            return Unterminated(c, "start_tag");
        c.bEmptyElement = d[i - 1] == '/' && i - 1 >= c.nNameR;
        return Finish(c, kTokStartTag, i + 1);
    }
    if (ch == '/') {
        c.nNameL = n + 2;
        c.nNameR = NameEnd(d, n + 2, end);
        const void* gt = std::memchr(d + c.nNameR, '>', static_cast<size_t>(end - c.nNameR));
        if (!gt)
            return Unterminated(c, "end_tag");
        return Finish(c, kTokEndTag, static_cast<int>(static_cast<const char*>(gt) - d) + 1);
    }
    if (ch == '?') {
        c.nNameL = n + 2;
        c.nNameR = n + 2;
        while (c.nNameR < end && !IsNameEnd(static_cast<unsigned char>(d[c.nNameR])) && d[c.nNameR] != '?')
            ++c.nNameR;
        const int q = FindSeq(d, n + 2, end, "?>", 2);
        if (q < 0)
            return Unterminated(c, "processing_instruction");
        return Finish(c, CXmlDoc::NT_PROCESSING_INSTRUCTION, q + 2);
    }
    if (ch == '!') {
        if (n + 2 >= end)
            return Unterminated(c, "tag");
        const char ch2 = d[n + 2];
        if (ch2 == '-') {
            if (n + 3 >= end)
                return Unterminated(c, "comment");
            if (d[n + 3] != '-')
                return SyntaxError(c, "comment_tag_syntax");
            const int q = FindSeq(d, n + 4, end, "-->", 3);
            if (q < 0)
                return Unterminated(c, "comment");
            return Finish(c, CXmlDoc::NT_COMMENT, q + 3);
        }
        if (ch2 == '[') {
            if (n + 3 >= end)
                return Unterminated(c, "cdata_section");
            if (d[n + 3] != 'C')
                return SyntaxError(c, "cdata_section_syntax");
            const int q = FindSeq(d, n + 3, end, "]]>", 3);
            if (q < 0)
                return Unterminated(c, "cdata_section");
            return Finish(c, CXmlDoc::NT_CDATA_SECTION, q + 3);
        }
        if (ch2 == 'D')
            return ScanDoctype(c);
        return SyntaxError(c, "exclamation_tag_syntax");
    }
    return SyntaxError(c, "first_tag_syntax");
}

void AddResult(CString& strResult, const char* szName, const char* szValueAttr, const char* szValue,
               const char* szNumAttr, int nNum, int nOffset2, bool bUpdate)
{
    std::string entry = "<";
    entry += szName;
    if (szValueAttr) {
        entry += ' ';
        entry += szValueAttr;
        entry += "=\"";
        entry += CXmlDoc::EscapeText(szValue ? szValue : "", CXmlDoc::NF_ESCAPE_QUOTES).GetString();
        entry += '"';
    }
    if (szNumAttr) {
        entry += ' ';
        entry += szNumAttr;
        entry += "=\"" + std::to_string(nNum) + "\"";
    }
    if (nOffset2 >= 0)
        entry += " offset2=\"" + std::to_string(nOffset2) + "\"";
    entry += "/>";
    if (bUpdate) {
        const std::string head = std::string("<") + szName;
        const char* s = strResult.GetString();
        for (const char* p = std::strstr(s, head.c_str()); p; p = std::strstr(p + 1, head.c_str())) {
            const char after = p[head.size()];
            if (after != ' ' && after != '/')
                continue;
            const char* close = std::strstr(p, "/>");
            if (!close)
                break;
            const int nAt = static_cast<int>(p - s);
            const int nLen = static_cast<int>(close + 2 - p);
            strResult = strResult.Left(nAt) + CString(entry.c_str()) + strResult.Mid(nAt + nLen);
            return;
        }
    }
    if (strResult.GetLength() >= kResultLimit)
        return;
    strResult += entry.c_str();
}

}  // namespace vxxml

using namespace vxxml;

namespace {

uint64_t NameHash(const char* p, int nLen, bool bIgnoreCase)
{
    uint64_t h = 1469598103934665603ull;
    for (int i = 0; i < nLen; ++i) {
        h ^= static_cast<unsigned char>(bIgnoreCase ? LowerAscii(p[i]) : p[i]);
        h *= 1099511628211ull;
    }
    return h;
}

}  // namespace

bool CXmlDoc::x_ParseDoc()
{
    x_SetPos(0, 0, 0);
    for (auto& map : m_maps)
        for (auto& bucket : map->buckets)
            bucket.clear();
    m_iPosFree = 1;
    m_iPosDeleted = 0;
    const int nLength = m_strDoc.GetLength();
    x_AllocElems(nLength / 64 + 8);
    ELEM(0) = ElemRecord();
    if (!nLength)
        return false;
    x_ParseRegion(0, 0, nLength, 0);
    ElemRecord& doc = ELEM(0);
    doc.nLength = nLength;
    if (!doc.iElemChild)
        AddResult(m_strResult, "no_root_element");
    else if (ELEM(doc.iElemChild).iElemNext)
        AddResult(m_strResult, "root_has_sibling");
    x_SetPos(0, 0, 0);
    return IsWellFormed();
}

// Closes elements that have no end tag: run holds them from the outermost
// (a child of iTarget) to the innermost, each the last child of the one
// before. Each keeps only its start tag, and everything that was inside
// them becomes, in text order, following siblings under iTarget. Done for
// the whole run at once, so every record is relinked once.
void CXmlDoc::x_CloseUnended(const std::vector<int>& run, int iTarget, int nOffset2)
{
    bool bIllData = false;
    int iChainLast = run.front();
    for (const int iElem : run) {
        ElemRecord& elem = ELEM(iElem);
        bIllData = bIllData || (elem.nFlags & EF_ILLDATA);
        elem.nFlags = (elem.nFlags & ~EF_ILLDATA) | EF_NONENDED;
        elem.nLength = elem.StartTagLen();
        const int iFirst = elem.iElemChild;
        if (!iFirst)
            continue;
        const int iLast = ELEM(iFirst).iElemPrev;
        for (int c = iFirst; c; c = ELEM(c).iElemNext)
            ELEM(c).iElemParent = iTarget;
        ELEM(iChainLast).iElemNext = iFirst;
        ELEM(iFirst).iElemPrev = iChainLast;
        ELEM(iFirst).nFlags &= ~EF_FIRST;
        ELEM(iElem).iElemChild = 0;
        iChainLast = iLast;
    }
    ELEM(iChainLast).iElemNext = 0;
    ELEM(ELEM(iTarget).iElemChild).iElemPrev = iChainLast;
    if (bIllData)
        ELEM(iTarget).nFlags |= EF_ILLDATA;
    const char* d = m_strDoc.GetString();
    for (auto it = run.rbegin(); it != run.rend(); ++it) {
        const ElemRecord& closed = ELEM(*it);
        int nNameR = closed.nStart + 1;
        while (!IsNameEnd(static_cast<unsigned char>(d[nNameR])))
            ++nNameR;
        const CString strName(d + closed.nStart + 1, nNameR - closed.nStart - 1);
        AddResult(m_strResult, "unended_start_tag", "tagname", strName, "offset", closed.nStart, nOffset2);
    }
}

// Parses [nBegin, nEnd) of the text into records appended as the last
// children of iParent. The stack of open elements is bounded by the deepest
// level a record can hold.
int CXmlDoc::x_ParseRegion(int iParent, int nBegin, int nEnd, int nBaseLevel)
{
    struct Open {
        int nNameL;
        int nNameLen;
        int iPos;
        uint64_t nHash;  // counted in deepNames when beyond the shallow part
    };
    std::vector<Open> stack;
    stack.reserve(7);
    std::vector<int> run;
    bool bRelinked = false;
    const bool bIgnoreCase = (m_nDocFlags & DF_IGNORE_CASE) != 0;
    // An end tag is matched from the top of the stack. Below the first few
    // levels the names of the open elements are counted, so that an end tag
    // no open element has (a flood of lone end tags under deep nesting) does
    // not search the whole stack each time.
    constexpr size_t kShallow = 16;
    std::unordered_map<uint64_t, int> deepNames;
    const auto popTo = [&](size_t nSize) {
        while (stack.size() > nSize) {
            if (stack.size() > kShallow) {
                const auto it = deepNames.find(stack.back().nHash);
                if (--it->second == 0)
                    deepNames.erase(it);
            }
            stack.pop_back();
        }
    };
    TokenCursor c;
    c.pDoc = m_strDoc.GetString();
    c.nNext = nBegin;
    c.nEnd = nEnd;
    c.nDocFlags = m_nDocFlags;
    int nElems = 0;
    const auto markError = [&](int iCur) {
        ELEM(0).nFlags |= EF_ILLFORMED;
        ELEM(iCur).nFlags |= EF_ILLDATA;
    };
    for (;;) {
        const int nType = NextToken(c);
        if (nType == kTokEnd)
            break;
        const int iCur = stack.empty() ? iParent : stack.back().iPos;
        if (nType == kTokStartTag) {
            const int nLevel = nBaseLevel + static_cast<int>(stack.size());
            if (nLevel > kMaxLevel) {
                AddResult(m_strResult, "deep_nesting", nullptr, nullptr, "offset", c.nOffset);
                markError(iCur);
                continue;
            }
            if (c.nLength > kMaxStartTagLen) {
                AddResult(m_strResult, "long_start_tag", nullptr, nullptr, "offset", c.nOffset);
                markError(iCur);
                continue;
            }
            const int i = x_NewElem();
            ElemRecord& r = ELEM(i);
            r.nStart = c.nOffset;
            r.SetStartTagLen(c.nLength);
            r.nFlags = nLevel;
            // appended as the last child
            r.iElemParent = iCur;
            ElemRecord& parent = ELEM(iCur);
            if (!parent.iElemChild) {
                parent.iElemChild = i;
                r.nFlags |= EF_FIRST;
                r.iElemPrev = i;
            } else {
                ElemRecord& first = ELEM(parent.iElemChild);
                r.iElemPrev = first.iElemPrev;
                ELEM(first.iElemPrev).iElemNext = i;
                first.iElemPrev = i;
            }
            ++nElems;
            if (c.bEmptyElement)
                r.nLength = c.nLength;
            else {
                uint64_t nHash = 0;
                if (stack.size() >= kShallow) {
                    nHash = NameHash(c.pDoc + c.nNameL, c.nNameR - c.nNameL, bIgnoreCase);
                    ++deepNames[nHash];
                }
                stack.push_back({c.nNameL, c.nNameR - c.nNameL, i, nHash});
            }
        } else if (nType == kTokEndTag) {
            const int nNameLen = c.nNameR - c.nNameL;
            int k = static_cast<int>(stack.size()) - 1;
            if (stack.size() > kShallow && !deepNames.count(NameHash(c.pDoc + c.nNameL, nNameLen, bIgnoreCase)))
                k = static_cast<int>(kShallow) - 1;
            for (; k >= 0; --k) {
                const Open& open = stack[static_cast<size_t>(k)];
                if (open.nNameLen == nNameLen
                    && NamesEqual(c.pDoc + open.nNameL, c.pDoc + c.nNameL, nNameLen, bIgnoreCase))
                    break;
            }
            const CString strName(c.pDoc + c.nNameL, nNameLen);
            if (k < 0) {
                AddResult(m_strResult, "lone_end_tag", "tagname", strName, "offset", c.nOffset);
                markError(iCur);
                continue;
            }
            if (c.nLength > kMaxEndTagLen) {
                AddResult(m_strResult, "long_end_tag", "tagname", strName, "offset", c.nOffset);
                markError(iCur);
                continue;
            }
            if (k < static_cast<int>(stack.size()) - 1) {
                ELEM(0).nFlags |= EF_ILLFORMED;
                run.clear();
                for (size_t n = static_cast<size_t>(k) + 1; n < stack.size(); ++n)
                    run.push_back(stack[n].iPos);
                x_CloseUnended(run, stack[static_cast<size_t>(k)].iPos, c.nOffset + 1);
                bRelinked = true;
                popTo(static_cast<size_t>(k) + 1);
            }
            ElemRecord& r = ELEM(stack.back().iPos);
            r.nLength = c.nOffset + c.nLength - r.nStart;
            r.SetEndTagLen(c.nLength);
            popTo(stack.size() - 1);
        } else if (nType == kTokError) {
            markError(iCur);
            if (c.szErrorType)
                AddResult(m_strResult, c.szError, "type", c.szErrorType, "offset", c.nErrorOffset);
            else
                AddResult(m_strResult, c.szError, nullptr, nullptr, "offset", c.nErrorOffset);
        }
    }
    if (!stack.empty()) {
        ELEM(0).nFlags |= EF_ILLFORMED;
        run.clear();
        for (const Open& open : stack)
            run.push_back(open.iPos);
        x_CloseUnended(run, iParent, nEnd);
        bRelinked = true;
    }
    // Unended elements handed their children up to their parents; setting
    // the levels after that, in one pass, keeps hostile nesting linear.
    if (bRelinked)
        x_SetLevels(iParent, nBaseLevel);
    return nElems;
}

// The result report as one line of prose.
CString CXmlDoc::GetError() const
{
    static const char* const kParseErrors[] = {
        "root_has_sibling",     "no_root_element",         "lone_end_tag",       "unended_start_tag",
        "first_tag_syntax",     "exclamation_tag_syntax",  "doctype_tag_syntax", "comment_tag_syntax",
        "cdata_section_syntax", "unterminated_tag_syntax", "deep_nesting",       "long_start_tag",
        "long_end_tag"};
    CXmlDoc report(m_strResult);
    CString strError;
    bool bParseErrorShown = false;
    const auto add = [&](const CString& strText) {
        if (!strError.IsEmpty())
            strError += ' ';
        strError += strText;
    };
    while (report.FindElem()) {
        const CString strName = report.GetTagName();
        const CString strOffset = report.GetAttrib("offset");
        bool bParseError = false;
        for (const char* p : kParseErrors)
            bParseError = bParseError || strName == p;
        if (bParseError) {
            if (bParseErrorShown)
                continue;
            bParseErrorShown = true;
        }
        if (strName == "root_has_sibling") {
            add("root element has sibling");
        } else if (strName == "no_root_element") {
            add("no root element");
        } else if (strName == "lone_end_tag") {
            add("lone end tag '" + report.GetAttrib("tagname") + "' at offset " + strOffset);
        } else if (strName == "unended_start_tag") {
            add("start tag '" + report.GetAttrib("tagname") + "' at offset " + strOffset
                + " expecting end tag at offset " + report.GetAttrib("offset2"));
        } else if (strName == "first_tag_syntax") {
            add("tag syntax error at offset " + strOffset + " expecting tag name / ! or ?");
        } else if (strName == "exclamation_tag_syntax") {
            add("tag syntax error at offset " + strOffset + " expecting 'DOCTYPE' [ or -");
        } else if (strName == "doctype_tag_syntax") {
            add("tag syntax error at offset " + strOffset + " expecting markup declaration");
        } else if (strName == "comment_tag_syntax") {
            add("tag syntax error at offset " + strOffset + " expecting - to begin comment");
        } else if (strName == "cdata_section_syntax") {
            add("tag syntax error at offset " + strOffset + " expecting 'CDATA'");
        } else if (strName == "unterminated_tag_syntax") {
            add("unterminated tag at offset " + strOffset);
        } else if (strName == "deep_nesting") {
            add("start tag at offset " + strOffset + " nested too deeply");
        } else if (strName == "long_start_tag") {
            add("start tag at offset " + strOffset + " too long");
        } else if (strName == "long_end_tag") {
            add("end tag '" + report.GetAttrib("tagname") + "' at offset " + strOffset + " too long");
        } else if (strName == "file_error") {
            add(report.GetAttrib("msg"));
        } else if (strName == "bom") {
            add("BOM +");
        } else if (strName == "read" || strName == "write" || strName == "converted_to"
                   || strName == "converted_from") {
            CString strText;
            if (strName == "converted_to")
                strText = "to ";
            const CString strEncoding = report.GetAttrib("encoding");
            if (!strEncoding.IsEmpty())
                strText += strEncoding + " ";
            strText += "length " + report.GetAttrib("length");
            if (strName == "converted_from")
                strText += " to";
            add(strText);
        } else if (strName == "nulls_removed") {
            add("removed " + report.GetAttrib("count") + " nulls");
        } else if (strName == "conversion_loss") {
            add("(chars lost in conversion!)");
        } else if (strName == "utf8_detection") {
            add("(used UTF-8 detection)");
        } else if (strName == "endian_swap") {
            add("endian swap");
        } else if (strName == "truncation_error") {
            add("encoding " + report.GetAttrib("encoding") + " adjustment error");
        }
    }
    return strError;
}

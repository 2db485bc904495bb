// Navigation and reading of CXmlDoc: elements, nodes, attributes, data.
#include "ui/common/CXmlDoc.h"

#include "ui/common/CXmlDoc_p.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace vxxml {

namespace {

// Skips a quoted run as the tokenizer does: to the matching quote.
int SkipQuotedRun(const char* d, int i, int nTo)
{
    const void* q = std::memchr(d + i + 1, d[i], static_cast<size_t>(nTo - i - 1));
    return q ? static_cast<int>(static_cast<const char*>(q) - d) + 1 : nTo;
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

// Steps to the next attribute of [i, nTo); false when there is none. Quotes
// are read as the tokenizer reads them, so that what an edit replaces is
// exactly what the tokenizer took as one attribute.
bool NextAttrib(const char* d, int& i, int nTo, AttribSpan& span)
{
    for (;;) {
        while (i < nTo && IsSpace(static_cast<unsigned char>(d[i])))
            ++i;
        if (i >= nTo)
            return false;
        if (IsQuote(d[i])) {
            // a quoted run where a name belongs is no attribute
            i = SkipQuotedRun(d, i, nTo);
            continue;
        }
        span.nNameL = i;
        while (i < nTo && !IsNameEnd(static_cast<unsigned char>(d[i])) && !IsQuote(d[i]))
            ++i;
        span.nNameR = i;
        if (span.nNameR == span.nNameL) {
            // a stray "/" or "=": step over it
            ++i;
            continue;
        }
        int j = i;
        while (j < nTo && IsSpace(static_cast<unsigned char>(d[j])))
            ++j;
        span.bHasValue = j < nTo && d[j] == '=';
        span.bQuoted = false;
        span.bStrayQuote = false;
        if (!span.bHasValue) {
            span.nValueL = span.nValueR = span.nEnd = span.nNameR;
            return true;
        }
        ++j;
        while (j < nTo && IsSpace(static_cast<unsigned char>(d[j])))
            ++j;
        if (j < nTo && IsQuote(d[j])) {
            span.bQuoted = true;
            span.nValueL = j + 1;
            span.nEnd = SkipQuotedRun(d, j, nTo);
            span.nValueR = d[span.nEnd - 1] == d[j] && span.nEnd - 1 > j ? span.nEnd - 1 : span.nEnd;
        } else {
            span.nValueL = j;
            while (j < nTo && !IsSpace(static_cast<unsigned char>(d[j]))) {
                if (IsQuote(d[j]))
                    span.bStrayQuote = true;
                j = IsQuote(d[j]) ? SkipQuotedRun(d, j, nTo) : j + 1;
            }
            span.nValueR = span.nEnd = j;
        }
        i = span.nEnd;
        return true;
    }
}

}  // namespace

bool FindAttrib(const char* d, int nFrom, int nTo, const char* szAttrib, bool bIgnoreCase, AttribSpan& span,
                int* pnAfterLast)
{
    const int nLen = szAttrib ? static_cast<int>(std::strlen(szAttrib)) : 0;
    int i = nFrom;
    if (pnAfterLast)
        *pnAfterLast = nFrom;
    AttribSpan cur;
    bool bFound = false;
    while (NextAttrib(d, i, nTo, cur)) {
        if (pnAfterLast)
            *pnAfterLast = cur.nEnd;
        if (!bFound && nLen && cur.nNameR - cur.nNameL == nLen
            && NamesEqual(d + cur.nNameL, szAttrib, nLen, bIgnoreCase)) {
            span = cur;
            bFound = true;
            if (!pnAfterLast)
                break;
        }
    }
    return bFound;
}

bool NthAttrib(const char* d, int nFrom, int nTo, int n, AttribSpan& span)
{
    if (n < 0)
        return false;
    int i = nFrom;
    for (int k = 0; NextAttrib(d, i, nTo, span); ++k)
        if (k == n)
            return true;
    return false;
}

}  // namespace vxxml

using namespace vxxml;

namespace {

// A name for FindElem: a plain name, optionally with one bracketed
// predicate: a position "[2]" (from 1, no leading 0) or an attribute
// "[@id]", "[@id=7]", "[@id='7']".
struct ElemPath {
    std::string strName;
    int nIndex = 0;
    std::string strAttrib;
    std::string strValue;
    bool bHasValue = false;
};

bool ParsePath(const char* szPath, ElemPath& path)
{
    if (!szPath)
        return true;
    if (*szPath == '/')
        return false;
    const char* p = szPath;
    while (*p && *p != '[' && *p != ']')
        ++p;
    path.strName.assign(szPath, p);
    if (!*p)
        return true;
    if (*p == ']')
        return false;
    const char* close = std::strchr(p, ']');
    if (!close || close[1] || std::memchr(p + 1, '[', static_cast<size_t>(close - p - 1)))
        return false;
    const std::string pred(p + 1, close);
    if (pred.empty())
        return false;
    if (pred[0] >= '1' && pred[0] <= '9') {
        for (char c : pred)
            if (c < '0' || c > '9')
                return false;
        if (pred.size() > 9)
            return false;
        path.nIndex = std::atoi(pred.c_str());
        return true;
    }
    if (pred[0] != '@' || pred.size() < 2)
        return false;
    const size_t eq = pred.find('=');
    path.strAttrib = pred.substr(1, eq == std::string::npos ? std::string::npos : eq - 1);
    if (path.strAttrib.empty())
        return false;
    if (eq != std::string::npos) {
        path.bHasValue = true;
        path.strValue = pred.substr(eq + 1);
        const size_t n = path.strValue.size();
        if (n >= 2 && (path.strValue[0] == '"' || path.strValue[0] == '\'') && path.strValue[n - 1] == path.strValue[0])
            path.strValue = path.strValue.substr(1, n - 2);
    }
    return true;
}

}  // namespace

int CXmlDoc::x_ContentStart(int iParent) const
{
    if (!iParent)
        return 0;
    const ElemRecord& r = ELEM(iParent);
    return r.nStart + r.StartTagLen();
}

int CXmlDoc::x_ContentEnd(int iParent) const
{
    if (!iParent)
        return m_strDoc.GetLength();
    const ElemRecord& r = ELEM(iParent);
    return r.nStart + r.nLength - r.EndTagLen();
}

bool CXmlDoc::x_NameMatches(int iPos, const char* szName, int nNameLen) const
{
    const char* d = m_strDoc.GetString();
    const ElemRecord& r = ELEM(iPos);
    if (nNameLen >= r.StartTagLen())
        return false;
    const char* tag = d + r.nStart + 1;
    return NamesEqual(tag, szName, nNameLen, (m_nDocFlags & DF_IGNORE_CASE) != 0)
           && IsNameEnd(static_cast<unsigned char>(tag[nNameLen]));
}

int CXmlDoc::x_FindElem(int iPosParent, int iPos, const char* szName) const
{
    ElemPath path;
    if (!ParsePath(szName, path))
        return 0;
    const int nNameLen = static_cast<int>(path.strName.size());
    int nMatches = 0;
    for (int i = iPos ? ELEM(iPos).iElemNext : ELEM(iPosParent).iElemChild; i; i = ELEM(i).iElemNext) {
        if (nNameLen && !x_NameMatches(i, path.strName.c_str(), nNameLen))
            continue;
        if (!path.strAttrib.empty()) {
            int nFrom = 0;
            int nTo = 0;
            x_AttribRegion(i, false, nFrom, nTo);
            AttribSpan span;
            if (!FindAttrib(m_strDoc.GetString(), nFrom, nTo, path.strAttrib.c_str(),
                            (m_nDocFlags & DF_IGNORE_CASE) != 0, span))
                continue;
            if (path.bHasValue) {
                const CString strValue =
                    UnescapeText(m_strDoc.GetString() + span.nValueL, span.nValueR - span.nValueL, m_nDocFlags);
                if (strValue != path.strValue.c_str())
                    continue;
            }
        }
        if (path.nIndex && ++nMatches < path.nIndex)
            continue;
        return i;
    }
    return 0;
}

bool CXmlDoc::FindElem(XML_CSTR szName)
{
    if (x_FileMode())
        return false;
    const int iPos = x_FindElem(m_iPosParent, m_iPos, szName.pcsz);
    if (!iPos)
        return false;
    x_SetPos(m_iPosParent, iPos, 0);
    return true;
}

bool CXmlDoc::FindChildElem(XML_CSTR szName)
{
    if (x_FileMode())
        return false;
    if (!m_iPos && !FindElem())
        return false;
    const int iPosChild = x_FindElem(m_iPos, m_iPosChild, szName.pcsz);
    if (!iPosChild)
        return false;
    x_SetPos(m_iPosParent, m_iPos, iPosChild);
    return true;
}

bool CXmlDoc::IntoElem()
{
    if (x_FileMode() || !m_iPos || m_nNodeType != NT_ELEMENT)
        return false;
    x_SetPos(m_iPos, m_iPosChild, 0);
    return true;
}

bool CXmlDoc::OutOfElem()
{
    if (x_FileMode() || !m_iPosParent)
        return false;
    x_SetPos(ELEM(m_iPosParent).iElemParent, m_iPosParent, m_iPos);
    return true;
}

int CXmlDoc::FindNode(int nType)
{
    if (x_FileMode())
        return 0;
    int nStart;
    if (x_AtNodeOffset())
        nStart = m_nNodeOffset + m_nNodeLength;
    else if (m_iPos)
        nStart = ELEM(m_iPos).nStart + ELEM(m_iPos).nLength;
    else
        nStart = x_ContentStart(m_iPosParent);
    int iPrev = m_iPos;
    int iNextElem = iPrev ? ELEM(iPrev).iElemNext : ELEM(m_iPosParent).iElemChild;
    const int nContentEnd = x_ContentEnd(m_iPosParent);
    TokenCursor c;
    c.pDoc = m_strDoc.GetString();
    c.nNext = nStart;
    c.nDocFlags = m_nDocFlags;
    // Nodes are read only in the gaps between elements, so that a bad tag
    // (one left open to the end of the text) never reaches over an element.
    for (;;) {
        if (iNextElem && c.nNext >= ELEM(iNextElem).nStart) {
            const ElemRecord& r = ELEM(iNextElem);
            c.nNext = r.nStart + r.nLength;
            iPrev = iNextElem;
            iNextElem = r.iElemNext;
            if (nType && !(nType & NT_ELEMENT))
                continue;
            x_SetPos(m_iPosParent, iPrev, 0);
            x_SetNode(NT_ELEMENT, r.nStart, r.nLength);
            return NT_ELEMENT;
        }
        c.nEnd = iNextElem ? ELEM(iNextElem).nStart : nContentEnd;
        int nFound = NextToken(c);
        if (nFound == kTokEnd) {
            if (!iNextElem)
                return 0;
            continue;
        }
        if (nFound == kTokStartTag || nFound == kTokError)
            nFound = NT_NODE_ERROR;
        else if (nFound == kTokEndTag)
            nFound = NT_LONE_END_TAG;
        if (nType && !(nType & nFound))
            continue;
        m_iPos = iPrev;
        m_iPosChild = 0;
        x_SetNode(nFound, c.nOffset, c.nLength);
        return nFound;
    }
}

CString CXmlDoc::x_GetTagName(int iPos) const
{
    if (!iPos)
        return CString();
    const char* d = m_strDoc.GetString();
    const ElemRecord& r = ELEM(iPos);
    int i = r.nStart + 1;
    while (!IsNameEnd(static_cast<unsigned char>(d[i])))
        ++i;
    return CString(d + r.nStart + 1, i - r.nStart - 1);
}

CString CXmlDoc::GetTagName() const
{
    if (m_nNodeType <= NT_ELEMENT)
        return x_GetTagName(m_iPos);
    const char* d = m_strDoc.GetString();
    const int nEnd = m_nNodeOffset + m_nNodeLength;
    int i = m_nNodeOffset;
    switch (m_nNodeType) {
    case NT_TEXT:
    case NT_WHITESPACE:
        return "#text";
    case NT_CDATA_SECTION:
        return "#cdata-section";
    case NT_COMMENT:
        return "#comment";
    case NT_PROCESSING_INSTRUCTION:
    case NT_LONE_END_TAG: {
        i += 2;
        int j = i;
        while (j < nEnd && !IsNameEnd(static_cast<unsigned char>(d[j])) && d[j] != '?')
            ++j;
        return CString(d + i, j - i);
    }
    case NT_DOCUMENT_TYPE: {
        i += 2;  // "<!", then the keyword, white space and the name
        while (i < nEnd && !IsNameEnd(static_cast<unsigned char>(d[i])) && d[i] != '[')
            ++i;
        while (i < nEnd && IsSpace(static_cast<unsigned char>(d[i])))
            ++i;
        int j = i;
        while (j < nEnd && !IsNameEnd(static_cast<unsigned char>(d[j])) && d[j] != '[')
            ++j;
        return CString(d + i, j - i);
    }
    default:
        return CString();
    }
}

CString CXmlDoc::GetChildTagName() const
{
    return x_GetTagName(m_iPosChild);
}

// Where the attributes of an element (or, for the main position, of the
// current processing instruction) lie: after the name, before "/>", ">" or "?>".
bool CXmlDoc::x_AttribRegion(int iPos, bool bMain, int& nFrom, int& nTo) const
{
    const char* d = m_strDoc.GetString();
    if (bMain && m_nNodeType == NT_PROCESSING_INSTRUCTION) {
        nFrom = m_nNodeOffset + 2;
        nTo = m_nNodeOffset + m_nNodeLength - 2;
        while (nFrom < nTo && !IsNameEnd(static_cast<unsigned char>(d[nFrom])) && d[nFrom] != '?')
            ++nFrom;
        return true;
    }
    if ((bMain && m_nNodeType > NT_ELEMENT) || !iPos)
        return false;
    const ElemRecord& r = ELEM(iPos);
    nFrom = r.nStart + 1;
    nTo = r.nStart + r.StartTagLen() - 1;
    if (d[nTo - 1] == '/' && nTo - 1 > nFrom)
        --nTo;
    while (nFrom < nTo && !IsNameEnd(static_cast<unsigned char>(d[nFrom])))
        ++nFrom;
    return true;
}

CString CXmlDoc::x_GetAttrib(int iPos, bool bMain, const char* szAttrib) const
{
    int nFrom = 0;
    int nTo = 0;
    AttribSpan span;
    if (!szAttrib || !x_AttribRegion(iPos, bMain, nFrom, nTo)
        || !FindAttrib(m_strDoc.GetString(), nFrom, nTo, szAttrib, (m_nDocFlags & DF_IGNORE_CASE) != 0, span))
        return CString();
    return UnescapeText(m_strDoc.GetString() + span.nValueL, span.nValueR - span.nValueL, m_nDocFlags);
}

CString CXmlDoc::GetAttrib(XML_CSTR szAttrib) const
{
    return x_GetAttrib(m_iPos, true, szAttrib.pcsz);
}

CString CXmlDoc::GetChildAttrib(XML_CSTR szAttrib) const
{
    return x_GetAttrib(m_iPosChild, false, szAttrib.pcsz);
}

CString CXmlDoc::GetAttribName(int n) const
{
    CString strName;
    CString strValue;
    GetNthAttrib(n, strName, strValue);
    return strName;
}

bool CXmlDoc::GetNthAttrib(int n, CString& strName, CString& strValue) const
{
    int nFrom = 0;
    int nTo = 0;
    AttribSpan span;
    const char* d = m_strDoc.GetString();
    if (!x_AttribRegion(m_iPos, true, nFrom, nTo) || !NthAttrib(d, nFrom, nTo, n, span))
        return false;
    strName = CString(d + span.nNameL, span.nNameR - span.nNameL);
    strValue = UnescapeText(d + span.nValueL, span.nValueR - span.nValueL, m_nDocFlags);
    return true;
}

CString CXmlDoc::x_GetData(int iPos) const
{
    if (!iPos || ELEM(iPos).iElemChild)
        return CString();
    const char* d = m_strDoc.GetString();
    const int nFrom = x_ContentStart(iPos);
    const int nTo = x_ContentEnd(iPos);
    if (nFrom >= nTo)
        return CString();
    if (!std::memchr(d + nFrom, '<', static_cast<size_t>(nTo - nFrom)))
        return UnescapeText(d + nFrom, nTo - nFrom, m_nDocFlags);
    // Mixed content: text and CDATA sections count, other markup does not.
    std::string data;
    TokenCursor c;
    c.pDoc = d;
    c.nNext = nFrom;
    c.nEnd = nTo;
    for (int nType; (nType = NextToken(c)) != kTokEnd;) {
        if (nType == NT_TEXT || nType == NT_WHITESPACE)
            data += UnescapeText(d + c.nOffset, c.nLength, 0).GetString();
        else if (nType == NT_CDATA_SECTION && c.nLength >= 12)
            data.append(d + c.nOffset + 9, static_cast<size_t>(c.nLength - 12));
    }
    ApplyWhitespaceFlags(data, m_nDocFlags);
    return CString(data);
}

// The inner text of the current node found by FindNode.
CString CXmlDoc::x_GetNodeText(bool bInner) const
{
    const char* d = m_strDoc.GetString() + m_nNodeOffset;
    const int n = m_nNodeLength;
    if (!bInner)
        return CString(d, n);
    switch (m_nNodeType) {
    case NT_TEXT:
    case NT_WHITESPACE:
        return UnescapeText(d, n, m_nDocFlags);
    case NT_CDATA_SECTION:
        // "<![C" begins a section, so a short "<![C]]>" has no inner text
        return n >= 12 ? CString(d + 9, n - 12) : CString();
    case NT_COMMENT:
        return CString(d + 4, n - 7);
    case NT_PROCESSING_INSTRUCTION:
        return CString(d + 2, n - 4);
    default:
        return CString(d, n);
    }
}

CString CXmlDoc::GetData() const
{
    if (m_nNodeType > NT_ELEMENT)
        return x_GetNodeText(true);
    return x_GetData(m_iPos);
}

CString CXmlDoc::GetChildData() const
{
    return x_GetData(m_iPosChild);
}

CString CXmlDoc::x_GetElemContent(int iPos) const
{
    if (!iPos)
        return CString();
    const int nFrom = x_ContentStart(iPos);
    return CString(m_strDoc.GetString() + nFrom, x_ContentEnd(iPos) - nFrom);
}

CString CXmlDoc::GetElemContent() const
{
    if (m_nNodeType > NT_ELEMENT)
        return CString();
    return x_GetElemContent(m_iPos);
}

CString CXmlDoc::x_GetSubDoc(int iPos) const
{
    if (!iPos)
        return CString();
    const ElemRecord& r = ELEM(iPos);
    return CString(m_strDoc.GetString() + r.nStart, r.nLength);
}

CString CXmlDoc::GetSubDoc() const
{
    if (m_nNodeType > NT_ELEMENT)
        return x_GetNodeText(false);
    return x_GetSubDoc(m_iPos);
}

CString CXmlDoc::GetChildSubDoc() const
{
    return x_GetSubDoc(m_iPosChild);
}

// Editing of CXmlDoc. Each edit replaces one span of the text and then moves
// the records behind it, so the tree stays what a new parse would give.
// An edit that is refused changes nothing.
#include "ui/common/CXmlDoc.h"

#include "ui/common/CXmlDoc_p.h"

#include <cstring>
#include <string>

using namespace vxxml;

namespace {

const char kLineBreak[] = "\r\n";

// "]]>" cannot stand inside a CDATA section: it is split over two.
CString CdataSection(const char* szText)
{
    CString strText(szText ? szText : "");
    strText.Replace("]]>", "]]]]><![CDATA[>");
    return "<![CDATA[" + strText + "]]>";
}

CString FormatInt(int nValue)
{
    CString str;
    str.Format("%d", nValue);
    return str;
}

}  // namespace

// The current node (when navigation is by node) moves with the text behind
// the span; an edit of the node itself sets it anew.
void CXmlDoc::x_ReplaceText(int nOffset, int nOldLen, const CString& strNew)
{
    if (x_AtNodeOffset() && m_nNodeOffset >= nOffset + nOldLen && (nOldLen || m_nNodeOffset > nOffset || m_nNodeLength))
        m_nNodeOffset += strNew.GetLength() - nOldLen;
    if (nOldLen)
        m_strDoc.Delete(nOffset, nOldLen);
    if (!strNew.IsEmpty())
        m_strDoc.Insert(nOffset, strNew.GetString());
}

// An empty element "<a/>" opens to "<a>...</a>" by turning its "/>" into
// ">"; a tag that would still end in "/>" ("<a//>") or whose end tag would
// not fit the record cannot be opened.
bool CXmlDoc::x_CanOpen(int iPos) const
{
    const ElemRecord& r = ELEM(iPos);
    const int nStl = r.StartTagLen();
    if (!iPos || r.nLength != nStl || (r.nFlags & EF_NONENDED) || nStl < 4)
        return false;
    const char* d = m_strDoc.GetString() + r.nStart;
    if (d[nStl - 2] != '/' || d[nStl - 3] == '/')
        return false;
    return x_GetTagName(iPos).GetLength() + 3 <= kMaxEndTagLen;
}

bool CXmlDoc::x_HasOpenAncestor(int iParent, const char* szName) const
{
    const int nLen = static_cast<int>(std::strlen(szName));
    for (int i = iParent; i; i = ELEM(i).iElemParent)
        if (x_NameMatches(i, szName, nLen))
            return true;
    return false;
}

// Whether a new element without end tag named szName, put at nOffset among
// iParent's children after iBefore, would take an end tag on the next parse:
// its parent's own, or a lone end tag behind it.
bool CXmlDoc::x_EndTagWouldPair(int iParent, int iBefore, int nOffset, const char* szName) const
{
    const int nLen = static_cast<int>(std::strlen(szName));
    if (iParent && x_NameMatches(iParent, szName, nLen))
        return true;
    const bool bIgnoreCase = (m_nDocFlags & DF_IGNORE_CASE) != 0;
    int iNext = iBefore ? ELEM(iBefore).iElemNext : ELEM(iParent).iElemChild;
    TokenCursor c;
    c.pDoc = m_strDoc.GetString();
    c.nNext = nOffset;
    c.nEnd = x_ContentEnd(iParent);
    for (int nType; (nType = NextToken(c)) != kTokEnd;) {
        if (nType == kTokStartTag && iNext && ELEM(iNext).nStart == c.nOffset) {
            c.nNext = ELEM(iNext).nStart + ELEM(iNext).nLength;
            iNext = ELEM(iNext).iElemNext;
        } else if (nType == kTokEndTag && c.nNameR - c.nNameL == nLen
                   && NamesEqual(c.pDoc + c.nNameL, szName, nLen, bIgnoreCase)) {
            return true;
        }
    }
    return false;
}

// Whether a lone end tag named szName, put among iParent's children after
// iBefore, would close an element on the next parse: an open ancestor, or an
// element without end tag before it at this level.
bool CXmlDoc::x_LoneEndTagWouldPair(int iParent, int iBefore, const char* szName) const
{
    if (x_HasOpenAncestor(iParent, szName))
        return true;
    const int nLen = static_cast<int>(std::strlen(szName));
    for (int i = iBefore ? ELEM(iParent).iElemChild : 0; i; i = ELEM(i).iElemNext) {
        if ((ELEM(i).nFlags & EF_NONENDED) && x_NameMatches(i, szName, nLen))
            return true;
        if (i == iBefore)
            break;
    }
    return false;
}

// Where new markup goes: the parent that receives it, the sibling it follows
// (0: it comes first) and its offset in the text.
bool CXmlDoc::x_InsertPoint(bool bChild, bool bInsert, bool bNode, bool bNoLines, int& iParent, int& iBefore,
                            int& nOffset) const
{
    int iCur;
    if (bChild) {
        if (!m_iPos || m_nNodeType != NT_ELEMENT)
            return false;
        iParent = m_iPos;
        iCur = m_iPosChild;
    } else {
        iParent = m_iPosParent;
        iCur = m_iPos;
    }
    if (iParent && (ELEM(iParent).nFlags & EF_NONENDED))
        return false;
    const char* d = m_strDoc.GetString();
    const int nContentEnd = x_ContentEnd(iParent);
    // In line mode new markup goes after the line break that ends the
    // element before it, so lines stay lines.
    const auto afterElem = [&](int i) {
        int nEnd = ELEM(i).nStart + ELEM(i).nLength;
        if (!bNoLines) {
            int j = nEnd;
            while (j < nContentEnd && IsSpace(static_cast<unsigned char>(d[j])))
                ++j;
            if (j == nContentEnd || d[j] == '<')
                nEnd = j;
        }
        return nEnd;
    };
    const int iFirst = ELEM(iParent).iElemChild;
    const int iLast = iFirst ? ELEM(iFirst).iElemPrev : 0;
    if (!bChild && x_AtNodeOffset()) {
        // the current node is not an element: next to that node
        iBefore = m_iPos;
        nOffset = bInsert ? m_nNodeOffset : m_nNodeOffset + m_nNodeLength;
    } else if (iCur) {
        if (bInsert) {
            iBefore = (ELEM(iCur).nFlags & EF_FIRST) ? 0 : ELEM(iCur).iElemPrev;
            nOffset = ELEM(iCur).nStart;
        } else {
            iBefore = iCur;
            nOffset = afterElem(iCur);
        }
    } else if (bInsert) {
        iBefore = 0;
        if (iFirst && !bNode)
            nOffset = ELEM(iFirst).nStart;
        else if (!iParent && !bNode)
            nOffset = nContentEnd;
        else
            nOffset = x_ContentStart(iParent);
    } else {
        iBefore = iLast;
        nOffset = (iLast && !bNode) ? afterElem(iLast) : nContentEnd;
    }
    return true;
}

// Puts strText at nOffset among iParent's children after iBefore and moves
// the records behind it. An empty parent ("<p/>") is opened to take it.
// Returns the offset where strText now starts, or -1 when refused.
int CXmlDoc::x_InsertText(int iParent, int iBefore, int nOffset, const CString& strText, bool bNoLines)
{
    if (iParent) {
        const ElemRecord& parent = ELEM(iParent);
        const int nStl = parent.StartTagLen();
        if (parent.nLength == nStl) {
            if (!x_CanOpen(iParent))
                return -1;
            const CString strName = x_GetTagName(iParent);
            const int nAt = parent.nStart + nStl - 2;
            CString strNew = ">";
            if (!bNoLines)
                strNew += kLineBreak;
            const int nTextAt = nAt + strNew.GetLength();
            strNew += strText + "</" + strName + ">";
            x_ReplaceText(nAt, 2, strNew);
            x_Adjust(iParent, 0, strNew.GetLength() - 2);
            ElemRecord& opened = ELEM(iParent);
            opened.SetStartTagLen(nStl - 1);
            opened.SetEndTagLen(strName.GetLength() + 3);
            return nTextAt;
        }
    }
    x_ReplaceText(nOffset, 0, strText);
    x_Adjust(iParent, iBefore, strText.GetLength());
    return nOffset;
}

bool CXmlDoc::x_AddElem(const char* szName, int nValue, int nFlags)
{
    return x_AddElem(szName, FormatInt(nValue).GetString(), nFlags);
}

bool CXmlDoc::x_AddElem(const char* szName, const char* szValue, int nFlags)
{
    if (x_FileMode() || !IsValidName(szName))
        return false;
    const int nNameLen = static_cast<int>(std::strlen(szName));
    if (nNameLen + 3 > kMaxEndTagLen)
        return false;
    const bool bHasValue = szValue && *szValue;
    if ((nFlags & NF_WITH_NO_END) && bHasValue)
        return false;
    const bool bChild = (nFlags & NF_CHILD) != 0;
    const bool bNoLines = (nFlags & NF_WITH_NO_LINES) != 0;
    int iParent = 0;
    int iBefore = 0;
    int nOffset = 0;
    if (!x_InsertPoint(bChild, (nFlags & NF_INSERT) != 0, false, bNoLines, iParent, iBefore, nOffset))
        return false;
    const int nLevel = iParent ? ELEM(iParent).Level() + 1 : 0;
    if (nLevel > kMaxLevel)
        return false;
    if ((nFlags & NF_WITH_NO_END) && x_EndTagWouldPair(iParent, iBefore, nOffset, szName))
        return false;

    CString strElem = "<";
    strElem += szName;
    int nStl;
    int nEtl = 0;
    if (bHasValue) {
        strElem += ">";
        nStl = strElem.GetLength();
        strElem += (nFlags & NF_WITH_CDATA) ? CdataSection(szValue) : EscapeText(szValue, nFlags & NF_WITH_REFS);
        strElem += "</";
        strElem += szName;
        strElem += ">";
        nEtl = nNameLen + 3;
    } else {
        if (nFlags & NF_WITH_NO_END)
            strElem += ">";
        else if (nFlags & NF_WITH_SPACE_CLOSE)
            strElem += " />";
        else
            strElem += "/>";
        nStl = strElem.GetLength();
    }
    const int nElemLen = strElem.GetLength();
    if (!bNoLines)
        strElem += kLineBreak;
    const int nAt = x_InsertText(iParent, iBefore, nOffset, strElem, bNoLines);
    if (nAt < 0)
        return false;
    const int i = x_NewElem();
    ElemRecord& r = ELEM(i);
    r.nStart = nAt;
    r.nLength = nElemLen;
    r.SetStartTagLen(nStl);
    r.SetEndTagLen(nEtl);
    r.nFlags = nLevel | ((nFlags & NF_WITH_NO_END) ? EF_NONENDED : 0);
    x_LinkElem(iParent, iBefore, i);
    if (bChild)
        x_SetPos(m_iPosParent, m_iPos, i);
    else
        x_SetPos(iParent, i, 0);
    return true;
}

bool CXmlDoc::x_AddSubDoc(const char* szSubDoc, int nFlags)
{
    if (x_FileMode() || !szSubDoc)
        return false;
    // The markup must stand on its own as one element, so that it parses the
    // same inside this document as it does alone.
    CXmlDoc sub(m_nDocFlags & DF_IGNORE_CASE);
    sub.SetDoc(szSubDoc);
    if (!sub.IsWellFormed())
        return false;
    const bool bChild = (nFlags & NF_CHILD) != 0;
    int iParent = 0;
    int iBefore = 0;
    int nOffset = 0;
    if (!x_InsertPoint(bChild, (nFlags & NF_INSERT) != 0, false, false, iParent, iBefore, nOffset))
        return false;
    const int nBaseLevel = iParent ? ELEM(iParent).Level() + 1 : 0;
    int nDeepest = 0;
    for (int i = 1; i < sub.m_iPosFree; ++i)
        nDeepest = std::max(nDeepest, sub.ELEM(i).Level());
    if (nBaseLevel + nDeepest > kMaxLevel)
        return false;
    CString strText(szSubDoc);
    strText.TrimRight();
    const int nTextLen = strText.GetLength();
    strText += kLineBreak;
    const int nAt = x_InsertText(iParent, iBefore, nOffset, strText, false);
    if (nAt < 0)
        return false;
    // Parse the new markup under a scratch record, then hand its elements
    // to the real parent in order.
    const int iScratch = x_NewElem();
    x_ParseRegion(iScratch, nAt, nAt + nTextLen, nBaseLevel);
    int iPrev = iBefore;
    int iNew = 0;
    for (int c = ELEM(iScratch).iElemChild; c;) {
        const int iNext = ELEM(c).iElemNext;
        x_LinkElem(iParent, iPrev, c);
        if (!iNew)
            iNew = c;
        iPrev = c;
        c = iNext;
    }
    ElemRecord& scratch = ELEM(iScratch);
    scratch = ElemRecord();
    scratch.nFlags = EF_DELETED;
    scratch.iElemNext = m_iPosDeleted;
    m_iPosDeleted = iScratch;
    if (bChild)
        x_SetPos(m_iPosParent, m_iPos, iNew);
    else
        x_SetPos(iParent, iNew, 0);
    return true;
}

// The text of a new node of a type; false for a type or text that would not
// read back as one such node.
bool CXmlDoc::x_CreateNode(CString& strNode, int nType, const char* szText) const
{
    const char* s = szText ? szText : "";
    switch (nType) {
    case NT_ELEMENT: {
        strNode = CString("<") + s + "/>";
        TokenCursor c;
        c.pDoc = strNode.GetString();
        c.nEnd = strNode.GetLength();
        if (!IsValidName(CString(s).SpanExcluding(" \t\r\n")) || NextToken(c) != kTokStartTag
            || c.nLength != strNode.GetLength() || !c.bEmptyElement)
            return false;
        return true;
    }
    case NT_TEXT:
    case NT_WHITESPACE:
        if (!*s)
            return false;
        strNode = EscapeText(s, 0);
        return true;
    case NT_CDATA_SECTION:
        if (std::strstr(s, "]]>"))
            return false;
        strNode = CString("<![CDATA[") + s + "]]>";
        return true;
    case NT_PROCESSING_INSTRUCTION:
        if (!IsNameStart(static_cast<unsigned char>(*s)) || std::strstr(s, "?>"))
            return false;
        strNode = CString("<?") + s + "?>";
        return true;
    case NT_COMMENT:
        if (std::strstr(s, "-->"))
            return false;
        strNode = CString("<!--") + s + "-->";
        return true;
    case NT_DOCUMENT_TYPE: {
        strNode = s;
        TokenCursor c;
        c.pDoc = strNode.GetString();
        c.nEnd = strNode.GetLength();
        return std::strncmp(s, "<!D", 3) == 0 && NextToken(c) == NT_DOCUMENT_TYPE && c.nLength == strNode.GetLength();
    }
    case NT_LONE_END_TAG:
        if (!IsValidName(s))
            return false;
        strNode = CString("</") + s + ">";
        return true;
    default:
        return false;
    }
}

bool CXmlDoc::x_AddNode(int nType, const char* szText, int nFlags)
{
    if (x_FileMode())
        return false;
    CString strNode;
    if (!x_CreateNode(strNode, nType, szText))
        return false;
    const bool bNoLines =
        nType == NT_ELEMENT || nType == NT_TEXT || nType == NT_WHITESPACE || nType == NT_CDATA_SECTION;
    int iParent = 0;
    int iBefore = 0;
    int nOffset = 0;
    if (!x_InsertPoint(false, (nFlags & NF_INSERT) != 0, true, bNoLines, iParent, iBefore, nOffset))
        return false;
    const int nLevel = iParent ? ELEM(iParent).Level() + 1 : 0;
    if (nType == NT_ELEMENT && nLevel > kMaxLevel)
        return false;
    // A lone end tag that names an open element would close it on the next parse.
    if (nType == NT_LONE_END_TAG && x_LoneEndTagWouldPair(iParent, iBefore, szText))
        return false;
    const int nNodeLen = strNode.GetLength();
    if (!bNoLines)
        strNode += kLineBreak;
    const int nAt = x_InsertText(iParent, iBefore, nOffset, strNode, bNoLines);
    if (nAt < 0)
        return false;
    if (nType == NT_ELEMENT) {
        const int i = x_NewElem();
        ElemRecord& r = ELEM(i);
        r.nStart = nAt;
        r.nLength = nNodeLen;
        r.SetStartTagLen(nNodeLen);
        r.nFlags = nLevel;
        x_LinkElem(iParent, iBefore, i);
        x_SetPos(iParent, i, 0);
        x_SetNode(NT_ELEMENT, nAt, nNodeLen);
        return true;
    }
    if (nType == NT_LONE_END_TAG) {
        ELEM(0).nFlags |= EF_ILLFORMED;
        ELEM(iParent).nFlags |= EF_ILLDATA;
    }
    if (nType == NT_TEXT || nType == NT_WHITESPACE) {
        nType = NT_WHITESPACE;
        for (const char* p = strNode.GetString(); *p; ++p)
            if (!IsSpace(static_cast<unsigned char>(*p)))
                nType = NT_TEXT;
    }
    m_iPosParent = iParent;
    m_iPos = iBefore;
    m_iPosChild = 0;
    x_SetNode(nType, nAt, nNodeLen);
    return true;
}

bool CXmlDoc::SetAttrib(XML_CSTR szAttrib, int nValue, int nFlags)
{
    return x_SetAttrib(false, szAttrib, FormatInt(nValue).GetString(), nFlags);
}

bool CXmlDoc::SetChildAttrib(XML_CSTR szAttrib, int nValue, int nFlags)
{
    return x_SetAttrib(true, szAttrib, FormatInt(nValue).GetString(), nFlags);
}

bool CXmlDoc::x_SetAttrib(bool bChild, const char* szAttrib, const char* szValue, int nFlags)
{
    if (x_FileMode() || !IsValidName(szAttrib))
        return false;
    const int iPos = bChild ? m_iPosChild : m_iPos;
    int nFrom = 0;
    int nTo = 0;
    if (!x_AttribRegion(iPos, !bChild, nFrom, nTo))
        return false;
    const bool bNode = !bChild && m_nNodeType == NT_PROCESSING_INSTRUCTION;
    const char* d = m_strDoc.GetString();
    const CString strValue =
        "\"" + EscapeText(szValue ? szValue : "", NF_ESCAPE_QUOTES | (nFlags & NF_WITH_REFS)) + "\"";
    AttribSpan span;
    int nAfterLast = nFrom;
    int nAt;
    int nOldLen;
    CString strNew;
    if (FindAttrib(d, nFrom, nTo, szAttrib, (m_nDocFlags & DF_IGNORE_CASE) != 0, span, &nAfterLast)) {
        // Replacing a value that holds stray quotes would change where
        // the tag ends.
        if (span.bStrayQuote)
            return false;
        if (span.bHasValue) {
            nAt = span.bQuoted ? span.nValueL - 1 : span.nValueL;
            nOldLen = span.nEnd - nAt;
            strNew = strValue;
        } else {
            nAt = span.nNameR;
            nOldLen = 0;
            strNew = "=" + strValue;
        }
    } else {
        nAt = nAfterLast;
        nOldLen = 0;
        strNew = CString(" ") + szAttrib + "=" + strValue;
    }
    const int nShift = strNew.GetLength() - nOldLen;
    if (bNode) {
        x_ReplaceText(nAt, nOldLen, strNew);
        m_nNodeLength += nShift;
        x_Adjust(m_iPosParent, m_iPos, nShift);
        return true;
    }
    const int nStl = ELEM(iPos).StartTagLen() + nShift;
    if (nStl > kMaxStartTagLen)
        return false;
    x_ReplaceText(nAt, nOldLen, strNew);
    x_Adjust(iPos, 0, nShift);
    ELEM(iPos).SetStartTagLen(nStl);
    return true;
}

bool CXmlDoc::SetData(int nValue)
{
    return x_SetData(false, FormatInt(nValue).GetString(), 0);
}

bool CXmlDoc::SetChildData(int nValue)
{
    return x_SetData(true, FormatInt(nValue).GetString(), 0);
}

// Replaces the current node found by FindNode with a node of its type.
bool CXmlDoc::x_SetNodeText(const char* szText)
{
    int nType = m_nNodeType;
    CString strNode;
    if (!x_CreateNode(strNode, nType, szText))
        return false;
    if (nType == NT_LONE_END_TAG && x_LoneEndTagWouldPair(m_iPosParent, m_iPos, szText))
        return false;
    if (nType == NT_TEXT || nType == NT_WHITESPACE) {
        nType = NT_WHITESPACE;
        for (const char* p = strNode.GetString(); *p; ++p)
            if (!IsSpace(static_cast<unsigned char>(*p)))
                nType = NT_TEXT;
    }
    const int nShift = strNode.GetLength() - m_nNodeLength;
    x_ReplaceText(m_nNodeOffset, m_nNodeLength, strNode);
    x_Adjust(m_iPosParent, m_iPos, nShift);
    x_SetNode(nType, m_nNodeOffset, strNode.GetLength());
    return true;
}

bool CXmlDoc::x_SetData(bool bChild, const char* szData, int nFlags)
{
    if (x_FileMode())
        return false;
    if (!bChild && m_nNodeType > NT_ELEMENT)
        return x_SetNodeText(szData);
    const int iPos = bChild ? m_iPosChild : m_iPos;
    if (!iPos || (!bChild && m_nNodeType != NT_ELEMENT))
        return false;
    const ElemRecord& r = ELEM(iPos);
    if (r.iElemChild || (r.nFlags & EF_NONENDED))
        return false;
    const CString strContent =
        (nFlags & NF_WITH_CDATA) ? CdataSection(szData) : EscapeText(szData ? szData : "", nFlags & NF_WITH_REFS);
    const int nStl = r.StartTagLen();
    if (r.nLength == nStl) {
        // "<a/>": opened to "<a>data</a>"
        if (strContent.IsEmpty()) {
            ELEM(iPos).nFlags &= ~EF_ILLDATA;
            return true;
        }
        if (!x_CanOpen(iPos))
            return false;
        const CString strName = x_GetTagName(iPos);
        const int nAt = r.nStart + nStl - 2;
        const CString strNew = ">" + strContent + "</" + strName + ">";
        x_ReplaceText(nAt, 2, strNew);
        x_Adjust(iPos, 0, strNew.GetLength() - 2);
        ElemRecord& opened = ELEM(iPos);
        opened.SetStartTagLen(nStl - 1);
        opened.SetEndTagLen(strName.GetLength() + 3);
        opened.nFlags &= ~EF_ILLDATA;
        return true;
    }
    const int nFrom = x_ContentStart(iPos);
    const int nOldLen = x_ContentEnd(iPos) - nFrom;
    x_ReplaceText(nFrom, nOldLen, strContent);
    x_Adjust(iPos, 0, strContent.GetLength() - nOldLen);
    ELEM(iPos).nFlags &= ~EF_ILLDATA;
    return true;
}

bool CXmlDoc::SetElemContent(XML_CSTR szContent)
{
    m_strResult.Empty();
    if (x_FileMode() || !m_iPos || m_nNodeType != NT_ELEMENT)
        return false;
    const int iPos = m_iPos;
    if (ELEM(iPos).nFlags & EF_NONENDED)
        return false;
    const CString strContent(szContent.pcsz ? szContent.pcsz : "");
    const int nStl = ELEM(iPos).StartTagLen();
    const bool bEmptyElem = ELEM(iPos).nLength == nStl;
    const CString strName = x_GetTagName(iPos);
    if (bEmptyElem && !strContent.IsEmpty() && !x_CanOpen(iPos))
        return false;
    // the old children go
    for (int c = ELEM(iPos).iElemChild; c;) {
        const int iNext = ELEM(c).iElemNext;
        x_ReleaseSubtree(c);
        c = iNext;
    }
    ELEM(iPos).iElemChild = 0;
    ELEM(iPos).nFlags &= ~EF_ILLDATA;
    int nFrom;
    if (bEmptyElem) {
        if (strContent.IsEmpty())
            return true;
        const int nAt = ELEM(iPos).nStart + nStl - 2;
        const CString strNew = ">" + strContent + "</" + strName + ">";
        x_ReplaceText(nAt, 2, strNew);
        x_Adjust(iPos, 0, strNew.GetLength() - 2);
        ElemRecord& opened = ELEM(iPos);
        opened.SetStartTagLen(nStl - 1);
        opened.SetEndTagLen(strName.GetLength() + 3);
        nFrom = nAt + 1;
    } else {
        nFrom = x_ContentStart(iPos);
        const int nOldLen = x_ContentEnd(iPos) - nFrom;
        x_ReplaceText(nFrom, nOldLen, strContent);
        x_Adjust(iPos, 0, strContent.GetLength() - nOldLen);
    }
    x_ParseRegion(iPos, nFrom, nFrom + strContent.GetLength(), ELEM(iPos).Level() + 1);
    // any problem in the new content marks the element that holds it
    if (!m_strResult.IsEmpty()) {
        ELEM(iPos).nFlags |= EF_ILLDATA;
        ELEM(0).nFlags |= EF_ILLFORMED;
    }
    x_DropSavedPositions();
    x_SetPos(m_iPosParent, iPos, 0);
    return true;
}

// Deletes an element with the white space after it when markup follows;
// returns its previous sibling (0 when it was the first).
int CXmlDoc::x_RemoveElem(int iPos)
{
    const ElemRecord& r = ELEM(iPos);
    const int iParent = r.iElemParent;
    const int nOffset = r.nStart;
    int nLen = r.nLength;
    const char* d = m_strDoc.GetString();
    const int nContentEnd = x_ContentEnd(iParent);
    int j = nOffset + nLen;
    while (j < nContentEnd && IsSpace(static_cast<unsigned char>(d[j])))
        ++j;
    if (d[j] == '<')
        nLen = j - nOffset;
    const int iPrev = (r.nFlags & EF_FIRST) ? 0 : r.iElemPrev;
    x_UnlinkElem(iPos);
    x_ReleaseSubtree(iPos);
    x_ReplaceText(nOffset, nLen, CString());
    x_Adjust(iParent, iPrev, -nLen);
    x_DropSavedPositions();
    return iPrev;
}

bool CXmlDoc::RemoveElem()
{
    if (x_FileMode() || !m_iPos || m_nNodeType != NT_ELEMENT)
        return false;
    const int iPrev = x_RemoveElem(m_iPos);
    x_SetPos(m_iPosParent, iPrev, 0);
    return true;
}

bool CXmlDoc::RemoveChildElem()
{
    if (x_FileMode() || !m_iPosChild)
        return false;
    const int iPrev = x_RemoveElem(m_iPosChild);
    x_SetPos(m_iPosParent, m_iPos, iPrev);
    return true;
}

// After a node is removed the position stays where it was, so FindNode goes
// on with the node that followed it.
bool CXmlDoc::RemoveNode()
{
    if (x_FileMode())
        return false;
    if (m_nNodeType == NT_ELEMENT && m_iPos) {
        const int nOffset = ELEM(m_iPos).nStart;
        const int iPrev = x_RemoveElem(m_iPos);
        x_SetPos(m_iPosParent, iPrev, 0);
        x_SetNode(0, nOffset, 0);
        return true;
    }
    if (m_nNodeType <= NT_ELEMENT)
        return false;
    const int nOffset = m_nNodeOffset;
    const int nLen = m_nNodeLength;
    x_ReplaceText(nOffset, nLen, CString());
    x_Adjust(m_iPosParent, m_iPos, -nLen);
    x_SetNode(0, nOffset, 0);
    return true;
}

#pragma once
// Structural checks of a CXmlDoc's element records, shared by its tests and
// its fuzz target: every record must describe the text, and an edited
// document must hold the records a fresh parse of its text would give.

#include "ui/common/CXmlDoc.h"

#include <string>
#include <vector>

namespace xmlcheck {

// Returns an empty text when the records are consistent with the text and
// with each other, else what is wrong.
inline std::string CheckTree(const CXmlDoc& doc)
{
    const CString& text = doc.GetDoc();
    const int nDocLen = text.GetLength();
    if (doc.GetRecord(0).nLength != nDocLen && !(nDocLen == 0 && doc.GetRecord(0).nLength == 0))
        return "record 0 length " + std::to_string(doc.GetRecord(0).nLength) + " != " + std::to_string(nDocLen);
    std::vector<int> stack{0};
    int nVisited = 0;
    while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        if (++nVisited > doc.GetFreePos())
            return "cycle in records";
        const CXmlDoc::ElemRecord& r = doc.GetRecord(i);
        const std::string at = " at record " + std::to_string(i);
        if (r.nFlags & CXmlDoc::EF_DELETED)
            return "released record linked" + at;
        int nFrom = 0;
        int nTo = nDocLen;
        if (i) {
            if (r.nStart < 0 || r.nStart + r.nLength > nDocLen || text[r.nStart] != '<')
                return "bad span" + at;
            if (r.StartTagLen() > r.nLength || r.StartTagLen() + r.EndTagLen() > r.nLength)
                return "bad tag lengths" + at;
            if (text[r.nStart + r.StartTagLen() - 1] != '>')
                return "start tag does not end in >" + at;
            if (r.EndTagLen()
                && (text[r.nStart + r.nLength - r.EndTagLen()] != '<'
                    || text[r.nStart + r.nLength - r.EndTagLen() + 1] != '/'))
                return "end tag does not start with </" + at;
            nFrom = r.nStart + r.StartTagLen();
            nTo = r.nStart + r.nLength - r.EndTagLen();
        }
        const int iFirst = r.iElemChild;
        int nPrevEnd = nFrom;
        int iPrev = 0;
        for (int c = iFirst; c; c = doc.GetRecord(c).iElemNext) {
            if (c <= 0 || c >= doc.GetFreePos())
                return "link out of range" + at;
            const CXmlDoc::ElemRecord& child = doc.GetRecord(c);
            const std::string cat = " at child " + std::to_string(c);
            if (child.iElemParent != i)
                return "wrong parent" + cat;
            if (child.Level() != (i ? r.Level() + 1 : 0))
                return "wrong level" + cat;
            if (((child.nFlags & CXmlDoc::EF_FIRST) != 0) != (c == iFirst))
                return "wrong first flag" + cat;
            if (c != iFirst && child.iElemPrev != iPrev)
                return "wrong previous link" + cat;
            if (child.nStart < nPrevEnd || child.nStart + child.nLength > nTo)
                return "child outside its parent or overlapping" + cat;
            nPrevEnd = child.nStart + child.nLength;
            iPrev = c;
            stack.push_back(c);
            if (static_cast<int>(stack.size()) > doc.GetFreePos())
                return "cycle in siblings";
        }
        if (iFirst && doc.GetRecord(iFirst).iElemPrev != iPrev)
            return "first child's previous is not the last child" + at;
    }
    return std::string();
}

// Empty when a and b hold the same trees (record indexes may differ). The
// flags that tell a parse problem was met (the document's, and an element's
// 0x200000) are left out: they record the parse, and an edit that removes
// the bad markup does not undo them.
inline std::string CompareTrees(const CXmlDoc& a, const CXmlDoc& b)
{
    std::vector<std::pair<int, int>> stack{{0, 0}};
    while (!stack.empty()) {
        const auto [ia, ib] = stack.back();
        stack.pop_back();
        const CXmlDoc::ElemRecord& ra = a.GetRecord(ia);
        const CXmlDoc::ElemRecord& rb = b.GetRecord(ib);
        const std::string at = " at offset " + std::to_string(ra.nStart);
        if (ra.nStart != rb.nStart || ra.nLength != rb.nLength)
            return "span differs" + at;
        if (ra.nTagLengths != rb.nTagLengths)
            return "tag lengths differ" + at;
        const int nMask = ~CXmlDoc::EF_ILLDATA;
        if (ia && (ra.nFlags & nMask) != (rb.nFlags & nMask))
            return "flags differ" + at + ": " + std::to_string(ra.nFlags) + " vs " + std::to_string(rb.nFlags);
        int ca = ra.iElemChild;
        int cb = rb.iElemChild;
        for (; ca && cb; ca = a.GetRecord(ca).iElemNext, cb = b.GetRecord(cb).iElemNext)
            stack.push_back({ca, cb});
        if (ca || cb)
            return "child count differs" + at;
    }
    return std::string();
}

// Both checks against a fresh parse of the document's text.
inline std::string CheckAgainstFreshParse(const CXmlDoc& doc)
{
    std::string problem = CheckTree(doc);
    if (!problem.empty())
        return problem;
    CXmlDoc fresh(doc.GetDocFlags() & CXmlDoc::DF_IGNORE_CASE);
    fresh.SetDoc(doc.GetDoc());
    return CompareTrees(doc, fresh);
}

}  // namespace xmlcheck

// Any text must parse into records that describe it; navigation over them
// must stay in bounds; and every edit must keep the records consistent, and
// equal to a fresh parse when the document was well formed.
//
// Input: one byte of document flags, 16 bytes of edit script, the document.

#include "ui/common/CXmlDoc.h"

#include "ui/common/xml_tree_check.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Require(const std::string& problem, const char* szWhat, const CXmlDoc& doc)
{
    if (problem.empty())
        return;
    std::fprintf(stderr, "%s: %s\ndocument: %s\n", szWhat, problem.c_str(), doc.GetDoc().GetString());
    std::abort();
}

// Reads everything reachable, element by element and node by node.
void Walk(CXmlDoc& doc)
{
    doc.ResetPos();
    int nSteps = 0;
    for (;;) {
        if (++nSteps > 5000)
            break;
        const int nType = doc.FindNode();
        if (nType == CXmlDoc::NT_ELEMENT) {
            (void)doc.GetTagName();
            (void)doc.GetAttrib("a");
            (void)doc.GetData();
            CString strName;
            CString strValue;
            for (int n = 0; doc.GetNthAttrib(n, strName, strValue) && n < 8; ++n) {}
            (void)doc.GetElemContent();
            doc.IntoElem();
            continue;
        }
        if (nType) {
            (void)doc.GetTagName();
            (void)doc.GetData();
            (void)doc.GetAttrib("version");
            continue;
        }
        if (!doc.OutOfElem())
            break;
    }
    doc.ResetPos();
    while (doc.FindChildElem()) {
        (void)doc.GetChildTagName();
        (void)doc.GetChildData();
        (void)doc.GetChildAttrib("id");
    }
}

bool Edit(CXmlDoc& doc, uint8_t op)
{
    switch (op % 32) {
    case 0:
        return doc.FindElem();
    case 1:
        return doc.FindChildElem();
    case 2:
        return doc.IntoElem();
    case 3:
        return doc.OutOfElem();
    case 4:
        return doc.FindNode() != 0;
    case 5:
        doc.ResetPos();
        return true;
    case 6:
        return doc.AddElem("n", "d&<");
    case 7:
        return doc.InsertElem("n");
    case 8:
        return doc.AddChildElem("c", 5);
    case 9:
        return doc.InsertChildElem("c", "", CXmlDoc::NF_WITH_NO_LINES);
    case 10:
        return doc.AddElem("e", nullptr, CXmlDoc::NF_WITH_NO_END);
    case 11:
        return doc.SetAttrib("a", "v'\"&");
    case 12:
        return doc.SetChildAttrib("b", 1);
    case 13:
        return doc.SetData("x<y");
    case 14:
        return doc.SetData("z]]>", CXmlDoc::NF_WITH_CDATA);
    case 15:
        return doc.SetChildData("w");
    case 16:
        return doc.SetElemContent("<p>t</p>\r\n<q/>");
    case 17:
        return doc.AddSubDoc("<s k='1'><t/></s>");
    case 18:
        return doc.InsertChildSubDoc("<u/>");
    case 19:
        return doc.AddNode(CXmlDoc::NT_COMMENT, " c ");
    case 20:
        return doc.InsertNode(CXmlDoc::NT_TEXT, "tx");
    case 21:
        return doc.AddNode(CXmlDoc::NT_PROCESSING_INSTRUCTION, "pi v='1'");
    case 22:
        return doc.AddNode(CXmlDoc::NT_ELEMENT, "el x='1'");
    case 23:
        return doc.AddNode(CXmlDoc::NT_LONE_END_TAG, "zz");
    case 24:
        return doc.RemoveElem();
    case 25:
        return doc.RemoveChildElem();
    case 26:
        return doc.RemoveNode();
    case 27:
        return doc.SavePos("p", op >> 5);
    case 28:
        return doc.RestorePos("p", op >> 5);
    case 29:
        return doc.AddChildElem("c", "v", CXmlDoc::NF_WITH_SPACE_CLOSE);
    case 30:
        return doc.SetAttrib("a", 7);
    default:
        return doc.InsertNode(CXmlDoc::NT_CDATA_SECTION, "cd");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 17)
        return 0;
    const int nFlags = data[0] & (CXmlDoc::DF_IGNORE_CASE | 0x03);
    const uint8_t* ops = data + 1;
    const std::string text(reinterpret_cast<const char*>(data + 17), size - 17);
    CXmlDoc doc((nFlags & 1) ? CXmlDoc::DF_IGNORE_CASE : 0);
    if (nFlags & 2)
        doc.SetDocFlags(doc.GetDocFlags() | CXmlDoc::DF_COLLAPSE_WHITESPACE);
    doc.SetDoc(text.c_str());
    Require(xmlcheck::CheckTree(doc), "parse", doc);
    (void)doc.GetError();
    const bool bWellFormed = doc.IsWellFormed();
    Walk(doc);
    doc.ResetPos();
    static const bool bTrace = std::getenv("XMLDOC_FUZZ_TRACE") != nullptr;
    for (int i = 0; i < 16; ++i) {
        const bool bDone = Edit(doc, ops[i]);
        if (bTrace)
            std::fprintf(stderr, "op %d -> %d: [%s]\n", ops[i] % 32, bDone, doc.GetDoc().GetString());
        if (bWellFormed)
            Require(xmlcheck::CheckAgainstFreshParse(doc), "edit", doc);
        else
            Require(xmlcheck::CheckTree(doc), "edit", doc);
    }
    Walk(doc);
    CXmlDoc copy(doc);
    Require(xmlcheck::CompareTrees(copy, doc), "copy", doc);
    return 0;
}

// Editing: every step of a script must leave the records a fresh parse of
// the new text would give.
#include "ui/common/CXmlDoc.h"

#include "ui/common/xml_tree_check.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Step = std::function<bool(CXmlDoc&)>;

struct Script {
    const char* szName;
    const char* szStart;
    std::vector<Step> steps;
    const char* szEnd;
};

void RunScript(const Script& script)
{
    SCOPED_TRACE(script.szName);
    CXmlDoc doc(script.szStart);
    for (size_t i = 0; i < script.steps.size(); ++i) {
        ASSERT_TRUE(script.steps[i](doc)) << "step " << i << " refused; doc: " << doc.GetDoc().GetString();
        ASSERT_EQ(xmlcheck::CheckAgainstFreshParse(doc), "") << "after step " << i << ": " << doc.GetDoc().GetString();
    }
    EXPECT_STREQ(doc.GetDoc(), script.szEnd);
}

TEST(CXmlDocEdit, ScriptsKeepRecordsInStepWithTheText)
{
    const Script scripts[] = {
        {"build a document from nothing",
         "",
         {
             [](CXmlDoc& d) { return d.AddElem("root"); },
             [](CXmlDoc& d) { return d.AddChildElem("a", "x&y"); },
             [](CXmlDoc& d) { return d.AddChildElem("b"); },
             [](CXmlDoc& d) { return d.InsertChildElem("first", 7); },
             [](CXmlDoc& d) { return d.SetChildAttrib("k", "v\"<"); },
             [](CXmlDoc& d) { return d.SetChildAttrib("k", 2); },
             [](CXmlDoc& d) { return d.IntoElem(); },
             [](CXmlDoc& d) { return d.FindElem("b"); },
             [](CXmlDoc& d) { return d.AddChildElem("deep"); },
             [](CXmlDoc& d) { return d.SetAttrib("n", "1"); },
             [](CXmlDoc& d) { return d.OutOfElem(); },
             [](CXmlDoc& d) { return d.AddElem("tail"); },
         },
         "<root>\r\n<a>x&amp;y</a>\r\n<first k=\"2\">7</first>\r\n<b n=\"1\">\r\n<deep/>\r\n</b>\r\n</root>\r\n"
         "<tail/>\r\n"},
        {"data, content and removal",
         "<r>\r\n<a>old</a>\r\n<b><c/></b>\r\n<e/>\r\n</r>",
         {
             [](CXmlDoc& d) { return d.FindElem() && d.FindChildElem("a"); },
             [](CXmlDoc& d) { return d.SetChildData("new <data>"); },
             [](CXmlDoc& d) { return d.SetChildData("cd]]>x", CXmlDoc::NF_WITH_CDATA); },
             [](CXmlDoc& d) { return d.FindChildElem("b") && !d.SetChildData("refused: b has children"); },
             [](CXmlDoc& d) { return d.IntoElem() && d.GetTagName() == "b"; },
             [](CXmlDoc& d) { return d.SetElemContent("<p>1</p><q/>"); },
             [](CXmlDoc& d) { return d.FindElem("e") && d.SetData(42); },
             [](CXmlDoc& d) { return d.FindElem("b") || (d.ResetMainPos(), d.FindElem("b")); },
             [](CXmlDoc& d) { return d.RemoveElem(); },
             [](CXmlDoc& d) { return d.GetTagName() == "a"; },
             [](CXmlDoc& d) { return d.OutOfElem() && d.FindChildElem("e") && d.RemoveChildElem(); },
             [](CXmlDoc& d) { return d.GetChildTagName() == "a"; },
         },
         "<r>\r\n<a><![CDATA[cd]]]]><![CDATA[>x]]></a>\r\n</r>"},
        {"sub-documents and nodes",
         "<r><a/></r>",
         {
             [](CXmlDoc& d) { return d.FindElem() && d.IntoElem() && d.FindElem("a"); },
             [](CXmlDoc& d) { return d.AddSubDoc("<s x='1'><t>u</t></s>  \r\n"); },
             [](CXmlDoc& d) { return d.GetTagName() == "s" && d.InsertSubDoc("<z/>"); },
             [](CXmlDoc& d) { return !d.AddSubDoc("<bad><x></bad>") && !d.AddSubDoc("no element"); },
             [](CXmlDoc& d) { return d.FindElem("s") && d.AddChildSubDoc("<v/>"); },
             [](CXmlDoc& d) { return d.AddNode(CXmlDoc::NT_COMMENT, " note "); },
             [](CXmlDoc& d) { return d.InsertNode(CXmlDoc::NT_TEXT, "a<b"); },
             [](CXmlDoc& d) { return d.GetNodeType() == CXmlDoc::NT_TEXT && d.SetData("changed"); },
             [](CXmlDoc& d) { return d.FindNode(CXmlDoc::NT_COMMENT) == CXmlDoc::NT_COMMENT && d.RemoveNode(); },
             [](CXmlDoc& d) { return d.AddNode(CXmlDoc::NT_ELEMENT, "w k='1'"); },
             [](CXmlDoc& d) { return d.GetTagName() == "w" && d.SetAttrib("j", "2"); },
             [](CXmlDoc& d) {
                 return !d.AddNode(CXmlDoc::NT_CDATA_SECTION, "]]>") && !d.AddNode(CXmlDoc::NT_LONE_END_TAG, "r");
             },
             [](CXmlDoc& d) { return d.AddNode(CXmlDoc::NT_CDATA_SECTION, "c"); },
             [](CXmlDoc& d) { return d.OutOfElem() && d.InsertNode(CXmlDoc::NT_PROCESSING_INSTRUCTION, "pi a=\"1\""); },
             [](CXmlDoc& d) { return d.SetAttrib("a", "2") && d.GetAttrib("a") == "2"; },
         },
         "<?pi a=\"2\"?>\r\n<r><a/><z/>\r\n<s x='1'><t>u</t><v/>\r\n</s>\r\n"
         "changed<w k='1' j=\"2\"/><![CDATA[c]]>\r\n</r>"},
    };
    for (const Script& script : scripts)
        RunScript(script);
}

// The opening of an empty parent and each flag of a new element.
TEST(CXmlDocEdit, NewElementTextForEachFlag)
{
    struct Case {
        const char* szData;
        int nFlags;
        const char* szDoc;  // nullptr: refused, the document unchanged
    };
    const Case cases[] = {
        {nullptr, 0, "<r>\r\n<x/>\r\n</r>"},
        {nullptr, CXmlDoc::NF_WITH_NO_LINES, "<r><x/></r>"},
        {nullptr, CXmlDoc::NF_WITH_SPACE_CLOSE | CXmlDoc::NF_WITH_NO_LINES, "<r><x /></r>"},
        {nullptr, CXmlDoc::NF_WITH_NO_END | CXmlDoc::NF_WITH_NO_LINES, "<r><x></r>"},
        {"d", CXmlDoc::NF_WITH_NO_END, nullptr},
        {"a<b&c>", CXmlDoc::NF_WITH_NO_LINES, "<r><x>a&lt;b&amp;c&gt;</x></r>"},
        {"a]]>b", CXmlDoc::NF_WITH_CDATA | CXmlDoc::NF_WITH_NO_LINES, "<r><x><![CDATA[a]]]]><![CDATA[>b]]></x></r>"},
        {"&amp;&#x41;& b", CXmlDoc::NF_WITH_REFS | CXmlDoc::NF_WITH_NO_LINES, "<r><x>&amp;&#x41;&amp; b</x></r>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nFlags);
        CXmlDoc doc("<r/>");
        ASSERT_TRUE(doc.FindElem());
        EXPECT_EQ(doc.AddChildElem("x", c.szData, c.nFlags), c.szDoc != nullptr);
        EXPECT_STREQ(doc.GetDoc(), c.szDoc ? c.szDoc : "<r/>");
        EXPECT_EQ(xmlcheck::CheckAgainstFreshParse(doc), "");
    }
    CXmlDoc noEnd("<r/>");
    noEnd.FindElem();
    noEnd.AddChildElem("x", nullptr, CXmlDoc::NF_WITH_NO_END);
    EXPECT_TRUE(noEnd.GetRecord(noEnd.GetChildPos()).nFlags & CXmlDoc::EF_NONENDED);
    EXPECT_FALSE(noEnd.IntoElem() && noEnd.FindElem() && noEnd.AddChildElem("inside"));
}

TEST(CXmlDocEdit, RefusedEditsChangeNothing)
{
    CXmlDoc doc("<r><a>t</a></r>");
    const CString before = doc.GetDoc();
    EXPECT_FALSE(doc.AddChildElem("x"));  // no main element
    EXPECT_FALSE(doc.SetAttrib("k", "v"));
    EXPECT_FALSE(doc.RemoveElem());
    ASSERT_TRUE(doc.FindElem());
    for (const char* szName : {"", "a b", "a>", "<a", "a\"", "1a", "a/b", "a=b", "a[1]"})
        EXPECT_FALSE(doc.AddChildElem(szName)) << szName;
    EXPECT_FALSE(doc.SetAttrib("bad name", "v"));
    EXPECT_FALSE(doc.SetData("r has children"));
    EXPECT_FALSE(doc.AddNode(CXmlDoc::NT_COMMENT, "--> breaks out"));
    EXPECT_FALSE(doc.AddNode(CXmlDoc::NT_PROCESSING_INSTRUCTION, "x ?> y"));
    EXPECT_FALSE(doc.AddNode(CXmlDoc::NT_ELEMENT, "a><b"));
    EXPECT_FALSE(doc.AddNode(CXmlDoc::NT_DOCUMENT_TYPE, "<!DOCTYPE x><y/>"));
    EXPECT_FALSE(doc.AddNode(CXmlDoc::NT_NODE_ERROR, "x"));
    EXPECT_FALSE(doc.AddChildSubDoc("<a/><b/>"));
    // names whose end tag would not fit the record
    const std::string longName(1021, 'n');
    EXPECT_FALSE(doc.AddChildElem(longName.c_str()));
    EXPECT_EQ(doc.GetDoc(), before);
    const std::string longEmpty = "<" + longName + "/>";
    CXmlDoc empty(longEmpty.c_str());
    ASSERT_TRUE(empty.FindElem());
    EXPECT_FALSE(empty.SetData("x"));
    EXPECT_FALSE(empty.AddChildElem("c"));
    EXPECT_FALSE(empty.SetElemContent("<c/>"));
    EXPECT_EQ(std::string(empty.GetDoc()), longEmpty);
}

TEST(CXmlDocEdit, SetElemContentReportsProblemsButKeepsTheEdit)
{
    CXmlDoc doc("<r><a><old/></a></r>");
    doc.FindElem();
    doc.FindChildElem("a");
    doc.SavePos("old");
    doc.IntoElem();
    doc.FindChildElem("old");
    doc.SavePos("gone");
    ASSERT_TRUE(doc.SetElemContent("<p><q></p>"));
    EXPECT_STREQ(doc.GetResult(), "<unended_start_tag tagname=\"q\" offset=\"9\" offset2=\"13\"/>");
    EXPECT_TRUE(doc.GetRecord(doc.GetMainPos()).nFlags & CXmlDoc::EF_ILLDATA);
    EXPECT_EQ(xmlcheck::CheckTree(doc), "");
    EXPECT_FALSE(doc.RestorePos("gone"));  // it pointed into the replaced content
    ASSERT_TRUE(doc.RestorePos("old") && doc.IntoElem());
    // clean content clears the mark
    ASSERT_TRUE(doc.SetElemContent(""));
    EXPECT_FALSE(doc.GetRecord(doc.GetMainPos()).nFlags & CXmlDoc::EF_ILLDATA);
    ASSERT_TRUE(doc.SetData("fixed"));
    EXPECT_STREQ(doc.GetDoc(), "<r><a>fixed</a></r>");
    EXPECT_EQ(xmlcheck::CheckAgainstFreshParse(doc), "");
}

TEST(CXmlDocEdit, ManyEditsOnABiggerDocumentStayConsistent)
{
    std::string text = "<list>\r\n";
    for (int i = 0; i < 200; ++i)
        text += "<item n=\"" + std::to_string(i) + "\"><v>" + std::to_string(i) + "</v></item>\r\n";
    text += "</list>\r\n";
    CXmlDoc doc(text.c_str());
    doc.FindElem();
    doc.IntoElem();
    int n = 0;
    while (doc.FindElem("item")) {
        switch (n++ % 4) {
        case 0:
            doc.SetAttrib("n", "changed value");
            break;
        case 1:
            doc.RemoveElem();
            break;
        case 2:
            doc.AddChildElem("w", "added");
            break;
        default:
            doc.InsertElem("before");
            doc.FindElem("item");
            doc.FindChildElem("v");
            doc.SetChildData("");
            break;
        }
    }
    EXPECT_EQ(xmlcheck::CheckAgainstFreshParse(doc), "");
    EXPECT_EQ(n, 200);
    EXPECT_TRUE(doc.IsWellFormed());
}

}  // namespace

namespace {

// Markup that would read differently on the next parse is refused, and node
// positions follow the edits around them.
TEST(CXmlDocEdit, EditsNextToOddMarkupKeepTheTree)
{
    // the removed node's place moves with an edit in front of it
    CXmlDoc moved("<r><a/><!--c--><b/></r>");
    moved.FindElem();
    moved.IntoElem();
    ASSERT_EQ(moved.FindNode(CXmlDoc::NT_COMMENT), CXmlDoc::NT_COMMENT);
    ASSERT_TRUE(moved.RemoveNode());
    ASSERT_TRUE(moved.SetAttrib("k", "v"));
    ASSERT_TRUE(moved.InsertNode(CXmlDoc::NT_TEXT, "t"));
    EXPECT_STREQ(moved.GetDoc(), "<r><a k=\"v\"/>t<b/></r>");
    EXPECT_EQ(xmlcheck::CheckAgainstFreshParse(moved), "");

    // "<d//>" cannot be opened: "<d/>" would still be an empty element
    CXmlDoc slashes("<d//>");
    slashes.FindElem();
    EXPECT_FALSE(slashes.AddChildElem("x"));
    EXPECT_FALSE(slashes.SetData("x"));
    EXPECT_FALSE(slashes.SetElemContent("<x/>"));
    EXPECT_STREQ(slashes.GetDoc(), "<d//>");

    // an element without end tag must not take an end tag that follows it
    CXmlDoc noEnd("<e><x/></x></e>");
    noEnd.FindElem();
    EXPECT_FALSE(noEnd.InsertChildElem("e", nullptr, CXmlDoc::NF_WITH_NO_END));
    EXPECT_FALSE(noEnd.InsertChildElem("x", nullptr, CXmlDoc::NF_WITH_NO_END));
    EXPECT_TRUE(noEnd.InsertChildElem("y", nullptr, CXmlDoc::NF_WITH_NO_END));
    EXPECT_EQ(xmlcheck::CheckAgainstFreshParse(noEnd), "");
    // nor may a lone end tag close an element before it
    CXmlDoc lone("<r><br><i/></r>");
    lone.FindElem();
    lone.IntoElem();
    lone.FindElem("i");
    EXPECT_FALSE(lone.AddNode(CXmlDoc::NT_LONE_END_TAG, "br"));
    EXPECT_FALSE(lone.AddNode(CXmlDoc::NT_LONE_END_TAG, "r"));
    EXPECT_TRUE(lone.AddNode(CXmlDoc::NT_LONE_END_TAG, "p"));
    EXPECT_EQ(xmlcheck::CheckAgainstFreshParse(lone), "");

    // a tag left open to the end of the text never swallows an element added after it
    CXmlDoc open("<?pi x");
    ASSERT_TRUE(open.AddElem("e"));
    open.ResetPos();
    ASSERT_EQ(open.FindNode(), CXmlDoc::NT_NODE_ERROR);
    ASSERT_TRUE(open.RemoveNode());
    EXPECT_STREQ(open.GetDoc(), "<e/>\r\n");
    EXPECT_EQ(xmlcheck::CheckTree(open), "");
}

}  // namespace

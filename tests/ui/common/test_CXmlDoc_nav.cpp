// Navigation, reading and saved positions.
#include "ui/common/CXmlDoc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kSkin[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                     "<!-- skin -->\r\n"
                     "<skin title=\"Main &amp; more\" w='640'>\r\n"
                     "  <button id=\"ok\" x=\"1\">  OK &lt;1&gt;  </button>\r\n"
                     "  <button id=\"cancel\">Cancel<![CDATA[ <raw> ]]><!-- note --></button>\r\n"
                     "  <buttons/>\r\n"
                     "  <label id=\"l1\"><b>x</b></label>\r\n"
                     "</skin>\r\n";

TEST(CXmlDocNav, FindElemWalksSiblingsAndChildren)
{
    CXmlDoc doc(kSkin);
    ASSERT_TRUE(doc.IsWellFormed());
    ASSERT_TRUE(doc.FindElem());
    EXPECT_EQ(doc.GetTagName(), "skin");
    EXPECT_FALSE(doc.FindElem());  // one root
    EXPECT_EQ(doc.GetAttrib("title"), "Main & more");
    EXPECT_EQ(doc.GetAttrib("w"), "640");
    EXPECT_EQ(doc.GetAttrib("missing"), "");

    std::vector<std::string> ids;
    while (doc.FindChildElem("button"))
        ids.push_back(doc.GetChildAttrib("id").GetString());
    EXPECT_EQ(ids, (std::vector<std::string>{"ok", "cancel"}));  // "buttons" is another name

    doc.ResetChildPos();
    ASSERT_TRUE(doc.FindChildElem("label"));
    EXPECT_EQ(doc.GetChildData(), "");  // it has a child element
    ASSERT_TRUE(doc.IntoElem());
    EXPECT_EQ(doc.GetTagName(), "label");
    ASSERT_TRUE(doc.FindChildElem("b"));
    EXPECT_EQ(doc.GetChildData(), "x");
    ASSERT_TRUE(doc.OutOfElem());
    EXPECT_EQ(doc.GetTagName(), "skin");
    EXPECT_EQ(doc.GetChildTagName(), "label");
    EXPECT_FALSE(doc.OutOfElem());
}

TEST(CXmlDocNav, DataOfMixedContentAndWhitespaceFlags)
{
    CXmlDoc doc(kSkin);
    doc.FindElem();
    doc.FindChildElem("button");
    EXPECT_EQ(doc.GetChildData(), "  OK <1>  ");
    doc.FindChildElem("button");
    EXPECT_EQ(doc.GetChildData(), "Cancel <raw> ");  // CDATA inner text, the comment left out

    CXmlDoc shortCdata("<a>t<![C]]></a>");  // too short to hold "<![CDATA[" and "]]>"
    shortCdata.FindElem();
    EXPECT_EQ(shortCdata.GetData(), "t");

    CXmlDoc spaced("<a> x \r\n  y\t</a>");
    spaced.FindElem();
    EXPECT_EQ(spaced.GetData(), " x \r\n  y\t");
    spaced.SetDocFlags(CXmlDoc::DF_TRIM_WHITESPACE);
    EXPECT_EQ(spaced.GetData(), "x \r\n  y");
    spaced.SetDocFlags(CXmlDoc::DF_COLLAPSE_WHITESPACE);
    EXPECT_EQ(spaced.GetData(), "x y");
}

TEST(CXmlDocNav, NamesPredicatesAndCase)
{
    CXmlDoc doc("<r><Item id='a'/><item id='b'/><item id='c' on=\"1\"/><items/></r>");
    doc.FindElem();
    doc.IntoElem();
    struct Case {
        const char* szName;
        int nFlags;
        const char* szId;  // nullptr: not found
    };
    const Case cases[] = {
        {"item", 0, "b"},
        {"item", CXmlDoc::DF_IGNORE_CASE, "a"},
        {"ite", 0, nullptr},
        {"item[2]", 0, "c"},
        {"item[@on]", 0, "c"},
        {"item[@id=b]", 0, "b"},
        {"item[@id='c']", 0, "c"},
        {"item[0]", 0, nullptr},
        {"item[2", 0, nullptr},
        {"item]", 0, nullptr},
        {"/r", 0, nullptr},
        {"//item", 0, nullptr},
        {"", 0, "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.szName);
        doc.SetDocFlags(c.nFlags);
        doc.ResetMainPos();
        const bool bFound = doc.FindElem(c.szName);
        EXPECT_EQ(bFound, c.szId != nullptr);
        if (bFound && c.szId) {
            EXPECT_EQ(doc.GetAttrib("id"), c.szId);
        }
    }
}

TEST(CXmlDocNav, FindNodeVisitsEveryNodeInOrder)
{
    CXmlDoc doc(kSkin);
    struct Seen {
        int nType;
        std::string name;
    };
    std::vector<Seen> seen;
    for (int nType; (nType = doc.FindNode()) != 0;)
        seen.push_back({nType, doc.GetTagName().GetString()});
    const std::vector<std::pair<int, std::string>> expected = {
        {CXmlDoc::NT_PROCESSING_INSTRUCTION, "xml"},
        {CXmlDoc::NT_WHITESPACE, "#text"},
        {CXmlDoc::NT_COMMENT, "#comment"},
        {CXmlDoc::NT_WHITESPACE, "#text"},
        {CXmlDoc::NT_ELEMENT, "skin"},
        {CXmlDoc::NT_WHITESPACE, "#text"},
    };
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].nType, expected[i].first) << i;
        EXPECT_EQ(seen[i].name, expected[i].second) << i;
    }

    // into the element, by type, and the data of nodes
    doc.ResetPos();
    ASSERT_EQ(doc.FindNode(CXmlDoc::NT_PROCESSING_INSTRUCTION), CXmlDoc::NT_PROCESSING_INSTRUCTION);
    EXPECT_EQ(doc.GetAttrib("encoding"), "UTF-8");
    EXPECT_EQ(doc.GetAttribName(0), "version");
    EXPECT_EQ(doc.FindNode(CXmlDoc::NT_COMMENT), CXmlDoc::NT_COMMENT);
    EXPECT_EQ(doc.GetData(), " skin ");
    EXPECT_FALSE(doc.IntoElem());
    EXPECT_EQ(doc.FindNode(CXmlDoc::NT_ELEMENT), CXmlDoc::NT_ELEMENT);
    ASSERT_TRUE(doc.IntoElem());
    ASSERT_EQ(doc.FindNode(CXmlDoc::NT_WHITESPACE), CXmlDoc::NT_WHITESPACE);
    EXPECT_FALSE(doc.IntoElem());  // a text node
    ASSERT_EQ(doc.FindNode(CXmlDoc::NT_ELEMENT), CXmlDoc::NT_ELEMENT);
    EXPECT_EQ(doc.GetAttrib("id"), "ok");
    CString strName;
    CString strValue;
    ASSERT_TRUE(doc.GetNthAttrib(1, strName, strValue));
    EXPECT_EQ(strName, "x");
    EXPECT_EQ(strValue, "1");
    EXPECT_FALSE(doc.GetNthAttrib(2, strName, strValue));
    // element navigation goes on from where node navigation stopped
    ASSERT_TRUE(doc.FindElem());
    EXPECT_EQ(doc.GetAttrib("id"), "cancel");
    ASSERT_TRUE(doc.IntoElem());
    EXPECT_EQ(doc.FindNode(), CXmlDoc::NT_TEXT);
    EXPECT_EQ(doc.FindNode(), CXmlDoc::NT_CDATA_SECTION);
    EXPECT_EQ(doc.GetTagName(), "#cdata-section");
    EXPECT_EQ(doc.GetData(), " <raw> ");
    EXPECT_EQ(doc.FindNode(), CXmlDoc::NT_COMMENT);
    EXPECT_EQ(doc.FindNode(), 0);

    CXmlDoc odd("<r></x><!DOCTYPE html></r>");
    odd.FindElem();
    odd.IntoElem();
    EXPECT_EQ(odd.FindNode(), CXmlDoc::NT_LONE_END_TAG);
    EXPECT_EQ(odd.GetTagName(), "x");
    EXPECT_EQ(odd.FindNode(), CXmlDoc::NT_DOCUMENT_TYPE);
    EXPECT_EQ(odd.GetTagName(), "html");
}

TEST(CXmlDocNav, ContentAndSubDocumentAreVerbatim)
{
    CXmlDoc doc("<r><a k=\"1\">x &amp; <b/></a></r>");
    doc.FindElem();
    doc.FindChildElem();
    EXPECT_EQ(doc.GetChildSubDoc(), "<a k=\"1\">x &amp; <b/></a>");
    doc.IntoElem();
    EXPECT_EQ(doc.GetElemContent(), "x &amp; <b/>");
    EXPECT_EQ(doc.GetSubDoc(), "<a k=\"1\">x &amp; <b/></a>");
}

TEST(CXmlDocNav, NothingToReadWithoutAnElement)
{
    CXmlDoc doc("<r a='1'><c/></r>");
    doc.FindElem();
    ASSERT_TRUE(doc.IntoElem());  // no child position: main becomes none
    EXPECT_EQ(doc.GetAttrib("a"), "");
    EXPECT_EQ(doc.GetTagName(), "");
    EXPECT_EQ(doc.GetData(), "");
    EXPECT_FALSE(doc.IntoElem());
    EXPECT_FALSE(doc.FindChildElem("x"));
}

TEST(CXmlDocNav, SavedPositionsRestoreWhatWasCurrent)
{
    CXmlDoc doc("<r><a><b/></a><c/></r>");
    EXPECT_FALSE(doc.SavePos(""));
    EXPECT_FALSE(doc.SavePos(nullptr));
    ASSERT_TRUE(doc.SavePos("top"));  // nothing current: the parent (the document)
    doc.FindElem();
    doc.FindChildElem("a");
    ASSERT_TRUE(doc.SavePos("child"));
    doc.IntoElem();
    ASSERT_TRUE(doc.SavePos("main"));
    doc.FindChildElem("b");
    doc.IntoElem();
    ASSERT_TRUE(doc.SavePos("\xC3\xA9t\xC3\xA9", 3));  // bytes above 0x7F hash like any others
    doc.ResetPos();

    ASSERT_TRUE(doc.RestorePos("child"));
    EXPECT_EQ(doc.GetTagName(), "r");
    EXPECT_EQ(doc.GetChildTagName(), "a");
    ASSERT_TRUE(doc.RestorePos("main"));
    EXPECT_EQ(doc.GetTagName(), "a");
    EXPECT_EQ(doc.GetChildTagName(), "");
    EXPECT_TRUE(doc.OutOfElem());
    EXPECT_EQ(doc.GetTagName(), "r");
    ASSERT_TRUE(doc.RestorePos("\xC3\xA9t\xC3\xA9", 3));
    EXPECT_EQ(doc.GetTagName(), "b");
    EXPECT_FALSE(doc.RestorePos("\xC3\xA9t\xC3\xA9"));  // another map
    ASSERT_TRUE(doc.RestorePos("top"));
    EXPECT_EQ(doc.GetParentPos(), 0);
    EXPECT_EQ(doc.GetMainPos(), 0);
    EXPECT_FALSE(doc.RestorePos("nope"));

    // resizing keeps the entries; a size of 0 is refused
    EXPECT_FALSE(doc.SetMapSize(0));
    EXPECT_TRUE(doc.SetMapSize(1));
    ASSERT_TRUE(doc.RestorePos("main"));
    EXPECT_EQ(doc.GetTagName(), "a");
    // a new parse forgets them
    doc.SetDoc("<r/>");
    EXPECT_FALSE(doc.RestorePos("main"));
}

TEST(CXmlDocNav, FileModeFlagsCannotBeSet)
{
    CXmlDoc doc("<r/>");
    doc.SetDocFlags(0x30);
    EXPECT_EQ(doc.GetDocFlags(), 0);
    doc.SetDocFlags(0x7F);
    EXPECT_EQ(doc.GetDocFlags(), 0x0F);
}

}  // namespace

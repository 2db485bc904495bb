// The parser: records it builds, the result report and its prose.
#include "ui/common/CXmlDoc.h"

#include "ui/common/xml_tree_check.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct MalformedCase {
    const char* szDoc;
    int nFlags;
    const char* szResult;
    const char* szError;
};

const MalformedCase kMalformed[] = {
    {"", 0, "", ""},
    {"just text", 0, "<no_root_element/>", "no root element"},
    {"<a/><b/>", 0, "<root_has_sibling/>", "root element has sibling"},
    {"<a><b></a>", 0, "<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"7\"/>",
     "start tag 'b' at offset 3 expecting end tag at offset 7"},
    {"<r><a><b><c><d/></r>", 0,
     "<unended_start_tag tagname=\"c\" offset=\"9\" offset2=\"17\"/>"
     "<unended_start_tag tagname=\"b\" offset=\"6\" offset2=\"17\"/>"
     "<unended_start_tag tagname=\"a\" offset=\"3\" offset2=\"17\"/>",
     "start tag 'c' at offset 9 expecting end tag at offset 17"},
    {"<a></b></a>", 0, "<lone_end_tag tagname=\"b\" offset=\"3\"/>", "lone end tag 'b' at offset 3"},
    {"<a><!x></a>", 0, "<exclamation_tag_syntax offset=\"3\"/>",
     "tag syntax error at offset 3 expecting 'DOCTYPE' [ or -"},
    {"<a>< b</a>", 0, "<first_tag_syntax offset=\"3\"/>", "tag syntax error at offset 3 expecting tag name / ! or ?"},
    {"<a><!-x--></a>", 0, "<comment_tag_syntax offset=\"3\"/>",
     "tag syntax error at offset 3 expecting - to begin comment"},
    {"<a><![x[y]]></a>", 0, "<cdata_section_syntax offset=\"3\"/>", "tag syntax error at offset 3 expecting 'CDATA'"},
    {"<!DOCTYPE a [<!x>]><a/>", 0, "<doctype_tag_syntax offset=\"13\"/>",
     "tag syntax error at offset 13 expecting markup declaration"},
    // only the first parse problem makes it into the prose
    {"<a><b x='>'", 0,
     "<unterminated_tag_syntax type=\"start_tag\" offset=\"3\"/>"
     "<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"11\"/>",
     "unterminated tag at offset 3"},
    {"<a><!-- open", 0,
     "<unterminated_tag_syntax type=\"comment\" offset=\"3\"/><unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"12\"/>",
     "unterminated tag at offset 3"},
    {"<A></a>", 0,
     "<lone_end_tag tagname=\"a\" offset=\"3\"/><unended_start_tag tagname=\"A\" offset=\"0\" offset2=\"7\"/>",
     "lone end tag 'a' at offset 3"},
    {"<A></a>", CXmlDoc::DF_IGNORE_CASE, "", ""},
    {"<?xml version=\"1.0\"?>\r\n<!DOCTYPE r [ <!ELEMENT r ANY> <!-- > --> ]>\r\n"
     "<r a='>' b=\"x\"><![CDATA[<not/>]]><!-- c --><?pi x?>t&amp;</r>",
     0, "", ""},
};

TEST(CXmlDocParse, MalformedInputGivesResultEntriesAndProse)
{
    for (const MalformedCase& c : kMalformed) {
        SCOPED_TRACE(c.szDoc);
        CXmlDoc doc(c.nFlags);
        const bool bWellFormed = doc.SetDoc(c.szDoc);
        EXPECT_EQ(bWellFormed, *c.szResult == 0 && *c.szDoc != 0);
        EXPECT_EQ(bWellFormed, doc.IsWellFormed());
        EXPECT_STREQ(doc.GetResult(), c.szResult);
        EXPECT_STREQ(doc.GetError(), c.szError);
        EXPECT_EQ(xmlcheck::CheckTree(doc), "");
    }
}

TEST(CXmlDocParse, UnendedElementKeepsOnlyItsStartTag)
{
    // b is closed by a's end tag: it stays a child of a, marked, and c
    // (its content) moves up to follow it.
    CXmlDoc doc("<a><b><c/></a>");
    ASSERT_TRUE(doc.FindElem("a"));
    ASSERT_TRUE(doc.FindChildElem("b"));
    const CXmlDoc::ElemRecord& b = doc.GetRecord(doc.GetChildPos());
    EXPECT_TRUE(b.nFlags & CXmlDoc::EF_NONENDED);
    EXPECT_EQ(b.nLength, 3);
    EXPECT_EQ(b.EndTagLen(), 0);
    EXPECT_EQ(b.Level(), 1);
    ASSERT_TRUE(doc.FindChildElem());
    EXPECT_EQ(doc.GetChildTagName(), "c");
    EXPECT_EQ(doc.GetRecord(doc.GetChildPos()).Level(), 1);
    EXPECT_EQ(doc.GetRecord(doc.GetMainPos()).nLength, 14);
    EXPECT_EQ(xmlcheck::CheckTree(doc), "");
}

TEST(CXmlDocParse, EmptyTextHasNoRecords)
{
    CXmlDoc doc("");
    EXPECT_EQ(doc.GetFreePos(), 1);
    EXPECT_FALSE(doc.FindElem());
}

// Fields that do not fit the packed record are refused with an entry; the
// records that remain must still describe the text.
TEST(CXmlDocParse, EndTagTooLongForTheRecordIsRefused)
{
    const std::string name(1100, 'n');
    const std::string text = "<r><" + name + ">x</" + name + "></r>";
    CXmlDoc doc(text.c_str());
    EXPECT_FALSE(doc.IsWellFormed());
    EXPECT_NE(std::string(doc.GetResult()).find("<long_end_tag"), std::string::npos);
    EXPECT_EQ(xmlcheck::CheckTree(doc), "");
    ASSERT_TRUE(doc.FindElem("r") && doc.FindChildElem());
    EXPECT_TRUE(doc.GetRecord(doc.GetChildPos()).nFlags & CXmlDoc::EF_NONENDED);
    // an end tag that fits is kept
    const std::string fits(1000, 'n');
    CXmlDoc ok(("<" + fits + "/><!-- -->").c_str());
    EXPECT_TRUE(ok.IsWellFormed());
    const std::string fitsEnd = "<" + fits + "></" + fits + ">";
    EXPECT_TRUE(CXmlDoc(fitsEnd.c_str()).IsWellFormed());
}

TEST(CXmlDocParse, NestingBeyondTheLevelFieldIsRefused)
{
    const int nDepth = CXmlDoc::kMaxLevel + 3;
    std::string text;
    for (int i = 0; i < nDepth; ++i)
        text += "<e>";
    for (int i = 0; i < nDepth; ++i)
        text += "</e>";
    CXmlDoc doc(text.c_str());
    EXPECT_FALSE(doc.IsWellFormed());
    EXPECT_EQ(std::string(doc.GetResult()).rfind("<deep_nesting offset=\"", 0), 0u) << doc.GetResult().Left(200);
    EXPECT_EQ(xmlcheck::CheckTree(doc), "");
    int nDeepest = 0;
    for (int i = 1; i < doc.GetFreePos(); ++i)
        nDeepest = std::max(nDeepest, doc.GetRecord(i).Level());
    EXPECT_EQ(nDeepest, CXmlDoc::kMaxLevel);
}

TEST(CXmlDocParse, ResultStopsGrowingAtItsLimit)
{
    std::string text = "<r>";
    for (int i = 0; i < 500; ++i)
        text += "</x>";
    text += "</r>";
    CXmlDoc doc(text.c_str());
    EXPECT_GE(doc.GetResult().GetLength(), 1000);
    EXPECT_LT(doc.GetResult().GetLength(), 1100);
    EXPECT_STREQ(doc.GetError(), "lone end tag 'x' at offset 3");
}

TEST(CXmlDocParse, CopiesHoldTheSameRecordsAndPositions)
{
    CXmlDoc doc("<r><a/><b><c/></b></r>");
    doc.FindElem();
    doc.FindChildElem("b");
    doc.SavePos("b");
    CXmlDoc copy(doc);
    CXmlDoc assigned;
    assigned = doc;
    for (CXmlDoc* d : {&copy, &assigned}) {
        EXPECT_EQ(d->GetDoc(), doc.GetDoc());
        EXPECT_EQ(xmlcheck::CompareTrees(*d, doc), "");
        EXPECT_EQ(d->GetChildTagName(), "b");
        d->ResetPos();
        ASSERT_TRUE(d->RestorePos("b"));
        EXPECT_EQ(d->GetChildTagName(), "b");
    }
}

}  // namespace

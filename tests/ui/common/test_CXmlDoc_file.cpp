// Reading and writing text files: byte order marks, encodings, results.
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "ui/common/CXmlDoc.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

class CXmlDocFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.ok());
        m_dir = m_tmp.path();
    }

    std::string Path(const char* szName) const { return (m_dir / szName).string(); }
    void Put(const char* szName, const std::string& bytes) const { vxtest::WriteFile(Path(szName), bytes); }
    std::string Get(const char* szName) const { return vxtest::ReadFile(Path(szName)); }
    int FileCount() const { return static_cast<int>(std::distance(fs::directory_iterator(m_dir), {})); }

    vxtest::TempDir m_tmp{"xmldoc"};
    fs::path m_dir;
};

std::string Utf16(const std::u16string& s, bool bBigEndian)
{
    std::string out;
    for (char16_t u : s) {
        const char lo = static_cast<char>(u & 0xFF);
        const char hi = static_cast<char>(u >> 8);
        out += bBigEndian ? hi : lo;
        out += bBigEndian ? lo : hi;
    }
    return out;
}

TEST_F(CXmlDocFile, ReadMatrix)
{
    struct Case {
        const char* szName;
        std::string bytes;
        const char* szText;    // the document text after reading
        int nFlags;            // BOM flags reported
        const char* szResult;  // result entries
    };
    const Case cases[] = {
        {"utf8 bom", "\xEF\xBB\xBF<a>\xC3\xA9</a>", "<a>\xC3\xA9</a>", CXmlDoc::DF_UTF8_BOM,
         "<bom/><read encoding=\"UTF-8\" length=\"9\"/>"},
        {"utf16le bom", "\xFF\xFE" + Utf16(u"<a>\u00e9\u20ac</a>", false), "<a>\xC3\xA9\xE2\x82\xAC</a>",
         CXmlDoc::DF_UTF16LE_BOM,
         "<bom/><read encoding=\"UTF-16LE\" length=\"9\"/><converted_to encoding=\"\" length=\"12\"/>"},
        {"utf16be bom with nulls", "\xFE\xFF" + Utf16(std::u16string(u"<a>x") + u'\0' + u"</a>", true), "<a>x</a>",
         CXmlDoc::DF_UTF16BE_BOM,
         "<bom/><read encoding=\"UTF-16BE\" length=\"9\"/><nulls_removed count=\"1\"/><endian_swap/>"
         "<converted_to encoding=\"\" length=\"8\"/>"},
        {"declared latin-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xC3\xA9</a>", 0,
         "<read encoding=\"ISO-8859-1\" length=\"51\"/><converted_to encoding=\"\" length=\"52\"/>"},
        {"markup without declaration", "<a>\xC3\xA9</a>", "<a>\xC3\xA9</a>", 0,
         "<read encoding=\"UTF-8\" length=\"9\"/>"},
        {"text detected as utf-8", "caf\xC3\xA9 <a/>", "caf\xC3\xA9 <a/>", 0,
         "<read encoding=\"UTF-8\" length=\"10\"/><converted_to encoding=\"\" length=\"10\"/><utf8_detection/>"},
        {"invalid utf-8 kept as it is", "caf\xE9 <a/>", "caf\xE9 <a/>", 0,
         "<read encoding=\"\" length=\"9\"/><utf8_detection/>"},
        {"unknown encoding read unchanged", "<?xml version='1.0' encoding='x-no-such'?><a>\xE9</a>",
         "<?xml version='1.0' encoding='x-no-such'?><a>\xE9</a>", 0, "<read encoding=\"x-no-such\" length=\"50\"/>"},
        {"empty", "", "", 0, "<read encoding=\"UTF-8\" length=\"0\"/><utf8_detection/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.szName);
        Put("in.xml", c.bytes);
        CString strText = "old";
        CString strResult;
        int nFlags = CXmlDoc::DF_UTF16BE_BOM;  // the BOM flags are found anew
        ASSERT_TRUE(CXmlDoc::ReadTextFile(Path("in.xml").c_str(), strText, &strResult, &nFlags));
        EXPECT_EQ(std::string(strText), c.szText);
        EXPECT_EQ(nFlags, c.nFlags);
        EXPECT_STREQ(strResult, c.szResult);
    }
}

TEST_F(CXmlDocFile, CallersEncodingIsUsedOrAnswered)
{
    Put("latin.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>");
    CString strText;
    CString strEncoding;
    ASSERT_TRUE(CXmlDoc::ReadTextFile(Path("latin.xml").c_str(), strText, nullptr, nullptr, &strEncoding));
    EXPECT_EQ(strEncoding, "ISO-8859-1");  // asked with an empty name

    Put("plain.txt", "price \x80 5");  // an 8-bit file read in the caller's encoding
    strEncoding = "windows-1252";
    ASSERT_TRUE(CXmlDoc::ReadTextFile(Path("plain.txt").c_str(), strText, nullptr, nullptr, &strEncoding));
    EXPECT_EQ(strText, "price \xE2\x82\xAC 5");

    Put("wide.xml", "\xFF\xFE" + Utf16(u"<a/>", false));  // a wide file tells its own
    strEncoding = "ISO-8859-1";
    ASSERT_TRUE(CXmlDoc::ReadTextFile(Path("wide.xml").c_str(), strText, nullptr, nullptr, &strEncoding));
    EXPECT_EQ(strEncoding, "UTF-16LE");
    EXPECT_EQ(strText, "<a/>");
}

TEST_F(CXmlDocFile, ProseOfAReadAndOfAFileError)
{
    Put("bom.xml", "\xEF\xBB\xBF<a/>");
    CXmlDoc doc;
    ASSERT_TRUE(doc.Load(Path("bom.xml").c_str()));
    EXPECT_STREQ(doc.GetError(), "BOM + UTF-8 length 4");
    EXPECT_EQ(doc.GetDocFlags(), CXmlDoc::DF_UTF8_BOM);

    Put("be.xml", "\xFE\xFF" + Utf16(std::u16string(u"<a/>") + u'\0', true));
    ASSERT_TRUE(doc.Load(Path("be.xml").c_str()));
    EXPECT_STREQ(doc.GetError(), "BOM + UTF-16BE length 5 removed 1 nulls endian swap to length 4");

    EXPECT_FALSE(doc.Load(Path("missing.xml").c_str()));
    EXPECT_STREQ(doc.GetResult(), "<file_error msg=\"No such file or directory\" n=\"2\"/>");
    EXPECT_STREQ(doc.GetError(), "No such file or directory");
    EXPECT_STREQ(doc.GetDoc(), "");
}

TEST_F(CXmlDocFile, WriteMatrix)
{
    struct Case {
        const char* szName;
        const char* szText;
        int nFlags;
        std::string bytes;
        const char* szResult;
    };
    const Case cases[] = {
        {"plain utf-8", "<a>\xC3\xA9</a>", 0, "<a>\xC3\xA9</a>", "<write encoding=\"UTF-8\" length=\"9\"/>"},
        {"utf-8 mark", "<a/>", CXmlDoc::DF_UTF8_BOM, "\xEF\xBB\xBF<a/>",
         "<bom/><write encoding=\"UTF-8\" length=\"4\"/>"},
        {"utf-16le", "<a>\xE2\x82\xAC</a>", CXmlDoc::DF_UTF16LE_BOM, "\xFF\xFE" + Utf16(u"<a>\u20ac</a>", false),
         "<bom/><converted_from encoding=\"\" length=\"10\"/><write encoding=\"UTF-16LE\" length=\"8\"/>"},
        {"utf-16be", "<a/>", CXmlDoc::DF_UTF16BE_BOM, "\xFE\xFF" + Utf16(u"<a/>", true),
         "<bom/><converted_from encoding=\"\" length=\"4\"/><endian_swap/><write encoding=\"UTF-16BE\" length=\"4\"/>"},
        {"declared latin-1 loses the euro",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xC3\xA9\xE2\x82\xAC</a>", 0,
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9?</a>",
         "<converted_from encoding=\"\" length=\"55\"/><conversion_loss/><write encoding=\"ISO-8859-1\" length=\"52\"/>"},
        {"empty", "", 0, "", "<write encoding=\"UTF-8\" length=\"0\"/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.szName);
        CString strResult;
        int nFlags = c.nFlags;
        ASSERT_TRUE(CXmlDoc::WriteTextFile(Path("out.xml").c_str(), c.szText, &strResult, &nFlags));
        EXPECT_EQ(Get("out.xml"), c.bytes);
        EXPECT_STREQ(strResult, c.szResult);
        EXPECT_EQ(nFlags, c.nFlags);
        // and it reads back as the same text, except where characters were lost
        CString strBack;
        ASSERT_TRUE(CXmlDoc::ReadTextFile(Path("out.xml").c_str(), strBack));
        if (!std::strstr(c.szResult, "conversion_loss")) {
            EXPECT_STREQ(strBack, c.szText);
        }
    }
    EXPECT_EQ(FileCount(), 1);  // no temporary file left behind
}

TEST_F(CXmlDocFile, AppendWritesNoSecondMark)
{
    int nFlags = CXmlDoc::DF_UTF8_BOM | CXmlDoc::DF_APPEND_FILE;
    ASSERT_TRUE(CXmlDoc::WriteTextFile(Path("log.xml").c_str(), "<a/>", nullptr, &nFlags));
    nFlags = CXmlDoc::DF_UTF8_BOM | CXmlDoc::DF_APPEND_FILE;
    CString strResult;
    ASSERT_TRUE(CXmlDoc::WriteTextFile(Path("log.xml").c_str(), "<b/>", &strResult, &nFlags));
    EXPECT_EQ(Get("log.xml"), "\xEF\xBB\xBF<a/><b/>");
    EXPECT_STREQ(strResult, "<write encoding=\"UTF-8\" length=\"4\"/>");
    EXPECT_EQ(nFlags, CXmlDoc::DF_UTF8_BOM);
}

TEST_F(CXmlDocFile, FailedWriteLeavesTheOldFile)
{
    Put("keep.xml", "<old/>");
    // a write that fails part way: the file size limit stands in for a full disk
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    CString strResult;
    const bool bOk = CXmlDoc::WriteTextFile(Path("keep.xml").c_str(), CString('x', 4096), &strResult);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(bOk);
    EXPECT_EQ(Get("keep.xml"), "<old/>");
    EXPECT_NE(std::string(strResult).find("<file_error msg=\"File too large\" n=\"" + std::to_string(EFBIG) + "\"/>"),
              std::string::npos)
        << strResult;
    EXPECT_EQ(FileCount(), 1);

    // a folder that does not exist
    strResult.Empty();
    EXPECT_FALSE(CXmlDoc::WriteTextFile(Path("no/such.xml").c_str(), "<a/>", &strResult));
    EXPECT_STREQ(strResult, "<file_error msg=\"No such file or directory\" n=\"2\"/>");
}

TEST_F(CXmlDocFile, WritingThroughALinkReplacesItsTarget)
{
    Put("real.xml", "<old/>");
    fs::create_symlink(Path("real.xml"), Path("link.xml"));
    ASSERT_TRUE(CXmlDoc::WriteTextFile(Path("link.xml").c_str(), "<new/>"));
    EXPECT_TRUE(fs::is_symlink(Path("link.xml")));
    EXPECT_EQ(Get("real.xml"), "<new/>");
}

TEST_F(CXmlDocFile, SaveAndLoadKeepTheDocument)
{
    CXmlDoc doc(CXmlDoc::DF_UTF16LE_BOM);
    doc.AddElem("skin");
    doc.SetAttrib("title", "Fen\xC3\xAAtre");
    ASSERT_TRUE(doc.Save(Path("skin.xml").c_str()));
    EXPECT_EQ(Get("skin.xml").substr(0, 2), "\xFF\xFE");
    CXmlDoc loaded;
    ASSERT_TRUE(loaded.Load(Path("skin.xml").c_str()));
    EXPECT_EQ(loaded.GetDoc(), doc.GetDoc());
    EXPECT_EQ(loaded.GetDocFlags(), CXmlDoc::DF_UTF16LE_BOM);
    ASSERT_TRUE(loaded.FindElem("skin"));
    EXPECT_EQ(loaded.GetAttrib("title"), "Fen\xC3\xAAtre");
}

}  // namespace

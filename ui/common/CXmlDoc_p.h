#pragma once
// Internals of CXmlDoc shared by its source files.

#include "ui/common/CXmlDoc.h"

#include <string>

struct CXmlDoc::SavedPos {
    CString strName;
    int iPos = 0;
    int nFlags = 0;  // kSavedMain, kSavedChild, kSavedUsed
};

struct CXmlDoc::SavedPosMap {
    int nMap = 0;
    int nMapSize = 7;
    std::vector<std::vector<SavedPos>> buckets;
};

// Tokenizer state: one call of NextToken gives the node at nNext and moves
// past it. Only the span [nNext, nEnd) of the text is looked at, so a region
// (an element's new content) never reaches into the markup around it.
struct CXmlDoc::TokenCursor {
    const char* pDoc = nullptr;
    int nEnd = 0;
    int nNext = 0;
    int nDocFlags = 0;
    // the last token
    int nTokenType = 0;
    int nOffset = 0;
    int nLength = 0;
    int nNameL = 0;  // name of a start or end tag, target of a processing instruction
    int nNameR = 0;
    bool bEmptyElement = false;
    // a syntax problem of the last token: entry name, its type text, its offset
    const char* szError = nullptr;
    const char* szErrorType = nullptr;
    int nErrorOffset = 0;
};

namespace vxxml {

constexpr int kSavedMain = 1;
constexpr int kSavedChild = 2;
constexpr int kSavedUsed = 4;

// Token types of the tokenizer.
constexpr int kTokEndTag = 0;
constexpr int kTokStartTag = 1;
constexpr int kTokError = -1;
constexpr int kTokEnd = -2;

// Result entries stop growing at this many characters.
constexpr int kResultLimit = 1000;

inline bool IsSpace(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
inline bool IsNameStart(unsigned char c)
{
    return c == ':' || (c >= 'A' && c <= 'Z') || c == '_' || c >= 'a';
}
// A name runs until white space, one of "/>=" or the end.
inline bool IsNameEnd(unsigned char c)
{
    return c == 0 || IsSpace(c) || c == '/' || c == '>' || c == '=';
}
inline char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
bool NamesEqual(const char* a, const char* b, int nLen, bool bIgnoreCase);
// A name we are willing to write into markup: a name-start character, then
// no white space, quote, "<", ">", "&", "/", "=", bracket or control character.
bool IsValidName(const char* szName);

int NextToken(CXmlDoc::TokenCursor& c);

// One attribute of a start tag or processing instruction: its name and its
// value without the quotes.
struct AttribSpan {
    int nNameL = 0;
    int nNameR = 0;
    int nValueL = 0;
    int nValueR = 0;
    int nEnd = 0;  // after the value and its closing quote
    bool bHasValue = false;
    bool bQuoted = false;
    bool bStrayQuote = false;  // an unquoted value with quotes inside
};
// Attributes in [nFrom, nTo) of the text: the n-th one, or the one named
// szAttrib. *pnAfterLast receives the end of the last attribute (or nFrom).
bool FindAttrib(const char* d, int nFrom, int nTo, const char* szAttrib, bool bIgnoreCase, AttribSpan& span,
                int* pnAfterLast = nullptr);
bool NthAttrib(const char* d, int nFrom, int nTo, int n, AttribSpan& span);

// Appends an entry to a result text (or, with bUpdate, rewrites the first
// entry of that name). Attribute names are given with their values; a NULL
// attribute name leaves that attribute out.
void AddResult(CString& strResult, const char* szName, const char* szValueAttr = nullptr, const char* szValue = nullptr,
               const char* szNumAttr = nullptr, int nNum = 0, int nOffset2 = -1, bool bUpdate = false);

// Trims and collapses white space by the document flags 0x100 and 0x200.
void ApplyWhitespaceFlags(std::string& s, int nFlags);

// Text conversion between code pages; nCodePage 0 is our ANSI code page
// (UTF-8). Returns false only when a code page is not known to iconv; lost
// characters set *pbLoss.
bool ConvertText(const std::string& in, int nFromCP, int nToCP, std::string& out, bool* pbLoss);
// UTF-16 (host order units) to and from the ANSI code page.
std::string Utf16ToAnsi(const unsigned short* p, size_t n, bool* pbLoss);
std::u16string AnsiToUtf16(const char* p, size_t n);

}  // namespace vxxml

// Whole-file reading and writing of CXmlDoc with byte order marks and
// conversion between the file's encoding and our ANSI code page.
#include "ui/common/CXmlDoc.h"

#include "ui/common/CXmlDoc_p.h"

#include "platform/kernel/codepage.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace vxxml;

namespace {

struct Bom {
    const char* szBytes;
    int nLen;
    const char* szEncoding;
    int nFlag;
};
const Bom kBoms[] = {
    {"\xEF\xBB\xBF", 3, "UTF-8", CXmlDoc::DF_UTF8_BOM},
    {"\xFF\xFE", 2, "UTF-16LE", CXmlDoc::DF_UTF16LE_BOM},
    {"\xFE\xFF", 2, "UTF-16BE", CXmlDoc::DF_UTF16BE_BOM},
};
constexpr int kBomFlags = CXmlDoc::DF_UTF8_BOM | CXmlDoc::DF_UTF16LE_BOM | CXmlDoc::DF_UTF16BE_BOM;
constexpr int kFileModeFlags = CXmlDoc::DF_READ_FILE | CXmlDoc::DF_WRITE_FILE | CXmlDoc::DF_APPEND_FILE;

void AddFileError(CString& strResult, int nError)
{
    std::string msg = std::strerror(nError);
    const size_t eol = msg.find_first_of("\r\n");
    if (eol != std::string::npos)
        msg.resize(eol);
    if (msg.size() > 100)
        msg.resize(100);
    AddResult(strResult, "file_error", "msg", msg.c_str(), "n", nError);
}

// The code page text of an encoding is converted through; 0 when it needs
// no conversion: our ANSI code page, an unknown name, or one iconv lacks.
int ConversionCodePage(const CString& strEncoding)
{
    int nCP = CXmlDoc::GetEncodingCodePage(strEncoding);
    if (nCP <= 0 || nCP == static_cast<int>(CP_UTF8))
        return 0;
    // Wide text is told by its byte order mark; a file read or written
    // byte by byte is not converted from or to it.
    if (nCP == 1200 || nCP == 1201 || nCP == 12000 || nCP == 12001 || nCP == 65005)
        return 0;
    const UINT nIconvCP = nCP == 65005 ? 12000u : static_cast<UINT>(nCP);
    return vxk::IconvNameForCodePage(nIconvCP) ? nCP : 0;
}

bool SameEncoding(const CString& a, const CString& b)
{
    const int nA = CXmlDoc::GetEncodingCodePage(a);
    const int nB = CXmlDoc::GetEncodingCodePage(b);
    const auto norm = [](int n) { return n == 0 ? static_cast<int>(CP_UTF8) : n; };
    return norm(nA) == norm(nB);
}

void SwapBytes(std::u16string& units)
{
    for (char16_t& u : units)
        u = static_cast<char16_t>((u >> 8) | (u << 8));
}

// Reads a whole open file; false with errno set on a read error or a file
// too large for a document.
bool ReadAll(FILE* f, std::string& data)
{
    char buf[65536];
    for (;;) {
        const size_t n = std::fread(buf, 1, sizeof buf, f);
        data.append(buf, n);
        if (data.size() >= static_cast<size_t>(INT_MAX)) {
            errno = EFBIG;
            return false;
        }
        if (n < sizeof buf) {
            if (std::ferror(f)) {
                if (!errno)
                    errno = EIO;
                return false;
            }
            return true;
        }
    }
}

size_t RemoveNulls(std::string& s)
{
    const size_t n = std::erase(s, '\0');
    return n;
}

}  // namespace

bool CXmlDoc::ReadTextFile(XML_CSTR szFileName, CString& strDoc, CString* pstrResult, int* pnDocFlags,
                           CString* pstrEncoding)
{
    CString strResult;
    int nFlags = (pnDocFlags ? *pnDocFlags : 0) | DF_READ_FILE;
    strDoc.Empty();
    CString strEncoding;
    bool bAskEncoding = false;
    const auto finish = [&](bool bOk) {
        if (pstrResult)
            *pstrResult += strResult;
        if (pnDocFlags)
            *pnDocFlags = nFlags & ~kFileModeFlags;
        if (bAskEncoding)
            *pstrEncoding = strEncoding;
        return bOk;
    };
    FILE* f = szFileName.pcsz && *szFileName.pcsz ? std::fopen(szFileName.pcsz, "rb") : nullptr;
    if (!f) {
        AddFileError(strResult, szFileName.pcsz && *szFileName.pcsz ? errno : ENOENT);
        return finish(false);
    }
    std::string data;
    errno = 0;
    const bool bRead = ReadAll(f, data);
    const int nReadError = errno;
    if (std::fclose(f) != 0 && bRead) {
        AddFileError(strResult, errno);
        return finish(false);
    }
    if (!bRead) {
        AddFileError(strResult, nReadError);
        return finish(false);
    }

    nFlags &= ~kBomFlags;
    size_t nSkip = 0;
    int nCharWidth = 1;
    for (const Bom& bom : kBoms) {
        if (data.size() >= static_cast<size_t>(bom.nLen)
            && std::memcmp(data.data(), bom.szBytes, static_cast<size_t>(bom.nLen)) == 0) {
            nFlags |= bom.nFlag;
            strEncoding = bom.szEncoding;
            nSkip = static_cast<size_t>(bom.nLen);
            nCharWidth = bom.nLen == 2 ? 2 : 1;
            AddResult(strResult, "bom");
            break;
        }
    }
    if (!nSkip) {
        const std::string head = data.substr(0, std::min<size_t>(data.size(), 1024));
        strEncoding = GetDeclaredEncoding(CString(head.c_str()));
        if (strEncoding.IsEmpty() && !data.empty() && data[0] == '<')
            strEncoding = "UTF-8";
    }
    // An empty encoding of the caller asks which one the file has.
    bAskEncoding = pstrEncoding && pstrEncoding->IsEmpty();
    if (pstrEncoding && !bAskEncoding && !SameEncoding(*pstrEncoding, strEncoding)) {
        if (nCharWidth == 1)
            strEncoding = *pstrEncoding;
        else
            *pstrEncoding = strEncoding;
    }

    if (nCharWidth == 2) {
        const size_t nUnits = (data.size() - nSkip) / 2;
        std::u16string units(nUnits, u'\0');
        std::memcpy(units.data(), data.data() + nSkip, nUnits * 2);
        AddResult(strResult, "read", "encoding", strEncoding, "length", static_cast<int>(nUnits));
        const size_t nNulls = std::erase(units, u'\0');
        if (nNulls)
            AddResult(strResult, "nulls_removed", nullptr, nullptr, "count", static_cast<int>(nNulls));
        if (nFlags & DF_UTF16BE_BOM) {
            SwapBytes(units);
            AddResult(strResult, "endian_swap");
        }
        bool bLoss = false;
        std::string text = Utf16ToAnsi(reinterpret_cast<const unsigned short*>(units.data()), units.size(), &bLoss);
        AddResult(strResult, "converted_to", "encoding", "", "length", static_cast<int>(text.size()));
        if (bLoss)
            AddResult(strResult, "conversion_loss");
        strDoc = CString(std::move(text));
        return finish(true);
    }

    std::string text = data.substr(nSkip);
    AddResult(strResult, "read", "encoding", strEncoding, "length", static_cast<int>(text.size()));
    if (const size_t nNulls = RemoveNulls(text))
        AddResult(strResult, "nulls_removed", nullptr, nullptr, "count", static_cast<int>(nNulls));
    if (strEncoding.IsEmpty()) {
        int nNonAscii = 0;
        const bool bUtf8 = DetectUTF8(text.data(), static_cast<int>(text.size()), &nNonAscii);
        if (bUtf8) {
            strEncoding = "UTF-8";
            AddResult(strResult, "read", "encoding", "UTF-8", "length", static_cast<int>(text.size()), -1, true);
            // UTF-8 is our ANSI code page: the text is already in place
            if (nNonAscii)
                AddResult(strResult, "converted_to", "encoding", "", "length", static_cast<int>(text.size()));
        }
        AddResult(strResult, "utf8_detection");
    } else if (const int nCP = ConversionCodePage(strEncoding)) {
        std::string converted;
        bool bLoss = false;
        if (ConvertText(text, nCP, 0, converted, &bLoss)) {
            text = std::move(converted);
            AddResult(strResult, "converted_to", "encoding", "", "length", static_cast<int>(text.size()));
            if (bLoss)
                AddResult(strResult, "conversion_loss");
        }
    }
    strDoc = CString(std::move(text));
    return finish(true);
}

bool CXmlDoc::WriteTextFile(XML_CSTR szFileName, const CString& strDoc, CString* pstrResult, int* pnDocFlags,
                            CString* pstrEncoding)
{
    CString strResult;
    const int nFlags = (pnDocFlags ? *pnDocFlags : 0) | DF_WRITE_FILE;
    const bool bAppend = (nFlags & DF_APPEND_FILE) != 0;
    const auto finish = [&](bool bOk) {
        if (pstrResult)
            *pstrResult += strResult;
        if (pnDocFlags)
            *pnDocFlags = nFlags & ~kFileModeFlags;
        return bOk;
    };
    if (!szFileName.pcsz || !*szFileName.pcsz) {
        AddFileError(strResult, ENOENT);
        return finish(false);
    }
    std::string path = szFileName.pcsz;
    // A link is written through: the new file replaces the file it names.
    std::error_code ec;
    if (!bAppend && std::filesystem::is_symlink(path, ec)) {
        const auto target = std::filesystem::canonical(path, ec);
        if (!ec)
            path = target.string();
    }

    // A new file is written beside the old one and renamed over it, so a
    // failed write never leaves the old file destroyed or half written.
    std::string tmpPath;
    FILE* f = nullptr;
    if (bAppend) {
        f = std::fopen(path.c_str(), "ab");
    } else {
        tmpPath = path + ".XXXXXX";
        const int fd = mkstemp(tmpPath.data());
        if (fd >= 0) {
            struct stat st;
            mode_t mode;
            if (::stat(path.c_str(), &st) == 0) {
                mode = st.st_mode & 07777;
            } else {
                const mode_t mask = ::umask(0);
                ::umask(mask);
                mode = 0666 & ~mask;
            }
            ::fchmod(fd, mode);
            f = ::fdopen(fd, "wb");
            if (!f) {
                const int nError = errno;
                ::close(fd);
                ::unlink(tmpPath.c_str());
                errno = nError;
            }
        }
    }
    if (!f) {
        AddFileError(strResult, errno);
        return finish(false);
    }

    std::string out;
    CString strEncoding;
    int nCharWidth = 1;
    int nBomFlag = 0;
    for (const Bom& bom : kBoms) {
        if (nFlags & bom.nFlag) {
            strEncoding = bom.szEncoding;
            nCharWidth = bom.nLen == 2 ? 2 : 1;
            nBomFlag = bom.nFlag;
            bool bWriteMark = true;
            if (bAppend) {
                std::fseek(f, 0, SEEK_END);
                bWriteMark = std::ftell(f) == 0;
            }
            if (bWriteMark) {
                out.append(bom.szBytes, static_cast<size_t>(bom.nLen));
                AddResult(strResult, "bom");
            }
            break;
        }
    }
    if (strEncoding.IsEmpty()) {
        strEncoding = GetDeclaredEncoding(strDoc);
        if (strEncoding.IsEmpty())
            strEncoding = "UTF-8";
    }
    // An empty encoding of the caller asks which one the file has.
    const bool bAskEncoding = pstrEncoding && pstrEncoding->IsEmpty();
    if (pstrEncoding && !bAskEncoding && !SameEncoding(*pstrEncoding, strEncoding)) {
        if (nCharWidth == 1)
            strEncoding = *pstrEncoding;
        else
            *pstrEncoding = strEncoding;
    }

    if (nCharWidth == 2) {
        std::u16string units = AnsiToUtf16(strDoc.GetString(), static_cast<size_t>(strDoc.GetLength()));
        AddResult(strResult, "converted_from", "encoding", "", "length", strDoc.GetLength());
        if (nBomFlag == DF_UTF16BE_BOM) {
            SwapBytes(units);
            AddResult(strResult, "endian_swap");
        }
        out.append(reinterpret_cast<const char*>(units.data()), units.size() * 2);
        AddResult(strResult, "write", "encoding", strEncoding, "length", static_cast<int>(units.size()));
    } else {
        std::string text(strDoc.GetString(), static_cast<size_t>(strDoc.GetLength()));
        if (const int nCP = ConversionCodePage(strEncoding)) {
            std::string converted;
            bool bLoss = false;
            if (ConvertText(text, 0, nCP, converted, &bLoss)) {
                text = std::move(converted);
                AddResult(strResult, "converted_from", "encoding", "", "length", strDoc.GetLength());
                if (bLoss)
                    AddResult(strResult, "conversion_loss");
            }
        }
        AddResult(strResult, "write", "encoding", strEncoding, "length", static_cast<int>(text.size()));
        out += text;
    }

    bool bOk = out.empty() || std::fwrite(out.data(), 1, out.size(), f) == out.size();
    int nError = bOk ? 0 : errno;
    if (bOk && (std::fflush(f) != 0 || (!bAppend && ::fsync(fileno(f)) != 0))) {
        bOk = false;
        nError = errno;
    }
    if (std::fclose(f) != 0 && bOk) {
        bOk = false;
        nError = errno;
    }
    if (bAskEncoding)
        *pstrEncoding = strEncoding;
    if (bOk && !bAppend && std::rename(tmpPath.c_str(), path.c_str()) != 0) {
        bOk = false;
        nError = errno;
    }
    if (!bOk) {
        if (!bAppend)
            ::unlink(tmpPath.c_str());
        AddFileError(strResult, nError ? nError : EIO);
    }
    return finish(bOk);
}

bool CXmlDoc::Load(XML_CSTR szFileName)
{
    if (x_FileMode())
        return false;
    m_strResult.Empty();
    const bool bRead = ReadTextFile(szFileName, m_strDoc, &m_strResult, &m_nDocFlags);
    const bool bWellFormed = x_ParseDoc();
    return bRead && bWellFormed;
}

bool CXmlDoc::Save(XML_CSTR szFileName)
{
    if (x_FileMode())
        return false;
    m_strResult.Empty();
    return WriteTextFile(szFileName, m_strDoc, &m_strResult, &m_nDocFlags);
}

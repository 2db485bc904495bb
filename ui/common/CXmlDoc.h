#pragma once
// An XML document held as one 8-bit text with a tree of element records that
// point into it. Navigation moves three positions (parent, main, child) over
// the tree; every edit rewrites the text in place and shifts the records
// behind it, so the records always describe the text without a new parse.
//
// A CXmlDoc is a plain value: one thread at a time per object. The static
// text services (escaping, UTF coding, encodings, files) are thread safe.

#include "platform/base/CString.h"

#include <memory>
#include <vector>

// String argument of the public operations: a plain const char* that also
// takes a CString. NULL is allowed where an operation says so.
struct XML_CSTR {
    XML_CSTR() = default;
    XML_CSTR(const char* psz) : pcsz(psz) {}                 // NOLINT: implicit by design
    XML_CSTR(const CString& str) : pcsz(str.GetString()) {}  // NOLINT
    operator const char*() const { return pcsz; }            // NOLINT
    const char* pcsz = nullptr;
};

class CXmlDoc {
public:
    // Document flags (GetDocFlags / SetDocFlags).
    enum DocFlags {
        DF_UTF16LE_BOM = 0x01,
        DF_UTF8_BOM = 0x04,
        DF_IGNORE_CASE = 0x08,
        DF_READ_FILE = 0x10,
        DF_WRITE_FILE = 0x20,
        DF_APPEND_FILE = 0x40,
        DF_UTF16BE_BOM = 0x80,
        DF_TRIM_WHITESPACE = 0x100,
        DF_COLLAPSE_WHITESPACE = 0x200,
    };
    // Flags of the adding and escaping operations.
    enum NodeFlags {
        NF_WITH_CDATA = 0x01,
        NF_WITH_NO_LINES = 0x02,
        NF_WITH_SPACE_CLOSE = 0x04,  // " />" in place of "/>"
        NF_WITH_REFS = 0x08,         // keep entity references in the data
        NF_WITH_NO_END = 0x10,       // start tag only, no end tag
        NF_ESCAPE_QUOTES = 0x100,    // attribute rule of EscapeText
        NF_INSERT = 0x2000,
        NF_CHILD = 0x4000,
    };
    // Node types of FindNode and GetNodeType.
    enum NodeType {
        NT_ELEMENT = 1,
        NT_TEXT = 2,
        NT_WHITESPACE = 4,
        NT_CDATA_SECTION = 8,
        NT_PROCESSING_INSTRUCTION = 16,
        NT_COMMENT = 32,
        NT_DOCUMENT_TYPE = 64,
        NT_LONE_END_TAG = 128,
        NT_NODE_ERROR = 0x8000,
    };
    // Element record flags.
    enum ElemFlags {
        EF_LEVEL_MASK = 0xFFFF,
        EF_DELETED = 0x20000,
        EF_FIRST = 0x80000,
        EF_NONENDED = 0x100000,
        EF_ILLDATA = 0x200000,
        EF_ILLFORMED = 0x800000,
    };

    // One element: eight 32-bit fields. Record 0 stands for the document.
    struct ElemRecord {
        int nStart = 0;
        int nLength = 0;
        unsigned int nTagLengths = 0;  // low 22 bits start tag, high 10 bits end tag
        int nFlags = 0;
        int iElemParent = 0;
        int iElemChild = 0;
        int iElemNext = 0;
        int iElemPrev = 0;  // the first child's previous is the last child

        int StartTagLen() const { return static_cast<int>(nTagLengths & 0x3FFFFF); }
        int EndTagLen() const { return static_cast<int>(nTagLengths >> 22); }
        void SetStartTagLen(int n) { nTagLengths = (nTagLengths & ~0x3FFFFFu) | static_cast<unsigned>(n); }
        void SetEndTagLen(int n) { nTagLengths = (nTagLengths & 0x3FFFFFu) | (static_cast<unsigned>(n) << 22); }
        int Level() const { return nFlags & EF_LEVEL_MASK; }
        void SetLevel(int n) { nFlags = (nFlags & ~EF_LEVEL_MASK) | n; }
        bool operator==(const ElemRecord&) const = default;
    };
    // What the packed fields can hold; longer tags and deeper nesting are
    // refused with a parse error entry.
    static constexpr int kMaxStartTagLen = 0x3FFFFF;
    static constexpr int kMaxEndTagLen = 0x3FF;
    static constexpr int kMaxLevel = 0xFFFF;

    CXmlDoc();
    CXmlDoc(XML_CSTR szDoc);  // NOLINT: a document from its text
    explicit CXmlDoc(int nDocFlags);
    CXmlDoc(const CXmlDoc& other);
    CXmlDoc& operator=(const CXmlDoc& other);
    ~CXmlDoc();

    // Document
    bool SetDoc(const char* szDoc);
    bool SetDoc(const CString& strDoc);
    const CString& GetDoc() const { return m_strDoc; }
    bool IsWellFormed();
    bool Load(XML_CSTR szFileName);
    bool Save(XML_CSTR szFileName);
    const CString& GetResult() const { return m_strResult; }
    CString GetError() const;
    int GetDocFlags() const { return m_nDocFlags; }
    void SetDocFlags(int nFlags) { m_nDocFlags = nFlags & ~(DF_READ_FILE | DF_WRITE_FILE | DF_APPEND_FILE); }

    // Navigation
    bool FindElem(XML_CSTR szName = XML_CSTR());
    bool FindChildElem(XML_CSTR szName = XML_CSTR());
    bool IntoElem();
    bool OutOfElem();
    void ResetChildPos() { x_SetPos(m_iPosParent, m_iPos, 0); }
    void ResetMainPos() { x_SetPos(m_iPosParent, 0, 0); }
    void ResetPos() { x_SetPos(0, 0, 0); }
    int FindNode(int nType = 0);
    CString GetTagName() const;
    CString GetChildTagName() const;
    CString GetData() const;
    CString GetChildData() const;
    CString GetElemContent() const;
    CString GetAttrib(XML_CSTR szAttrib) const;
    CString GetChildAttrib(XML_CSTR szAttrib) const;
    CString GetAttribName(int n) const;
    bool GetNthAttrib(int n, CString& strName, CString& strValue) const;
    int GetNodeType() const { return m_nNodeType; }
    CString GetSubDoc() const;
    CString GetChildSubDoc() const;
    bool SavePos(XML_CSTR szPosName = XML_CSTR(), int nMap = 0);
    bool RestorePos(XML_CSTR szPosName = XML_CSTR(), int nMap = 0);
    bool SetMapSize(int nSize, int nMap = 0);

    // Editing
    bool AddElem(XML_CSTR szName, XML_CSTR szData = XML_CSTR(), int nFlags = 0)
    {
        return x_AddElem(szName, szData, nFlags);
    }
    bool InsertElem(XML_CSTR szName, XML_CSTR szData = XML_CSTR(), int nFlags = 0)
    {
        return x_AddElem(szName, szData, nFlags | NF_INSERT);
    }
    bool AddChildElem(XML_CSTR szName, XML_CSTR szData = XML_CSTR(), int nFlags = 0)
    {
        return x_AddElem(szName, szData, nFlags | NF_CHILD);
    }
    bool InsertChildElem(XML_CSTR szName, XML_CSTR szData = XML_CSTR(), int nFlags = 0)
    {
        return x_AddElem(szName, szData, nFlags | NF_INSERT | NF_CHILD);
    }
    bool AddElem(XML_CSTR szName, int nValue, int nFlags = 0) { return x_AddElem(szName, nValue, nFlags); }
    bool InsertElem(XML_CSTR szName, int nValue, int nFlags = 0)
    {
        return x_AddElem(szName, nValue, nFlags | NF_INSERT);
    }
    bool AddChildElem(XML_CSTR szName, int nValue, int nFlags = 0)
    {
        return x_AddElem(szName, nValue, nFlags | NF_CHILD);
    }
    bool InsertChildElem(XML_CSTR szName, int nValue, int nFlags = 0)
    {
        return x_AddElem(szName, nValue, nFlags | NF_INSERT | NF_CHILD);
    }
    bool AddSubDoc(XML_CSTR szSubDoc) { return x_AddSubDoc(szSubDoc, 0); }
    bool InsertSubDoc(XML_CSTR szSubDoc) { return x_AddSubDoc(szSubDoc, NF_INSERT); }
    bool AddChildSubDoc(XML_CSTR szSubDoc) { return x_AddSubDoc(szSubDoc, NF_CHILD); }
    bool InsertChildSubDoc(XML_CSTR szSubDoc) { return x_AddSubDoc(szSubDoc, NF_INSERT | NF_CHILD); }
    bool AddNode(int nType, XML_CSTR szText) { return x_AddNode(nType, szText, 0); }
    bool InsertNode(int nType, XML_CSTR szText) { return x_AddNode(nType, szText, NF_INSERT); }
    bool SetAttrib(XML_CSTR szAttrib, XML_CSTR szValue, int nFlags = 0)
    {
        return x_SetAttrib(false, szAttrib, szValue, nFlags);
    }
    bool SetChildAttrib(XML_CSTR szAttrib, XML_CSTR szValue, int nFlags = 0)
    {
        return x_SetAttrib(true, szAttrib, szValue, nFlags);
    }
    bool SetAttrib(XML_CSTR szAttrib, int nValue, int nFlags = 0);
    bool SetChildAttrib(XML_CSTR szAttrib, int nValue, int nFlags = 0);
    bool AddAttrib(XML_CSTR szAttrib, XML_CSTR szValue) { return SetAttrib(szAttrib, szValue); }
    bool AddChildAttrib(XML_CSTR szAttrib, XML_CSTR szValue) { return SetChildAttrib(szAttrib, szValue); }
    bool AddAttrib(XML_CSTR szAttrib, int nValue) { return SetAttrib(szAttrib, nValue); }
    bool AddChildAttrib(XML_CSTR szAttrib, int nValue) { return SetChildAttrib(szAttrib, nValue); }
    bool SetData(XML_CSTR szData, int nFlags = 0) { return x_SetData(false, szData, nFlags); }
    bool SetChildData(XML_CSTR szData, int nFlags = 0) { return x_SetData(true, szData, nFlags); }
    bool SetData(int nValue);
    bool SetChildData(int nValue);
    bool SetElemContent(XML_CSTR szContent);
    bool RemoveElem();
    bool RemoveChildElem();
    bool RemoveNode();

    // Text services
    static CString EscapeText(const char* szText, int nFlags = 0);
    static CString UnescapeText(const char* szText, int nTextLength = -1, int nFlags = 0);
    static int UTF16To8(char* pszUTF8, const unsigned short* pwszUTF16, int nUTF8Count);
    static int UTF8To16(unsigned short* pwszUTF16, const char* pszUTF8, int nUTF8Count);
    static CString UTF8ToA(const char* pszUTF8, int* pnFailed = nullptr);
    static CString AToUTF8(const char* pszANSI);
    static void EncodeCharUTF16(int nUChar, unsigned short* pwszUTF16, int& nUTF16Len);
    static int DecodeCharUTF16(const unsigned short*& pwszUTF16, const unsigned short* pszUTF16End = nullptr);
    static void EncodeCharUTF8(int nUChar, char* pszUTF8, int& nUTF8Len);
    static int DecodeCharUTF8(const char*& pszUTF8, const char* pszUTF8End = nullptr);
    static bool DetectUTF8(const char* pText, int nTextLen, int* pnNonASCII = nullptr, bool* bErrorAtEnd = nullptr);
    static CString GetDeclaredEncoding(XML_CSTR szDoc);
    static int GetEncodingCodePage(XML_CSTR pszEncoding);
    static bool ReadTextFile(XML_CSTR szFileName, CString& strDoc, CString* pstrResult = nullptr,
                             int* pnDocFlags = nullptr, CString* pstrEncoding = nullptr);
    static bool WriteTextFile(XML_CSTR szFileName, const CString& strDoc, CString* pstrResult = nullptr,
                              int* pnDocFlags = nullptr, CString* pstrEncoding = nullptr);

    // Record access for tests and tools: index 0 is the document record.
    // Records at and above FreePos() are unused.
    const ElemRecord& GetRecord(int i) const { return ELEM(i); }
    int GetFreePos() const { return m_iPosFree; }
    int GetParentPos() const { return m_iPosParent; }
    int GetMainPos() const { return m_iPos; }
    int GetChildPos() const { return m_iPosChild; }

    struct SavedPos;
    struct SavedPosMap;
    struct TokenCursor;
    struct NodeText;

private:
    static constexpr int kSegBits = 16;
    static constexpr int kSegSize = 1 << kSegBits;
    static constexpr int kSegMask = kSegSize - 1;

    ElemRecord& ELEM(int i) { return m_segs[static_cast<size_t>(i >> kSegBits)][i & kSegMask]; }
    const ElemRecord& ELEM(int i) const { return m_segs[static_cast<size_t>(i >> kSegBits)][i & kSegMask]; }

    void x_InitDoc();
    void x_SetPos(int iPosParent, int iPos, int iPosChild);
    void x_SetNode(int nType, int nOffset, int nLength);
    bool x_FileMode() const { return (m_nDocFlags & (DF_READ_FILE | DF_WRITE_FILE)) != 0; }

    // records (CXmlDoc.cpp)
    void x_AllocElems(int nCapacity);
    int x_NewElem();
    void x_ReleaseSubtree(int iPos);
    void x_DropSavedPositions();
    void x_LinkElem(int iParent, int iBefore, int iElem);
    void x_UnlinkElem(int iElem);
    void x_ShiftTree(int iTop, int nShift);
    void x_Adjust(int iParent, int iAfter, int nShift);
    void x_SetLevels(int iParent, int nLevel);

    // parsing (CXmlDoc_Parse.cpp)
    bool x_ParseDoc();
    int x_ParseRegion(int iParent, int nBegin, int nEnd, int nBaseLevel);
    void x_CloseUnended(const std::vector<int>& run, int iTarget, int nOffset2);

    // navigation (CXmlDoc_Nav.cpp)
    int x_FindElem(int iPosParent, int iPos, const char* szName) const;
    bool x_NameMatches(int iPos, const char* szName, int nNameLen) const;
    CString x_GetTagName(int iPos) const;
    CString x_GetAttrib(int iPos, bool bMain, const char* szAttrib) const;
    CString x_GetData(int iPos) const;
    CString x_GetElemContent(int iPos) const;
    CString x_GetSubDoc(int iPos) const;
    bool x_AttribRegion(int iPos, bool bMain, int& nFrom, int& nTo) const;
    CString x_GetNodeText(bool bInner) const;
    bool x_AtNodeOffset() const { return m_nNodeType > NT_ELEMENT || (m_nNodeType == 0 && m_nNodeOffset > 0); }
    int x_ContentStart(int iParent) const;
    int x_ContentEnd(int iParent) const;
    SavedPosMap* x_GetMap(int nMap, bool bCreate);

    // editing (CXmlDoc_Edit.cpp)
    bool x_AddElem(const char* szName, const char* szValue, int nFlags);
    bool x_AddElem(const char* szName, int nValue, int nFlags);
    bool x_AddSubDoc(const char* szSubDoc, int nFlags);
    bool x_AddNode(int nType, const char* szText, int nFlags);
    bool x_SetAttrib(bool bChild, const char* szAttrib, const char* szValue, int nFlags);
    bool x_SetData(bool bChild, const char* szData, int nFlags);
    bool x_SetNodeText(const char* szText);
    int x_RemoveElem(int iPos);
    int x_InsertText(int iParent, int iBefore, int nOffset, const CString& strText, bool bNoLines);
    bool x_HasOpenAncestor(int iParent, const char* szName) const;
    bool x_CanOpen(int iPos) const;
    bool x_EndTagWouldPair(int iParent, int iBefore, int nOffset, const char* szName) const;
    bool x_LoneEndTagWouldPair(int iParent, int iBefore, const char* szName) const;
    void x_ReplaceText(int nOffset, int nOldLen, const CString& strNew);
    bool x_InsertPoint(bool bChild, bool bInsert, bool bNode, bool bNoLines, int& iParent, int& iBefore,
                       int& nOffset) const;
    bool x_CreateNode(CString& strNode, int nType, const char* szText) const;

    // Members in this order are part of the class's layout.
    CString m_strDoc;
    CString m_strResult;
    int m_iPosParent = 0;
    int m_iPos = 0;
    int m_iPosChild = 0;
    int m_iPosFree = 1;
    int m_iPosDeleted = 0;
    int m_nNodeType = 0;
    int m_nNodeOffset = 0;
    int m_nNodeLength = 0;
    int m_nDocFlags = 0;
    void* m_pFilePos = nullptr;  // file mode is not offered; always NULL
    std::vector<std::unique_ptr<SavedPosMap>> m_maps;
    std::vector<std::unique_ptr<ElemRecord[]>> m_segs;
    int m_nCapacity = 0;
};

#include "ui/common/CXmlDoc.h"

#include "ui/common/CXmlDoc_p.h"

#include <algorithm>
#include <cstring>

// Construction, record storage and the tree surgery every edit shares.

CXmlDoc::CXmlDoc()
{
    x_InitDoc();
    SetDoc(nullptr);
}

CXmlDoc::CXmlDoc(XML_CSTR szDoc)
{
    x_InitDoc();
    SetDoc(szDoc.pcsz);
}

CXmlDoc::CXmlDoc(int nDocFlags)
{
    x_InitDoc();
    SetDoc(nullptr);
    m_nDocFlags = nDocFlags;
}

CXmlDoc::CXmlDoc(const CXmlDoc& other)
{
    x_InitDoc();
    *this = other;
}

CXmlDoc::~CXmlDoc() = default;

void CXmlDoc::x_InitDoc()
{
    x_AllocElems(8);
    ELEM(0) = ElemRecord();
}

CXmlDoc& CXmlDoc::operator=(const CXmlDoc& other)
{
    if (this == &other || x_FileMode() || other.x_FileMode())
        return *this;
    m_strDoc = other.m_strDoc;
    m_strResult = other.m_strResult;
    m_iPosParent = other.m_iPosParent;
    m_iPos = other.m_iPos;
    m_iPosChild = other.m_iPosChild;
    m_iPosFree = other.m_iPosFree;
    m_iPosDeleted = other.m_iPosDeleted;
    m_nNodeType = other.m_nNodeType;
    m_nNodeOffset = other.m_nNodeOffset;
    m_nNodeLength = other.m_nNodeLength;
    m_nDocFlags = other.m_nDocFlags;
    m_segs.clear();
    m_nCapacity = 0;
    x_AllocElems(std::max(other.m_iPosFree, 8));
    for (int i = 0; i < other.m_iPosFree; ++i)
        ELEM(i) = other.ELEM(i);
    m_maps.clear();
    for (const auto& map : other.m_maps)
        m_maps.push_back(std::make_unique<SavedPosMap>(*map));
    return *this;
}

bool CXmlDoc::SetDoc(const char* szDoc)
{
    m_strResult.Empty();
    if (!szDoc) {
        // No text: also give back the record storage beyond the minimum.
        m_strDoc.Empty();
        m_segs.clear();
        m_nCapacity = 0;
        x_AllocElems(8);
    } else {
        m_strDoc = szDoc;
    }
    return x_ParseDoc();
}

bool CXmlDoc::SetDoc(const CString& strDoc)
{
    m_strResult.Empty();
    m_strDoc = strDoc;
    return x_ParseDoc();
}

bool CXmlDoc::IsWellFormed()
{
    const ElemRecord& doc = ELEM(0);
    if (doc.nFlags & EF_ILLFORMED)
        return false;
    return doc.iElemChild && !ELEM(doc.iElemChild).iElemNext;
}

void CXmlDoc::x_SetPos(int iPosParent, int iPos, int iPosChild)
{
    m_iPosParent = iPosParent;
    m_iPos = iPos;
    m_iPosChild = iPosChild;
    m_nNodeType = iPos ? NT_ELEMENT : 0;
    m_nNodeOffset = 0;
    m_nNodeLength = 0;
}

void CXmlDoc::x_SetNode(int nType, int nOffset, int nLength)
{
    m_nNodeType = nType;
    m_nNodeOffset = nOffset;
    m_nNodeLength = nLength;
}

// Every segment but the last holds 65,536 records; growing regrows only the
// last one, so records never move between segments.
void CXmlDoc::x_AllocElems(int nNewCapacity)
{
    if (nNewCapacity <= m_nCapacity)
        return;
    const int nOldSegs = static_cast<int>(m_segs.size());
    const int nNewSegs = (nNewCapacity - 1) / kSegSize + 1;
    if (nOldSegs > 0) {
        const int nLastOld = m_nCapacity - (nOldSegs - 1) * kSegSize;
        const int nLastNew = std::min(kSegSize, nNewCapacity - (nOldSegs - 1) * kSegSize);
        if (nLastNew > nLastOld) {
            auto seg = std::make_unique<ElemRecord[]>(static_cast<size_t>(nLastNew));
            std::copy(m_segs.back().get(), m_segs.back().get() + nLastOld, seg.get());
            m_segs.back() = std::move(seg);
        }
    }
    for (int s = nOldSegs; s < nNewSegs; ++s) {
        const int nSize = std::min(kSegSize, nNewCapacity - s * kSegSize);
        m_segs.push_back(std::make_unique<ElemRecord[]>(static_cast<size_t>(nSize)));
    }
    m_nCapacity = nNewCapacity;
}

int CXmlDoc::x_NewElem()
{
    if (m_iPosFree >= m_nCapacity)
        x_AllocElems(std::max(m_nCapacity + m_nCapacity / 2, m_nCapacity + 8));
    const int i = m_iPosFree++;
    ELEM(i) = ElemRecord();
    return i;
}

// Links iElem into iParent's children after iBefore (0: as the first child).
void CXmlDoc::x_LinkElem(int iParent, int iBefore, int iElem)
{
    ElemRecord& parent = ELEM(iParent);
    ElemRecord& elem = ELEM(iElem);
    elem.iElemParent = iParent;
    elem.nFlags &= ~EF_FIRST;
    if (!parent.iElemChild) {
        parent.iElemChild = iElem;
        elem.nFlags |= EF_FIRST;
        elem.iElemPrev = iElem;
        elem.iElemNext = 0;
        return;
    }
    const int iFirst = parent.iElemChild;
    if (!iBefore) {
        ElemRecord& first = ELEM(iFirst);
        elem.iElemPrev = first.iElemPrev;
        elem.iElemNext = iFirst;
        elem.nFlags |= EF_FIRST;
        first.iElemPrev = iElem;
        first.nFlags &= ~EF_FIRST;
        parent.iElemChild = iElem;
        return;
    }
    ElemRecord& before = ELEM(iBefore);
    elem.iElemPrev = iBefore;
    elem.iElemNext = before.iElemNext;
    before.iElemNext = iElem;
    if (elem.iElemNext)
        ELEM(elem.iElemNext).iElemPrev = iElem;
    else
        ELEM(iFirst).iElemPrev = iElem;
}

void CXmlDoc::x_UnlinkElem(int iElem)
{
    ElemRecord& elem = ELEM(iElem);
    ElemRecord& parent = ELEM(elem.iElemParent);
    const int iNext = elem.iElemNext;
    if (parent.iElemChild == iElem) {
        parent.iElemChild = iNext;
        if (iNext) {
            ELEM(iNext).iElemPrev = elem.iElemPrev;
            ELEM(iNext).nFlags |= EF_FIRST;
        }
    } else {
        ELEM(elem.iElemPrev).iElemNext = iNext;
        if (iNext)
            ELEM(iNext).iElemPrev = elem.iElemPrev;
        else
            ELEM(parent.iElemChild).iElemPrev = elem.iElemPrev;
    }
    elem.iElemNext = 0;
    elem.iElemPrev = 0;
    elem.nFlags &= ~EF_FIRST;
}

// Marks a whole subtree released and chains it from the deleted position.
void CXmlDoc::x_ReleaseSubtree(int iTop)
{
    std::vector<int> stack{iTop};
    while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        for (int c = ELEM(i).iElemChild; c; c = ELEM(c).iElemNext)
            stack.push_back(c);
        ElemRecord& r = ELEM(i);
        r = ElemRecord();
        r.nFlags = EF_DELETED;
        r.iElemNext = m_iPosDeleted;
        m_iPosDeleted = i;
    }
}

// Saved positions that name a released record would restore into nothing.
void CXmlDoc::x_DropSavedPositions()
{
    for (auto& map : m_maps) {
        for (auto& bucket : map->buckets) {
            std::erase_if(bucket, [&](const SavedPos& pos) {
                return pos.iPos >= m_iPosFree || (ELEM(pos.iPos).nFlags & EF_DELETED);
            });
        }
    }
}

void CXmlDoc::x_ShiftTree(int iTop, int nShift)
{
    int i = iTop;
    for (;;) {
        ElemRecord& r = ELEM(i);
        r.nStart += nShift;
        if (r.iElemChild) {
            i = r.iElemChild;
            continue;
        }
        while (i != iTop && !ELEM(i).iElemNext)
            i = ELEM(i).iElemParent;
        if (i == iTop)
            break;
        i = ELEM(i).iElemNext;
    }
}

// The text changed by nShift characters inside iParent's content, after its
// child iAfter (0: before all its children). Everything behind the edit moves,
// everything around it grows.
void CXmlDoc::x_Adjust(int iParent, int iAfter, int nShift)
{
    if (!nShift)
        return;
    int iSib = iAfter ? ELEM(iAfter).iElemNext : ELEM(iParent).iElemChild;
    int iP = iParent;
    for (;;) {
        for (; iSib; iSib = ELEM(iSib).iElemNext)
            x_ShiftTree(iSib, nShift);
        ELEM(iP).nLength += nShift;
        if (!iP)
            break;
        iSib = ELEM(iP).iElemNext;
        iP = ELEM(iP).iElemParent;
    }
}

// Sets the levels of all of iParent's descendants, nLevel for its children.
void CXmlDoc::x_SetLevels(int iParent, int nLevel)
{
    int i = ELEM(iParent).iElemChild;
    while (i) {
        ElemRecord& r = ELEM(i);
        r.SetLevel(nLevel);
        if (r.iElemChild) {
            i = r.iElemChild;
            ++nLevel;
            continue;
        }
        while (i && !ELEM(i).iElemNext) {
            i = ELEM(i).iElemParent;
            --nLevel;
            if (i == iParent)
                i = 0;
        }
        if (i)
            i = ELEM(i).iElemNext;
    }
}

// Saved positions

CXmlDoc::SavedPosMap* CXmlDoc::x_GetMap(int nMap, bool bCreate)
{
    for (auto& map : m_maps)
        if (map->nMap == nMap)
            return map.get();
    if (!bCreate)
        return nullptr;
    auto map = std::make_unique<SavedPosMap>();
    map->nMap = nMap;
    map->buckets.resize(static_cast<size_t>(map->nMapSize));
    m_maps.push_back(std::move(map));
    return m_maps.back().get();
}

namespace {

// The bytes are summed as unsigned so that names beyond ASCII hash into
// the table like any other.
int BucketOf(const char* szName, int nMapSize)
{
    unsigned int nSum = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(szName); *p; ++p)
        nSum += *p;
    return static_cast<int>(nSum % static_cast<unsigned int>(nMapSize));
}

}  // namespace

bool CXmlDoc::SetMapSize(int nSize, int nMap)
{
    if (nSize <= 0)
        return false;
    SavedPosMap* map = x_GetMap(nMap, true);
    if (map->nMapSize == nSize)
        return true;
    std::vector<std::vector<SavedPos>> old = std::move(map->buckets);
    map->nMapSize = nSize;
    map->buckets.assign(static_cast<size_t>(nSize), {});
    for (auto& bucket : old)
        for (auto& pos : bucket)
            map->buckets[static_cast<size_t>(BucketOf(pos.strName, nSize))].push_back(std::move(pos));
    return true;
}

bool CXmlDoc::SavePos(XML_CSTR szPosName, int nMap)
{
    if (x_FileMode() || !szPosName.pcsz || !*szPosName.pcsz)
        return false;
    SavedPosMap* map = x_GetMap(nMap, true);
    SavedPos pos;
    pos.strName = szPosName.pcsz;
    pos.nFlags = vxxml::kSavedUsed;
    if (m_iPosChild) {
        pos.iPos = m_iPosChild;
        pos.nFlags |= vxxml::kSavedChild;
    } else if (m_iPos) {
        pos.iPos = m_iPos;
        pos.nFlags |= vxxml::kSavedMain;
    } else {
        pos.iPos = m_iPosParent;
    }
    auto& bucket = map->buckets[static_cast<size_t>(BucketOf(szPosName.pcsz, map->nMapSize))];
    for (auto& entry : bucket) {
        if (entry.strName == szPosName.pcsz) {
            entry = std::move(pos);
            return true;
        }
    }
    bucket.push_back(std::move(pos));
    return true;
}

bool CXmlDoc::RestorePos(XML_CSTR szPosName, int nMap)
{
    if (x_FileMode() || !szPosName.pcsz || !*szPosName.pcsz)
        return false;
    SavedPosMap* map = x_GetMap(nMap, false);
    if (!map)
        return false;
    const auto& bucket = map->buckets[static_cast<size_t>(BucketOf(szPosName.pcsz, map->nMapSize))];
    for (const auto& entry : bucket) {
        if (entry.strName != szPosName.pcsz)
            continue;
        const int i = entry.iPos;
        if (i >= m_iPosFree || (ELEM(i).nFlags & EF_DELETED))
            return false;
        if (entry.nFlags & vxxml::kSavedChild) {
            const int iMain = ELEM(i).iElemParent;
            x_SetPos(ELEM(iMain).iElemParent, iMain, i);
        } else if (entry.nFlags & vxxml::kSavedMain) {
            x_SetPos(ELEM(i).iElemParent, i, 0);
        } else {
            x_SetPos(i, 0, 0);
        }
        return true;
    }
    return false;
}

#include "ui/controls/CSkin.h"

#include "utility/vx_time.h"

#include <cstdlib>
#include <cstring>

namespace {

template <class RECORD>
void FreeRecords(CMap<CString, LPCSTR, RECORD*, RECORD*>& map)
{
    for (POSITION pos = map.GetStartPosition(); pos;) {
        CString name;
        RECORD* record = nullptr;
        map.GetNextAssoc(pos, name, record);
        std::free(record);
    }
    map.RemoveAll();
}

// Fresh records of the same content, so that each skin frees its own.
template <class RECORD>
void CopyRecords(CMap<CString, LPCSTR, RECORD*, RECORD*>& to, const CMap<CString, LPCSTR, RECORD*, RECORD*>& from)
{
    for (POSITION pos = from.GetStartPosition(); pos;) {
        CString name;
        RECORD* record = nullptr;
        from.GetNextAssoc(pos, name, record);
        auto* copy = static_cast<RECORD*>(std::malloc(sizeof(RECORD)));
        if (!copy)
            continue;
        std::memcpy(copy, record, sizeof(RECORD));
        to[name] = copy;
    }
}

// The records change owner: `from` ends empty and frees nothing.
template <class RECORD>
void MoveRecords(CMap<CString, LPCSTR, RECORD*, RECORD*>& to, CMap<CString, LPCSTR, RECORD*, RECORD*>& from)
{
    FreeRecords(to);
    for (POSITION pos = from.GetStartPosition(); pos;) {
        CString name;
        RECORD* record = nullptr;
        from.GetNextAssoc(pos, name, record);
        to[name] = record;
    }
    from.RemoveAll();
}

template <class RECORD>
RECORD* Find(const CMap<CString, LPCSTR, RECORD*, RECORD*>& map, const char* name)
{
    RECORD* record = nullptr;
    if (!name || !map.Lookup(name, record))
        return nullptr;
    return record;
}

}  // namespace

CSkin::CSkin()
{
    std::memset(m_szSkinPath, 0, sizeof(m_szSkinPath));
    std::memset(&m_title, 0, sizeof(m_title));
    std::memset(&m_background, 0, sizeof(m_background));
    const char* folder = vx_get_current_path();
    // A folder that does not fit is left empty rather than cut: a cut folder
    // names another place.
    if (folder && std::strlen(folder) < sizeof(m_szSkinPath))
        std::strcpy(m_szSkinPath, folder);
}

CSkin::CSkin(const CSkin& other)
{
    CopyFrom(other);
}

CSkin& CSkin::operator=(const CSkin& other)
{
    if (this != &other) {
        ClearButtons();
        ClearLabels();
        ClearEdits();
        ClearRects();
        CopyFrom(other);
    }
    return *this;
}

CSkin::~CSkin()
{
    ClearButtons();
    ClearLabels();
    ClearEdits();
    ClearRects();
}

void CSkin::CopyFrom(const CSkin& other)
{
    m_xml = other.m_xml;
    std::memcpy(m_szSkinPath, other.m_szSkinPath, sizeof(m_szSkinPath));
    std::memcpy(&m_title, &other.m_title, sizeof(m_title));
    std::memcpy(&m_background, &other.m_background, sizeof(m_background));
    m_picBackground = other.m_picBackground;
    CopyRecords(m_mapButtons, other.m_mapButtons);
    CopyRecords(m_mapLabels, other.m_mapLabels);
    CopyRecords(m_mapEdits, other.m_mapEdits);
    CopyRecords(m_mapRects, other.m_mapRects);
}

void CSkin::TakeFrom(CSkin& other)
{
    m_xml = other.m_xml;
    std::memcpy(&m_title, &other.m_title, sizeof(m_title));
    std::memcpy(&m_background, &other.m_background, sizeof(m_background));
    m_picBackground = other.m_picBackground;
    MoveRecords(m_mapButtons, other.m_mapButtons);
    MoveRecords(m_mapLabels, other.m_mapLabels);
    MoveRecords(m_mapEdits, other.m_mapEdits);
    MoveRecords(m_mapRects, other.m_mapRects);
}

ST_SKIN_BUTTON* CSkin::GetButton(const char* name)
{
    return Find(m_mapButtons, name);
}

ST_SKIN_LABEL* CSkin::GetLabel(const char* name)
{
    return Find(m_mapLabels, name);
}

ST_SKIN_EDIT* CSkin::GetEdit(const char* name)
{
    return Find(m_mapEdits, name);
}

ST_SKIN_RECT* CSkin::GetRect(const char* name)
{
    return Find(m_mapRects, name);
}

void CSkin::ClearButtons()
{
    FreeRecords(m_mapButtons);
}

void CSkin::ClearLabels()
{
    FreeRecords(m_mapLabels);
}

void CSkin::ClearEdits()
{
    FreeRecords(m_mapEdits);
}

void CSkin::ClearRects()
{
    FreeRecords(m_mapRects);
}

// Reading the skin file. Every list entry, background child and rectangle is
// searched forward from the last one found, as the file format promises.
#include "ui/controls/CSkin.h"

#include "ui/controls/CSkin_p.h"
#include "utility/vx_log.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <system_error>

using vxskin::BoundRect;
using vxskin::CopyText;
using vxskin::ParseBoundedNumber;
using vxskin::ParseColour;
using vxskin::ParseFlag;
using vxskin::ParseNumber;

int CSkin::LoadSkin(const char* path)
{
    vx_log(6, "load skin %s", path ? path : "");
    // Everything is read into a fresh skin and taken over only when the
    // whole file was good, so a broken file never leaves a half-loaded skin.
    CSkin fresh;
    std::memcpy(fresh.m_szSkinPath, m_szSkinPath, sizeof(m_szSkinPath));
    if (!path || !fresh.m_xml.Load(path)) {
        vx_log(6, "load skin error %s - %s", path ? path : "", fresh.m_xml.GetResult().GetString());
        return 0;
    }
    if (!fresh.LoadTitle() || !fresh.LoadBackground() || !fresh.LoadButtons() || !fresh.LoadLabels()
        || !fresh.LoadEdits() || !fresh.LoadRects())
        return 0;
    fresh.BoundSizes();
    TakeFrom(fresh);
    return 1;
}

namespace {

void BoundLogged(ST_SKIN_RECT& rect, int w, int h, const char* kind, const char* name)
{
    const ST_SKIN_RECT was = rect;
    if (BoundRect(rect, w, h))
        vx_log(4, "CSkin: %s %s cut from %d,%d-%d,%d to %d,%d-%d,%d (bound %dx%d)", kind, name, was.left, was.top,
               was.right, was.bottom, rect.left, rect.top, rect.right, rect.bottom, w, h);
}

template <class RECORD, class RECT_OF>
void BoundMap(CMap<CString, LPCSTR, RECORD*, RECORD*>& map, int w, int h, const char* kind, RECT_OF rectOf)
{
    for (POSITION pos = map.GetStartPosition(); pos;) {
        CString name;
        RECORD* record = nullptr;
        map.GetNextAssoc(pos, name, record);
        BoundLogged(rectOf(*record), w, h, kind, name);
    }
}

// Font sizes beyond this draw nothing a window can show.
constexpr int kMaxFontSize = 500;

void BoundFont(int& size, const char* kind, const char* name)
{
    if (size >= 0 && size <= kMaxFontSize)
        return;
    vx_log(4, "CSkin: font size %d of %s %s cut", size, kind, name);
    size = std::clamp(size, 0, kMaxFontSize);
}

}  // namespace

// No size a skin gives outgrows what can be shown: the window and what is
// placed in it stay within the screen's work area, the background's pieces
// within the picture they are cut from. Each cut is logged.
void CSkin::BoundSizes()
{
    RECT work{0, 0, 1024, 768};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    const int screenW = std::max(0L, static_cast<long>(work.right - work.left));
    const int screenH = std::max(0L, static_cast<long>(work.bottom - work.top));

    ST_SKIN_SIZE& min = m_background.min_size;
    if (min.w < 0 || min.w > screenW || min.h < 0 || min.h > screenH) {
        vx_log(4, "CSkin: minimum size %dx%d cut to the work area %dx%d", min.w, min.h, screenW, screenH);
        min.w = std::clamp(min.w, 0, screenW);
        min.h = std::clamp(min.h, 0, screenH);
    }
    BoundLogged(m_background.rect, screenW, screenH, "background", "rect");
    const int picW = m_picBackground.GetWidth(), picH = m_picBackground.GetHeight();
    struct Piece {
        ST_SKIN_RECT& rect;
        const char* name;
    } const pieces[] = {{m_background.top_left, "top_left"},         {m_background.top_right, "top_right"},
                        {m_background.bottom_left, "bottom_left"},   {m_background.bottom_right, "bottom_right"},
                        {m_background.fill_center, "fill_center"},   {m_background.right_hide, "right_hide"},
                        {m_background.right_top_hide, "right_top_hide"}};
    for (const Piece& p : pieces)
        BoundLogged(p.rect, picW, picH, "background piece", p.name);

    BoundMap(m_mapButtons, screenW, screenH, "button", [](ST_SKIN_BUTTON& b) -> ST_SKIN_RECT& { return b.rect; });
    BoundMap(m_mapLabels, screenW, screenH, "label", [](ST_SKIN_LABEL& l) -> ST_SKIN_RECT& { return l.rect; });
    BoundMap(m_mapEdits, screenW, screenH, "edit", [](ST_SKIN_EDIT& e) -> ST_SKIN_RECT& { return e.rect; });
    BoundMap(m_mapRects, screenW, screenH, "rect", [](ST_SKIN_RECT& r) -> ST_SKIN_RECT& { return r; });
    for (POSITION pos = m_mapLabels.GetStartPosition(); pos;) {
        CString name;
        ST_SKIN_LABEL* label = nullptr;
        m_mapLabels.GetNextAssoc(pos, name, label);
        BoundFont(label->font_size, "label", name);
    }
    for (POSITION pos = m_mapEdits.GetStartPosition(); pos;) {
        CString name;
        ST_SKIN_EDIT* edit = nullptr;
        m_mapEdits.GetNextAssoc(pos, name, edit);
        BoundFont(edit->font_size, "edit", name);
    }
}

bool CSkin::EnterSkin()
{
    m_xml.ResetPos();
    return m_xml.FindElem("skin") && m_xml.IntoElem();
}

namespace {

// A file name of the skin names a file inside the skin folder: relative, no
// ".." step, no backslash (file functions read it as a separator), and not
// led outside by a symbolic link either.
bool InsideFolder(const CString& folder, const CString& name)
{
    if (name.IsEmpty() || name[0] == '/' || name.Find('\\') >= 0)
        return false;
    for (const auto& step : std::filesystem::path(name.GetString()))
        if (step == "..")
            return false;
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path base = fs::weakly_canonical(folder.IsEmpty() ? fs::path(".") : fs::path(folder.GetString()), ec);
    if (ec)
        return false;
    const fs::path file = fs::weakly_canonical(base / name.GetString(), ec);
    if (ec)
        return false;
    const fs::path rest = file.lexically_relative(base);
    return !rest.empty() && *rest.begin() != "..";
}

}  // namespace

// The folder joined with the file name. A path that does not fit is refused
// (empty result): cut, it would name another file. So is a name that leads
// out of the skin folder.
bool CSkin::ImagePath(char* out, const CString& name, const char* what)
{
    out[0] = '\0';
    CString path = m_szSkinPath;
    if (!InsideFolder(path, name)) {
        vx_log(2, "CSkin: image of %s is not a file of the skin folder: %s", what, name.GetString());
        return false;
    }
    if (!path.IsEmpty() && path[path.GetLength() - 1] != '/')
        path += '/';
    path += name;
    if (path.GetLength() >= SKIN_PATH_LEN) {
        vx_log(2, "CSkin: image path of %s is too long (%d bytes): %s", what, path.GetLength(), name.GetString());
        return false;
    }
    std::memcpy(out, path.GetString(), static_cast<size_t>(path.GetLength()) + 1);
    return true;
}

int CSkin::LoadTitle()
{
    std::memset(&m_title, 0, sizeof(m_title));
    if (!EnterSkin() || !m_xml.FindElem("title"))
        return 0;
    CopyText(m_title.text, sizeof(m_title.text), m_xml.GetData(), "title");
    return 1;
}

int CSkin::LoadBackground()
{
    std::memset(&m_background, 0, sizeof(m_background));
    if (!EnterSkin() || !m_xml.FindElem("background"))
        return 0;
    m_background.transparent = ParseFlag(m_xml.GetAttrib("transparent"));
    m_background.transparent_color = ParseColour(m_xml.GetAttrib("transparent_color"));
    if (!m_xml.IntoElem() || !m_xml.FindElem("image"))
        return 0;
    if (!ImagePath(m_background.image, m_xml.GetData(), "background"))
        return 0;
    if (!m_picBackground.SetImage(CString(m_background.image))) {
        vx_log(2, "CSkin: cannot load background image %s", m_background.image);
        return 0;
    }
    m_picBackground.SetTransparent(m_background.transparent, m_background.transparent_color);
    // A child whose numbers are out of range fails the background.
    if (LoadSize(&m_background.min_size, "min_size") < 0)
        return 0;
    ST_SKIN_RECT* const rects[] = {&m_background.rect,         &m_background.top_left,    &m_background.top_right,
                                   &m_background.bottom_left,  &m_background.bottom_right, &m_background.fill_center,
                                   &m_background.right_hide,   &m_background.right_top_hide};
    const char* const names[] = {"rect",         "top_left",    "top_right",  "bottom_left",
                                 "bottom_right", "fill_center", "right_hide", "right_top_hide"};
    for (size_t i = 0; i < std::size(rects); ++i) {
        if (LoadRect(rects[i], names[i]) < 0)
            return 0;
    }
    return 1;
}

namespace {

bool ReadNumberAttrib(const CXmlDoc& xml, const char* element, const char* attrib, int& value)
{
    const CString text = xml.GetAttrib(attrib);
    if (ParseBoundedNumber(text, value))
        return true;
    vx_log(2, "CSkin: %s %s=\"%s\" is out of range", element, attrib, text.GetString());
    return false;
}

bool ReadRectAttribs(const CXmlDoc& xml, const char* element, ST_SKIN_RECT* rect)
{
    ST_SKIN_RECT r{};
    if (!ReadNumberAttrib(xml, element, "left", r.left) || !ReadNumberAttrib(xml, element, "top", r.top)
        || !ReadNumberAttrib(xml, element, "right", r.right) || !ReadNumberAttrib(xml, element, "bottom", r.bottom))
        return false;
    r.width = r.right - r.left;
    r.height = r.bottom - r.top;
    *rect = r;
    return true;
}

}  // namespace

int CSkin::LoadRect(ST_SKIN_RECT* pRect, const char* name)
{
    std::memset(pRect, 0, sizeof(*pRect));
    if (!m_xml.FindElem(name))
        return 0;
    return ReadRectAttribs(m_xml, name, pRect) ? 1 : -1;
}

int CSkin::LoadSize(ST_SKIN_SIZE* pSize, const char* name)
{
    std::memset(pSize, 0, sizeof(*pSize));
    if (!m_xml.FindElem(name))
        return 0;
    ST_SKIN_SIZE size{};
    if (!ReadNumberAttrib(m_xml, name, "w", size.w) || !ReadNumberAttrib(m_xml, name, "h", size.h))
        return -1;
    *pSize = size;
    return 1;
}

namespace {

// An entry whose numbers are out of range is not loaded; the list goes on.
int SkipEntry(const char* element, const CString& name)
{
    vx_log(2, "CSkin: %s %s not loaded: a number of its rectangle is out of range", element, name.GetString());
    return 1;
}

template <class RECORD>
int StoreRecord(CMap<CString, LPCSTR, RECORD*, RECORD*>& map, const CString& name, const RECORD& scratch)
{
    auto* record = static_cast<RECORD*>(std::calloc(1, sizeof(RECORD)));
    if (!record) {
        vx_log(2, "CSkin: out of memory for %s", name.GetString());
        return 0;
    }
    std::memcpy(record, &scratch, sizeof(RECORD));
    map[name] = record;
    return 1;
}

// Finds the next entry of the list whose name the map does not hold yet;
// entries with a name already taken are skipped (the first one counts).
template <class RECORD>
bool FindNewEntry(CXmlDoc& xml, const char* element, const CMap<CString, LPCSTR, RECORD*, RECORD*>& map, CString& name)
{
    while (xml.FindElem(element)) {
        name = xml.GetAttrib("name");
        RECORD* existing = nullptr;
        if (!map.Lookup(name, existing))
            return true;
        vx_log(4, "CSkin: second %s named %s skipped", element, name.GetString());
    }
    return false;
}

}  // namespace

int CSkin::LoadButtons()
{
    ClearButtons();
    if (!EnterSkin())
        return 0;
    if (!m_xml.FindElem("buttons"))
        return 1;
    m_xml.IntoElem();
    ST_SKIN_BUTTON scratch;
    while (LoadNextButton(&scratch)) {}
    return 1;
}

int CSkin::LoadNextButton(ST_SKIN_BUTTON* pButton)
{
    CString name;
    if (!FindNewEntry(m_xml, "button", m_mapButtons, name))
        return 0;
    std::memset(pButton, 0, sizeof(*pButton));
    CopyText(pButton->tooltips, sizeof(pButton->tooltips), m_xml.GetAttrib("tooltips"), "button tooltip");
    CopyText(pButton->tooltips_off, sizeof(pButton->tooltips_off), m_xml.GetAttrib("tooltips_off"), "button tooltip");
    pButton->transparent = ParseFlag(m_xml.GetAttrib("transparent"));
    pButton->hand_cursor = ParseFlag(m_xml.GetAttrib("hand_cursor"));
    pButton->fit_image_size = ParseFlag(m_xml.GetAttrib("fit_image_size"));
    pButton->fit_transparent_region = ParseFlag(m_xml.GetAttrib("fit_transparent_region"));
    pButton->transparent_color = ParseColour(m_xml.GetAttrib("transparent_color"));
    m_xml.IntoElem();
    // A button without its normal image ends the list, as the format says.
    if (!m_xml.FindElem("image")) {
        m_xml.OutOfElem();
        return 0;
    }
    ImagePath(pButton->image, m_xml.GetData(), name);
    struct Optional {
        const char* element;
        char* field;
    } const optional[] = {{"image_hot", pButton->image_hot},
                          {"image_on", pButton->image_on},
                          {"image_off", pButton->image_off},
                          {"image_disabled", pButton->image_disabled}};
    for (const Optional& o : optional) {
        if (m_xml.FindElem(o.element))
            ImagePath(o.field, m_xml.GetData(), name);
    }
    const int rect = LoadRect(&pButton->rect, "rect");
    m_xml.OutOfElem();
    if (rect < 0)
        return SkipEntry("button", name);
    return StoreRecord(m_mapButtons, name, *pButton);
}

int CSkin::LoadLabels()
{
    ClearLabels();
    if (!EnterSkin())
        return 0;
    if (!m_xml.FindElem("labels"))
        return 1;
    m_xml.IntoElem();
    ST_SKIN_LABEL scratch;
    while (LoadNextLabel(&scratch)) {}
    return 1;
}

int CSkin::LoadNextLabel(ST_SKIN_LABEL* pLabel)
{
    CString name;
    if (!FindNewEntry(m_xml, "label", m_mapLabels, name))
        return 0;
    std::memset(pLabel, 0, sizeof(*pLabel));
    CopyText(pLabel->text, sizeof(pLabel->text), m_xml.GetAttrib("title"), "label text");
    CopyText(pLabel->font_name, sizeof(pLabel->font_name), m_xml.GetAttrib("font_name"), "label font name");
    CopyText(pLabel->tooltips, sizeof(pLabel->tooltips), m_xml.GetAttrib("tooltips"), "label tooltip");
    pLabel->hand_cursor = ParseFlag(m_xml.GetAttrib("hand_cursor"));
    pLabel->underline = ParseFlag(m_xml.GetAttrib("underline"));
    pLabel->italic = ParseFlag(m_xml.GetAttrib("italic"));
    pLabel->bold = ParseFlag(m_xml.GetAttrib("bold"));
    pLabel->font_size = ParseNumber(m_xml.GetAttrib("font_size"));
    pLabel->max_show = ParseNumber(m_xml.GetAttrib("max_show"));
    pLabel->color = ParseColour(m_xml.GetAttrib("color"));
    const CString align = m_xml.GetAttrib("align");
    pLabel->align = align.CompareNoCase("center") == 0 ? 1 : align.CompareNoCase("right") == 0 ? 2 : 0;
    m_xml.IntoElem();
    if (m_xml.FindElem("image")) {
        pLabel->transparent = ParseFlag(m_xml.GetAttrib("transparent"));
        pLabel->transparent_color = ParseColour(m_xml.GetAttrib("transparent_color"));
        ImagePath(pLabel->image, m_xml.GetData(), name);
    }
    const int rect = LoadRect(&pLabel->rect, "rect");
    m_xml.OutOfElem();
    if (rect < 0)
        return SkipEntry("label", name);
    return StoreRecord(m_mapLabels, name, *pLabel);
}

int CSkin::LoadEdits()
{
    ClearEdits();
    if (!EnterSkin())
        return 0;
    if (!m_xml.FindElem("edits"))
        return 1;
    m_xml.IntoElem();
    ST_SKIN_EDIT scratch;
    while (LoadNextEdit(&scratch)) {}
    return 1;
}

int CSkin::LoadNextEdit(ST_SKIN_EDIT* pEdit)
{
    CString name;
    if (!FindNewEntry(m_xml, "edit", m_mapEdits, name))
        return 0;
    std::memset(pEdit, 0, sizeof(*pEdit));
    CopyText(pEdit->font_name, sizeof(pEdit->font_name), m_xml.GetAttrib("font_name"), "edit font name");
    pEdit->font_size = ParseNumber(m_xml.GetAttrib("font_size"));
    pEdit->color = ParseColour(m_xml.GetAttrib("color"));
    pEdit->bg_color = ParseColour(m_xml.GetAttrib("bg_color"));
    pEdit->border_color = ParseColour(m_xml.GetAttrib("border_color"));
    m_xml.IntoElem();
    const int rect = LoadRect(&pEdit->rect, "rect");
    m_xml.OutOfElem();
    if (rect < 0)
        return SkipEntry("edit", name);
    return StoreRecord(m_mapEdits, name, *pEdit);
}

int CSkin::LoadRects()
{
    ClearRects();
    if (!EnterSkin())
        return 0;
    if (!m_xml.FindElem("rects"))
        return 1;
    m_xml.IntoElem();
    ST_SKIN_RECT scratch;
    while (LoadNextRect(&scratch)) {}
    return 1;
}

int CSkin::LoadNextRect(ST_SKIN_RECT* pRect)
{
    CString name;
    if (!FindNewEntry(m_xml, "rect", m_mapRects, name))
        return 0;
    if (!ReadRectAttribs(m_xml, "rect", pRect))
        return SkipEntry("rect", name);
    return StoreRecord(m_mapRects, name, *pRect);
}

// Reading the skin file. Every list entry, background child and rectangle is
// searched forward from the last one found, as the file format promises.
#include "ui/controls/CSkin.h"

#include "ui/controls/CSkin_p.h"
#include "utility/vx_log.h"

#include <cstdlib>
#include <cstring>

using vxskin::CopyText;
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
    TakeFrom(fresh);
    return 1;
}

bool CSkin::EnterSkin()
{
    m_xml.ResetPos();
    return m_xml.FindElem("skin") && m_xml.IntoElem();
}

// The folder joined with the file name. A path that does not fit is refused
// (empty result): cut, it would name another file.
bool CSkin::ImagePath(char* out, const CString& name, const char* what)
{
    out[0] = '\0';
    CString path = m_szSkinPath;
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
    LoadSize(&m_background.min_size, "min_size");
    LoadRect(&m_background.rect, "rect");
    LoadRect(&m_background.top_left, "top_left");
    LoadRect(&m_background.top_right, "top_right");
    LoadRect(&m_background.bottom_left, "bottom_left");
    LoadRect(&m_background.bottom_right, "bottom_right");
    LoadRect(&m_background.fill_center, "fill_center");
    LoadRect(&m_background.right_hide, "right_hide");
    LoadRect(&m_background.right_top_hide, "right_top_hide");
    return 1;
}

namespace {

void ReadRectAttribs(const CXmlDoc& xml, ST_SKIN_RECT* rect)
{
    rect->left = ParseNumber(xml.GetAttrib("left"));
    rect->top = ParseNumber(xml.GetAttrib("top"));
    rect->right = ParseNumber(xml.GetAttrib("right"));
    rect->bottom = ParseNumber(xml.GetAttrib("bottom"));
    rect->width = rect->right - rect->left;
    rect->height = rect->bottom - rect->top;
}

}  // namespace

int CSkin::LoadRect(ST_SKIN_RECT* pRect, const char* name)
{
    std::memset(pRect, 0, sizeof(*pRect));
    if (!m_xml.FindElem(name))
        return 0;
    ReadRectAttribs(m_xml, pRect);
    return 1;
}

int CSkin::LoadSize(ST_SKIN_SIZE* pSize, const char* name)
{
    std::memset(pSize, 0, sizeof(*pSize));
    if (!m_xml.FindElem(name))
        return 0;
    pSize->w = ParseNumber(m_xml.GetAttrib("w"));
    pSize->h = ParseNumber(m_xml.GetAttrib("h"));
    return 1;
}

namespace {

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
    LoadRect(&pButton->rect, "rect");
    m_xml.OutOfElem();
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
    LoadRect(&pLabel->rect, "rect");
    m_xml.OutOfElem();
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
    LoadRect(&pEdit->rect, "rect");
    m_xml.OutOfElem();
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
    ReadRectAttribs(m_xml, pRect);
    return StoreRecord(m_mapRects, name, *pRect);
}

#pragma once
// Small makers of dialog template items for the settings pages' resource
// files: every item is a visible child; layout in dialog units.

#include "platform/ui/ResourceModule.h"
#include "platform/ui/commctrl.h"

#include <string>
#include <vector>

namespace vxcam_res::items {

using Items = std::vector<vxw::DialogItemTemplate>;
constexpr DWORD kTab = WS_TABSTOP;

inline vxw::DialogItemTemplate Item(const char* cls, int id, const char* text, DWORD style, short x, short y, short cx,
                                    short cy, std::vector<std::string> entries = {})
{
    return vxw::DialogItemTemplate{cls, id, text, style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, std::move(entries)};
}

inline vxw::DialogItemTemplate Label(const char* text, short x, short y, short cx, int id = -1)
{
    return Item("STATIC", id, text, SS_LEFT, x, y, cx, 8);
}

inline vxw::DialogItemTemplate Combo(int id, short x, short y, short cx, std::vector<std::string> entries = {},
                                     DWORD kind = CBS_DROPDOWNLIST)
{
    return Item("COMBOBOX", id, "", kind | WS_VSCROLL | kTab, x, y, cx, 120, std::move(entries));
}

inline vxw::DialogItemTemplate Check(int id, const char* text, short x, short y, short cx)
{
    return Item("BUTTON", id, text, BS_AUTOCHECKBOX | kTab, x, y, cx, 10);
}

// The first button of a group starts it and takes the tab stop.
inline vxw::DialogItemTemplate Radio(int id, const char* text, short x, short y, short cx, bool first = false)
{
    return Item("BUTTON", id, text, BS_AUTORADIOBUTTON | (first ? WS_GROUP | kTab : 0), x, y, cx, 10);
}

inline vxw::DialogItemTemplate Edit(int id, short x, short y, short cx, DWORD style = 0)
{
    return Item("EDIT", id, "", style | ES_AUTOHSCROLL | WS_BORDER | kTab, x, y, cx, 12);
}

inline vxw::DialogItemTemplate Number(int id, short x, short y, short cx)
{
    return Edit(id, x, y, cx, ES_NUMBER);
}

inline vxw::DialogItemTemplate Address(int id, short x, short y)
{
    return Item(WC_IPADDRESS, id, "", kTab, x, y, 100, 12);
}

inline vxw::DialogItemTemplate Slider(int id, short x, short y)
{
    return Item(TRACKBAR_CLASS, id, "", TBS_NOTICKS | kTab, x, y, 150, 14);
}

inline vxw::DialogItemTemplate Button(int id, const char* text, short x, short y, short cx = 60)
{
    return Item("BUTTON", id, text, BS_PUSHBUTTON | kTab, x, y, cx, 14);
}

inline vxw::DialogItemTemplate Group(const char* text, short x, short y, short cx, short cy)
{
    return Item("BUTTON", -1, text, BS_GROUPBOX, x, y, cx, cy);
}

// Pages are children of their category's container, created hidden: the
// first showing is what loads them.
inline vxw::DialogTemplate Page(Items items)
{
    vxw::DialogTemplate t;
    t.style = WS_CHILD | DS_CONTROL;
    t.cx = 400;
    t.cy = 240;
    t.items = std::move(items);
    return t;
}

}  // namespace vxcam_res::items

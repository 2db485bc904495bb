#include "resources/VXKSTRes/VxkstResources_p.h"
#include "resources/VXKSTRes/resource.h"

#include "platform/ui/menu.h"

namespace vxkst_res {

namespace {

// A menu bar of one sub-menu, as the recorder tracks the first sub-menu.
vxw::MenuTemplate OnePopup(std::vector<vxw::MenuItemTemplate> items)
{
    vxw::MenuTemplate t;
    vxw::MenuItemTemplate popup;
    popup.text = "Popup";
    popup.flags = MF_POPUP;
    popup.popup = std::move(items);
    t.items.push_back(std::move(popup));
    return t;
}

vxw::MenuItemTemplate Item(const char* text, UINT id)
{
    vxw::MenuItemTemplate i;
    i.text = text;
    i.id = id;
    i.flags = MF_STRING;
    return i;
}

vxw::MenuItemTemplate Separator()
{
    vxw::MenuItemTemplate i;
    i.flags = MF_SEPARATOR;
    return i;
}

}  // namespace

void FillMenus(vxw::ResourceModule& m)
{
    m.AddMenu(
        IDR_MENU_LIST,
        OnePopup({Item("&Edit camera", ID_MENU_EDIT_CAMERA), Item("&Delete camera", ID_MENU_DELETE_CAMERA), Separator(),
                  Item("&Start recording", ID_MENU_START_CAMERA), Item("S&top recording", ID_MENU_STOP_CAMERA)}));
    m.AddMenu(IDR_MENU_TRAY,
              OnePopup({Item("&Restore", ID_MENU_RESTORE), Item("&About", ID_MENU_ABOUT), Separator(),
                        Item("&Start all cameras", ID_MENU_START_ALL), Item("S&top all cameras", ID_MENU_STOP_ALL),
                        Separator(), Item("E&xit", ID_MENU_EXIT)}));
    m.AddMenu(IDR_MENU_RECORD,
              OnePopup({Item("&Open", ID_MENU_RECORD_OPEN), Item("Open &folder", ID_MENU_RECORD_FOLDER), Separator(),
                        Item("Cu&t", ID_MENU_RECORD_CUT), Item("&Copy", ID_MENU_RECORD_COPY), Separator(),
                        Item("&Delete", ID_MENU_RECORD_DELETE)}));
}

}  // namespace vxkst_res

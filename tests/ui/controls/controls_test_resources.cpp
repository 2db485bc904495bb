// The resources of the control tests: generated pictures, a menu, toolbars,
// pages and the sample dialog.
#include "controls_test_resources.h"

void vx_controls_pictures(vxw::ResourceModule& module);

namespace {

std::vector<unsigned char> Words(std::initializer_list<int> words)
{
    std::vector<unsigned char> out;
    for (int w : words) {
        out.push_back(static_cast<unsigned char>(w & 0xFF));
        out.push_back(static_cast<unsigned char>((w >> 8) & 0xFF));
    }
    return out;
}

vxw::DialogItemTemplate Item(const char* cls, int id, const char* text, DWORD style, short x, short y, short cx,
                             short cy)
{
    return vxw::DialogItemTemplate{cls, id, text, style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy};
}

void Fill(vxw::ResourceModule& m)
{
    vx_controls_pictures(m);
    m.AddData("PNG", IDP_GARBAGE, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'});

    vxw::MenuTemplate menu;
    vxw::MenuItemTemplate popup{"&Actions", 0, MF_POPUP, {}};
    popup.popup.push_back({"&Record\tCtrl+R", ID_RECORD, 0, {}});
    popup.popup.push_back({"&Open", ID_OPEN, 0, {}});
    popup.popup.push_back({"", 0, MF_SEPARATOR, {}});
    popup.popup.push_back({"R&&D", ID_RND, MF_GRAYED, {}});
    vxw::MenuItemTemplate more{"&More", 0, MF_POPUP, {}};
    more.popup.push_back({"&Snapshot", ID_SNAPSHOT, MF_CHECKED, {}});
    popup.popup.push_back(more);
    menu.items.push_back(popup);
    menu.items.push_back({"&Help", ID_HELP, 0, {}});
    m.AddMenu(IDM_DROP, menu);

    m.AddData(RT_TOOLBAR, IDT_TOOLBAR, Words({1, 16, 16, 4, ID_RECORD, 0, ID_SNAPSHOT, 9999}));
    m.AddData(RT_TOOLBAR, IDT_CUT, Words({1, 16, 16, 10, ID_RECORD, ID_OPEN}));
    m.AddString(IDS_TIP, "Record now");

    vxw::DialogTemplate page;
    page.style = WS_CHILD;
    page.cx = 150;
    page.cy = 60;
    page.items.push_back(Item("STATIC", -1, "Video settings", SS_LEFT, 6, 6, 100, 8));
    m.AddDialog(IDD_PAGE_VIDEO, page);
    page.items[0].text = "Audio settings";
    m.AddDialog(IDD_PAGE_AUDIO, page);

    vxw::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t.cx = 330;
    t.cy = 230;
    t.caption = "Controls";
    auto& i = t.items;
    i.push_back(Item(WC_TABCONTROL, IDC_TABS, "", WS_TABSTOP, 6, 6, 160, 80));
    i.push_back(Item(WC_LISTVIEW, IDC_SIGNALS, "", LVS_REPORT | WS_BORDER, 172, 6, 152, 80));
    i.push_back(Item(WC_LISTVIEW, IDC_RECORDS, "", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER, 6, 92, 160, 60));
    i.push_back(Item("BUTTON", IDC_GREY, "Files", BS_PUSHBUTTON | WS_TABSTOP, 172, 92, 40, 34));
    i.push_back(Item("BUTTON", IDC_CHECK, "Loop", BS_AUTOCHECKBOX | WS_TABSTOP, 216, 92, 50, 16));
    i.push_back(Item("BUTTON", IDC_DROP, "Menu", BS_PUSHBUTTON | WS_TABSTOP, 270, 92, 54, 16));
    i.push_back(Item("BUTTON", IDC_DEFAULT, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 216, 112, 50, 14));
    i.push_back(Item("STATIC", IDC_PICTURE, "", SS_LEFT, 172, 130, 40, 20));
    i.push_back(Item("STATIC", IDC_MENU_VIEW, "", SS_OWNERDRAW, 6, 156, 318, 68));
    m.AddDialog(IDD_CONTROLS, t);
}

}  // namespace

HINSTANCE ControlResources()
{
    static HINSTANCE h = vxw::RegisterResourceModule("controls-test", &Fill);
    return h;
}

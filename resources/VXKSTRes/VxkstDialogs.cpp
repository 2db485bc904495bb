// Dialog templates of the recorder. The skinned dialogs (main window,
// schedule, about box) are moved to their skin rectangles when they open, so
// their template sizes only matter until then.
#include "resources/VXKSTRes/VxkstResources_p.h"
#include "resources/VXKSTRes/resource.h"

#include "platform/ui/commctrl.h"

namespace vxkst_res {

namespace {

using Item = vxw::DialogItemTemplate;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kOwnerDrawn = kChild | WS_TABSTOP | BS_OWNERDRAW;

Item Control(const char* cls, int id, const char* text, DWORD style, short x, short y, short cx, short cy)
{
    Item i;
    i.className = cls;
    i.id = id;
    i.text = text;
    i.style = style;
    i.x = x;
    i.y = y;
    i.cx = cx;
    i.cy = cy;
    return i;
}

Item Label(const char* text, short x, short y, short cx, int id = -1)
{
    return Control("STATIC", id, text, kChild, x, y + 2, cx, 10);
}

Item Edit(int id, short x, short y, short cx, DWORD extra = 0)
{
    Item i = Control("EDIT", id, "", kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | extra, x, y, cx, 14);
    return i;
}

Item Hidden(Item i)
{
    i.style &= ~WS_VISIBLE;
    return i;
}

Item Combo(int id, short x, short y, short cx, std::vector<std::string> entries = {})
{
    // Unsorted: the index is the stored value.
    Item i = Control("COMBOBOX", id, "", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, x, y, cx, 80);
    i.initialStrings = std::move(entries);
    return i;
}

Item Push(int id, const char* text, short x, short y, DWORD extra = 0)
{
    return Control("BUTTON", id, text, kChild | WS_TABSTOP | extra, x, y, 50, 14);
}

Item Check(int id, const char* text, short x, short y, short cx)
{
    return Control("BUTTON", id, text, kChild | WS_TABSTOP | BS_AUTOCHECKBOX, x, y, cx, 10);
}

vxw::DialogTemplate Dialog(const char* caption, short cx, short cy, DWORD style)
{
    vxw::DialogTemplate t;
    t.style = style;
    t.cx = cx;
    t.cy = cy;
    t.caption = caption;
    return t;
}

constexpr DWORD kSkinned = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CAPTION;
constexpr DWORD kPlain = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

void MainWindow(vxw::ResourceModule& m)
{
    vxw::DialogTemplate t = Dialog("VXKST-HD Recorder", 533, 347, kSkinned);
    const struct {
        int id;
        const char* text;
    } buttons[] = {
        {IDC_BTN_MIN, "Minimise"},          {IDC_BTN_MAX, "Maximise"},        {IDC_BTN_EXIT, "Exit"},
        {IDC_BTN_SYS_PARAM, "Settings"},    {IDC_BTN_ADD_CAMERA, "Add"},      {IDC_BTN_REC_SCHEDULE, "Schedule"},
        {IDC_BTN_REC_QUERY, "Search"},      {IDC_BTN_START_ALL, "Start all"}, {IDC_BTN_STOP_ALL, "Stop all"},
        {IDC_BTN_DELETE_ALL, "Delete all"},
    };
    short x = 4;
    for (const auto& b : buttons) {
        t.items.push_back(Control("BUTTON", b.id, b.text, kOwnerDrawn, x, 4, 40, 24));
        x += 44;
    }
    t.items.push_back(Control(WC_LISTVIEW, IDC_LIST_CAMERA, "",
                              kChild | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL, 4, 84,
                              525, 250));
    m.AddDialog(IDD_MAIN, t);
}

void AboutBox(vxw::ResourceModule& m)
{
    m.AddDialog(IDD_ABOUT, Dialog("About VXKST-HD", 346, 56, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME));
}

void AddCamera(vxw::ResourceModule& m)
{
    vxw::DialogTemplate t = Dialog("Camera", 230, 176, kPlain);
    t.items = {
        Label("Type", 8, 8, 60),
        Combo(5246, 72, 8, 150),
        Label("Name", 8, 26, 60),
        Edit(5047, 72, 26, 150),
        Label("Host", 8, 44, 60),
        Edit(5004, 72, 44, 150),
        // The two port fields share a line; the type shows one of them.
        Hidden(Label("Port", 8, 62, 60, 5247)),
        Hidden(Edit(1058, 72, 62, 60, ES_NUMBER)),
        Label("HTTP port", 8, 62, 60, 5248),
        Edit(1062, 72, 62, 60, ES_NUMBER),
        Label("RTSP port", 8, 80, 60),
        Edit(1061, 72, 80, 60, ES_NUMBER),
        Label("Channel", 8, 98, 60),
        Combo(1122, 72, 98, 60, {"1", "2", "3", "4"}),
        Label("Stream", 8, 116, 60),
        Combo(1123, 72, 116, 100),
        Label("User", 8, 134, 60),
        Edit(1059, 72, 134, 100),
        Label("Password", 8, 152, 60),
        Edit(1060, 72, 152, 100, ES_PASSWORD),
    };
    t.cy = 196;
    t.items.push_back(Push(IDOK, "OK", 116, 176, BS_DEFPUSHBUTTON));
    t.items.push_back(Push(IDCANCEL, "Cancel", 172, 176));
    m.AddDialog(IDD_SET_IP, t);
}

void Schedule(vxw::ResourceModule& m)
{
    vxw::DialogTemplate t = Dialog("Recording schedule", 426, 312, kSkinned);
    t.items = {
        Combo(1021, 8, 30, 120),
        Edit(1023, 140, 30, 180),
        Edit(1025, 330, 30, 30, ES_NUMBER),
        Control("STATIC", 5037, "", kChild, 8, 50, 200, 12),
    };
    const int owner[] = {3, 4, 5, 9, 6, 7, 12, IDOK, IDCANCEL, IDC_BTN_EXIT};
    short x = 8;
    for (int id : owner) {
        t.items.push_back(Control("BUTTON", id, "", kOwnerDrawn, x, 290, 36, 16));
        x += 40;
    }
    m.AddDialog(IDD_SCHEDULE, t);
}

void RecordQuery(vxw::ResourceModule& m)
{
    vxw::DialogTemplate t = Dialog("Search recordings", 440, 260, kPlain);
    t.items = {
        Label("Camera", 8, 8, 40),
        Combo(1021, 50, 8, 110),
        Label("From", 170, 8, 24),
        Control(DATETIMEPICK_CLASS, 1416, "", kChild | WS_TABSTOP | DTS_SHORTDATEFORMAT, 196, 8, 70, 14),
        Control(DATETIMEPICK_CLASS, 1417, "", kChild | WS_TABSTOP | DTS_TIMEFORMAT, 270, 8, 56, 14),
        Label("To", 170, 26, 24),
        Control(DATETIMEPICK_CLASS, 1419, "", kChild | WS_TABSTOP | DTS_SHORTDATEFORMAT, 196, 26, 70, 14),
        Control(DATETIMEPICK_CLASS, 1418, "", kChild | WS_TABSTOP | DTS_TIMEFORMAT, 270, 26, 56, 14),
        Push(242, "Search", 340, 8, BS_DEFPUSHBUTTON),
        Control(WC_LISTVIEW, 1412, "", kChild | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS, 8, 46, 424,
                190),
        Push(IDCANCEL, "Close", 382, 240),
    };
    m.AddDialog(IDD_RECORD_QUERY, t);
}

void SysParam(vxw::ResourceModule& m)
{
    vxw::DialogTemplate t = Dialog("System settings", 220, 150, kPlain);
    t.items = {
        Label("Record type", 8, 8, 80),
        Combo(5248, 100, 8, 110, {"Continuous", "Schedule"}),
        Label("Free space (MB)", 8, 26, 80),
        Edit(429, 100, 26, 60, ES_NUMBER),
        Label("Record length (min)", 8, 44, 90),
        Edit(428, 100, 44, 60, ES_NUMBER),
        Check(5180, "Start recording at start-up", 8, 64, 200),
        Check(5183, "Start minimised", 8, 78, 200),
        Check(5181, "Hide in the tray when minimised", 8, 92, 200),
        Check(5182, "Run at logon", 8, 106, 200),
        Push(IDOK, "OK", 106, 128, BS_DEFPUSHBUTTON),
        Push(IDCANCEL, "Cancel", 162, 128),
    };
    m.AddDialog(IDD_SYS_PARAM, t);
}

}  // namespace

void FillDialogs(vxw::ResourceModule& m)
{
    MainWindow(m);
    AboutBox(m);
    AddCamera(m);
    Schedule(m);
    RecordQuery(m);
    SysParam(m);
}

}  // namespace vxkst_res

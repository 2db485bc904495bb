#include "sample_dialog.h"

namespace {

vxw::DialogItemTemplate Item(const char* cls, int id, const char* text, DWORD style, short x, short y, short cx,
                             short cy)
{
    return vxw::DialogItemTemplate{cls, id, text, style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy};
}

void Fill(vxw::ResourceModule& m)
{
    m.AddString(IDS_TITLE, "Sample settings");
    vxw::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t.cx = 330;
    t.cy = 250;
    t.caption = "Sample settings";
    constexpr DWORD tab = WS_TABSTOP;
    auto& i = t.items;
    i.push_back(Item("STATIC", IDC_LABEL, "&Name:", SS_LEFT, 7, 9, 40, 8));
    i.push_back(Item("EDIT", IDC_NAME, "", ES_AUTOHSCROLL | WS_BORDER | tab, 50, 7, 90, 12));
    i.push_back(Item("STATIC", -1, "Password:", SS_LEFT, 7, 25, 40, 8));
    i.push_back(Item("EDIT", IDC_PASSWORD, "", ES_PASSWORD | WS_BORDER | tab, 50, 23, 90, 12));
    i.push_back(Item("STATIC", -1, "Port:", SS_LEFT, 7, 41, 40, 8));
    i.push_back(Item("EDIT", IDC_PORT, "", ES_NUMBER | WS_BORDER | tab, 50, 39, 40, 12));
    i.push_back(Item("EDIT", IDC_COUNT, "", WS_BORDER | tab, 95, 39, 45, 12));
    i.push_back(
        Item("EDIT", IDC_NOTES, "", ES_MULTILINE | ES_WANTRETURN | WS_BORDER | WS_VSCROLL | tab, 7, 56, 133, 30));
    i.push_back(Item("EDIT", IDC_MEMO, "", ES_MULTILINE | WS_BORDER | tab, 7, 90, 133, 20));
    i.push_back(Item("BUTTON", IDC_GROUP, "Mode", BS_GROUPBOX, 150, 4, 85, 56));
    i.push_back(Item("BUTTON", IDC_ENABLE, "&Enable", BS_AUTOCHECKBOX | tab, 157, 15, 70, 10));
    i.push_back(Item("BUTTON", IDC_MODE_A, "Station", BS_AUTORADIOBUTTON | WS_GROUP | tab, 157, 29, 70, 10));
    i.push_back(Item("BUTTON", IDC_MODE_B, "Access point", BS_AUTORADIOBUTTON, 157, 43, 70, 10));
    i.push_back(Item("COMBOBOX", IDC_COMBO, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_GROUP | tab, 242, 7, 80, 80));
    i.push_back(Item("LISTBOX", IDC_LISTBOX, "", LBS_NOTIFY | WS_BORDER | WS_VSCROLL | tab, 242, 24, 80, 36));
    i.push_back(Item(WC_LISTVIEW, IDC_LIST, "", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | tab, 150, 64, 172, 62));
    i.push_back(Item(WC_TABCONTROL, IDC_TAB, "", tab, 7, 130, 150, 40));
    i.push_back(Item(TRACKBAR_CLASS, IDC_SLIDER, "", TBS_AUTOTICKS | tab, 165, 130, 157, 16));
    i.push_back(Item(PROGRESS_CLASS, IDC_PROGRESS, "", 0, 165, 150, 157, 10));
    i.push_back(Item(DATETIMEPICK_CLASS, IDC_DATE, "", DTS_SHORTDATEFORMAT | tab, 7, 176, 80, 13));
    i.push_back(Item(WC_IPADDRESS, IDC_IP, "", tab, 92, 176, 90, 13));
    i.push_back(Item("EDIT", IDC_SPIN_EDIT, "", ES_NUMBER | WS_BORDER | tab, 190, 176, 40, 13));
    i.push_back(Item(UPDOWN_CLASS, IDC_SPIN, "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS, 230,
                     176, 10, 13));
    i.push_back(Item("SCROLLBAR", IDC_SCROLL, "", SBS_HORZ, 250, 177, 72, 11));
    i.push_back(Item("STATIC", IDC_FRAME, "", SS_ETCHEDFRAME, 7, 196, 316, 1));
    i.push_back(Item("BUTTON", IDC_DRAWN, "Drawn", BS_OWNERDRAW | tab, 7, 205, 60, 14));
    i.push_back(Item("BUTTON", IDC_APPLY, "&Apply", BS_PUSHBUTTON | tab, 150, 229, 50, 14));
    i.push_back(Item("BUTTON", IDOK, "OK", BS_DEFPUSHBUTTON | tab, 210, 229, 50, 14));
    i.push_back(Item("BUTTON", IDCANCEL, "Cancel", BS_PUSHBUTTON | tab, 270, 229, 50, 14));
    m.AddDialog(IDD_SAMPLE, t);
}

}  // namespace

HINSTANCE SampleResources()
{
    static HINSTANCE h = vxw::RegisterResourceModule("ui-test-sample", &Fill);
    return h;
}

BEGIN_MESSAGE_MAP(CSampleDlg, CDialog)
ON_BN_CLICKED(IDC_APPLY, OnApply)
ON_EN_CHANGE(IDC_NAME, OnNameChange)
ON_CBN_SELCHANGE(IDC_COMBO, OnComboSelChange)
ON_NOTIFY(NM_CLICK, IDC_LIST, OnListClick)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_LIST, OnListChanged)
ON_NOTIFY(TCN_SELCHANGE, IDC_TAB, OnTabChange)
ON_NOTIFY(DTN_DATETIMECHANGE, IDC_DATE, OnDateChange)
ON_WM_HSCROLL()
END_MESSAGE_MAP()

void CSampleDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COMBO, m_combo);
    DDX_Control(pDX, IDC_LISTBOX, m_listBox);
    DDX_Control(pDX, IDC_LIST, m_list);
    DDX_Control(pDX, IDC_TAB, m_tab);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_IP, m_ip);
    DDX_Control(pDX, IDC_SPIN, m_spin);
    DDX_Control(pDX, IDC_DRAWN, m_drawn);
    DDX_Text(pDX, IDC_NAME, m_name);
    DDV_MaxChars(pDX, m_name, 16);
    DDX_Text(pDX, IDC_PASSWORD, m_password);
    DDX_Text(pDX, IDC_PORT, m_port);
    DDV_MinMaxInt(pDX, m_port, 1, 65535);
    DDX_Text(pDX, IDC_COUNT, m_count);
    DDV_MinMaxUInt(pDX, m_count, 1, 10);
    DDX_Text(pDX, IDC_NOTES, m_notes);
    DDX_Check(pDX, IDC_ENABLE, m_enable);
    DDX_Radio(pDX, IDC_MODE_A, m_mode);
    DDX_CBIndex(pDX, IDC_COMBO, m_comboIndex);
    DDX_Slider(pDX, IDC_SLIDER, m_slider);
    DDX_DateTimeCtrl(pDX, IDC_DATE, m_date);
}

BOOL CSampleDlg::OnInitDialog()
{
    ++initCalls;
    // The lists are filled before the base exchanges the values in.
    CComboBox* combo = static_cast<CComboBox*>(GetDlgItem(IDC_COMBO));
    for (const char* s : {"Low", "Medium", "High"})
        combo->AddString(s);
    CDialog::OnInitDialog();
    for (const char* s : {"Monday", "Tuesday", "Wednesday"})
        m_listBox.AddString(s);
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    m_list.InsertColumn(0, "SSID", LVCFMT_LEFT, 90);
    m_list.InsertColumn(1, "Signal", LVCFMT_RIGHT, 60);
    m_list.InsertColumn(2, "Security", LVCFMT_LEFT, 80);
    const char* rows[][3] = {{"home", "80", "WPA2-PSK"}, {"office", "55", "WPA-PSK"}, {"cafe", "20", "NONE"}};
    for (int r = 0; r < 3; ++r) {
        m_list.InsertItem(r, rows[r][0]);
        m_list.SetItemText(r, 1, rows[r][1]);
        m_list.SetItemText(r, 2, rows[r][2]);
        m_list.SetItemData(r, static_cast<DWORD_PTR>(100 + r));
    }
    m_tab.InsertItem(0, "Video");
    m_tab.InsertItem(1, "Audio");
    m_tab.InsertItem(2, "Network");
    m_progress.SetRange(0, 100);
    m_progress.SetPos(65);
    m_ip.SetAddress(192, 168, 1, 20);
    m_spin.SetRange(0, 50);
    m_spin.SetPos(7);
    CScrollBar* sb = static_cast<CScrollBar*>(GetDlgItem(IDC_SCROLL));
    sb->SetScrollRange(0, 10);
    sb->SetScrollPos(4);
    return TRUE;
}

#pragma once
// The sample dialog of the windowing tests: one of every control kind, built
// from a template of the tests' own resource module.

#include "platform/platform.h"

#include <vector>

enum : UINT {
    IDD_SAMPLE = 900,
    IDS_TITLE = 901,
    IDC_NAME = 1001,
    IDC_PASSWORD = 1002,
    IDC_PORT = 1003,
    IDC_COUNT = 1004,
    IDC_NOTES = 1005,
    IDC_MEMO = 1006,
    IDC_ENABLE = 1010,
    IDC_MODE_A = 1011,
    IDC_MODE_B = 1012,
    IDC_GROUP = 1013,
    IDC_APPLY = 1014,
    IDC_DRAWN = 1015,
    IDC_COMBO = 1020,
    IDC_LISTBOX = 1021,
    IDC_LIST = 1022,
    IDC_TAB = 1023,
    IDC_SLIDER = 1024,
    IDC_PROGRESS = 1025,
    IDC_DATE = 1026,
    IDC_IP = 1027,
    IDC_SPIN_EDIT = 1028,
    IDC_SPIN = 1029,
    IDC_SCROLL = 1030,
    IDC_FRAME = 1031,
    IDC_LABEL = 1032,
};

// Registers the module once; returns its handle.
HINSTANCE SampleResources();

class CDrawnButton : public CButton {
public:
    int drawn = 0;
    void DrawItem(LPDRAWITEMSTRUCT dis) override
    {
        ++drawn;
        CDC* dc = CDC::FromHandle(dis->hDC);
        CRect rc(dis->rcItem);
        dc->FillSolidRect(&rc, RGB(40, 90, 160));
        dc->SetTextColor(RGB(255, 255, 255));
        dc->SetBkMode(TRANSPARENT);
        dc->DrawText("Drawn", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
};

class CSampleDlg : public CDialog {
public:
    explicit CSampleDlg(CWnd* parent = nullptr) : CDialog(IDD_SAMPLE, parent) {}

    // Exchanged values.
    CString m_name = "camera-1";
    CString m_password = "secret";
    int m_port = 80;
    UINT m_count = 3;
    CString m_notes = "line one\r\nline two";
    int m_enable = 1;
    int m_mode = 1;
    int m_comboIndex = 2;
    int m_slider = 40;
    COleDateTime m_date{2026, 12, 10, 9, 30, 0};

    // Controls bound by id.
    CComboBox m_combo;
    CListBox m_listBox;
    CListCtrl m_list;
    CTabCtrl m_tab;
    CProgressCtrl m_progress;
    CIPAddressCtrl m_ip;
    CSpinButtonCtrl m_spin;
    CDrawnButton m_drawn;

    // What the handlers saw.
    int applyClicks = 0;
    int nameChanges = 0;
    int comboChanges = 0;
    int tabChanges = 0;
    int dateChanges = 0;
    std::vector<int> listClicks;
    std::vector<int> listChanged;
    std::vector<UINT> sliderCodes;
    int initCalls = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnApply() { ++applyClicks; }
    void OnNameChange() { ++nameChanges; }
    void OnComboSelChange() { ++comboChanges; }
    void OnListClick(NMHDR* nm, LRESULT* result)
    {
        listClicks.push_back(reinterpret_cast<NMITEMACTIVATE*>(nm)->iItem);
        *result = 0;
    }
    void OnListChanged(NMHDR* nm, LRESULT* result)
    {
        auto* lv = reinterpret_cast<NMLISTVIEW*>(nm);
        if ((lv->uNewState & LVIS_SELECTED) && !(lv->uOldState & LVIS_SELECTED))
            listChanged.push_back(lv->iItem);
        *result = 0;
    }
    void OnTabChange(NMHDR*, LRESULT* result)
    {
        ++tabChanges;
        *result = 0;
    }
    void OnDateChange(NMHDR*, LRESULT* result)
    {
        ++dateChanges;
        *result = 0;
    }
    void OnHScroll(UINT code, UINT, CScrollBar* bar)
    {
        if (bar && bar->GetDlgCtrlID() == IDC_SLIDER)
            sliderCodes.push_back(code);
    }
    DECLARE_MESSAGE_MAP()
};

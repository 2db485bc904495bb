#pragma once
// The common controls: messages, styles, notifications and records, with the
// public Win32 values.

#include "platform/ui/winuser.h"

#define WC_LISTVIEW        "SysListView32"
#define WC_HEADER          "SysHeader32"
#define WC_TABCONTROL      "SysTabControl32"
#define TRACKBAR_CLASS     "msctls_trackbar32"
#define PROGRESS_CLASS     "msctls_progress32"
#define UPDOWN_CLASS       "msctls_updown32"
#define DATETIMEPICK_CLASS "SysDateTimePick32"
#define WC_IPADDRESS       "SysIPAddress32"
#define TOOLTIPS_CLASS     "tooltips_class32"

// ---- generic notifications (NM_FIRST = 0) ----
#define NM_FIRST           0u
#define NM_CLICK           (NM_FIRST - 2)
#define NM_DBLCLK          (NM_FIRST - 3)
#define NM_RETURN          (NM_FIRST - 4)
#define NM_RCLICK          (NM_FIRST - 5)
#define NM_RDBLCLK         (NM_FIRST - 6)
#define NM_SETFOCUS        (NM_FIRST - 7)
#define NM_KILLFOCUS       (NM_FIRST - 8)
#define NM_CUSTOMDRAW      (NM_FIRST - 12)
#define NM_RELEASEDCAPTURE (NM_FIRST - 16)

// ---- list view ----
#define LVS_ICON            0x0000
#define LVS_REPORT          0x0001
#define LVS_SMALLICON       0x0002
#define LVS_LIST            0x0003
#define LVS_TYPEMASK        0x0003
#define LVS_SINGLESEL       0x0004
#define LVS_SHOWSELALWAYS   0x0008
#define LVS_SORTASCENDING   0x0010
#define LVS_SORTDESCENDING  0x0020
#define LVS_SHAREIMAGELISTS 0x0040
#define LVS_NOLABELWRAP     0x0080
#define LVS_AUTOARRANGE     0x0100
#define LVS_EDITLABELS      0x0200
#define LVS_OWNERDATA       0x1000
#define LVS_NOSCROLL        0x2000
#define LVS_OWNERDRAWFIXED  0x0400
#define LVS_NOCOLUMNHEADER  0x4000
#define LVS_NOSORTHEADER    0x8000

#define LVS_EX_GRIDLINES        0x00000001
#define LVS_EX_SUBITEMIMAGES    0x00000002
#define LVS_EX_CHECKBOXES       0x00000004
#define LVS_EX_TRACKSELECT      0x00000008
#define LVS_EX_HEADERDRAGDROP   0x00000010
#define LVS_EX_FULLROWSELECT    0x00000020
#define LVS_EX_ONECLICKACTIVATE 0x00000040
#define LVS_EX_INFOTIP          0x00000400
#define LVS_EX_LABELTIP         0x00004000
#define LVS_EX_DOUBLEBUFFER     0x00010000

#define LVM_FIRST                    0x1000
#define LVM_GETBKCOLOR               (LVM_FIRST + 0)
#define LVM_SETBKCOLOR               (LVM_FIRST + 1)
#define LVM_GETIMAGELIST             (LVM_FIRST + 2)
#define LVM_SETIMAGELIST             (LVM_FIRST + 3)
#define LVM_GETITEMCOUNT             (LVM_FIRST + 4)
#define LVM_GETITEMA                 (LVM_FIRST + 5)
#define LVM_SETITEMA                 (LVM_FIRST + 6)
#define LVM_INSERTITEMA              (LVM_FIRST + 7)
#define LVM_DELETEITEM               (LVM_FIRST + 8)
#define LVM_DELETEALLITEMS           (LVM_FIRST + 9)
#define LVM_GETNEXTITEM              (LVM_FIRST + 12)
#define LVM_FINDITEMA                (LVM_FIRST + 13)
#define LVM_GETITEMRECT              (LVM_FIRST + 14)
#define LVM_HITTEST                  (LVM_FIRST + 18)
#define LVM_ENSUREVISIBLE            (LVM_FIRST + 19)
#define LVM_SCROLL                   (LVM_FIRST + 20)
#define LVM_REDRAWITEMS              (LVM_FIRST + 21)
#define LVM_GETCOLUMNA               (LVM_FIRST + 25)
#define LVM_SETCOLUMNA               (LVM_FIRST + 26)
#define LVM_INSERTCOLUMNA            (LVM_FIRST + 27)
#define LVM_DELETECOLUMN             (LVM_FIRST + 28)
#define LVM_GETCOLUMNWIDTH           (LVM_FIRST + 29)
#define LVM_SETCOLUMNWIDTH           (LVM_FIRST + 30)
#define LVM_GETHEADER                (LVM_FIRST + 31)
#define LVM_GETTOPINDEX              (LVM_FIRST + 39)
#define LVM_GETCOUNTPERPAGE          (LVM_FIRST + 40)
#define LVM_UPDATE                   (LVM_FIRST + 42)
#define LVM_SETITEMSTATE             (LVM_FIRST + 43)
#define LVM_GETITEMSTATE             (LVM_FIRST + 44)
#define LVM_GETITEMTEXTA             (LVM_FIRST + 45)
#define LVM_SETITEMTEXTA             (LVM_FIRST + 46)
#define LVM_SETITEMCOUNT             (LVM_FIRST + 47)
#define LVM_GETSELECTEDCOUNT         (LVM_FIRST + 50)
#define LVM_SETEXTENDEDLISTVIEWSTYLE (LVM_FIRST + 54)
#define LVM_GETEXTENDEDLISTVIEWSTYLE (LVM_FIRST + 55)
#define LVM_GETSUBITEMRECT           (LVM_FIRST + 56)
#define LVM_SUBITEMHITTEST           (LVM_FIRST + 57)
#define LVM_SETCOLUMNORDERARRAY      (LVM_FIRST + 58)
#define LVM_GETCOLUMNORDERARRAY      (LVM_FIRST + 59)
#define LVM_GETSELECTIONMARK         (LVM_FIRST + 66)
#define LVM_SETSELECTIONMARK         (LVM_FIRST + 67)
#define LVM_SETTEXTCOLOR             (LVM_FIRST + 36)
#define LVM_SETTEXTBKCOLOR           (LVM_FIRST + 38)
#define LVM_GETITEM                  LVM_GETITEMA
#define LVM_SETITEM                  LVM_SETITEMA
#define LVM_INSERTITEM               LVM_INSERTITEMA
#define LVM_GETCOLUMN                LVM_GETCOLUMNA
#define LVM_SETCOLUMN                LVM_SETCOLUMNA
#define LVM_INSERTCOLUMN             LVM_INSERTCOLUMNA
#define LVM_GETITEMTEXT              LVM_GETITEMTEXTA
#define LVM_SETITEMTEXT              LVM_SETITEMTEXTA

#define LVSIL_NORMAL 0
#define LVSIL_SMALL  1
#define LVSIL_STATE  2

#define LVIF_TEXT        0x0001
#define LVIF_IMAGE       0x0002
#define LVIF_PARAM       0x0004
#define LVIF_STATE       0x0008
#define LVIF_INDENT      0x0010
#define LVIF_NORECOMPUTE 0x0800
#define LVIF_DI_SETITEM  0x1000

#define LVIS_FOCUSED             0x0001
#define LVIS_SELECTED            0x0002
#define LVIS_CUT                 0x0004
#define LVIS_DROPHILITED         0x0008
#define LVIS_OVERLAYMASK         0x0F00
#define LVIS_STATEIMAGEMASK      0xF000
#define INDEXTOSTATEIMAGEMASK(i) ((i) << 12)

#define LVNI_ALL      0x0000
#define LVNI_FOCUSED  0x0001
#define LVNI_SELECTED 0x0002
#define LVNI_ABOVE    0x0100
#define LVNI_BELOW    0x0200

#define LVIR_BOUNDS       0
#define LVIR_ICON         1
#define LVIR_LABEL        2
#define LVIR_SELECTBOUNDS 3

#define LVHT_NOWHERE         0x0001
#define LVHT_ONITEMICON      0x0002
#define LVHT_ONITEMLABEL     0x0004
#define LVHT_ONITEMSTATEICON 0x0008
#define LVHT_ONITEM          (LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON)
#define LVHT_ABOVE           0x0008
#define LVHT_BELOW           0x0010
#define LVHT_TORIGHT         0x0020
#define LVHT_TOLEFT          0x0040

#define LVCF_FMT     0x0001
#define LVCF_WIDTH   0x0002
#define LVCF_TEXT    0x0004
#define LVCF_SUBITEM 0x0008
#define LVCF_IMAGE   0x0010
#define LVCF_ORDER   0x0020

#define LVCFMT_LEFT            0x0000
#define LVCFMT_RIGHT           0x0001
#define LVCFMT_CENTER          0x0002
#define LVCFMT_JUSTIFYMASK     0x0003
#define LVCFMT_IMAGE           0x0800
#define LVCFMT_BITMAP_ON_RIGHT 0x1000
#define LVCFMT_COL_HAS_IMAGES  0x8000

#define LVSCW_AUTOSIZE           (-1)
#define LVSCW_AUTOSIZE_USEHEADER (-2)
#define LVSICF_NOINVALIDATEALL   0x00000001
#define LVSICF_NOSCROLL          0x00000002

#define LPSTR_TEXTCALLBACK ((LPSTR)(intptr_t)-1)
#define I_IMAGECALLBACK    (-1)
#define I_IMAGENONE        (-2)

#define LVN_FIRST          (0u - 100u)
#define LVN_ITEMCHANGING   (LVN_FIRST - 0)
#define LVN_ITEMCHANGED    (LVN_FIRST - 1)
#define LVN_INSERTITEM     (LVN_FIRST - 2)
#define LVN_DELETEITEM     (LVN_FIRST - 3)
#define LVN_DELETEALLITEMS (LVN_FIRST - 4)
#define LVN_COLUMNCLICK    (LVN_FIRST - 8)
#define LVN_BEGINDRAG      (LVN_FIRST - 9)
#define LVN_BEGINRDRAG     (LVN_FIRST - 11)
#define LVN_ODCACHEHINT    (LVN_FIRST - 13)
#define LVN_ITEMACTIVATE   (LVN_FIRST - 14)
#define LVN_KEYDOWN        (LVN_FIRST - 55)
#define LVN_GETDISPINFOA   (LVN_FIRST - 50)
#define LVN_SETDISPINFOA   (LVN_FIRST - 51)
#define LVN_GETDISPINFO    LVN_GETDISPINFOA
#define LVN_SETDISPINFO    LVN_SETDISPINFOA

typedef struct tagLVITEMA {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
    int iIndent;
} LVITEM, *LPLVITEM;

typedef struct tagLVCOLUMNA {
    UINT mask;
    int fmt;
    int cx;
    LPSTR pszText;
    int cchTextMax;
    int iSubItem;
    int iImage;
    int iOrder;
} LVCOLUMN, *LPLVCOLUMN;

typedef struct tagLVHITTESTINFO {
    POINT pt;
    UINT flags;
    int iItem;
    int iSubItem;
} LVHITTESTINFO, *LPLVHITTESTINFO;

typedef struct tagNMLISTVIEW {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
    UINT uChanged;
    POINT ptAction;
    LPARAM lParam;
} NMLISTVIEW, *LPNMLISTVIEW;

typedef struct tagNMITEMACTIVATE {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
    UINT uChanged;
    POINT ptAction;
    LPARAM lParam;
    UINT uKeyFlags;
} NMITEMACTIVATE, *LPNMITEMACTIVATE;

typedef struct tagLVDISPINFO {
    NMHDR hdr;
    LVITEM item;
} NMLVDISPINFO, LV_DISPINFO, *LPNMLVDISPINFO;

typedef struct tagNMLVCACHEHINT {
    NMHDR hdr;
    int iFrom;
    int iTo;
} NMLVCACHEHINT, *LPNMLVCACHEHINT;

// ---- header ----
#define HDS_BUTTONS       0x0002
#define HDS_DRAGDROP      0x0040
#define HDM_FIRST         0x1200
#define HDM_GETITEMCOUNT  (HDM_FIRST + 0)
#define HDM_INSERTITEMA   (HDM_FIRST + 1)
#define HDM_DELETEITEM    (HDM_FIRST + 2)
#define HDM_GETITEMA      (HDM_FIRST + 3)
#define HDM_SETITEMA      (HDM_FIRST + 4)
#define HDM_GETITEMRECT   (HDM_FIRST + 7)
#define HDM_ORDERTOINDEX  (HDM_FIRST + 15)
#define HDM_GETORDERARRAY (HDM_FIRST + 17)
#define HDM_SETORDERARRAY (HDM_FIRST + 18)
#define HDM_GETITEM       HDM_GETITEMA
#define HDM_SETITEM       HDM_SETITEMA
#define HDM_INSERTITEM    HDM_INSERTITEMA

#define HDI_WIDTH  0x0001
#define HDI_HEIGHT HDI_WIDTH
#define HDI_TEXT   0x0002
#define HDI_FORMAT 0x0004
#define HDI_LPARAM 0x0008
#define HDI_IMAGE  0x0020
#define HDI_ORDER  0x0080
#define HDF_LEFT   0x0000
#define HDF_RIGHT  0x0001
#define HDF_CENTER 0x0002
#define HDF_STRING 0x4000

#define HDN_FIRST            (0u - 300u)
#define HDN_ITEMCHANGINGA    (HDN_FIRST - 0)
#define HDN_ITEMCHANGEDA     (HDN_FIRST - 1)
#define HDN_ITEMCLICKA       (HDN_FIRST - 2)
#define HDN_DIVIDERDBLCLICKA (HDN_FIRST - 5)
#define HDN_BEGINTRACKA      (HDN_FIRST - 6)
#define HDN_ENDTRACKA        (HDN_FIRST - 7)
#define HDN_TRACKA           (HDN_FIRST - 8)
#define HDN_ITEMCHANGINGW    (HDN_FIRST - 20)
#define HDN_ITEMCHANGEDW     (HDN_FIRST - 21)
#define HDN_ITEMCLICKW       (HDN_FIRST - 22)
#define HDN_BEGINTRACKW      (HDN_FIRST - 26)
#define HDN_ENDTRACKW        (HDN_FIRST - 27)
#define HDN_TRACKW           (HDN_FIRST - 28)
#define HDN_BEGINTRACK       HDN_BEGINTRACKA
#define HDN_ENDTRACK         HDN_ENDTRACKA
#define HDN_ITEMCLICK        HDN_ITEMCLICKA

typedef struct tagHDITEMA {
    UINT mask;
    int cxy;
    LPSTR pszText;
    HBITMAP hbm;
    int cchTextMax;
    int fmt;
    LPARAM lParam;
    int iImage;
    int iOrder;
} HDITEM, *LPHDITEM;

typedef struct tagNMHEADERA {
    NMHDR hdr;
    int iItem;
    int iButton;
    HDITEM* pitem;
} NMHEADER, *LPNMHEADER;

// ---- tab control ----
#define TCS_BOTTOM         0x0002
#define TCS_MULTILINE      0x0200
#define TCS_FIXEDWIDTH     0x0400
#define TCS_OWNERDRAWFIXED 0x2000
#define TCS_TOOLTIPS       0x4000
#define TCS_FOCUSNEVER     0x8000
#define TCM_FIRST          0x1300
#define TCM_GETIMAGELIST   (TCM_FIRST + 2)
#define TCM_SETIMAGELIST   (TCM_FIRST + 3)
#define TCM_GETITEMCOUNT   (TCM_FIRST + 4)
#define TCM_GETITEMA       (TCM_FIRST + 5)
#define TCM_SETITEMA       (TCM_FIRST + 6)
#define TCM_INSERTITEMA    (TCM_FIRST + 7)
#define TCM_DELETEITEM     (TCM_FIRST + 8)
#define TCM_DELETEALLITEMS (TCM_FIRST + 9)
#define TCM_GETITEMRECT    (TCM_FIRST + 10)
#define TCM_GETCURSEL      (TCM_FIRST + 11)
#define TCM_SETCURSEL      (TCM_FIRST + 12)
#define TCM_HITTEST        (TCM_FIRST + 13)
#define TCM_ADJUSTRECT     (TCM_FIRST + 40)
#define TCM_SETITEMSIZE    (TCM_FIRST + 41)
#define TCM_GETCURFOCUS    (TCM_FIRST + 47)
#define TCM_SETCURFOCUS    (TCM_FIRST + 48)
#define TCM_GETITEM        TCM_GETITEMA
#define TCM_SETITEM        TCM_SETITEMA
#define TCM_INSERTITEM     TCM_INSERTITEMA
#define TCIF_TEXT          0x0001
#define TCIF_IMAGE         0x0002
#define TCIF_PARAM         0x0008
#define TCIF_STATE         0x0010
#define TCN_FIRST          (0u - 550u)
#define TCN_KEYDOWN        (TCN_FIRST - 0)
#define TCN_SELCHANGE      (TCN_FIRST - 1)
#define TCN_SELCHANGING    (TCN_FIRST - 2)

typedef struct tagTCITEMA {
    UINT mask;
    DWORD dwState;
    DWORD dwStateMask;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
} TCITEM, *LPTCITEM;

// ---- trackbar (slider) ----
#define TBS_AUTOTICKS    0x0001
#define TBS_VERT         0x0002
#define TBS_HORZ         0x0000
#define TBS_NOTICKS      0x0010
#define TBS_BOTH         0x0008
#define TBM_GETPOS       (WM_USER)
#define TBM_GETRANGEMIN  (WM_USER + 1)
#define TBM_GETRANGEMAX  (WM_USER + 2)
#define TBM_SETTIC       (WM_USER + 4)
#define TBM_SETPOS       (WM_USER + 5)
#define TBM_SETRANGE     (WM_USER + 6)
#define TBM_SETRANGEMIN  (WM_USER + 7)
#define TBM_SETRANGEMAX  (WM_USER + 8)
#define TBM_CLEARTICS    (WM_USER + 9)
#define TBM_SETPAGESIZE  (WM_USER + 21)
#define TBM_GETPAGESIZE  (WM_USER + 22)
#define TBM_SETLINESIZE  (WM_USER + 23)
#define TBM_GETLINESIZE  (WM_USER + 24)
#define TBM_SETTICFREQ   (WM_USER + 20)
#define TBM_GETTHUMBRECT   (WM_USER + 25)  // lParam: RECT*, client coordinates
#define TBM_GETCHANNELRECT (WM_USER + 26)  // lParam: RECT*, client coordinates
#define TB_LINEUP        0
#define TB_LINEDOWN      1
#define TB_PAGEUP        2
#define TB_PAGEDOWN      3
#define TB_THUMBPOSITION 4
#define TB_THUMBTRACK    5
#define TB_TOP           6
#define TB_BOTTOM        7
#define TB_ENDTRACK      8

// ---- progress bar ----
#define PBS_SMOOTH     0x01
#define PBS_VERTICAL   0x04
#define PBM_SETRANGE   (WM_USER + 1)
#define PBM_SETPOS     (WM_USER + 2)
#define PBM_DELTAPOS   (WM_USER + 3)
#define PBM_SETSTEP    (WM_USER + 4)
#define PBM_STEPIT     (WM_USER + 5)
#define PBM_SETRANGE32 (WM_USER + 6)
#define PBM_GETRANGE   (WM_USER + 7)
#define PBM_GETPOS     (WM_USER + 8)

// ---- up-down (spin) ----
#define UDS_WRAP        0x0001
#define UDS_SETBUDDYINT 0x0002
#define UDS_ALIGNRIGHT  0x0004
#define UDS_ALIGNLEFT   0x0008
#define UDS_AUTOBUDDY   0x0010
#define UDS_ARROWKEYS   0x0020
#define UDS_HORZ        0x0040
#define UDS_NOTHOUSANDS 0x0080
#define UDM_SETRANGE    (WM_USER + 101)
#define UDM_GETRANGE    (WM_USER + 102)
#define UDM_SETPOS      (WM_USER + 103)
#define UDM_GETPOS      (WM_USER + 104)
#define UDM_SETBUDDY    (WM_USER + 105)
#define UDM_GETBUDDY    (WM_USER + 106)
#define UDM_SETRANGE32  (WM_USER + 111)
#define UDM_GETRANGE32  (WM_USER + 112)
#define UDM_SETPOS32    (WM_USER + 113)
#define UDM_GETPOS32    (WM_USER + 114)
#define UDN_FIRST       (0u - 721u)
#define UDN_DELTAPOS    (UDN_FIRST - 1)

typedef struct tagNMUPDOWN {
    NMHDR hdr;
    int iPos;
    int iDelta;
} NMUPDOWN, *LPNMUPDOWN;

// ---- date and time picker ----
#define DTS_UPDOWN          0x0001
#define DTS_SHOWNONE        0x0002
#define DTS_SHORTDATEFORMAT 0x0000
#define DTS_LONGDATEFORMAT  0x0004
#define DTS_TIMEFORMAT      0x0009
#define DTS_APPCANPARSE     0x0010
#define DTS_RIGHTALIGN      0x0020
#define DTM_FIRST           0x1000
#define DTM_GETSYSTEMTIME   (DTM_FIRST + 1)
#define DTM_SETSYSTEMTIME   (DTM_FIRST + 2)
#define DTM_GETRANGE        (DTM_FIRST + 3)
#define DTM_SETRANGE        (DTM_FIRST + 4)
#define DTM_SETFORMATA      (DTM_FIRST + 5)
#define DTM_SETFORMAT       DTM_SETFORMATA
#define GDT_ERROR           (-1)
#define GDT_VALID           0
#define GDT_NONE            1
#define GDTR_MIN            0x0001
#define GDTR_MAX            0x0002
#define DTN_FIRST           (0u - 740u)
#define DTN_DATETIMECHANGE  (DTN_FIRST + 1)
#define DTN_CLOSEUP         (DTN_FIRST + 7)
#define DTN_DROPDOWN        (DTN_FIRST + 6)

typedef struct tagNMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags;
    SYSTEMTIME st;
} NMDATETIMECHANGE, *LPNMDATETIMECHANGE;

// ---- IP address ----
#define IPM_CLEARADDRESS (WM_USER + 100)
#define IPM_SETADDRESS   (WM_USER + 101)
#define IPM_GETADDRESS   (WM_USER + 102)
#define IPM_SETRANGE     (WM_USER + 103)
#define IPM_SETFOCUS     (WM_USER + 104)
#define IPM_ISBLANK      (WM_USER + 105)
#define IPN_FIRST        (0u - 860u)
#define IPN_FIELDCHANGED (IPN_FIRST - 0)
#define MAKEIPADDRESS(b1, b2, b3, b4)                                                                                  \
    ((LPARAM)(((DWORD)(b1) << 24) + ((DWORD)(b2) << 16) + ((DWORD)(b3) << 8) + ((DWORD)(b4))))
#define FIRST_IPADDRESS(x)  ((x >> 24) & 0xff)
#define SECOND_IPADDRESS(x) ((x >> 16) & 0xff)
#define THIRD_IPADDRESS(x)  ((x >> 8) & 0xff)
#define FOURTH_IPADDRESS(x) (x & 0xff)

typedef struct tagNMIPADDRESS {
    NMHDR hdr;
    int iField;
    int iValue;
} NMIPADDRESS, *LPNMIPADDRESS;

// ---- tooltips ----
#define TTS_ALWAYSTIP      0x01
#define TTS_NOPREFIX       0x02
#define TTS_BALLOON        0x40
#define TTF_IDISHWND       0x0001
#define TTF_CENTERTIP      0x0002
#define TTF_SUBCLASS       0x0010
#define TTM_ACTIVATE       (WM_USER + 1)
#define TTM_SETDELAYTIME   (WM_USER + 3)
#define TTM_ADDTOOLA       (WM_USER + 4)
#define TTM_DELTOOLA       (WM_USER + 5)
#define TTM_RELAYEVENT     (WM_USER + 7)
#define TTM_UPDATETIPTEXTA (WM_USER + 12)
#define TTM_GETTOOLCOUNT   (WM_USER + 13)
#define TTM_SETMAXTIPWIDTH (WM_USER + 24)
#define TTM_ADDTOOL        TTM_ADDTOOLA
#define TTM_DELTOOL        TTM_DELTOOLA
#define TTM_UPDATETIPTEXT  TTM_UPDATETIPTEXTA
#define TTDT_AUTOMATIC     0
#define TTDT_RESHOW        1
#define TTDT_AUTOPOP       2
#define TTDT_INITIAL       3

typedef struct tagTOOLINFOA {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;
    UINT_PTR uId;
    RECT rect;
    HINSTANCE hinst;
    LPSTR lpszText;
    LPARAM lParam;
    void* lpReserved;
} TOOLINFO, *LPTOOLINFO;

// Common-control start-up is a no-op here; kept because callers make it.
#define ICC_WIN95_CLASSES    0x000000FF
#define ICC_DATE_CLASSES     0x00000100
#define ICC_INTERNET_CLASSES 0x00000800
#define ICC_STANDARD_CLASSES 0x00004000
typedef struct tagINITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
} INITCOMMONCONTROLSEX, *LPINITCOMMONCONTROLSEX;
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc);
void InitCommonControls();

// Custom draw: a control tells its parent as it paints (trackbars do).
#define CDDS_PREPAINT        0x00000001
#define CDDS_POSTPAINT       0x00000002
#define CDDS_ITEM            0x00010000
#define CDDS_ITEMPREPAINT    (CDDS_ITEM | CDDS_PREPAINT)
#define CDDS_ITEMPOSTPAINT   (CDDS_ITEM | CDDS_POSTPAINT)
#define CDRF_DODEFAULT       0x00000000
#define CDRF_SKIPDEFAULT     0x00000004
#define CDRF_NOTIFYPOSTPAINT 0x00000010
#define CDRF_NOTIFYITEMDRAW  0x00000020
#define TBCD_TICS            0x0001
#define TBCD_THUMB           0x0002
#define TBCD_CHANNEL         0x0003

typedef struct tagNMCUSTOMDRAWINFO {
    NMHDR hdr;
    DWORD dwDrawStage;
    HDC hdc;
    RECT rc;
    DWORD_PTR dwItemSpec;
    UINT uItemState;
    LPARAM lItemlParam;
} NMCUSTOMDRAW, *LPNMCUSTOMDRAW;

#include "platform/ui/CDataExchange.h"

#include "platform/ui/AfxMessageBox.h"
#include "platform/ui/commctrl.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <type_traits>

namespace {

// The messages of the classic data exchange, as users know them.
constexpr const char* kParseInt = "Please enter an integer.";
constexpr const char* kParseUInt = "Please enter a positive integer.";
constexpr const char* kParseReal = "Please enter a number.";

bool Skip(CDataExchange* pDX)
{
    return !pDX || pDX->m_bFailed;
}

CString ControlText(HWND h)
{
    CString s;
    if (CWnd* w = CWnd::FromHandle(h))
        w->GetWindowText(s);
    return s;
}

void FailWith(CDataExchange* pDX, const CString& text)
{
    AfxMessageBox(text.GetString(), MB_ICONEXCLAMATION);
    pDX->Fail();
}

enum class CtrlKind { Plain, Edit };

// The control an exchange works on; null when the exchange has already
// failed or the dialog has no such control.
HWND Control(CDataExchange* pDX, int nIDC, CtrlKind kind = CtrlKind::Plain)
{
    if (Skip(pDX))
        return nullptr;
    return kind == CtrlKind::Edit ? pDX->PrepareEditCtrl(nIDC) : pDX->PrepareCtrl(nIDC);
}

// A value saved from the dialog must lie in its range; the message names it.
// The format is one of ours, never a caller's text.
template <typename T>
void CheckRange(CDataExchange* pDX, T value, T minVal, T maxVal, const char* format)
{
    if (Skip(pDX) || !pDX->m_bSaveAndValidate)
        return;
    if (value < minVal || value > maxVal) {
        CString text;
        text.Format(format, minVal, maxVal);
        FailWith(pDX, text);
    }
}

// Where a control's "set" message carries the value.
enum class SetIn { WParam, LParam };

// A number the control gives by one message and takes by another.
void ExchangeByMessages(CDataExchange* pDX, int nIDC, int& value, UINT getMsg, UINT setMsg, SetIn where)
{
    HWND h = Control(pDX, nIDC);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessage(h, getMsg, 0, 0));
    else if (where == SetIn::LParam)
        ::SendMessage(h, setMsg, TRUE, value);
    else
        ::SendMessage(h, setMsg, static_cast<WPARAM>(value), 0);
}

// An integer typed into an edit, signed or not.
template <typename T>
void ExchangeInteger(CDataExchange* pDX, int nIDC, T& value, const char* badInput)
{
    HWND h = Control(pDX, nIDC, CtrlKind::Edit);
    if (!h)
        return;
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowText(h, std::to_string(value).c_str());
        return;
    }
    BOOL ok = FALSE;
    UINT v = ::GetDlgItemInt(CWnd::SafeHwnd(pDX->m_pDlgWnd), nIDC, &ok, std::is_signed_v<T> ? TRUE : FALSE);
    if (!ok) {
        FailWith(pDX, badInput);
        return;
    }
    value = static_cast<T>(v);
}

}  // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND h = ::GetDlgItem(CWnd::SafeHwnd(m_pDlgWnd), nIDC);
    m_idLastControl = h;
    m_bEditLastControl = FALSE;
    return h;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND h = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return h;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_idLastControl && ::IsWindow(m_idLastControl)) {
        ::SetFocus(m_idLastControl);
        if (m_bEditLastControl)
            ::SendMessage(m_idLastControl, EM_SETSEL, 0, -1);
    }
    m_bFailed = true;
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    if (!::IsWindow(m_hWnd))
        return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.m_bFailed ? FALSE : TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (Skip(pDX) || rControl.m_hWnd)
        return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h || !rControl.SubclassWindow(h))
        pDX->m_bFailed = true;
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = Control(pDX, nIDC, CtrlKind::Edit);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate)
        value = ControlText(h);
    else
        ::SetWindowText(h, value.GetString());
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    ExchangeInteger(pDX, nIDC, value, kParseInt);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    ExchangeInteger(pDX, nIDC, value, kParseUInt);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND h = Control(pDX, nIDC, CtrlKind::Edit);
    if (!h)
        return;
    if (!pDX->m_bSaveAndValidate) {
        CString s;
        s.Format("%.*g", 15, value);
        ::SetWindowText(h, s.GetString());
        return;
    }
    CString s = ControlText(h);
    s.Trim();
    const char* begin = s.GetString();
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(begin, &end);
    if (s.IsEmpty() || errno == ERANGE || !end || *end != '\0') {
        FailWith(pDX, kParseReal);
        return;
    }
    value = v;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    ExchangeByMessages(pDX, nIDC, value, BM_GETCHECK, BM_SETCHECK, SetIn::WParam);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND first = Control(pDX, nIDC);
    if (!first)
        return;
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group: the first radio button and the ones after it up to the
    // next control with WS_GROUP.
    int index = 0;
    for (HWND h = first; h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (h != first && (::GetWindowLong(h, GWL_STYLE) & WS_GROUP))
            break;
        DWORD type = static_cast<DWORD>(::GetWindowLong(h, GWL_STYLE)) & BS_TYPEMASK;
        if (type != BS_RADIOBUTTON && type != BS_AUTORADIOBUTTON)
            continue;
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessage(h, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            ::SendMessage(h, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    ExchangeByMessages(pDX, nIDC, index, CB_GETCURSEL, CB_SETCURSEL, SetIn::WParam);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = Control(pDX, nIDC);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = ControlText(h);
        return;
    }
    if (::SendMessage(h, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString()))
        == CB_ERR)
        ::SetWindowText(h, value.GetString());
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    ExchangeByMessages(pDX, nIDC, index, LB_GETCURSEL, LB_SETCURSEL, SetIn::WParam);
}

void DDX_Slider(CDataExchange* pDX, int nIDC, int& value)
{
    ExchangeByMessages(pDX, nIDC, value, TBM_GETPOS, TBM_SETPOS, SetIn::LParam);
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, SYSTEMTIME& value)
{
    HWND h = Control(pDX, nIDC);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate)
        ::SendMessage(h, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value));
    else
        ::SendMessage(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = Control(pDX, nIDC);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate)
        value = ControlText(h);
    else
        ::SetWindowText(h, value.GetString());
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, COleDateTime& value)
{
    if (Skip(pDX))
        return;
    SYSTEMTIME st{};
    if (pDX->m_bSaveAndValidate) {
        DDX_DateTimeCtrl(pDX, nIDC, st);
        value = COleDateTime(st);
    } else if (value.GetAsSystemTime(st)) {
        DDX_DateTimeCtrl(pDX, nIDC, st);
    }
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, CTime& value)
{
    if (Skip(pDX))
        return;
    SYSTEMTIME st{};
    if (pDX->m_bSaveAndValidate) {
        DDX_DateTimeCtrl(pDX, nIDC, st);
        value = CTime(st);
    } else if (value.GetAsSystemTime(st)) {
        DDX_DateTimeCtrl(pDX, nIDC, st);
    }
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (Skip(pDX))
        return;
    if (!pDX->m_bSaveAndValidate) {
        // Loading sets the edit's limit, so the user cannot type more.
        if (pDX->m_idLastControl && pDX->m_bEditLastControl)
            ::SendMessage(pDX->m_idLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        return;
    }
    // The limit and its message speak of characters, and the edit limits
    // what is typed in characters too; the text is UTF-8, so count the bytes
    // that start a character.
    int chars = 0;
    for (int i = 0; i < value.GetLength(); ++i)
        if ((static_cast<unsigned char>(value[i]) & 0xC0) != 0x80)
            ++chars;
    if (chars > nChars) {
        CString text;
        text.Format("Please enter no more than %d characters.", nChars);
        FailWith(pDX, text);
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    CheckRange(pDX, value, minVal, maxVal, "Please enter an integer between %d and %d.");
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    CheckRange(pDX, value, minVal, maxVal, "Please enter an integer between %u and %u.");
}

void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal)
{
    CheckRange(pDX, value, minVal, maxVal, "Please enter a number between %g and %g.");
}

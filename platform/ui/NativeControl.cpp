#include "platform/ui/NativeControl_p.h"

#include "platform/gdi/DcHandle_p.h"
#include "platform/ui/CtlColorQuery_p.h"
#include "platform/ui/WindowCall_p.h"

#include <QPainter>

#include <strings.h>

#include <cstring>

namespace vxw {

// Each control class lives in its own file.
std::unique_ptr<NativeControl> MakeButton();
std::unique_ptr<NativeControl> MakeEdit();
std::unique_ptr<NativeControl> MakeStatic();
std::unique_ptr<NativeControl> MakeComboBox();
std::unique_ptr<NativeControl> MakeListBox();
std::unique_ptr<NativeControl> MakeScrollBar();
std::unique_ptr<NativeControl> MakeListView();
std::unique_ptr<NativeControl> MakeTab();
std::unique_ptr<NativeControl> MakeTrackBar();
std::unique_ptr<NativeControl> MakeProgress();
std::unique_ptr<NativeControl> MakeUpDown();
std::unique_ptr<NativeControl> MakeDateTime();
std::unique_ptr<NativeControl> MakeIpAddress();
std::unique_ptr<NativeControl> MakeToolTip();

namespace {

// The window classes the layer knows: the control behind a class name and
// the default procedure the class adds before the common one.
struct WindowClass {
    const char* name;
    std::unique_ptr<NativeControl> (*make)();
    ClassDefProc defProc = nullptr;
};

const WindowClass* FindWindowClass(const std::string& className)
{
    // A header control exists only as the list view's own header (its
    // child with id 0), made by the list view itself.
    static const WindowClass kClasses[] = {
        {"#32770", nullptr, &DefDialogProc},
        {"BUTTON", &MakeButton},
        {"EDIT", &MakeEdit},
        {"STATIC", &MakeStatic},
        {"COMBOBOX", &MakeComboBox},
        {"LISTBOX", &MakeListBox},
        {"SCROLLBAR", &MakeScrollBar},
        {"SysListView32", &MakeListView},
        {"SysTabControl32", &MakeTab},
        {"msctls_trackbar32", &MakeTrackBar},
        {"msctls_progress32", &MakeProgress},
        {"msctls_updown32", &MakeUpDown},
        {"SysDateTimePick32", &MakeDateTime},
        {"SysIPAddress32", &MakeIpAddress},
        {"tooltips_class32", &MakeToolTip},
    };
    for (const WindowClass& c : kClasses) {
        if (strcasecmp(c.name, className.c_str()) == 0)
            return &c;
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<NativeControl> CreateNativeControl(const std::string& className)
{
    const WindowClass* c = FindWindowClass(className);
    return c && c->make ? c->make() : nullptr;
}

ClassDefProc ClassDefaultProc(const std::string& className)
{
    const WindowClass* c = FindWindowClass(className);
    return c ? c->defProc : nullptr;
}

void NativeControl::notifyCommand(UINT code) const
{
    WindowRecord* r = rec();
    if (!r || !r->parent)
        return;
    ::SendMessage(r->parent, WM_COMMAND, MAKEWPARAM(r->id, code), reinterpret_cast<LPARAM>(hwnd));
}

LRESULT NativeControl::notify(NMHDR* hdr) const
{
    WindowRecord* r = rec();
    if (!r || !r->parent)
        return 0;
    hdr->hwndFrom = hwnd;
    hdr->idFrom = static_cast<UINT_PTR>(r->id);
    return ::SendMessage(r->parent, WM_NOTIFY, static_cast<WPARAM>(r->id), reinterpret_cast<LPARAM>(hdr));
}

LRESULT NativeControl::notifyCode(UINT code) const
{
    NMHDR hdr{nullptr, 0, code};
    return notify(&hdr);
}

void SendDrawItem(HWND control, QWidget* device, UINT ctlType, UINT itemID, UINT state, const QRect& rect,
                  ULONG_PTR itemData)
{
    WindowRecord* r = Rec(control);
    if (!r || !r->parent)
        return;
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ctlType;
    dis.CtlID = static_cast<UINT>(r->id);
    dis.itemID = itemID;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hwndItem = control;
    dis.hDC = vxgdi::CreateWindowDc(device, device->size());
    dis.rcItem = RECT{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    dis.itemData = itemData;
    ::SendMessage(r->parent, WM_DRAWITEM, static_cast<WPARAM>(r->id), reinterpret_cast<LPARAM>(&dis));
    vxw::ReleasePaintDc(dis.hDC);
}

void PaintCtlColor(QWidget* widget, HWND control, UINT msg)
{
    WindowRecord* r = Rec(control);
    if (!r || !r->parent)
        return;
    // The colours Qt would use stay the defaults the parent may change.
    QPalette base = widget->parentWidget() ? widget->parentWidget()->palette() : widget->palette();
    QColor text = base.color(QPalette::WindowText);
    vxgdi::CtlColors c = vxw::QueryCtlColor(r->parent, msg, control, text, base.color(QPalette::Window));
    if (!::IsWindow(control))
        return;
    if (widget->palette().color(QPalette::WindowText) != c.text) {
        QPalette p = widget->palette();
        p.setColor(QPalette::WindowText, c.text);
        p.setColor(QPalette::ButtonText, c.text);
        widget->setPalette(p);
    }
    if (c.brush) {
        QPainter painter(widget);
        painter.fillRect(widget->rect(), c.brushColor);
    }
}

QString StripMnemonics(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&'))
                out += QLatin1Char('&');
            ++i;
            if (i < text.size() && text[i] != QLatin1Char('&'))
                out += text[i];
            continue;
        }
        out += text[i];
    }
    return out;
}

QString ToQ(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

QString ToQ(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQ(const QString& text)
{
    return text.toUtf8().toStdString();
}

int CopyOut(const std::string& text, char* buf, int max)
{
    if (!buf || max <= 0)
        return 0;
    size_t n = std::min(text.size(), static_cast<size_t>(max - 1));
    std::memcpy(buf, text.data(), n);
    buf[n] = '\0';
    return static_cast<int>(n);
}

}  // namespace vxw

#pragma once
// The native side of a control class: builds its Qt widget, answers the
// control's messages (the window procedure of the class) and turns the
// widget's signals into notifications to the parent.

#include "platform/ui/WindowRegistry_p.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace vxw {

class NativeControl {
public:
    virtual ~NativeControl() = default;

    // Builds the widget; the record already has style, id and text.
    virtual QWidget* create(WindowRecord& rec, QWidget* parent) = 0;
    // The class's own messages; false hands the message to the generic
    // default procedure.
    virtual bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }
    // Widgets inside the control that receive the mouse (a list's viewport).
    virtual std::vector<QWidget*> inputWidgets() { return {}; }
    // Offset of the input widgets' origin in client co-ordinates.
    virtual QPoint inputOffset(QWidget* input) const { return {}; }
    virtual UINT dlgCode() const { return 0; }
    // Style bits changed through ModifyStyle.
    virtual void styleChanged(DWORD oldStyle) {}
    // After the window is registered and its widget attached.
    virtual void created() {}
    // Keyboard focus came or went (edits notify their parent).
    virtual void focusChanged(bool in) {}
    // A height the control keeps whatever it is given (combo boxes: the
    // template's height includes the dropped-down list); -1 for none.
    virtual int fixedHeight() const { return -1; }

    HWND hwnd = nullptr;

protected:
    WindowRecord* rec() const { return Rec(hwnd); }
    // WM_COMMAND with the code to the parent.
    void notifyCommand(UINT code) const;
    // WM_NOTIFY to the parent; the header's sender fields are filled here.
    LRESULT notify(NMHDR* hdr) const;
    LRESULT notifyCode(UINT code) const;
};

// Asks the parent of an owner-drawn control to draw one item on device,
// which is being painted now.
void SendDrawItem(HWND control, QWidget* device, UINT ctlType, UINT itemID, UINT state, const QRect& rect,
                  ULONG_PTR itemData);
// Windows texts mark mnemonics with '&' ("&&" is a plain '&'); Qt buttons
// read them the same way, labels show them: this drops the markers.
QString StripMnemonics(const QString& text);

// Before a control paints itself: asks its parent for its colours
// (WM_CTLCOLORSTATIC and kin). The text colour goes into the widget's
// palette, a brush fills the background now.
void PaintCtlColor(QWidget* widget, HWND control, UINT msg);

// Null for a class name that is no control (a plain or dialog window).
std::unique_ptr<NativeControl> CreateNativeControl(const std::string& className);
// The default procedure a class adds before the common one (the dialog's),
// or null.
ClassDefProc ClassDefaultProc(const std::string& className);

// Text moves between CString/char* and Qt as UTF-8.
QString ToQ(const char* text);
QString ToQ(const std::string& text);
std::string FromQ(const QString& text);
// Copies text into a caller's buffer of max bytes (NUL included); returns the
// length copied.
int CopyOut(const std::string& text, char* buf, int max);

}  // namespace vxw

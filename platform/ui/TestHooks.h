#pragma once
// Hooks that let tests answer what would wait for a person: message boxes
// and modal dialogs. Set and cleared on the GUI thread.

#include "platform/ui/winuser.h"

#include <functional>
#include <string>

class CDialog;

namespace vxw::test {

struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;  // MB_ buttons, icon and default button
};

// Returns the button the test chooses (IDOK, IDYES, ...). Null restores the
// real box.
using MessageBoxHook = std::function<int(const MessageBoxCall&)>;
void SetMessageBoxHook(MessageBoxHook hook);

// Runs once a modal dialog is initialised and shown, before its loop; the
// hook may work the dialog and end it (EndDialog), or post work for later.
using ModalDialogHook = std::function<void(CDialog& dialog)>;
void SetModalDialogHook(ModalDialogHook hook);

}  // namespace vxw::test

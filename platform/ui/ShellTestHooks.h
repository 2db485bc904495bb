#pragma once
// Hooks that let tests answer what would wait for a person or reach outside
// the process: the shell's "open", the folder and file dialogs, the tray and
// popup menus; and a look at what the clipboard holds. Set and cleared on
// the GUI thread; a null hook restores the real behaviour.

#include "platform/ui/winuser.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vxw::test {

// Gets what would be opened (a path or URL); returns whether opening worked.
using ShellOpenHook = std::function<bool(const std::string& target)>;
void SetShellOpenHook(ShellOpenHook hook);

struct FolderDialogCall {
    HWND owner;
    std::string title;
    std::string initial;  // the folder preselected through BFFM_SETSELECTION
};
// The chosen folder, or nothing for Cancel.
using FolderDialogHook = std::function<std::optional<std::string>(const FolderDialogCall&)>;
void SetFolderDialogHook(FolderDialogHook hook);

struct FileDialogCall {
    bool open;  // open, else save
    std::string title;
    std::string initialDir;
    std::string fileName;
    std::vector<std::string> filters;  // "Name (*.ext)" each
    DWORD flags;                       // OFN_ values
};
using FileDialogHook = std::function<std::optional<std::string>(const FileDialogCall&)>;
void SetFileDialogHook(FileDialogHook hook);

// Forces the tray to be there (true) or not (false); nothing: the desktop's.
void SetTrayAvailable(std::optional<bool> available);
struct TrayIcon {
    HWND hwnd;
    UINT id;
    UINT callbackMessage;
    HICON icon;
    std::string tip;
};
// The icons the tray shows now.
std::vector<TrayIcon> TrayIcons();
// A mouse action on an icon, as the tray would report it.
bool ClickTrayIcon(HWND hwnd, UINT id, UINT mouseMessage);

// The clipboard's content by MIME type.
std::map<std::string, std::string> ClipboardContent();

struct PopupMenuCall {
    HMENU menu;
    UINT flags;  // TPM_ values
    int x;
    int y;
    HWND owner;
};
// Chooses a command of the tracked menu (0: dismissed). A command that is
// greyed, disabled or not in the menu counts as dismissed, as no person can
// choose it.
using PopupMenuHook = std::function<UINT(const PopupMenuCall&)>;
void SetPopupMenuHook(PopupMenuHook hook);

}  // namespace vxw::test

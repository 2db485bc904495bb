#pragma once
// The clipboard and the memory blocks it carries (global_memory.h). A file-drop list
// (CF_HDROP) with the registered "Preferred DropEffect" value is offered to
// other programs as text/uri-list with the desktops' cut and copy markers,
// so that files cut or copied here paste in a file manager. GUI thread.

#include "platform/kernel/global_memory.h"
#include "platform/ui/winuser.h"

// ---- clipboard ----
#define CF_TEXT        1
#define CF_BITMAP      2
#define CF_DIB         8
#define CF_UNICODETEXT 13
#define CF_HDROP       15

BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
// The clipboard takes the block over (the caller must not free it); what
// was set is offered to other programs at CloseClipboard.
HANDLE SetClipboardData(UINT format, HANDLE mem);
// A block the clipboard owns (valid until the clipboard next changes).
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
// Equal names (without case) give equal ids, from 0xC000 up.
UINT RegisterClipboardFormat(LPCSTR name);
#define RegisterClipboardFormatA RegisterClipboardFormat

// The files of a drop list; index 0xFFFFFFFF gives the count. With a null
// buffer the length of the name (without the terminator) is returned.
UINT DragQueryFile(HDROP drop, UINT index, LPSTR file, UINT size);
#define DragQueryFileA DragQueryFile

#pragma once
// The clipboard and the movable memory blocks it carries. A file-drop list
// (CF_HDROP) with the registered "Preferred DropEffect" value is offered to
// other programs as text/uri-list with the desktops' cut and copy markers,
// so that files cut or copied here paste in a file manager. GUI thread.

#include "platform/ui/winuser.h"

// ---- memory blocks ----
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GMEM_NODISCARD 0x0020
#define GMEM_DDESHARE 0x2000
#define GMEM_SHARE 0x2000
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

// Any thread. Blocks are zero-filled whatever the flags say.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID GlobalLock(HGLOBAL mem);
BOOL GlobalUnlock(HGLOBAL mem);
SIZE_T GlobalSize(HGLOBAL mem);
// Null on success, the block when it is not one of ours.
HGLOBAL GlobalFree(HGLOBAL mem);

// ---- clipboard ----
#define CF_TEXT 1
#define CF_BITMAP 2
#define CF_DIB 8
#define CF_UNICODETEXT 13
#define CF_HDROP 15

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

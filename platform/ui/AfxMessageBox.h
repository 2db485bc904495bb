#pragma once
// Message boxes owned by the program's main window, captioned with the
// program's name (GUI thread).

#include "platform/ui/winuser.h"

int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

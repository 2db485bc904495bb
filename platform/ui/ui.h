#pragma once
// The windowing layer: windows, messages, timers, dialogs, controls,
// resources and message boxes.
#include "platform/ui/winuser.h"
#include "platform/ui/commctrl.h"
#include "platform/ui/CObject.h"
#include "platform/ui/CCmdTarget.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/ResourceModule.h"
#include "platform/ui/AfxMessageBox.h"
#include "platform/ui/CWaitCursor.h"
#include "platform/ui/GuiRuntime.h"
// Menus, the shell, the tray, the clipboard and the file dialogs.
#include "platform/ui/menu.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/afxmsg_menu.h"
#include "platform/ui/shellapi.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/CFileDialog.h"

#pragma once
// What the motion detection page's files share. GUI thread only.

#include "camera/dialogs/motion/CDlgMDDetect.h"

namespace md_page {

inline void ShowItem(CWnd* page, int id, bool show)
{
    if (CWnd* w = page->GetDlgItem(id))
        w->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

inline bool Checked(CWnd* page, int id)
{
    return page->IsDlgButtonChecked(id) == BST_CHECKED;
}

}  // namespace md_page

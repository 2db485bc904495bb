#include "platform/ui/DialogInit_p.h"

#include <strings.h>

namespace vxw {

void AddInitialStrings(HWND control, const DialogItemTemplate& item)
{
    if (item.initialStrings.empty())
        return;
    // Only the two classes whose templates carry initialisation data.
    UINT add = 0;
    if (strcasecmp(item.className.c_str(), "COMBOBOX") == 0)
        add = CB_ADDSTRING;
    else if (strcasecmp(item.className.c_str(), "LISTBOX") == 0)
        add = LB_ADDSTRING;
    if (!add)
        return;
    for (const std::string& s : item.initialStrings)
        ::SendMessage(control, add, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

}  // namespace vxw

#pragma once
// The categories of the settings window and the pages of each, as data: a
// page is its label, its template and the factory that makes it. A slot
// without a factory keeps its label and shows nothing, as the data category's
// two labels do. Constant tables; any thread.

#include "platform/platform.h"

class CCameraSetupDlg;
class CDlgTabItem;

enum {
    CATEGORY_CAMERA = 10,
    CATEGORY_VIDEO = 20,
    CATEGORY_MOTION = 30,
    CATEGORY_CAPTURE = 40,
    CATEGORY_PLAYBACK = 50,
    CATEGORY_DATA = 60,
    CATEGORY_USER = 70,
    CATEGORY_SYSTEM = 80,
};

using PageFactory = CDlgTabItem* (*)(CCameraSetupDlg* owner);

struct PageSlot {
    UINT labelId;
    UINT templateId;
    PageFactory factory;  // null: an empty slot
};

struct CategoryPages {
    int code;
    const PageSlot* slots;
    int count;      // labels
    bool hasPages;  // false: labels only, no page is ever made
};

// The pages of a category code; null for a code that has none (not even labels).
const CategoryPages* FindCategoryPages(int code);

// The categories the window creates, in order, with their tab labels.
struct WindowCategory {
    int code;
    UINT labelId;
};
constexpr int kWindowCategoryCount = 7;
extern const WindowCategory kWindowCategories[kWindowCategoryCount];

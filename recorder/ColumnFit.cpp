#include "recorder/ColumnFit.h"

#include <algorithm>

namespace {

// Room around a cell's text (the view's margins on both sides) and around
// a header's (its margins and the sort mark).
constexpr int kCellPadding = 16;
constexpr int kHeaderPadding = 24;

}  // namespace

int FitColumnWidth(CListCtrl& list, int minimum, const CString& header, std::vector<CString> values)
{
    CClientDC dc(&list);
    CFont* font = list.GetFont();
    CFont* old = font ? dc.SelectObject(font) : nullptr;
    int width = std::max(minimum, static_cast<int>(dc.GetTextExtent(header).cx) + kHeaderPadding);
    for (const CString& v : values)
        width = std::max(width, static_cast<int>(dc.GetTextExtent(v).cx) + kCellPadding);
    if (old)
        dc.SelectObject(old);
    return width;
}

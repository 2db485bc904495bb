// Mouse painting of the schedule grid and the grid's painting. Points come
// from the messages themselves, so a synthetic event and a person's agree.

#include "recorder/CRecScheduleDlg.h"

#include "recorder/CGlobalInfo.h"

#include <algorithm>

namespace {

CPoint PointOf(LPARAM lParam)
{
    return CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

CPoint ClampInto(const CRect& r, CPoint p)
{
    p.x = std::clamp<LONG>(p.x, r.left, r.right - 1);
    p.y = std::clamp<LONG>(p.y, r.top, r.bottom - 1);
    return p;
}

}  // namespace

LRESULT CRecScheduleDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // A quick second press is a press too: a dialog's class asks for no
        // double-clicks.
        BeginDrag(PointOf(lParam));
        break;  // the message map still sees the press (about box, moving)
    case WM_MOUSEMOVE:
        if (m_bDragging)
            MoveDrag(PointOf(lParam));
        break;
    case WM_LBUTTONUP:
        // Every release ends the drag: the confined cursor keeps it inside.
        ::ClipCursor(nullptr);
        if (m_bDragging) {
            MoveDrag(PointOf(lParam));
            EndDrag(true);
        }
        break;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
    case WM_DESTROY:
        EndDrag(false);
        break;
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

bool CRecScheduleDlg::BeginDrag(CPoint point)
{
    const CRect grid = GridRect();
    if (!grid.PtInRect(point))
        return false;
    m_ptPress = point;
    m_ptLast = point;
    ::SetCursor(m_hArrow);
    CRect screen = grid;
    ClientToScreen(&screen);
    ::ClipCursor(&screen);
    m_bDragging = TRUE;
    CRect sel = DragRect();
    InvalidateRect(&sel, FALSE);
    return true;
}

void CRecScheduleDlg::MoveDrag(CPoint point)
{
    // The layer clamps the points while the cursor is confined; clamping
    // here too keeps the selection inside the grid whatever delivers them.
    CPoint p = ClampInto(GridRect(), point);
    if (p == m_ptLast)
        return;
    CRect old = DragRect();
    m_ptLast = p;
    ::SetCursor(m_hCross);
    CRect now = DragRect();
    CRect both;
    both.UnionRect(&old, &now);
    both.InflateRect(1, 1);
    InvalidateRect(&both, FALSE);
}

void CRecScheduleDlg::EndDrag(bool apply)
{
    if (!m_bDragging)
        return;
    ::ClipCursor(nullptr);
    m_bDragging = FALSE;
    CRect sel = DragRect();
    if (apply && m_nCurrent >= 0 && m_nCurrent < m_arrPlans.GetSize()) {
        RECT r = schedule_grid::SelectionRect(m_ptPress, m_ptLast);
        schedule_grid::PaintSelection(m_arrPlans[m_nCurrent], m_cells, r, m_nMode);
    }
    m_ptPress = CPoint(0, 0);
    m_ptLast = CPoint(0, 0);
    if (GetSafeHwnd()) {
        sel.InflateRect(1, 1);
        InvalidateRect(&sel, FALSE);
        InvalidateGrid();
    }
}

CRect CRecScheduleDlg::DragRect() const
{
    RECT r = schedule_grid::SelectionRect(m_ptPress, m_ptLast);
    return CRect(r);
}

void CRecScheduleDlg::DrawSelection(CDC& dc)
{
    if (!m_bDragging)
        return;
    CRect sel = DragRect();
    CDC fill;
    fill.CreateCompatibleDC(&dc);
    CBitmap pixel;
    pixel.CreateCompatibleBitmap(&dc, 1, 1);
    CBitmap* old = fill.SelectObject(&pixel);
    fill.SetPixel(0, 0, schedule_grid::ModeColour(m_nMode));
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 100, 0};
    dc.AlphaBlend(sel.left, sel.top, sel.Width(), sel.Height(), &fill, 0, 0, 1, 1, blend);
    fill.SelectObject(old);
    CBrush black;
    black.CreateSolidBrush(RGB(0, 0, 0));
    dc.FrameRect(&sel, &black);
}

void CRecScheduleDlg::OnPaint()
{
    CPaintDC dc(this);
    if (!m_bmpBack.m_hObject)
        return;
    CGlobalInfo& g = GlobalInfo();
    const STCameraInfoKst* plan =
        m_nCurrent >= 0 && m_nCurrent < m_arrPlans.GetSize() ? &m_arrPlans[m_nCurrent] : nullptr;
    CDC back;
    back.CreateCompatibleDC(&dc);
    CBitmap* oldBack = back.SelectObject(&m_bmpBack);
    CDC cell;
    cell.CreateCompatibleDC(&dc);
    const HBITMAP images[] = {g.m_skinClear.hBmp, g.m_skinContinuous.hBmp, g.m_skinMotion.hBmp};
    HGDIOBJ oldCell = nullptr;
    for (int i = 0; i < schedule_grid::kCells && i < int(m_cells.size()); ++i) {
        HBITMAP image = images[schedule_grid::ImageOf(plan, i)];
        if (!image)
            continue;
        HGDIOBJ prev = ::SelectObject(cell.GetSafeHdc(), image);
        if (!oldCell)
            oldCell = prev;
        const RECT& r = m_cells[i];
        back.BitBlt(r.left, r.top, m_nCellWidth, m_nCellHeight, &cell, 0, 0, SRCCOPY);
    }
    // Each cell image also stands at its own place beside its mode's
    // button, so the colours read without painting first.
    for (const STSkinImage* legend : {&g.m_skinClear, &g.m_skinContinuous, &g.m_skinMotion}) {
        const RECT& r = legend->rect;
        if (!legend->hBmp || r.right <= r.left || r.bottom <= r.top)
            continue;
        HGDIOBJ prev = ::SelectObject(cell.GetSafeHdc(), legend->hBmp);
        if (!oldCell)
            oldCell = prev;
        back.BitBlt(r.left, r.top, std::min<int>(r.right - r.left, m_nCellWidth),
                    std::min<int>(r.bottom - r.top, m_nCellHeight), &cell, 0, 0, SRCCOPY);
    }
    if (oldCell)
        ::SelectObject(cell.GetSafeHdc(), oldCell);
    BITMAP bm = {};
    m_bmpBack.GetBitmap(&bm);
    CRect client;
    GetClientRect(&client);
    dc.StretchBlt(0, 0, client.Width(), client.Height(), &back, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    back.SelectObject(oldBack);
    DrawSelection(dc);
}

// Drawing the background grid. Every piece is a source rectangle of the
// picture stretched into a target rectangle; the right strip and right-top
// pieces let a window hide part of the picture's right-hand column.
#include "ui/controls/CSkin.h"

namespace {

struct Piece {
    int x, y, w, h;      // target
    int sx, sy, sw, sh;  // source in the picture
};

}  // namespace

void CSkin::DrawBackground(HDC hDC, RECT rect, int noRightStrip, int noRightTop, int noCentre)
{
    if (!hDC || !m_picBackground.HasImage())
        return;
    const int W = rect.right - rect.left;
    const int H = rect.bottom - rect.top;
    if (W == m_picBackground.GetWidth() && H == m_picBackground.GetHeight() && noRightStrip && noRightTop) {
        m_picBackground.DrawImage(hDC, 0, 0, W, H);
        return;
    }
    const ST_SKIN_RECT& tl = m_background.top_left;
    const ST_SKIN_RECT& tr = m_background.top_right;
    const ST_SKIN_RECT& bl = m_background.bottom_left;
    const ST_SKIN_RECT& br = m_background.bottom_right;
    const ST_SKIN_RECT& fc = m_background.fill_center;

    // With the right strip shown, the right-hand column loses its hidden part
    // (M wide) and its strip (R wide); the edges grow by M to meet it and the
    // strip is drawn at the window's right edge.
    int M = 0;
    int R = 0;
    if (!noRightStrip) {
        M = m_background.right_hide.width;
        R = m_background.rect.right - m_background.right_hide.right;
    }
    const int cut = R + M;

    const int midW = W - tl.width - tr.width + M;
    const int midH = H - tl.height - bl.height;
    Piece pieces[16];
    int n = 0;
    pieces[n++] = {0, 0, tl.width, tl.height, tl.left, tl.top, tl.width, tl.height};
    pieces[n++] = {tl.width, 0, midW, tl.height, fc.left, tl.top, fc.width, tl.height};
    pieces[n++] = {M + W - tr.width, 0, tr.width - cut, tr.height, tr.left, tr.top, tr.width - cut, tr.height};
    pieces[n++] = {0, tl.height, tl.width, midH, tl.left, fc.top, tl.width, fc.height};
    if (!noCentre)
        pieces[n++] = {tl.width, tl.height, midW, midH, fc.left, fc.top, fc.width, fc.height};
    pieces[n++] = {M + W - tr.width, tr.height, tr.width - cut, H - tr.height - br.height,
                   tr.left,          fc.top,    tr.width - cut, fc.height};
    pieces[n++] = {0, H - bl.height, bl.width, bl.height, bl.left, bl.top, bl.width, bl.height};
    pieces[n++] = {bl.width, H - bl.height, W - bl.width - br.width + M, bl.height, fc.left, bl.top,
                   fc.width, bl.height};
    pieces[n++] = {M + W - br.width, H - br.height, br.width - cut, br.height,
                   br.left,          br.top,        br.width - cut, br.height};
    if (!noRightStrip) {
        const int sx = m_background.right_hide.right;
        pieces[n++] = {W - R, 0, R, tr.height, sx, tr.top, R, tr.height};
        pieces[n++] = {W - R, tl.height, R, midH, sx, fc.top, R, fc.height};
        pieces[n++] = {W - R, H - br.height, R, br.height, sx, br.top, R, br.height};
    } else if (!noRightTop) {
        const ST_SKIN_RECT& rt = m_background.right_top_hide;
        const int O = m_background.rect.right - rt.right;
        const int x = W - rt.width - O;
        pieces[n++] = {x, rt.top, rt.width, tr.height - rt.height, rt.left, rt.bottom, rt.width, tr.height - rt.height};
        pieces[n++] = {
            x,        tr.height - rt.height, rt.width, rt.height + H - tr.height - br.height, rt.left, fc.top, rt.width,
            fc.height};
    }
    for (int i = 0; i < n; ++i) {
        const Piece& p = pieces[i];
        // In a window smaller than the corners a target turns negative, and a
        // negative width would draw the piece mirrored: such pieces are left
        // out.
        if (p.w <= 0 || p.h <= 0 || p.sw <= 0 || p.sh <= 0)
            continue;
        m_picBackground.DrawImage(hDC, p.x, p.y, p.w, p.h, p.sx, p.sy, p.sw, p.sh);
    }
}

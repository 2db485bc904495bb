// Drawing calls on memory DCs against QPainter doing the same work on a
// QImage, run side by side and interleaved; prints each ratio (ours /
// anchor). Lower is better; 1.0 is parity.
#include "bench/support/Interleaved.h"
#include "platform/platform.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using vxbench::Compare;

HDC MemDc(int w, int h, HBITMAP* bm)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    *bm = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    SelectObject(dc, *bm);
    return dc;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int n = 300;
    HBITMAP sb, db;
    HDC src = MemDc(256, 256, &sb);
    HDC dst = MemDc(256, 256, &db);
    QImage qsrc(256, 256, QImage::Format_RGB32);
    qsrc.fill(Qt::red);
    QImage qdst(256, 256, QImage::Format_RGB32);
    qdst.fill(Qt::blue);

    Compare(
        "BitBlt SRCCOPY 256x256",
        [&] {
            for (int i = 0; i < n; ++i)
                BitBlt(dst, 0, 0, 256, 256, src, 0, 0, SRCCOPY);
        },
        [&] {
            for (int i = 0; i < n; ++i) {
                QPainter p(&qdst);
                p.setCompositionMode(QPainter::CompositionMode_Source);
                p.drawImage(0, 0, qsrc.copy(0, 0, 256, 256));
            }
        });
    Compare(
        "BitBlt SRCAND 256x256",
        [&] {
            for (int i = 0; i < n; ++i)
                BitBlt(dst, 0, 0, 256, 256, src, 0, 0, SRCAND);
        },
        [&] {
            for (int i = 0; i < n; ++i) {
                QPainter p(&qdst);
                p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
                p.drawImage(0, 0, qsrc.copy(0, 0, 256, 256));
            }
        });
    Compare(
        "TransparentBlt 128->256",
        [&] {
            for (int i = 0; i < n; ++i)
                TransparentBlt(dst, 0, 0, 256, 256, src, 0, 0, 128, 128, RGB(255, 0, 255));
        },
        [&] {
            for (int i = 0; i < n; ++i) {
                QImage keyed = qsrc.copy(0, 0, 128, 128).convertToFormat(QImage::Format_ARGB32);
                QPainter p(&qdst);
                p.drawImage(0, 0, keyed.scaled(256, 256));
            }
        });
    RECT rc{0, 0, 200, 60};
    Compare(
        "DrawText word break",
        [&] {
            for (int i = 0; i < n; ++i)
                DrawText(dst, "Camera 1 front door recording since 10:00", -1, &rc, DT_WORDBREAK);
        },
        [&] {
            for (int i = 0; i < n; ++i) {
                QPainter p(&qdst);
                p.drawText(QRect(0, 0, 200, 60), Qt::TextWordWrap, "Camera 1 front door recording since 10:00");
            }
        });
    DeleteDC(src);
    DeleteDC(dst);
    DeleteObject(sb);
    DeleteObject(db);
    return 0;
}

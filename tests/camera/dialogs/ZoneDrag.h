#pragma once
// A mouse drag across a zone picture, as a user draws a motion or shield
// zone: press, two moves, release, then the window loop runs briefly so
// the picture has handled it. The GUI thread (the test's own).

#include "platform/ui/GuiRuntime.h"

#include <QTest>
#include <QWidget>

namespace zone_drag {

struct Drag {
    int x0, y0, x1, y1;
};

inline void DragOn(QWidget* pic, const Drag& g)
{
    QTest::mousePress(pic, Qt::LeftButton, Qt::NoModifier, QPoint(g.x0, g.y0));
    QTest::mouseMove(pic, QPoint((g.x0 + g.x1) / 2, (g.y0 + g.y1) / 2));
    QTest::mouseMove(pic, QPoint(g.x1, g.y1));
    QTest::mouseRelease(pic, Qt::LeftButton, Qt::NoModifier, QPoint(g.x1, g.y1));
    vxw::PumpUntil([] { return false; }, 20);
}

}  // namespace zone_drag

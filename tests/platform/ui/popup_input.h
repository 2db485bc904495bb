#pragma once
// A person's input to tracked popup menus: popups are modal (their own loop
// runs inside TrackPopupMenu), so the steps run from a timer on the GUI
// thread, each on the popup in front once it has appeared. Each step gets
// that popup's QMenu; its actions are the menu's items by position.

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct PopupStep {
    std::function<void(QMenu*)> act;
    // Acts on whichever popup is in front, not only on one that opened since
    // the step before.
    bool anyPopup = false;
};

// A click on the item's text, as a person's: the pointer comes over it, then
// presses and releases. The events come through the popup's window, as the
// display's do, to whichever widget is under the pointer.
inline void ClickItem(QMenu* m, int index)
{
    QAction* a = m->actions().value(index);
    QWindow* w = m->windowHandle();
    if (!a || !w)
        return;
    QRect row = m->actionGeometry(a);
    QPoint at(row.left() + std::min(12, row.width() / 2), row.center().y());
    QTest::mouseMove(w, at);
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
}

inline PopupStep Click(int index)
{
    return {[index](QMenu* m) { ClickItem(m, index); }};
}

inline PopupStep Key(char key)
{
    return {[key](QMenu* m) { QTest::keyClick(m, key); }};
}

inline PopupStep Escape()
{
    return {[](QMenu* m) { QTest::keyClick(m, Qt::Key_Escape); }, true};
}

// Runs the steps on the popups that open while track() runs, and returns
// what track() returned. A popup still open 5 seconds after it is due is
// closed, so a fault ends the tracking instead of hanging the test; failed
// says so then.
template <typename Track>
auto DrivePopups(std::vector<PopupStep> steps, Track track, bool* failed = nullptr)
{
    size_t next = 0;
    QPointer<QMenu> last;
    QElapsedTimer clock;
    clock.start();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* m = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!m)
            return;
        if (clock.elapsed() > 5000) {
            if (failed)
                *failed = true;
            m->close();
            return;
        }
        if (next >= steps.size())
            return;
        if (!steps[next].anyPopup && m == last)
            return;
        last = m;
        clock.restart();
        steps[next++].act(m);
    });
    timer.start(10);
    auto result = track();
    timer.stop();
    if (failed && next < steps.size())
        *failed = true;
    return result;
}

// What the window layer tells a window about the mouse: the hit test before
// a move or press and its answer in WM_SETCURSOR, the hover notice, the
// cursor position of the message being handled, the points of a confined
// cursor, and the loss of the capture.
#include "ui_test_env.h"

#include "platform/ui/WindowRegistry_p.h"

#include <QTest>
#include <QWidget>

#include <vector>

namespace {

class Recorder : public CWnd {
public:
    struct Seen {
        UINT msg;
        WPARAM w;
        LPARAM l;
    };
    std::vector<Seen> seen;
    LRESULT hitAnswer = HTCLIENT;
    DWORD timerPos = 0;
    int timers = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_NCHITTEST:
            seen.push_back({message, wParam, lParam});
            return hitAnswer;
        case WM_SETCURSOR:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_MOUSEHOVER:
        case WM_CAPTURECHANGED:
            seen.push_back({message, wParam, lParam});
            break;
        case WM_TIMER:
            ++timers;
            timerPos = GetMessagePos();
            KillTimer(wParam);
            return 0;
        default:
            break;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class InputMessages : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            wnd.CreateEx(0, "VxInputRecorder", "rec", WS_POPUP | WS_VISIBLE, 40, 30, 200, 100, nullptr, nullptr));
    }
    void TearDown() override { wnd.DestroyWindow(); }
    QWidget* Widget() { return vxw::WidgetOf(wnd.GetSafeHwnd()); }
    std::vector<UINT> Order() const
    {
        std::vector<UINT> out;
        for (auto& s : wnd.seen)
            out.push_back(s.msg);
        return out;
    }
    Recorder wnd;
};

TEST_F(InputMessages, HitTestPrecedesMovesAndPressesAndItsAnswerReachesSetCursor)
{
    wnd.hitAnswer = HTCAPTION;
    QTest::mouseMove(Widget(), QPoint(10, 20));
    WaitFor([&] { return !wnd.seen.empty() && wnd.seen.back().msg == WM_MOUSEMOVE; }, 2000);
    ASSERT_EQ(Order(), (std::vector<UINT>{WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE}));
    // The hit test gets the screen point.
    CPoint screen(10, 20);
    wnd.ClientToScreen(&screen);
    EXPECT_EQ(GET_X_LPARAM(wnd.seen[0].l), screen.x);
    EXPECT_EQ(GET_Y_LPARAM(wnd.seen[0].l), screen.y);
    EXPECT_EQ(LOWORD(wnd.seen[1].l), HTCAPTION);
    EXPECT_EQ(HIWORD(wnd.seen[1].l), WM_MOUSEMOVE);

    wnd.seen.clear();
    wnd.hitAnswer = HTCLIENT;
    QTest::mousePress(Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(12, 22));
    QTest::mouseRelease(Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(12, 22));
    std::vector<UINT> order = Order();
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order[0], static_cast<UINT>(WM_NCHITTEST));
    EXPECT_EQ(order[1], static_cast<UINT>(WM_SETCURSOR));
    EXPECT_EQ(LOWORD(wnd.seen[1].l), HTCLIENT);
    EXPECT_EQ(order[2], static_cast<UINT>(WM_LBUTTONDOWN));
}

TEST_F(InputMessages, TimerMessagesCarryTheCursorPosition)
{
    SetCursorPos(123, 77);
    wnd.SetTimer(5, 10);
    ASSERT_TRUE(WaitFor([&] { return wnd.timers > 0; }));
    EXPECT_EQ(GET_X_LPARAM(wnd.timerPos), 123);
    EXPECT_EQ(GET_Y_LPARAM(wnd.timerPos), 77);
}

TEST_F(InputMessages, HoverIsToldOnceWhileTheCursorStays)
{
    auto hovers = [&] {
        int n = 0;
        for (auto& s : wnd.seen)
            n += s.msg == WM_MOUSEHOVER;
        return n;
    };
    // The cursor stays inside: one notice with the client point.
    SetCursorPos(40 + 50, 30 + 60);
    TRACKMOUSEEVENT tme{sizeof(tme), TME_HOVER, wnd.GetSafeHwnd(), 30};
    ASSERT_TRUE(TrackMouseEvent(&tme));
    ASSERT_TRUE(WaitFor([&] { return hovers() == 1; }));
    for (auto& s : wnd.seen) {
        if (s.msg == WM_MOUSEHOVER) {
            EXPECT_EQ(GET_X_LPARAM(s.l), 50);
            EXPECT_EQ(GET_Y_LPARAM(s.l), 60);
        }
    }
    WaitFor([] { return false; }, 150);
    EXPECT_EQ(hovers(), 1);

    // The cursor leaves before the time is up: no notice.
    wnd.seen.clear();
    tme.dwHoverTime = 100;
    ASSERT_TRUE(TrackMouseEvent(&tme));
    SetCursorPos(5, 5);
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(hovers(), 0);

    // The default time.
    SetCursorPos(40 + 10, 30 + 10);
    tme.dwHoverTime = HOVER_DEFAULT;
    ASSERT_TRUE(TrackMouseEvent(&tme));
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(hovers(), 0);
    EXPECT_TRUE(WaitFor([&] { return hovers() == 1; }));
}

TEST_F(InputMessages, ConfinedCursorKeepsTheDeliveredPointsInsideUntilFreed)
{
    auto lastMove = [&] {
        for (auto it = wnd.seen.rbegin(); it != wnd.seen.rend(); ++it) {
            if (it->msg == WM_MOUSEMOVE)
                return CPoint(GET_X_LPARAM(it->l), GET_Y_LPARAM(it->l));
        }
        return CPoint(-1, -1);
    };
    auto moveTo = [&](QPoint p, CPoint want) {
        QTest::mouseMove(Widget(), p);
        WaitFor([&] { return lastMove() == want; }, 2000);
        return lastMove();
    };
    RECT screen{};
    GetClipCursor(&screen);
    // The cursor enters the window first (that move may reach it or not).
    QTest::mouseMove(Widget(), QPoint(50, 50));
    WaitFor([&] { return lastMove() == CPoint(50, 50); }, 200);
    CRect inner(20, 10, 120, 60);
    wnd.ClientToScreen(&inner);
    ASSERT_TRUE(ClipCursor(&inner));
    RECT clip{};
    GetClipCursor(&clip);
    EXPECT_EQ(CRect(clip), inner);
    EXPECT_EQ(moveTo(QPoint(180, 90), CPoint(119, 59)), CPoint(119, 59));
    EXPECT_EQ(moveTo(QPoint(2, 3), CPoint(20, 10)), CPoint(20, 10));
    POINT at{};
    GetCursorPos(&at);
    EXPECT_TRUE(inner.PtInRect(at));

    ASSERT_TRUE(ClipCursor(nullptr));
    GetClipCursor(&clip);
    EXPECT_EQ(CRect(clip), CRect(screen));
    EXPECT_EQ(moveTo(QPoint(180, 90), CPoint(180, 90)), CPoint(180, 90));
}

TEST_F(InputMessages, AWindowTakingTheCaptureTellsTheOneThatHeldIt)
{
    Recorder other;
    ASSERT_TRUE(
        other.CreateEx(0, "VxInputRecorder", "other", WS_POPUP | WS_VISIBLE, 300, 30, 100, 100, nullptr, nullptr));
    auto changes = [](const Recorder& r) {
        std::vector<LPARAM> out;
        for (auto& s : r.seen) {
            if (s.msg == WM_CAPTURECHANGED)
                out.push_back(s.l);
        }
        return out;
    };
    wnd.SetCapture();
    wnd.SetCapture();  // taken again by the holder: nobody lost it
    EXPECT_TRUE(changes(wnd).empty());
    other.SetCapture();
    EXPECT_EQ(::GetCapture(), other.GetSafeHwnd());
    EXPECT_EQ(changes(wnd), (std::vector<LPARAM>{reinterpret_cast<LPARAM>(other.GetSafeHwnd())}));
    ::ReleaseCapture();
    EXPECT_EQ(changes(other), (std::vector<LPARAM>{0}));
    EXPECT_EQ(changes(wnd).size(), 1u);
    other.DestroyWindow();
}

}  // namespace

VX_UI_TEST_MAIN()

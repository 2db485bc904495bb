// Lists with picture progress bars, the picture progress bar itself, and the
// list that refuses column resizing and reorders rows by dragging.
#include "controls_test_util.h"
#include "ui/controls/CListCtrlEx.h"
#include "ui/controls/CMyListCtrl.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <QWheelEvent>

#include <string>
#include <thread>
#include <vector>

namespace {

constexpr COLORREF kBack = RGB(0xA0, 0xA0, 0xA0);
constexpr COLORREF kFore = RGB(0x20, 0x60, 0xD0);

// ---- the progress bar ----

TEST(CMyProgressCtrl, ResultCodesAndStoredPositions)
{
    CMyProgressCtrl bar;
    EXPECT_EQ(bar.m_nMin, 1);
    EXPECT_EQ(bar.m_nMax, 100);
    bar.SetRange(100, 0);
    int lo = -1, hi = -1;
    bar.GetRange(lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 100);

    struct Case {
        const char* what;
        int (*call)(CMyProgressCtrl&);
        int result;
        int pos;
        int step;
    };
    const Case cases[] = {
        {"SetPos below", [](CMyProgressCtrl& b) { return b.SetPos(-1); }, 0, 50, 1},
        {"SetPos above", [](CMyProgressCtrl& b) { return b.SetPos(101); }, 0, 50, 1},
        {"SetPos inside", [](CMyProgressCtrl& b) { return b.SetPos(70); }, 1, 70, 1},
        {"SetStep 0", [](CMyProgressCtrl& b) { return b.SetStep(0); }, 0, 50, 1},
        {"SetStep -3", [](CMyProgressCtrl& b) { return b.SetStep(-3); }, 0, 50, 1},
        {"SetStep 5", [](CMyProgressCtrl& b) { return b.SetStep(5); }, 1, 50, 5},
        {"OffsetPos +200", [](CMyProgressCtrl& b) { return b.OffsetPos(200); }, 0, 100, 1},
        {"OffsetPos -200", [](CMyProgressCtrl& b) { return b.OffsetPos(-200); }, 1, -150, 1},
        {"StepIt", [](CMyProgressCtrl& b) { return b.StepIt(); }, 1, 51, 1},
    };
    for (const Case& c : cases) {
        CMyProgressCtrl b;
        b.SetRange(0, 100);
        ASSERT_EQ(b.SetPos(50), 1);
        EXPECT_EQ(c.call(b), c.result) << c.what;
        EXPECT_EQ(b.GetPos(), c.pos) << c.what;
        EXPECT_EQ(b.m_nStep, c.step) << c.what;
    }
}

struct ShownBar {
    explicit ShownBar(int lo, int hi, int pos, bool rangeSet = true) : host(140, 30)
    {
        ControlPictures();
        bar.SetBackImage(IDB_BAR_BACK, RT_BITMAP, TRUE, RGB(255, 255, 255), FALSE);
        bar.SetForeImage(IDB_BAR_FORE, RT_BITMAP, TRUE, RGB(255, 255, 255));
        if (rangeSet)
            bar.SetRange(lo, hi);
        bar.m_nPos = pos;  // positions OffsetPos can reach, outside the range too
        bar.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 20), &host, 0x400);
        shot = Grab(bar);
    }
    COLORREF At(int x) const { return PixelAt(shot, x, 5); }
    HostWnd host;
    CMyProgressCtrl bar;
    QImage shot;
};

TEST(CMyProgressCtrl, FillsFromTheMinimumAndNeverPastItsEdges)
{
    struct Case {
        int lo, hi, pos;
        int foreUpTo;  // columns [0, foreUpTo) show the fore picture
    };
    const Case cases[] = {
        {0, 100, 30, 30},  {0, 100, 150, 100}, {0, 100, -1, 0},
        {0, 100, -150, 0}, {50, 150, 75, 25},  // measured from the minimum
        {7, 7, 7, 0},                          // an empty range fills nothing
    };
    for (const Case& c : cases) {
        ShownBar b(c.lo, c.hi, c.pos);
        ASSERT_FALSE(b.shot.isNull());
        if (c.foreUpTo > 0) {
            EXPECT_EQ(b.At(c.foreUpTo - 1), kFore) << c.lo << ".." << c.hi << " at " << c.pos;
        }
        if (c.foreUpTo < 100) {
            EXPECT_EQ(b.At(c.foreUpTo), kBack) << c.lo << ".." << c.hi << " at " << c.pos;
        }
    }
    ShownBar thirty(0, 100, 30);
    EXPECT_EQ(thirty.At(25), kFore);
    EXPECT_EQ(thirty.At(35), kBack);
}

// ---- the list with a progress column ----

class CountingList : public CListCtrlEx {
public:
    int paints = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT)
            ++paints;
        return CListCtrlEx::WindowProc(message, wParam, lParam);
    }
};

struct ProgressList : ::testing::Test {
    void Make(int rows, bool progress = true)
    {
        ControlPictures();
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 320, 220), &host, 77));
        list.InsertColumn(0, "Network", LVCFMT_LEFT, 100);
        list.InsertColumn(1, "Channel", LVCFMT_LEFT, 50);
        list.InsertColumn(2, "Signal", LVCFMT_LEFT, 130);
        if (progress)
            list.InitProgressColumn(IDB_BAR_BACK, IDB_BAR_FORE, RT_BITMAP, TRUE, RGB(255, 255, 255), 2);
        for (int r = 0; r < rows; ++r)
            list.InsertItem(r, ("net-" + std::to_string(r)).c_str());
        Settle();
    }
    void Settle()
    {
        list.Invalidate();
        PumpFor(150);
    }
    std::vector<int> BarIds() const
    {
        std::vector<int> ids;
        for (INT_PTR i = 0; i < list.m_arrProgress.GetSize(); ++i)
            ids.push_back(list.m_arrProgress[i]->GetDlgCtrlID());
        return ids;
    }
    CMyProgressCtrl* Bar(int row) const
    {
        for (INT_PTR i = 0; i < list.m_arrProgress.GetSize(); ++i)
            if (list.m_arrProgress[i]->GetDlgCtrlID() == 0x400 + row)
                return list.m_arrProgress[i];
        return nullptr;
    }
    HostWnd host{340, 240};
    CountingList list;
};

TEST_F(ProgressList, WithoutAProgressColumnTheListHasNoBars)
{
    Make(5, false);
    EXPECT_TRUE(BarIds().empty());
    EXPECT_EQ(list.GetWindow(GW_CHILD)->GetDlgCtrlID(), 0);  // only the header
}

TEST_F(ProgressList, OneBarPerVisibleRowWithTheRowsIds)
{
    Make(5);
    ASSERT_GE(list.GetCountPerPage(), 5);
    EXPECT_EQ(BarIds(), (std::vector<int>{0x400, 0x401, 0x402, 0x403, 0x404}));
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(Bar(r)->GetPos(), 0) << "values start at 0";
    // The bar lies over its row in the progress column.
    CRect header, label, bar;
    list.GetHeaderCtrl()->GetItemRect(2, &header);
    list.GetItemRect(1, &label, LVIR_LABEL);
    Bar(1)->GetWindowRect(&bar);
    list.ScreenToClient(&bar);
    EXPECT_EQ(bar, CRect(label.left + header.left + 10, label.top + 1, header.right - 5, label.bottom - 1));
}

TEST_F(ProgressList, ScrollingRebuildsTheBarsForTheRowsOnTop)
{
    Make(40);
    CRect row;
    list.GetItemRect(0, &row, LVIR_BOUNDS);
    list.Scroll(CSize(0, 7 * row.Height()));
    Settle();
    ASSERT_EQ(list.GetTopIndex(), 7);
    ASSERT_FALSE(BarIds().empty());
    EXPECT_EQ(BarIds().front(), 0x407);
    EXPECT_EQ(static_cast<int>(BarIds().size()), list.GetCountPerPage());
}

TEST_F(ProgressList, AWheelScrolledToTheEndShowsWholeRowsAndABarInEachNoneOverTheHeader)
{
    Make(40);
    auto* view = qobject_cast<QAbstractScrollArea*>(vxw::WidgetOf(list.GetSafeHwnd()));
    ASSERT_NE(view, nullptr);
    QWidget* port = view->viewport();
    for (int i = 0; i < 30; ++i) {
        QPointF at(port->width() / 2.0, port->height() / 2.0);
        QWheelEvent wheel(at, port->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(port, &wheel);
    }
    Settle();
    CRect header;
    list.GetHeaderCtrl()->GetWindowRect(&header);
    list.ScreenToClient(&header);
    const int top = list.GetTopIndex();
    ASSERT_GT(top, 0);
    CRect first;
    ASSERT_TRUE(list.GetItemRect(top, &first, LVIR_BOUNDS));
    EXPECT_GE(first.top, header.bottom) << "the top row is whole";
    EXPECT_EQ(top + list.GetCountPerPage(), 40) << "the last row shows";
    std::vector<int> wanted;
    for (int r = top; r < 40; ++r)
        wanted.push_back(0x400 + r);
    EXPECT_EQ(BarIds(), wanted);
    for (INT_PTR i = 0; i < list.m_arrProgress.GetSize(); ++i) {
        CRect bar;
        list.m_arrProgress[i]->GetWindowRect(&bar);
        list.ScreenToClient(&bar);
        EXPECT_GE(bar.top, header.bottom) << "bar " << i;
    }
}

TEST_F(ProgressList, RowsPastTheValueTableGetNoBar)
{
    Make(120);
    list.EnsureVisible(119, FALSE);
    Settle();
    int top = list.GetTopIndex();
    ASSERT_GT(top + list.GetCountPerPage(), 100);
    for (int id : BarIds())
        EXPECT_LT(id, 0x400 + 100);
    EXPECT_EQ(static_cast<int>(BarIds().size()), std::max(0, 100 - top));
    EXPECT_EQ(list.GetItemText(110, 0), "net-110");
}

TEST_F(ProgressList, ValuesFromAnotherThreadShowAfterARepaint)
{
    Make(5);
    CMyProgressCtrl* bar2 = Bar(2);
    ASSERT_NE(bar2, nullptr);
    std::thread writer([this] {
        list.m_nProgressValue[2] = 60;
        list.m_nProgressValue[3] = 150;
        list.m_nProgressValue[4] = -1;
    });
    writer.join();
    Settle();
    EXPECT_EQ(Bar(2), bar2) << "a changed value keeps its bar";
    EXPECT_EQ(bar2->GetPos(), 60);
    EXPECT_EQ(Bar(3)->GetPos(), 0);
    EXPECT_EQ(Bar(4)->GetPos(), 0);
    // InitProgressColumn empties the table again.
    list.InitProgressColumn(IDB_BAR_BACK, IDB_BAR_FORE, RT_BITMAP, TRUE, RGB(255, 255, 255), 2);
    Settle();
    EXPECT_EQ(Bar(2)->GetPos(), 0);
}

TEST_F(ProgressList, BarsShowTheirValuesAndTheKeyShowsTheList)
{
    Make(5);
    list.m_nProgressValue[0] = 30;
    list.m_nProgressValue[1] = 150;
    Settle();
    QImage shot = Grab(list);
    auto barPixel = [&](int row, int x) {
        CRect rc;
        Bar(row)->GetWindowRect(&rc);
        list.ScreenToClient(&rc);
        return PixelAt(shot, rc.left + x, rc.top + 3);
    };
    EXPECT_EQ(barPixel(0, 25), kFore);
    EXPECT_EQ(barPixel(0, 35), kBack);
    EXPECT_EQ(barPixel(1, 5), kBack);
    // The white key pixel at the picture's right end shows what lies under.
    CRect rc;
    Bar(0)->GetWindowRect(&rc);
    list.ScreenToClient(&rc);
    EXPECT_EQ(PixelAt(shot, rc.left + 99, rc.top), PixelAt(shot, rc.left + 101, rc.top));
    EXPECT_NE(PixelAt(shot, rc.left + 99, rc.top), kBack);
}

TEST_F(ProgressList, ASteadyListStopsPainting)
{
    Make(5);
    list.m_nProgressValue[1] = 40;
    Settle();
    PumpFor(200);
    int before = list.paints;
    PumpFor(400);
    EXPECT_EQ(list.paints, before);
}

// ---- the list that reorders rows ----

class DragList : public CMyListCtrl {
public:
    void EnableDrag() { m_bDragEnabled = TRUE; }
};

struct Swap {
    int a, b;
    bool operator==(const Swap& o) const { return a == o.a && b == o.b; }
};

struct Parent : HostWnd {
    std::vector<int> headerClicks;
    int beginTracks = 0;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr->code == LVN_COLUMNCLICK)
            headerClicks.push_back(reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem);
        if (hdr->code == HDN_BEGINTRACKA)
            ++beginTracks;
        return HostWnd::OnNotify(wParam, lParam, pResult);
    }
};

struct ReorderList : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(
            list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(0, 0, 300, 200), &parent, 5));
        EXPECT_TRUE(list.m_bBlockColumnResize);
        EXPECT_FALSE(list.m_bDragEnabled);
        list.InsertColumn(0, "File", LVCFMT_LEFT, 120);
        list.InsertColumn(1, "Size", LVCFMT_LEFT, 80);
        for (int r = 0; r < 5; ++r) {
            list.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, r, ("rec" + std::to_string(r)).c_str(), 0, 0, r,
                            static_cast<LPARAM>(100 + r));
            list.SetItemText(r, 1, std::to_string(r * 10).c_str());
        }
        list.SetSwapRowsCallback(
            [](void* user, int a, int b) {
                static_cast<std::vector<Swap>*>(user)->push_back({a, b});
            },
            &swaps);
        PumpFor(50);
    }
    std::vector<std::string> Column(int c) const
    {
        std::vector<std::string> out;
        for (int r = 0; r < list.GetItemCount(); ++r)
            out.push_back(static_cast<LPCSTR>(list.GetItemText(r, c)));
        return out;
    }
    std::vector<int> Images() const
    {
        std::vector<int> out;
        for (int r = 0; r < list.GetItemCount(); ++r) {
            LVITEM it{};
            it.mask = LVIF_IMAGE;
            it.iItem = r;
            list.GetItem(&it);
            out.push_back(it.iImage);
        }
        return out;
    }
    std::vector<LPARAM> Data() const
    {
        std::vector<LPARAM> out;
        for (int r = 0; r < list.GetItemCount(); ++r)
            out.push_back(static_cast<LPARAM>(list.GetItemData(r)));
        return out;
    }
    QPoint RowPoint(int row) const
    {
        CRect rc;
        list.GetItemRect(row, &rc, LVIR_LABEL);
        return QPoint(rc.left + 10, rc.CenterPoint().y);
    }
    // Mouse positions on the viewport of the list.
    QWidget* Viewport() const
    {
        auto* view = vxw::WidgetOf(list.GetSafeHwnd());
        return view ? view->findChild<QWidget*>("qt_scrollarea_viewport") : nullptr;
    }
    Parent parent;
    DragList list;
    std::vector<Swap> swaps;
};

TEST_F(ReorderList, ColumnResizeIsRefusedWhileHeaderClicksReachTheParent)
{
    HWND header = list.GetHeaderCtrl()->GetSafeHwnd();
    auto* view = qobject_cast<QHeaderView*>(vxw::WidgetOf(header));
    ASSERT_NE(view, nullptr);
    int width = view->sectionSize(0);
    int edge = view->sectionViewportPosition(0) + width;
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(edge - 1, 5));
    QTest::mouseMove(view->viewport(), QPoint(edge + 40, 5));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(edge + 40, 5));
    PumpFor(30);
    EXPECT_EQ(view->sectionSize(0), width);
    EXPECT_EQ(parent.beginTracks, 0) << "the list answers the header itself";

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(view->sectionViewportPosition(1) + 20, 5));
    PumpFor(30);
    EXPECT_EQ(parent.headerClicks, std::vector<int>{1});

    // Let through once unblocked.
    list.m_bBlockColumnResize = FALSE;
    NMHEADER nm{};
    nm.hdr.hwndFrom = header;
    nm.hdr.idFrom = 0;
    nm.hdr.code = HDN_BEGINTRACKA;
    EXPECT_EQ(list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm)), 0);
}

TEST_F(ReorderList, DraggingSelectedRowsMovesThemRowByRow)
{
    list.EnableDrag();
    QWidget* vp = Viewport();
    ASSERT_NE(vp, nullptr);
    QPoint origin = vp->geometry().topLeft();
    QTest::mousePress(vp, Qt::LeftButton, {}, RowPoint(2) - origin);
    QTest::mouseMove(vp, RowPoint(2) - origin + QPoint(8, 0));
    QTest::mouseMove(vp, RowPoint(2) - origin + QPoint(20, 0));
    PumpFor(20);
    ASSERT_TRUE(list.m_bDragging);
    EXPECT_EQ(list.m_nDragRow, 2);
    EXPECT_EQ(CWnd::GetCapture(), &list);
    // Two rows dragged together (as after a Ctrl-click).
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);

    // One row down: the lower row moves first.
    list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(RowPoint(3).x(), RowPoint(3).y()));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"rec0", "rec3", "rec1", "rec2", "rec4"}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"0", "30", "10", "20", "40"}));
    EXPECT_EQ(Images(), (std::vector<int>{0, 3, 1, 2, 4}));
    EXPECT_EQ(Data(), (std::vector<LPARAM>{100, 103, 101, 102, 104}));
    EXPECT_EQ(swaps, (std::vector<Swap>{{2, 3}, {1, 2}}));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);
    EXPECT_EQ(list.GetNextItem(2, LVNI_SELECTED), 3);
    EXPECT_EQ(list.m_nDragRow, 3);

    // On to the last row, then below it: the leading row would leave the
    // list, so that pass moves nothing.
    swaps.clear();
    list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(RowPoint(4).x(), RowPoint(4).y()));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"rec0", "rec3", "rec4", "rec1", "rec2"}));
    EXPECT_EQ(swaps, (std::vector<Swap>{{3, 4}, {2, 3}}));
    CRect client;
    list.GetClientRect(&client);
    list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(RowPoint(4).x(), client.bottom + 10));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"rec0", "rec3", "rec4", "rec1", "rec2"}));
    EXPECT_EQ(swaps.size(), 2u);
    EXPECT_EQ(list.m_nDragRow, list.GetTopIndex() + list.GetCountPerPage());
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 3);

    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(RowPoint(4).x(), RowPoint(4).y()));
    EXPECT_FALSE(list.m_bDragging);
    EXPECT_NE(CWnd::GetCapture(), &list);
}

TEST(CMyListCtrl, CreationKeepsTheCallbackSubclassingDropsIt)
{
    HostWnd host(200, 100);
    int user = 0;
    auto fn = [](void*, int, int) {};
    CMyListCtrl made;
    made.SetSwapRowsCallback(fn, &user);
    ASSERT_TRUE(made.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 90, 90), &host, 6));
    EXPECT_EQ(made.m_pfnSwapRows, fn);
    EXPECT_EQ(made.m_pSwapRowsUser, &user);
    EXPECT_TRUE(made.m_bBlockColumnResize);

    HWND raw = CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 100, 0, 90, 90,
                              host.GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<intptr_t>(7)), nullptr, nullptr);
    CMyListCtrl subclassed;
    subclassed.SetSwapRowsCallback(fn, &user);
    ASSERT_TRUE(subclassed.SubclassWindow(raw));
    EXPECT_EQ(subclassed.m_pfnSwapRows, nullptr);
    EXPECT_EQ(subclassed.m_pSwapRowsUser, nullptr);
    EXPECT_TRUE(subclassed.m_bBlockColumnResize);
    EXPECT_FALSE(subclassed.m_bDragEnabled);
}

TEST_F(ReorderList, WithoutDragEnabledAPressAndMoveMovesNothing)
{
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    QWidget* vp = Viewport();
    ASSERT_NE(vp, nullptr);
    QPoint origin = vp->geometry().topLeft();
    QTest::mousePress(vp, Qt::LeftButton, {}, RowPoint(1) - origin);
    QTest::mouseMove(vp, RowPoint(3) - origin);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, RowPoint(3) - origin);
    PumpFor(20);
    EXPECT_FALSE(list.m_bDragging);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"rec0", "rec1", "rec2", "rec3", "rec4"}));
    EXPECT_TRUE(swaps.empty());
}

}  // namespace

VX_UI_TEST_MAIN()

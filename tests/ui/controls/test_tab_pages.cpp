// Settings pages load once, at their first WM_SHOWWINDOW; the owner-drawn tab
// control draws labels in its two colours and fonts.
#include "platform/gdi/gdi_test_util.h"
#include "ui/controls/CDlgTabItem.h"
#include "ui/controls/CTabCtrlEx.h"

namespace {

constexpr UINT kPageId = 700;

HINSTANCE PageResources()
{
    static HINSTANCE h = vxw::RegisterResourceModule("controls-test-pages", [](vxw::ResourceModule& m) {
        vxw::DialogTemplate t;
        t.style = WS_CHILD;
        t.cx = 100;
        t.cy = 60;
        t.items.push_back({"STATIC", -1, "page", WS_CHILD | WS_VISIBLE, 0, 4, 4, 40, 8});
        m.AddDialog(kPageId, t);
    });
    return h;
}

class CountingPage : public CDlgTabItem {
public:
    explicit CountingPage(CWnd* parent) : CDlgTabItem(kPageId, parent) {}
    int loads = 0;
    bool visibleAtLoad = false;

protected:
    void OnShowWindow() override
    {
        ++loads;
        visibleAtLoad = IsWindowVisible() != FALSE;
    }
};

class Host : public CWnd {
public:
    Host() { CreateEx(0, "VxTabHost", "", WS_POPUP | WS_VISIBLE, 0, 0, 320, 200, nullptr, nullptr); }
};

TEST(CDlgTabItem, FirstShowWindowOfAnyKindLoadsOnceAndNeverAgain)
{
    PageResources();
    Host host;
    CountingPage page(&host);
    EXPECT_EQ(page.m_bFirstShowDone, FALSE);
    ASSERT_TRUE(page.Create(kPageId, &host));
    EXPECT_EQ(page.loads, 0);
    page.ShowWindow(SW_HIDE);  // hidden while hidden: still the first WM_SHOWWINDOW
    EXPECT_EQ(page.loads, 1);
    EXPECT_EQ(page.m_bFirstShowDone, TRUE);
    page.ShowWindow(SW_SHOW);
    page.ShowWindow(SW_HIDE);
    page.ShowWindow(SW_SHOW);
    EXPECT_EQ(page.loads, 1);
    EXPECT_TRUE(page.IsKindOf(RUNTIME_CLASS(CDialog)));
    page.DestroyWindow();
}

TEST(CDlgTabItem, EachPageLoadsAtItsOwnFirstShow)
{
    PageResources();
    Host host;
    CountingPage first(&host), second(&host);
    ASSERT_TRUE(first.Create(kPageId, &host));
    ASSERT_TRUE(second.Create(kPageId, &host));
    first.ShowWindow(SW_SHOW);
    EXPECT_EQ(first.loads, 1);
    EXPECT_EQ(second.loads, 0);
    second.ShowWindow(SW_SHOW);
    EXPECT_EQ(second.loads, 1);
    first.DestroyWindow();
    second.DestroyWindow();
}

// Draws one tab of the control into a memory DC.
struct DrawnTab {
    DrawnTab(CTabCtrlEx& tabs, int item, int w = 80, int h = 22) : dc(w, h, kMagenta)
    {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_TAB;
        dis.itemID = static_cast<UINT>(item);
        dis.hDC = dc.dc;
        dis.rcItem = RECT{0, 0, w, h};
        tabs.DrawItem(&dis);
    }
    bool Has(COLORREF c) const { return Count(c) > 0; }
    int Count(COLORREF c) const
    {
        int n = 0;
        BITMAP bm{};
        GetObject(dc.bmp, sizeof bm, &bm);
        for (int y = 0; y < bm.bmHeight; ++y)
            for (int x = 0; x < bm.bmWidth; ++x)
                n += dc.At(x, y) == c;
        return n;
    }
    // The leftmost column holding a pixel of colour c, or -1.
    int LeftOf(COLORREF c) const
    {
        BITMAP bm{};
        GetObject(dc.bmp, sizeof bm, &bm);
        for (int x = 0; x < bm.bmWidth; ++x)
            for (int y = 0; y < bm.bmHeight; ++y)
                if (dc.At(x, y) == c)
                    return x;
        return -1;
    }
    MemDc dc;
};

struct TabFixture : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(4, 4, 300, 40), &host, 10));
        EXPECT_TRUE(tabs.GetStyle() & TCS_OWNERDRAWFIXED);
        EXPECT_TRUE(tabs.IsWindowVisible());
    }
    Host host;
    CTabCtrlEx tabs;
};

TEST_F(TabFixture, LabelsTakeTheSelectedAndUnselectedColours)
{
    tabs.InsertItem(0, "Video");
    tabs.InsertItem(1, "Audio");
    tabs.SetCurSel(0);
    tabs.SetColours(RGB(200, 0, 0), RGB(0, 120, 0));
    DrawnTab sel(tabs, 0), unsel(tabs, 1);
    EXPECT_TRUE(sel.Has(RGB(200, 0, 0)));
    EXPECT_FALSE(sel.Has(RGB(0, 120, 0)));
    EXPECT_TRUE(unsel.Has(RGB(0, 120, 0)));
    EXPECT_FALSE(unsel.Has(RGB(200, 0, 0)));
    // The face fills the tab below the raised edge; the edge row stays.
    EXPECT_EQ(sel.dc.At(1, 0), kMagenta);
    EXPECT_EQ(sel.dc.At(1, 10), GetSysColor(COLOR_BTNFACE));
    // A negative item draws nothing.
    DrawnTab none(tabs, -1);
    EXPECT_EQ(none.dc.At(1, 10), kMagenta);
}

TEST_F(TabFixture, AnIconIndentsItsLabelAndImageMinusOneDoesNot)
{
    CImageList images;
    images.Create(12, 12, ILC_COLOR32, 1, 1);
    CBitmap bm;
    {
        MemDc pic(12, 12, RGB(10, 20, 200));
        bm.Attach(pic.bmp);
        pic.bmp = CreateBitmap(1, 1, 1, 1, nullptr);  // keep the picture out of the DC's clean-up
        SelectObject(pic.dc, pic.bmp);
    }
    images.Add(&bm, static_cast<CBitmap*>(nullptr));
    tabs.InsertItem(0, "Cam", 0);
    tabs.InsertItem(1, "Cam", -1);
    tabs.SetCurSel(0);
    tabs.SetColours(kBlack, kBlack);
    DrawnTab noList(tabs, 1);
    tabs.SetImageList(&images);
    DrawnTab withIcon(tabs, 0), minusOne(tabs, 1);
    EXPECT_TRUE(withIcon.Has(RGB(10, 20, 200)));
    EXPECT_FALSE(minusOne.Has(RGB(10, 20, 200)));
    EXPECT_EQ(minusOne.LeftOf(kBlack), noList.LeftOf(kBlack));
    // The icon stands one blank's width in from the left edge.
    int iconLeft = withIcon.LeftOf(RGB(10, 20, 200));
    EXPECT_GT(iconLeft, 0);
    EXPECT_LT(iconLeft, 10);
    tabs.SetImageList(nullptr);
}

TEST_F(TabFixture, LongLabelsAreCutTo63Characters)
{
    std::string longLabel(63, 'i');
    tabs.InsertItem(0, (longLabel + "WWWWWWWWWW").c_str());
    tabs.InsertItem(1, longLabel.c_str());
    tabs.SetColours(kBlack, kBlack);
    DrawnTab cut(tabs, 0, 600), plain(tabs, 1, 600);
    EXPECT_EQ(cut.Count(kBlack), plain.Count(kBlack));
}

TEST_F(TabFixture, SetFontsBuildsBothFontsFromTheCurrentOne)
{
    // Made in code, the control has no font: the system's message font.
    ASSERT_EQ(tabs.SendMessage(WM_GETFONT), 0);
    NONCLIENTMETRICS ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    tabs.SetFonts(700, 1, 0, 400, 0, 1);
    LOGFONT sel{}, unsel{};
    tabs.m_SelFont.GetLogFont(&sel);
    tabs.m_UnselFont.GetLogFont(&unsel);
    EXPECT_STREQ(sel.lfFaceName, ncm.lfMessageFont.lfFaceName);
    EXPECT_EQ(sel.lfHeight, ncm.lfMessageFont.lfHeight);
    EXPECT_EQ(sel.lfWeight, 700);
    EXPECT_EQ(sel.lfItalic, 1);
    EXPECT_EQ(unsel.lfWeight, 400);
    EXPECT_EQ(unsel.lfUnderline, 1);
    // The heavier selected font is the control's.
    EXPECT_EQ(reinterpret_cast<HFONT>(tabs.SendMessage(WM_GETFONT)), static_cast<HFONT>(tabs.m_SelFont));

    // Again, now that the control's font is one about to be replaced.
    tabs.SetFonts(400, 0, 0, 400, 0, 0);
    tabs.m_SelFont.GetLogFont(&sel);
    tabs.m_UnselFont.GetLogFont(&unsel);
    EXPECT_STREQ(sel.lfFaceName, ncm.lfMessageFont.lfFaceName);
    EXPECT_EQ(unsel.lfHeight, ncm.lfMessageFont.lfHeight);
    EXPECT_EQ(sel.lfWeight, 400);
    EXPECT_EQ(unsel.lfWeight, 400);
    EXPECT_EQ(unsel.lfUnderline, 0);
    EXPECT_EQ(reinterpret_cast<HFONT>(tabs.SendMessage(WM_GETFONT)), static_cast<HFONT>(tabs.m_UnselFont));
}

TEST_F(TabFixture, SetFontsFromFontsCopiesThemAndSetsTheSmallerHeight)
{
    CFont big, small;
    big.CreatePointFont(140, "Sans");
    small.CreatePointFont(80, "Sans");
    LOGFONT bigLf{}, smallLf{};
    big.GetLogFont(&bigLf);
    small.GetLogFont(&smallLf);
    tabs.SetFonts(&small, &big);
    LOGFONT sel{};
    tabs.m_SelFont.GetLogFont(&sel);
    EXPECT_EQ(sel.lfHeight, smallLf.lfHeight);
    HFONT onControl = reinterpret_cast<HFONT>(tabs.SendMessage(WM_GETFONT));
    // The selected font goes on the control when the unselected height is
    // the smaller number (negative for point sizes: the bigger font).
    EXPECT_EQ(onControl, bigLf.lfHeight < smallLf.lfHeight ? static_cast<HFONT>(tabs.m_SelFont)
                                                           : static_cast<HFONT>(tabs.m_UnselFont));
    // Our own fonts as the source survive being rebuilt.
    tabs.SetFonts(&tabs.m_SelFont, &tabs.m_UnselFont);
    LOGFONT again{};
    tabs.m_SelFont.GetLogFont(&again);
    EXPECT_EQ(again.lfHeight, smallLf.lfHeight);
}

TEST(CTabCtrlEx, TemplateControlsBecomeOwnerDrawnWhenSubclassed)
{
    Host host;
    HWND raw = CreateWindowEx(0, WC_TABCONTROL, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 30, host.GetSafeHwnd(),
                              reinterpret_cast<HMENU>(static_cast<intptr_t>(11)), nullptr, nullptr);
    ASSERT_NE(raw, nullptr);
    EXPECT_FALSE(GetWindowLong(raw, GWL_STYLE) & TCS_OWNERDRAWFIXED);
    CTabCtrlEx tabs;
    ASSERT_TRUE(tabs.SubclassDlgItem(11, &host));
    EXPECT_TRUE(tabs.GetStyle() & TCS_OWNERDRAWFIXED);
    EXPECT_TRUE(tabs.IsKindOf(RUNTIME_CLASS(CTabCtrl)));
}

}  // namespace

VX_UI_TEST_MAIN()

// Top-level windows are asked for their size limits at creation, before a
// size change and before maximising.
#include "ui_test_env.h"

namespace {

class Limited : public CWnd {
public:
    int asked = 0;

protected:
    void OnGetMinMaxInfo(MINMAXINFO* mmi)
    {
        ++asked;
        mmi->ptMinTrackSize = POINT{150, 120};
        mmi->ptMaxPosition = POINT{5, 6};
        mmi->ptMaxSize = POINT{300, 200};
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Limited, CWnd)
ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

TEST(MinMaxInfo, MinimumTrackSizeAndMaximisedPlace)
{
    Limited wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "VxLimited", "limited", WS_POPUP | WS_VISIBLE, 20, 20, 200, 150, nullptr, nullptr));
    EXPECT_GE(wnd.asked, 1);
    const int afterCreate = wnd.asked;
    wnd.MoveWindow(20, 20, 50, 40);
    EXPECT_GT(wnd.asked, afterCreate);
    CRect rc;
    wnd.GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 150);
    EXPECT_EQ(rc.Height(), 120);
    wnd.ShowWindow(SW_MAXIMIZE);
    EXPECT_TRUE(wnd.IsZoomed());
    wnd.GetWindowRect(&rc);
    EXPECT_EQ(rc, CRect(5, 6, 305, 206));
    wnd.DestroyWindow();
}

}  // namespace

VX_UI_TEST_MAIN()

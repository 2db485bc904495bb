// Sliders tell their parent as they paint, so a page can show the position.
#include "ui_test_env.h"

#include "platform/ui/WindowRegistry_p.h"

#include <QAbstractSlider>
#include <QWidget>

namespace {

constexpr UINT IDC_SLIDER = 101;

class SliderParent : public CWnd {
public:
    int paints = 0;
    int lastPos = -1;
    int releases = 0;
    CSliderCtrl slider;

protected:
    void OnSliderDraw(NMHDR* hdr, LRESULT* result)
    {
        auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(hdr);
        EXPECT_EQ(cd->dwDrawStage, static_cast<DWORD>(CDDS_PREPAINT));
        EXPECT_EQ(hdr->hwndFrom, slider.GetSafeHwnd());
        ++paints;
        lastPos = slider.GetPos();
        *result = CDRF_DODEFAULT;
    }
    void OnSliderReleased(NMHDR* hdr, LRESULT*)
    {
        EXPECT_EQ(hdr->hwndFrom, slider.GetSafeHwnd());
        ++releases;
        lastPos = slider.GetPos();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SliderParent, CWnd)
ON_NOTIFY(NM_CUSTOMDRAW, IDC_SLIDER, OnSliderDraw)
ON_NOTIFY(NM_RELEASEDCAPTURE, IDC_SLIDER, OnSliderReleased)
END_MESSAGE_MAP()

}  // namespace

TEST(CustomDraw, SliderNotifiesItsParentAsItPaints)
{
    SliderParent parent;
    ASSERT_TRUE(parent.CreateEx(0, "VxSliderParent", "p", WS_POPUP | WS_VISIBLE, 0, 0, 200, 60, nullptr, nullptr));
    ASSERT_TRUE(parent.slider.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 190, 40), &parent, IDC_SLIDER));
    parent.slider.SetRange(0, 255);
    parent.slider.SetPos(77);
    vxw::WidgetOf(parent.GetSafeHwnd())->grab();  // paints the slider
    EXPECT_GT(parent.paints, 0);
    EXPECT_EQ(parent.lastPos, 77);
    parent.DestroyWindow();
}

TEST(CustomDraw, SliderTellsItsParentWhenTheMouseLetsGo)
{
    SliderParent parent;
    ASSERT_TRUE(parent.CreateEx(0, "VxSliderParent", "p", WS_POPUP | WS_VISIBLE, 0, 0, 200, 60, nullptr, nullptr));
    ASSERT_TRUE(parent.slider.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 190, 40), &parent, IDC_SLIDER));
    parent.slider.SetRange(0, 255);
    auto* q = qobject_cast<QAbstractSlider*>(vxw::WidgetOf(parent.slider.GetSafeHwnd()));
    ASSERT_NE(q, nullptr);
    q->setSliderDown(true);
    q->setValue(200);
    EXPECT_EQ(parent.releases, 0);
    q->setSliderDown(false);  // what letting go of the dragged thumb does
    EXPECT_EQ(parent.releases, 1);
    EXPECT_EQ(parent.lastPos, 200);
    parent.DestroyWindow();
}

VX_UI_TEST_MAIN()

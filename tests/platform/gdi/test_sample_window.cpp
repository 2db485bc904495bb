// An owner-drawn sample window painted with the drawing calls a skinned
// window uses (edges, masked pictures, image lists, keyed and blended
// pictures, text with ellipses, a shaped child, an owner-drawn button); its
// offscreen screenshot is saved under the build folder to be looked at.
#include "gdi_test_util.h"

#include "platform/ui/CButton.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/CStatic.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QDir>
#include <QImage>
#include <QWidget>

namespace {

constexpr int kW = 320;
constexpr int kH = 180;
constexpr int kButtonId = 1001;
constexpr int kTabId = 1002;
constexpr int kStaticId = 1003;
constexpr int kListId = 1004;

// A picture of a round "button" on the magenta key colour.
HBITMAP RoundPicture(int size, COLORREF face)
{
    HDC screen = ::GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bm = CreateCompatibleBitmap(screen, size, size);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bm);
    RECT all{0, 0, size, size};
    HBRUSH key = CreateSolidBrush(kMagenta);
    FillRect(dc, &all, key);
    HBRUSH fill = CreateSolidBrush(face);
    HGDIOBJ oldBrush = SelectObject(dc, fill);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, 0, 0, size, size);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SelectObject(dc, old);
    DeleteObject(fill);
    DeleteObject(key);
    DeleteDC(dc);
    return bm;
}

class ShapedChild : public CWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT) {
            CPaintDC dc(this);
            CRect rc;
            GetClientRect(&rc);
            dc.FillSolidRect(&rc, RGB(220, 60, 40));
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextColor(kWhite);
            dc.DrawText("REC", -1, &rc, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class SampleWnd : public CWnd {
public:
    ~SampleWnd() override
    {
        DeleteObject(m_round);
        DeleteObject(m_strip);
    }
    void Prepare()
    {
        m_round = RoundPicture(32, RGB(40, 140, 60));
        HDC screen = ::GetDC(nullptr);
        m_strip = CreateCompatibleBitmap(screen, 48, 16);
        HDC dc = CreateCompatibleDC(screen);
        ::ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, m_strip);
        RECT all{0, 0, 48, 16};
        HBRUSH key = CreateSolidBrush(kMagenta);
        FillRect(dc, &all, key);
        DeleteObject(key);
        const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 200)};
        for (int i = 0; i < 3; ++i) {
            HBRUSH b = CreateSolidBrush(colours[i]);
            RECT r{i * 16 + 3, 3 + i, i * 16 + 13, 13};
            FillRect(dc, &r, b);
            DeleteObject(b);
        }
        SelectObject(dc, old);
        DeleteDC(dc);
        m_list.Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 1);
        m_list.Add(CBitmap::FromHandle(m_strip), kMagenta);
    }
    std::vector<DRAWITEMSTRUCT> drawn;
    CImageList* Images() { return &m_list; }
    const DRAWITEMSTRUCT* Last(UINT type, UINT item = 0) const
    {
        for (auto it = drawn.rbegin(); it != drawn.rend(); ++it)
            if (it->CtlType == type && it->itemID == item)
                return &*it;
        return nullptr;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT) {
            CPaintDC dc(this);
            Paint(dc);
            return 0;
        }
        if (message == WM_DRAWITEM) {
            auto* dis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
            drawn.push_back(*dis);
            CDC* dc = CDC::FromHandle(dis->hDC);
            CRect rc(dis->rcItem);
            bool selected = dis->itemState & ODS_SELECTED;
            dc->SetBkMode(TRANSPARENT);
            if (dis->CtlType == ODT_BUTTON) {
                dc->FillSolidRect(&rc, selected ? RGB(90, 90, 160) : RGB(60, 60, 120));
                dc->Draw3dRect(&rc, selected ? RGB(20, 20, 60) : RGB(160, 160, 230),
                               selected ? RGB(160, 160, 230) : RGB(20, 20, 60));
                dc->SetTextColor((dis->itemState & ODS_DISABLED) ? RGB(140, 140, 140) : kWhite);
                dc->DrawText("Record", -1, &rc, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
            } else if (dis->CtlType == ODT_TAB) {
                // An image from the list, then the label: the selected tab
                // stands higher and in another colour.
                dc->FillSolidRect(&rc, GetSysColor(COLOR_BTNFACE));
                m_list.Draw(dc, static_cast<int>(dis->itemID), CPoint(rc.left + 4, rc.top + 3), ILD_TRANSPARENT);
                CRect text = rc;
                text.left += 22;
                dc->SetTextColor(selected ? RGB(0, 0, 160) : RGB(90, 90, 90));
                dc->DrawText(dis->itemID == 0 ? "Live" : "Playback", -1, &text,
                             DT_SINGLELINE | DT_LEFT | (selected ? DT_VCENTER : DT_BOTTOM));
            } else if (dis->CtlType == ODT_STATIC) {
                dc->FillSolidRect(&rc, RGB(250, 240, 200));
                CBrush border(RGB(180, 120, 0));
                dc->FrameRect(&rc, &border);
                dc->SetTextColor(RGB(120, 60, 0));
                dc->DrawText("12:00:00", -1, &rc, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
            }
            return TRUE;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    void Paint(CDC& dc)
    {
        CRect rc;
        GetClientRect(&rc);
        // A banded face with a raised edge.
        for (int y = 0; y < rc.Height(); y += 10)
            dc.FillSolidRect(0, y, rc.Width(), 10, RGB(70 + y / 2, 90 + y / 3, 130 + y / 4));
        CRect edge = rc;
        dc.DrawEdge(&edge, EDGE_RAISED, BF_RECT);

        // Title text, centred, and a long name cut with an ellipsis.
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(kWhite);
        CRect title(0, 4, rc.Width(), 22);
        dc.DrawText("Camera 1 - Front door", -1, &title, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        CRect name(8, 108, 120, 126);
        dc.FillSolidRect(&name, RGB(30, 30, 30));
        dc.SetTextColor(RGB(255, 230, 120));
        dc.DrawText("/records/camera1/2024/clip-0001.mp4", -1, &name, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_VCENTER);

        // A masked picture: the key colour never shows.
        CDC pic;
        pic.CreateCompatibleDC(&dc);
        CBitmap* old = pic.SelectObject(CBitmap::FromHandle(m_round));
        dc.TransparentBlt(12, 30, 32, 32, &pic, 0, 0, 32, 32, kMagenta);
        dc.TransparentBlt(52, 30, 48, 48, &pic, 0, 0, 32, 32, kMagenta);

        // A half-transparent panel over the face.
        CDC white;
        white.CreateCompatibleDC(&dc);
        CBitmap wb;
        wb.CreateCompatibleBitmap(&dc, 10, 10);
        CBitmap* oldW = white.SelectObject(&wb);
        white.FillSolidRect(0, 0, 10, 10, kWhite);
        BLENDFUNCTION bf{AC_SRC_OVER, 0, 96, 0};
        dc.AlphaBlend(110, 30, 120, 40, &white, 0, 0, 10, 10, bf);
        white.SelectObject(oldW);
        pic.SelectObject(old);

        // A row from the image list.
        for (int i = 0; i < m_list.GetImageCount(); ++i)
            m_list.Draw(&dc, i, CPoint(116 + i * 20, 40), ILD_TRANSPARENT);

        // A frame around the list row and a dotted focus rectangle.
        CBrush frame(RGB(255, 255, 0));
        CRect fr(112, 36, 180, 60);
        dc.FrameRect(&fr, &frame);
    }

    HBITMAP m_round = nullptr;
    HBITMAP m_strip = nullptr;
    CImageList m_list;
};

TEST(SampleWindow, PaintsAsIntendedAndIsSavedAsAScreenshot)
{
    SampleWnd wnd;
    wnd.Prepare();
    ASSERT_TRUE(wnd.CreateEx(0, "VxSample", "sample", WS_POPUP | WS_VISIBLE, 0, 0, kW, kH, nullptr, nullptr));
    ShapedChild child;
    ASSERT_TRUE(child.CreateEx(0, "VxShaped", "", WS_CHILD | WS_VISIBLE, CRect(180, 96, 228, 132), &wnd, 0));
    SetWindowRgn(child.GetSafeHwnd(), CreateEllipticRgn(0, 0, 48, 36), TRUE);
    CButton button;
    ASSERT_TRUE(
        button.Create("Record", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(110, 80, 170, 100), &wnd, kButtonId));
    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE | TCS_OWNERDRAWFIXED, CRect(8, 132, 160, 172), &wnd, kTabId));
    tabs.InsertItem(0, "Live", 0);
    tabs.InsertItem(1, "Playback", 1);
    CStatic clock;
    ASSERT_TRUE(clock.Create("", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, CRect(170, 140, 236, 164), &wnd, kStaticId));
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(240, 30, 316, 130), &wnd, kListId));
    list.InsertColumn(0, "Camera", LVCFMT_LEFT, 70);
    list.SetImageList(wnd.Images(), LVSIL_SMALL);
    list.InsertItem(0, "Front", 0);
    list.InsertItem(1, "Yard", 2);

    QWidget* w = vxw::WidgetOf(wnd.GetSafeHwnd());
    ASSERT_NE(w, nullptr);
    QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QString dir = QString::fromUtf8(VX_BIN_DIR) + "/../screenshots";
    QDir().mkpath(dir);
    EXPECT_TRUE(shot.save(dir + "/gdi_sample_window.png"));

    auto at = [&](int x, int y) { return shot.pixel(x, y) & 0xFFFFFF; };
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_NE(at(x, y), 0xFF00FFu) << "key colour shows at " << x << "," << y;
    EXPECT_EQ(at(28, 46), 0x288C3Cu);    // the round picture's face
    EXPECT_EQ(at(192, 104), 0xDC3C28u);  // inside the shaped child
    EXPECT_NE(at(181, 97), 0xDC3C28u);   // its corner is cut away
    // The owner-drawn controls were drawn by their parent, each in its own
    // rectangle and with its states.
    const DRAWITEMSTRUCT* b = wnd.Last(ODT_BUTTON);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->CtlID, static_cast<UINT>(kButtonId));
    EXPECT_EQ(b->rcItem.right, 60);
    EXPECT_EQ(b->itemState & (ODS_SELECTED | ODS_DISABLED), 0u);
    EXPECT_EQ(at(112, 90), 0x3C3C78u);
    const DRAWITEMSTRUCT* live = wnd.Last(ODT_TAB, 0);
    const DRAWITEMSTRUCT* playback = wnd.Last(ODT_TAB, 1);
    ASSERT_TRUE(live && playback);
    EXPECT_EQ(live->itemState & ODS_SELECTED, static_cast<UINT>(ODS_SELECTED));
    EXPECT_EQ(playback->itemState & ODS_SELECTED, 0u);
    ASSERT_NE(wnd.Last(ODT_STATIC), nullptr);
    EXPECT_EQ(wnd.Last(ODT_STATIC)->CtlID, static_cast<UINT>(kStaticId));
    // The list view shows the image list's pictures beside its rows.
    bool red = false, blue = false;
    for (int y = 40; y < 100; ++y)
        for (int x = 240; x < 316; ++x) {
            red = red || at(x, y) == 0xC80000u;
            blue = blue || at(x, y) == 0x0000C8u;
        }
    EXPECT_TRUE(red && blue);
    // Disabled, the button is drawn again with that state.
    button.EnableWindow(FALSE);
    w->grab();
    EXPECT_EQ(wnd.Last(ODT_BUTTON)->itemState & ODS_DISABLED, static_cast<UINT>(ODS_DISABLED));
    child.DestroyWindow();
    wnd.DestroyWindow();
}

}  // namespace

VX_UI_TEST_MAIN()

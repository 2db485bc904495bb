#include "camera/dialogs/motion/CMotionPic.h"

#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kDownloadTimeoutMs = 10000;
constexpr int kFillAlpha = 100;
constexpr uint32_t kSelectedFrame = 0x00ffff80;  // RGB(255, 255, 128)

std::string NewPicturePath()
{
    static std::atomic<int> counter{0};
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    if (ec)
        dir = "/tmp";
    return (dir / ("vxcam-zones-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".jpg")).string();
}

uint32_t Pixel(COLORREF c)
{
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

}  // namespace

ZonePictureFile::~ZonePictureFile()
{
    if (!path.empty())
        std::remove(path.c_str());
}

BEGIN_MESSAGE_MAP(CZonePictureStatic, CWnd)
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

void CZonePictureStatic::Forward(UINT message, UINT nFlags, CPoint point)
{
    CWnd* parent = GetParent();
    if (!parent)
        return;
    ClientToScreen(&point);
    parent->ScreenToClient(&point);
    parent->SendMessage(message, nFlags, MAKELPARAM(point.x, point.y));
}

void CZonePictureStatic::OnLButtonDown(UINT nFlags, CPoint point)
{
    Forward(WM_LBUTTONDOWN, nFlags, point);
}

void CZonePictureStatic::OnMouseMove(UINT nFlags, CPoint point)
{
    Forward(WM_MOUSEMOVE, nFlags, point);
}

void CZonePictureStatic::OnLButtonUp(UINT nFlags, CPoint point)
{
    Forward(WM_LBUTTONUP, nFlags, point);
}

BEGIN_MESSAGE_MAP(CZoneDialog, CDlgTabItem)
ON_WM_DRAWITEM()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_CANCELMODE()
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
ON_MESSAGE(UM_ZONE_PICTURE_DONE, OnPictureDone)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CZoneDialog::CZoneDialog(UINT nTemplateId, UINT nPictureId, int nMaxZones, CCameraSetupDlg* pOwner, CWnd* pParent)
    : CDlgTabItem(static_cast<int>(nTemplateId), pParent), m_pOwner(pOwner), m_nPictureId(nPictureId),
      m_layout(nMaxZones), m_file(std::make_shared<ZonePictureFile>())
{
    m_strPicturePath = NewPicturePath();
    m_file->path = m_strPicturePath;
}

CZoneDialog::~CZoneDialog() = default;

BOOL CZoneDialog::OnInitDialog()
{
    CDlgTabItem::OnInitDialog();
    m_pictureStatic.SubclassDlgItem(m_nPictureId, this);
    if (m_bDownloadAtStart)
        StartDownload();
    return TRUE;
}

BOOL CZoneDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN)
        return TRUE;
    return CDlgTabItem::PreTranslateMessage(pMsg);
}

void CZoneDialog::StartDownload()
{
    if (m_job)
        return;
    CWebWatchNB* camera = m_pOwner ? m_pOwner->Camera() : nullptr;
    if (!camera || !m_file) {
        PictureArrived(false);
        return;
    }
    auto job = std::make_shared<RequestJob>();
    // The job holds the file too: a download that ends after the dialog
    // removes it then.
    std::shared_ptr<ZonePictureFile> file = m_file;
    job->call = [camera, file](CString&) {
        return camera->Download("/web/tmpfs/snap.jpg", file->path.c_str(), kDownloadTimeoutMs);
    };
    job->notify = GetSafeHwnd();
    job->message = UM_ZONE_PICTURE_DONE;
    if (!m_pOwner->Worker().Post(job)) {
        PictureArrived(false);
        return;
    }
    m_job = std::move(job);
}

LRESULT CZoneDialog::OnPictureDone(WPARAM, LPARAM)
{
    if (!m_job || !m_job->done)
        return 0;
    std::shared_ptr<RequestJob> job = std::move(m_job);
    bool ok = job->called && m_picture.SetImage(m_file->path.c_str()) && m_picture.HasImage();
    CRect pic = PictureRect();
    // A picture of no size counts as not loaded: nothing could be mapped.
    m_bLoaded = ok && pic.Width() > 0 && pic.Height() > 0;
    if (m_bLoaded)
        m_layout.Map({pic.Width(), pic.Height()}, VideoSizeFor({pic.Width(), pic.Height()}));
    PictureArrived(m_bLoaded);
    Repaint();
    return 0;
}

CRect CZoneDialog::PictureRect() const
{
    CRect r;
    if (CWnd* pic = GetDlgItem(static_cast<int>(m_nPictureId))) {
        pic->GetWindowRect(&r);
        ScreenToClient(&r);
    }
    return r;
}

CPoint CZoneDialog::ToPicture(CPoint client, bool clamp) const
{
    CRect pic = PictureRect();
    CPoint p(client.x - pic.left, client.y - pic.top);
    if (clamp) {
        // The mouse stays confined to the picture while its button is down.
        p.x = std::clamp<LONG>(p.x, 0, std::max(pic.Width() - 1, 0));
        p.y = std::clamp<LONG>(p.y, 0, std::max(pic.Height() - 1, 0));
    }
    return p;
}

void CZoneDialog::Repaint()
{
    if (CWnd* pic = GetDlgItem(static_cast<int>(m_nPictureId)))
        pic->Invalidate(FALSE);
}

void CZoneDialog::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT dis)
{
    if (static_cast<UINT>(nIDCtl) != m_nPictureId || !dis) {
        CDlgTabItem::OnDrawItem(nIDCtl, dis);
        return;
    }
    int w = dis->rcItem.right - dis->rcItem.left, h = dis->rcItem.bottom - dis->rcItem.top;
    if (!m_bLoaded || w <= 0 || h <= 0) {
        ::FillRect(dis->hDC, &dis->rcItem, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
        return;
    }
    // The picture and its zones are put together off screen, then copied.
    HDC mem = ::CreateCompatibleDC(dis->hDC);
    HBITMAP bitmap = ::CreateCompatibleBitmap(dis->hDC, w, h);
    if (!mem || !bitmap) {
        if (bitmap)
            ::DeleteObject(bitmap);
        if (mem)
            ::DeleteDC(mem);
        return;
    }
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    m_picture.DrawImage(mem, 0, 0, w, h);
    ::SelectObject(mem, old);
    // The blend works on the bitmap's pixels (rows top-down, 0x00RRGGBB).
    std::vector<uint32_t> px(static_cast<size_t>(w) * static_cast<size_t>(h));
    LONG bytes = static_cast<LONG>(px.size() * sizeof(uint32_t));
    if (::GetBitmapBits(bitmap, bytes, px.data()) == bytes) {
        uint32_t fill = Pixel(m_fill);
        for (const zones::Zone& z : m_layout.Zones()) {
            zones::BlendRect(px.data(), w, h, z.picture, fill, kFillAlpha);
            if (z.selected)
                zones::FrameRect(px.data(), w, h, z.picture, kSelectedFrame);
        }
        if (m_layout.Drawing())
            zones::BlendRect(px.data(), w, h, m_layout.Rubber(), fill, kFillAlpha);
        for (uint32_t& p : px)
            p |= 0xff000000u;  // opaque, as the bitmap's pixels are
        ::SetBitmapBits(bitmap, bytes, px.data());
    }
    old = ::SelectObject(mem, bitmap);
    ::BitBlt(dis->hDC, dis->rcItem.left, dis->rcItem.top, w, h, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
}

void CZoneDialog::OnLButtonDown(UINT, CPoint point)
{
    if (!m_bLoaded || !PictureRect().PtInRect(point))
        return;
    CPoint p = ToPicture(point, false);
    if (m_layout.PressRefusedWhenFull(p.x, p.y)) {
        PressRefused();
        return;
    }
    if (!m_layout.Press(p.x, p.y))
        return;
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    CRect screen = PictureRect();
    ClientToScreen(&screen);
    ::ClipCursor(&screen);
    SetCapture();
    m_bCaptured = true;
}

void CZoneDialog::OnMouseMove(UINT, CPoint point)
{
    if (!m_layout.Pressed())
        return;
    CPoint p = ToPicture(point, true);
    if (!m_layout.Full())
        ::SetCursor(::LoadCursor(nullptr, IDC_CROSS));
    if (m_layout.Move(p.x, p.y))
        Repaint();
}

void CZoneDialog::OnLButtonUp(UINT, CPoint point)
{
    if (!m_layout.Pressed())
        return;
    CPoint p = ToPicture(point, true);
    m_layout.Release(p.x, p.y);
    ReleaseMouse();
    Repaint();
}

void CZoneDialog::ReleaseMouse()
{
    if (!m_bCaptured)
        return;
    m_bCaptured = false;
    ::ClipCursor(nullptr);
    ::ReleaseCapture();
}

void CZoneDialog::OnCancelMode()
{
    m_layout.CancelPress();
    ReleaseMouse();
    Repaint();
}

LRESULT CZoneDialog::OnCaptureChanged(WPARAM, LPARAM)
{
    // Someone else took the mouse: the press ends without effect, and the
    // cursor is free again for whoever holds it now.
    if (m_bCaptured) {
        m_bCaptured = false;
        ::ClipCursor(nullptr);
    }
    if (m_layout.Pressed()) {
        m_layout.CancelPress();
        Repaint();
    }
    return 0;
}

void CZoneDialog::OnCancel()
{
    m_layout.CancelPress();
    ReleaseMouse();
    CDlgTabItem::OnCancel();
}

void CZoneDialog::OnDestroy()
{
    m_layout.CancelPress();
    ReleaseMouse();
    // The file goes now, or with the download that still holds it.
    m_job.reset();
    m_file.reset();
    CDlgTabItem::OnDestroy();
}

// ---- the motion zones ----

BEGIN_MESSAGE_MAP(CMotionPic, CZoneDialog)
ON_BN_CLICKED(IDC_ZONE_DELETE_SELECTED, OnDeleteSelected)
ON_BN_CLICKED(IDC_ZONE_DELETE_ALL, OnDeleteAll)
ON_BN_CLICKED(IDC_REFRESH, OnRefresh)
END_MESSAGE_MAP()

CMotionPic::CMotionPic(CCameraSetupDlg* pOwner, CWnd* pParent)
    : CZoneDialog(IDD_MOTION_ZONES, IDC_ZONE_PICTURE, 4, pOwner, pParent)
{}

BOOL CMotionPic::OnInitDialog()
{
    m_video = zones::VideoSize(m_nVideoMode);
    std::vector<zones::Rect> video;
    for (int i = 0; i < std::clamp(m_nZoneCount, 0, 4); ++i)
        video.push_back({m_rcZones[i].left, m_rcZones[i].top, m_rcZones[i].right, m_rcZones[i].bottom});
    m_layout.SetVideoZones(video);
    return CZoneDialog::OnInitDialog();
}

void CMotionPic::PictureArrived(bool ok)
{
    for (int id : {IDC_ZONE_DELETE_SELECTED, IDC_ZONE_DELETE_ALL, IDOK}) {
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(ok);
    }
}

void CMotionPic::OnRefresh()
{
    // Only while no picture is loaded: the zones stay on the one shown.
    if (!m_bLoaded)
        StartDownload();
}

void CMotionPic::OnDeleteSelected()
{
    m_layout.DeleteSelected();
    Repaint();
}

void CMotionPic::OnDeleteAll()
{
    m_layout.DeleteAll();
    Repaint();
}

void CMotionPic::OnOK()
{
    // Also reached by a click on OK only: the template's OK is no default
    // button and Enter is swallowed.
    m_layout.CancelPress();
    ReleaseMouse();
    std::vector<zones::Rect> video = m_layout.VideoZones();
    m_nZoneCount = static_cast<int>(video.size());
    for (int i = 0; i < 4; ++i) {
        zones::Rect r = i < m_nZoneCount ? video[static_cast<size_t>(i)] : zones::Rect{};
        m_rcZones[i] = {r.left, r.top, r.right, r.bottom};
    }
    CDlgTabItem::OnOK();
}

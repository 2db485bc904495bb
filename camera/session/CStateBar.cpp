#include "camera/session/CStateBar.h"

#include "camera/session/CStateBar_p.h"
#include "resources/vxcam/VxcamResources.h"
#include "resources/vxcam/resource.h"
#include "utility/vx_log.h"

#include <algorithm>
#include <cmath>

using namespace statebar;

BEGIN_MESSAGE_MAP(CStateBar, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_MOUSEWHEEL()
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
ON_MESSAGE(WM_USER + 21, OnCameraCode)
ON_MESSAGE(WM_USER + 22, OnCameraCode)
ON_MESSAGE(WM_USER + 23, OnCameraCode)
ON_MESSAGE(WM_USER + 24, OnCameraCode)
ON_MESSAGE(WM_USER + 25, OnCameraCode)
ON_MESSAGE(WM_USER + 26, OnCameraCode)
ON_MESSAGE(WM_USER + 27, OnCameraCode)
ON_MESSAGE(WM_USER + 28, OnCameraCode)
ON_MESSAGE(WM_USER + 29, OnCameraCode)
ON_MESSAGE(WM_USER + 30, OnCameraCode)
ON_MESSAGE(WM_USER + 31, OnCameraCode)
ON_MESSAGE(WM_USER + 32, OnCameraCode)
ON_MESSAGE(WM_USER + 33, OnCameraCode)
ON_COMMAND(ID_VIDEO_FULLSCREEN, OnMenuFullscreen)
ON_COMMAND(ID_VIDEO_EXIT_FULLSCREEN, OnMenuExitFullscreen)
ON_COMMAND(ID_VIDEO_PROPERTIES, OnMenuProperties)
ON_COMMAND_RANGE(ID_VIDEO_SHOW_BITRATE, ID_VIDEO_FULL_FIT, OnMenuNotice)
END_MESSAGE_MAP()

namespace {

CString LoadVxcamString(UINT id)
{
    // By the module's handle: the recorder's own table, first in the search
    // chain, has strings of the same ids.
    char buf[512];
    int n = ::LoadString(VxcamResourceHandle(), id, buf, static_cast<int>(sizeof buf));
    return n > 0 ? CString(buf) : CString();
}

// The status text each forwarded code leaves; 0 clears it.
UINT StatusStringOf(UINT code)
{
    switch (code) {
    case kConnecting:
        return IDS_VX_CONNECTING;
    case kConnectFailed:
        return IDS_VX_CONNECT_FAILED;
    case kVideoStarting:
        return IDS_VX_STARTING_VIDEO;
    case kVideoFailed:
        return IDS_VX_STREAM_FAILED;
    case kDisconnecting:
        return IDS_VX_DISCONNECTING;
    default:
        return 0;
    }
}

// Codes after which the window has no picture of the stream any more.
bool EndsPicture(UINT code)
{
    switch (code) {
    case kConnecting:
    case kConnectFailed:
    case kVideoStarting:
    case kVideoFailed:
    case kVideoStopped:
    case kDisconnecting:
    case kDisconnected:
        return true;
    default:
        return false;
    }
}

}  // namespace

CStateBar::CStateBar() = default;

CStateBar::~CStateBar()
{
    vx_log(VX_LOG_TRACE, "CStateBar::~CStateBar");
    if (m_hWnd)
        DestroyWindow();
}

BOOL CStateBar::CreateSurface(CWnd* pCameraWnd, int nIndex, HWND hNotify, BOOL bLive)
{
    m_nIndex = nIndex;
    m_hNotify = hNotify;
    m_bLive = bLive;
    m_pCameraWnd = pCameraWnd;
    if (!Create(nullptr, "Hollowmere Video", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pCameraWnd,
                static_cast<UINT>(nIndex))) {
        vx_log(VX_LOG_ERROR, "create video window failed.");
        return FALSE;
    }
    return TRUE;
}

void CStateBar::SetMenuStateSource(std::function<MenuState()> source)
{
    m_fnMenuState = std::move(source);
}

CWnd* CStateBar::CameraWindow()
{
    if (!m_pCameraWnd && !m_bDetached)
        m_pCameraWnd = GetParent();
    return m_pCameraWnd;
}

void CStateBar::Notify(UINT message) const
{
    if (m_hNotify)
        ::PostMessage(m_hNotify, message, static_cast<WPARAM>(m_nIndex), 0);
}

// ---- status text and painting ----

void CStateBar::SetStatusText(LPCSTR lpszText)
{
    m_strStatus = lpszText ? lpszText : "";
    if (m_hWnd)
        Invalidate(FALSE);
}

LRESULT CStateBar::OnCameraCode(WPARAM wParam, LPARAM)
{
    const UINT code = LOWORD(wParam);
    if (code == kVideoOut) {
        m_bPictureShown = TRUE;
        SetStatusText("");
        return 0;
    }
    if (EndsPicture(code))
        m_bPictureShown = FALSE;
    UINT id = StatusStringOf(code);
    SetStatusText(id ? LoadVxcamString(id) : CString());
    return 0;
}

std::vector<std::string> CStateBar::SplitLines(const CString& text)
{
    std::vector<std::string> lines;
    std::string s(static_cast<LPCSTR>(text));
    size_t start = 0;
    while (true) {
        size_t nl = s.find('\n', start);
        size_t end = nl == std::string::npos ? s.size() : nl;
        size_t cut = end > start && s[end - 1] == '\r' ? end - 1 : end;
        lines.push_back(s.substr(start, cut - start));
        if (nl == std::string::npos)
            break;
        start = nl + 1;
    }
    return lines;
}

void CStateBar::OnPaint()
{
    CPaintDC dc(this);
    // Our window layer draws the player's last picture over whatever the
    // window paints, so with a picture there is nothing to do here (asking
    // the player to present again would only repaint the window again).
    if (m_bPictureShown)
        return;
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, RGB(0, 0, 0));
    if (m_strStatus.IsEmpty())
        return;
    CFont* font = GetFont();
    CFont* old = font ? dc.SelectObject(font) : nullptr;
    dc.SetTextColor(RGB(255, 255, 255));
    dc.SetBkMode(TRANSPARENT);
    const std::vector<std::string> lines = SplitLines(m_strStatus);
    const int step = dc.GetTextExtent("Ag", 2).cy + 6;
    int y = (rc.Height() - step * static_cast<int>(lines.size())) / 2;
    for (const std::string& line : lines) {
        CSize ext = dc.GetTextExtent(line.c_str(), static_cast<int>(line.size()));
        dc.TextOut((rc.Width() - ext.cx) / 2, y, line.c_str(), static_cast<int>(line.size()));
        y += step;
    }
    if (old)
        dc.SelectObject(old);
}

BOOL CStateBar::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CStateBar::OnSize(UINT, int, int)
{
    Invalidate(FALSE);
}

// ---- zoom and pan ----

float CStateBar::ZoomCeiling(int cx, int cy, int screenCx, int screenCy)
{
    if (cx <= 0 || cy <= 0)
        return 0.0f;
    return std::min(2.0f * static_cast<float>(screenCx) / static_cast<float>(cx),
                    2.0f * static_cast<float>(screenCy) / static_cast<float>(cy));
}

CPoint CStateBar::ClampOrigin(CPoint origin, CSize surface, int cx, int cy)
{
    CPoint p = origin;
    p.x = std::max<LONG>(std::min<LONG>(p.x, 0), cx - surface.cx);
    p.y = std::max<LONG>(std::min<LONG>(p.y, 0), cy - surface.cy);
    return p;
}

void CStateBar::MoveTo(CPoint origin, CSize size)
{
    MoveWindow(origin.x, origin.y, size.cx, size.cy, TRUE);
}

void CStateBar::Layout()
{
    CWnd* cam = CameraWindow();
    if (!m_hWnd || !cam || m_bDetached)
        return;
    CRect client;
    cam->GetClientRect(&client);
    if (m_fZoom <= 1.0f) {
        MoveTo(CPoint(0, 0), client.Size());
        return;
    }
    CRect now;
    GetWindowRect(&now);
    cam->ScreenToClient(&now);
    CSize size(static_cast<LONG>(std::lround(client.Width() * m_fZoom)),
               static_cast<LONG>(std::lround(client.Height() * m_fZoom)));
    CPoint centre = now.CenterPoint();
    CPoint origin(centre.x - size.cx / 2, centre.y - size.cy / 2);
    MoveTo(ClampOrigin(origin, size, client.Width(), client.Height()), size);
}

void CStateBar::Reset()
{
    m_fZoom = 1.0f;
    if (m_bDragging) {
        m_bDragging = FALSE;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    Layout();
}

BOOL CStateBar::OnMouseWheel(UINT, short zDelta, CPoint)
{
    CWnd* cam = CameraWindow();
    if (!cam || m_bDetached)
        return TRUE;
    CRect client;
    cam->GetClientRect(&client);
    float ceiling =
        ZoomCeiling(client.Width(), client.Height(), ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    if (ceiling <= 0.0f)
        return TRUE;  // a camera window without a size has nothing to zoom
    float zoom = m_fZoom + static_cast<float>(zDelta) / 120.0f * 0.1f;
    zoom = std::min(zoom, ceiling);
    m_fZoom = std::max(zoom, 1.0f);
    Layout();
    return TRUE;
}

void CStateBar::OnLButtonDown(UINT, CPoint point)
{
    if (!m_bFullscreen)
        Notify(kClick);
    SetCapture();
    ClientToScreen(&point);
    m_ptDragStart = point;
    CRect now;
    GetWindowRect(&now);
    if (CWnd* cam = CameraWindow(); cam && !m_bDetached)
        cam->ScreenToClient(&now);
    m_ptDragOrigin = now.TopLeft();
    m_bDragging = TRUE;
}

void CStateBar::OnLButtonUp(UINT, CPoint)
{
    m_bDragging = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

LRESULT CStateBar::OnCaptureChanged(WPARAM, LPARAM)
{
    m_bDragging = FALSE;
    return 0;
}

void CStateBar::OnMouseMove(UINT, CPoint point)
{
    CWnd* cam = CameraWindow();
    if (!m_bDragging || !cam || m_bDetached)
        return;
    // In screen coordinates: the surface moves under the cursor, so its own
    // client coordinates of the start point no longer hold.
    ClientToScreen(&point);
    CRect client;
    cam->GetClientRect(&client);
    CRect now;
    GetWindowRect(&now);
    CPoint origin(m_ptDragOrigin.x + (point.x - m_ptDragStart.x), m_ptDragOrigin.y + (point.y - m_ptDragStart.y));
    CPoint p = ClampOrigin(origin, now.Size(), client.Width(), client.Height());
    CRect inCamera = now;
    cam->ScreenToClient(&inCamera);
    if (p != inCamera.TopLeft())
        MoveTo(p, now.Size());
}

void CStateBar::OnLButtonDblClk(UINT, CPoint)
{
    Notify(m_bFullscreen ? kExitFullscreen : kFullscreen);
}

void CStateBar::OnRButtonUp(UINT, CPoint)
{
    if (m_fZoom > 1.0f) {
        Reset();
        return;
    }
    if (m_bLive && !m_bIgnoreRightClick)
        ShowMenu();
}

// ---- the surface's own full screen ----

void CStateBar::ShowFullscreen(BOOL bOn)
{
    if (!m_hWnd || bOn == m_bDetached)
        return;
    if (bOn) {
        // Kept before leaving: once detached the surface has no parent.
        CWnd* cam = CameraWindow();
        GetWindowRect(&m_rcSaved);
        if (cam)
            cam->ScreenToClient(&m_rcSaved);
        ::SetParent(m_hWnd, nullptr);
        m_bDetached = TRUE;
        POINT cursor{};
        ::GetCursorPos(&cursor);
        CRect target(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        if (HMONITOR mon = ::MonitorFromPoint(cursor, MONITOR_DEFAULTTONULL); mon && ::GetMonitorInfo(mon, &mi))
            target = mi.rcMonitor;
        SetForegroundWindow();
        ::Sleep(10);
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, target.left, target.top, target.Width(), target.Height(), SWP_SHOWWINDOW);
        return;
    }
    m_bDetached = FALSE;
    if (m_pCameraWnd && m_pCameraWnd->GetSafeHwnd())
        ::SetParent(m_hWnd, m_pCameraWnd->GetSafeHwnd());
    MoveWindow(&m_rcSaved, TRUE);
}

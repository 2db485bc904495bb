#pragma once
// The video surface: the child of the camera window that the player draws
// into. Without a picture it paints black with a white status text that
// follows the camera window's forwarded messages; it turns clicks and its
// context menu into notices to the camera object's parent, zooms with the
// wheel, pans by dragging, and can leave the camera window to cover a
// monitor and come back.
//
// Threads: created, driven and destroyed on the GUI thread only; workers
// reach it only through messages posted to it. No locks.

#include "platform/platform.h"

#include <functional>
#include <string>
#include <vector>

class CStateBar : public CWnd {
public:
    // What the context menu needs to know about the camera object when it
    // opens; the camera object answers through SetMenuStateSource.
    struct MenuState {
        BOOL bPlaying = FALSE;
        BOOL bShowBitrate = FALSE;
        BOOL bExactFit = TRUE;
        // FALSE for entries that have no settings window: RTSP URL entries
        // and P2P id entries of family 72 reached without a direct address.
        BOOL bHasProperties = TRUE;
    };

    CStateBar();
    ~CStateBar() override;

    // Creates the surface inside the camera window ("Hollowmere Video",
    // WS_CHILD | WS_VISIBLE, an empty rectangle, the camera index as id).
    // hNotify receives the notices; bLive: only live objects have a menu.
    BOOL CreateSurface(CWnd* pCameraWnd, int nIndex, HWND hNotify, BOOL bLive);

    void SetMenuStateSource(std::function<MenuState()> source);
    void SetIgnoreRightClick(BOOL bIgnore) { m_bIgnoreRightClick = bIgnore; }
    void SetNotifyWindow(HWND hNotify) { m_hNotify = hNotify; }
    void SetLive(BOOL bLive) { m_bLive = bLive; }

    // Zoom back to 1.0, no drag; the surface covers the camera window again.
    void Reset();
    // Lays the surface out over the camera window at the current zoom
    // (the camera window calls it when its size changes).
    void Layout();
    void SetStatusText(LPCSTR lpszText);
    const CString& GetStatusText() const { return m_strStatus; }
    BOOL IsPictureShown() const { return m_bPictureShown; }
    float GetZoom() const { return m_fZoom; }

    // The camera object's full screen: only the flag (the host moves the
    // camera window); it decides the menu and the double click.
    void SetFullscreen(BOOL bFullscreen) { m_bFullscreen = bFullscreen; }
    BOOL IsFullscreen() const { return m_bFullscreen; }
    // The surface's own full screen: on leaves the camera window and covers
    // the monitor under the cursor, topmost; off goes back where it was.
    void ShowFullscreen(BOOL bOn);
    BOOL IsDetached() const { return m_bDetached; }

    // The status text's lines ("\r\n" or "\n" between them).
    static std::vector<std::string> SplitLines(const CString& text);
    // The largest zoom for a camera window of cx by cy on a screen of
    // screenCx by screenCy; 0 when the camera window has no size.
    static float ZoomCeiling(int cx, int cy, int screenCx, int screenCy);
    // Keeps a surface of the given size covering a camera window of cx by
    // cy: x between cx - width and 0, y likewise.
    static CPoint ClampOrigin(CPoint origin, CSize surface, int cx, int cy);
    // Takes out of the video menu's popup what does not apply (by command
    // and, as the layout keeps separators there, by position).
    static void PrepareMenu(CMenu& popup, BOOL bFullscreen, const MenuState& state);

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnCameraCode(WPARAM wParam, LPARAM lParam);
    void OnMenuFullscreen();
    void OnMenuExitFullscreen();
    void OnMenuProperties();
    void OnMenuNotice(UINT nID);
    DECLARE_MESSAGE_MAP()

private:
    CWnd* CameraWindow();
    void Notify(UINT message) const;
    void MoveTo(CPoint origin, CSize size);
    void ShowMenu();

    int m_nIndex = 0;
    HWND m_hNotify = nullptr;  // the camera object's parent
    BOOL m_bLive = TRUE;
    BOOL m_bIgnoreRightClick = FALSE;
    float m_fZoom = 1.0f;
    BOOL m_bDragging = FALSE;
    CPoint m_ptDragStart;  // screen coordinates
    BOOL m_bPictureShown = FALSE;
    CString m_strStatus;
    BOOL m_bFullscreen = FALSE;
    CWnd* m_pCameraWnd = nullptr;  // kept: a detached surface has no parent
    CRect m_rcSaved;               // where the detached surface goes back to
    CPoint m_ptDragOrigin;         // the surface's place when the drag began
    BOOL m_bDetached = FALSE;
    std::function<MenuState()> m_fnMenuState;
};

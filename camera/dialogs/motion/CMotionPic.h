#pragma once
// "Motion Detection Zones Setting": up to four motion zones drawn with the
// mouse on a current snapshot of the camera. The creator sets the settings
// window (its camera object and request worker fetch the snapshot), the
// videomode and the zones in video pixels, runs DoModal and, after IDOK,
// reads the zones back in video pixels (slots above the count zeroed).
//
// The snapshot goes to a file of this dialog's own, deleted at its end (by
// the download job when that is still running then), so two settings
// windows never show each other's camera. The download is a job of the
// window's worker; its end is posted and dropped when the dialog is gone.
// While the button is down the mouse is captured and the cursor confined to
// the picture (ClipCursor); both end with the button, with WM_CANCELMODE,
// WM_CAPTURECHANGED, Cancel and the dialog's end, as a confinement left
// behind would hold every other window's mouse in the picture.
//
// GUI thread only; the snapshot file's record is shared with the download
// job and removes the file when the last of the two lets it go. No lock.

#include "camera/dialogs/motion/ZoneLayout.h"
#include "camera/dialogs/window/CRequestWorker.h"
#include "ui/controls/CDlgTabItem.h"
#include "ui/controls/CMyPicture.h"

#include <memory>
#include <string>

class CCameraSetupDlg;

#define UM_ZONE_PICTURE_DONE (WM_APP + 122)

// The snapshot file of one zone dialog, removed with its record: when the
// dialog ends, or after its download when that ends later.
struct ZonePictureFile {
    std::string path;
    ZonePictureFile() = default;
    ZonePictureFile(const ZonePictureFile&) = delete;
    ZonePictureFile& operator=(const ZonePictureFile&) = delete;
    ~ZonePictureFile();
};

// The picture static: its mouse messages go on to the dialog in the
// dialog's client pixels, as a static without SS_NOTIFY lets clicks through
// to its parent.
class CZonePictureStatic : public CWnd {
protected:
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    void Forward(UINT message, UINT nFlags, CPoint point);
};

// The picture with its rectangles, shared by the modal motion zones dialog
// and the video shield page (a tab page, hence the page base).
class CZoneDialog : public CDlgTabItem {
public:
    CZoneDialog(UINT nTemplateId, UINT nPictureId, int nMaxZones, CCameraSetupDlg* pOwner, CWnd* pParent);
    ~CZoneDialog() override;

    bool IsPictureLoaded() const { return m_bLoaded; }
    bool IsDownloading() const { return m_job != nullptr; }
    const zones::ZoneLayout& Layout() const { return m_layout; }
    const std::string& PicturePath() const { return m_strPicturePath; }

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    // Enter never ends the dialog.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Runs the download (always, or only while no picture is loaded).
    void StartDownload();
    // What a finished download changes beyond the picture.
    virtual void PictureArrived(bool ok) = 0;
    // A press the layout refuses because it is full.
    virtual void PressRefused() {}
    // The video size the picture stands for (the shield works in picture
    // pixels).
    virtual zones::Size VideoSizeFor(zones::Size picture) const { return m_video; }
    // The dialog fetches its picture when it starts.
    bool m_bDownloadAtStart = true;
    void Repaint();
    void ReleaseMouse();

    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnCancelMode();
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnPictureDone(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CCameraSetupDlg* m_pOwner;
    UINT m_nPictureId;
    zones::ZoneLayout m_layout;
    zones::Size m_video{1280, 720};
    COLORREF m_fill = RGB(255, 0, 0);
    bool m_bLoaded = false;

private:
    CRect PictureRect() const;  // the picture static in dialog client pixels
    CPoint ToPicture(CPoint client, bool clamp) const;

    CMyPicture m_picture;
    CZonePictureStatic m_pictureStatic;
    std::string m_strPicturePath;
    std::shared_ptr<ZonePictureFile> m_file;
    std::shared_ptr<RequestJob> m_job;
    bool m_bCaptured = false;
};

class CMotionPic : public CZoneDialog {
public:
    CMotionPic(CCameraSetupDlg* pOwner, CWnd* pParent = nullptr);

    // ---- set before DoModal, read after IDOK ----
    int m_nVideoMode = 0;
    int m_nZoneCount = 0;
    RECT m_rcZones[4] = {};

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void PictureArrived(bool ok) override;
    void OnDeleteSelected();
    void OnDeleteAll();
    void OnRefresh();
    DECLARE_MESSAGE_MAP()
};

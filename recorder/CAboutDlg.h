#pragma once
// The about box: a captionless dialog whose face is the "aboutmain" skin
// image with the program's version painted on it; a click anywhere closes it.
//
// GUI thread.

#include "platform/platform.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* pParent = nullptr);
    ~CAboutDlg() override;

    BOOL OnInitDialog() override;

protected:
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    HICON m_hIcon = nullptr;
    CBitmap m_bmpBack;
};

// Runs the about box when `point` (client co-ordinates of `owner`) lies in
// the skin's about rectangle; TRUE when it ran.
BOOL ShowAboutBoxAt(CWnd* owner, CPoint point);

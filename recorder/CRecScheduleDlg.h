#pragma once
// The weekly schedule dialog (template 132): per camera a 7 x 24 grid of
// continuous, motion and idle hours painted by dragging the mouse, the
// record folder, the days recordings are kept and whether recording is on.
// All cameras are edited in one working copy; OK saves every camera's plan
// in one transaction, Cancel and the exit button discard everything. The
// cell geometry and the painting rules live in ScheduleGrid.
//
// The skin images are the settings object's (loaded by the opener around
// the run): the dialog only borrows them. Mouse painting confines the
// cursor to the grid while the left button is down; every release, capture
// loss and the window's end let it go.
//
// Threads: the GUI thread only. No lock.

#include "recorder/CColorStatic.h"
#include "recorder/CMyBitmapButton.h"
#include "recorder/Records.h"
#include "recorder/ScheduleGrid.h"

#include "platform/platform.h"

#include <vector>

struct STSkinElement;

class CRecScheduleDlg : public CDialog {
public:
    explicit CRecScheduleDlg(CWnd* pParent = nullptr);
    ~CRecScheduleDlg() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // For tests: the working plans, the camera shown, the paint mode, the
    // cell rectangles (client co-ordinates) and whether a drag runs.
    const CArray<STCameraInfoKst>& Plans() const { return m_arrPlans; }
    int CurrentCamera() const { return m_nCurrent; }
    schedule_grid::PaintMode Mode() const { return m_nMode; }
    const std::vector<RECT>& Cells() const { return m_cells; }
    BOOL IsDragging() const { return m_bDragging; }
    CRect GridRect() const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnModeMotion();
    void OnModeContinuous();
    void OnModeClear();
    void OnClearAll();
    void OnToggleEnable();
    void OnToggleApplyAll();
    void OnBrowse();
    void OnExit();
    void OnSelChangeCamera();
    void OnChangePath();
    DECLARE_MESSAGE_MAP()

private:
    void SetUpButton(CMyBitmapButton& button, const STSkinElement& skin, UINT tipId);
    void SetToggleImages(CMyBitmapButton& button, const STSkinElement& skin, BOOL on);
    void SetMode(schedule_grid::PaintMode mode);
    void FillCameraList();
    void ShowCamera(int index);
    BOOL StoreCamera(int index);
    BOOL CheckFolder();
    void UpdateFreeSpace();
    void InvalidateGrid();
    // Drag handling of WindowProc. BeginDrag: whether the press started one.
    bool BeginDrag(CPoint point);
    void MoveDrag(CPoint point);
    void EndDrag(bool apply);
    // The drag's rectangle in client co-ordinates.
    CRect DragRect() const;
    void DrawSelection(CDC& dc);

    CComboBox m_cmbCamera;
    CEdit m_edtPath;
    CEdit m_edtDays;
    CColorStatic m_stcFreeSpace;
    CMyBitmapButton m_btnMotion;
    CMyBitmapButton m_btnContinuous;
    CMyBitmapButton m_btnClear;
    CMyBitmapButton m_btnClearAll;
    CMyBitmapButton m_btnEnable;
    CMyBitmapButton m_btnApplyAll;
    CMyBitmapButton m_btnBrowse;
    CMyBitmapButton m_btnOk;
    CMyBitmapButton m_btnCancel;
    CMyBitmapButton m_btnExit;

    CArray<STCameraInfoKst> m_arrPlans;
    int m_nCurrent = -1;
    schedule_grid::PaintMode m_nMode = schedule_grid::kPaintContinuous;
    BOOL m_bEnable = FALSE;
    BOOL m_bApplyAll = FALSE;
    CString m_strPath;
    int m_nKeepDays = 0;
    std::vector<RECT> m_cells;
    int m_nCellWidth = 0;
    int m_nCellHeight = 0;
    BOOL m_bDragging = FALSE;
    CPoint m_ptPress;  // client co-ordinates
    CPoint m_ptLast;
    HCURSOR m_hCross = nullptr;
    HCURSOR m_hArrow = nullptr;
    CBitmap m_bmpBack;
};

#pragma once
// The base of every settings page: a modeless child dialog shown and hidden
// as its tab is chosen. The page's first WM_SHOWWINDOW (showing or hiding)
// becomes one call of OnShowWindow(), so that a page loads its settings only
// when it is first opened. GUI thread only; takes no locks.
//
// Pages are derived in other libraries: members and virtuals keep their order.

#include "platform/platform.h"

class AFX_EXT_CLASS CDlgTabItem : public CDialog {
    DECLARE_DYNAMIC(CDlgTabItem)

public:
    CDlgTabItem(int nTemplateId, CWnd* pParent);
    ~CDlgTabItem() override;

    BOOL m_bFirstShowDone;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // The first-show hook; empty here.
    virtual void OnShowWindow();

    void OnShowWindow(BOOL bShow, UINT nStatus);
    DECLARE_MESSAGE_MAP()
};

#include "ui/controls/CDlgTabItem.h"

IMPLEMENT_DYNAMIC(CDlgTabItem, CDialog)

BEGIN_MESSAGE_MAP(CDlgTabItem, CDialog)
ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

CDlgTabItem::CDlgTabItem(int nTemplateId, CWnd* pParent)
    : CDialog(static_cast<UINT>(nTemplateId), pParent), m_bFirstShowDone(FALSE)
{}

CDlgTabItem::~CDlgTabItem() = default;

void CDlgTabItem::DoDataExchange(CDataExchange*) {}

void CDlgTabItem::OnShowWindow() {}

void CDlgTabItem::OnShowWindow(BOOL, UINT)
{
    Default();
    // Hiding counts too: a page made hidden and hidden again has been "shown"
    // once, and must not load a second time when the user opens it.
    if (!m_bFirstShowDone) {
        m_bFirstShowDone = TRUE;
        OnShowWindow();
    }
}

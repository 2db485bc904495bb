#include "camera/dialogs/sdcard/CPreviewPic.h"

#include "camera/dialogs/CVXCamApp.h"
#include "resources/vxcam/resource.h"

BEGIN_MESSAGE_MAP(CPreviewPic, CDialog)
ON_WM_PAINT()
END_MESSAGE_MAP()

CPreviewPic::CPreviewPic(const CString& strPath, const CString& strName, CWnd* pParent)
    : CDialog(IDD_SD_PREVIEW, pParent), m_strPath(strPath), m_strName(strName)
{}

INT_PTR CPreviewPic::DoModal()
{
    AFX_MANAGE_STATE(VxcamModuleState());
    return CDialog::DoModal();
}

BOOL CPreviewPic::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString caption;
    caption.Format(VxcamString(IDS_PREVIEW_CAPTION), static_cast<const char*>(m_strName));
    SetWindowText(caption);
    if (!m_strPath.IsEmpty())
        m_picture.SetImage(m_strPath);
    if (CWnd* frame = GetDlgItem(IDC_PREVIEW_PICTURE)) {
        CRect r;
        frame->GetWindowRect(&r);
        ScreenToClient(&r);
        InvalidateRect(&r);
    }
    return TRUE;
}

BOOL CPreviewPic::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN)
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CPreviewPic::OnPaint()
{
    CPaintDC dc(this);
    CWnd* frame = GetDlgItem(IDC_PREVIEW_PICTURE);
    if (!frame)
        return;
    CRect r;
    frame->GetWindowRect(&r);
    ScreenToClient(&r);
    r.DeflateRect(1, 1);
    if (r.Width() > 0 && r.Height() > 0)
        m_picture.DrawImage(dc.GetSafeHdc(), r.left, r.top, r.Width(), r.Height());
}

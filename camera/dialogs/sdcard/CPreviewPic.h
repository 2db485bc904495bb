#pragma once
// The modal preview of one picture from the camera's memory card: the whole
// image scaled into the picture frame of the dialog, the file's name in the
// caption. The caller owns the file and removes it afterwards.
//
// Threads: GUI thread only.

#include "platform/platform.h"
#include "ui/controls/CMyPicture.h"

class CPreviewPic : public CDialog {
public:
    CPreviewPic(const CString& strPath, const CString& strName, CWnd* pParent = nullptr);

    INT_PTR DoModal() override;
    const CString& Path() const { return m_strPath; }
    // The picture holds an image with pixels.
    bool HasPicture() { return m_picture.HasImage() && m_picture.GetWidth() > 0; }

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnOK() override {}
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    CString m_strPath;
    CString m_strName;
    CMyPicture m_picture;
};

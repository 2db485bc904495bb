#pragma once
// Dialogs built from the templates of resource modules, modal (DoModal runs
// a nested message loop) or modeless (Create, as a pop-up or a child page).
// GUI thread only.

#include "platform/ui/CWnd.h"
#include "platform/ui/ResourceModule.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(const vxw::DialogTemplate& dialogTemplate, CWnd* pParentWnd = nullptr);
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // True when the focused control the key message is for takes the key
    // itself: Space in edits, lists and on buttons, Enter and Escape only
    // where the control asks for every key, all other keys. Lets a window
    // that keeps Enter, Escape or Space from its dialog filter them without
    // taking them from its controls.
    static BOOL ControlTakesKey(const MSG* pMsg);

    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    // Dialog units of this dialog's template font to pixels.
    void MapDialogRect(LPRECT lpRect) const;

    UINT m_nIDHelp = 0;
    LPCSTR m_lpszTemplateName = nullptr;
    CWnd* m_pParentWnd = nullptr;

protected:
    virtual void OnOK();
    virtual void OnCancel();
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateFromTemplate(const vxw::DialogTemplate& t, HWND hParent, bool modal);
    const vxw::DialogTemplate* FindTemplate() const;
    HFONT m_hDialogFont = nullptr;  // the template's font, owned here
    int m_baseX = 6;
    int m_baseY = 13;
    bool m_modal = false;
};

// The window class name of dialogs.
#define WC_DIALOG "#32770"

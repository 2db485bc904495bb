#include "recorder/CAboutDlg.h"

#include "recorder/CGlobalInfo.h"
#include "resources/VXKSTRes/resource.h"
#include "resources/recorder/resource.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_LBUTTONDOWN()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(IDD_ABOUT, pParent)
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(IDR_MAINFRAME), RT_GROUP_ICON);
    if (module)
        m_hIcon = ::LoadIcon(module, MAKEINTRESOURCE(IDR_MAINFRAME));
}

CAboutDlg::~CAboutDlg() = default;

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    ModifyStyle(WS_CAPTION, WS_MINIMIZEBOX, SWP_FRAMECHANGED);
    // The image is the box's own: it deletes it when it closes.
    STSkinImage skin = GlobalInfo().LoadSkinImage("aboutmain", IDB_ABOUT_MAIN);
    if (skin.hBmp)
        m_bmpBack.Attach(skin.hBmp);
    const RECT& r = skin.rect;
    SetWindowPos(nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOREDRAW);
    CenterWindow();
    return TRUE;
}

void CAboutDlg::OnPaint()
{
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        CRect rc;
        GetClientRect(&rc);
        int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
        dc.DrawIcon((rc.Width() - cx + 1) / 2, (rc.Height() - cy + 1) / 2, m_hIcon);
        return;
    }
    CPaintDC dc(this);
    if (!m_bmpBack.m_hObject)
        return;
    BITMAP bm{};
    m_bmpBack.GetBitmap(&bm);
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap* old = mem.SelectObject(&m_bmpBack);
    CString version = GlobalInfo().GetFileVersion();
    if (!version.IsEmpty()) {
        CFont font;
        font.CreateFont(16, 8, 0, 0, 700, TRUE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
        CFont* oldFont = mem.SelectObject(&font);
        mem.SetTextColor(RGB(173, 177, 180));
        mem.SetBkMode(TRANSPARENT);
        CRect text(456, 59, 510, 86);
        mem.DrawText(version, &text, 0);
        mem.SelectObject(oldFont);
    }
    CRect rc;
    GetClientRect(&rc);
    dc.StretchBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    mem.SelectObject(old);
}

HCURSOR CAboutDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CAboutDlg::OnLButtonDown(UINT, CPoint)
{
    CDialog::OnOK();
}

void CAboutDlg::OnDestroy()
{
    CDialog::OnDestroy();
    if (m_bmpBack.m_hObject)
        m_bmpBack.DeleteObject();
}

BOOL ShowAboutBoxAt(CWnd* owner, CPoint point)
{
    const RECT& r = GlobalInfo().m_rcAbout;
    if (!::PtInRect(&r, point))
        return FALSE;
    CAboutDlg dlg(owner);
    dlg.DoModal();
    return TRUE;
}

#include "camera/dialogs/pages/CDlgIRLights.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/session/CCgiCmd.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

using namespace infrared_form;

BEGIN_MESSAGE_MAP(CDlgIRLights, CSettingsPage)
ON_BN_CLICKED(IDC_IR_FIRST, OnLightClicked)
ON_BN_CLICKED(IDC_IR_SECOND, OnLightClicked)
ON_BN_CLICKED(IDC_IR_THIRD, OnLightClicked)
END_MESSAGE_MAP()

CDlgIRLights::CDlgIRLights(CCameraSetupDlg* pOwner) : CSettingsPage(IDD_INFRARED, IDS_PAGE_INFRARED, pOwner, IDC_APPLY)
{}

BOOL CDlgIRLights::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    ShowSelection({});
    ApplyLayout();
    return TRUE;
}

CString CDlgIRLights::Model() const
{
    CWebWatchNB* camera = Camera();
    return camera ? camera->GetModelVersion() : CString();
}

Selection CDlgIRLights::ReadSelection() const
{
    Selection s;
    s.light = IsDlgButtonChecked(IDC_IR_SECOND)  ? LightSecond
              : IsDlgButtonChecked(IDC_IR_THIRD) ? LightThird
                                                 : LightFirst;
    s.irCut = IsDlgButtonChecked(IDC_IR_CUT_COLOR)  ? IrCutSecond
              : IsDlgButtonChecked(IDC_IR_CUT_AUTO) ? IrCutThird
                                                    : IrCutFirst;
    return s;
}

void CDlgIRLights::ShowSelection(const Selection& s)
{
    const int light[] = {IDC_IR_FIRST, IDC_IR_SECOND, IDC_IR_THIRD};
    const int cut[] = {IDC_IR_CUT_BW, IDC_IR_CUT_COLOR, IDC_IR_CUT_AUTO};
    for (int i = 0; i < 3; ++i) {
        CheckDlgButton(light[i], i == s.light ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(cut[i], i == s.irCut ? BST_CHECKED : BST_UNCHECKED);
    }
}

void CDlgIRLights::ApplyLayout()
{
    Layout l = LayoutFor(m_variant, ReadSelection().light);
    SetDlgItemText(IDC_IR_GROUP_LABEL, l.groupLabel);
    SetDlgItemText(IDC_IR_FIRST, l.first);
    SetDlgItemText(IDC_IR_SECOND, l.second);
    SetDlgItemText(IDC_IR_THIRD, l.third);
    const std::pair<int, bool> shown[] = {
        {IDC_IR_SECOND, l.showSecond},   {IDC_IR_THIRD, l.showThird},  {IDC_IR_CUT_AUTO, l.showIrCutAuto},
        {IDC_IR_CUT_LABEL, l.showIrCut}, {IDC_IR_CUT_BW, l.showIrCut}, {IDC_IR_CUT_COLOR, l.showIrCut},
    };
    for (const auto& [id, show] : shown) {
        if (CWnd* w = GetDlgItem(id))
            w->ShowWindow(show ? SW_SHOW : SW_HIDE);
    }
}

void CDlgIRLights::OnLightClicked()
{
    ApplyLayout();
}

CString CDlgIRLights::LoadPath()
{
    // The lamp flag chooses the request; the others wait for its reply.
    m_variant = Variant();
    m_variant.lamp = IsLampModel(Model());
    return infrared_form::LoadPath(m_variant);
}

void CDlgIRLights::ShowLoaded(const CString& reply)
{
    m_variant =
        DecideVariant(Model(), CCgiCmd::GetCgiValue2(reply, "softVersion"), CCgiCmd::GetCgiValue2(reply, "webVersion"));
    Selection s = ReadSelection();
    ParseLoad(reply, m_variant, s);
    ShowSelection(s);
    ApplyLayout();
}

CString CDlgIRLights::ApplyPath()
{
    m_applied = ReadSelection();
    bool follows = false;
    return ComposeApply(m_variant, m_applied, follows);
}

bool CDlgIRLights::JobDone(Request kind, const RequestJob& job)
{
    if (kind == Request::Load) {
        if (job.Succeeded())
            return false;
        // A page that never loaded shows the model's variant with its first
        // option; one that did keeps what it showed (and may apply).
        if (!m_bLoaded) {
            m_variant = DecideVariant(Model(), CString(), CString());
            ShowSelection({LightFirst, ReadSelection().irCut});
            ApplyLayout();
        }
        ShowError(IDS_GET_FAILED);
        return true;
    }
    bool ok = job.Succeeded();
    if (kind == Request::Apply) {
        // The IR-cut choice of older cameras follows a successful first request.
        bool follows = false;
        ComposeApply(m_variant, m_applied, follows);
        if (ok && follows && StartRequest(Request::Sync, ComposeIrCutControl(m_applied), true, 3000))
            return true;
    }
    if (ok)
        ShowSuccess();
    else
        ShowError(IDS_APPLY_FAILED);
    return true;
}

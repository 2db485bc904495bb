#include "camera/dialogs/forms/UserAccountsForm.h"

#include "camera/dialogs/forms/CValidateCheck.h"
#include "camera/dialogs/forms/DeviceSettingsForms.h"
#include "camera/session/CCgiCmd.h"

namespace user_form {

const char* const kLoadPath = "/cgi-bin/hi3510/param.cgi?cmd=getuserattr&cmd=getvendorinfo&cmd=getserverinfo";

bool IsSingleAccount(const CString& vendor, int camType)
{
    return IsOwnVendor(vendor) || (camType >= 32 && camType <= 34);
}

void ParseLoad(const CString& reply, Values& v)
{
    for (int r = 0; r < kRows; ++r) {
        CString key;
        key.Format("at_username%d", r);
        v.rows[r].loadedName = v.rows[r].name = CCgiCmd::GetCgiValue2(reply, key);
        key.Format("at_password%d", r);
        v.rows[r].password = v.rows[r].retyped = CCgiCmd::GetCgiValue2(reply, key);
    }
}

CString VendorOf(const CString& reply)
{
    return CCgiCmd::GetCgiValue2(reply, "vendor");
}

CString SoftVersionOf(const CString& reply)
{
    return CCgiCmd::GetCgiValue2(reply, "softVersion");
}

Refusal Check(const Values& v)
{
    for (int r = 0; r < v.Shown(); ++r) {
        const Row& row = v.rows[r];
        int text = 0;
        if (CValidateCheck::IsEmpty(row.name))
            text = 20050;
        else if (!CValidateCheck::IsLettersAndDigits(row.name))
            text = 20104;
        else if (!row.password.IsEmpty() && !CValidateCheck::IsValidPassword(row.password))
            text = 20053;
        else if (row.password != row.retyped)
            text = 20051;
        if (text)
            return {r, text, CString()};
    }
    // Hidden rows count here: a shown row may not take a name the camera
    // keeps for one of them.
    for (int r = 0; r < kRows; ++r) {
        for (int later = r + 1; later < kRows; ++later) {
            const CString& a = v.rows[r].name;
            if (!a.IsEmpty() && a.CompareNoCase(v.rows[later].name) == 0)
                return {-1, 20054, a};
        }
    }
    return {};
}

CString ComposeApply(const Values& v)
{
    CString path = "/cgi-bin/hi3510/param.cgi?";
    for (int r = 0; r < v.Shown(); ++r) {
        const Row& row = v.rows[r];
        CString part;
        part.Format("%scmd=setuserattr&-at_username=%s&-at_newname=%s&-at_password=%s", r ? "&" : "",
                    CCgiCmd::UrlEncode(row.loadedName).GetString(), CCgiCmd::UrlEncode(row.name).GetString(),
                    CCgiCmd::UrlEncode(row.password).GetString());
        path += part;
    }
    return path;
}

void Applied(Values& v)
{
    for (int r = 0; r < v.Shown(); ++r)
        v.rows[r].loadedName = v.rows[r].name;
}

}  // namespace user_form

#include "camera/dialogs/forms/UpgradeForm.h"

#include "camera/session/CCgiCmd.h"
#include "camera/session/CWebWatchNB.h"

namespace upgrade_form {

CString ModelKey(const CString& vendor, const CString& product, const CString& model, const CString& softVersion)
{
    if (vendor.CompareNoCase("VX") == 0)
        return product;
    if (model.GetLength() < 6)
        return "CAMX";
    char kind = model[5];
    if (kind == 'f')
        return CWebWatchNB::VersionLaterThan(softVersion, "V6.1.9.2.22") < 0 ? "CAMX" : "CAMXe";
    if (kind == 'g') {
        if (softVersion.Find("V10.1.4") >= 0)
            return "CAMXA1-N";
        if (softVersion.Find("V10.1.10") >= 0)
            return "CAMXA1-P";
        return "CAMXA1";
    }
    return "CAMX";
}

DeviceInfo Parse(const CString& reply)
{
    DeviceInfo d;
    CString vendor = CCgiCmd::GetCgiValue2(reply, "vendor");
    CString soft = CCgiCmd::GetCgiValue2(reply, "softVersion");
    bool ours = vendor.CompareNoCase("VX") == 0;
    d.modelKey = ModelKey(vendor, CCgiCmd::GetCgiValue2(reply, "product"), CCgiCmd::GetCgiValue2(reply, "model"), soft);
    d.identity = CCgiCmd::GetCgiValue2(reply, ours ? "devid" : "name");
    d.webVersion = CCgiCmd::GetCgiValue2(reply, "webVersion");
    return d;
}

bool SplitIdentity(const CString& identity, CString& camId, CString& pin)
{
    if (identity.GetLength() != 16)
        return false;
    camId = identity.Left(12);
    pin = identity.Right(4);
    return true;
}

}  // namespace upgrade_form

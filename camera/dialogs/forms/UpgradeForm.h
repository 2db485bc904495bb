#pragma once
// What the firmware upgrade page shows of the camera, as text work: the
// model key a package must match, the identity and its CamID and PIN. GUI
// free; any thread.

#include "platform/platform.h"

namespace upgrade_form {

// The request that reads everything the page shows.
constexpr const char kLoadPath[] = "/cgi-bin/hi3510/param.cgi?cmd=getsysinfo&cmd=getvendorinfo&cmd=getserverinfo";

struct DeviceInfo {
    CString modelKey;
    CString identity;
    CString webVersion;
};

// From the camera's vendor, product, model and software version, tested in
// this order: vendor "VX" (any case) takes the product as it stands; a model
// shorter than 6 characters is "CAMX"; its sixth character 'f' gives "CAMX"
// before V6.1.9.2.22 and "CAMXe" from it on; 'g' gives "CAMXA1-N" for
// versions holding "V10.1.4", "CAMXA1-P" for "V10.1.10", else "CAMXA1";
// any other model "CAMX".
CString ModelKey(const CString& vendor, const CString& product, const CString& model, const CString& softVersion);
// The page's values from a load reply.
DeviceInfo Parse(const CString& reply);
// An identity of exactly 16 characters splits into a 12-character CamID
// and a 4-character PIN; any other length leaves both unchanged (false).
bool SplitIdentity(const CString& identity, CString& camId, CString& pin);

}  // namespace upgrade_form

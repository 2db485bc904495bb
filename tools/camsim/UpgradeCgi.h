#pragma once
// The firmware upload "/cgi-bin/hi3510/upgrade.cgi": a multipart POST whose
// one part is a package in camsim's own format
//
//   "CAMSIM-PKG\n" "model=MODEL\n" "version=VERSION\n" "sum=HEX\n" "\n" PAYLOAD
//
// (HEX: the FNV-1a sum of the payload; `camsim --make-package` writes one).
// A package for another model than the "pkgmodel" setting (the camera's
// model unless set), a bad sum or a short body is refused; success answers
// exactly "upgrade succeed.", closes, and reboots the camera (its ports gone
// for --reboot-seconds), which comes back with the package's version.
// The body is read as it arrives, counted in /camsim/state ("upgradebytes"),
// slowed by the `rate` fault and dropped after `cut` bytes (see
// Camera::bodyPace). The "upgradereply" setting plays the answer's faults: "silent" (no answer),
// "keep" (the connection stays open after the answer), "newline" (the
// answer ends in a newline).
// "/cgi-bin/hi3510/sysreboot.cgi" answers "[Succeed]set ok." and reboots the
// same way; "/cgi-bin/hi3510/sysreset.cgi" first puts every setting a user
// can change (and the accounts) back to its start value.
//
// Threads: the HTTP server's connection threads; the settings store locks.

#include "tools/camsim/Dialect.h"

#include <functional>
#include <string>

namespace camsim {

// The package's bytes, or empty for a version or model holding a newline.
std::string makePackage(const std::string& model, const std::string& version, const std::string& payload);

class UpgradeCgi : public Dialect {
public:
    UpgradeCgi(CameraState& state, std::function<void(int seconds)> reboot);
    bool handles(const HttpRequest& req) const override;
    HttpReply handle(const HttpRequest& req) override;

    static constexpr const char* kUpgradePath = "/cgi-bin/hi3510/upgrade.cgi";
    static constexpr const char* kRebootPath = "/cgi-bin/hi3510/sysreboot.cgi";
    static constexpr const char* kResetPath = "/cgi-bin/hi3510/sysreset.cgi";

private:
    HttpReply restart(bool factory);
    // The reply closes its connection and the camera reboots once it went out.
    void rebootAfter(HttpReply& r);
    void restoreDefaults();

    std::function<void(int)> reboot_;
};

}  // namespace camsim

#include "tools/camsim/UpgradeCgi.h"

#include "tools/camsim/ParamTable.h"
#include "tools/camsim/UserAccounts.h"

#include <cstdio>

namespace camsim {

namespace {

const char kMagic[] = "CAMSIM-PKG\n";

std::string sumOf(const std::string& data)
{
    uint32_t h = 2166136261u;
    for (char c : data)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    char buf[16];
    snprintf(buf, sizeof buf, "%08x", h);
    return buf;
}

std::string lineValue(const std::string& head, const std::string& key)
{
    size_t at = head.find("\n" + key + "=");
    if (at == std::string::npos)
        return {};
    at += key.size() + 2;
    return head.substr(at, head.find('\n', at) - at);
}

// The one part's content: between the part's blank line and the closing
// "\r\n--BOUNDARY".
bool partContent(const std::string& body, const std::string& boundary, std::string& out)
{
    std::string open = "--" + boundary + "\r\n";
    if (body.compare(0, open.size(), open) != 0)
        return false;
    size_t start = body.find("\r\n\r\n", open.size());
    if (start == std::string::npos)
        return false;
    start += 4;
    size_t end = body.find("\r\n--" + boundary + "--", start);
    if (end == std::string::npos)
        return false;
    out = body.substr(start, end - start);
    return true;
}

}  // namespace

std::string makePackage(const std::string& model, const std::string& version, const std::string& payload)
{
    if (model.find('\n') != std::string::npos || version.find('\n') != std::string::npos)
        return {};
    return std::string(kMagic) + "model=" + model + "\nversion=" + version + "\nsum=" + sumOf(payload) + "\n\n"
           + payload;
}

UpgradeCgi::UpgradeCgi(CameraState& state, std::function<void(int)> reboot) : Dialect(state), reboot_(std::move(reboot))
{}

bool UpgradeCgi::handles(const HttpRequest& req) const
{
    return req.path == kUpgradePath || req.path == kRebootPath || req.path == kResetPath;
}

HttpReply UpgradeCgi::restart(bool factory)
{
    if (factory)
        restoreDefaults();
    HttpReply r = HttpReply::text(200, "[Succeed]set ok.");
    rebootAfter(r);
    return r;
}

void UpgradeCgi::rebootAfter(HttpReply& r)
{
    r.close = true;
    int seconds = state_.options.rebootSeconds;
    r.afterSend = [this, seconds] {
        if (reboot_)
            reboot_(seconds);
    };
}

void UpgradeCgi::restoreDefaults()
{
    // What the user can set goes back to its start; what the camera is
    // (model, versions, identity) stays.
    for (const ParamGroup& g : paramTable(state_.options)) {
        if (g.readOnly)
            continue;
        std::vector<std::pair<std::string, std::string>> idx = g.indexes;
        if (idx.empty())
            idx.push_back({"", ""});
        for (const auto& [value, suffix] : idx) {
            for (const ParamKey& k : g.keys) {
                if (!k.readOnly)
                    state_.settings.define(k.name + suffix, k.value);
            }
        }
    }
    accounts::define(state_.settings, state_.options);
}

HttpReply UpgradeCgi::handle(const HttpRequest& req)
{
    if (req.path == kRebootPath || req.path == kResetPath)
        return restart(req.path == kResetPath);
    std::string fault = state_.settings.value("upgradereply");
    if (req.method != "POST")
        return HttpReply::text(405, "405 Method Not Allowed\r\n");
    std::string type = req.header("content-type");
    size_t b = type.find("boundary=");
    std::string boundary = b == std::string::npos ? std::string() : type.substr(b + 9);
    std::string part;
    std::string refusal;
    if (boundary.empty() || !partContent(req.body, boundary, part))
        refusal = "upgrade failed: bad body.";
    else if (part.compare(0, sizeof kMagic - 1, kMagic) != 0)
        refusal = "upgrade failed: not a package.";
    else {
        size_t headEnd = part.find("\n\n");
        std::string head = headEnd == std::string::npos ? std::string() : part.substr(0, headEnd + 1);
        std::string payload = headEnd == std::string::npos ? std::string() : part.substr(headEnd + 2);
        std::string wantModel = state_.settings.get("pkgmodel").value_or(state_.settings.value("model"));
        if (lineValue(head, "model") != wantModel)
            refusal = "upgrade failed: model mismatch.";
        else if (lineValue(head, "sum") != sumOf(payload))
            refusal = "upgrade failed: checksum error.";
        else {
            std::string version = lineValue(head, "version");
            state_.settings.define("softVersion", version);
            state_.settings.define("webVersion", version);
        }
    }
    if (!refusal.empty())
        return HttpReply::text(200, refusal);
    HttpReply r = HttpReply::text(200, fault == "newline" ? "upgrade succeed.\n" : "upgrade succeed.", "text/html");
    if (fault == "silent") {
        r.kind = HttpReply::Kind::Hang;
        return r;
    }
    if (fault != "keep")
        rebootAfter(r);
    return r;
}

}  // namespace camsim

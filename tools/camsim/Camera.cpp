#include "tools/camsim/Camera.h"

#include "tools/camsim/AjDialect.h"
#include "tools/camsim/DyDialect.h"
#include "tools/camsim/HtlDialect.h"
#include "tools/camsim/HvDialect.h"
#include "tools/camsim/HxDialect.h"
#include "tools/camsim/ParamCgi.h"
#include "tools/camsim/Query.h"
#include "tools/camsim/SdCard.h"
#include "tools/camsim/SystemFiles.h"
#include "tools/camsim/UpgradeCgi.h"
#include "tools/camsim/UserAccounts.h"

namespace camsim {

namespace {
HttpReply notFound()
{
    return HttpReply::text(404, "<html><body>404 Not Found</body></html>\r\n", "text/html");
}
}  // namespace

Camera::Camera(const Options& options)
    : options_(options), faults_(options), state_(options, faults_),
      auth_([this](const std::string& user) { return accounts::passwordOf(state_.settings, user); }, options.auth)
{
    accounts::define(state_.settings, options);
    switch (options.family) {
    case Family::HX:
        dialects_.push_back(std::make_unique<HxDialect>(state_));
        break;
    case Family::HV:
        dialects_.push_back(std::make_unique<HvDialect>(state_));
        break;
    case Family::DY:
        dialects_.push_back(std::make_unique<DyDialect>(state_));
        break;
    case Family::AJ:
        dialects_.push_back(std::make_unique<AjDialect>(state_));
        break;
    case Family::HTL:
        dialects_.push_back(std::make_unique<HtlDialect>(state_));
        break;
    }
    // Every family but HV carries the parameter CGI beside its own requests.
    if (options.family != Family::HV) {
        auto param = std::make_unique<ParamCgi>(state_);
        param->onNetworkRestart = [this](int seconds) {
            if (onVanish)
                onVanish(seconds);
        };
        dialects_.push_back(std::move(param));
        dialects_.push_back(std::make_unique<SystemFiles>(state_));
        dialects_.push_back(std::make_unique<UpgradeCgi>(state_, [this](int seconds) {
            if (onVanish)
                onVanish(seconds);
        }));
        auto sd = std::make_unique<SdCard>(state_);
        sdCard_ = sd.get();
        dialects_.push_back(std::move(sd));
    }
    state_.syslog.add("system start");
}

bool Camera::openLog(std::string& error)
{
    return options_.logPath.empty() || log_.open(options_.logPath, error);
}

HttpReply Camera::unauthorized() const
{
    HttpReply r = HttpReply::text(401, "<html><body>401 Unauthorized</body></html>\r\n", "text/html");
    for (const auto& c : auth_.challenges())
        r.headers.emplace_back("WWW-Authenticate", c);
    return r;
}

HttpReply Camera::handle(const HttpRequest& req)
{
    if (req.path.rfind("/camsim/", 0) == 0)
        return control(req);
    HttpReply side;
    if (sideRequest && sideRequest(req, side)) {
        log_.write(req.method, req.target, "side", "handover");
        return side;
    }
    return cameraRequest(req);
}

BodyPace Camera::bodyPace(const HttpRequest& req)
{
    BodyPace pace;
    if (req.path != UpgradeCgi::kUpgradePath)
        return pace;
    Faults::Request f = faults_.peekForRequest(req.target);
    pace.rate = f.rate;
    pace.cutAt = f.cut;
    upgradeBytes_ = 0;
    pace.onBytes = [this](size_t n) { upgradeBytes_ += static_cast<long long>(n); };
    return pace;
}

HttpReply Camera::cameraRequest(const HttpRequest& req)
{
    ++requests_;
    Faults::Request f = faults_.takeForRequest(req.target);
    HttpAuth::Result a = auth_.check(req);
    std::string authName = authKindName(a.kind);

    HttpReply reply;
    if (f.hang) {
        log_.write(req.method, req.target, authName, "hang");
        reply.kind = HttpReply::Kind::Hang;
        reply.keepHanging = [this, release = faults_.hangRelease()] { return faults_.hangRelease() == release; };
        return reply;
    }
    if (f.malformed == Malformed::Http) {
        log_.write(req.method, req.target, authName, "malformed");
        reply.kind = HttpReply::Kind::Raw;
        reply.raw = "HTTP/1.1 2OO 0K\r\nContent-Length: 4096\r\nContent-Type: text/plain\r\n\r\nvar time=\"2026";
        reply.delayMs = f.delayMs;
        return reply;
    }

    Dialect* dialect = nullptr;
    for (auto& d : dialects_) {
        if (d->handles(req)) {
            dialect = d.get();
            break;
        }
    }
    bool needsAuth = !dialect || dialect->usesHttpAuth(req);
    if (req.method != "GET" && req.method != "POST" && req.method != "HEAD")
        reply = HttpReply::text(405, "405 Method Not Allowed\r\n");
    else if (needsAuth && !a.ok)
        reply = unauthorized();
    else if (f.error)
        reply = HttpReply::text(f.error, std::to_string(f.error) + " " + reasonPhrase(f.error) + "\r\n");
    else if (dialect) {
        HttpRequest withUser = req;
        withUser.authUser = a.user;
        reply = dialect->handle(withUser);
    } else if (req.path == "/" || req.path == "/index.html")
        reply = HttpReply::text(200,
                                "<html><head><title>" + options_.name + "</title></head><body>" + options_.model
                                    + "</body></html>\r\n",
                                "text/html");
    else
        reply = notFound();

    if (f.malformed == Malformed::Body)
        reply.body.resize(reply.body.size() / 2);
    reply.delayMs = f.delayMs;
    // An upload's body took the cut and the rate already.
    // A dialect's own cut or rate stands unless a fault sets one.
    if (req.path != UpgradeCgi::kUpgradePath) {
        if (f.cut >= 0)
            reply.cutAfter = f.cut;
        if (f.rate > 0)
            reply.rate = f.rate;
    }
    reply.chunked = faults_.chunked();
    log_.write(req.method, req.target, authName, std::to_string(reply.status));
    return reply;
}

HttpReply Camera::control(const HttpRequest& req)
{
    HttpReply side;
    if (sideControl && sideControl(req, side))
        return side;
    if (req.path == "/camsim/state") {
        std::string s = faults_.describe();
        s += "requests=" + std::to_string(requests_.load()) + "\n";
        s += "family=" + familyName(options_.family) + "\n";
        s += "upgradebytes=" + std::to_string(upgradeBytes_.load()) + "\n";
        if (streamState)
            s += streamState();
        if (sideState)
            s += sideState();
        return HttpReply::text(200, s);
    }
    if (req.path == "/camsim/cue") {
        // The next run of a long operation: its seconds and its answer.
        std::string op, seconds = "-1";
        std::optional<std::string> result;
        for (const auto& [k, v] : parseQuery(req.query)) {
            if (k == "op")
                op = v;
            else if (k == "seconds")
                seconds = v;
            else if (k == "result")
                result = v;
        }
        int n = -1;
        try {
            n = std::stoi(seconds);
        } catch (...) {}
        if (!state_.longOps.cue(op, n, result)) {
            std::string ops;
            for (const auto& [name, seconds] : LongOperations::known())
                ops += (ops.empty() ? "" : "|") + name;
            return HttpReply::text(400, "bad cue: op=" + ops + "&seconds=0-120[&result=R]\n");
        }
        return HttpReply::text(200, "ok\n");
    }
    if (req.path == "/camsim/sd") {
        if (!sdCard_)
            return HttpReply::text(404, "this camera has no memory card\n");
        return sdCard_->control(parseQuery(req.query));
    }
    if (req.path == "/camsim/set") {
        // Settings as a test wants them, whatever a setter would accept.
        for (const auto& [k, v] : parseQuery(req.query))
            state_.settings.define(k, v);
        return HttpReply::text(200, "ok\n");
    }
    if (req.path != "/camsim/fault")
        return HttpReply::text(404, "unknown control path\n");

    QueryPairs pairs = parseQuery(req.query);
    // Check the whole request before acting on any of it.
    int vanishSeconds = -1;
    std::optional<StreamAction> stream;
    for (const auto& [k, v] : pairs) {
        if (k == "vanish") {
            try {
                size_t used = 0;
                vanishSeconds = std::stoi(v, &used);
                if (used != v.size() || vanishSeconds < 0 || vanishSeconds > 86400)
                    throw std::invalid_argument(v);
            } catch (const std::exception&) {
                return HttpReply::text(400, "bad value for vanish: " + v + "\n");
            }
        } else if (k == "stream") {
            if (v == "stop")
                stream = StreamAction::Stop;
            else if (v == "stall")
                stream = StreamAction::Stall;
            else if (v == "resume")
                stream = StreamAction::Resume;
            else
                return HttpReply::text(400, "bad value for stream: " + v + "\n");
            if (!onStream)
                return HttpReply::text(409, "no stream is served\n");
        } else if (std::string sideError; sideFault && sideFault(k, v, false, sideError)) {
            if (!sideError.empty())
                return HttpReply::text(400, sideError + "\n");
        } else if (k != "clear") {
            Faults probe(options_);
            std::string error;
            if (!probe.apply(k, v, error))
                return HttpReply::text(400, error + "\n");
        }
    }
    for (const auto& [k, v] : pairs) {
        std::string error;
        if (k == "clear") {
            faults_.clear();
            if (sideFault)
                sideFault("clear", "", true, error);
        } else if (sideFault && sideFault(k, v, true, error)) {
        } else if (k != "vanish" && k != "stream") {
            faults_.apply(k, v, error);
        }
    }
    if (stream)
        onStream(*stream);
    HttpReply r = HttpReply::text(200, "ok\n" + faults_.describe());
    if (vanishSeconds >= 0 && onVanish) {
        r.close = true;
        r.afterSend = [this, vanishSeconds] { onVanish(vanishSeconds); };
    }
    return r;
}

}  // namespace camsim

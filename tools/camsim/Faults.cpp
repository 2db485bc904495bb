#include "tools/camsim/Faults.h"

#include "tools/camsim/Numbers.h"

#include <algorithm>

namespace camsim {

namespace {
bool toBool(const std::string& text, bool& out)
{
    if (text == "1" || text == "on" || text == "true")
        out = true;
    else if (text == "0" || text == "off" || text == "false")
        out = false;
    else
        return false;
    return true;
}
const char* malformedName(Malformed m)
{
    switch (m) {
    case Malformed::None:
        return "none";
    case Malformed::Body:
        return "body";
    case Malformed::Http:
        return "http";
    }
    return "?";
}
std::string joined(const std::set<std::string>& names)
{
    std::string out;
    for (const auto& n : names)
        out += (out.empty() ? "" : ",") + n;
    return out;
}
}  // namespace

Faults::Faults(const Options& o)
{
    request_.delayMs = o.delayMs;
    request_.hang = o.hang;
    request_.error = o.httpError;
    request_.malformed = o.malformed;
    request_.cut = o.cutAfter;
    refuse_ = o.refuseLogin;
    chunked_ = o.chunked;
}

Faults::Request Faults::takeForRequest(const std::string& target)
{
    std::lock_guard lock(mutex_);
    if (!match_.empty() && target.find(match_) == std::string::npos)
        return Request{};
    if (skip_ > 0) {
        --skip_;
        return Request{};
    }
    Request r = request_;
    if (remaining_ > 0 && --remaining_ == 0) {
        request_ = Request{};
        remaining_ = -1;
    }
    return r;
}

Faults::Request Faults::peekForRequest(const std::string& target) const
{
    std::lock_guard lock(mutex_);
    if ((!match_.empty() && target.find(match_) == std::string::npos) || skip_ > 0)
        return Request{};
    return request_;
}

uint64_t Faults::hangRelease() const
{
    std::lock_guard lock(mutex_);
    return hangRelease_;
}

bool Faults::refuseLogin() const
{
    std::lock_guard lock(mutex_);
    return refuse_;
}

bool Faults::chunked() const
{
    std::lock_guard lock(mutex_);
    return chunked_;
}

bool Faults::commandError(const std::string& command) const
{
    std::lock_guard lock(mutex_);
    return commandErrors_.count(command) > 0;
}

void Faults::clear()
{
    std::lock_guard lock(mutex_);
    request_ = Request{};
    remaining_ = -1;
    refuse_ = false;
    commandErrors_.clear();
    match_.clear();
    skip_ = 0;
    ++hangRelease_;
}

bool Faults::apply(const std::string& key, const std::string& value, std::string& error)
{
    std::lock_guard lock(mutex_);
    bool ok = true;
    if (key == "delay")
        ok = parseIntIn(value, 0, 3600000, request_.delayMs);
    else if (key == "hang") {
        ok = toBool(value, request_.hang);
        if (ok && !request_.hang)
            ++hangRelease_;
    } else if (key == "error") {
        int e = 0;
        ok = parseIntIn(value, 0, 599, e) && (e == 0 || e >= 100);
        if (ok)
            request_.error = e;
    } else if (key == "malformed")
        ok = parseMalformed(value, request_.malformed);
    else if (key == "cut")
        ok = parseIntIn(value, -1, 1 << 30, request_.cut);
    else if (key == "rate")
        ok = parseIntIn(value, 0, 1 << 30, request_.rate);
    else if (key == "refuse")
        ok = toBool(value, refuse_);
    else if (key == "chunked")
        ok = toBool(value, chunked_);
    else if (key == "cmderror") {
        // Names separated by ","; an empty value lifts the fault.
        commandErrors_.clear();
        for (size_t pos = 0; pos < value.size();) {
            size_t comma = std::min(value.find(',', pos), value.size());
            if (comma > pos)
                commandErrors_.insert(value.substr(pos, comma - pos));
            pos = comma + 1;
        }
    } else if (key == "match")
        match_ = value;
    else if (key == "skip")
        ok = parseIntIn(value, 0, 1000000, skip_);
    else if (key == "count") {
        int n = 0;
        ok = parseIntIn(value, 0, 1000000, n);
        if (ok)
            remaining_ = n == 0 ? -1 : n;
    } else {
        error = "unknown fault key: " + key;
        return false;
    }
    if (!ok)
        error = "bad value for " + key + ": " + value;
    return ok;
}

std::string Faults::describe() const
{
    std::lock_guard lock(mutex_);
    return "delay=" + std::to_string(request_.delayMs) + "\nhang=" + (request_.hang ? "1" : "0")
           + "\nerror=" + std::to_string(request_.error) + "\nmalformed=" + malformedName(request_.malformed)
           + "\ncut=" + std::to_string(request_.cut) + "\nrate=" + std::to_string(request_.rate)
           + "\ncount=" + std::to_string(remaining_ < 0 ? 0 : remaining_) + "\nrefuse=" + (refuse_ ? "1" : "0")
           + "\nchunked=" + (chunked_ ? "1" : "0") + "\ncmderror=" + joined(commandErrors_) + "\nmatch=" + match_
           + "\nskip=" + std::to_string(skip_) + "\n";
}

}  // namespace camsim

// Commands whose parameters name a row of settings instead of being one:
// "-as_type=ftp" picks the FTP row of the timed snapshots, "-ename=plan" the
// plan-record schedule. They are stored under the row's own names
// (as_ftp_enable, plan_week0) and read back under the names a camera
// reports (as_ftp_enable, week0), so each row survives the others' writes.
#include "tools/camsim/ParamCgi.h"

#include <algorithm>

namespace camsim {

namespace {

std::string var(const std::string& name, const std::string& value)
{
    return "var " + name + "=\"" + value + "\";\r\n";
}

const char* const kSnapTypes[] = {"ftp", "email", "snap"};
const char* const kSchedules[] = {"snap", "md", "plan"};

bool listed(const char* const (&words)[3], const std::string& w)
{
    return std::find_if(std::begin(words), std::end(words), [&](const char* x) { return w == x; }) != std::end(words);
}

// One day of a schedule: a mark for each half-hour, "P" active, "N" not.
bool isDayText(const std::string& v)
{
    return v.size() == 48 && v.find_first_not_of("PN") == std::string::npos;
}

bool refuse(std::string& out, const std::string& param)
{
    out += "[Error]-" + param + ": bad value.\r\n";
    return false;
}

}  // namespace

void ParamCgi::defineScheduleCommands()
{
    SettingsStore& s = state_.settings;
    for (const char* type : kSnapTypes) {
        s.define(std::string("as_") + type + "_enable", "0");
        s.define(std::string("as_") + type + "_interval", "60");
    }
    for (const char* name : kSchedules) {
        for (int d = 0; d < 7; ++d)
            s.define(std::string(name) + "_week" + std::to_string(d), std::string(48, 'P'));
    }
    const ValueRule interval = intRange(1, 65535);

    specials_["getsnaptimerattrex"] = [this](const Command& c, SettingsChange&, std::string& out) {
        for (const char* type : kSnapTypes) {
            if (c.has("as_type") && c.param("as_type") != type)
                continue;
            std::string row = std::string("as_") + type;
            out += var(row + "_enable", state_.settings.value(row + "_enable"));
            out += var(row + "_interval", state_.settings.value(row + "_interval"));
        }
        return true;
    };
    specials_["setsnaptimerattrex"] = [interval](const Command& c, SettingsChange& change, std::string& out) {
        std::string type = c.param("as_type");
        if (!listed(kSnapTypes, type))
            return refuse(out, "as_type");
        std::string row = "as_" + type;
        for (const auto& [k, v] : c.params) {
            if (k == "as_type")
                continue;
            if (k == "as_enable" && (v == "0" || v == "1"))
                change.set(row + "_enable", v);
            else if (k == "as_interval" && interval(v))
                change.set(row + "_interval", v);
            else
                return refuse(out, k);
        }
        return true;
    };
    specials_["getscheduleex"] = [this](const Command& c, SettingsChange&, std::string& out) {
        std::string name = c.param("ename");
        if (!listed(kSchedules, name))
            return refuse(out, "ename");
        for (int d = 0; d < 7; ++d) {
            std::string day = "week" + std::to_string(d);
            out += var(day, state_.settings.value(name + "_" + day));
        }
        return true;
    };
    specials_["setscheduleex"] = [](const Command& c, SettingsChange& change, std::string& out) {
        std::string name = c.param("ename");
        if (!listed(kSchedules, name))
            return refuse(out, "ename");
        for (const auto& [k, v] : c.params) {
            if (k == "ename")
                continue;
            bool day = k.size() == 5 && k.rfind("week", 0) == 0 && k[4] >= '0' && k[4] <= '6';
            if (!day || !isDayText(v))
                return refuse(out, k);
            change.set(name + "_" + k, v);
        }
        return true;
    };
}

}  // namespace camsim

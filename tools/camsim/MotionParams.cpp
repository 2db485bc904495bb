// Motion detection: four areas named by "-name=n" and stored as m<n>_*, the
// alarm actions named by "-aname=x" and stored as md_x_switch, the I/O
// alarm, and the smart (human) detection that only cameras of one or two
// streams have. An enabled area must lie inside the video of the current
// videomode, as a camera's detector only covers its own picture. A later
// change of the videomode is taken and leaves the stored areas as they are:
// the next write of an area outside the new video is refused.
#include "tools/camsim/Numbers.h"
#include "tools/camsim/ParamCgi.h"

#include <algorithm>

namespace camsim {

namespace {

std::string var(const std::string& name, const std::string& value)
{
    return "var " + name + "=\"" + value + "\";\r\n";
}

bool refuse(std::string& out, const std::string& param)
{
    out += "[Error]-" + param + ": bad value.\r\n";
    return false;
}

const char* const kAlarmActions[] = {"email", "emailsnap", "ftpsnap", "ftprec", "snap", "record", "relay"};
const char* const kAreaKeys[] = {"enable", "x", "y", "w", "h", "sensitivity"};
constexpr int kAreas = 4;

bool isAction(const std::string& name)
{
    return std::any_of(std::begin(kAlarmActions), std::end(kAlarmActions), [&](const char* a) { return name == a; });
}

struct VideoSize {
    int width, height;
};

// The picture a videomode gives the detector; any other mode is 1280 x 720.
VideoSize videoSizeOf(const std::string& videomode)
{
    int mode = 0;
    parseInt(videomode, mode);
    switch (mode) {
    case 33:
    case 34:
        return {640, 352};
    case 41:
    case 42:
    case 48:
        return {1920, 1080};
    case 51:
    case 52:
    case 53:
    case 54:
        return {1280, 960};
    case 81:
    case 82:
    case 85:
        return {2560, 1440};
    case 101:
    case 102:
        return {2560, 1920};
    case 122:
    case 123:
        return {3840, 2160};
    default:
        return {1280, 720};
    }
}

}  // namespace

void ParamCgi::defineMotionCommands()
{
    const Options& o = state_.options;
    SettingsStore& s = state_.settings;
    for (int n = 1; n <= kAreas; ++n) {
        std::string area = "m" + std::to_string(n) + "_";
        s.define(area + "enable", "0");
        s.define(area + "x", "0");
        s.define(area + "y", "0");
        s.define(area + "w", "0");
        s.define(area + "h", "0");
        s.define(area + "sensitivity", "50");
    }
    for (const char* action : kAlarmActions)
        s.define(std::string("md_") + action + "_switch", "off");

    const ValueRule zeroOne = oneOf({"0", "1"});
    std::vector<ParamGroup> motion = {{"ioattr", "", {}, {{"io_enable", "0", zeroOne}, {"io_flag", "0", zeroOne}}}};
    // Smart detection came with the cameras of one or two streams.
    if (o.streams <= 2) {
        // "CAMXC4-HX" tells humans from vehicles; the others also pets.
        ValueRule types = o.model.rfind("CAMXC4-HX", 0) == 0 ? oneOf({"0", "1"}) : oneOf({"0", "1", "2"});
        motion.push_back({"smdattr", "", {}, {{"smd_enable", "0", zeroOne}}});
        motion.push_back({"smdex", "", {}, {{"smd_rect", "0", zeroOne}, {"smd_type", "0", types}}});
    }
    for (auto& g : motion) {
        for (const auto& k : g.keys)
            s.define(k.name, k.value);
        groups_.push_back(std::move(g));
    }

    specials_["getmdattr"] = [this](const Command& c, SettingsChange&, std::string& out) {
        for (int n = 1; n <= kAreas; ++n) {
            if (c.has("name") && c.param("name") != std::to_string(n))
                continue;
            for (const char* key : kAreaKeys) {
                std::string name = "m" + std::to_string(n) + "_" + key;
                out += var(name, state_.settings.value(name));
            }
        }
        return true;
    };
    specials_["setmdattr"] = [](const Command& c, SettingsChange& change, std::string& out) {
        int n = 0;
        if (!parseInt(c.param("name"), n) || n < 1 || n > kAreas)
            return refuse(out, "name");
        std::string area = "m" + std::to_string(n) + "_";
        for (const auto& [k, v] : c.params) {
            int value = 0;
            if (k == "name")
                continue;
            if (k == "enable" && (v == "0" || v == "1"))
                change.set(area + "enable", v);
            else if (k == "s" && parseInt(v, value) && value >= 1 && value <= 100)
                change.set(area + "sensitivity", v);
            else if ((k == "x" || k == "y" || k == "w" || k == "h") && parseInt(v, value) && value >= 0)
                change.set(area + k, v);
            else
                return refuse(out, k);
        }
        if (change.value(area + "enable") != "1")
            return true;
        // The area as it stands after this command, against the video of
        // the videomode the request leaves.
        int x = 0, y = 0, w = 0, h = 0;
        parseInt(change.value(area + "x"), x);
        parseInt(change.value(area + "y"), y);
        parseInt(change.value(area + "w"), w);
        parseInt(change.value(area + "h"), h);
        VideoSize video = videoSizeOf(change.value("videomode"));
        if (w <= 0 || h <= 0 || x + w > video.width || y + h > video.height) {
            out += "[Error]-name=" + std::to_string(n) + ": area outside the video.\r\n";
            return false;
        }
        return true;
    };
    specials_["getmdalarm"] = [this](const Command& c, SettingsChange&, std::string& out) {
        std::string name = c.param("aname");
        if (c.has("aname") && !isAction(name))
            return refuse(out, "aname");
        for (const char* action : kAlarmActions) {
            if (c.has("aname") && name != action)
                continue;
            std::string key = std::string("md_") + action + "_switch";
            out += var(key, state_.settings.value(key));
        }
        return true;
    };
    specials_["setmdalarm"] = [](const Command& c, SettingsChange& change, std::string& out) {
        std::string name = c.param("aname");
        if (!isAction(name))
            return refuse(out, "aname");
        for (const auto& [k, v] : c.params) {
            if (k == "aname")
                continue;
            if (k != "switch" || (v != "on" && v != "off"))
                return refuse(out, k);
            change.set("md_" + name + "_switch", v);
        }
        return true;
    };
}

}  // namespace camsim

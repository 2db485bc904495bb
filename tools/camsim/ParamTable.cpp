#include "tools/camsim/ParamTable.h"

#include "tools/camsim/Numbers.h"
#include "tools/camsim/Wireless.h"

#include <algorithm>

namespace camsim {

ValueRule anyText()
{
    return [](const std::string&) { return true; };
}

ValueRule intRange(int lo, int hi)
{
    return [lo, hi](const std::string& v) {
        int n = 0;
        return parseIntIn(v, lo, hi, n);
    };
}

ValueRule oneOf(std::vector<std::string> words)
{
    return [words = std::move(words)](const std::string& v) {
        return std::find(words.begin(), words.end(), v) != words.end();
    };
}

ValueRule addressOrEmpty()
{
    return [](const std::string& v) {
        if (v.empty())
            return true;
        int parts = 0;
        size_t at = 0;
        while (at <= v.size()) {
            size_t dot = v.find('.', at);
            std::string part = v.substr(at, dot == std::string::npos ? std::string::npos : dot - at);
            if (!intRange(0, 255)(part))
                return false;
            ++parts;
            if (dot == std::string::npos)
                break;
            at = dot + 1;
        }
        return parts == 4;
    };
}

bool isLampModel(const std::string& model)
{
    for (const char* code : {"CAMXB4-HX-D", "CAMXC4-HX-D", "CAMXC5-HX-Z20-D", "CAMXB4-HX-Z20-D"}) {
        if (model.rfind(code, 0) == 0)
            return true;
    }
    return false;
}

bool isSafeValue(const std::string& value)
{
    return value.find_first_of("\"\r\n") == std::string::npos;
}

std::vector<ParamGroup> paramTable(const Options& o)
{
    // Channel 13 is the third stream: a camera with fewer has no such channel.
    std::vector<std::pair<std::string, std::string>> channels = {{"11", "_1"}, {"12", "_2"}, {"13", "_3"}};
    channels.resize(static_cast<size_t>(std::clamp(o.streams, 1, 3)));
    const std::vector<std::pair<std::string, std::string>> regions = {{"0", "_0"}, {"1", "_1"}};
    const ValueRule any = anyText();
    const ValueRule onOff = oneOf({"on", "off"});
    const ValueRule zeroOne = oneOf({"0", "1"});

    // Ports are stored and reported; the listeners stay where they are.
    const ValueRule port = intRange(1, 65535);
    const ValueRule address = addressOrEmpty();
    const ValueRule noise = o.numericNoise ? oneOf({"25", "0"}) : onOff;

    std::vector<ParamGroup> table = {
        {"netattr",
         "",
         {},
         {{"dhcpflag", "off", onOff, "dhcp"},
          {"ip", "192.168.1.88", address, "ipaddr"},
          {"netmask", "255.255.255.0", address},
          {"gateway", "192.168.1.1", address},
          {"dnsstat", "0", zeroOne},
          {"fdnsip", "192.168.1.1", address},
          {"sdnsip", "8.8.8.8", address},
          {"networktype", "LAN", any, "", true}}},
        {"httpport", "", {}, {{"httpport", "80", port}}},
        {"rtspport", "", {}, {{"rtspport", "554", port}}},
        {"rtspauth", "", {}, {{"rtsp_aenable", "1", zeroOne}}},
        {"upnpattr", "", {}, {{"upm_enable", "0", zeroOne}}},
        {"rtmpattr", "", {}, {{"rtmpport", "1935", port}}},
        {"imageattr",
         "",
         {},
         {{"brightness", "50", intRange(0, 100)},
          {"saturation", "128", intRange(0, 255)},
          {"contrast", "50", intRange(0, 100)},
          {"hue", "50", intRange(0, 100)},
          {"sharpness", "50", intRange(0, 100)},
          {"targety", "128", intRange(0, 255)},
          {"flip", "off", onOff},
          {"mirror", "off", onOff},
          {"noise", o.numericNoise ? "25" : "on", noise},
          {"wdr", "off", onOff},
          {"night", "off", onOff},
          {"gc", "64", intRange(0, 65535)},
          {"shutter", "1000", intRange(0, 65535)},
          {"aemode", "0", intRange(0, 2)},
          {"display_mode", "1", zeroOne, "image_type"}}},
        {"ircutattr", "", {}, {{"saradc_switch_value", "512", intRange(1, 1024)}}},
        {"infrared", "", {}, {{"infraredstat", "auto", oneOf({"open", "close", "auto", "user"})}}},
        {"mobilesnapattr", "", {}, {{"msize", "1", intRange(1, 2)}}},
        {"videoattr",
         "",
         {},
         {{"videomode", "31", any},
          {"vinorm", "P", oneOf({"P", "N"})},
          {"profile", "1", intRange(0, 3)},
          {"maxchn", "", any, "", true}}},
        {"vencattr",
         "chn",
         channels,
         {{"bps", "", intRange(16, 100000)},
          {"fps", "", intRange(1, 120)},
          {"gop", "", intRange(1, 3000)},
          {"brmode", "1", zeroOne},
          {"imagegrade", "1", intRange(1, 6)},
          {"width", "", any, "", true},
          {"height", "", any, "", true}}},
        {"aencattr",
         "chn",
         channels,
         {{"aeswitch", "1", zeroOne}, {"aeformat", "g711a", oneOf({"g711a", "g711u", "g726"})}}},
        {"audioinvolume", "", {}, {{"volin_type", "1", zeroOne}, {"volume", "80", intRange(1, 100)}}},
        // The output volume is set as "-volume" and read back as ao_volume.
        {"audiooutvolume", "", {}, {{"ao_volume", "80", intRange(1, 100), "volume"}}},
        {"ntpattr",
         "",
         {},
         {{"ntpenable", "1", zeroOne}, {"ntpserver", "pool.ntp.org", any}, {"ntpinterval", "1", intRange(1, 24)}}},
        {"overlayattr",
         "region",
         regions,
         {{"show", "1", zeroOne},
          {"place", "0", intRange(0, 3)},
          {"type", "0", intRange(0, 2)},
          {"name", o.name, any}}},
        {"motorattr",
         "",
         {},
         {{"panspeed", "1", intRange(0, 2)}, {"tiltspeed", "1", intRange(0, 2)}, {"movehome", "on", onOff}}},
        // Plan recording: its stream is channel 13 only on a camera with three.
        {"planrecattr",
         "",
         {},
         {{"planrec_enable", "0", zeroOne},
          {"planrec_time", "600", intRange(15, 900)},
          {"planrec_chn", "11",
           oneOf(o.streams >= 3 ? std::vector<std::string>{"11", "12", "13"} : std::vector<std::string>{"11", "12"})}}},
        // Written in parts by the auto capture, motion and e-mail pages.
        {"alarmsnapattr",
         "",
         {},
         {{"snap_name_mode", "0", zeroOne},
          {"snap_timer_name", "snap", [](const std::string& v) { return v.size() <= 31; }},
          {"snap_chn", "12", oneOf({"11", "12", "13"})},
          {"snap_count", "1", intRange(1, 3)}}},
        // Outgoing mail: three receivers in ma_to, a message of several lines.
        {"smtpattr",
         "",
         {},
         {{"ma_server", "smtp.example.com", any},
          {"ma_port", "25", intRange(1, 65535)},
          {"ma_ssl", "0", intRange(0, 3)},
          {"ma_logintype", "1", oneOf({"1", "2", "3"})},
          {"ma_username", "", any},
          {"ma_password", "", any},
          {"ma_from", "", any},
          {"ma_fromname", "", any},
          {"ma_to", ";;", any},
          {"ma_subject", "Alarm", any},
          ParamKey{"ma_text", "Alarm", any, "", false, true}}},
        {"ftpattr",
         "",
         {},
         {{"ft_server", "", any},
          {"ft_port", "21", intRange(1, 65535)},
          {"ft_username", "", any},
          {"ft_password", "", any},
          {"ft_dirname", "./", any},
          {"ft_mode", "0", zeroOne}}},
        {"vendorinfo", "", {}, {{"vendor", o.vendor, any}}, true},
        {"sysinfo", "", {}, {{"product", o.model, any}, {"devid", "CAMSIM0000001234", any}}, true},
        {"serverinfo",
         "",
         {},
         {{"model", o.model, any},
          {"hardVersion", "V1.0", any},
          {"softVersion", o.firmware, any},
          {"webVersion", o.webVersion, any},
          {"name", o.name, any},
          {"startdate", "2026-01-01 00:00:00", any},
          {"upnpstatus", "off", any},
          {"sdstatus", "out", any},
          {"sdfreespace", "0", any},
          {"sdtotalspace", "0", any}},
         true},
    };
    table.push_back(wirelessGroup());
    // Only cameras with a white-light lamp know the lamp commands.
    if (isLampModel(o.model))
        table.push_back({"lampattrex", "", {}, {{"lamp_mode", "0", intRange(0, 2)}}});
    return table;
}

}  // namespace camsim

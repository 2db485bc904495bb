#include "tools/camsim/ParamTable.h"

#include <algorithm>
#include <charconv>

namespace camsim {

ValueRule anyText() {
  return [](const std::string&) { return true; };
}

ValueRule intRange(int lo, int hi) {
  return [lo, hi](const std::string& v) {
    int n = 0;
    auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    return !v.empty() && ec == std::errc() && p == v.data() + v.size() && n >= lo && n <= hi;
  };
}

ValueRule oneOf(std::vector<std::string> words) {
  return [words = std::move(words)](const std::string& v) {
    return std::find(words.begin(), words.end(), v) != words.end();
  };
}

bool isSafeValue(const std::string& value) { return value.find_first_of("\"\r\n") == std::string::npos; }

std::vector<ParamGroup> paramTable(const Options& o) {
  // Channel 13 is the third stream: a camera with fewer has no such channel.
  std::vector<std::pair<std::string, std::string>> channels = {{"11", "_1"}, {"12", "_2"}, {"13", "_3"}};
  channels.resize(static_cast<size_t>(std::clamp(o.streams, 1, 3)));
  const std::vector<std::pair<std::string, std::string>> regions = {{"0", "_0"}, {"1", "_1"}};
  const ValueRule any = anyText();
  const ValueRule onOff = oneOf({"on", "off"});
  const ValueRule zeroOne = oneOf({"0", "1"});

  return {
      {"videoattr", "", {}, {{"videomode", "31", any}, {"vinorm", "P", any}, {"profile", "1", any}, {"maxchn", "", any, "", true}}},
      {"vencattr", "chn", channels,
       {{"bps", "", intRange(16, 100000)},
        {"fps", "", intRange(1, 120)},
        {"gop", "", intRange(1, 3000)},
        {"brmode", "1", zeroOne},
        {"imagegrade", "1", intRange(1, 6)},
        {"width", "", any, "", true},
        {"height", "", any, "", true}}},
      {"aencattr", "chn", channels, {{"aeswitch", "1", zeroOne}, {"aeformat", "g711a", oneOf({"g711a", "g711u", "g726"})}}},
      {"audioinvolume", "", {}, {{"volin_type", "1", zeroOne}, {"volume", "80", intRange(1, 100)}}},
      // The output volume is set as "-volume" and read back as ao_volume.
      {"audiooutvolume", "", {}, {{"ao_volume", "80", intRange(1, 100), "volume"}}},
      {"ntpattr", "", {}, {{"ntpenable", "1", zeroOne}, {"ntpserver", "pool.ntp.org", any}, {"ntpinterval", "1", intRange(1, 24)}}},
      {"overlayattr", "region", regions,
       {{"show", "1", zeroOne}, {"place", "0", intRange(0, 3)}, {"type", "0", intRange(0, 2)}, {"name", o.name, any}}},
      {"motorattr", "", {}, {{"panspeed", "1", intRange(0, 2)}, {"tiltspeed", "1", intRange(0, 2)}, {"movehome", "on", onOff}}},
      // Plan recording: its stream is channel 13 only on a camera with three.
      {"planrecattr", "", {},
       {{"planrec_enable", "0", zeroOne},
        {"planrec_time", "600", intRange(15, 900)},
        {"planrec_chn", "11", oneOf(o.streams >= 3 ? std::vector<std::string>{"11", "12", "13"}
                                                   : std::vector<std::string>{"11", "12"})}}},
      // Written in parts by the auto capture, motion and e-mail pages.
      {"alarmsnapattr", "", {},
       {{"snap_name_mode", "0", zeroOne},
        {"snap_timer_name", "snap", [](const std::string& v) { return v.size() <= 31; }},
        {"snap_chn", "12", oneOf({"11", "12", "13"})},
        {"snap_count", "1", intRange(1, 3)}}},
      {"vendorinfo", "", {}, {{"vendor", o.vendor, any}}, true},
      {"sysinfo", "", {}, {{"product", o.model, any}, {"devid", "CAMSIM0000001234", any}}, true},
      {"serverinfo", "", {},
       {{"model", o.model, any}, {"hardVersion", "V1.0", any}, {"softVersion", o.firmware, any},
        {"webVersion", o.webVersion, any}, {"name", o.name, any}, {"startdate", "2026-01-01 00:00:00", any},
        {"upnpstatus", "off", any}, {"sdstatus", "out", any}, {"sdfreespace", "0", any}, {"sdtotalspace", "0", any}},
       true},
  };
}

} // namespace camsim

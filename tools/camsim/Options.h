#pragma once
// camsim's command line. Everything has a default, so `camsim` alone is a
// working HX camera on free loopback ports.

#include "tools/camsim/Family.h"

#include <string>
#include <vector>

namespace camsim {

enum class AuthMode { Any, Basic, Digest, None };
enum class Malformed { None, Body, Http };

struct Options {
    Family family = Family::HX;
    std::string bind = "127.0.0.1";
    int httpPort = 0;  // 0: a free port, printed on stdout
    int rtspPort = 0;
    std::string user = "admin";
    std::string password = "admin";
    AuthMode auth = AuthMode::Any;
    std::string logPath;  // request log; empty: none
    bool chunked = false;

    std::string model = "CAMXA1-N";
    std::string firmware = "V19.1.20.16";
    std::string webVersion = "2.0.10";
    std::string name = "camsim";
    std::string vendor = "CAMSIM";  // getvendorinfo's vendor word
    int streams = 3;
    bool numericNoise = false;  // imageattr's "noise" as "25"/"0" instead of "on"/"off"

    bool rtsp = true;
    bool rtspAuth = false;
    bool audio = true;
    bool unusableStream = false;  // the picture in a payload no client knows, no sound
    int width = 320;
    int height = 240;
    int fps = 15;
    int bitrateKbps = 256;
    int keyInterval = 30;  // frames between key frames
    bool replay = false;   // encode a clip once at start and send it in a loop

    // Faults switched on from the start; the same can be changed at run time.
    int delayMs = 0;
    bool hang = false;
    int httpError = 0;
    bool refuseLogin = false;
    Malformed malformed = Malformed::None;
    int cutAfter = -1;
    int streamStopAfter = -1;  // seconds after start; -1: never
    int vanishAfter = -1;      // seconds after start; -1: never
    int vanishFor = 5;
    int rebootSeconds = 5;  // a firmware upgrade's reboot: ports gone this long

    // The port family HV's binary alarm and talk protocol listens on ("VideoPort"),
    // set once it is bound.
    int hvVideoPort = 90;
    int reportedVideoPort = -1;  // --video-port: netport_get says this instead
};

// Fills `out` from argv. Returns false with a message in `error` on a bad
// argument; sets `help` when --help was asked.
bool parseOptions(const std::vector<std::string>& args, Options& out, bool& help, std::string& error);
std::string usageText();

const char* authModeName(AuthMode mode);
bool parseMalformed(const std::string& text, Malformed& out);

}  // namespace camsim

#include "tools/camsim/Options.h"

#include "tools/camsim/Numbers.h"

#include <arpa/inet.h>
#include <functional>
#include <map>

namespace camsim {

namespace {

bool isLoopback(const std::string& addr)
{
    in_addr a4{};
    if (inet_pton(AF_INET, addr.c_str(), &a4) == 1)
        return (ntohl(a4.s_addr) >> 24) == 127;
    return false;
}

}  // namespace

const char* authModeName(AuthMode mode)
{
    switch (mode) {
    case AuthMode::Any:
        return "any";
    case AuthMode::Basic:
        return "basic";
    case AuthMode::Digest:
        return "digest";
    case AuthMode::None:
        return "none";
    }
    return "?";
}

bool parseMalformed(const std::string& text, Malformed& out)
{
    if (text == "none" || text == "0")
        out = Malformed::None;
    else if (text == "body" || text == "1")
        out = Malformed::Body;
    else if (text == "http")
        out = Malformed::Http;
    else
        return false;
    return true;
}

std::string usageText()
{
    return R"(usage: camsim [options]
A simulated network camera of one family on loopback ports. When it is ready
it prints one line on stdout:
    camsim: http=PORT rtsp=PORT
(rtsp=0 with --no-rtsp) and serves until SIGINT or SIGTERM.

Camera:
  --family F           HX|HV|DY|AJ|HTL or the chip type 71|72|73|76|77 (HX)
  --bind ADDR          loopback address to listen on (127.0.0.1)
  --http-port N        HTTP port, 0 = a free one (0)
  --rtsp-port N        RTSP port, 0 = a free one (0)
  --user U             administrator account name (admin)
  --password P         administrator password (admin); the accounts "user"
                       and "guest" (password as the name) are rows 1 and 2
  --auth MODE          HTTP authentication: any|basic|digest|none (any);
                       any asks for Digest and Basic and accepts either
  --model TEXT         model text (CAMXA1-N)
  --firmware TEXT      firmware version (V19.1.20.16)
  --web-version TEXT   web page version (2.0.10)
  --name TEXT          camera name (camsim)
  --vendor TEXT        vendor word of getvendorinfo (CAMSIM)
  --streams N          number of video streams (3); the parameter CGI knows
                       the channels 11 to 10+N only (2: no channel 13)
  --numeric-noise      getimageattr reports "noise" as "25" or "0" (else
                       "on" or "off") and setimageattr takes that spelling
  --log FILE           request log: one line per request,
                       "METHOD TARGET AUTH STATUS", AUTH none|basic|digest|other
  --chunked            send every reply body chunked

What each family answers (all but AJ's own requests need the account by
HTTP authentication; AJ's carry username= and password= in the query):
  HX   /cgi-bin/hi3510/param.cgi?cmd=NAME&-param=value&cmd=...  variable
       lines var name="value"; (getuserinfo, getvideoattr, getvencattr,
       getaencattr, getservertime, setservertime, getserverinfo, ...; setters
       answer [Succeed]set ok.), /web.ini ([vxver] vercfg = MODEL),
       /web/tmpfs/snap.jpg, /log/syslog.txt, /cgi-bin/hi3510/logsync.cgi
       and the settings commands the settings pages use, kept in a store
       so a reload shows what was set:
         get/setoverlayattr -region=0|1 (show 0/1, place 0-3, type 0-2, name)
         get/setntpattr (ntpenable 0/1, ntpserver, ntpinterval 1-24)
         getservertime, setservertime -time=Y.M.D.h.m.s -timezone -dstmode on|off
         get/setmotorattr (panspeed 0-2, tiltspeed 0-2, movehome on|off)
         get/setaencattr -chn=11|12|13 (aeswitch 0/1, aeformat g711a|g711u|g726)
         get/setaudioinvolume (volin_type 0/1, volume 1-100)
         get/setaudiooutvolume (-volume 1-100, read back as ao_volume)
         getuserattr (at_username0..2, at_password0..2), setuserattr
           -at_username=ROW'S NAME [-at_newname=NAME] [-at_password=P]
         getvendorinfo (vendor), getserverinfo (model, softVersion, ...,
           sdstatus, sdtotalspace, sdfreespace in kilobytes)
         get/setsnaptimerattrex -as_type=ftp|email|snap (as_enable 0/1,
           as_interval 1-65535; kept and read back as as_TYPE_enable/_interval)
         get/setscheduleex -ename=snap|md|plan (-week0..-week6: 48 marks
           P/N, one a half-hour; kept as NAME_week0..6, read back as week0..6)
         get/setplanrecattr (planrec_enable 0/1, planrec_time 15-900,
           planrec_chn 11|12, 13 only with 3 streams)
         get/setalarmsnapattr (snap_name_mode 0/1, snap_timer_name up to 31
           characters, snap_chn 11-13, snap_count 1-3)
         get/setsmtpattr (ma_server, ma_port 1-65535, ma_ssl 0-3,
           ma_logintype 1|2|3, ma_username, ma_password, ma_from,
           ma_fromname, ma_to, ma_subject, ma_text which may hold CR and LF)
         get/setftpattr (ft_server, ft_port 1-65535, ft_username,
           ft_password, ft_dirname, ft_mode 0/1)
         sdfrmt, testsmtp, testftp take their real time (3, 2 and 2 s),
           one at a time: sdfrmt answers [Error] without a card (sdstatus
           "out"), else empties it (sdfreespace = sdtotalspace); the tests
           answer var result="0". GET /camsim/cue?op=NAME&seconds=N
           [&result=R] sets the next run's time and answer (sdfrmt: ok or
           anything else for a failure; tests: the result number).
         get/setwirelessattr (wf_enable 0/1, wf_ssid, wf_auth 0-3 none|WEP|
           WPA-PSK|WPA2-PSK, wf_key, wf_enc 0/1 TKIP|AES, wf_mode 0/1):
           switched on, the SSID must have 1-32 bytes and the key suit the
           security (WEP 5 or 13 characters or 10 or 26 hex digits, WPA 8-63
           characters or 64 hex digits)
         chkwirelessattr (the same parameters) keeps them for the test;
           getchkwireless takes 4 s and answers var chkres="1" when they
           match an access point of camsim's table (SSID and key; an open
           one with security none), else "0"
         searchwireless takes 3 s and lists the table: waccess_points,
           wessid[i], wnet[i], wrssi[i], wauth[i], wenc[i]. The table:
           HomeNet WPA2-PSK AES key sunflower-42, Office-2G WPA-PSK TKIP
           key office2026, GuestOpen open, OldBridge OPEN/WEP key abcde,
           PeerCam (Adhoc) WPA2-PSK AES key peer-cam-77. Cue result=N for
           N access points (more than the table: camsim-ap-NNN with key
           camsim-key-NNN), result=fail for an [Error] answer
         GET /camsim/cue?op=netrestart&seconds=N: after the next answer that
           changes the address, DHCP or the HTTP port the camera closes its
           ports for N seconds, as a camera restarting its network
         getserverinfo's upnpstatus is ok or off after setupnpattr
         get/setnetattr (-dhcp on|off read back as dhcpflag, -ipaddr read
           back as ip, netmask, gateway, dnsstat 0/1, fdnsip, sdnsip: each
           a.b.c.d or empty; networktype LAN, read only)
         get/sethttpport, get/setrtspport, get/setrtmpattr (httpport,
           rtspport, rtmpport 1-65535): stored and reported only, the
           listeners stay on their ports
         get/setrtspauth (rtsp_aenable 0/1), get/setupnpattr (upm_enable 0/1)
         get/setimageattr (brightness, contrast, hue, sharpness 0-100;
           saturation, targety 0-255; flip, mirror, wdr, night on|off; noise
           on|off or 25|0 with --numeric-noise; gc, shutter 0-65535; aemode
           0-2; -image_type 0/1 read back as display_mode; -default=on puts
           the image values back to their start)
         get/setircutattr (saradc_switch_value 1-1024), ircutctrl -mode=0|1
           (sets display_mode), get/setinfrared (infraredstat
           open|close|auto|user), get/setmobilesnapattr (msize 1-2)
         get/setlampattrex (lamp_mode 0-2): lamp models only (CAMXB4-HX-D,
           CAMXC4-HX-D, CAMXC5-HX-Z20-D, CAMXB4-HX-Z20-D), else unknown
         cleanlog -name=sys empties the system log
         setvideoattr -videomode=N (31-34, 41, 42, 48, 51-54, 17, 20, 81,
           82, 85, 101, 102, 122, 123) sets the stream sizes getvencattr
           reports (width_N, height_N); the RTSP picture keeps its own;
           -vinorm P|N, -profile 0-3
       A getter of a group with an index (-chn, -region) and no index
       prints every index. The system log (/log/syslog.txt) has one line
       "[YYYY_MM_DD HH:MM:SS] text" per event: the start, logins, every
       applied request and the tests.
       A value out of range, an unknown parameter or one holding '"', CR
       or LF is refused: the reply says [Error] and the whole request
       changes nothing. The accounts drive every login (HTTP, AJ's query
       account, DY's rolename).
  HV   /cgi/sys_get?Group=DeviceInfo|TimeInfo,
       /cgi/netport_get?Channel=1&Group=NetPortInfo: XML in <Message> with
       <result code="200">; no parameter CGI
  DY   /dy-cgi/user.cgi?cmd=checkuserinfo, /dy-cgi/device.cgi?cmd=getdeviceinfo
       (var name='value';) and the parameter CGI and files of HX
  AJ   /cgi-bin/user_management, /cgi-bin/audioencoder, /cgi-bin/deviceinfo
       (XML attributes) and the parameter CGI and files of HX
  HTL  /cgi-bin/web.cgi?mod=M&cmd=C or /cgi-bin/web.cgi?{"mod":"M","cmd":"C"}
       (flat JSON with "code":200) and the parameter CGI and files of HX

Stream (RTSP with RTP over TCP or UDP; H.264 test pattern, G.711 A-law tone):
  --no-rtsp            serve no RTSP
  --rtsp-auth          the stream asks for the account (Basic or Digest)
  --no-audio           video only
  --unusable-stream    the picture in an RTP payload no client knows (X-GST)
                       and no sound: a stream nothing can be recorded from
  --width N --height N main stream size (320x240); the sub stream is half
  --fps N              frame rate (15)
  --bitrate N          main stream bit rate in kbit/s (256)
  --keyint N           frames between key frames (30)
  --replay             encode about two seconds of the pattern once at start
                       and send them in a loop: no encoder runs while serving,
                       so many cameras fit on one machine even at large sizes
  Paths: /  /ch=1 /ch=2 /ch=3 (main) and the same followed by /sl=1 (sub).

Faults from the start (all can be changed at run time, below):
  --delay-ms N         wait N ms before each answer
  --hang               read requests and never answer
  --http-error N       answer every camera request with status N
  --refuse-login       the family's own refusal of the account
  --malformed KIND     body: cut, unterminated reply bodies; http: a broken
                       status line, then the connection closes
  --cut-after N        send N bytes of each reply body, then drop the
                       connection (the headers announce the whole body)
  --stream-stop-after S  S seconds after start the stream stops
  --vanish-after S     S seconds after start the camera closes its ports ...
  --vanish-for N       ... and opens them again N seconds later (5)
  --reboot-seconds N   an upgrade, sysreboot.cgi or sysreset.cgi reboots: ports gone N seconds (5)
  --video-port N       HV: netport_get reports N as VideoPort (any number,
                       out of range too) instead of the side channel's port
  --make-package MODEL VERSION OUT [PAYLOAD BYTES]   writes a firmware package and ends

Control (not logged, no authentication), on the HTTP port:
  GET /camsim/fault?KEY=VALUE&...   keys:
      delay=MS  hang=0|1  error=STATUS (0 = off)  refuse=0|1
      malformed=none|body|http  chunked=0|1  cut=N (-1 = off)
      rate=BYTES  replies go out at about BYTES a second (0 = off)
      count=N     the request faults above apply to the next N requests only
      match=TEXT  the request faults apply only to targets containing TEXT
      skip=N      ... and only after N such requests have passed
      stream=stop|stall|resume   stop: sessions are dropped and the paths
                  answer 404; stall: sessions stay, no more packets
      vanish=N    close both ports now, open them again after N seconds
      cmderror=NAME[,NAME]  the parameter CGI answers these commands
                  "[Error]" under status 200 (empty: off)
      clear=1     all faults off
  GET /camsim/sd?...   reshapes the memory card below /sd/ (files and
      listing pages, GET and HEAD with byte ranges):
      page=PATH/&markup=TEXT   the page's markup, verbatim
      page=PATH/&rows=N        a page of N file rows
      file=PATH&size=N[&time=YYYYMMDDhhmmss][&name=LISTED NAME]  a file
      The card's recordings play (AVI: H.264 and G.711 A-law, 6 s; one of
      36:40 a day back); they are encoded on first use and kept in
      $TMPDIR/camsim-sdmedia-*/.
  GET /camsim/set?KEY=VALUE&...     sets settings of the parameter CGI as
      they are, e.g. model=X sdstatus=ok; also time=TEXT (the reply's time
      instead of the clock), authLevel=N (the login's level) and
      encode_type=TEXT (AJ's audio encoder, G.711A by default),
      pkgmodel=TEXT (the model a firmware package must name) and
      upgradereply=silent|keep|newline (the upgrade's answer faults)
      A firmware upload's body takes cut and rate itself: it is read at
      about rate bytes a second and dropped after cut bytes.
  GET /camsim/state                 the faults and counters, one per line
      (upgradebytes: the latest firmware upload's body bytes read so far)

Side channels (alarm and talk) and PTZ:
  HX answers "/livestream/11" (alarm) and "/call_invite" (talk) on its web
  port; HTL both on port 8088, AJ alarm on 890 and talk on 888 of the --bind
  address (give each camera its own 127.x.y.z); HV speaks its binary "INF"
  protocol on a free port that netport_get reports as VideoPort. Ports that
  cannot be opened are named as side_unbound= in /camsim/state.
  PTZ: ptzctrl.cgi and param.cgi?cmd=preset (families with the parameter
  CGI), AJ /cgi-bin/ptz_ctrl, HTL web.cgi {"mod":"ptz",...} by POST.
  GET /camsim/alarm?event=motion|input|keepalive|text&start=0|1&byte9=HEX&text=T
                                    one event to every alarm subscriber
  GET /camsim/ptz                   what the camera did ("up 31", "stop",
                                    "preset-goto 0"); ?clear=1 empties it
  /camsim/fault keys: alarm=refuse|drop|badlength|badframes|none
                      (badframes: every subscription accepted gets only
                      bad frames, at once and for ever; HV a cut record)
                      talk=refuse|nosession|slow|split|drop|none
  /camsim/state adds alarm_active, alarm_subscriptions, alarm_refused,
  alarm_events, talk_sessions, talk_refused, talk_active, talk_packets,
  talk_bad_packets, talk_gaps, talk_codec and talk_frequency (Hz)
)";
}

bool parseOptions(const std::vector<std::string>& args, Options& o, bool& help, std::string& error)
{
    help = false;
    using Setter = std::function<bool(const std::string&)>;
    auto intOpt = [](int& field, int lo, int hi) {
        return Setter([&field, lo, hi](const std::string& v) { return parseIntIn(v, lo, hi, field); });
    };
    auto textOpt = [](std::string& field) {
        return Setter([&field](const std::string& v) {
            field = v;
            return true;
        });
    };
    std::map<std::string, Setter> withValue = {
        {"family",
         [&o](const std::string& v) {
             auto f = parseFamily(v);
             if (f)
                 o.family = *f;
             return f.has_value();
         }},
        {"bind",
         [&o](const std::string& v) {
             o.bind = v;
             return isLoopback(v);
         }},
        {"http-port", intOpt(o.httpPort, 0, 65535)},
        {"rtsp-port", intOpt(o.rtspPort, 0, 65535)},
        {"user", textOpt(o.user)},
        {"password", textOpt(o.password)},
        {"auth",
         [&o](const std::string& v) {
             if (v == "any")
                 o.auth = AuthMode::Any;
             else if (v == "basic")
                 o.auth = AuthMode::Basic;
             else if (v == "digest")
                 o.auth = AuthMode::Digest;
             else if (v == "none")
                 o.auth = AuthMode::None;
             else
                 return false;
             return true;
         }},
        {"model", textOpt(o.model)},
        {"firmware", textOpt(o.firmware)},
        {"web-version", textOpt(o.webVersion)},
        {"name", textOpt(o.name)},
        {"vendor", textOpt(o.vendor)},
        {"streams", intOpt(o.streams, 1, 3)},
        {"log", textOpt(o.logPath)},
        {"width", intOpt(o.width, 16, 4096)},
        {"height", intOpt(o.height, 16, 4096)},
        {"fps", intOpt(o.fps, 1, 120)},
        {"bitrate", intOpt(o.bitrateKbps, 16, 100000)},
        {"keyint", intOpt(o.keyInterval, 1, 3000)},
        {"delay-ms", intOpt(o.delayMs, 0, 3600000)},
        {"http-error", intOpt(o.httpError, 100, 599)},
        {"cut-after", intOpt(o.cutAfter, 0, 1 << 30)},
        {"reboot-seconds", intOpt(o.rebootSeconds, 0, 3600)},
        {"video-port", intOpt(o.reportedVideoPort, 0, 1000000)},
        {"malformed", [&o](const std::string& v) { return parseMalformed(v, o.malformed); }},
        {"stream-stop-after", intOpt(o.streamStopAfter, 0, 86400)},
        {"vanish-after", intOpt(o.vanishAfter, 0, 86400)},
        {"vanish-for", intOpt(o.vanishFor, 0, 86400)},
    };
    std::map<std::string, bool*> flags = {
        {"chunked", &o.chunked},          {"rtsp-auth", &o.rtspAuth}, {"hang", &o.hang},
        {"refuse-login", &o.refuseLogin}, {"replay", &o.replay},      {"numeric-noise", &o.numericNoise},
    };

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            help = true;
            return true;
        }
        if (a.rfind("--", 0) != 0) {
            error = "unexpected argument: " + a;
            return false;
        }
        std::string name = a.substr(2), value;
        bool hasValue = false;
        if (auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
            hasValue = true;
        }
        if (name == "no-rtsp" || name == "no-audio") {
            (name == "no-rtsp" ? o.rtsp : o.audio) = false;
            continue;
        }
        if (name == "unusable-stream") {
            o.unusableStream = true;
            o.audio = false;
            continue;
        }
        if (auto f = flags.find(name); f != flags.end()) {
            *f->second = true;
            continue;
        }
        auto s = withValue.find(name);
        if (s == withValue.end()) {
            error = "unknown option: --" + name;
            return false;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) {
                error = "--" + name + " needs a value";
                return false;
            }
            value = args[++i];
        }
        if (!s->second(value)) {
            error = "bad value for --" + name + ": " + value;
            return false;
        }
    }
    if (o.width % 2 || o.height % 2) {
        error = "--width and --height must be even";
        return false;
    }
    return true;
}

}  // namespace camsim

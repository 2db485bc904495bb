#pragma once
// The camera's side channels beside its web interface: the alarm channel
// (subscriptions that receive event frames or records) and the talk
// channel (a handshake, then audio packets that are checked and decoded),
// each in the dialect of the camera's family:
//
//   HX   on the web port ("/livestream/11", "/call_invite")
//   HTL  on port 8088 (both)
//   AJ   alarm on port 890, talk on port 888 ("Audio_start.cgi")
//   HV   binary "INF" messages on a free port, the "VideoPort" it reports
//
// Alarm events come on cue (/camsim/alarm); keepalive frames every few
// seconds. Faults: alarm=refuse|drop|badlength|badframes, talk=refuse|nosession|
// slow|split|drop (none clears). Every member is safe from any thread;
// each connection is served on a thread of its own.

#include "tools/camsim/AudioCheck.h"
#include "tools/camsim/HttpMessage.h"
#include "tools/camsim/Options.h"
#include "tools/camsim/SideConn.h"
#include "tools/camsim/TcpListener.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace camsim {

class SidePeers {
public:
    explicit SidePeers(const Options& options);
    ~SidePeers();

    // Opens the family's own ports; a port that cannot be opened is named in
    // describe() and the rest goes on.
    void start();
    void stop();
    // The port of family HV's binary protocol (0 for other families).
    int hvPort() const;

    // A request on the web port that opens a side channel: the reply hands
    // the connection over.
    bool takeHttp(const HttpRequest& req, HttpReply& reply);
    // /camsim/alarm?event=motion|input|keepalive|text&start=0|1&byte9=HEX&text=...
    bool control(const HttpRequest& req, HttpReply& reply);
    // The keys "alarm" and "talk" of /camsim/fault. With apply false only
    // checks; true when the key is one of these.
    bool fault(const std::string& key, const std::string& value, bool apply, std::string& error);
    void clearFaults();
    std::string describe() const;
    // AJ's audio encoder setting ("G.711A", "G.711"): what its talk blocks are.
    std::function<std::string()> ajEncodeType;

    struct AlarmEvent {
        std::string kind;  // motion, input, keepalive, text
        int start = 1;
        int byte9 = 0x64;
        std::string text;
    };

private:
    struct Subscriber {
        bool hv = false;
        std::mutex mutex;  // guards events and drop
        std::condition_variable cv;
        std::deque<AlarmEvent> events;
        bool drop = false;
    };
    enum class AlarmFault { None, Refuse, Drop, BadLength, BadFrames };
    enum class TalkFault { None, Refuse, NoSession, Slow, Split, Drop };

    void serveText(int fd);
    void serveHv(int fd);
    void dispatch(SideConn& conn, const HttpRequest& req);
    bool accountOk(const std::string& authorization, bool encoded) const;

    // Alarm (AlarmPeer.cpp).
    void alarmText(SideConn& conn, const HttpRequest& req);
    void alarmHv(SideConn& conn);
    void runSubscriber(SideConn& conn, const std::shared_ptr<Subscriber>& sub);
    std::string frameFor(const AlarmEvent& e, bool badLength) const;
    std::string recordFor(const AlarmEvent& e) const;

    // Talk (TalkPeer.cpp).
    void talkInvite(SideConn& conn, const HttpRequest& req);
    void talkAj(SideConn& conn, const HttpRequest& req);
    void talkHv(SideConn& conn);
    void sendSplit(SideConn& conn, const std::string& reply, TalkFault fault);
    void receiveRtp(SideConn& conn, TalkCodec codec);
    void receiveRaw(SideConn& conn, TalkCodec codec);
    void receiveHvAudio(SideConn& conn);
    void beginSession(TalkCodec codec);
    void countPacket(bool good, bool gap, const uint8_t* audio, size_t length, AudioDecoder& dec);
    bool dropNow(int packets) const;

    const Options& options_;
    std::unique_ptr<TcpListener> alarmListener_;
    std::unique_ptr<TcpListener> talkListener_;
    std::vector<std::string> unbound_;  // "bind 127.0.0.1:890: Permission denied", set by start()

    mutable std::mutex mutex_;  // guards everything below
    std::list<std::shared_ptr<Subscriber>> subscribers_;
    AlarmFault alarmFault_ = AlarmFault::None;
    TalkFault talkFault_ = TalkFault::None;
    long subscriptions_ = 0;
    long refusedSubscriptions_ = 0;
    long eventsSent_ = 0;
    long talkSessions_ = 0;
    long talkRefused_ = 0;
    long talkActive_ = 0;
    long talkPackets_ = 0;
    long talkBadPackets_ = 0;
    long talkGaps_ = 0;
    TalkCodec talkCodec_ = TalkCodec::None;
    std::vector<int16_t> talkSamples_;  // the latest session's, at most a few seconds
    long sessionCounter_ = 0;
};

}  // namespace camsim

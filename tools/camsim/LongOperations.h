#pragma once
// Camera operations that take their real time (an SD card format, the mail
// and FTP tests, the Wi-Fi scan and test): one runs at a time, as on a camera, and a later one waits
// for it. A test cues the next run of an operation (how long it takes and
// what it answers) with GET /camsim/cue?op=NAME&seconds=N&result=R; the cue
// is used once. Safe from any thread: m_ (runMutex_) is held for a whole
// run, cueMutex_ only to read or change the cues; never both at once.

#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace camsim {

class LongOperations {
public:
    struct Run {
        int seconds = 0;
        std::string result;  // the operation's own default when not cued
    };

    // The operations and their usual durations in seconds.
    static const std::map<std::string, int>& known();

    // False for an unknown operation or a duration outside 0..120.
    bool cue(const std::string& op, int seconds, const std::optional<std::string>& result);
    // Waits for any running operation, then takes this one's time; returns
    // the cued result (or none).
    std::optional<std::string> run(const std::string& op);
    // Takes the cue of an event that only happens when cued (the network
    // restart): its seconds, or nothing when none was cued.
    std::optional<int> take(const std::string& op);

private:
    std::mutex runMutex_;
    std::mutex cueMutex_;  // guards cues_
    std::map<std::string, Run> cues_;
    std::map<std::string, bool> hasResult_;
};

}  // namespace camsim

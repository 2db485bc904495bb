#include "recorder/CommandLine.h"

#include "recorder/RegisteredMessages.h"

#include <cstring>
#include <sstream>
#include <string>

namespace {

bool IsHelp(const std::string& word)
{
    return word == "--help" || word == "-h" || word == "-help" || word == "-?";
}

bool IsKnown(const std::string& word)
{
    return word == "-exit" || word == "-stop_rec" || word == "-start_rec";
}

}  // namespace

bool WantsHelp(const char* commandLine)
{
    std::istringstream words(commandLine ? commandLine : "");
    for (std::string w; words >> w;) {
        if (IsHelp(w))
            return true;
    }
    return false;
}

FirstStart FirstStartAction(const char* commandLine, std::string& unknown)
{
    unknown.clear();
    // The options are found as a second start finds them, anywhere in the
    // text, so both starts read a command line alike.
    // By text: each unit may hold its own copy of the names.
    const char* selected = SelectForwardedMessage(commandLine);
    if (!std::strcmp(selected, kMsgExitName) || !std::strcmp(selected, kMsgStopRecName))
        return FirstStart::NotRunning;
    if (!std::strcmp(selected, kMsgStartRecName))
        return FirstStart::Run;
    std::istringstream words(commandLine ? commandLine : "");
    for (std::string w; words >> w;) {
        if (!IsKnown(w)) {
            unknown = w;
            return FirstStart::BadOption;
        }
    }
    return FirstStart::Run;
}

const char* UsageText()
{
    return "Usage: VXKST-HD [--program-dir DIR] [-start_rec | -stop_rec | -exit | --help]\n"
           "Records the cameras of its list by their weekly schedules; one recorder runs per user.\n"
           "  (no option)  start the recorder, or bring the running one to the front\n"
           "  -start_rec   start the recorder, or have the running one start every camera\n"
           "  -stop_rec    have the running recorder stop every camera\n"
           "  -exit        have the running recorder end\n"
           "  --program-dir DIR\n"
           "               keep the database, settings, log and recordings in DIR\n"
           "  --help       show this text\n";
}

// The parameter CGI's long operations: the SD card format and the mail and
// FTP tests take their time on the connection's thread (see
// LongOperations.h) and answer what a test cued, or their usual answer.
#include "tools/camsim/ParamCgi.h"

namespace camsim {

void ParamCgi::defineLongCommands()
{
    specials_["sdfrmt"] = [this](const Command&, SettingsChange& change, std::string& out) {
        if (state_.settings.value("sdstatus") == "out" || state_.settings.value("sdstatus").empty()) {
            out += "[Error]sdfrmt: no card.\r\n";
            return false;
        }
        std::optional<std::string> result = state_.longOps.run("sdfrmt");
        if (result && *result != "ok") {
            out += "[Error]sdfrmt: format failed.\r\n";
            return false;
        }
        // A formatted card is empty.
        change.set("sdfreespace", change.value("sdtotalspace"));
        return true;
    };
    // The tests answer a number: 0 worked, negative values say what failed.
    for (const char* test : {"testsmtp", "testftp"}) {
        std::string name = test;
        specials_[name] = [this, name](const Command&, SettingsChange&, std::string& out) {
            std::string result = state_.longOps.run(name).value_or("0");
            out += "var result=\"" + result + "\";\r\n";
            return true;
        };
    }
}

}  // namespace camsim

#pragma once
// What a start's command line asks for. A second start forwards it to the
// running recorder (SelectForwardedMessage); a start that finds none running
// either becomes the recorder or ends at once, before anything is loaded.
//
// Any thread; no state.

#include <string>

enum class FirstStart {
    Run,         // no option, or "-start_rec": the recorder starts
    NotRunning,  // "-exit" or "-stop_rec": nothing to end or stop
    BadOption,   // an option the program does not know
};

// True when the command line asks for the options ("--help", "-h",
// "-help", "-?"): they are shown whether a recorder runs or not.
bool WantsHelp(const char* commandLine);
// What a start that holds the single-instance lock does. `unknown` gets the
// first option the program does not know (for BadOption).
FirstStart FirstStartAction(const char* commandLine, std::string& unknown);
// The options and what each does, for "--help" and after an unknown option.
const char* UsageText();

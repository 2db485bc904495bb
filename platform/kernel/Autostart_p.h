#pragma once
// Desktop autostart entries standing for the values of the current user's
// "Run" key. A value NAME is the file autostart/NAME.desktop (characters
// unsafe in a file name written as %XX).

#include <string>
#include <vector>

namespace vxk {

// $XDG_CONFIG_HOME, or ~/.config; empty when neither can be found.
std::string ConfigHome();

// Results: 0 done, else a Win32 error number.
long WriteAutostart(const std::string& name, const std::string& command);
long ReadAutostart(const std::string& name, std::string& command);
long DeleteAutostart(const std::string& name);

// A command line as the system we mirror writes it (a program path, quoted
// when it holds spaces, then arguments) split into its arguments. An unquoted
// path with spaces that names an existing file is one argument.
std::vector<std::string> SplitRunCommand(const std::string& command);
// The Exec value of a desktop entry for these arguments, quoted by the
// desktop entry rules, before the escaping every string value gets.
std::string DesktopExecLine(const std::vector<std::string>& args);
// A string value escaped for a desktop entry file, and back.
std::string DesktopEscape(const std::string& value);
std::string DesktopUnescape(const std::string& value);

}  // namespace vxk

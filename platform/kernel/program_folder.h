#pragma once
// Where a program keeps its data and where the files installed with it lie.
//
// A program runs either from its build folder, where its data and its
// default files lie beside the executable, or from an installed prefix:
// PREFIX/bin/<program> with PREFIX/share/<name>/ beside it, <name> being the
// executable's file name in lower case. The layout decides, not whether the
// executable's folder is writable (root writes anywhere). An installed
// program keeps its data in $XDG_DATA_HOME/<name> (~/.local/share/<name>
// when that is unset or not absolute), made by MakeProgramDataFolder with the
// installed share/<name>/ copied into it; VX_PROGRAM_DIR overrides both.
//
// Any thread; the layout is read once, on the first call of any of these
// functions.

#include <string>

namespace vxk {

// Makes the data folder of an installed program when it is missing, with
// the installed defaults in it (once per process; a program calls it when it
// really starts, not for a request it only hands on). True when the program's
// data folder is there.
bool MakeProgramDataFolder();

// True when the program runs from an installed prefix.
bool RunsInstalled();

// The program's data folder, without a final '/': VX_PROGRAM_DIR when set,
// else the user's data folder of an installed program, else the
// executable's folder.
std::string ProgramDataFolder();

// The folder of the default files installed with the program, without a
// final '/': PREFIX/share/<name> when installed, else the executable's folder.
std::string InstalledFilesFolder();

// The folder of the helper programs the program starts: PREFIX/libexec/<name>
// when installed, else the executable's folder.
std::string HelperProgramsFolder();

// The folder of the program's own shared libraries: PREFIX/lib/<name> when
// installed, else the executable's folder.
std::string PrivateLibraryFolder();

}  // namespace vxk

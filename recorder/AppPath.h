#pragma once
// The program directory of the recorder, with a final '/': the folder of the
// program (VX_PROGRAM_DIR redirects it). Formed on the first call. Any thread
// after start-up.

#include "platform/platform.h"

CString GetRecorderAppPath();

// The option that names the program folder on the command line, as the
// run-at-logon entry starts the program: "--program-dir DIR". It redirects
// the program directory as VX_PROGRAM_DIR does.
inline constexpr char kProgramDirOption[] = "--program-dir";

// Takes the program-folder option out of the command line, before anything
// reads the program directory or the rest of the line.
void TakeProgramDirOption(int& argc, char** argv);

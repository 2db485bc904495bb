#pragma once
// The user's private folder for what the programs of one user share while
// they run: the lock files of named kernel objects and the sockets that carry
// broadcast messages. One folder for both, so a program started with a folder
// of its own (VX_RUNTIME_DIR, as tests and the demo do) is a world of its own:
// its single-instance lock and its broadcasts meet only the programs that
// share that folder.

#include <string>

namespace vxk {

// VX_RUNTIME_DIR when set, else $XDG_RUNTIME_DIR/vxkst, else /tmp/vxkst-<uid>.
// Created with mode 0700 when missing; empty when the folder is not safely
// the user's own (a link, another owner, open to others).
std::string RuntimeFolder();

}  // namespace vxk

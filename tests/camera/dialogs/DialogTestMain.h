#pragma once
// The main of the camera dialogs' end-to-end tests: the GUI thread (the
// test's own thread) and the camera library live around all of them, with
// the library's log at warnings, and the program folder (where the library
// keeps its temporary pictures) is a temporary folder of the program's own.
//
//   int main(int argc, char** argv) { return dialog_tests::Main(argc, argv); }

#include "camera/session/CWebWatchBase.h"
#include "platform/ui/GuiRuntime.h"
#include "support/TempDir.h"
#include "utility/vx_log.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace dialog_tests {

inline int Main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    vxtest::TempDir programDir("vx-dialogs");
    if (!programDir.ok() || setenv("VX_PROGRAM_DIR", programDir.path().c_str(), 1) != 0)
        return 1;
    vx_log_set_level(4);
    vxw::InitGuiThread();
    CWebWatchBase::InitLib();
    int rc = RUN_ALL_TESTS();
    CWebWatchBase::DeinitLib();
    vxw::ShutdownGuiThread();
    return rc;
}

}  // namespace dialog_tests

#pragma once
// Shared pieces of the recorder's tests: a GUI thread under the offscreen
// platform, a program folder of its own, message boxes answered by the
// test, and the recorder's resource library with its strings.

#include "platform/ui/ResourceModule.h"
#include "platform/ui/ShellTestHooks.h"
#include "platform/ui/ui_test_env.h"
#include "support/ChildProcess.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <fstream>
#include <string>
#include <vector>

namespace rectest {

// The recorder's resource library, loaded once.
inline HINSTANCE ResourceLibrary()
{
    static HINSTANCE lib = [] {
        HMODULE h = LoadLibraryA("VXKSTRes.dll");
        return h ? vxw::ResourceModuleOfLibrary(h) : nullptr;
    }();
    return lib;
}

// A string found along the resource chain.
inline CString Text(UINT id)
{
    CString s;
    s.LoadString(id);
    return s;
}

// Collects the message boxes shown while it lives and answers them.
class MessageBoxes {
public:
    explicit MessageBoxes(int answer = IDOK)
    {
        vxw::test::SetMessageBoxHook([this, answer](const vxw::test::MessageBoxCall& c) {
            calls.push_back(c);
            return answer;
        });
    }
    ~MessageBoxes() { vxw::test::SetMessageBoxHook(nullptr); }
    std::vector<vxw::test::MessageBoxCall> calls;
};

using vxtest::ReadFile;
using vxtest::WriteFile;

}  // namespace rectest

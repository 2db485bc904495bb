// Feeds arbitrary bytes as the registry file, then changes a value: no crash,
// the value reads back, and the store the change wrote is kept exactly by the
// next change (what the writer writes, the reader reads the same).
#include "platform/kernel/registry.h"

#include "support/FileBytes.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        fprintf(stderr, "fuzz_registry: %s\n", what);
        abort();
    }
}

const std::string& Home()
{
    // Kept for the life of the process: the clean-up at exit still needs it.
    static const std::string& home = *new std::string([] {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string h = std::string(base) + "/vx-fuzz-registry-" + std::to_string(getpid());
        mkdir(h.c_str(), 0700);
        mkdir((h + "/vx").c_str(), 0700);
        setenv("XDG_CONFIG_HOME", h.c_str(), 1);
        atexit([] {
            std::string cmd = "rm -rf '" + Home() + "'";
            if (system(cmd.c_str()) != 0)
                fprintf(stderr, "fuzz_registry: could not remove %s\n", Home().c_str());
        });
        return h;
    }());
    return home;
}

std::string ReadStore()
{
    return vxtest::ReadFile(Home() + "/vx/registry");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    std::ofstream(Home() + "/vx/registry", std::ios::binary | std::ios::trunc) << text;

    // A value name and text taken from the input, odd characters and all.
    std::string name = text.substr(0, size % 13);
    std::string value = text.substr(size / 2, 40);
    value = value.substr(0, value.find('\0'));

    HKEY k = nullptr;
    Check(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Fuzz", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr)
              == ERROR_SUCCESS,
          "create key");
    Check(
        RegSetValueEx(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1))
            == ERROR_SUCCESS,
        "set value");
    std::string written = ReadStore();

    char buf[64] = {};
    DWORD len = sizeof buf, type = 0;
    Check(RegQueryValueEx(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &len) == ERROR_SUCCESS,
          "query value");
    Check(type == REG_SZ && std::string(buf) == value, "value reads back");

    DWORD number = 7;
    Check(RegSetValueEx(k, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4) == ERROR_SUCCESS,
          "set number");
    Check(
        RegSetValueEx(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1))
            == ERROR_SUCCESS,
        "set value again");
    Check(ReadStore() == written, "the store changed on a round trip");
    RegCloseKey(k);
    return 0;
}

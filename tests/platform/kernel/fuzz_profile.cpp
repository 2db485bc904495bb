// Feeds arbitrary file texts to the profile reader and writer: no crash, and a
// value written under any section the reader lists reads back unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/kernel/profile.h"

namespace {

const std::string& FuzzFile()
{
    static const std::string path = [] {
        // Memory-backed when possible: every write is flushed to disk.
        const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(dir) + "/vx-fuzz-profile-" + std::to_string(getpid()) + ".ini";
    }();
    return path;
}

void Check(bool ok, const char* what)
{
    if (!ok) {
        fprintf(stderr, "fuzz_profile: %s\n", what);
        abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = FuzzFile();
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    fwrite(data, 1, size, f);
    fclose(f);

    std::vector<char> names(256);
    DWORD n;
    while ((n = GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), path.c_str()))
           == names.size() - 2)
        names.resize(names.size() * 2);
    Check(names[n] == '\0', "names list not terminated");

    std::vector<std::string> sections;
    for (const char* s = names.data(); *s; s += strlen(s) + 1)
        sections.emplace_back(s);

    char small[7];
    for (const std::string& s : sections) {
        char buf[512];
        DWORD k = GetPrivateProfileStringA(s.c_str(), nullptr, "", buf, sizeof buf, path.c_str());
        for (const char* key = buf; key < buf + k && *key; key += strlen(key) + 1) {
            DWORD v = GetPrivateProfileStringA(s.c_str(), key, "d", small, sizeof small, path.c_str());
            Check(v < sizeof small && small[v] == '\0', "value not cut to the buffer");
            GetPrivateProfileIntA(s.c_str(), key, 7, path.c_str());
        }
        GetPrivateProfileSectionA(s.c_str(), small, sizeof small, path.c_str());
    }

    if (!sections.empty()) {
        const std::string& s = sections[size % sections.size()];
        if (WritePrivateProfileStringA(s.c_str(), "fuzz key", "fuzz value", path.c_str())) {
            char back[32];
            GetPrivateProfileStringA(s.c_str(), "fuzz key", "", back, sizeof back, path.c_str());
            Check(strcmp(back, "fuzz value") == 0, "written value does not read back");
            WritePrivateProfileStringA(s.c_str(), "fuzz key", nullptr, path.c_str());
            GetPrivateProfileStringA(s.c_str(), "fuzz key", "gone", back, sizeof back, path.c_str());
            Check(strcmp(back, "gone") == 0 || strcmp(back, "fuzz value") != 0, "deleted value still reads back");
        }
    }
    unlink(path.c_str());
    return 0;
}

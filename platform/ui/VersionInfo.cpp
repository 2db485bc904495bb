// The version block is a flat record of our own:
//   "VXVER1\0\0"                  8 bytes of magic
//   WORD language, WORD code page  the one translation, 4-byte aligned
//   DWORD count of texts
//   then per text: "llllcccc\Name\0Value\0"
// VerQueryValueA hands out pointers into the caller's copy, as the real
// function does.
#include "platform/ui/winver.h"

#include "platform/kernel/errors.h"
#include "platform/kernel/module.h"
#include "platform/ui/ResourceModule.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

constexpr char kMagic[8] = {'V', 'X', 'V', 'E', 'R', '1', 0, 0};
constexpr size_t kHeader = 16;

// The block of the program or library at `path`.
const std::vector<unsigned char>* BlockOf(LPCSTR path)
{
    if (!path || !*path)
        return nullptr;
    std::string wanted = path;
    for (char& c : wanted)
        if (c == '\\')
            c = '/';
    HMODULE module = nullptr;
    if (wanted == vxk::ModuleFileName(nullptr))
        module = GetModuleHandleA(nullptr);
    else
        module = GetModuleHandleA(wanted.c_str());
    const vxw::ResourceModule* m = vxw::FindResourceModuleOfOwner(module);
    if (!m)
        return nullptr;
    const std::vector<unsigned char>* block = m->FindData(RT_VERSION, 1);
    if (!block || block->size() < kHeader || std::memcmp(block->data(), kMagic, sizeof kMagic) != 0)
        return nullptr;
    return block;
}

}  // namespace

namespace vxw {

std::vector<unsigned char> MakeVersionResource(WORD language, WORD codePage,
                                               const std::vector<std::pair<std::string, std::string>>& texts)
{
    std::vector<unsigned char> out(kMagic, kMagic + sizeof kMagic);
    auto put16 = [&](unsigned v) {
        out.push_back(static_cast<unsigned char>(v & 0xFF));
        out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
    };
    put16(language);
    put16(codePage);
    put16(static_cast<unsigned>(texts.size() & 0xFFFF));
    put16(0);
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%04x%04x\\", language, codePage);
    for (const auto& [name, value] : texts) {
        std::string key = prefix + name;
        out.insert(out.end(), key.begin(), key.end());
        out.push_back(0);
        out.insert(out.end(), value.begin(), value.end());
        out.push_back(0);
    }
    return out;
}

}  // namespace vxw

DWORD GetFileVersionInfoSizeA(LPCSTR lptstrFilename, LPDWORD lpdwHandle)
{
    if (lpdwHandle)
        *lpdwHandle = 0;
    const std::vector<unsigned char>* block = BlockOf(lptstrFilename);
    if (!block) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return 0;
    }
    return static_cast<DWORD>(block->size());
}

BOOL GetFileVersionInfoA(LPCSTR lptstrFilename, DWORD, DWORD dwLen, LPVOID lpData)
{
    const std::vector<unsigned char>* block = BlockOf(lptstrFilename);
    if (!block || !lpData) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return FALSE;
    }
    if (dwLen < block->size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(lpData, block->data(), block->size());
    return TRUE;
}

BOOL VerQueryValueA(LPCVOID pBlock, LPCSTR lpSubBlock, LPVOID* lplpBuffer, UINT* puLen)
{
    if (!pBlock || !lpSubBlock || !lplpBuffer)
        return FALSE;
    const auto* b = static_cast<const unsigned char*>(pBlock);
    if (std::memcmp(b, kMagic, sizeof kMagic) != 0)
        return FALSE;
    if (strcasecmp(lpSubBlock, "\\VarFileInfo\\Translation") == 0) {
        *lplpBuffer = const_cast<unsigned char*>(b + 8);
        if (puLen)
            *puLen = 4;
        return TRUE;
    }
    const char* prefix = "\\StringFileInfo\\";
    if (strncasecmp(lpSubBlock, prefix, std::strlen(prefix)) != 0)
        return FALSE;
    const char* wanted = lpSubBlock + std::strlen(prefix);
    unsigned count = b[12] | (b[13] << 8);
    // The block was copied by GetFileVersionInfoA, which checked its size:
    // the texts are NUL-terminated within it.
    const char* p = reinterpret_cast<const char*>(b + kHeader);
    for (unsigned i = 0; i < count; ++i) {
        const char* key = p;
        const char* value = key + std::strlen(key) + 1;
        p = value + std::strlen(value) + 1;
        if (strcasecmp(key, wanted) == 0) {
            *lplpBuffer = const_cast<char*>(value);
            if (puLen)
                *puLen = static_cast<UINT>(std::strlen(value) + 1);
            return TRUE;
        }
    }
    return FALSE;
}

// The per-user registry store. The file holds one line per key and value:
//   [HKCU\Software\Vendor]          a key (components %XX-escaped)
//   name=TYPE:PAYLOAD               a value of the key above: TYPE decimal,
//                                   PAYLOAD escaped text for strings, hex else
// Each call reads the file under a shared lock; a change is written under an
// exclusive lock as a whole new file renamed into place.

#include "platform/kernel/registry.h"

#include "platform/kernel/AtomicFile_p.h"
#include "platform/kernel/Autostart_p.h"
#include "platform/kernel/errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace vxk {
namespace {

struct Value {
    std::string name;
    DWORD type = REG_NONE;
    std::string data;  // strings without their terminating NUL
};

struct Key {
    std::string path;                     // as first created, components joined by '\\'
    std::map<std::string, Value> values;  // by lower-case name
};

using Store = std::map<std::string, Key>;  // by lower-case path

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

const char kRunKey[] = "hkcu\\software\\microsoft\\windows\\currentversion\\run";

// Keys that exist whether or not the store has them: the roots, and the Run
// key with its parents.
bool IsBuiltIn(const std::string& lowerPath)
{
    if (lowerPath.find('\\') == std::string::npos)
        return true;
    std::string run = kRunKey;
    return run.compare(0, lowerPath.size(), lowerPath) == 0
           && (run.size() == lowerPath.size() || run[lowerPath.size()] == '\\');
}

std::string Escape(const std::string& s, const char* alsoEscape)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (c < 0x20 || c == 0x7F || c == '%' || strchr(alsoEscape, c)) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += char(c);
        }
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool Unescape(const std::string& s, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') {
            out += s[i];
            continue;
        }
        if (i + 2 >= s.size() || HexDigit(s[i + 1]) < 0 || HexDigit(s[i + 2]) < 0)
            return false;
        out += char(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
        i += 2;
    }
    return true;
}

std::string ToHex(const std::string& bytes)
{
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += hex[c >> 4];
        out += hex[c & 15];
    }
    return out;
}

bool FromHex(const std::string& s, std::string& out)
{
    out.clear();
    if (s.size() % 2)
        return false;
    for (size_t i = 0; i < s.size(); i += 2) {
        int hi = HexDigit(s[i]), lo = HexDigit(s[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out += char(hi * 16 + lo);
    }
    return true;
}

bool IsString(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

// Lines that do not parse are skipped, so one damaged line costs only itself.
void Parse(const std::string& text, Store& store)
{
    Key* key = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? text.size() : end + 1;
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            key = nullptr;
            std::string path;
            if (line.back() != ']' || !Unescape(line.substr(1, line.size() - 2), path) || path.empty())
                continue;
            Key& k = store[Lower(path)];
            if (k.path.empty())
                k.path = path;
            key = &k;
            continue;
        }
        size_t eq = line.find('='), colon = line.find(':', eq);
        if (!key || eq == std::string::npos || colon == std::string::npos)
            continue;
        Value v;
        char* numberEnd = nullptr;
        std::string typeText = line.substr(eq + 1, colon - eq - 1);
        unsigned long type = strtoul(typeText.c_str(), &numberEnd, 10);
        if (typeText.empty() || *numberEnd || !Unescape(line.substr(0, eq), v.name))
            continue;
        v.type = DWORD(type);
        std::string payload = line.substr(colon + 1);
        if (!(IsString(v.type) ? Unescape(payload, v.data) : FromHex(payload, v.data)))
            continue;
        key->values[Lower(v.name)] = std::move(v);
    }
}

std::string Serialize(const Store& store)
{
    std::string out = "# Registry of this user: keys in brackets, then name=type:value lines.\n";
    for (const auto& [lower, key] : store) {
        out += "[" + Escape(key.path, "]") + "]\n";
        for (const auto& [lowerName, v] : key.values)
            out += Escape(v.name, "=:[#") + "=" + std::to_string(v.type) + ":"
                   + (IsString(v.type) ? Escape(v.data, "") : ToHex(v.data)) + "\n";
    }
    return out;
}

class StoreFile {
public:
    StoreFile()
    {
        std::string home = ConfigHome();
        if (!home.empty()) {
            m_folder = home + "/vx";
            m_path = m_folder + "/registry";
        }
    }

    // Loads the store under a lock held until this object goes; shared for
    // reading, exclusive for changing. Returns a Win32 error number.
    long open(bool forWriting)
    {
        if (m_path.empty())
            return ERROR_CANTOPEN;
        if (forWriting && MakeFolders(m_folder) != 0)
            return ERROR_CANTWRITE;
        m_lockFd = ::open((m_path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_lockFd >= 0) {
            int r;
            do
                r = flock(m_lockFd, forWriting ? LOCK_EX : LOCK_SH);
            while (r != 0 && errno == EINTR);
        } else if (forWriting) {
            return ERROR_CANTWRITE;
        }
        std::string text;
        int err = ReadWholeFile(m_path, text);
        if (err && err != ENOENT)
            return ERROR_CANTREAD;  // never replace a store we could not read
        Parse(text, store);
        return ERROR_SUCCESS;
    }

    long save() { return WriteFileAtomically(m_path, Serialize(store), 0600) == 0 ? ERROR_SUCCESS : ERROR_CANTWRITE; }

    ~StoreFile()
    {
        if (m_lockFd >= 0)
            close(m_lockFd);
    }

    Store store;

private:
    std::string m_folder, m_path;
    int m_lockFd = -1;
};

struct OpenKey {
    std::string path;  // full path, root first
    REGSAM access;
};

std::mutex g_keysLock;
std::map<uintptr_t, OpenKey>& Keys()
{
    static auto* keys = new std::map<uintptr_t, OpenKey>;
    return *keys;
}
uintptr_t g_nextKey = 0x1000;

const char* RootName(HKEY h)
{
    if (h == HKEY_CURRENT_USER)
        return "HKCU";
    if (h == HKEY_LOCAL_MACHINE)
        return "HKLM";
    if (h == HKEY_CLASSES_ROOT)
        return "HKCR";
    if (h == HKEY_USERS)
        return "HKU";
    return nullptr;
}

// The full path and access of a handle; false for an unknown handle.
bool Resolve(HKEY h, OpenKey& out)
{
    if (const char* root = RootName(h)) {
        out = OpenKey{root, KEY_ALL_ACCESS};
        return true;
    }
    std::lock_guard<std::mutex> guard(g_keysLock);
    auto it = Keys().find(reinterpret_cast<uintptr_t>(h));
    if (it == Keys().end())
        return false;
    out = it->second;
    return true;
}

// Appends a sub-key path; empty components ("a\\\\b", a final '\\') drop out.
std::string Join(const std::string& base, LPCSTR sub)
{
    std::string out = base;
    std::string part;
    for (const char* p = sub ? sub : "";; ++p) {
        if (*p == '\\' || *p == 0) {
            if (!part.empty())
                out += "\\" + part;
            part.clear();
            if (!*p)
                break;
        } else {
            part += *p;
        }
    }
    return out;
}

HKEY NewHandle(const std::string& path, REGSAM access)
{
    std::lock_guard<std::mutex> guard(g_keysLock);
    uintptr_t value = g_nextKey;
    g_nextKey += 4;
    Keys().emplace(value, OpenKey{path, access});
    return reinterpret_cast<HKEY>(value);
}

bool IsRunKey(const std::string& path)
{
    return Lower(path) == kRunKey;
}

}  // namespace
}  // namespace vxk

using namespace vxk;

LSTATUS RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    OpenKey base;
    if (!Resolve(hKey, base))
        return ERROR_INVALID_HANDLE;
    std::string path = Join(base.path, lpSubKey);
    std::string lower = Lower(path);
    if (!IsBuiltIn(lower)) {
        StoreFile file;
        long err = file.open(false);
        if (err)
            return err;
        if (!file.store.count(lower))
            return ERROR_FILE_NOT_FOUND;
    }
    *phkResult = NewHandle(path, samDesired);
    return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM samDesired, LPSECURITY_ATTRIBUTES,
                        PHKEY phkResult, LPDWORD lpdwDisposition)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    OpenKey base;
    if (!Resolve(hKey, base))
        return ERROR_INVALID_HANDLE;
    if (!lpSubKey || !*lpSubKey) {
        if (lpdwDisposition)
            *lpdwDisposition = REG_OPENED_EXISTING_KEY;
        *phkResult = NewHandle(base.path, samDesired);
        return ERROR_SUCCESS;
    }
    std::string path = Join(base.path, lpSubKey);
    bool created = false;
    if (!IsBuiltIn(Lower(path))) {
        StoreFile file;
        long err = file.open(true);
        if (err)
            return err;
        // The key and every parent of it the store does not have yet.
        for (size_t sep = path.find('\\');; sep = path.find('\\', sep + 1)) {
            std::string part = sep == std::string::npos ? path : path.substr(0, sep);
            std::string lower = Lower(part);
            if (!IsBuiltIn(lower) && !file.store.count(lower)) {
                file.store[lower].path = part;
                created = created || sep == std::string::npos;
            }
            if (sep == std::string::npos)
                break;
        }
        if (created && (err = file.save()) != 0)
            return err;
    }
    if (lpdwDisposition)
        *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *phkResult = NewHandle(path, samDesired);
    return ERROR_SUCCESS;
}

LSTATUS RegOpenKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult)
{
    return RegOpenKeyExA(hKey, lpSubKey, 0, KEY_ALL_ACCESS, phkResult);
}

LSTATUS RegCreateKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult)
{
    return RegCreateKeyExA(hKey, lpSubKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, phkResult,
                           nullptr);
}

LSTATUS RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData)
{
    OpenKey key;
    if (!Resolve(hKey, key))
        return ERROR_INVALID_HANDLE;
    if (!(key.access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    if (lpData && !lpcbData)
        return ERROR_INVALID_PARAMETER;
    std::string name = lpValueName ? lpValueName : "";
    Value v;
    if (IsRunKey(key.path)) {
        long err = name.empty() ? long(ERROR_FILE_NOT_FOUND) : ReadAutostart(name, v.data);
        if (err)
            return err;
        v.type = REG_SZ;
    } else {
        StoreFile file;
        long err = file.open(false);
        if (err)
            return err;
        auto k = file.store.find(Lower(key.path));
        if (k == file.store.end())
            return ERROR_FILE_NOT_FOUND;
        auto it = k->second.values.find(Lower(name));
        if (it == k->second.values.end())
            return ERROR_FILE_NOT_FOUND;
        v = it->second;
    }
    std::string bytes = v.data;
    if (IsString(v.type))
        bytes += '\0';
    if (lpType)
        *lpType = v.type;
    if (!lpcbData)
        return ERROR_SUCCESS;
    DWORD capacity = *lpcbData;
    *lpcbData = DWORD(bytes.size());
    if (!lpData)
        return ERROR_SUCCESS;
    if (capacity < bytes.size())
        return ERROR_MORE_DATA;
    memcpy(lpData, bytes.data(), bytes.size());
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData)
{
    OpenKey key;
    if (!Resolve(hKey, key))
        return ERROR_INVALID_HANDLE;
    if (!(key.access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    if (cbData && !lpData)
        return ERROR_INVALID_PARAMETER;
    Value v;
    v.name = lpValueName ? lpValueName : "";
    v.type = dwType;
    v.data.assign(reinterpret_cast<const char*>(lpData), lpData ? cbData : 0);
    if (IsString(dwType)) {
        size_t nul = v.data.find('\0');
        if (nul != std::string::npos)
            v.data.resize(nul);
    } else if (dwType == REG_DWORD && cbData != 4) {
        return ERROR_INVALID_PARAMETER;
    }
    if (IsRunKey(key.path)) {
        // Only a command line makes sense at logon.
        if (!IsString(dwType))
            return ERROR_INVALID_PARAMETER;
        return WriteAutostart(v.name, v.data);
    }
    StoreFile file;
    long err = file.open(true);
    if (err)
        return err;
    std::string lower = Lower(key.path);
    Key& k = file.store[lower];
    if (k.path.empty())
        k.path = key.path;
    k.values[Lower(v.name)] = v;
    return file.save();
}

LSTATUS RegDeleteValueA(HKEY hKey, LPCSTR lpValueName)
{
    OpenKey key;
    if (!Resolve(hKey, key))
        return ERROR_INVALID_HANDLE;
    if (!(key.access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    std::string name = lpValueName ? lpValueName : "";
    if (IsRunKey(key.path))
        return name.empty() ? long(ERROR_FILE_NOT_FOUND) : DeleteAutostart(name);
    StoreFile file;
    long err = file.open(true);
    if (err)
        return err;
    auto k = file.store.find(Lower(key.path));
    if (k == file.store.end() || !k->second.values.erase(Lower(name)))
        return ERROR_FILE_NOT_FOUND;
    return file.save();
}

LSTATUS RegCloseKey(HKEY hKey)
{
    if (RootName(hKey))
        return ERROR_SUCCESS;
    std::lock_guard<std::mutex> guard(g_keysLock);
    return Keys().erase(reinterpret_cast<uintptr_t>(hKey)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

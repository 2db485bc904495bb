#pragma once
// The private profile (INI file) functions of the Windows kernel.
//
// Every call goes to the file: nothing is cached, because other programs and
// other objects of this one change the files behind our back. Writers replace
// the file atomically (a temporary file in the same folder, renamed over the
// old one) under one process-wide lock, so a reader never sees a half-written
// file and two writers of this process never lose each other's change.
// Safe to call from any thread.

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/types.h"

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName);
UINT GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName);
BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName);
DWORD GetPrivateProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName);
DWORD GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName);

#define GetPrivateProfileString       GetPrivateProfileStringA
#define GetPrivateProfileInt          GetPrivateProfileIntA
#define WritePrivateProfileString     WritePrivateProfileStringA
#define GetPrivateProfileSection      GetPrivateProfileSectionA
#define GetPrivateProfileSectionNames GetPrivateProfileSectionNamesA

// The plain names of the (win.ini) profile functions are macros for their
// 8-bit forms, as everywhere on this interface; classes that name members
// after them (CIniFile) therefore export the "A" names.
#define GetProfileString   GetProfileStringA
#define GetProfileInt      GetProfileIntA
#define GetProfileSection  GetProfileSectionA
#define WriteProfileString WriteProfileStringA

namespace vxk {

// One line of an INI text: its bytes run from begin for length bytes and are
// followed by terminator bytes of line end ("\r\n", "\n", a lone "\r", or
// none on a last line without one).
struct ProfileLine {
    size_t begin;
    size_t length;
    size_t terminator;
};

// Length of the UTF-8 byte-order mark at the start of text (3 or 0).
size_t ProfileBomLength(std::string_view text);

// The lines of text after its byte-order mark. An empty text has no lines;
// a text ending in a line break has no empty line after it.
std::vector<ProfileLine> SplitProfileLines(std::string_view text);

// True when the profile reader takes the line for a section header: after
// trimming white space it starts with "[" and has a "]" later on.
bool IsProfileSectionHeader(std::string_view line);

// The lock every profile writer of this process holds while it reads and
// replaces a file. Recursive, so a caller that reads a value and writes a new
// one from it (append, increment) can hold it around both calls.
std::recursive_mutex& ProfileWritersLock();

enum class ProfileEdit {
    Keep,     // leave the file as it is
    Replace,  // write the edited text
};

// Read-modify-write of a whole INI file under the profile writers' lock:
// reads the file (a missing file reads as empty text), hands its bytes to
// edit and, when edit asks for it and the bytes changed, replaces the file
// atomically with the edited bytes. Returns false when the file exists but
// cannot be read, or the new file cannot be written; the old file is then
// untouched. existed, when given, tells whether the file was there.
bool EditProfileFile(const char* path, const std::function<ProfileEdit(std::string& text)>& edit,
                     bool* existed = nullptr);

}  // namespace vxk

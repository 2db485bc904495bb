#pragma once
// Version information of a program or library: the RT_VERSION entry (id 1)
// of the resource module that the file registered. Build one with
// MakeVersionResource; read it with the three functions below.
//
// Any thread.

#include "platform/base/types.h"

#include <string>
#include <utility>
#include <vector>

// The size of the version block of the file, 0 when it has none.
DWORD GetFileVersionInfoSizeA(LPCSTR lptstrFilename, LPDWORD lpdwHandle);
// Copies the block into the caller's buffer (at least the size above).
BOOL GetFileVersionInfoA(LPCSTR lptstrFilename, DWORD dwHandle, DWORD dwLen, LPVOID lpData);
// "\VarFileInfo\Translation" gives the (language, code page) pair as two
// WORDs; "\StringFileInfo\llllcccc\Name" a NUL-terminated text. The result
// points into the caller's block.
BOOL VerQueryValueA(LPCVOID pBlock, LPCSTR lpSubBlock, LPVOID* lplpBuffer, UINT* puLen);

namespace vxw {

// The bytes of an RT_VERSION entry with one translation and its texts
// ("FileVersion", "ProductName", ...).
std::vector<unsigned char> MakeVersionResource(WORD language, WORD codePage,
                                               const std::vector<std::pair<std::string, std::string>>& texts);

}  // namespace vxw

#pragma once
// Where a file of the camera's card lands in the local download folder, and
// how large it may be. The name comes from the camera's listing, so it is
// foreign text: only its last component is used, "." and ".." and control
// characters are refused (the link's last component stands in for such a
// name), the length is capped, and an existing file is never overwritten
// (the next free "NAME (2).EXT" is taken instead).
//
// Threads: any; no state.

#include "platform/platform.h"

#include <cstdint>

namespace sdcard {

// The local file name for a row: the last component of its name, else
// (when that is empty or unusable) of its link; empty when neither gives a
// usable one.
CString LocalName(const CString& strName, const CString& strLink);
// The path of that name (or the next free numbered one) in the folder that
// no file holds yet; empty when the folder is empty or missing. Nothing is
// created: the download makes the file only once it is whole, and refuses
// to replace one that appeared meanwhile.
CString FreeLocalPath(const CString& strFolder, const CString& strName);

// The bytes a listing's size text stands for ("1000K", "1.5M", "512"; K, M
// and G count 1024) and the unit of its last digit; false when it is no
// size.
bool ListedBytes(const CString& strSize, int64_t& bytes, int64_t& unit);
// Bytes kept free on the download folder's disk: the recorder's default
// threshold, so a download never takes the room recordings need.
constexpr int64_t kReserveBytes = int64_t(500) << 20;
struct SizeBounds {
    int64_t minBytes = 0;
    int64_t maxBytes = -1;  // -1: no bound
};
// What a download of a row may be: within its listed size, give or take the
// listing's rounding (one unit of its last digit) and 1 %, and never more
// than the free bytes less the reserve. A size that does not parse bounds
// only by the free room; freeBytes below 0 (unknown) bounds nothing there.
SizeBounds DownloadBounds(const CString& strSize, int64_t freeBytes, int64_t reserveBytes = kReserveBytes);
// The bytes free to an ordinary user on the disk of path; -1 when unknown.
int64_t FreeBytes(const CString& strPath);

}  // namespace sdcard

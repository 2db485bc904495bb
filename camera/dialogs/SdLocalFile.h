#pragma once
// Where a file of the camera's card lands in the local download folder. The
// name comes from the camera's listing, so it is foreign text: only its last
// component is used, "." and ".." and control characters are refused, the
// length is capped, and an existing file is never overwritten (the next free
// "NAME (2).EXT" is reserved instead).
//
// Threads: any; no state.

#include "platform/platform.h"

namespace sdcard {

// The local file name for a row: the last component of its name, else of
// its link; empty when neither gives a usable one.
CString LocalName(const CString& strName, const CString& strLink);
// Creates an empty file of that name (or the next free numbered one) in the
// folder, exclusively, and returns its path; empty when the folder is empty
// or nothing could be created. The caller downloads onto it and removes it
// when the download fails.
CString ReserveLocalFile(const CString& strFolder, const CString& strName);

}  // namespace sdcard

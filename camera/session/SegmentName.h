#pragma once
// File names of recording segments and snapshots: the local start time in a
// fixed number of digits, so that the record search and the retention can
// read the time back from the name. Two starts within one second (or in a
// repeated daylight-saving hour) would give one name twice; the next free
// second is taken instead. No state; any thread.

#include "platform/platform.h"

#include <ctime>
#include <functional>

namespace vxcam {

// `folder` joined with `name` by '/' unless it ends in '/' or '\' already (an
// empty folder gives `name` alone).
CString JoinFolder(const CString& folder, const CString& name);

// folder + strftime(`format`, local time of `start`) + `suffix`, for the first
// second from `start` on whose path `exists` denies. Empty when no free name
// is found within an hour.
CString NextFreeTimedPath(const CString& folder, time_t start, const char* format, const char* suffix,
                          const std::function<bool(const CString&)>& exists);

// The same with the file system as judge.
CString NextFreeTimedPath(const CString& folder, time_t start, const char* format, const char* suffix);

}  // namespace vxcam

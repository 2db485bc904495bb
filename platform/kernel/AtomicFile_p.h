#pragma once
// Small whole-file helpers for the kernel's own files (profiles, registry,
// autostart entries).

#include <string>

namespace vxk {

// The mode WriteFileAtomically gives: the old file's, or for a new file the
// one the umask leaves of 0666, as for any other file the user writes.
constexpr unsigned kModeOfOldFile = ~0u;

// Replaces `path` with `content`: a temporary file in the same folder,
// flushed to disk and renamed over the old one, so readers see the old or
// the new file, never a mix. Returns 0 or an errno value.
int WriteFileAtomically(const std::string& path, const std::string& content, unsigned mode = 0644);

// 0 and the whole file, ENOENT when it does not exist, or another errno value.
int ReadWholeFile(const std::string& path, std::string& content);

// Creates the folder and its parents (mode 0700 for new ones); 0 or errno.
int MakeFolders(const std::string& path);

}  // namespace vxk

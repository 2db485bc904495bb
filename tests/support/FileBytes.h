#pragma once
// Whole files for the tests, byte for byte: what a file holds, and a file
// replaced by given bytes. Any thread; nothing is locked.

#include <fstream>
#include <iterator>
#include <string>

namespace vxtest {

// Empty when the file cannot be read.
inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace vxtest

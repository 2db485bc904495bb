#pragma once
// The body of a multipart form POST, produced piece by piece as it is sent:
// the text parts are small, and files are read as the upload goes on, so a
// body of any size costs a few kilobytes of memory.

#include <cstdint>
#include <cstdio>
#include <list>
#include <string>
#include <vector>

namespace vxui {

class MultipartBody {
public:
    struct Argument {
        std::string name;
        std::string value;  // for a file: its local path
        bool isFile;
    };

    ~MultipartBody();
    // Lays out the parts and measures the files. False, with the reason, for a
    // file that cannot be read, or a name or file name that would break the
    // part headers, or a value that holds the boundary.
    bool build(const std::list<Argument>& arguments, const std::string& boundary, std::string& error);
    uint64_t length() const { return m_length; }

    // Fills buf: the count, 0 at the end, or SIZE_MAX when a file changed size
    // under the upload.
    size_t read(char* buf, size_t size);
    bool rewind();

private:
    struct Piece {
        std::string text;  // literal bytes, when path is empty
        std::string path;
        uint64_t size = 0;
    };
    void closeFile();

    std::vector<Piece> m_pieces;
    uint64_t m_length = 0;
    size_t m_index = 0;
    uint64_t m_offset = 0;  // within the current piece
    FILE* m_file = nullptr;
};

}  // namespace vxui

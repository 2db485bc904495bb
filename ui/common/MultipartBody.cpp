#include "ui/common/MultipartBody_p.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

namespace vxui {
namespace {

// File names travel inside a quoted header value: quotes are percent-coded as
// browsers do, and only the file's own name is sent, never the local folder.
std::string quotedFileName(const std::string& path)
{
    size_t slash = path.find_last_of("/\\");
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string out;
    for (char c : base) {
        if (c == '"')
            out += "%22";
        else
            out += c;
    }
    return out;
}

bool breaksHeader(const std::string& s)
{
    return s.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

MultipartBody::~MultipartBody()
{
    closeFile();
}

void MultipartBody::closeFile()
{
    if (m_file)
        fclose(m_file);
    m_file = nullptr;
}

bool MultipartBody::build(const std::list<Argument>& arguments, const std::string& boundary, std::string& error)
{
    m_pieces.clear();
    m_length = 0;
    auto addText = [this](const std::string& text) {
        if (!m_pieces.empty() && m_pieces.back().path.empty())
            m_pieces.back().text += text;
        else
            m_pieces.push_back(Piece{text, std::string(), 0});
    };
    for (const Argument& a : arguments) {
        std::string name;
        for (char c : a.name)
            name += c == '"' ? std::string("%22") : std::string(1, c);
        if (breaksHeader(a.name)) {
            error = "a post argument's name holds a line break";
            return false;
        }
        if (!a.isFile) {
            if (a.value.find(boundary) != std::string::npos) {
                error = "a post argument's value holds the boundary";
                return false;
            }
            addText("--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + a.value
                    + "\r\n");
            continue;
        }
        if (breaksHeader(a.value)) {
            error = "a file name holds a line break";
            return false;
        }
        struct stat st {};
        FILE* probe = fopen(a.value.c_str(), "rb");
        if (!probe || fstat(fileno(probe), &st) != 0 || !S_ISREG(st.st_mode)) {
            if (probe)
                fclose(probe);
            error = "cannot read the file " + a.value;
            return false;
        }
        fclose(probe);
        addText("--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"; filename=\""
                + quotedFileName(a.value) + "\"\r\n\r\n");
        m_pieces.push_back(Piece{std::string(), a.value, static_cast<uint64_t>(st.st_size)});
        addText("\r\n");
    }
    addText("--" + boundary + "--\r\n");
    for (const Piece& p : m_pieces)
        m_length += p.path.empty() ? p.text.size() : p.size;
    return rewind();
}

bool MultipartBody::rewind()
{
    closeFile();
    m_index = 0;
    m_offset = 0;
    return true;
}

size_t MultipartBody::read(char* buf, size_t size)
{
    size_t done = 0;
    while (done < size && m_index < m_pieces.size()) {
        Piece& p = m_pieces[m_index];
        if (p.path.empty()) {
            size_t n = std::min<uint64_t>(size - done, p.text.size() - m_offset);
            memcpy(buf + done, p.text.data() + m_offset, n);
            done += n;
            m_offset += n;
            if (m_offset == p.text.size()) {
                ++m_index;
                m_offset = 0;
            }
            continue;
        }
        if (!m_file && !(m_file = fopen(p.path.c_str(), "rb")))
            return SIZE_MAX;
        if (m_offset > 0 && ftell(m_file) != static_cast<long>(m_offset))
            fseek(m_file, static_cast<long>(m_offset), SEEK_SET);
        // The length was announced: send exactly the size measured, and give
        // up when the file has shrunk since.
        size_t want = std::min<uint64_t>(size - done, p.size - m_offset);
        size_t got = want ? fread(buf + done, 1, want, m_file) : 0;
        if (got < want)
            return SIZE_MAX;
        done += got;
        m_offset += got;
        if (m_offset == p.size) {
            closeFile();
            ++m_index;
            m_offset = 0;
        }
    }
    return done;
}

}  // namespace vxui

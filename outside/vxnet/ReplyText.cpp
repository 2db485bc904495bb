#include "outside/vxnet/ReplyText.h"

#include <cctype>
#include <cstdlib>

namespace vxnet {

bool ReplyText::fits(size_t more)
{
    if (m_over)
        return false;
    if (m_headers.size() + m_body.size() + more + 4 > m_limit) {
        m_over = true;
        return false;
    }
    return true;
}

bool ReplyText::addHeaderLine(std::string_view line)
{
    if (line.substr(0, 5) == "HTTP/") {
        // A new response begins: what came before was an interim one.
        m_headers.clear();
        m_body.clear();
        m_status = 0;
        size_t sp = line.find(' ');
        if (sp != std::string_view::npos) {
            std::string code(line.substr(sp + 1, 3));
            m_status = std::strtol(code.c_str(), nullptr, 10);
        }
    }
    if (line == "\r\n" || line == "\n")
        return true;  // the blank line is added once, by text()
    if (!fits(line.size()))
        return false;
    m_headers.append(line);
    return true;
}

bool ReplyText::addBody(std::string_view data)
{
    if (!fits(data.size()))
        return false;
    m_body.append(data);
    return true;
}

std::string ReplyText::header(std::string_view name) const
{
    std::string all;
    size_t pos = 0;
    while (pos < m_headers.size()) {
        size_t eol = m_headers.find('\n', pos);
        if (eol == std::string::npos)
            eol = m_headers.size();
        std::string_view line(m_headers.data() + pos, eol - pos);
        size_t colon = line.find(':');
        if (colon == name.size()) {
            bool same = true;
            for (size_t i = 0; i < colon && same; ++i)
                same = std::tolower(static_cast<unsigned char>(line[i]))
                       == std::tolower(static_cast<unsigned char>(name[i]));
            if (same) {
                std::string_view value = line.substr(colon + 1);
                while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
                    value.remove_prefix(1);
                while (!value.empty() && (value.back() == '\r' || value.back() == ' '))
                    value.remove_suffix(1);
                if (!all.empty())
                    all.append(", ");
                all.append(value);
            }
        }
        pos = eol + 1;
    }
    return all;
}

std::string ReplyText::text() const
{
    std::string out;
    out.reserve(m_headers.size() + 2 + m_body.size());
    out.append(m_headers);
    out.append("\r\n");
    out.append(m_body);
    return out;
}

}  // namespace vxnet

#include "LineSource.h"

#include <cstring>

bool StringLineSource::ReadLine(std::string& line)
{
    line.clear();
    if (m_pos >= m_text.size())
        return false;
    const std::size_t end = m_text.find_first_of("\r\n", m_pos);
    if (end == std::string_view::npos) {
        line.assign(m_text.substr(m_pos));
        m_pos = m_text.size();
        return true;
    }
    line.assign(m_text.substr(m_pos, end - m_pos));
    // CR takes the one character after it with it, whatever that is.
    m_pos = end + (m_text[end] == '\r' ? 2 : 1);
    return true;
}

FileLineSource::FileLineSource(const std::string& path) : m_file(std::fopen(path.c_str(), "rb")) {}

FileLineSource::~FileLineSource()
{
    if (m_file)
        std::fclose(m_file);
}

bool FileLineSource::Fill()
{
    if (!m_file)
        return false;
    m_pos = 0;
    m_end = std::fread(m_buffer, 1, sizeof m_buffer, m_file);
    if (m_end == 0 && std::ferror(m_file))
        m_failed = true;
    return m_end > 0;
}

bool FileLineSource::ReadLine(std::string& line)
{
    line.clear();
    if (m_pos >= m_end && !Fill())
        return false;
    for (;;) {
        const char* start = m_buffer + m_pos;
        const std::size_t available = m_end - m_pos;
        const void* lf = std::memchr(start, '\n', available);
        const void* cr = std::memchr(start, '\r', available);
        const char* stop = static_cast<const char*>(lf);
        if (cr && (!stop || cr < stop))
            stop = static_cast<const char*>(cr);
        if (!stop) {
            line.append(start, available);
            m_pos = m_end;
            if (!Fill())
                return true; // last line without a line end
            continue;
        }
        line.append(start, static_cast<std::size_t>(stop - start));
        m_pos += static_cast<std::size_t>(stop - start) + 1;
        if (*stop == '\r') {
            // CR swallows the character after it, which may lie in the next block.
            if (m_pos >= m_end && !Fill())
                return true;
            ++m_pos;
        }
        return true;
    }
}

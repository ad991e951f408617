#include "LasLineReader.h"

#include <cstring>

namespace convert {

bool LasLineReader::Fill()
{
    m_pos = 0;
    m_end = std::fread(m_block, 1, sizeof m_block, m_file);
    if (m_end == 0 && std::ferror(m_file))
        m_failed = true;
    return m_end > 0;
}

bool LasLineReader::Next(std::string_view& line)
{
    m_line.clear();
    bool partial = false; // m_line holds the start of this line
    for (;;) {
        if (m_pos == m_end && !Fill()) {
            if (partial && !m_failed) {
                line = m_line; // the last line, without a line end
                return true;
            }
            return false;
        }
        if (m_afterCR) {
            m_afterCR = false;
            if (m_block[m_pos] == '\n') {
                ++m_pos;
                continue;
            }
        }
        const char* start = m_block + m_pos;
        const std::size_t available = m_end - m_pos;
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', available));
        const std::size_t span = lf ? static_cast<std::size_t>(lf - start) : available;
        const char* stop = static_cast<const char*>(std::memchr(start, '\r', span));
        if (!stop)
            stop = lf;
        if (!stop) {
            m_line.append(start, available);
            partial = true;
            m_pos = m_end;
            continue;
        }
        const std::size_t length = static_cast<std::size_t>(stop - start);
        m_pos += length + 1;
        if (*stop == '\r')
            m_afterCR = true;
        if (partial) {
            m_line.append(start, length);
            line = m_line;
        } else {
            line = std::string_view(start, length);
        }
        return true;
    }
}

} // namespace convert

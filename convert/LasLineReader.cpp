#include "convert/LasLineReader.h"

#include <cstring>

namespace convert {

bool LasLineReader::Fill()
{
    m_pos = 0;
    m_end = m_decoder.Read(m_block, sizeof m_block);
    if (m_end == 0 && m_decoder.Failed())
        m_failed = true;
    return m_end > 0;
}

bool LasLineReader::Next(LinePiece& piece)
{
    for (;;) {
        if (m_pos == m_end && !Fill()) {
            if (!m_inLine || m_failed)
                return false;
            m_inLine = false; // the file ends inside its last line
            piece = {std::string_view(), false, true, m_lineNumber};
            return true;
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
        const bool first = !m_inLine;
        if (first)
            ++m_lineNumber;
        if (!stop) {
            piece = {std::string_view(start, available), first, false, m_lineNumber};
            m_inLine = true;
            m_pos = m_end;
            return true;
        }
        const std::size_t length = static_cast<std::size_t>(stop - start);
        piece = {std::string_view(start, length), first, true, m_lineNumber};
        m_inLine = false;
        m_afterCR = *stop == '\r';
        m_pos += length + 1;
        return true;
    }
}

} // namespace convert

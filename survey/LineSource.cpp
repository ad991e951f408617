#include "survey/LineSource.h"

#include "textio/FileFacts.h"

#include <algorithm>
#include <cstring>

namespace survey {

StringLineSource::StringLineSource(std::string_view text, std::size_t maxPiece)
    : m_text(text), m_maxPiece(std::clamp<std::size_t>(maxPiece, 1, kMaxPiece))
{
}

bool StringLineSource::NextLine()
{
    if (m_next >= m_text.size())
        return false;
    m_pos = m_next;
    const std::size_t end = m_text.find_first_of("\r\n", m_pos);
    m_lineEnd = end == std::string_view::npos ? m_text.size() : end;
    // CR takes the one character after it with it, whatever that is.
    m_next = end == std::string_view::npos ? m_text.size()
                                           : std::min(m_text.size(), end + (m_text[end] == '\r' ? 2 : 1));
    return true;
}

bool StringLineSource::NextPiece(std::string_view& piece)
{
    if (m_pos >= m_lineEnd)
        return false;
    piece = m_text.substr(m_pos, std::min(m_maxPiece, m_lineEnd - m_pos));
    m_pos += piece.size();
    return true;
}

FileLineSource::FileLineSource(const std::string& path, textio::ReadFrom from)
    : m_file(textio::OpenForReading(path, from, m_fault))
{
    if (const std::optional<textio::FileFacts> facts = textio::FactsOf(m_file))
        m_size = facts->size;
}

FileLineSource::~FileLineSource()
{
    if (m_file)
        std::fclose(m_file);
}

bool FileLineSource::Fill()
{
    if (!m_file)
        return false;
    m_blockStart += m_end;
    m_pos = 0;
    m_end = std::fread(m_block, 1, sizeof m_block, m_file);
    if (m_end == 0 && std::ferror(m_file))
        m_failed = true;
    return m_end > 0;
}

bool FileLineSource::NextLine()
{
    for (std::string_view rest; m_inLine;)
        NextPiece(rest);
    if (m_pos >= m_end && !Fill())
        return false;
    m_inLine = true;
    return true;
}

bool FileLineSource::NextPiece(std::string_view& piece)
{
    if (!m_inLine)
        return false;
    if (m_pos >= m_end && !Fill()) {
        m_inLine = false; // the last line has no line end
        return false;
    }
    const char* start = m_block + m_pos;
    const std::size_t available = m_end - m_pos;
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', available));
    const std::size_t beforeLf = lf ? static_cast<std::size_t>(lf - start) : available;
    const char* cr = static_cast<const char*>(std::memchr(start, '\r', beforeLf));
    const char* stop = cr ? cr : lf;
    if (stop != start) {
        const std::size_t length = stop ? static_cast<std::size_t>(stop - start) : available;
        piece = std::string_view(start, length);
        m_pos += length;
        return true;
    }
    m_inLine = false;
    ++m_pos;
    // CR swallows the character after it, which may lie in the next block.
    if (*stop == '\r' && (m_pos < m_end || Fill()))
        ++m_pos;
    return false;
}

} // namespace survey

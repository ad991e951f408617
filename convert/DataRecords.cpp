#include "convert/DataRecords.h"

#include "convert/RawSurveyText.h"

namespace convert {
namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\n'; }

std::size_t SeparatorOrEnd(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && !IsSeparator(text[i]))
        ++i;
    return i;
}

} // namespace

bool DataRecords::Take(const LinePiece& piece)
{
    if (piece.first) {
        m_lineDone = false;
        m_firstToken = true;
    }
    std::string_view text = piece.text;
    while (!m_lineDone && !text.empty()) {
        if (m_token.empty()) {
            while (!text.empty() && IsSeparator(text.front()))
                text.remove_prefix(1);
            if (text.empty())
                break;
            if (m_firstToken && text.front() == '#') {
                m_lineDone = true;
                break;
            }
        }
        const std::size_t end = SeparatorOrEnd(text);
        const bool complete = end < text.size() || piece.last;
        const std::string_view part = text.substr(0, end);
        text.remove_prefix(end);
        if (m_token.size() + part.size() > m_longestToken)
            return false;
        if (!complete) {
            m_token.append(part); // the token goes on in the next piece
            break;
        }
        if (m_token.empty()) {
            TakeToken(part, piece.line);
        } else {
            m_token.append(part);
            TakeToken(m_token, piece.line);
            m_token.clear();
        }
    }
    if (piece.last) {
        if (!m_token.empty() && !m_lineDone)
            TakeToken(m_token, piece.line);
        m_token.clear();
    }
    return true;
}

void DataRecords::TakeToken(std::string_view token, std::int64_t line)
{
    m_firstToken = false;
    if (m_values > 0)
        m_record.push_back(' ');
    if (!AppendTokenField(m_record, token) && m_notNumbers++ == 0)
        m_firstNotNumberLine = line;
    if (++m_values < m_curveCount)
        return;
    m_record.append("\r\n");
    m_out.Write(m_record);
    m_record.clear();
    m_values = 0;
    ++m_written;
    m_lineDone = true;
}

} // namespace convert

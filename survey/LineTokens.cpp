#include "survey/LineTokens.h"

#include "survey/LineSource.h"
#include "textio/TokenText.h"

namespace survey {

namespace {

bool IsSeparator(char c) { return textio::IsTokenSeparator(c); }

} // namespace

LineTokens::Status LineTokens::Next(std::string_view& token)
{
    m_long.clear();
    // Most tokens start and end within the piece at hand.
    const char* const begin = m_rest.data();
    const char* const end = begin + m_rest.size();
    const char* const first = textio::SkipTokenSeparators(begin, end);
    const char* const last = textio::FindTokenSeparator(first, end);
    if (last != end && static_cast<std::size_t>(last - first) <= LineSource::kMaxPiece) {
        const auto taken = static_cast<std::size_t>(last - begin);
        m_tokenStart = m_offset + static_cast<std::size_t>(first - begin);
        m_offset += taken;
        m_rest.remove_prefix(taken);
        token = std::string_view(first, static_cast<std::size_t>(last - first));
        return Status::Token;
    }
    for (;;) {
        if (m_rest.empty()) {
            if (m_ended || !m_source.NextPiece(m_rest)) {
                m_ended = true;
                m_rest = {};
                if (m_long.empty())
                    return Status::End;
                token = m_long;
                return Status::Token;
            }
        }
        std::size_t i = 0;
        if (m_long.empty()) { // between tokens
            while (i < m_rest.size() && IsSeparator(m_rest[i]))
                ++i;
            if (i == m_rest.size()) {
                m_offset += i;
                m_rest = {};
                continue;
            }
            m_tokenStart = m_offset + i;
        }
        const std::size_t start = i;
        while (i < m_rest.size() && !IsSeparator(m_rest[i]))
            ++i;
        const std::string_view part = m_rest.substr(start, i - start);
        if (m_long.size() + part.size() > LineSource::kMaxPiece)
            return Status::TooLong;
        m_offset += i;
        m_rest.remove_prefix(i);
        if (!m_rest.empty()) { // the token ends in this piece
            if (m_long.empty()) {
                token = part;
            } else {
                m_long.append(part);
                token = m_long;
            }
            return Status::Token;
        }
        m_long.append(part);
    }
}

} // namespace survey

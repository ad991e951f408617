#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace survey {

class LineSource;

// The tokens of a LineSource's current line, split at blanks, tabs and line
// feeds and read one at a time. A token that spans pieces is gathered, but
// never beyond LineSource::kMaxPiece characters.
class LineTokens {
public:
    enum class Status { Token, End, TooLong };

    explicit LineTokens(LineSource& source) : m_source(source) {}
    LineTokens(const LineTokens&) = delete;
    LineTokens& operator=(const LineTokens&) = delete;

    // The next token into `token` (valid until the next call); End when the
    // line has no more tokens, TooLong for a token over the bound.
    Status Next(std::string_view& token);
    // Characters of the line before the token last returned.
    std::uint64_t TokenStart() const { return m_tokenStart; }

private:
    LineSource& m_source;
    std::string_view m_rest; // what is left of the current piece
    std::string m_long;      // a token gathered across pieces
    std::uint64_t m_offset = 0; // characters of the line before m_rest
    std::uint64_t m_tokenStart = 0;
    bool m_ended = false;
};

} // namespace survey

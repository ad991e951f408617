#pragma once

#include "convert/LasLineReader.h"
#include "textio/SafeFile.h"

#include <cstdint>
#include <string>

namespace convert {

// Turns the lines of a LAS data section into data lines of a raw survey file,
// one token at a time: a record may run over several lines, tokens after the
// one that completes a record are dropped with the rest of their line, and a
// line whose first token starts with "#" is a comment.
class DataRecords {
public:
    DataRecords(textio::SafeFileWriter& out, std::size_t longestToken) : m_out(out), m_longestToken(longestToken) {}

    void SetCurveCount(int curveCount) { m_curveCount = curveCount; }

    // Takes the next piece of a data line; false when a token it needs runs
    // longer than `longestToken` characters.
    bool Take(const LinePiece& piece);

    std::int64_t Written() const { return m_written; }
    // Values written that were not wholly a finite number, and the line of
    // the first of them (0 when none).
    std::int64_t NotNumbers() const { return m_notNumbers; }
    std::int64_t FirstNotNumberLine() const { return m_firstNotNumberLine; }

private:
    void TakeToken(std::string_view token, std::int64_t line);

    textio::SafeFileWriter& m_out;
    std::size_t m_longestToken;
    int m_curveCount = 0;
    int m_values = 0;         // values of the record being gathered
    std::string m_record;     // that record, already formatted
    std::string m_token;      // the start of a token cut by the end of a piece
    bool m_lineDone = false;  // the rest of the line is dropped
    bool m_firstToken = true; // no token of the line was taken yet
    std::int64_t m_written = 0;
    std::int64_t m_notNumbers = 0;
    std::int64_t m_firstNotNumberLine = 0;
};

} // namespace convert

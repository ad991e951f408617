#pragma once

#include "convert/TextDecoder.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

namespace convert {

// One stretch of a line's text, never holding its line end. A line comes as
// one piece or, when it runs over the end of a read block, as several; an
// empty line is one empty piece with both flags set.
struct LinePiece {
    std::string_view text;
    bool first = false; // the piece starts its line
    bool last = false;  // the piece ends its line
    std::int64_t line = 0; // the line's number, counted from 1
};

// Reads the lines of an open file as pieces of UTF-8 text, whatever the
// file's encoding (TextDecoder). LF, CR LF and a lone CR each end a line, so
// no CR ever reaches a piece. Holds one read block and nothing more, whatever
// the length of a line.
class LasLineReader {
public:
    static constexpr std::size_t kBlockSize = 1 << 16;

    explicit LasLineReader(std::FILE* file) : m_decoder(file) {}
    LasLineReader(const LasLineReader&) = delete;
    LasLineReader& operator=(const LasLineReader&) = delete;

    // The next piece, valid until the next call; false at the end of the file
    // or when reading fails (see Failed()). The last line of a file that ends
    // without a line end still ends in a piece with `last` set.
    bool Next(LinePiece& piece);
    // The number of the line of the last piece, counted from 1.
    std::int64_t LineNumber() const { return m_lineNumber; }
    // True when reading stopped on an input error rather than at the end.
    bool Failed() const { return m_failed; }

private:
    bool Fill();

    TextDecoder m_decoder;
    char m_block[kBlockSize];
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    std::int64_t m_lineNumber = 0;
    bool m_inLine = false;  // a piece of the current line went out without its end
    bool m_afterCR = false; // the last line ended in CR: an LF next belongs to it
    bool m_failed = false;
};

} // namespace convert

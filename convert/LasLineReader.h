#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace convert {

// Reads the lines of an open file one at a time, each whole whatever its
// length. LF, CR LF and a lone CR each end a line, so no CR ever reaches a
// line's text. Only one line (and one read block) is held at a time.
class LasLineReader {
public:
    explicit LasLineReader(std::FILE* file) : m_file(file) {}
    LasLineReader(const LasLineReader&) = delete;
    LasLineReader& operator=(const LasLineReader&) = delete;

    // The next line without its end, valid until the next call; false at the
    // end of the file or when reading fails (see Failed()).
    bool Next(std::string_view& line);
    // True when reading stopped on an input error rather than at the end.
    bool Failed() const { return m_failed; }

private:
    bool Fill();

    std::FILE* m_file;
    char m_block[1 << 16];
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    std::string m_line;        // a line that runs over the end of a block
    bool m_afterCR = false;    // the last line ended in CR: an LF next belongs to it
    bool m_failed = false;
};

} // namespace convert

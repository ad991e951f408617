#pragma once

#include "textio/Progress.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace textio {

// Shows the progress of long work as one line of a terminal that updates in
// place ("LABEL 42%"), from `delay` into the work on, and erases it at the
// end. A stream that is not a terminal (a file, a pipe) gets nothing at all,
// so scripted output stays as it was. It never stops the work: Ctrl+C does,
// and its signal removes the file being written (ScratchFiles.h).
class TerminalProgress : public Progress {
public:
    explicit TerminalProgress(std::string label, std::FILE* stream = stderr,
                              std::chrono::milliseconds delay = std::chrono::milliseconds(500));
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    bool Step(std::uint64_t done, std::uint64_t total) override;

private:
    std::string m_label;
    std::FILE* m_stream;
    bool m_terminal;
    std::chrono::steady_clock::time_point m_showFrom;
    int m_shownPercent = -1;
    std::size_t m_shownWidth = 0; // characters of the line on show; 0 when none
};

} // namespace textio

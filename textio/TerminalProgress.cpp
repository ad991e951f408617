#include "textio/TerminalProgress.h"

#include "textio/FileFacts.h"

#include <algorithm>
#include <utility>

namespace textio {

TerminalProgress::TerminalProgress(std::string label, std::FILE* stream, std::chrono::milliseconds delay)
    : m_label(std::move(label)), m_stream(stream), m_terminal(stream && IsTerminal(stream)),
      m_showFrom(std::chrono::steady_clock::now() + delay)
{
}

TerminalProgress::~TerminalProgress()
{
    if (m_shownWidth == 0)
        return;
    const std::string blank = "\r" + std::string(m_shownWidth, ' ') + "\r";
    std::fputs(blank.c_str(), m_stream);
    std::fflush(m_stream);
}

bool TerminalProgress::Step(std::uint64_t done, std::uint64_t total)
{
    if (!m_terminal || std::chrono::steady_clock::now() < m_showFrom)
        return true;
    const int percent = total == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(done, total) * 100 / total);
    if (percent == m_shownPercent)
        return true;
    m_shownPercent = percent;
    const std::string line = m_label + (total == 0 ? std::string(" ...") : " " + std::to_string(percent) + "%");
    m_shownWidth = std::max(m_shownWidth, line.size());
    std::fputs(("\r" + line).c_str(), m_stream);
    std::fflush(m_stream);
    return true;
}

} // namespace textio

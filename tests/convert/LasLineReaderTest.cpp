#include "ConvertTestFiles.h"
#include "LasLineReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

// The lines of `text` split at LF, CR LF and lone CR.
std::vector<std::string> ReferenceLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line.push_back(text[i]);
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::vector<std::string> ReaderLines(const std::string& text)
{
    ScratchFolder folder;
    WriteBytes(folder / "in", text);
    std::FILE* file = std::fopen((folder / "in").c_str(), "rb");
    EXPECT_NE(file, nullptr);
    std::vector<std::string> lines;
    convert::LasLineReader reader(file);
    std::string_view line;
    while (reader.Next(line))
        lines.emplace_back(line);
    EXPECT_FALSE(reader.Failed());
    std::fclose(file);
    return lines;
}

TEST(LasLineReader, LineEndsAcrossReadBlocks)
{
    constexpr std::size_t kBlock = 1 << 16;
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"CR LF split between blocks", std::string(kBlock - 1, 'a') + "\r\nb\n"},
        {"lone CR at the end of a block", std::string(kBlock - 1, 'a') + "\rb\r"},
        {"LF first in a block", std::string(kBlock, 'a') + "\nb"},
        {"line of several blocks", std::string(3 * kBlock + 17, 'x') + "\r\n\r\n\n\r\rend"},
        {"empty file", ""},
        {"empty lines only", "\n\r\n\r\r\n"},
    };
    for (const auto& [name, text] : cases)
        EXPECT_EQ(ReaderLines(text), ReferenceLines(text)) << name;
}

TEST(LasLineReader, RandomLineEnds)
{
    std::uint64_t state = 7;
    std::string text;
    while (text.size() < 400000) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const unsigned pick = static_cast<unsigned>(state >> 59);
        text += pick < 2 ? '\r' : pick < 4 ? '\n' : pick < 6 ? ' ' : static_cast<char>('a' + pick);
        if (pick == 31)
            text.append(static_cast<std::size_t>(state >> 48) % 5000, 'z');
    }
    EXPECT_EQ(ReaderLines(text), ReferenceLines(text));
}

} // namespace

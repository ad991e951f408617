#include "convert/LasLineReader.h"
#include "ConvertTestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

// Lines longer than a read block come in pieces that never hold more than
// a block; put together they give every line exactly, numbered in order.
TEST(LasLineReader, SplitsAtLfCrLfAndLoneCrAcrossReadBlocks)
{
    // A CR LF split by the first block seam, a lone CR just before the
    // second, then random text of CR, LF, blanks and letters with some lines
    // longer than a read block.
    std::string text = std::string(65535, 'a') + "\r\n" + std::string(65534, 'b') + "\rc";
    std::uint64_t state = 7;
    while (text.size() < 600000) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const unsigned pick = static_cast<unsigned>(state >> 59);
        text += pick < 2 ? '\r' : pick < 4 ? '\n' : pick < 6 ? ' ' : static_cast<char>('a' + pick - 6);
        if (pick == 31)
            text.append(static_cast<std::size_t>(state >> 44) % 100000, 'z');
    }
    std::vector<std::string> expected(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            expected.emplace_back();
            i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        } else {
            expected.back() += text[i];
        }
    }
    if (expected.back().empty())
        expected.pop_back();

    ScratchFolder folder;
    WriteFile(folder / "in", text);
    std::FILE* file = std::fopen((folder / "in").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    convert::LasLineReader reader(file);
    std::vector<std::string> lines;
    convert::LinePiece piece;
    bool inLine = false;
    while (reader.Next(piece)) {
        ASSERT_EQ(piece.first, !inLine) << lines.size();
        ASSERT_LE(piece.text.size(), convert::LasLineReader::kBlockSize);
        if (piece.first)
            lines.emplace_back();
        lines.back() += piece.text;
        inLine = !piece.last;
        ASSERT_EQ(reader.LineNumber(), std::ssize(lines));
    }
    std::fclose(file);
    EXPECT_FALSE(inLine) << "the last line ends in a piece marked last";
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(lines, expected);
}

} // namespace

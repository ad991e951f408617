#include "ConvertTestFiles.h"
#include "LasConverter.h"
#include "NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// Public LAS files that the converter must get through; optional.
const fs::path kCorpus = KESTRIX_LAS_CORPUS;

std::vector<std::string> Lines(std::string text)
{
    std::replace(text.begin(), text.end(), '\r', '\n');
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

TEST(LasCorpus, EveryFileConvertsToAWellFormedRawSurveyFile)
{
    if (!fs::is_directory(kCorpus))
        GTEST_SKIP() << "no LAS corpus at " << kCorpus;
    ScratchFolder folder;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kCorpus)) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        const ConvertResult result = ConvertLasFile(entry.path().string(), folder / "out.txt", {});
        ASSERT_TRUE(result.Ok()) << entry.path() << ": " << result.message;
        const std::size_t lines = 5 + (result.curveCount > 0) + static_cast<std::size_t>(result.recordCount);
        EXPECT_EQ(Lines(WithoutCR(ReadBytes(folder / "out.txt"))).size(), lines) << entry.path();
    }
    EXPECT_GT(files, 50);
}

// Files with a curve section and one record per data line: every curve and
// every record comes out, each value as the LAS text has it.
TEST(LasCorpus, PlainFilesComeOutWithEveryCurveAndRecord)
{
    if (!fs::is_directory(kCorpus))
        GTEST_SKIP() << "no LAS corpus at " << kCorpus;
    const std::vector<std::tuple<const char*, int, std::int64_t>> files = {
        {"1.2/sample.las", 8, 3},        {"1.2/sample_big.las", 8, 29897},         {"2.0/sample_2.0.las", 8, 3},
        {"2.0/sample_2.0_tab_dlm.las", 8, 3}, {"2.0/sample_2.0_universal_newline.las", 8, 3},
        {"6038187_v1.2.las", 9, 2732},   {"skip_data_section_comments.las", 6, 4}, {"autodepthindex_M.las", 2, 101},
    };
    ScratchFolder folder;
    for (const auto& [name, curves, records] : files) {
        const std::string las = ReadBytes((kCorpus / name).string());
        std::vector<std::string> expected;
        bool inData = false;
        for (const std::string& line : Lines(las)) {
            const auto first = line.find_first_not_of(" \t");
            if (first == std::string::npos || line[first] == '#' || !inData) {
                inData = inData || line.compare(first == std::string::npos ? 0 : first, 2, "~A") == 0;
                continue;
            }
            std::istringstream tokens(line);
            std::string record;
            for (std::string token; tokens >> token;)
                record += (record.empty() ? "" : " ") + textio::Format("%10.5f", std::strtod(token.c_str(), nullptr));
            expected.push_back(record);
        }
        const ConvertResult result = ConvertLasFile((kCorpus / name).string(), folder / "out.txt", {});
        EXPECT_EQ(result.curveCount, curves) << name;
        EXPECT_EQ(result.recordCount, records) << name;
        const std::vector<std::string> lines = Lines(WithoutCR(ReadBytes(folder / "out.txt")));
        EXPECT_EQ(std::vector<std::string>(lines.begin() + std::min<std::ptrdiff_t>(6, std::ssize(lines)), lines.end()),
                  expected)
            << name;
    }
}

} // namespace

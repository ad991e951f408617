#include "ConvertTestFiles.h"
#include "LasConverter.h"
#include "NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

// Public LAS files that the converter must get through; the folder is
// optional, and the tests skip when it is not there.
#ifndef KESTRIX_LAS_CORPUS
#define KESTRIX_LAS_CORPUS ""
#endif

namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = KESTRIX_LAS_CORPUS;

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
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
        const std::string name = entry.path().string();
        const ConvertResult result = ConvertLasFile(name, folder / "out.txt", {});
        ASSERT_TRUE(result.Ok()) << name << ": " << result.message;
        const std::vector<std::string> lines = SplitLines(WithoutCR(ReadBytes(folder / "out.txt")));
        const std::size_t expected = 5 + (result.curveCount > 0 ? 1 : 0) + static_cast<std::size_t>(result.recordCount);
        EXPECT_EQ(lines.size(), expected) << name;
    }
    EXPECT_GT(files, 50);
}

// The records of a LAS file whose data lines each hold one whole record,
// formatted as the raw survey file holds them.
std::vector<std::string> ExpectedRecords(const std::string& las)
{
    std::string text = las;
    std::replace(text.begin(), text.end(), '\r', '\n');
    std::vector<std::string> records;
    bool inData = false;
    for (const std::string& line : SplitLines(text)) {
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        if (!inData) {
            inData = line.compare(first, 2, "~A") == 0;
            continue;
        }
        std::istringstream tokens(line);
        std::string token, record;
        while (tokens >> token)
            record += (record.empty() ? "" : " ") + textio::Format("%10.5f", std::strtod(token.c_str(), nullptr));
        records.push_back(record);
    }
    return records;
}

struct CorpusFile {
    const char* name;
    int curves;
    std::int64_t records;
};

TEST(LasCorpus, PlainFilesComeOutWithEveryCurveAndRecord)
{
    if (!fs::is_directory(kCorpus))
        GTEST_SKIP() << "no LAS corpus at " << kCorpus;
    const std::vector<CorpusFile> files = {
        {"1.2/sample.las", 8, 3},
        {"1.2/sample_big.las", 8, 29897},
        {"2.0/sample_2.0.las", 8, 3},
        {"2.0/sample_2.0_tab_dlm.las", 8, 3},
        {"2.0/sample_2.0_universal_newline.las", 8, 3},
        {"6038187_v1.2.las", 9, 2732},
        {"skip_data_section_comments.las", 6, 4},
        {"autodepthindex_M.las", 2, 101},
        {"sample_2.1.las", 8, 3},
    };
    ScratchFolder folder;
    for (const CorpusFile& file : files) {
        const std::string path = (kCorpus / file.name).string();
        const ConvertResult result = ConvertLasFile(path, folder / "out.txt", {});
        ASSERT_TRUE(result.Ok()) << file.name;
        EXPECT_EQ(result.curveCount, file.curves) << file.name;
        EXPECT_EQ(result.recordCount, file.records) << file.name;
        const std::vector<std::string> lines = SplitLines(WithoutCR(ReadBytes(folder / "out.txt")));
        const std::vector<std::string> records(lines.begin() + std::min<std::size_t>(6, lines.size()), lines.end());
        EXPECT_EQ(records, ExpectedRecords(ReadBytes(path))) << file.name;
    }
}

TEST(LasCorpus, SpotChecks)
{
    if (!fs::is_directory(kCorpus))
        GTEST_SKIP() << "no LAS corpus at " << kCorpus;
    ScratchFolder folder;
    // A wrapped file: a depth line, then 35 values over five lines.
    ASSERT_TRUE(ConvertLasFile((kCorpus / "1.2/sample_wrapped.las").string(), folder / "w.txt", {}).Ok());
    const std::vector<std::string> wrapped = SplitLines(WithoutCR(ReadBytes(folder / "w.txt")));
    ASSERT_EQ(wrapped.size(), 6u + 5u);
    EXPECT_EQ(wrapped[7].substr(0, 33), " 909.87500 -999.25000 2712.64600 ");
    EXPECT_EQ(wrapped[10].substr(wrapped[10].size() - 21), "   0.00000    0.00000");

    // The curve names are the text after each curve line's colon.
    ASSERT_TRUE(ConvertLasFile((kCorpus / "1.2/sample.las").string(), folder / "s.txt", {}).Ok());
    const std::vector<std::string> sample = SplitLines(WithoutCR(ReadBytes(folder / "s.txt")));
    ASSERT_GE(sample.size(), 7u);
    EXPECT_EQ(sample[5].substr(0, 40), "  1  DEPTH   2  SONIC TRANSIT TIME   3  ");
    EXPECT_EQ(sample[6], "1670.00000  123.45000 2550.00000    0.45000  123.45000  123.45000  110.20000  105.60000");
}

} // namespace

#include "convert/LasConverter.h"
#include "ConvertTestFiles.h"
#include "textio/NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

using namespace convert;

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

// A file either converts into a well-formed raw survey file or says what it
// lacks and leaves nothing behind.
TEST(LasCorpus, EveryFileConvertsOrSaysWhatItLacks)
{
    if (!fs::is_directory(kCorpus))
        GTEST_SKIP() << "no LAS corpus at " << kCorpus;
    using S = ConvertResult::Status;
    ScratchFolder folder;
    int converted = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kCorpus)) {
        if (!entry.is_regular_file())
            continue;
        const ConvertResult result = ConvertLasFile(entry.path().string(), folder / "out.txt", {});
        if (!result.Ok()) {
            EXPECT_TRUE(result.status == S::NoCurveSection || result.status == S::NoDataSection)
                << entry.path() << ": " << result.message;
            EXPECT_EQ(folder.Entries().size(), 0u) << entry.path();
            continue;
        }
        ++converted;
        const std::size_t lines = 6 + static_cast<std::size_t>(result.recordCount);
        EXPECT_EQ(Lines(WithoutCR(ReadFile(folder / "out.txt"))).size(), lines) << entry.path();
        fs::remove(folder / "out.txt");
    }
    EXPECT_GT(converted, 90);
}

// Rulers, column headings and curve lines without a description: a curve
// line is one with a "." or a ":", and one without ":" is named by its
// whole line.
TEST(LasCorpus, CurveNamesOfFilesWithLooseCurveLists)
{
    if (!fs::is_directory(kCorpus))
        GTEST_SKIP() << "no LAS corpus at " << kCorpus;
    const std::vector<std::pair<const char*, std::string>> files = {
        {"issue92.las", "DEPTH (BOREHOLE) {F10.2} USIT PROCESSING FLAG"},
        {"sparse_curves.las", " DEPT.M        DT  .US/M     RHOB.K/M3     NPHI.V/V      SFLU.OHMM     SFLA.OHMM     ILM .OHMM"
                              "     ILD .OHMM"},
        {"lasio_issue_271.las", std::string(10, ' ') + " TEST               .cps " + std::string(10, ' ')},
    };
    ScratchFolder folder;
    for (const auto& [name, namesLine] : files) {
        ASSERT_TRUE(ConvertLasFile((kCorpus / name).string(), folder / "out.txt", {}).Ok()) << name;
        const std::vector<std::string> lines = Lines(WithoutCR(ReadFile(folder / "out.txt")));
        ASSERT_GT(lines.size(), 5u) << name;
        EXPECT_EQ(lines[5].substr(0, namesLine.size()), namesLine) << name;
    }
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
        {"issue92.las", 16, 1},          {"sparse_curves.las", 8, 3},
    };
    ScratchFolder folder;
    for (const auto& [name, curves, records] : files) {
        const std::string las = ReadFile((kCorpus / name).string());
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
        const std::vector<std::string> lines = Lines(WithoutCR(ReadFile(folder / "out.txt")));
        EXPECT_EQ(std::vector<std::string>(lines.begin() + std::min<std::ptrdiff_t>(6, std::ssize(lines)), lines.end()),
                  expected)
            << name;
    }
}

} // namespace

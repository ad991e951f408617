#include "convert/LasConverter.h"
#include "ConvertTestFiles.h"
#include "NamedRows.h"
#include "textio/NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

using namespace convert;

namespace {

namespace fs = std::filesystem;

// Public LAS files that the converter must get through; optional.
const fs::path kCorpus = KESTRIX_LAS_CORPUS;

template <typename Base = ::testing::Test>
class WithCorpus : public Base {
protected:
    void SetUp() override
    {
        if (!fs::is_directory(kCorpus))
            GTEST_SKIP() << "no LAS corpus at " << kCorpus;
    }
};

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
using LasCorpus = WithCorpus<>;

TEST_F(LasCorpus, EveryFileConvertsOrSaysWhatItLacks)
{
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

struct NamesRow {
    const char* name;
    const char* file;
    std::string namesLine; // how the line of curve names starts
};

class LooseCurveList : public WithCorpus<::testing::TestWithParam<NamesRow>> {};

// Rulers, column headings and curve lines without a description: a curve
// line is one with a "." or a ":", and one without ":" is named by its
// whole line.
TEST_P(LooseCurveList, NamesEveryCurve)
{
    ScratchFolder folder;
    ASSERT_TRUE(ConvertLasFile((kCorpus / GetParam().file).string(), folder / "out.txt", {}).Ok());
    const std::vector<std::string> lines = Lines(WithoutCR(ReadFile(folder / "out.txt")));
    ASSERT_GT(lines.size(), 5u);
    EXPECT_EQ(lines[5].substr(0, GetParam().namesLine.size()), GetParam().namesLine);
}

INSTANTIATE_TEST_SUITE_P(
    LasCorpus, LooseCurveList,
    ::testing::Values(NamesRow{"DescriptionsAfterRulers", "issue92.las", "DEPTH (BOREHOLE) {F10.2} USIT PROCESSING FLAG"},
                      NamesRow{"NoDescriptions", "sparse_curves.las",
                               " DEPT.M        DT  .US/M     RHOB.K/M3     NPHI.V/V      SFLU.OHMM     SFLA.OHMM     ILM .OHMM"
                               "     ILD .OHMM"},
                      NamesRow{"OneCurveWithoutAColon", "lasio_issue_271.las",
                               std::string(10, ' ') + " TEST               .cps " + std::string(10, ' ')}),
    RowName());

struct PlainRow {
    const char* file;
    int curves;
    std::int64_t records;
};

// A row prints as its file, in test lists and failure reports.
void PrintTo(const PlainRow& row, std::ostream* out) { *out << row.file; }

class PlainFile : public WithCorpus<::testing::TestWithParam<PlainRow>> {};

// Files with a curve section and one record per data line: every curve and
// every record comes out, each value as the LAS text has it.
TEST_P(PlainFile, ComesOutWithEveryCurveAndRecord)
{
    const PlainRow& row = GetParam();
    const std::string las = ReadFile((kCorpus / row.file).string());
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
    ScratchFolder folder;
    const ConvertResult result = ConvertLasFile((kCorpus / row.file).string(), folder / "out.txt", {});
    EXPECT_EQ(result.curveCount, row.curves);
    EXPECT_EQ(result.recordCount, row.records);
    const std::vector<std::string> lines = Lines(WithoutCR(ReadFile(folder / "out.txt")));
    EXPECT_EQ(std::vector<std::string>(lines.begin() + std::min<std::ptrdiff_t>(6, std::ssize(lines)), lines.end()),
              expected);
}

INSTANTIATE_TEST_SUITE_P(
    LasCorpus, PlainFile,
    ::testing::Values(PlainRow{"1.2/sample.las", 8, 3}, PlainRow{"1.2/sample_big.las", 8, 29897},
                      PlainRow{"2.0/sample_2.0.las", 8, 3}, PlainRow{"2.0/sample_2.0_tab_dlm.las", 8, 3},
                      PlainRow{"2.0/sample_2.0_universal_newline.las", 8, 3}, PlainRow{"6038187_v1.2.las", 9, 2732},
                      PlainRow{"skip_data_section_comments.las", 6, 4}, PlainRow{"autodepthindex_M.las", 2, 101},
                      PlainRow{"issue92.las", 16, 1}, PlainRow{"sparse_curves.las", 8, 3}),
    [](const ::testing::TestParamInfo<PlainRow>& info) {
        std::string name = info.param.file; // letters and digits only
        for (char& c : name)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

struct SameFileRow {
    const char* name;
    const char* file;
    const char* reference;
};

class SameRawSurvey : public WithCorpus<::testing::TestWithParam<SameFileRow>> {};

// Encodings of one LAS file give one raw survey file.
TEST_P(SameRawSurvey, AsTheReferenceFile)
{
    ScratchFolder folder;
    ASSERT_TRUE(ConvertLasFile((kCorpus / GetParam().file).string(), folder / "a.txt", {}).Ok());
    ASSERT_TRUE(ConvertLasFile((kCorpus / GetParam().reference).string(), folder / "b.txt", {}).Ok());
    EXPECT_TRUE(ReadFile(folder / "a.txt") == ReadFile(folder / "b.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    LasCorpus, SameRawSurvey,
    ::testing::Values(SameFileRow{"Utf8WithAMark", "encodings_utf8wbom.las", "encodings_utf8.las"},
                      SameFileRow{"Utf16Le", "encodings_utf16le.las", "encodings_utf8.las"},
                      SameFileRow{"Utf16LeWithAMark", "encodings_utf16lebom.las", "encodings_utf8.las"},
                      SameFileRow{"Utf16Be", "encodings_utf16be.las", "encodings_utf8.las"},
                      SameFileRow{"Utf16BeWithAMark", "encodings_utf16bebom.las", "encodings_utf8.las"},
                      SameFileRow{"Windows1252AsIso88591", "encodings_cp1252.las", "encodings_iso88591.las"}),
    RowName());

struct Las3Row {
    const char* name;
    const char* file;
    std::int64_t records;
    std::string firstRecord; // how the first data line starts
    std::vector<std::string> textCurves;
};

class Las3LogData : public WithCorpus<::testing::TestWithParam<Las3Row>> {};

TEST_P(Las3LogData, ComesOutWithoutItsTextCurves)
{
    const Las3Row& row = GetParam();
    ScratchFolder folder;
    const ConvertResult result = ConvertLasFile((kCorpus / "3.0" / row.file).string(), folder / "out.txt", {});
    ASSERT_TRUE(result.Ok()) << result.message;
    EXPECT_EQ(result.recordCount, row.records);
    EXPECT_EQ(result.textCurves, row.textCurves);
    const std::vector<std::string> lines = Lines(WithoutCR(ReadFile(folder / "out.txt")));
    ASSERT_GT(lines.size(), 6u);
    EXPECT_EQ(lines[6].substr(0, row.firstRecord.size()), row.firstRecord);
}

const std::string kSampleRecord = "1670.00000  123.45000 2550.00000    0.45000  123.45000  123.45000  110.20000  105.60000 "
                                  "1450000000000.00000   10.00000   12.00000   14.00000   18.00000   13.00000";

INSTANTIATE_TEST_SUITE_P(
    LasCorpus, Las3LogData,
    ::testing::Values(Las3Row{"CommaDelimited", "sample_3.0.las", 3, kSampleRecord, {"CDES"}},
                      Las3Row{"TabDelimited", "sample_3.0_tab_dlm.las", 3, kSampleRecord, {"CDES"}},
                      Las3Row{"Revised2010", "las-30a-revised-2010.las", 3, kSampleRecord, {"CDES"}},
                      Las3Row{"SpaceDelimited", "Good File (SS).las", 161,
                              "   0.00000 -9999.00000 5725.96600    0.00098 -9999.00000 5725.96700", {}}),
    RowName());

} // namespace

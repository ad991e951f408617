#include "CountingHost.h"
#include "NamedRows.h"
#include "ProbeReadings.h"
#include "ScratchFolder.h"
#include "SurveyRows.h"
#include "survey/Orientation.h"
#include "survey/XyzExport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace survey;

namespace {

const std::vector<Row> kRows = {
    {1.0, 0.2, 0.1, 0.4, 0.0, 1.0, 0.1},
    {2.0, 0.21, 0.11, 0.41, 0.1, 1.0, 0.1},
    {3.0, 0.22, 0.12, 0.42, 0.2, 1.0, 0.1},
};

TEST(Loader, ConverterOutputLoadsCompletely)
{
    CKestrixDoc doc;
    CountingHost host;
    doc.SetHost(&host);
    RecordingSink sink;
    EXPECT_EQ(LoadText(doc, RawSurveyText(kRows), sink), LoadResult::Loaded);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(doc.m_strFilePath, "/surveys/hole7.txt");
    EXPECT_EQ(doc.m_dEasting, 500000.0);
    EXPECT_EQ(doc.m_dNorthing, 7000000.0);
    EXPECT_EQ(doc.m_dHeight, 350.0);
    EXPECT_EQ(doc.m_dDeclination, 12.5);
    ASSERT_EQ(doc.m_nObs, 3);
    EXPECT_EQ(doc.m_pObs[2].Depth, 3.0);
    EXPECT_EQ(doc.m_pObs[2].MagY, 0.12);
    EXPECT_EQ(doc.m_pObs[2].AccX, 0.2);
    EXPECT_NE(doc.m_pObs[2].CalcIncl, 0.0) << "the load ends with a recalculation";
    EXPECT_EQ(host.plotWindows, 1);
    EXPECT_EQ(host.updates, 1);
}

struct BadFileCase {
    const char* name;
    std::string text;
    int rowsKept;
    double eastingKept;
};

std::string GoodText() { return RawSurveyText(kRows); }
std::string Head() { return GoodText().substr(0, GoodText().find("   1.00000")); }
std::string Collar() { return Head().substr(0, Head().find("     DEPTH")); }
const std::string kOverlongNumber(LineSource::kMaxPiece + 1, '1');

class BadFile : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(BadFile, ShowsItsMessageAndKeepsWhatWasRead)
{
    const BadFileCase& c = GetParam();
    CKestrixDoc doc;
    CountingHost host;
    doc.SetHost(&host);
    RecordingSink sink;
    EXPECT_EQ(LoadText(doc, c.text, sink), LoadResult::InvalidFormat);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].substr(0, sink.messages[0].find('\n')), "Invalid file format");
    EXPECT_EQ(sink.messages[0].find("\n/surveys/hole7.txt, line "), std::string("Invalid file format").size())
        << "then the file and the line that failed";
    EXPECT_EQ(doc.m_nObs, c.rowsKept);
    EXPECT_EQ(doc.m_dEasting, c.eastingKept);
    EXPECT_EQ(host.plotWindows, 0);
    EXPECT_EQ(host.updates, 0);
    for (int i = 0; i < doc.m_nObs; ++i)
        EXPECT_EQ(doc.m_pObs[i].CalcIncl, 0.0) << "nothing is computed";
}

INSTANTIATE_TEST_SUITE_P(
    Loader, BadFile,
    ::testing::Values(
        BadFileCase{"EmptyFile", "", 0, 0.0},
        BadFileCase{"TitleWithTrailingBlank", "Collar coordinates: \r\n", 0, 0.0},
        BadFileCase{"TitleRunningOnForMegabytes", "Collar coordinates:" + kOverlongNumber, 0, 0.0},
        BadFileCase{"HeaderMissing", Collar(), 0, 500000.0},
        BadFileCase{"DepthNameInMixedCase", Collar() + "Depth MagX MagY MagZ AccX AccY AccZ\r\n", 0, 500000.0},
        BadFileCase{"SixNumbersOnARow", Head() + "1 2 3 4 5 6 7\r\n1 2 3 4 5 6\r\n", 1, 500000.0},
        BadFileCase{"WordOnARow", Head() + "1 2 3 4 5 6 7\r\n8 9 x 4 5 6 7\r\n", 1, 500000.0},
        BadFileCase{"EmptyLineBetweenRows", Head() + "1 2 3 4 5 6 7\r\n\r\n1 2 3 4 5 6 7\r\n", 1, 500000.0},
        BadFileCase{"BlankLineBetweenRows", Head() + "1 2 3 4 5 6 7\r\n \t\r\n1 2 3 4 5 6 7\r\n", 1, 500000.0},
        BadFileCase{"NumberOverTheBound", Head() + "1 2 3 4 5 6 7\r\n1 2 " + kOverlongNumber + " 4 5 6 7\r\n", 1,
                    500000.0},
        BadFileCase{"CollarNumberOverTheBound", "Collar coordinates:\r\nEasting " + kOverlongNumber, 0, 0.0},
        BadFileCase{"WordOverTheBoundAfterTheSeventhNumber",
                    Head() + "1 2 3 4 5 6 7\r\n1 2 3 4 5 6 7 x " + kOverlongNumber + "\r\n", 1, 500000.0},
        BadFileCase{"WordOverTheBoundAfterACollarNumber",
                    "Collar coordinates:\r\nEasting 1 " + kOverlongNumber + "\r\n", 0, 1.0},
        // Numbers that the C library would read as something else.
        BadFileCase{"DecimalCommas", Head() + "1 2 3 4 5 6 7\r\n1 0,04635 3 4 5 6 7\r\n", 1, 500000.0},
        BadFileCase{"SecondDecimalPoint", Head() + "1 2 3 4 5 6 7\r\n1 2 3 1.2.3 5 6 7\r\n", 1, 500000.0},
        BadFileCase{"NotANumber", Head() + "1 2 3 4 5 6 7\r\n1 2 3 4 5 6 nan\r\n", 1, 500000.0},
        BadFileCase{"Infinity", Head() + "-inf 2 3 4 5 6 7\r\n", 0, 500000.0},
        BadFileCase{"NumberTooLarge", Head() + "1 2 3 4 5 6 7\r\n1e999 2 3 4 5 6 7\r\n", 1, 500000.0},
        BadFileCase{"CollarWithADecimalComma", "Collar coordinates:\r\nEasting 1,5\r\n", 0, 0.0},
        BadFileCase{"CollarNotANumber", "Collar coordinates:\r\nEasting 1\r\nNorthing NaN\r\n", 0, 1.0},
        BadFileCase{"CrOnlyLineEnds", "Collar coordinates:\rEasting 1\rNorthing 2\r", 0, 0.0},
        BadFileCase{"KeywordRunIntoItsNumber", "Collar coordinates:\r\nEasting500000.00\r\n", 0, 0.0},
        BadFileCase{"BlankBeforeTheKeyword", "Collar coordinates:\r\n Easting 1\r\n", 0, 0.0},
        BadFileCase{"WordInsteadOfANumber", "Collar coordinates:\r\nEasting 1\r\nNorthing north\r\n", 0, 1.0},
        BadFileCase{"NorthingFillingItsField",
                    "Collar coordinates:\r\nEasting    500000.00\r\nNorthing10000000.00\r\n", 0, 500000.0},
        BadFileCase{"KeywordsOutOfOrder", "Collar coordinates:\r\nNorthing 1\r\n", 0, 0.0}),
    RowName());

struct ReasonRow {
    const char* name;
    std::string text;
    const char* second; // the message's second line after the file's path
};

class FailureReason : public ::testing::TestWithParam<ReasonRow> {};

// The message's second line says which line failed and why, in the user's terms.
TEST_P(FailureReason, NamesTheLineAndWhy)
{
    CKestrixDoc doc;
    RecordingSink sink;
    EXPECT_EQ(LoadText(doc, GetParam().text, sink), LoadResult::InvalidFormat);
    EXPECT_EQ(sink.messages, std::vector<std::string>{"Invalid file format\n/surveys/hole7.txt, " +
                                                      std::string(GetParam().second)});
}

INSTANTIATE_TEST_SUITE_P(
    Loader, FailureReason,
    ::testing::Values(
        ReasonRow{"Title", "Collar coordinates \r\n", "line 1: the first line is not \"Collar coordinates:\""},
        ReasonRow{"EndsInTheCollar", "Collar coordinates:\r\nEasting 1\r\n", "line 3: the file ends before the collar's four lines"},
        ReasonRow{"KeywordIndented", "Collar coordinates:\r\n Easting 1\r\n", "line 2: the line does not start with Easting"},
        ReasonRow{"CollarWithADecimalComma", "Collar coordinates:\r\nEasting 1,5\r\n",
                  "line 2: \"1,5\" is not a number (Easting)"},
        ReasonRow{"NamesInTheWrongCase", Collar() + "depth MagX MagY MagZ AccX AccY accz\r\n",
                  "line 6: the names line lacks DEPTH, AccZ (names are case-sensitive)"},
        ReasonRow{"SixValues", Head() + "1 2 3 4 5 6 7\r\n1 2 3 4 5 6\r\n", "line 8: 6 values where seven are needed"},
        ReasonRow{"NotANumber", Head() + "1 2 3 4 5 6 nan\r\n", "line 7: \"nan\" is not a number (AccZ)"},
        ReasonRow{"EmptyLineBetweenRows", Head() + "1 2 3 4 5 6 7\r\n\r\n1 2 3 4 5 6 7\r\n", "line 8: an empty line between rows"},
        ReasonRow{"WordOverTheBound", Head() + kOverlongNumber + "\r\n", "line 7: a word longer than 1 MiB"}),
    RowName());

// Editors end a file with a line end or two; what follows the last row
// without a token is passed over.
struct TrailingRow {
    const char* name;
    const char* text;
};

class TrailingLines : public ::testing::TestWithParam<TrailingRow> {};

TEST_P(TrailingLines, AreNotAnError)
{
    CKestrixDoc doc;
    RecordingSink sink;
    EXPECT_EQ(LoadText(doc, GoodText() + GetParam().text, sink), LoadResult::Loaded);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(doc.m_nObs, 3);
}

INSTANTIATE_TEST_SUITE_P(Loader, TrailingLines,
                         ::testing::Values(TrailingRow{"OneEmptyLine", "\r\n"}, TrailingRow{"SeveralEmptyLines", "\n\r\n\r\n"},
                                           TrailingRow{"LoneCr", "\r"}, TrailingRow{"BlanksAndTabs", "  \t \r\n\t"}),
                         RowName());

TEST(Loader, LenientFormsAreAccepted)
{
    const std::string tail = "     DEPTH       MagX       MagY       MagZ       AccX       AccY       AccZ\r\n"
                             "1 2 3 4 5 6 7 8 9\r\n";
    const std::string text = "COLLAR COORDINATES:\nEASTING 12.5km and more\r\nnorthing\t-3e2\r\n"
                             "Height 0\r\nDeclination 1\r\n" + tail;
    CKestrixDoc doc;
    RecordingSink sink;
    EXPECT_EQ(LoadText(doc, text, sink), LoadResult::Loaded);
    EXPECT_EQ(doc.m_dEasting, 12.5);
    EXPECT_EQ(doc.m_dNorthing, -300.0);
    ASSERT_EQ(doc.m_nObs, 1);
    EXPECT_EQ(doc.m_pObs[0].AccZ, 7.0) << "an eighth and ninth number are ignored";
}

TEST(Loader, HeaderNamesAreFoundAnywhereButColumnsGoByPosition)
{
    CKestrixDoc doc;
    RecordingSink sink;
    EXPECT_EQ(LoadText(doc, RawSurveyText(kRows, "AccZ AccY AccX MagZ MagY MagX xDEPTHx"), sink), LoadResult::Loaded);
    ASSERT_EQ(doc.m_nObs, 3);
    EXPECT_EQ(doc.m_pObs[0].Depth, 1.0);
    EXPECT_EQ(doc.m_pObs[0].AccY, 1.0);
}

TEST(Loader, HeaderWithoutRowsGivesAnEmptyComputedSurvey)
{
    CKestrixDoc doc;
    CountingHost host;
    doc.SetHost(&host);
    RecordingSink sink;
    EXPECT_EQ(LoadText(doc, RawSurveyText({}), sink), LoadResult::Loaded);
    EXPECT_EQ(doc.m_nObs, 0);
    EXPECT_EQ(host.plotWindows, 1);
    EXPECT_EQ(host.updates, 1);
}

// Only the first seven tokens of a row count: whatever follows, however long,
// is passed over; a token of exactly the bound is still read.
TEST(Loader, LinesOfMegabytesLoadWhenNoTokenIsOverTheBound)
{
    const std::string header = "     DEPTH       MagX       MagY       MagZ       AccX" + std::string(3 << 20, ' ') +
                               "AccY       AccZ";
    const std::string longest = "0." + std::string(LineSource::kMaxPiece - 3, '0') + "5";
    const std::string rows = "1 2 3 4 5 6 7 x" + std::string(3 << 20, ' ') + "\r\n" + longest + " 2 3 4 5 6 7\r\n";
    CKestrixDoc doc;
    RecordingSink sink;
    EXPECT_EQ(LoadText(doc, RawSurveyText({}, header.c_str()) + rows, sink), LoadResult::Loaded);
    ASSERT_EQ(doc.m_nObs, 2);
    EXPECT_EQ(doc.m_pObs[0].AccZ, 7.0);
    EXPECT_EQ(doc.m_pObs[1].Depth, 0.0);
}

// Pieces as short as one character split every token and name: the load
// must not notice.
TEST(Loader, PieceBoundariesChangeNothing)
{
    const std::string text = RawSurveyText(kRows, "xDEPTHx MagXMagYMagZ\tAccXAccY AccZ") + "1e5 -2 3. .4 5 6 7 8\r\n\r\n";
    CKestrixDoc whole;
    RecordingSink wholeSink;
    ASSERT_EQ(LoadText(whole, text, wholeSink), LoadResult::Loaded);
    for (std::size_t piece = 1; piece <= 7; ++piece) {
        CKestrixDoc doc;
        RecordingSink sink;
        StringLineSource source(text, piece);
        EXPECT_EQ(doc.LoadRawSurvey("/surveys/hole7.txt", source, sink), LoadResult::Loaded) << piece;
        ASSERT_EQ(doc.m_nObs, whole.m_nObs) << piece;
        EXPECT_EQ(doc.m_dDeclination, whole.m_dDeclination) << piece;
        for (int i = 0; i < doc.m_nObs; ++i)
            EXPECT_EQ(std::memcmp(&doc.m_pObs[i], &whole.m_pObs[i], sizeof(Observation)), 0) << piece << " row " << i;
    }
}

TEST(Loader, ObservationLimit)
{
    std::string text = RawSurveyText({});
    for (int i = 0; i < CKestrixDoc::kMaxObservations; ++i)
        text += "1 0.2 0.1 0.4 0 1 0\r\n";
    {
        CKestrixDoc doc;
        RecordingSink sink;
        EXPECT_EQ(LoadText(doc, text, sink), LoadResult::Loaded);
        EXPECT_TRUE(sink.messages.empty());
        EXPECT_EQ(doc.m_nObs, CKestrixDoc::kMaxObservations);
    }
    text += "2 0.2 0.1 0.4 0 1 0\r\nnot even a number\r\n";
    CKestrixDoc doc;
    CountingHost host;
    doc.SetHost(&host);
    RecordingSink sink;
    EXPECT_EQ(LoadText(doc, text, sink), LoadResult::LoadedOverLimit);
    EXPECT_EQ(sink.messages, std::vector<std::string>{
                                 "The number of observations in the file exceeds the limit of 200000.\n"
                                 "Observations in excess of this have been ignored."});
    EXPECT_EQ(doc.m_nObs, CKestrixDoc::kMaxObservations);
    EXPECT_EQ(host.plotWindows, 1) << "the load completes after the warning";
    EXPECT_NE(doc.m_pObs[CKestrixDoc::kMaxObservations - 1].CalcIncl, 0.0);
}

// A source that cannot tell its size (a pipe): the table grows as rows come,
// keeping every row through each growth, up to the limit and no further.
TEST(Loader, SourceOfUnknownSizeGrowsTheTableUpToTheLimit)
{
    class UnsizedSource : public StringLineSource {
    public:
        using StringLineSource::StringLineSource;
        std::uint64_t BytesInAll() const override { return 0; }
    };
    std::string text = RawSurveyText({});
    for (int i = 0; i <= CKestrixDoc::kMaxObservations; ++i)
        text += std::to_string(i) + " 0.2 0.1 0.4 0 1 0\r\n";
    CKestrixDoc doc;
    RecordingSink sink;
    UnsizedSource source(text);
    EXPECT_EQ(doc.LoadRawSurvey("/surveys/pipe.txt", source, sink), LoadResult::LoadedOverLimit);
    ASSERT_EQ(doc.m_nObs, CKestrixDoc::kMaxObservations);
    for (int i = 0; i < doc.m_nObs; ++i)
        ASSERT_EQ(doc.m_pObs[i].Depth, i);
}

// A straight hole logged at 1 cm for 2000 m: every reading loads and is
// exported, the first tenth computes as that stretch alone does, and the
// positions lie on the hole's line.
TEST(Loader, TenTimesTheSpecifiedSurvey)
{
    constexpr int kReadings = CKestrixDoc::kMaxObservations;
    const FieldNeu field{0.19, 0.0, -0.48};
    std::vector<Row> rows;
    rows.reserve(kReadings);
    for (int i = 0; i < kReadings; ++i)
        rows.push_back(ProbeReading(i * 0.01, field, 60, 30, (i * 7) % 360, 1.0));
    CKestrixDoc whole, tenth;
    FillDocument(whole, rows);
    FillDocument(tenth, std::vector<Row>(rows.begin(), rows.begin() + kReadings / 10));
    ASSERT_EQ(whole.m_nObs, kReadings);
    for (int i = 0; i < tenth.m_nObs; ++i)
        ASSERT_EQ(std::memcmp(&whole.m_pObs[i], &tenth.m_pObs[i], sizeof(Observation)), 0) << i;
    const Observation& last = whole.m_pObs[kReadings - 1];
    const double along = last.Depth * std::cos(60 * kDegToRad);
    const double turn = (30 - whole.m_dDeclination) * kDegToRad;
    EXPECT_NEAR(last.East - whole.m_dEasting, along * std::sin(turn), 0.05);
    EXPECT_NEAR(last.North - whole.m_dNorthing, along * std::cos(turn), 0.05);
    EXPECT_NEAR(whole.m_dHeight - last.Height, last.Depth * std::sin(60 * kDegToRad), 0.05);

    ScratchFolder folder;
    ASSERT_EQ(WriteXyzFile(whole, folder / "long.xyz"), ExportResult::Ok);
    const std::string exported = ReadFile(folder / "long.xyz");
    EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), kReadings + 2);
}

// Every line of `source`, with the longest piece it handed out.
std::vector<std::string> AllLines(LineSource& source, std::size_t& longestPiece)
{
    std::vector<std::string> lines;
    longestPiece = 0;
    while (source.NextLine()) {
        lines.emplace_back();
        for (std::string_view piece; source.NextPiece(piece);) {
            lines.back().append(piece);
            longestPiece = std::max(longestPiece, piece.size());
        }
    }
    return lines;
}

TEST(LineSources, LineEndsAndLastLine)
{
    std::size_t longest = 0;
    StringLineSource text("a\r\nb\nc\rXd\r\n\r\ne", 1);
    EXPECT_EQ(AllLines(text, longest), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(longest, 1u);

    ScratchFolder folder;
    const std::string path = folder.Path() + "/lines.txt";
    // Long enough to cross the reader's block boundaries, with a CR LF split between blocks.
    const std::string first(65535, 'x'), second(3 << 20, 'y');
    WriteFile(path, first + "\r\n" + second + "\nlast");
    FileLineSource file(path);
    EXPECT_EQ(AllLines(file, longest), (std::vector<std::string>{first, second, "last"}));
    EXPECT_LE(longest, std::size_t(1) << 16) << "the file is read through a fixed block";
    EXPECT_FALSE(file.Failed());
}

} // namespace

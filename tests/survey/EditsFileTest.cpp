#include "EditTestSupport.h"
#include "NamedRows.h"
#include "SurveyRows.h"
#include "survey/EditRecord.h"
#include "survey/EditsRestore.h"

#include "examples/DemoSurvey.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace survey;

namespace {

std::variant<SurveyEdits, EditsFault> Read(const std::string& text)
{
    StringLineSource source(text);
    return ReadEdits(source);
}

struct ReadRow {
    const char* name;
    std::string text;
    std::string written; // the same edits as the program writes them
};

class ReadingEdits : public ::testing::TestWithParam<ReadRow> {};

TEST_P(ReadingEdits, GivesTheEditsAsWritten)
{
    const auto read = Read(GetParam().text);
    ASSERT_TRUE(std::holds_alternative<SurveyEdits>(read)) << std::get<EditsFault>(read).reason;
    EXPECT_EQ(EditsText(std::get<SurveyEdits>(read)), GetParam().written);
}

const std::string kHeader = "Kestrix edits 1\r\n";

INSTANTIATE_TEST_SUITE_P(
    Rows, ReadingEdits,
    ::testing::Values(
        ReadRow{"AsSaved",
                kHeader + "delete 205.00\r\ndelete 310.50\r\ncontrol 130.00 38.50\r\ncontrol 270.00 41.25\r\n"
                          "degree 3\r\nroll 90\r\n",
                kHeader + "delete 205.00\r\ndelete 310.50\r\ncontrol 130.00 38.50\r\ncontrol 270.00 41.25\r\n"
                          "degree 3\r\nroll 90\r\n"},
        ReadRow{"LineFeedsCommentsAndBlankLines",
                "Kestrix edits 1 # saved by hand\n\n# the spikes\n\tdelete 57.3 \nfit local\n\ncontrol 1.006 -0.004\n",
                kHeader + "delete 57.30\r\ncontrol 1.01 0.00\r\nfit local\r\n"},
        ReadRow{"OccurrencesAndDepthsBeyondHundredths", "Kestrix edits 1\ndelete 1e3 2\ndelete 0.123456 1\n",
                kHeader + "delete 1000.00 2\r\ndelete 0.123456\r\n"},
        ReadRow{"DepthsNoNumberLineHolds", "Kestrix edits 1\ndelete nan\ndelete -inf\n",
                kHeader + "delete nan\r\ndelete -inf\r\n"},
        ReadRow{"NegativeControlPoint", "Kestrix edits 1\ncontrol -0.05 -179.99\n",
                kHeader + "control -0.05 -179.99\r\n"},
        ReadRow{"WholeNumbersWrittenAsDecimals", "Kestrix edits 1\ndegree 4.0\nroll -90\n",
                kHeader + "degree 4\r\nroll -90\r\n"},
        ReadRow{"HeaderOnly", "Kestrix edits 1", kHeader}),
    RowName());

struct FaultRow {
    const char* name;
    std::string text;
    std::int64_t line;
    std::string reason;
};

class RefusingEdits : public ::testing::TestWithParam<FaultRow> {};

// A small survey with two readings at 20 m.
const std::vector<Row> kSurvey = {{10, 0.2, 0.1, 0.4, 0, 1, 0.1},
                                  {20, 0.2, 0.1, 0.4, 0, 1, 0.2},
                                  {20, 0.3, 0.1, 0.4, 0, 1, 0.2},
                                  {30, 0.2, 0.1, 0.4, 0, 1, 0.3}};

// A fault in reading or in applying: the line and reason, and the survey
// stays as loaded.
TEST_P(RefusingEdits, NamesTheLineAndChangesNothing)
{
    const FaultRow& row = GetParam();
    CKestrixDoc doc;
    FillDocument(doc, kSurvey);
    for (std::int32_t i = 0; i < 98; ++i)
        ApplyRecorded(doc, edit::AddControlPoint{{i, i}});
    const DocumentState before(doc);
    auto read = Read(row.text);
    const EditsFault* fault = std::get_if<EditsFault>(&read);
    std::variant<RestoredEdits, EditsFault> restored = EditsFault{};
    if (!fault) {
        restored = RestoreEdits(doc, std::get<SurveyEdits>(read));
        fault = std::get_if<EditsFault>(&restored);
    }
    ASSERT_TRUE(fault) << "accepted";
    EXPECT_EQ(fault->line, row.line);
    EXPECT_EQ(fault->reason, row.reason);
    EXPECT_EQ(FirstDifference(DocumentState(doc), before), "");
}

const std::string kExpected = "expected delete, control, degree, roll, fit local, crs, location, date, model, "
                              "declination, trajectory or name";
const std::string kFirstLine = "the first line must be \"Kestrix edits 1\" or \"Kestrix edits 2\"";
const std::string kDeleteUsage = "expected delete DEPTH, or delete DEPTH N for the N-th reading at that depth";
const std::string kControlUsage = "expected control DEPTH AZIMUTH, in metres and degrees within the plot's range";

std::string Lines(const std::string& line, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += line;
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefusingEdits,
    ::testing::Values(
        FaultRow{"Empty", "", 1, kFirstLine},
        FaultRow{"LaterVersion", "Kestrix edits 3\r\n", 1, kFirstLine},
        FaultRow{"CommentBeforeTheHeader", "# mine\nKestrix edits 1\n", 1, kFirstLine},
        FaultRow{"CapitalKeyword", "Kestrix edits 1\nDelete 10\n", 2, kExpected},
        FaultRow{"CommaDecimal", "Kestrix edits 1\ndelete 1,5\n", 2, kDeleteUsage},
        FaultRow{"OccurrenceZero", "Kestrix edits 1\ndelete 20 0\n", 2, kDeleteUsage},
        FaultRow{"LettersAfterANumber", "Kestrix edits 1\ncontrol 130abc 38.5\n", 2, kControlUsage},
        FaultRow{"InfiniteControlPoint", "Kestrix edits 1\ncontrol inf 38.5\n", 2, kControlUsage},
        FaultRow{"ControlPointPastThePlot", "Kestrix edits 1\ncontrol 21474837 0\n", 2, kControlUsage},
        FaultRow{"DegreeFive", "Kestrix edits 1\ndegree 5\n", 2, "expected degree 1, 2, 3 or 4"},
        FaultRow{"DegreeAndAHalf", "Kestrix edits 1\ndegree 2.5\n", 2, "expected degree 1, 2, 3 or 4"},
        FaultRow{"RollFortyFive", "Kestrix edits 1\nroll 45\n", 2, "expected roll 0, 90, 180 or -90"},
        FaultRow{"SecondDegree", "Kestrix edits 1\ndegree 2\n# again\ndegree 3\n", 4, "a second degree line"},
        FaultRow{"SecondLocalFit", "Kestrix edits 1\nfit local\nfit local\n", 3, "a second fit local line"},
        FaultRow{"FitElsewhere", "Kestrix edits 1\nfit global\n", 2, "expected fit local"},
        FaultRow{"HundredAndOneControlPoints", "Kestrix edits 1\n" + Lines("control 1 2\n", 101), 102,
                 "more than 100 control points"},
        FaultRow{"LineLongerThanAMebibyte", "Kestrix edits 1\n#" + std::string(1 << 20, 'x') + "\ndelete 10\n", 2,
                 "a line longer than 1048576 characters"},
        FaultRow{"NoReadingAtThatDepth", "Kestrix edits 1\ndelete 10\ndelete 25\n", 3, "no reading at depth 25.00"},
        FaultRow{"DeletedTwice", "Kestrix edits 1\ndelete 10\ndelete 10\n", 3, "no reading at depth 10.00"},
        FaultRow{"NoThirdReadingAtThatDepth", "Kestrix edits 1\ndelete 20 2\ndelete 20 2\n", 3,
                 "no reading number 2 at depth 20.00"},
        FaultRow{"PointsPastTheHundredInAll", "Kestrix edits 1\ncontrol 1 1\ncontrol 2 2\ncontrol 3 3\n", 4,
                 "more than 100 control points"},
        FaultRow{"NoSuchDay", "Kestrix edits 2\ndate 2023-02-29\n", 2, "expected date YYYY-MM-DD, a day of the calendar"},
        FaultRow{"SecondDate", "Kestrix edits 2\ndate 2023-02-28\ndate 2023-03-01\n", 3, "a second date line"},
        FaultRow{"GridAndLocalGrid", "Kestrix edits 2\nlocation 60 10 0\ncrs EPSG:32633\n", 3,
                 "a crs line beside a location line"},
        FaultRow{"LatitudePastThePole", "Kestrix edits 2\nlocation 91 10 0\n", 2,
                 "expected location LATITUDE LONGITUDE CONVERGENCE, in degrees (-90 to 90, -180 to 360, -90 to 90)"},
        FaultRow{"UnknownModel", "Kestrix edits 2\nmodel emm\n", 2, "expected model igrf14 or model wmm2025"},
        FaultRow{"NameWithoutText", "Kestrix edits 2\nname  \t\n", 2,
                 "expected name TEXT: a hole's name is not empty"},
        FaultRow{"NameWithAControlCharacter", "Kestrix edits 2\nname a\x1b[2Jb\n", 2,
                 "expected name TEXT: a hole's name holds no control characters (tabs and line ends among them)"},
        FaultRow{"NameNotUtf8", "Kestrix edits 2\nname Cl\xe9\n", 2, "expected name TEXT: a hole's name is UTF-8 text"},
        FaultRow{"SecondName", "Kestrix edits 2\nname A\nname B\n", 3, "a second name line"},
        FaultRow{"UnknownTrajectory", "Kestrix edits 2\ntrajectory tangential\n", 2,
                 "expected trajectory average-angle or trajectory min-curvature"},
        FaultRow{"ModelDeclinationWithoutADate", "Kestrix edits 2\nlocation 60 10 0\n\ndeclination model\n", 4,
                 "declination model: The survey has no date."},
        FaultRow{"ModelDeclinationOutOfTheModelsRange", "Kestrix edits 2\nlocation 60 10 0\ndate 2031-01-01\nmodel wmm2025\ndeclination model\n", 5,
                 "declination model: The date 2031.00 is outside WMM2025's range, 2025.0 to 2030.0"}),
    RowName());

struct SiteTextRow {
    const char* name;
    std::string text;
};

class SiteLines : public ::testing::TestWithParam<SiteTextRow> {};

// The site and trajectory lines read back as written, in version 2.
TEST_P(SiteLines, ReadBackAsWritten)
{
    auto read = Read(GetParam().text);
    ASSERT_TRUE(std::holds_alternative<SurveyEdits>(read)) << std::get<EditsFault>(read).reason;
    EXPECT_EQ(EditsText(std::get<SurveyEdits>(read)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SiteLines,
    ::testing::Values(SiteTextRow{"GridDateModel", "Kestrix edits 2\r\ndegree 2\r\ncrs EPSG:32633\r\ndate 2008-06-01\r\n"
                                                   "model wmm2025\r\ndeclination model\r\ntrajectory min-curvature\r\n"},
                      SiteTextRow{"LocalGridTypedDeclination",
                                  "Kestrix edits 2\r\nlocation -37.25 174.5 -1.125\r\ndeclination -19.75\r\n"},
                      SiteTextRow{"AverageAngleStated", "Kestrix edits 2\r\ntrajectory average-angle\r\n"},
                      SiteTextRow{"NameWithHashAndAccents", "Kestrix edits 2\r\nname Cl\xc3\xa9 #7  (re-run)\r\n"}),
    RowName());

struct DepthRow {
    const char* name;
    double depth;
    const char* text;
};

class DepthText : public ::testing::TestWithParam<DepthRow> {};

TEST_P(DepthText, ReadsBackAsTheSameNumber)
{
    EXPECT_EQ(EditsDepthText(GetParam().depth), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Rows, DepthText,
                         ::testing::Values(DepthRow{"Hundredths", 205.1, "205.10"},
                                           DepthRow{"FiveDecimals", 205.12345, "205.12345"},
                                           DepthRow{"NoShortDecimal", 0.1 + 0.2, "0.30000000000000004"},
                                           DepthRow{"Tiny", 1e-7, "1e-07"}),
                         RowName());

// The program's own round: edits made by hand on the demo survey, saved,
// read and restored on the survey loaded afresh give the same survey.
TEST(EditsFile, RestoresTheEditedSurveyExactly)
{
    CKestrixDoc edited;
    ASSERT_TRUE(LoadDemo(edited));
    for (auto spike = demo::kSpikeSamples.rbegin(); spike != demo::kSpikeSamples.rend(); ++spike)
        ASSERT_TRUE(ApplyRecorded(edited, edit::DeleteObservation{*spike}));
    for (const ControlPoint& point : DemoControlPoints())
        ASSERT_TRUE(ApplyRecorded(edited, edit::AddControlPoint{point}));
    ASSERT_TRUE(ApplyRecorded(edited, edit::SetLocalFit{true}));
    ASSERT_TRUE(ApplyRecorded(edited, edit::SetFitDegree{3}));
    ASSERT_TRUE(ApplyRecorded(edited, edit::SetHoleName{"Knockaulin 7 #2"}));

    ScratchFolder folder;
    const std::string path = EditsFilePath(folder / "demo.txt");
    ASSERT_EQ(WriteEditsFile(EditsOf(edited), path), textio::SafeFileWriter::Status::Ok);
    const std::string saved = ReadFile(folder / "demo.txt.edits");
    const auto read = ReadEditsFile(path);
    ASSERT_TRUE(std::holds_alternative<SurveyEdits>(read));

    CKestrixDoc restored;
    ASSERT_TRUE(LoadDemo(restored));
    const DocumentState loaded(restored);
    auto result = RestoreEdits(restored, std::get<SurveyEdits>(read));
    ASSERT_TRUE(std::holds_alternative<RestoredEdits>(result));
    EXPECT_EQ(std::get<RestoredEdits>(result).summary, "5 deletions, 9 control points, degree 3, local fit, name Knockaulin 7 #2");
    EXPECT_EQ(FirstDifference(DocumentState(restored), DocumentState(edited)), "");
    EXPECT_EQ(ExportBytes(restored), ExportBytes(edited));
    EXPECT_EQ(EditsText(EditsOf(restored)), saved) << "saved again, the file stays the same";

    ASSERT_TRUE(Undo(restored, std::get<RestoredEdits>(result).record));
    EXPECT_EQ(FirstDifference(DocumentState(restored), loaded), "") << "one undo takes the whole file back";
}

// Which of several readings at one depth was deleted survives the round.
TEST(EditsFile, RestoresDeletionsAmongReadingsAtOneDepth)
{
    CKestrixDoc edited, restored;
    FillDocument(edited, kSurvey);
    FillDocument(restored, kSurvey);
    ASSERT_TRUE(ApplyRecorded(edited, edit::DeleteObservations{{2, 3}}));
    ASSERT_TRUE(ApplyRecorded(edited, edit::DeleteObservation{1}));
    EXPECT_EQ(EditsText(EditsOf(edited)),
              kHeader + "delete 20.00 2\r\ndelete 30.00\r\ndelete 20.00\r\ndegree 2\r\nroll 0\r\n");
    auto read = Read(EditsText(EditsOf(edited)));
    auto result = RestoreEdits(restored, std::get<SurveyEdits>(read));
    ASSERT_TRUE(std::holds_alternative<RestoredEdits>(result));
    EXPECT_EQ(std::get<RestoredEdits>(result).summary, "3 deletions");
    EXPECT_EQ(FirstDifference(DocumentState(restored), DocumentState(edited)), "");
}

TEST(EditsFile, MissingOrUnwritablePlaces)
{
    ScratchFolder folder;
    const auto missing = ReadEditsFile(folder / "none.txt.edits");
    ASSERT_TRUE(std::holds_alternative<EditsFault>(missing));
    EXPECT_EQ(EditsFaultText("none.txt.edits", std::get<EditsFault>(missing)),
              "none.txt.edits: the file cannot be opened");
    EXPECT_EQ(EditsFaultText("a.edits", {4, "expected fit local"}), "a.edits:4: expected fit local");
    EXPECT_EQ(WriteEditsFile({}, folder / "no/such/folder.edits"), textio::SafeFileWriter::Status::OpenFailed);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{});
}

} // namespace

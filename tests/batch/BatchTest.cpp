#include "BatchRunner.h"
#include "CollarField.h"
#include "ProbeReadings.h"
#include "NamedRows.h"
#include "SurveyRows.h"
#include "batch/BatchOptions.h"
#include "crs/Site.h"
#include "examples/DemoSurvey.h"

#include "survey/KestrixDoc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace {

TEST(Options, EditsAreStepsInTheOrderGiven)
{
    SurveyOptions options;
    std::string error;
    ASSERT_TRUE(ParseSurveyOptions({"export", "--roll", "-90", "a.txt", "-o", "b.xyz", "--delete-depth", "1.5",
                                    "--edits", "a.edits", "--delete-depth", " -2e1 ", "--control-points", "cp.txt",
                                    "--fit", "local", "--delete-flagged", "--degree", "3", "--window", "0",
                                    "--threshold", "2.5"},
                                   options, error))
        << error;
    EXPECT_EQ(options.rawPath, "a.txt");
    EXPECT_EQ(options.outputPath, "b.xyz");
    ASSERT_EQ(options.edits.size(), 8u);
    EXPECT_EQ(std::get<survey::edit::SetRollAdjustment>(std::get<survey::EditOperation>(options.edits[0])).degrees, -90);
    EXPECT_EQ(std::get<step::DeleteDepth>(options.edits[1]).depth, 1.5);
    EXPECT_EQ(std::get<step::EditsFile>(options.edits[2]).path, "a.edits");
    EXPECT_EQ(std::get<step::DeleteDepth>(options.edits[3]).depth, -20);
    EXPECT_EQ(std::get<step::ControlPoints>(options.edits[4]).path, "cp.txt");
    EXPECT_TRUE(std::get<survey::edit::SetLocalFit>(std::get<survey::EditOperation>(options.edits[5])).on);
    EXPECT_TRUE(std::holds_alternative<step::DeleteFlagged>(options.edits[6]));
    EXPECT_EQ(std::get<survey::edit::SetFitDegree>(std::get<survey::EditOperation>(options.edits[7])).degree, 3);
    EXPECT_EQ(options.spikes.halfWindow, 0);
    EXPECT_EQ(options.spikes.threshold, 2.5);
}

TEST(Options, SiteOptionsAreOneStepWhereTheFirstStands)
{
    SurveyOptions options;
    std::string error;
    ASSERT_TRUE(ParseSurveyOptions({"dump", "--degree", "3", "--location", "60", "10", "a.txt", "--trajectory",
                                    "min-curvature", "--declination", "-2.5", "--date", "2026-01-02"},
                                   options, error))
        << error;
    EXPECT_EQ(options.rawPath, "a.txt") << "a word that is not a number ends --location";
    ASSERT_EQ(options.edits.size(), 3u);
    const step::SiteChange& site = std::get<step::SiteChange>(options.edits[1]);
    EXPECT_EQ(site.Over({}), (survey::Site{std::nullopt, survey::Site::Location{60, 10, 0}, geomag::Date{2026, 1, 2},
                                           geomag::kDefaultModel, survey::Site::DeclinationFrom::Typed, -2.5}));
    EXPECT_TRUE(std::holds_alternative<survey::EditOperation>(options.edits[2]));
}

struct BadUsageCase {
    const char* name;
    std::vector<std::string> args;
    const char* error;
};

constexpr const char* kWindowUsage = "--window takes one whole number from 0 to 100000";
constexpr const char* kThresholdUsage = "--threshold takes one finite number above 0";
constexpr const char* kLocationUsage =
    "--location takes LATITUDE LONGITUDE [CONVERGENCE] in degrees (-90 to 90, -180 to 360, -90 to 90)";
constexpr const char* kSizeUsage = "--size takes WIDTHxHEIGHT in pixels, each from 1 to 8000, such as 1200x800";

class BadUsage : public ::testing::TestWithParam<BadUsageCase> {};

TEST_P(BadUsage, IsRefusedNamingTheFault)
{
    SurveyOptions options;
    std::string error;
    EXPECT_FALSE(ParseSurveyOptions(GetParam().args, options, error));
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Options, BadUsage,
    ::testing::Values(
        BadUsageCase{"NoWords", {}, "no command"},
        BadUsageCase{"UnknownCommand", {"frobnicate", "a.txt"}, "unknown command frobnicate"},
        BadUsageCase{"NoSurvey", {"export"}, "no survey file"},
        BadUsageCase{"OutputForDump", {"dump", "a.txt", "-o", "x"}, "unknown option -o"},
        BadUsageCase{"AnomaliesInTheResultsFile", {"export", "a.txt", "--format", "csv", "--anomalies"},
                     "--frame, --anomalies and --depth-column go with the XYZ file, not export --format csv|las"},
        BadUsageCase{"DepthColumnInTheResultsFile", {"export", "a.txt", "--format", "las", "--depth-column"},
                     "--frame, --anomalies and --depth-column go with the XYZ file, not export --format csv|las"},
        BadUsageCase{"DepthColumnForDump", {"dump", "a.txt", "--depth-column"}, "unknown option --depth-column"},
        BadUsageCase{"TwoSurveys", {"export", "a.txt", "b.txt"}, "more than one survey file"},
        BadUsageCase{"DegreeFive", {"export", "a.txt", "--degree", "5"}, "--degree takes 1, 2, 3 or 4"},
        BadUsageCase{"DegreeWithTail", {"export", "a.txt", "--degree", "2x"}, "--degree takes 1, 2, 3 or 4"},
        BadUsageCase{"RollFortyFive", {"export", "a.txt", "--roll", "45"}, "--roll takes 0, 90, 180 or -90"},
        BadUsageCase{"RollWithoutValue", {"export", "a.txt", "--roll"}, "--roll takes 0, 90, 180 or -90"},
        BadUsageCase{"DeleteDepthWithoutValue", {"listing", "a.txt", "--delete-depth"}, "--delete-depth needs a depth"},
        BadUsageCase{"DeleteDepthWithTail", {"listing", "a.txt", "--delete-depth", "0abc"},
                     "--delete-depth 0abc is not one finite number"},
        BadUsageCase{"DeleteDepthCommaDecimal", {"listing", "a.txt", "--delete-depth", "1,5"},
                     "--delete-depth 1,5 is not one finite number"},
        BadUsageCase{"DeleteDepthInfinite", {"listing", "a.txt", "--delete-depth", "1e400"},
                     "--delete-depth 1e400 is not one finite number"},
        BadUsageCase{"DeleteDepthNan", {"listing", "a.txt", "--delete-depth", "nan"},
                     "--delete-depth nan is not one finite number"},
        BadUsageCase{"UnknownOption", {"listing", "a.txt", "--bogus"}, "unknown option --bogus"},
        BadUsageCase{"OutputForQc", {"qc", "a.txt", "-o", "x"}, "unknown option -o"},
        BadUsageCase{"EditsWithoutFile", {"edits", "a.txt", "--edits"}, "--edits needs one file"},
        BadUsageCase{"FitSideways", {"dump", "a.txt", "--fit", "sideways"}, "--fit takes local or whole"},
        BadUsageCase{"FrameSideways", {"export", "a.txt", "--frame", "true"}, "--frame takes magnetic or grid"},
        BadUsageCase{"FrameForQc", {"qc", "a.txt", "--frame", "grid"}, "unknown option --frame"},
        BadUsageCase{"AnomaliesForListing", {"listing", "a.txt", "--anomalies"}, "unknown option --anomalies"},
        BadUsageCase{"WindowNegative", {"qc", "a.txt", "--window", "-1"}, kWindowUsage},
        BadUsageCase{"WindowPastAnySurvey", {"qc", "a.txt", "--window", "100001"}, kWindowUsage},
        BadUsageCase{"WindowNotWhole", {"qc", "a.txt", "--window", "2.5"}, kWindowUsage},
        BadUsageCase{"WindowTwice", {"qc", "a.txt", "--window", "2", "--window", "3"}, kWindowUsage},
        BadUsageCase{"ThresholdZero", {"qc", "a.txt", "--threshold", "0"}, kThresholdUsage},
        BadUsageCase{"ThresholdInfinite", {"qc", "a.txt", "--threshold", "inf"}, kThresholdUsage},
        BadUsageCase{"WindowWithoutSpikeFinding", {"export", "a.txt", "--window", "3"},
                     "--window and --threshold go with qc, export --format csv|las or --delete-flagged"},
        BadUsageCase{"FormatUnknown", {"export", "a.txt", "--format", "xls"}, "--format takes one of xyz, csv or las"},
        BadUsageCase{"FormatTwice", {"export", "a.txt", "--format", "csv", "--format", "las"},
                     "--format takes one of xyz, csv or las"},
        BadUsageCase{"WindowWithXyz", {"export", "a.txt", "--format", "xyz", "--window", "3"},
                     "--window and --threshold go with qc, export --format csv|las or --delete-flagged"},
        BadUsageCase{"EmptyPlotOutput", {"plot", "a.txt", "--view", "az", "-o", ""}, "-o needs one output path"},
        BadUsageCase{"PlotWiderThanAnyPicture", {"plot", "a.txt", "--view", "az", "-o", "p.png", "--size", "8001x10"},
                     kSizeUsage},
        BadUsageCase{"PlotWithoutWidth", {"plot", "a.txt", "--view", "az", "-o", "p.png", "--size", "0x10"},
                     kSizeUsage},
        BadUsageCase{"LatitudePastThePole", {"dump", "a.txt", "--location", "90.5", "10"}, kLocationUsage},
        BadUsageCase{"CrsBesideLocation", {"dump", "a.txt", "--location", "60", "10", "--crs", "EPSG:32633"},
                     "--crs and --location both place the collar: give one"},
        BadUsageCase{"DateNotInTheCalendar", {"qc", "a.txt", "--date", "2026-02-29"},
                     "--date takes YYYY-MM-DD, a day of the calendar"},
        BadUsageCase{"NameWithALineEnd", {"export", "a.txt", "--name", "A\r\nLi B"},
                     "--name takes the hole's name: a hole's name holds no control characters (tabs and line ends "
                     "among them)"},
        BadUsageCase{"NameWithoutText", {"export", "a.txt", "--name"}, "--name takes the hole's name: none given"},
        BadUsageCase{"DateTwice", {"qc", "a.txt", "--date", "2026-02-28", "--date", "2026-03-01"}, "--date given twice"},
        BadUsageCase{"TrajectoryUnknown", {"dump", "a.txt", "--trajectory", "spline"},
                     "--trajectory takes average-angle or min-curvature"}),
    [](const auto& info) { return std::string(info.param.name); });

// Runs on a small survey of 30 readings one metre apart, hole.txt.
template <typename Base>
class SmallSurveyRun : public Base, protected BatchRunner {
protected:
    void SetUp() override
    {
        std::vector<Row> rows;
        for (int i = 0; i < 30; ++i)
            rows.push_back({static_cast<double>(i), 0.2, 0.1, 0.4, 0.1, 1, 0.3});
        WriteFile(m_survey, RawSurveyText(rows));
    }

    const std::string m_survey = m_dir + "/hole.txt";
};

using BatchRun = SmallSurveyRun<::testing::Test>;

TEST_F(BatchRun, ExportToTheDefaultNameAndDump)
{
    EXPECT_EQ(Batch({"export", m_survey}), 0);
    EXPECT_EQ(out.str(), m_dir + "/hole.xyz\n");
    EXPECT_EQ(ReadFile(m_dir + "/hole.xyz").substr(0, 50), "/East North Height TMI magE, magN, magZ\r\nLi hole\r\n");
    EXPECT_EQ(Batch({"export", m_survey, "--depth-column", "-o", m_dir + "/deep.xyz"}), 0) << err.str();
    EXPECT_EQ(ReadFile(m_dir + "/deep.xyz").substr(0, 56), "/East North Height TMI magE, magN, magZ Depth\r\nLi deep\r\n");

    EXPECT_EQ(Batch({"dump", m_survey}), 0);
    std::istringstream lines(out.str());
    std::string header, first;
    std::getline(lines, header);
    std::getline(lines, first);
    EXPECT_EQ(header, "Depth\tMagX\tMagY\tMagZ\tAccX\tAccY\tAccZ\tMagH1\tMagH2\tMagV\tCalcIncl\tCalcRoll\t"
                      "CalcAzMag\tMagE\tMagN\tMagU\tEast\tNorth\tHeight\tAzUsed");
    EXPECT_EQ(first.substr(0, 24), "0\t0.20000000000000001\t0.");
    EXPECT_EQ(std::count(first.begin(), first.end(), '\t'), 19);
}

// The hole's name goes on the XYZ file's "Li" line and into the edits file.
TEST_F(BatchRun, NameGoesOnTheLineAndIntoTheEdits)
{
    EXPECT_EQ(Batch({"export", m_survey, "--name", "Knockaulin 7 #2", "-o", m_dir + "/named.xyz"}), 0);
    EXPECT_EQ(ReadFile(m_dir + "/named.xyz").substr(0, 61),
              "/East North Height TMI magE, magN, magZ\r\nLi Knockaulin 7 #2\r\n");
    EXPECT_EQ(Batch({"edits", m_survey, "--name", "Knockaulin 7 #2"}), 0);
    EXPECT_EQ(ReadFile(m_survey + ".edits"), "Kestrix edits 2\r\ndegree 2\r\nroll 0\r\nname Knockaulin 7 #2\r\n");
}

// An empty -o is bad usage, never the default name.
TEST_F(BatchRun, EmptyOutputPathIsBadUsageForEveryCommand)
{
    for (const char* command : {"export", "edits", "convert"}) {
        EXPECT_EQ(Batch({command, m_survey, "-o", ""}), 2) << command;
        EXPECT_EQ(m_folder.Entries(), std::vector<std::string>{"hole.txt"}) << command;
    }
}

TEST_F(BatchRun, EditsAreAppliedBeforeOneRecalculation)
{
    EXPECT_EQ(Batch({"listing", m_survey}), 0);
    const std::string plain = out.str();
    EXPECT_NE(plain.find("      10.000"), std::string::npos);
    const std::size_t collarRow = plain.find("\n       0.000");
    ASSERT_NE(collarRow, std::string::npos);
    EXPECT_EQ(plain.substr(collarRow + 1 + 8 * 12, 12), "     0.00000")
        << "TVD at the collar is 0 whatever the collar height (350 m here)";

    EXPECT_EQ(Batch({"listing", m_survey, "--delete-depth", "10.0"}), 0);
    EXPECT_EQ(out.str().find("      10.000"), std::string::npos);

    EXPECT_EQ(Batch({"listing", m_survey, "--delete-depth", "10.5"}), 2);
    EXPECT_NE(err.str().find("no observation at depth 10.5"), std::string::npos);

    WriteFile(m_dir + "/cp.txt", "5 30\n25 50\n");
    EXPECT_EQ(Batch({"dump", m_survey, "--control-points", m_dir + "/cp.txt", "--degree", "1"}), 0);
    EXPECT_NE(out.str().find("\t40\n"), std::string::npos) << "AzUsed at 15 m lies on the line: 40 degrees";

    WriteFile(m_dir + "/bad.txt", "5 30\nfive 50\n");
    EXPECT_EQ(Batch({"dump", m_survey, "--control-points", m_dir + "/bad.txt"}), 2);
    EXPECT_EQ(err.str(), "kestrix-batch: " + m_dir + "/bad.txt:2: expected DEPTH AZIMUTH\n");
    EXPECT_EQ(Batch({"dump", m_survey, "--control-points", m_dir + "/none.txt"}), 2);
    EXPECT_EQ(Batch({"dump", m_survey, "--control-points", m_dir}), 2) << "a folder holds no points";
    EXPECT_EQ(err.str(), "kestrix-batch: cannot open " + m_dir + "\n");
}

// The bound of 100 counts every point in force, however the points came.
TEST_F(BatchRun, MoreThanHundredControlPointsFromSeveralFilesAreRefused)
{
    std::string sixty, fortyTwo;
    for (int i = 0; i < 60; ++i)
        sixty += std::to_string(i) + " 30\n";
    for (int i = 0; i < 42; ++i)
        fortyTwo += std::to_string(100 + i) + " 30\n";
    WriteFile(m_dir + "/a.txt", sixty);
    WriteFile(m_dir + "/b.txt", "# the rest\n" + fortyTwo);
    std::string edits = "Kestrix edits 1\n";
    for (int i = 0; i < 42; ++i)
        edits += "control " + std::to_string(100 + i) + " 30\n";
    WriteFile(m_dir + "/b.edits", edits);

    EXPECT_EQ(Batch({"export", m_survey, "--control-points", m_dir + "/a.txt", "--control-points", m_dir + "/b.txt"}), 2);
    EXPECT_EQ(err.str(), "kestrix-batch: " + m_dir + "/b.txt:42: more than 100 control points\n");
    EXPECT_EQ(Batch({"export", m_survey, "--control-points", m_dir + "/a.txt", "--edits", m_dir + "/b.edits"}), 1);
    EXPECT_EQ(err.str(), m_dir + "/b.edits:42: more than 100 control points\n");
    EXPECT_FALSE(std::filesystem::exists(m_dir + "/hole.xyz")) << "nothing is exported";
}

struct BadSurveyRow {
    const char* name;
    std::string row;
    std::string reason; // the row is line 37
};

class BadSurveyNumbers : public SmallSurveyRun<::testing::TestWithParam<BadSurveyRow>> {};

// A number the C library would read as something else makes the survey
// invalid instead of spreading through the export.
TEST_P(BadSurveyNumbers, MakeTheSurveyInvalid)
{
    WriteFile(m_dir + "/bad.txt", ReadFile(m_survey) + GetParam().row + "\r\n");
    EXPECT_EQ(Batch({"export", m_dir + "/bad.txt"}), 1);
    EXPECT_EQ(err.str(), "Invalid file format\n" + m_dir + "/bad.txt, line 37: " + GetParam().reason + "\n");
    EXPECT_FALSE(std::filesystem::exists(m_dir + "/bad.xyz"));
}

INSTANTIATE_TEST_SUITE_P(Batch, BadSurveyNumbers,
                         ::testing::Values(BadSurveyRow{"DecimalComma", "30 0,04635 0,1 0,4 0,1 1 0,3", "\"0,04635\" is not a number (MagX)"},
                                           BadSurveyRow{"NotANumber", "30 nan 0.1 0.4 0.1 1 0.3", "\"nan\" is not a number (MagX)"},
                                           BadSurveyRow{"TooLarge", "30 0.2 0.1 0.4 0.1 1 1e999", "\"1e999\" is not a number (AccZ)"}),
                         RowName());

TEST_F(BatchRun, QcPrintsEveryReadingsValuesAndFlag)
{
    WriteFile(m_dir + "/qc.txt", RawSurveyText({{5, 0.2, 0.1, 0.4, 0.1, 1, 0.3}, {5.25, 0.3, 0, 0.4, 0, 0, 0}}));
    EXPECT_EQ(Batch({"qc", m_dir + "/qc.txt"}), 0);
    EXPECT_EQ(out.str(), "depth,total_field_nT,total_gravity,dip_deg,flagged\n"
                         "5,45825.8,1.04881,65.6345,0\n"
                         "5.25,50000,0,nan,0\n")
        << "without gravity the second reading has no dip";
}

TEST_F(BatchRun, EditsAreWrittenBesideTheSurveyButNeverOverIt)
{
    EXPECT_EQ(Batch({"edits", m_survey, "--delete-depth", "3", "--roll", "90"}), 0);
    EXPECT_EQ(out.str(), m_survey + ".edits\n");
    EXPECT_EQ(ReadFile(m_survey + ".edits"), "Kestrix edits 1\r\ndelete 3.00\r\ndegree 2\r\nroll 90\r\n");

    const std::string survey = ReadFile(m_survey), link = m_dir + "/link.txt";
    ASSERT_EQ(symlink(m_survey.c_str(), link.c_str()), 0);
    EXPECT_EQ(Batch({"edits", m_survey, "-o", link}), 1);
    EXPECT_EQ(err.str(), "The edits file would replace the raw survey file\n  " + link + "\n");
    EXPECT_EQ(ReadFile(m_survey), survey);
}

// Over the site of an edits file given before them: the place replaced,
// the declination kept; all written as the survey's edits.
TEST_F(BatchRun, SiteOptionsChangeTheSiteInForce)
{
    WriteFile(m_dir + "/site.edits", "Kestrix edits 2\nlocation 63.4 15.2 0.5\ndate 2020-01-01\ndeclination 4\n");
    ASSERT_EQ(Batch({"edits", m_survey, "--edits", m_dir + "/site.edits", "--crs", "EPSG:32633", "--date",
                     "2026-05-01", "--trajectory", "min-curvature"}),
              0)
        << err.str();
    EXPECT_EQ(ReadFile(m_survey + ".edits"), "Kestrix edits 2\r\ndegree 2\r\nroll 0\r\ncrs EPSG:32633\r\n"
                                             "date 2026-05-01\r\ndeclination 4\r\ntrajectory min-curvature\r\n");
}

struct EditsFaultCase {
    const char* name;
    const char* command;
    std::string text; // of bad.edits
    std::string fault;
};

class EditsFileFault : public SmallSurveyRun<::testing::TestWithParam<EditsFaultCase>> {};

TEST_P(EditsFileFault, IsNamedByLineAndNothingIsWritten)
{
    const EditsFaultCase& c = GetParam();
    const std::string edits = m_dir + "/bad.edits", output = m_dir + "/out";
    WriteFile(edits, c.text);
    WriteFile(output, "earlier");
    std::vector<std::string> args{c.command, m_survey, "--delete-depth", "4", "--edits", edits};
    if (c.command == std::string("export") || c.command == std::string("edits"))
        args.insert(args.end(), {"-o", output});
    EXPECT_EQ(Batch(args), 1);
    EXPECT_EQ(err.str(), edits + c.fault + "\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(ReadFile(output), "earlier");
    EXPECT_EQ(ReadFile(edits), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    BatchRun, EditsFileFault,
    ::testing::Values(
        EditsFaultCase{"StaleDeletion", "export", "Kestrix edits 1\r\ndelete 3\r\ndelete 4\r\n",
                       ":3: no reading at depth 4.00"},
        EditsFaultCase{"SecondReadingThatIsNot", "edits", "Kestrix edits 1\ndelete 3 2\n",
                       ":2: no reading number 2 at depth 3.00"},
        EditsFaultCase{"MalformedLine", "dump", "Kestrix edits 1\n# the fit\ndegree 9\n",
                       ":3: expected degree 1, 2, 3 or 4"},
        EditsFaultCase{"NoHeader", "listing", "delete 3\n",
                       ":1: the first line must be \"Kestrix edits 1\" or \"Kestrix edits 2\""},
        EditsFaultCase{"UnknownEdit", "qc", "Kestrix edits 1\nsmooth 3\n",
                       ":2: expected delete, control, degree, roll, fit local, crs, location, date, model, declination, "
                       "trajectory or name"}),
    RowName());

TEST_F(BatchRun, EditsFileThatCannotBeOpened)
{
    EXPECT_EQ(Batch({"export", m_survey, "--edits", m_dir + "/none.edits"}), 1);
    EXPECT_EQ(err.str(), m_dir + "/none.edits: the file cannot be opened\n");
    EXPECT_EQ(access((m_dir + "/hole.xyz").c_str(), F_OK), -1);
}

TEST_F(BatchRun, LoadAndExportFailures)
{
    WriteFile(m_dir + "/bad.txt", "Collar coordinates:\r\nEasting x\r\n");
    EXPECT_EQ(Batch({"export", m_dir + "/bad.txt"}), 1);
    EXPECT_EQ(err.str(), "Invalid file format\n" + m_dir + "/bad.txt, line 2: \"x\" is not a number (Easting)\n");
    EXPECT_EQ(Batch({"export", m_dir + "/missing.txt"}), 1);
    EXPECT_EQ(access((m_dir + "/missing.xyz").c_str(), F_OK), -1);

    const std::string survey = ReadFile(m_survey), named = m_dir + "/named.xyz";
    WriteFile(named, survey);
    EXPECT_EQ(Batch({"export", named}), 1) << "the default name of a survey ending in .xyz";
    EXPECT_EQ(err.str(), "The XYZ file would replace the raw survey file\n  " + named + "\n");
    EXPECT_EQ(ReadFile(named), survey);

    WriteFile(m_dir + "/earlier.xyz", "earlier");
    EXPECT_EQ(Batch({"export", m_survey, "-o", m_dir + "/no/such/dir.xyz"}), 1);
    EXPECT_EQ(err.str(), "Failed to open\n  " + m_dir + "/no/such/dir.xyz\nfor writing\n");

    std::string big = ReadFile(m_survey);
    for (int i = 0; i < survey::CKestrixDoc::kMaxObservations; ++i)
        big += "99 0.2 0.1 0.4 0.1 1 0.3\r\n";
    WriteFile(m_dir + "/big.txt", big);
    EXPECT_EQ(Batch({"export", m_dir + "/big.txt"}), 0) << "the limit is a warning";
    EXPECT_EQ(err.str(), "The number of observations in the file exceeds the limit of 200000.\n"
                         "Observations in excess of this have been ignored.\n");
}

TEST_F(BatchRun, DemoSurveyExportsInTraversalOrder)
{
    const std::string demo = std::string(KESTRIX_EXAMPLES_DIR) + "/demo.txt";
    const std::string xyz = m_dir + "/demo.xyz";
    ASSERT_EQ(Batch({"export", demo, "-o", xyz}), 0) << err.str();
    const std::string text = ReadFile(xyz);
    std::vector<double> heights;
    std::size_t start = 0, lines = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2, ++lines) {
        EXPECT_EQ(text.find('\n', start), end + 1) << "no bare line feeds";
        if (lines >= 2)
            heights.push_back(std::stod(text.substr(start + 22, 10)));
    }
    EXPECT_EQ(start, text.size());
    EXPECT_EQ(text.substr(0, text.find("\r\n", 45) + 2), "/East North Height TMI magE, magN, magZ\r\nLi demo\r\n");
    ASSERT_GT(heights.size(), 1000u);
    EXPECT_GT(heights.front(), heights.back()) << "rows run from the top of the hole down";
}

// A survey made from the model's field at RawSurveyText's collar on
// EPSG:32633, with that grid and the survey's date.
class SiteRun : public ::testing::Test, protected BatchRunner {
protected:
    void WriteModelSurvey(double biasNt, double gravity, const char* edits)
    {
        const crs::Site place = *crs::SiteFromGrid(32633, 500000, 7000000).site;
        WriteFile(m_survey, RawSurveyText(ModelHoleRows({.latitude = place.latitude, .longitude = place.longitude,
                                                         .count = 101, .gravity = gravity, .biasNt = biasNt})));
        WriteFile(m_edits, edits);
    }
    const std::string m_survey = m_dir + "/model.txt", m_edits = m_dir + "/site.edits";
};

TEST_F(SiteRun, QcAddsTheReferenceAndJudgesTheMedians)
{
    WriteModelSurvey(400, 1.0016, "Kestrix edits 2\ncrs EPSG:32633\ndate 2008-06-01\n");
    ASSERT_EQ(Batch({"qc", m_survey, "--edits", m_edits}), 0) << err.str();
    std::vector<std::string> lines;
    std::istringstream text(out.str());
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 1u + 101u + 4u);
    EXPECT_EQ(lines[0], "depth,total_field_nT,total_gravity,dip_deg,flagged,bref_nT,iref_deg,db_nT,ddip_deg,dg");
    EXPECT_EQ(std::count(lines[1].begin(), lines[1].end(), ','), 9);
    EXPECT_EQ(lines[102], "# reference: IGRF-14 on 2008-06-01");
    double median = 0;
    ASSERT_EQ(std::sscanf(lines[103].c_str(), "# total field - F: median %lf nT", &median), 1) << lines[103];
    EXPECT_NEAR(median, 400, 5) << "the magnetometer's bias";
    EXPECT_EQ(lines[103].substr(lines[103].size() - 6), ": FAIL");
    EXPECT_EQ(lines[104].substr(lines[104].size() - 6), ": PASS");
    EXPECT_NE(lines[105].find("tolerance 0.0025 g: PASS"), std::string::npos) << lines[105];
}

TEST_F(SiteRun, QcWithoutADateSaysWhyThereIsNoReference)
{
    WriteModelSurvey(0, 9.82, "Kestrix edits 2\ncrs EPSG:32633\n");
    ASSERT_EQ(Batch({"qc", m_survey, "--edits", m_edits}), 0);
    EXPECT_EQ(out.str().substr(0, out.str().find('\n')), "depth,total_field_nT,total_gravity,dip_deg,flagged");
    EXPECT_EQ(err.str(), "kestrix-batch: no reference field: The survey has no date.\n");
}

// Readings that are the model's field have no anomaly, in any frame.
TEST_F(SiteRun, ExportedAnomaliesOfTheModelsFieldAreNil)
{
    WriteModelSurvey(0, 9.82, "Kestrix edits 2\ncrs EPSG:32633\ndate 2008-06-01\n");
    ASSERT_EQ(Batch({"export", m_survey, "--edits", m_edits, "--anomalies", "--frame", "grid"}), 0) << err.str();
    std::istringstream rows(ReadFile(m_dir + "/model.xyz"));
    std::string line;
    std::getline(rows, line);
    EXPECT_EQ(line, "/East North Height dTMI dgridE, dgridN, dU\r");
    std::getline(rows, line);
    while (std::getline(rows, line)) {
        for (std::size_t column = 33; column <= 66; column += 11)
            EXPECT_NEAR(std::stod(line.substr(column, 10)), 0.0, 2.0) << line; // the file's nanotesla
    }
}

// The demo's field dips as IGRF-14's at its collar; away from its body and
// spikes every reading shows that, whatever the hole's inclination there.
TEST_F(BatchRun, DemoDipIsTheFieldsAwayFromItsBody)
{
    const double inclination =
        FieldAt(crs::SiteFromGrid(demo::kEpsg, demo::kEasting, demo::kNorthing), demo::kHeight, demo::kSurveyDate)
            .field.inclinationDegrees;
    ASSERT_EQ(Batch({"qc", std::string(KESTRIX_EXAMPLES_DIR) + "/demo.txt"}), 0) << err.str();
    std::istringstream rows(out.str());
    std::string line;
    std::getline(rows, line);
    int judged = 0;
    while (std::getline(rows, line)) {
        double depth = 0, field = 0, gravity = 0, dip = 0;
        int flagged = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf,%d", &depth, &field, &gravity, &dip, &flagged), 5) << line;
        if (flagged || (depth > 150 && depth < 260))
            continue;
        EXPECT_NEAR(dip, inclination, 0.5) << "at " << depth << " m";
        ++judged;
    }
    EXPECT_GT(judged, 2800);
}

// Control points on both sides of the demo's magnetic body: the smoothed
// azimuth makes the body's field show in the East component there, and only
// there within the fitted stretch.
TEST_F(BatchRun, DemoControlPointsBringOutTheBodyInTheEastComponent)
{
    const std::string demo = std::string(KESTRIX_EXAMPLES_DIR) + "/demo.txt";
    const std::string points = std::string(KESTRIX_EXAMPLES_DIR) + "/demo-control-points.txt";
    const std::string xyz = m_dir + "/fitted.xyz";
    ASSERT_EQ(Batch({"export", demo, "-o", xyz, "--control-points", points, "--degree", "3"}), 0) << err.str();
    std::istringstream rows(ReadFile(xyz));
    std::string line;
    std::getline(rows, line);
    std::getline(rows, line);
    double loudest = 0, largestQuiet = 0;
    for (int index = 0; std::getline(rows, line); ++index) {
        const double east = std::stod(line.substr(44, 10));
        const double depth = index * 0.1; // the demo runs from 0 m down in 10 cm steps
        if (depth > 195 && depth < 215)
            loudest = std::max(loudest, std::fabs(east));
        if (depth > 135 && depth < 170)
            largestQuiet = std::max(largestQuiet, std::fabs(east));
    }
    EXPECT_GT(loudest, 1000.0) << "nT beside the body";
    EXPECT_LT(largestQuiet, 300.0) << "nT where the fit follows the measured azimuth";
}

} // namespace

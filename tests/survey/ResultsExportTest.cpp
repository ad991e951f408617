#include "EditTestSupport.h"
#include "NamedRows.h"
#include "ScratchFolder.h"
#include "SurveyFiles.h"
#include "SurveyRows.h"
#include "survey/EditRecord.h"
#include "survey/ResultsExport.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>

using namespace survey;

namespace {

constexpr const char* kCsvHeader =
    "depth_m,mag_x_G,mag_y_G,mag_z_G,acc_x_as_recorded,acc_y_as_recorded,acc_z_as_recorded,"
    "inclination_below_horizontal_deg,roll_deg,azimuth_measured_magnetic_deg,azimuth_used_magnetic_deg,"
    "mag_north_nT,mag_east_nT,mag_up_nT,total_field_nT,dip_deg,total_gravity_as_recorded,"
    "spike_flags_1field_2gravity_4dip,east_m,north_m,height_m,vertical_depth_m";

// The CSV's data rows, each field read back with from_chars.
std::vector<std::vector<double>> CsvRows(const std::string& text)
{
    std::vector<std::vector<double>> rows;
    std::istringstream in(text);
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line)) {
        EXPECT_EQ(line.back(), '\r');
        std::vector<double>& row = rows.emplace_back();
        for (std::size_t start = 0; start < line.size();) {
            const std::size_t end = std::min(line.find(',', start), line.size() - 1);
            double value = 0;
            const auto read = std::from_chars(line.data() + start, line.data() + end, value);
            EXPECT_TRUE(read.ec == std::errc() && read.ptr == line.data() + end) << line.substr(start, end - start);
            row.push_back(value);
            start = end + 1;
        }
    }
    return rows;
}

bool SameValue(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// Every value of the demo survey reads back exactly, in the header's order.
TEST(ResultsCsv, DemoSurveyReadsBackExactly)
{
    CKestrixDoc doc;
    ASSERT_TRUE(LoadDemo(doc));
    ScratchFolder folder;
    const SpikeSettings spikes;
    ASSERT_EQ(WriteResultsFile(doc, folder / "demo.csv", ResultsFormat::Csv, spikes), ExportResult::Ok);
    const std::string text = ReadFile(folder / "demo.csv");
    EXPECT_EQ(text.substr(0, text.find("\r\n")), kCsvHeader);

    const auto rows = CsvRows(text);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(doc.m_nObs));
    const auto flags = FindSpikes(doc.m_QualityValues, spikes);
    int flagged = 0;
    for (int i = 0; i < doc.m_nObs; ++i) {
        const Observation& o = doc.m_pObs[i];
        const QualityValues& q = doc.m_QualityValues[i];
        const double expected[] = {o.Depth, o.MagX, o.MagY, o.MagZ, o.AccX, o.AccY, o.AccZ, o.CalcIncl, o.CalcRoll,
                                   o.CalcAzMag, o.AzUsed, o.MagN * 1e5, o.MagE * 1e5, o.MagU * 1e5, q.totalField,
                                   q.dip, q.totalGravity, static_cast<double>(flags[i]), o.East, o.North, o.Height,
                                   doc.m_dHeight - o.Height};
        ASSERT_EQ(rows[i].size(), std::size(expected)) << "row " << i;
        for (std::size_t c = 0; c < std::size(expected); ++c)
            ASSERT_TRUE(SameValue(rows[i][c], expected[c])) << "row " << i << " column " << c;
        flagged += flags[i] != 0;
    }
    EXPECT_GT(flagged, 0) << "the demo's spikes are flagged";
}

// A reading without a field has no dip: "nan" in the CSV, the NULL value in
// the LAS file; the depth step of an irregular survey is 0.
TEST(ResultsLas, HeaderSectionsAndNullValue)
{
    CKestrixDoc doc;
    FillDocument(doc, {{10, 0.2, 0.1, 0.4, 0, 1, 0.1}, {10.5, 0, 0, 0, 0, 1, 0.1}, {12, 0.2, 0.1, 0.4, 0, 1, 0.1}});
    Site site;
    site.date = geomag::Date{2024, 3, 14};
    site.declinationFrom = Site::DeclinationFrom::Typed;
    site.typedDeclination = -3.25;
    ASSERT_TRUE(ApplyRecorded(doc, edit::SetSite{site}));
    ScratchFolder folder;
    ASSERT_EQ(WriteResultsFile(doc, folder / "r.csv", ResultsFormat::Csv, {}), ExportResult::Ok);
    EXPECT_TRUE(std::isnan(CsvRows(ReadFile(folder / "r.csv"))[1][15]));

    ASSERT_EQ(WriteResultsFile(doc, folder / "r.las", ResultsFormat::Las, {}), ExportResult::Ok);
    const std::string las = ReadFile(folder / "r.las");
    for (const char* line : {"~Version Information\r\n VERS.      2.0 ", " WRAP.      NO ", "~Well Information\r\n",
                             " STRT.M     10 ", " STOP.M     12 ", " STEP.M     0 ", " NULL.      -999.25 ",
                             " COMP.                               : company", " WELL.  ", " FLD.  ", " LOC.  ",
                             " SRVC.  ", " DATE.      2024-03-14 ", " UWI.  ", " DECR.DEG   12.5 ",
                             " DECL.DEG   -3.25 ", " CLRH.M     350 ", "~Curve Information\r\n DEPT.M  ", "\r\n~A\r\n"})
        EXPECT_NE(las.find(line), std::string::npos) << line;
    std::istringstream data(las.substr(las.find("~A\r\n") + 4));
    std::vector<std::string> second;
    std::string line, field;
    std::getline(data, line);
    std::getline(data, line);
    for (std::istringstream fields(line); fields >> field;)
        second.push_back(field);
    ASSERT_EQ(second.size(), 22u);
    EXPECT_EQ(second[15], "-999.25") << "the dip";
}

struct RefusedResultsRow {
    const char* name;
    ResultsFormat format;
    const char* message;
};

class RefusedResults : public ::testing::TestWithParam<RefusedResultsRow> {};

TEST_P(RefusedResults, NeverReplaceTheSurvey)
{
    ScratchFolder folder;
    const std::string survey = folder / "hole.csv";
    const std::string text = RawSurveyText({{1, 0.2, 0.1, 0.4, 0, 1, 0.1}});
    WriteFile(survey, text);
    CKestrixDoc doc;
    ASSERT_EQ(LoadSurveyFile(doc, survey), LoadResult::Loaded);
    const ExportResult result = WriteResultsFile(doc, survey, GetParam().format, {});
    EXPECT_EQ(result, ExportResult::SameFile);
    EXPECT_EQ(ExportFailureMessage(result, survey, ResultsFormatName(GetParam().format)),
              GetParam().message + survey);
    EXPECT_EQ(ReadFile(survey), text);
    EXPECT_EQ(DefaultResultsPath(survey, ResultsFormat::Csv), folder / "hole-results.csv");
}

INSTANTIATE_TEST_SUITE_P(
    Results, RefusedResults,
    ::testing::Values(
        RefusedResultsRow{"Csv", ResultsFormat::Csv, "The CSV file would replace the raw survey file\n  "},
        RefusedResultsRow{"Las", ResultsFormat::Las, "The LAS file would replace the raw survey file\n  "}),
    RowName());

struct ResultsPathRow {
    const char* name;
    std::string survey;
    ResultsFormat format;
    std::string expected;
};

class ResultsPaths : public ::testing::TestWithParam<ResultsPathRow> {};

// The default never names the survey, and names the format it is for.
TEST_P(ResultsPaths, DefaultBesideTheSurvey)
{
    const std::string path = DefaultResultsPath(GetParam().survey, GetParam().format);
    EXPECT_EQ(path, GetParam().expected);
    EXPECT_EQ(ResultsFormatOf(path, GetParam().format == ResultsFormat::Csv ? ResultsFormat::Las : ResultsFormat::Csv),
              GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(
    Results, ResultsPaths,
    ::testing::Values(ResultsPathRow{"Text", "/d/hole7.txt", ResultsFormat::Csv, "/d/hole7.csv"},
                      ResultsPathRow{"Las", "/d/hole7.txt", ResultsFormat::Las, "/d/hole7.las"},
                      ResultsPathRow{"SurveyIsCsv", "/d/hole7.CSV", ResultsFormat::Csv, "/d/hole7-results.csv"},
                      ResultsPathRow{"SurveyIsLas", "/d/hole7.las", ResultsFormat::Las, "/d/hole7-results.las"},
                      ResultsPathRow{"NoExtension", "/d.x/hole7", ResultsFormat::Las, "/d.x/hole7.las"},
                      ResultsPathRow{"HiddenName", "/d/.hole", ResultsFormat::Csv, "/d/.hole.csv"}),
    RowName());

} // namespace

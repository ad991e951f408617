#include "CsvRows.h"
#include "EditTestSupport.h"
#include "SurveyFiles.h"
#include "SurveyRows.h"
#include "survey/EditRecord.h"
#include "survey/ResultsExport.h"

#include <gtest/gtest.h>

using namespace survey;

namespace {

// Every value of the demo survey reads back exactly, in the header's order.
TEST(ResultsCsv, DemoSurveyReadsBackExactly)
{
    CKestrixDoc doc;
    ASSERT_TRUE(LoadDemo(doc));
    ScratchFolder folder;
    ASSERT_EQ(WriteResultsFile(doc, folder / "demo.csv", ResultsFormat::Csv, {}), ExportResult::Ok);
    const std::string text = ReadFile(folder / "demo.csv");
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "depth_m,mag_x_G,mag_y_G,mag_z_G,acc_x_as_recorded,acc_y_as_recorded,acc_z_as_recorded,"
              "inclination_below_horizontal_deg,roll_deg,azimuth_measured_magnetic_deg,azimuth_used_magnetic_deg,"
              "mag_north_nT,mag_east_nT,mag_up_nT,total_field_nT,dip_deg,total_gravity_as_recorded,"
              "spike_flags_1field_2gravity_4dip,east_m,north_m,height_m,vertical_depth_m");
    const auto rows = CsvRows(text);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(doc.m_nObs));
    const auto flags = FindSpikes(doc.m_QualityValues);
    for (int i = 0; i < doc.m_nObs; ++i) {
        const Observation& o = doc.m_pObs[i];
        const QualityValues& q = doc.m_QualityValues[i];
        const std::vector<double> expected{o.Depth, o.MagX, o.MagY, o.MagZ, o.AccX, o.AccY, o.AccZ, o.CalcIncl,
                                           o.CalcRoll, o.CalcAzMag, o.AzUsed, o.MagN * 1e5, o.MagE * 1e5, o.MagU * 1e5,
                                           q.totalField, q.dip, q.totalGravity, static_cast<double>(flags[i]), o.East,
                                           o.North, o.Height, doc.m_dHeight - o.Height};
        ASSERT_EQ(rows[i], expected) << "row " << i;
    }
    EXPECT_EQ(std::count_if(flags.begin(), flags.end(), [](std::uint8_t f) { return f != 0; }), 5) << "the spikes";
}

// A reading without a field has no dip: "nan" in the CSV, the NULL value in
// the LAS file, whose header says what the survey knows.
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
    EXPECT_NE(ReadFile(folder / "r.csv").find(",nan,"), std::string::npos);
    ASSERT_EQ(WriteResultsFile(doc, folder / "r.las", ResultsFormat::Las, {}), ExportResult::Ok);
    const std::string las = ReadFile(folder / "r.las");
    for (const char* line : {"~Version Information\r\n VERS.      2.0 ", " WRAP.      NO ", "~Well Information\r\n",
                             " STRT.M     10 ", " STOP.M     12 ", " STEP.M     0 ", " NULL.      -999.25 ", " COMP.  ",
                             " WELL.  ", " FLD.  ", " LOC.  ", " SRVC.  ", " DATE.      2024-03-14 ", " UWI.  ",
                             " DECR.DEG   12.5 ", " DECL.DEG   -3.25 ", " CLRH.M     350 ", "~Curve Information\r\n DEPT.M ",
                             "\r\n~A\r\n"})
        EXPECT_NE(las.find(line), std::string::npos) << line;
    std::istringstream second(las.substr(las.find("\r\n", las.find("~A\r\n") + 4)));
    std::string field;
    for (int column = 0; column <= 15; ++column)
        second >> field;
    EXPECT_EQ(field, "-999.25") << "the dip";
}

// Neither format replaces the survey, under any name the path reaches it,
// and the default name never names it.
TEST(Results, NeverReplaceTheSurvey)
{
    ScratchFolder folder;
    const std::string survey = folder / "hole.csv", text = RawSurveyText({{1, 0.2, 0.1, 0.4, 0, 1, 0.1}});
    WriteFile(survey, text);
    CKestrixDoc doc;
    ASSERT_EQ(LoadSurveyFile(doc, survey), LoadResult::Loaded);
    EXPECT_EQ(WriteResultsFile(doc, survey, ResultsFormat::Las, {}), ExportResult::SameFile);
    EXPECT_EQ(WriteResultsFile(doc, folder / "./hole.csv", ResultsFormat::Csv, {}), ExportResult::SameFile);
    EXPECT_EQ(ExportFailureMessage(ExportResult::SameFile, survey, ResultsFormatName(ResultsFormat::Csv)),
              "The CSV file would replace the raw survey file\n  " + survey);
    EXPECT_EQ(ReadFile(survey), text);
    EXPECT_EQ(DefaultResultsPath(folder / "hole.CSV", ResultsFormat::Csv), folder / "hole-results.csv");
    EXPECT_EQ(DefaultResultsPath("/d.x/.hole", ResultsFormat::Las), "/d.x/.hole.las");
    EXPECT_EQ(ResultsFormatOf("/d/r.LAS", ResultsFormat::Csv), ResultsFormat::Las);
    EXPECT_EQ(ResultsFormatOf("/d.las/r", ResultsFormat::Csv), ResultsFormat::Csv);
}

} // namespace

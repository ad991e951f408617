#include "BatchRunner.h"
#include "CsvRows.h"
#include "SurveyFiles.h"
#include "SurveyRows.h"

#include <gtest/gtest.h>

namespace {

class BatchResults : public ::testing::Test, protected BatchRunner {};

// Drillers' inclination is 0 straight down; the azimuth is the grid's, here
// turned past north by a declination of 100 degrees.
TEST_F(BatchResults, PathOfTheDemoSurvey)
{
    std::string text = ReadFile(KESTRIX_EXAMPLES_DIR "/demo.txt");
    text.replace(text.find("Declination    3.74"), 19, "Declination  100.00");
    WriteFile(m_dir + "/demo.txt", text);
    ASSERT_EQ(Batch({"path", m_dir + "/demo.txt"}), 0) << err.str();
    survey::CKestrixDoc doc;
    ASSERT_EQ(LoadSurveyFile(doc, m_dir + "/demo.txt"), survey::LoadResult::Loaded);
    const std::string printed = out.str();
    EXPECT_EQ(printed.substr(0, printed.find('\n')), "depth_m,inclination_from_vertical_deg,grid_azimuth_deg,east_m,"
                                                     "north_m,vertical_depth_m,dogleg_deg_per_30m");
    const auto rows = CsvRows(printed);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(doc.m_nObs));
    for (int i = 0; i < 3; ++i) {
        const survey::Observation& o = doc.m_pObs[i];
        EXPECT_EQ(rows[i][0], o.Depth);
        EXPECT_EQ(rows[i][1], 90 - o.CalcIncl);
        EXPECT_NEAR(rows[i][1], 12, 0.5) << "the demo hole starts 78 degrees below the horizontal";
        EXPECT_EQ(rows[i][2], o.AzUsed - 100 + 360) << "into [0, 360)";
        EXPECT_EQ(rows[i][5], doc.m_dHeight - o.Height);
        EXPECT_TRUE(i == 0 ? rows[i][6] == 0 : rows[i][6] > 0 && rows[i][6] < 30) << rows[i][6];
    }
}

// export --format las and csv write beside the survey under the format's
// extension; xyz stays the default.
TEST_F(BatchResults, ExportFormatsToTheirDefaultNames)
{
    WriteFile(m_dir + "/hole.txt", RawSurveyText({{1, 0.2, 0.1, 0.4, 0, 1, 0.1}, {2, 0.2, 0.1, 0.4, 0, 1, 0.1}}));
    for (const char* format : {"las", "csv", "xyz"}) {
        ASSERT_EQ(Batch({"export", m_dir + "/hole.txt", "--format", format}), 0) << err.str();
        EXPECT_EQ(out.str(), m_dir + "/hole." + format + "\n");
    }
    EXPECT_EQ(ReadFile(m_dir + "/hole.las").substr(0, 22), "~Version Information\r\n");
    EXPECT_EQ(Batch({"export", m_dir + "/hole.txt", "--format", "csv", "--window", "3", "-o", m_dir + "/w.csv"}), 0);
    EXPECT_EQ(ReadFile(m_dir + "/w.csv").substr(0, 8), "depth_m,");
}

} // namespace

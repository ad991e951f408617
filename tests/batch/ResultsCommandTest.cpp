#include "BatchRunner.h"
#include "SurveyFiles.h"
#include "SurveyRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <sstream>

namespace {

std::vector<double> Fields(const std::string& line)
{
    std::vector<double> values;
    for (std::size_t start = 0; start <= line.size();) {
        const std::size_t end = std::min(line.find(',', start), line.size());
        double value = 0;
        const auto read = std::from_chars(line.data() + start, line.data() + end, value);
        EXPECT_TRUE(read.ec == std::errc() && read.ptr == line.data() + end) << line;
        values.push_back(value);
        start = end + 1;
    }
    return values;
}

class BatchResults : public ::testing::Test, protected BatchRunner {};

// Drillers' inclination is 0 straight down; the azimuth is the grid's, here
// turned past north by a declination of 100 degrees.
TEST_F(BatchResults, PathOfTheDemoSurvey)
{
    std::string text = ReadFile(KESTRIX_EXAMPLES_DIR "/demo.txt");
    text.replace(text.find("Declination   12.50"), 19, "Declination  100.00");
    const std::string demo = m_dir + "/demo.txt";
    WriteFile(demo, text);
    ASSERT_EQ(Batch({"path", demo}), 0) << err.str();
    survey::CKestrixDoc doc;
    ASSERT_EQ(LoadSurveyFile(doc, demo), survey::LoadResult::Loaded);
    const std::string printed = out.str();
    std::istringstream lines(printed);
    std::string header, line;
    std::getline(lines, header);
    EXPECT_EQ(header, "depth_m,inclination_from_vertical_deg,grid_azimuth_deg,east_m,north_m,vertical_depth_m,"
                      "dogleg_deg_per_30m");
    for (int i = 0; i < 3 && std::getline(lines, line); ++i) {
        const std::vector<double> row = Fields(line);
        ASSERT_EQ(row.size(), 7u) << line;
        const survey::Observation& o = doc.m_pObs[i];
        EXPECT_EQ(row[0], o.Depth);
        EXPECT_EQ(row[1], 90 - o.CalcIncl);
        EXPECT_NEAR(row[1], 12, 0.5) << "the demo hole starts 78 degrees below the horizontal";
        EXPECT_EQ(row[2], o.AzUsed - 100 + 360) << "into [0, 360)";
        EXPECT_EQ(row[5], doc.m_dHeight - o.Height);
        if (i == 0)
            EXPECT_EQ(row[6], 0);
        else
            EXPECT_TRUE(row[6] > 0 && row[6] < 30) << line;
    }
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), doc.m_nObs + 1);
}

// export --format las and csv write beside the survey under the format's
// extension; xyz stays the default.
TEST_F(BatchResults, ExportFormatsToTheirDefaultNames)
{
    WriteFile(m_dir + "/hole.txt", RawSurveyText({{1, 0.2, 0.1, 0.4, 0, 1, 0.1}, {2, 0.2, 0.1, 0.4, 0, 1, 0.1}}));
    ASSERT_EQ(Batch({"export", "--format", "las", m_dir + "/hole.txt"}), 0) << err.str();
    EXPECT_EQ(out.str(), m_dir + "/hole.las\n");
    EXPECT_EQ(ReadFile(m_dir + "/hole.las").substr(0, 22), "~Version Information\r\n");
    ASSERT_EQ(Batch({"export", m_dir + "/hole.txt", "--format", "csv", "--window", "3"}), 0) << err.str();
    EXPECT_EQ(out.str(), m_dir + "/hole.csv\n");
    EXPECT_EQ(ReadFile(m_dir + "/hole.csv").substr(0, 8), "depth_m,");
    ASSERT_EQ(Batch({"export", m_dir + "/hole.txt", "--format", "xyz"}), 0) << err.str();
    EXPECT_EQ(out.str(), m_dir + "/hole.xyz\n");
}

} // namespace

// The example survey at its own site and date: IGRF-14's field there is what
// its probe reads, so the checks against the model pass with room to spare
// and its anomalies are nil away from the magnetic body.
#include "BatchRunner.h"
#include "NamedRows.h"
#include "examples/DemoSurvey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

namespace {

const std::string kDemo = KESTRIX_EXAMPLES_DIR "/demo.txt";

std::vector<std::string> AtTheDemosSite(std::vector<std::string> args)
{
    args.insert(args.end(),
                {"--crs", "EPSG:" + std::to_string(demo::kEpsg), "--date", geomag::ToText(demo::kSurveyDate)});
    return args;
}

struct MedianRow {
    const char* name;
    int line;           // among qc's closing lines
    const char* format; // its median, read by sscanf
    double within;      // how near zero the demo's median lies, well inside the tolerance
};

class DemoAgainstItsModel : public ::testing::TestWithParam<MedianRow>, protected BatchRunner {};

TEST_P(DemoAgainstItsModel, MedianPassesNearZero)
{
    ASSERT_EQ(Batch(AtTheDemosSite({"qc", kDemo})), 0) << err.str();
    std::vector<std::string> lines;
    std::istringstream text(out.str());
    for (std::string line; std::getline(text, line);)
        if (line.rfind('#', 0) == 0)
            lines.push_back(line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "# reference: IGRF-14 on " + geomag::ToText(demo::kSurveyDate));
    const std::string& line = lines[static_cast<std::size_t>(GetParam().line)];
    double median = NAN;
    ASSERT_EQ(std::sscanf(line.c_str(), GetParam().format, &median), 1) << line;
    EXPECT_LT(std::fabs(median), GetParam().within) << line;
    EXPECT_EQ(line.substr(line.size() - 6), ": PASS");
}

INSTANTIATE_TEST_SUITE_P(
    DemoSite, DemoAgainstItsModel,
    ::testing::Values(MedianRow{"TotalField", 1, "# total field - F: median %lf nT", 20},
                      MedianRow{"Dip", 2, "# dip - I: median %lf deg", 0.02},
                      // Standard gravity instead of the site's would lie 0.007 m/s2 off.
                      MedianRow{"Gravity", 3, "# total gravity - normal gravity: median %lf m/s2", 0.001}),
    RowName());

class DemoAnomalies : public ::testing::Test, protected BatchRunner {};

// Against the model's field each component's median over every 10 m clear
// of the body (150 to 260 m) lies within 50 nT of zero; single readings
// scatter by the probe's noise, some 15 nT.
TEST_F(DemoAnomalies, NilAwayFromTheBody)
{
    ASSERT_EQ(Batch(AtTheDemosSite({"export", kDemo, "--anomalies", "-o", m_dir + "/demo.xyz"})), 0) << err.str();
    std::istringstream rows(ReadFile(m_dir + "/demo.xyz"));
    std::string line;
    std::getline(rows, line);
    std::getline(rows, line);
    std::map<int, std::vector<std::vector<double>>> stretches; // by 10 m of depth: dTMI, dE, dN, dU
    for (int i = 0; std::getline(rows, line); ++i) {
        const int top = static_cast<int>(i * demo::kDepthStep / 10) * 10;
        if (top >= 150 && top < 260)
            continue;
        auto& columns = stretches[top];
        columns.resize(4);
        for (std::size_t c = 0; c < 4; ++c)
            columns[c].push_back(std::stod(line.substr(33 + 11 * c, 10)));
    }
    ASSERT_EQ(stretches.size(), 30u); // 0 to 140 m and 260 to 400 m
    for (auto& [top, columns] : stretches) {
        for (std::vector<double>& values : columns) {
            std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
            EXPECT_LT(std::fabs(values[values.size() / 2]), 50.0) << "from " << top << " m";
        }
    }
}

} // namespace

#include "NamedRows.h"
#include "SurveyRows.h"
#include "survey/EditRecord.h"
#include "survey/Orientation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace survey;

namespace {

// A level probe every 5 cm from 0 to 30 m whose measured azimuth swings
// between 20 and 60 degrees.
std::vector<Row> SwingingSurvey()
{
    std::vector<Row> rows;
    for (int i = 0; i <= 600; ++i) {
        const double azimuth = (40 + 20 * std::sin(i / 40.0)) * kDegToRad;
        rows.push_back({i * 0.05, -0.2 * std::sin(azimuth), -0.2 * std::cos(azimuth), 0.45, 0, 9.81, 0});
    }
    return rows;
}

struct LocalFitRow {
    const char* name;
    bool local;
    std::vector<ControlPoint> points;
    double top, bottom; // metres: where the fit is expected, the ends included
};

class LocalFit : public ::testing::TestWithParam<LocalFitRow> {};

TEST_P(LocalFit, UsesTheFitOnlyBetweenTheControlPoints)
{
    const LocalFitRow& row = GetParam();
    CKestrixDoc doc;
    FillDocument(doc, SwingingSurvey());
    doc.m_bFitLocal = row.local;
    for (const ControlPoint& p : row.points)
        ApplyRecorded(doc, edit::AddControlPoint{{p.x, p.y}});
    doc.Recalculate();

    for (int i = 0; i < doc.m_nObs; ++i) {
        const Observation& o = doc.m_pObs[i];
        if (o.Depth >= row.top && o.Depth <= row.bottom)
            EXPECT_EQ(o.AzUsed, doc.FittedAzimuthScaled(o.Depth * doc.m_dScale) / doc.m_dScale) << o.Depth;
        else
            EXPECT_EQ(o.AzUsed, o.CalcAzMag) << o.Depth;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LocalFit,
    ::testing::Values(LocalFitRow{"OffFitsTheWholeHole", false, {{1000, 3500}, {2000, 4500}}, -1, 31},
                      LocalFitRow{"OnDeepestPointFirst", true, {{2000, 4500}, {1000, 3500}, {1500, 5000}}, 10, 20},
                      LocalFitRow{"OnAtDepthsNotWholeInBinary", true, {{115, 3000}, {2345, 5000}}, 1.15, 23.45},
                      LocalFitRow{"OnOnePoint", true, {{705, 4000}}, 7.05, 7.05}),
    RowName());

} // namespace

#include "EditTestSupport.h"
#include "examples/DemoSurvey.h"
#include "NamedRows.h"
#include "survey/EditRecord.h"
#include "survey/Orientation.h"
#include "survey/Trajectory.h"
#include "SurveyRows.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace survey;

namespace {

struct Station {
    double depth, incl, az;
};

CKestrixDoc& Place(CKestrixDoc& doc, const std::vector<Station>& stations, double declination = 0,
                   TrajectoryMethod method = TrajectoryMethod::AverageAngle)
{
    doc.m_trajectory = method;
    doc.m_nObs = static_cast<int>(stations.size());
    doc.m_pObs.reset(new Observation[stations.size()]());
    for (std::size_t i = 0; i < stations.size(); ++i) {
        doc.m_pObs[i].Depth = stations[i].depth;
        doc.m_pObs[i].CalcIncl = stations[i].incl;
        doc.m_pObs[i].AzUsed = stations[i].az;
    }
    doc.m_dEasting = 1000;
    doc.m_dNorthing = 2000;
    doc.m_dHeight = 300;
    doc.m_dDeclination = declination;
    CalcPositions(doc);
    return doc;
}

struct FirstStationRow {
    const char* name;
    Station station;
    double declination;
    double east, north, height;
};

class FirstStation : public ::testing::TestWithParam<FirstStationRow> {};

TEST_P(FirstStation, IsOneStepFromTheCollar)
{
    const FirstStationRow& row = GetParam();
    CKestrixDoc doc;
    Place(doc, {row.station}, row.declination);
    EXPECT_NEAR(doc.m_pObs[0].East, row.east, 1e-9);
    EXPECT_NEAR(doc.m_pObs[0].North, row.north, 1e-9);
    EXPECT_NEAR(doc.m_pObs[0].Height, row.height, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Trajectory, FirstStation,
                         ::testing::Values(FirstStationRow{"StraightDown", {100, 90, 0}, 0, 1000, 2000, 200},
                                           FirstStationRow{"LevelEast", {100, 0, 90}, 0, 1100, 2000, 300},
                                           FirstStationRow{"DeclinationTurnsTheStepDueNorth", {100, 0, 10}, 10, 1000, 2100, 300}),
                         RowName());

TEST(Trajectory, StepsUseTheAveragedAngles)
{
    CKestrixDoc doc;
    Place(doc, {{0, 0, 0}, {10, 0, 90}, {20, 90, 90}});
    // 0..10: mean azimuth 45, horizontal.  10..20: mean inclination 45, azimuth 90.
    const double h = 10 * std::sqrt(0.5);
    EXPECT_NEAR(doc.m_pObs[1].East, 1000 + h, 1e-9);
    EXPECT_NEAR(doc.m_pObs[1].North, 2000 + h, 1e-9);
    EXPECT_NEAR(doc.m_pObs[2].East, 1000 + 2 * h, 1e-9);
    EXPECT_NEAR(doc.m_pObs[2].Height, 300 - h, 1e-9);
}

TEST(Trajectory, ASurveyListedUpwardsIsWalkedFromItsShallowEnd)
{
    CKestrixDoc doc;
    Place(doc, {{20, 0, 0}, {10, 0, 0}});
    EXPECT_TRUE(TraversesBackwards(doc));
    EXPECT_NEAR(doc.m_pObs[1].North, 2010, 1e-9) << "placed from the collar first";
    EXPECT_NEAR(doc.m_pObs[0].North, 2020, 1e-9);

    CKestrixDoc level;
    Place(level, {{10, 0, 0}, {30, 0, 0}, {10, 0, 0}});
    EXPECT_FALSE(TraversesBackwards(level)) << "equal ends go forwards";
    EXPECT_NEAR(level.m_pObs[2].North, 2010, 1e-9);
}

TEST(Trajectory, AHoleHeadingNorthKeepsHeadingNorthAcrossZero)
{
    CKestrixDoc doc;
    Place(doc, {{0, 0, 350}, {10, 0, 10}, {20, 0, 355}, {30, 0, 185}, {40, 0, 5}});
    EXPECT_NEAR(doc.m_pObs[1].North, 2010, 1e-9) << "350 and 10 average to north";
    EXPECT_NEAR(doc.m_pObs[1].East, 1000, 1e-9);
    EXPECT_GT(doc.m_pObs[2].North, doc.m_pObs[1].North);
    // Exactly half a circle apart is no crossing: the plain mean.
    EXPECT_NEAR(doc.m_pObs[4].East - doc.m_pObs[3].East, 10 * std::sin(95 * kDegToRad), 1e-9) << "185 and 5 average to 95";
}

struct TwoReadingsRow {
    const char* name;
    double lastInclination; // the first reading points straight down
    TrajectoryMethod method;
    double below, beside; // of the second reading, 1000 m deeper, from the collar
};

class TwoReadings : public ::testing::TestWithParam<TwoReadingsRow> {};

// A hole turning at a constant rate read only at its ends: the arc through
// both directions against their averaged angle.
TEST_P(TwoReadings, PlaceTheSecondByTheMethod)
{
    const TwoReadingsRow& row = GetParam();
    CKestrixDoc doc;
    Place(doc, {{0, 90, 0}, {1000, row.lastInclination, 0}}, 0, row.method);
    EXPECT_NEAR(300 - doc.m_pObs[1].Height, row.below, 5e-4);
    EXPECT_NEAR(doc.m_pObs[1].North - 2000, row.beside, 5e-4);
}

INSTANTIATE_TEST_SUITE_P(
    Trajectory, TwoReadings,
    ::testing::Values(TwoReadingsRow{"QuarterCircleByArc", 0, TrajectoryMethod::MinimumCurvature, 636.620, 636.620},
                      TwoReadingsRow{"QuarterCircleByAverage", 0, TrajectoryMethod::AverageAngle, 707.107, 707.107},
                      TwoReadingsRow{"EighthByArc", 45, TrajectoryMethod::MinimumCurvature, 900.316, 372.923},
                      TwoReadingsRow{"EighthByAverage", 45, TrajectoryMethod::AverageAngle, 923.880, 382.683}),
    RowName());

TEST(Trajectory, MethodsAgreeOnAStraightHole)
{
    std::vector<Station> straight;
    for (int k = 0; k < 20000; ++k)
        straight.push_back({k * 0.05, 60, 30});
    CKestrixDoc arcs, averaged;
    Place(arcs, straight, 0, TrajectoryMethod::MinimumCurvature);
    Place(averaged, straight);
    EXPECT_NEAR(arcs.m_pObs[19999].East, averaged.m_pObs[19999].East, 1e-3);
    EXPECT_NEAR(arcs.m_pObs[19999].North, averaged.m_pObs[19999].North, 1e-3);
    EXPECT_NEAR(arcs.m_pObs[19999].Height, averaged.m_pObs[19999].Height, 1e-3);
}

// Readings along a quarter circle of radius 100 m, turning from level to
// straight down while heading north: minimum curvature places each on the
// circle; average angle runs wide and deep of it.
TEST(Trajectory, MinimumCurvatureFollowsAnArc)
{
    const double radius = 100;
    std::vector<Station> arc;
    for (int k = 0; k <= 10; ++k) {
        const double along = k * radius * M_PI / 20;
        arc.push_back({along, along / radius / kDegToRad, 0});
    }
    CKestrixDoc curved, averaged;
    Place(curved, arc, 0, TrajectoryMethod::MinimumCurvature);
    Place(averaged, arc);
    for (int k = 0; k <= 10; ++k) {
        const double turned = arc[static_cast<std::size_t>(k)].incl * kDegToRad;
        EXPECT_NEAR(curved.m_pObs[k].North, 2000 + radius * std::sin(turned), 1e-9) << k;
        EXPECT_NEAR(curved.m_pObs[k].Height, 300 - radius * (1 - std::cos(turned)), 1e-9) << k;
        EXPECT_NEAR(curved.m_pObs[k].East, 1000, 1e-9) << k;
    }
    EXPECT_GT(averaged.m_pObs[10].North - curved.m_pObs[10].North, 0.1);

    CKestrixDoc acrossNorth;
    Place(acrossNorth, {{0, 0, 350}, {10, 0, 10}}, 0, TrajectoryMethod::MinimumCurvature);
    EXPECT_NEAR(acrossNorth.m_pObs[1].East, 1000, 1e-9) << "350 and 10 meet at north as vectors";
}

// With the model's declination, a step runs along the magnetic azimuth plus
// D less the convergence: the grid azimuth the sign rule gives.
TEST(Trajectory, ModelDeclinationTurnsTheHoleToTheGrid)
{
    CKestrixDoc doc;
    ASSERT_TRUE(LoadDemo(doc));
    Site site;
    site.epsg = demo::kEpsg;
    site.date = demo::kSurveyDate;
    site.declinationFrom = Site::DeclinationFrom::Model;
    ASSERT_TRUE(ApplyRecorded(doc, edit::SetSite{site}));
    const SiteReference& reference = doc.m_siteReference;
    ASSERT_TRUE(reference.field && reference.place) << reference.problem;
    const double d = reference.field->declinationDegrees, gamma = reference.place->convergence;
    EXPECT_LT(d, 0) << "west in Ireland in 2024";
    EXPECT_GT(gamma, 0) << "east of zone 29N's central meridian";
    EXPECT_EQ(doc.DeclinationInForce(), gamma - d);
    const Observation &p = doc.m_pObs[2000], &o = doc.m_pObs[2001];
    const double grid = std::atan2(o.East - p.East, o.North - p.North) / kDegToRad;
    EXPECT_NEAR(std::remainder(grid - (0.5 * (p.AzUsed + o.AzUsed) + d - gamma), 360), 0, 1e-6); // a 0.1 m step far from the origin
}

} // namespace

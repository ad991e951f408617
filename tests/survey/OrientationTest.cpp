#include "NamedRows.h"
#include "ProbeReadings.h"
#include "survey/EditRecord.h"
#include "survey/Orientation.h"
#include "SurveyRows.h"
#include "survey/AzimuthWrap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

using namespace survey;

namespace {

// A document with observations given directly, for the orientation steps.
void SetObservations(CKestrixDoc& doc, const std::vector<Observation>& obs)
{
    doc.m_nObs = static_cast<int>(obs.size());
    doc.m_pObs.reset(new Observation[obs.size() ? obs.size() : 1]());
    for (std::size_t i = 0; i < obs.size(); ++i)
        doc.m_pObs[i] = obs[i];
}

Observation Accel(double x, double y, double z)
{
    Observation o{};
    o.AccX = x;
    o.AccY = y;
    o.AccZ = z;
    return o;
}

struct AccelRow {
    const char* name;
    double accX, accY, accZ;
    int rollAdjust;
    double incl, roll;
};

class InclinationAndRoll : public ::testing::TestWithParam<AccelRow> {};

TEST_P(InclinationAndRoll, ComeFromTheAccelerometer)
{
    const AccelRow& row = GetParam();
    CKestrixDoc doc;
    doc.m_nRollAdjust = row.rollAdjust;
    SetObservations(doc, {Accel(row.accX, row.accY, row.accZ)});
    CalcInclination(doc);
    CalcRollAngle(doc);
    EXPECT_NEAR(doc.m_pObs[0].CalcIncl, row.incl, 1e-12);
    EXPECT_NEAR(doc.m_pObs[0].CalcRoll, row.roll, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Orientation, InclinationAndRoll,
    ::testing::Values(AccelRow{"LevelOnItsY", 0, 9.81, 0, 0, 90, 180}, AccelRow{"LevelOnItsYAdd90", 0, 9.81, 0, 90, 90, 270},
                      AccelRow{"PointingDown", 0, 0, 9.81, 0, 0, 180}, AccelRow{"PointingUp", 0, 0, -9.81, 0, 180, 180},
                      AccelRow{"ZeroVector", 0, 0, 0, 0, 0, 180}, AccelRow{"ZeroVectorSubtract90", 0, 0, 0, -90, 0, 90},
                      // atan2 = -90: 180 + 90 + 90 = 360 stays
                      AccelRow{"RollOf360Stays", -1, 0, 0, 90, 90, 360},
                      // 90 + 180 + 180 = 450, one subtraction
                      AccelRow{"RollPast360LosesOneTurn", -1, 0, 0, 180, 90, 90},
                      // atan2 = 180: -180 + 180 - 90
                      AccelRow{"RollBelowZeroStays", 0, -1, 0, -90, 90, -90},
                      AccelRow{"LevelOnItsX", 1, 0, 0, 0, 90, 90}),
    RowName());

// Observations whose measured azimuths are the given angles (horizontal probe,
// no roll adjustment), run through the azimuth step.
std::vector<double> AzimuthsAfterWrapRule(const std::vector<double>& azimuths)
{
    CKestrixDoc doc;
    std::vector<Observation> obs;
    for (double az : azimuths) {
        // A level probe with roll 180: MagH1 = -MagX and MagH2 = MagZ.
        Observation o = Accel(0, 0, 1);
        const double a = az * kDegToRad;
        double h1 = std::sin(a), h2 = std::cos(a);
        if (std::fmod(az, 45.0) == 0) { // exact components give exact azimuths
            h1 = std::round(h1);
            h2 = std::round(h2);
        }
        o.MagX = -h1;
        o.MagZ = h2;
        obs.push_back(o);
    }
    SetObservations(doc, obs);
    CalcInclination(doc);
    CalcRollAngle(doc);
    CalcAzimuth(doc);
    std::vector<double> result;
    for (int i = 0; i < doc.m_nObs; ++i) {
        EXPECT_EQ(doc.m_pObs[i].AzUsed, doc.m_pObs[i].CalcAzMag);
        result.push_back(doc.m_pObs[i].CalcAzMag);
    }
    return result;
}

struct RangeRow {
    const char* name;
    std::vector<double> measured, expected;
};

class AzimuthRange : public ::testing::TestWithParam<RangeRow> {};

TEST_P(AzimuthRange, GoesTo0To360OnlyWhenTheMeanLiesWithin20DegreesOfSouth)
{
    const std::vector<double> actual = AzimuthsAfterWrapRule(GetParam().measured);
    const std::vector<double>& expected = GetParam().expected;
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-9) << "azimuth " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Orientation, AzimuthRange,
    ::testing::Values(RangeRow{"NearSouthWraps", {170, -175}, {170, 185}}, RangeRow{"NearNorthStays", {5, 15}, {5, 15}},
                      RangeRow{"EitherSideOfNorthMeansSouth", {10, -10}, {10, 350}},
                      RangeRow{"MeanOfExactly160Stays", {-45, -45, -45, -45, 180, 0, 0, 0, 0}, {-45, -45, -45, -45, 180, 0, 0, 0, 0}},
                      RangeRow{"MeanOfExactly200Stays", {-45, -45, -45, -45, -45, -135, 0, 0, 0},
                               {-45, -45, -45, -45, -45, -135, 0, 0, 0}},
                      RangeRow{"MeanJustInsideWraps", {-45, -45, -45, -45, 180, 0, 0, 0, 1}, {315, 315, 315, 315, 180, 0, 0, 0, 1}}),
    RowName());

struct KeptSumRow {
    const char* name;
    WrapTermSum kept;
    std::optional<bool> wraps;
};

class KeptWrapSum : public ::testing::TestWithParam<KeptSumRow> {};

// A sum kept up over edits decides only where every sum within its error
// would decide alike; at the rule's edge the table is summed again.
TEST_P(KeptWrapSum, DecidesOnlyAwayFromTheRulesEdge)
{
    EXPECT_EQ(WrapDecision(GetParam().kept), GetParam().wraps);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Orientation, KeptWrapSum,
    ::testing::Values(KeptSumRow{"NearSouthWraps", SummedInOrder(180.0 * 200000, 200000), true},
                      KeptSumRow{"NearNorthStays", SummedInOrder(10.0 * 200000, 200000), false},
                      KeptSumRow{"JustInsideWraps", SummedInOrder(160.001 * 200000, 200000), true},
                      KeptSumRow{"JustOutsideStays", SummedInOrder(199.999 * 200000 + 400, 200000), false},
                      KeptSumRow{"OnTheEdgeUndecided", SummedInOrder(160.0 * 9, 9), std::nullopt},
                      // a term of 90 taken from 1530 leaves a mean of 160
                      KeptSumRow{"EdgeReachedByAnEditUndecided", Changed(SummedInOrder(1530, 10), 90, -1), std::nullopt},
                      KeptSumRow{"UnknownSumUndecided", SummedInOrder(kNaN, 10), std::nullopt},
                      KeptSumRow{"NoReadingsStay", SummedInOrder(0, 0), false}),
    RowName());

TEST(Orientation, ComponentsWithTheMeasuredAzimuthHaveNoEastPart)
{
    CKestrixDoc doc;
    std::vector<Row> rows;
    for (int i = 0; i < 500; ++i) {
        const double t = i * 0.37;
        rows.push_back({i * 0.1, 0.3 * std::sin(t), 0.25 * std::cos(1.3 * t), 0.45 - 0.1 * std::sin(t * 0.7),
                        std::sin(t * 0.9), std::cos(t * 0.9), 0.2 + 0.1 * std::cos(t)});
    }
    FillDocument(doc, rows);
    ASSERT_EQ(doc.m_nObs, 500);
    for (int i = 0; i < doc.m_nObs; ++i) {
        const Observation& o = doc.m_pObs[i];
        EXPECT_NEAR(o.MagE, 0.0, 1e-12) << i;
        EXPECT_NEAR(o.MagN, std::hypot(o.MagH1, o.MagH2), 1e-12) << i;
        EXPECT_EQ(o.MagU, o.MagV);
        // Rotations keep the field's strength.
        EXPECT_NEAR(std::sqrt(o.MagE * o.MagE + o.MagN * o.MagN + o.MagU * o.MagU),
                    std::sqrt(o.MagX * o.MagX + o.MagY * o.MagY + o.MagZ * o.MagZ), 1e-12);
    }
}

struct ResolvedRow {
    const char* name;
    double azimuth; // the hole's magnetic azimuth, held by one control point
    FieldNeu field;
};

class ResolvedComponents : public ::testing::TestWithParam<ResolvedRow> {};

// With the hole's own azimuth in force, the components are the field's: east
// is east, so a field turned by a magnetic body shows with its own sign.
TEST_P(ResolvedComponents, AreTheFieldInMagneticNorthEastAndUp)
{
    const ResolvedRow& row = GetParam();
    std::vector<Row> rows;
    for (int i = 0; i < 20; ++i)
        rows.push_back(ProbeReading(i * 0.5, row.field, 40 + i, row.azimuth, 17 * i, 9.80665));
    CKestrixDoc doc;
    FillDocument(doc, rows);
    ApplyRecorded(doc, edit::AddControlPoint{{500, static_cast<std::int32_t>(std::lround(row.azimuth * 100))}});
    for (int i = 0; i < doc.m_nObs; ++i) {
        const Observation& o = doc.m_pObs[i];
        ASSERT_NEAR(o.AzUsed, row.azimuth, 1e-9);
        // The raw survey file keeps five decimals of a gauss.
        EXPECT_NEAR(o.MagE, row.field.east, 2e-5) << i;
        EXPECT_NEAR(o.MagN, row.field.north, 2e-5) << i;
        EXPECT_NEAR(o.MagU, row.field.up, 2e-5) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Orientation, ResolvedComponents,
    ::testing::Values(ResolvedRow{"EastwardFieldNortheastHole", 45, {0.18, 0.05, -0.45}},
                      ResolvedRow{"WestwardFieldSouthHole", 190, {0.2, -0.03, -0.48}},
                      ResolvedRow{"EastwardFieldWestHole", 290, {0.15, 0.08, -0.4}}),
    RowName());

TEST(Orientation, EmptyTableIsLeftAlone)
{
    CKestrixDoc doc;
    doc.Recalculate();
    EXPECT_EQ(doc.m_nObs, 0);
}

} // namespace

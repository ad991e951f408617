#include "NamedRows.h"
#include "views/PlotMapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using P = PlotMapping::Point;
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

PlotMapping Make(std::int32_t wx, std::int32_t wy, std::int64_t wex, std::int64_t wey, std::int32_t vx, std::int32_t vy,
                 std::int32_t vex, std::int32_t vey)
{
    PlotMapping m;
    m.SetWindow(wx, wy, wex, wey);
    m.SetViewport(vx, vy, vex, vey);
    return m;
}

TEST(PlotMapping, MapsTheFrameIntoTheMarginsAndBackToTheSamePixel)
{
    // Depths 0 to 100 m and 80 to 260 degrees in 800 x 600 with a 50-pixel margin.
    const PlotMapping m = Make(0, 8000, 10000, 18000, 50, 550, 700, -500);
    EXPECT_EQ(m.LPtoDP({0, 8000}), (P{50, 550}));
    EXPECT_EQ(m.LPtoDP({10000, 26000}), (P{750, 50}));
    EXPECT_EQ(m.DPtoLP({400, 313}), (P{5000, 16532}));
    EXPECT_EQ(m.DPtoLP({10, 550}).x, -571); // the left margin: -40 x 10000 / 700
    for (std::int32_t d = -60; d < 900; ++d)
        ASSERT_EQ(m.LPtoDP(m.DPtoLP({d, d - 100})), (P{d, d - 100})) << d;
    // Halves round away from zero on both axes.
    const PlotMapping half = Make(0, 0, 4, -4, 0, 0, 2, 2);
    EXPECT_EQ(half.LPtoDP({1, 1}), (P{1, -1}));
    EXPECT_EQ(half.LPtoDP({-3, -3}), (P{-2, 2}));
}

// Unrounded, a point lies where LPtoDP's pixel is, to within half a pixel.
TEST(PlotMapping, ExactPointsRoundToThePixels)
{
    const PlotMapping m = Make(0, 8000, 10000, 18000, 50, 550, 700, -500);
    const PlotMapping::PointF p = m.LPtoDPExact({5005, 16532});
    EXPECT_DOUBLE_EQ(p.x, 50 + 5005 * 700.0 / 10000);
    EXPECT_DOUBLE_EQ(p.y, 550 - 8532 * 500.0 / 18000);
    for (std::int32_t x = -300; x < 12000; x += 7) {
        const PlotMapping::PointF exact = m.LPtoDPExact({x, x + 8000});
        ASSERT_LE(std::abs(exact.x - m.LPtoDP({x, x + 8000}).x), 0.5) << x;
        ASSERT_LE(std::abs(exact.y - m.LPtoDP({x, x + 8000}).y), 0.5) << x;
    }
    const PlotMapping fine = Make(0, 0, 1, 1, 0, 0, 1000, -1000);
    EXPECT_EQ(fine.LPtoDPExact({kMax, kMin}).x, static_cast<double>(kMax));
    EXPECT_EQ(Make(1200, 8000, 0, 0, 50, 550, 0, 0).LPtoDPExact({kMax, kMin}).y, 550.0);
}

TEST(PlotMapping, SaturatesAtTheInt32LimitsAndCollapsesEmptyExtents)
{
    const PlotMapping full = Make(kMin, kMin, std::int64_t{kMax} - kMin, std::int64_t{kMax} - kMin, 50, 550, 700, -500);
    EXPECT_EQ(full.LPtoDP({kMin, kMin}), (P{50, 550}));
    EXPECT_EQ(full.LPtoDP({kMax, kMax}), (P{750, 50}));
    EXPECT_EQ(full.DPtoLP({750, 50}), (P{kMax, kMax}));
    EXPECT_EQ(full.DPtoLP({kMax, kMin}), (P{kMax, kMax}));
    const PlotMapping fine = Make(0, 0, 1, 1, 0, 0, 1000, -1000); // a unit is 1000 pixels
    EXPECT_EQ(fine.LPtoDP({kMax, kMin}), (P{kMax, kMax}));
    EXPECT_EQ(fine.LPtoDP({kMin, kMax}), (P{kMin, kMin}));
    const PlotMapping empty = Make(1200, 8000, 0, 0, 50, 550, 0, 0);
    EXPECT_EQ(empty.LPtoDP({kMax, kMin}), (P{50, 550}));
    EXPECT_EQ(empty.DPtoLP({400, 300}), (P{1200, 8000}));
}

// Each axis on its own maps every coordinate to LPtoDP's pixel: at halves,
// a hair either side of them, and saturating far outside the window.
struct AxisRow {
    const char* name;
    PlotMapping mapping;
    std::int32_t from;
    std::int32_t to;
    std::int32_t step;
};

class AxisRows : public ::testing::TestWithParam<AxisRow> {};

TEST_P(AxisRows, GiveLPtoDPsPixels)
{
    const AxisRow& row = GetParam();
    const AxisMap x = row.mapping.XAxis();
    const AxisMap y = row.mapping.YAxis();
    for (std::int64_t v = row.from; v <= row.to; v += row.step) {
        const auto logical = static_cast<std::int32_t>(v);
        const P expected = row.mapping.LPtoDP({logical, logical});
        ASSERT_EQ(x(logical), expected.x) << logical;
        ASSERT_EQ(y(logical), expected.y) << logical;
    }
}

INSTANTIATE_TEST_SUITE_P(
    PlotMapping, AxisRows,
    ::testing::Values(AxisRow{"WholeHoleInAFrame", Make(0, 8000, 2000000, 18000, 50, 550, 1100, -700), -5000, 2005000, 7},
                      AxisRow{"HalvesEverySecondUnit", Make(-7, 3, 4, -4, 0, 0, 2, 2), -1000, 1000, 1},
                      AxisRow{"AWindowOfThreeUnitsOverManyPixels", Make(10, 10, 3, 3, 50, 550, 1100, -700), -3000, 3000, 1},
                      AxisRow{"AHugeWindowExtent", Make(kMin, kMin, std::int64_t{1} << 40, std::int64_t{1} << 40, 50, 550, 999, -701),
                              kMin, kMax - 65536, 65536 * 251},
                      AxisRow{"FarOutsideSaturates", Make(0, 0, 1, 1, 0, 0, 1000, -1000), kMin, kMax - 1 - 4095, 4096 * 4099},
                      AxisRow{"AnEmptyWindow", Make(1200, 8000, 0, 0, 50, 550, 0, 0), -100, 100, 1}),
    RowName());

struct UnitsRow {
    const char* name;
    double value;
    std::int32_t units;
};

class ToPlotUnitsRows : public ::testing::TestWithParam<UnitsRow> {};

TEST_P(ToPlotUnitsRows, TruncatesTowardZeroAndSaturates) { EXPECT_EQ(ToPlotUnits(GetParam().value), GetParam().units); }

constexpr double kInf = std::numeric_limits<double>::infinity();
INSTANTIATE_TEST_SUITE_P(ToPlotUnits, ToPlotUnitsRows,
                         ::testing::Values(UnitsRow{"Positive", 1.99, 1}, UnitsRow{"Negative", -1.99, -1},
                                           UnitsRow{"JustBelowTheTop", 2147483646.7, 2147483646},
                                           UnitsRow{"JustBelowTheBottom", -2147483648.9, kMin},
                                           UnitsRow{"AboveTheTop", 3e9, kMax}, UnitsRow{"BelowTheBottom", -3e9, kMin},
                                           UnitsRow{"Infinite", kInf, kMax}, UnitsRow{"MinusInfinite", -kInf, kMin},
                                           UnitsRow{"Huge", 1e300, kMax},
                                           UnitsRow{"NotANumber", std::numeric_limits<double>::quiet_NaN(), 0}),
                         RowName());

TEST(SaturateToInt32, LimitsBothWays)
{
    EXPECT_EQ(SaturateToInt32(std::int64_t{1} << 40), kMax);
    EXPECT_EQ(SaturateToInt32(-(std::int64_t{1} << 40)), kMin);
}

} // namespace

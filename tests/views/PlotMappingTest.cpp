#include "PlotMapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using P = PlotMapping::Point;
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// A plot of depths 0 to 100 m and values 80 to 260 degrees in an 800 x 600
// window with a 50-pixel margin.
PlotMapping FramePlot()
{
    PlotMapping m;
    m.SetWindow(0, 8000, 10000, 18000);
    m.SetViewport(50, 550, 700, -500);
    return m;
}

TEST(PlotMapping, FrameCornersLandInsideTheMargin)
{
    const PlotMapping m = FramePlot();
    EXPECT_EQ(m.LPtoDP({0, 8000}), (P{50, 550}));
    EXPECT_EQ(m.LPtoDP({10000, 26000}), (P{750, 50}));
    EXPECT_EQ(m.LPtoDP({5000, 17000}), (P{400, 300}));
    EXPECT_EQ(m.DPtoLP({400, 313}), (P{5000, 16532}));
    // In the left margin the depth lies before the frame: -40 px x 10000 / 700.
    EXPECT_EQ(m.DPtoLP({10, 550}).x, -571);
}

TEST(PlotMapping, EveryPixelRoundTripsWhenUnitsAreSmallerThanPixels)
{
    const PlotMapping m = FramePlot();
    for (std::int32_t d = -60; d < 900; ++d) {
        const P device{d, d - 100};
        ASSERT_EQ(m.LPtoDP(m.DPtoLP(device)), device) << d;
    }
}

TEST(PlotMapping, RoundsHalvesAwayFromZero)
{
    PlotMapping m;
    m.SetWindow(0, 0, 4, -4);
    m.SetViewport(0, 0, 2, 2);
    struct Row {
        std::int32_t logical;
        std::int32_t x, y;
    };
    for (const Row& r : {Row{1, 1, -1}, Row{-1, -1, 1}, Row{3, 2, -2}, Row{-3, -2, 2}, Row{2, 1, -1}}) {
        EXPECT_EQ(m.LPtoDP({r.logical, r.logical}), (P{r.x, r.y})) << r.logical;
    }
}

TEST(PlotMapping, SaturatesAtTheInt32Limits)
{
    PlotMapping full;
    full.SetWindow(kMin, kMin, std::int64_t{kMax} - kMin, std::int64_t{kMax} - kMin);
    full.SetViewport(50, 550, 700, -500);
    EXPECT_EQ(full.LPtoDP({kMin, kMin}), (P{50, 550}));
    EXPECT_EQ(full.LPtoDP({kMax, kMax}), (P{750, 50}));
    EXPECT_EQ(full.DPtoLP({750, 50}), (P{kMax, kMax}));
    EXPECT_EQ(full.DPtoLP({kMax, kMin}), (P{kMax, kMax}));

    PlotMapping fine; // one unit is a thousand pixels
    fine.SetWindow(0, 0, 1, 1);
    fine.SetViewport(0, 0, 1000, -1000);
    EXPECT_EQ(fine.LPtoDP({kMax, kMin}), (P{kMax, kMax}));
    EXPECT_EQ(fine.LPtoDP({kMin, kMax}), (P{kMin, kMin}));
}

TEST(PlotMapping, EmptyExtentsCollapseOntoTheOrigins)
{
    PlotMapping m;
    m.SetWindow(1200, 8000, 0, 0);
    m.SetViewport(50, 550, 0, 0);
    EXPECT_EQ(m.LPtoDP({kMax, kMin}), (P{50, 550}));
    EXPECT_EQ(m.DPtoLP({400, 300}), (P{1200, 8000}));
}

TEST(ToPlotUnits, TruncatesTowardZeroAndSaturates)
{
    struct Row {
        double value;
        std::int32_t expected;
    };
    const double inf = std::numeric_limits<double>::infinity();
    for (const Row& r : {Row{1.99, 1}, Row{-1.99, -1}, Row{-0.5, 0}, Row{2147483646.7, 2147483646},
                         Row{-2147483648.9, kMin}, Row{3e9, kMax}, Row{-3e9, kMin}, Row{inf, kMax}, Row{-inf, kMin},
                         Row{1e300, kMax}, Row{std::nan(""), 0}}) {
        EXPECT_EQ(ToPlotUnits(r.value), r.expected) << r.value;
    }
    EXPECT_EQ(SaturateToInt32(std::int64_t{1} << 40), kMax);
    EXPECT_EQ(SaturateToInt32(-(std::int64_t{1} << 40)), kMin);
}

} // namespace

#include "NamedRows.h"
#include "views/ReadingSearch.h"
#include "views/ValueAxis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

ValueExtent ExtentOf(std::initializer_list<double> values)
{
    ValueExtent extent;
    for (double v : values)
        extent.Add(v);
    return extent;
}

struct FitRow {
    const char* name;
    ValueExtent extent;
    double least;
    ValueSpan fitted;
};

class FittedRange : public ::testing::TestWithParam<FitRow> {};

// 5 % of the span either side; a flat or narrow curve widened about its middle.
TEST_P(FittedRange, SpansTheValuesWithAMargin)
{
    const FitRow& r = GetParam();
    const ValueSpan fitted = FitWithMargin(r.extent, r.least);
    EXPECT_NEAR(fitted.low, r.fitted.low, 1e-9);
    EXPECT_NEAR(fitted.high, r.fitted.high, 1e-9);
}

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    ValueAxis, FittedRange,
    ::testing::Values(FitRow{"AzimuthWindow", ExtentOf({34.0, 51.0, 40.0}), 1.0, {33.15, 51.85}},
                      FitRow{"NarrowerThanTheLeast", ExtentOf({10.0, 10.2}), 1.0, {9.55, 10.65}},
                      FitRow{"NotANumberPassedOver", ExtentOf({kNan, -5.0, kInf, 5.0}), 1.0, {-5.5, 5.5}},
                      FitRow{"NoValues", ExtentOf({kNan}), 2.0, {-2.0, 2.0}}),
    RowName());

TEST(ValueAxis, ZoomKeepsTheValueUnderTheMouseAndStaysBounded)
{
    ValueZoom zoom;
    zoom.Zoom(0.25, 2.0); // the value a quarter up stays put
    EXPECT_EQ(zoom.Apply({0.0, 100.0}), (ValueSpan{12.5, 62.5}));
    zoom.Zoom(0.5, 0.5);
    EXPECT_EQ(zoom.Apply({0.0, 100.0}), (ValueSpan{-12.5, 87.5}));
    zoom.Zoom(0.5, 1e30); // no narrower than a millionth of the range
    EXPECT_NEAR(zoom.Apply({0.0, 100.0}).Length(), 1e-4, 1e-12);
    zoom.Zoom(0.5, kNan); // a factor that means nothing changes nothing
    EXPECT_NEAR(zoom.Apply({0.0, 100.0}).Length(), 1e-4, 1e-12);
    EXPECT_FALSE(zoom.IsWhole());
    EXPECT_EQ(ValueZoom().Apply({3.0, 4.0}), (ValueSpan{3.0, 4.0}));
}

struct RoundRow {
    const char* name;
    ValueSpan shown;
    int lengthPx;
    int decimals;
    std::vector<double> values;
};

class RoundValueRows : public ::testing::TestWithParam<RoundRow> {};

// Labels 30 pixels apart at least.
TEST_P(RoundValueRows, AreTheFinestRoundStepThatFits)
{
    const RoundRow& r = GetParam();
    const RoundTicks round = RoundValuesIn(r.shown, r.lengthPx, 30);
    EXPECT_EQ(round.decimals, r.decimals);
    ASSERT_EQ(round.values.size(), r.values.size());
    for (std::size_t i = 0; i < r.values.size(); ++i)
        EXPECT_NEAR(round.values[i], r.values[i], 1e-9) << i;
}

INSTANTIATE_TEST_SUITE_P(
    ValueAxis, RoundValueRows,
    ::testing::Values(RoundRow{"AzimuthFitted", {33.15, 51.85}, 500, 0, {34, 36, 38, 40, 42, 44, 46, 48, 50}},
                      RoundRow{"FixedAzimuth", {-50, 130}, 500, 0, {-40, -20, 0, 20, 40, 60, 80, 100, 120}},
                      RoundRow{"TenthsOfADegree", {68.01, 68.49}, 120, 1, {68.2, 68.4}},
                      RoundRow{"ThousandsOfNanotesla", {-1200, 9800}, 250, 0, {0, 2000, 4000, 6000, 8000}},
                      RoundRow{"GravityInG", {0.99981, 1.00023}, 200, 4, {0.9999, 1.0000, 1.0001, 1.0002}},
                      RoundRow{"NoRoom", {0, 1}, 0, 0, {}}, RoundRow{"NothingShown", {5, 5}, 500, 0, {}}),
    RowName());

struct SearchRow {
    const char* name;
    std::vector<std::int32_t> depths;
    DepthSpan window;
    ReadingRange within;
    std::int32_t at;
    std::int32_t nearest;
};

class DepthSearch : public ::testing::TestWithParam<SearchRow> {};

TEST_P(DepthSearch, FindsTheWindowsReadingsAndTheNearest)
{
    const SearchRow& r = GetParam();
    const auto depthAt = [&](std::int32_t i) { return r.depths[static_cast<std::size_t>(i)]; };
    const auto count = static_cast<std::int32_t>(r.depths.size());
    const ReadingRange within = ReadingsWithin(count, depthAt, r.window);
    EXPECT_EQ(within.first, r.within.first);
    EXPECT_EQ(within.end, r.within.end);
    EXPECT_EQ(NearestReading(count, depthAt, r.at), r.nearest);
}

INSTANTIATE_TEST_SUITE_P(
    ValueAxis, DepthSearch,
    ::testing::Values(SearchRow{"Deepening", {0, 10, 20, 30, 40}, {10, 30}, {1, 4}, 26, 3},
                      SearchRow{"HalfWayTakesTheFirst", {0, 10, 20}, {11, 19}, {2, 2}, 15, 1},
                      SearchRow{"EqualDepthsTakeTheFirst", {0, 10, 10, 10, 20}, {10, 10}, {1, 4}, 12, 1},
                      SearchRow{"Shallowing", {40, 30, 20, 10, 0}, {10, 30}, {1, 4}, 26, 1},
                      SearchRow{"BeyondTheEnds", {0, 10}, {20, 30}, {2, 2}, -50, 0},
                      SearchRow{"NoReadings", {}, {0, 10}, {0, 0}, 5, -1}),
    RowName());

} // namespace

#include "NamedRows.h"
#include "views/DepthWindow.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

inline void PrintTo(const DepthSpan& s, std::ostream* out) { *out << "[" << s.from << ", " << s.to << "]"; }

namespace {

constexpr DepthSpan kHole{0, 40000}; // 0 to 400 m

TEST(DepthWindow, ZoomsAboutTheAnchorAndStaysInsideTheHole)
{
    DepthWindow w;
    w.Zoom(kHole, 0.25, 4.0); // the depth a quarter along, 100 m, stays put
    EXPECT_EQ(w.Shown(kHole), (DepthSpan{7500, 17500}));
    w.Zoom(kHole, 0.0, 1e9); // no narrower than 10 cm
    EXPECT_EQ(w.Shown(kHole), (DepthSpan{7500, 7510}));
    w.Pan(kHole, w.Shown(kHole), -1000000); // stops at the collar
    EXPECT_EQ(w.Shown(kHole), (DepthSpan{0, 10}));
    w.Zoom(kHole, 0.5, 0.0); // a factor that means nothing changes nothing
    EXPECT_EQ(w.Shown(kHole), (DepthSpan{0, 10}));
    w.Zoom(kHole, 0.5, 1e-9); // out past the hole: the whole hole
    EXPECT_TRUE(w.IsWhole());
    EXPECT_EQ(w.Shown(kHole), kHole);
}

TEST(DepthWindow, FollowsAHoleThatShrinksAndRevealsAMarkedDepth)
{
    DepthWindow w;
    w.Zoom(kHole, 1.0, 2.0);
    EXPECT_EQ(w.Shown(kHole), (DepthSpan{20000, 40000}));
    EXPECT_EQ(w.Shown({0, 30000}), (DepthSpan{10000, 30000})); // the last readings deleted
    EXPECT_EQ(w.Shown({0, 15000}), (DepthSpan{0, 15000}));
    w.Reveal(kHole, 5000);
    EXPECT_EQ(w.Shown(kHole), (DepthSpan{0, 20000}));
    w.Reveal(kHole, 30000);
    EXPECT_EQ(w.Shown(kHole), (DepthSpan{20000, 40000}));
    w.Pan(kHole, w.Shown(kHole), -2500);
    EXPECT_EQ(w.Shown(kHole), (DepthSpan{17500, 37500}));
}

struct RoundRow {
    const char* name;
    DepthSpan shown;
    int widthPx, labelPx;
    std::vector<std::int64_t> depths;
};

class RoundDepthRows : public ::testing::TestWithParam<RoundRow> {};

// Labels 40 pixels wide with a gap of 10: centres at least 50 pixels apart.
TEST_P(RoundDepthRows, AreTheFinestRoundStepThatFits)
{
    const RoundRow& row = GetParam();
    EXPECT_EQ(RoundDepths(row.shown, row.widthPx, row.labelPx, 10), row.depths);
}

INSTANTIATE_TEST_SUITE_P(
    DepthWindow, RoundDepthRows,
    ::testing::Values(RoundRow{"TenMetres", {0, 7000}, 600, 40, {1000, 2000, 3000, 4000, 5000, 6000}},
                      RoundRow{"TwoMetresNoneCrowdingTheEnds", {1150, 2450}, 400, 40, {1400, 1600, 1800, 2000, 2200}},
                      RoundRow{"FiveCentimetres", {1002, 1042}, 400, 40, {1010, 1015, 1020, 1025, 1030, 1035}},
                      RoundRow{"NegativeDepths", {-300, 300}, 120, 40, {0}},
                      RoundRow{"NoRoom", {0, 7000}, 90, 40, {}},
                      RoundRow{"NothingShown", {500, 500}, 700, 40, {}}),
    RowName());

} // namespace

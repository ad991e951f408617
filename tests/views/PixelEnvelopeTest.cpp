#include "NamedRows.h"
#include "views/PixelEnvelope.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

using Pieces = std::vector<PixelEnvelope::Piece>;
constexpr std::int32_t kGap = kNoLevel;

struct Reading {
    std::int32_t column;
    std::int32_t level;
};

bool ColumnsRise(const std::vector<Reading>& readings)
{
    for (std::size_t i = 1; i < readings.size(); ++i)
        if (readings[i].column < readings[i - 1].column)
            return false;
    return true;
}

// The readings' curve and its mirror image, built in one pass.
std::array<PixelEnvelope, 2> Envelopes(const std::vector<Reading>& readings, bool ordered, Gaps gaps)
{
    std::array<PixelEnvelope, 2> envelopes;
    BuildEnvelopes(envelopes, 0, static_cast<std::int32_t>(readings.size()), ordered,
                   [&](std::int32_t i) { return readings[static_cast<std::size_t>(i)].column; },
                   [&](std::int32_t i, int curve) {
                       const std::int32_t level = readings[static_cast<std::size_t>(i)].level;
                       return curve == 0 || level == kGap ? level : -level;
                   },
                   gaps);
    return envelopes;
}

struct EnvelopeRow {
    const char* name;
    std::vector<Reading> readings;
    Pieces pieces;
    Gaps gaps = Gaps::Break;
};

Pieces Negated(Pieces pieces)
{
    for (PixelEnvelope::Piece& piece : pieces)
        for (PixelEnvelope::Point& p : piece)
            p.level = -p.level;
    return pieces;
}

class EnvelopeRows : public ::testing::TestWithParam<EnvelopeRow> {};

// The galloping search of readings in order finds the same runs as asking
// every reading's column; curves built together do not mix.
TEST_P(EnvelopeRows, KeepsFirstLowestHighestAndLastOfEachColumnInOrder)
{
    const EnvelopeRow& row = GetParam();
    for (const bool ordered : {false, true}) {
        if (ordered && !ColumnsRise(row.readings))
            continue;
        SCOPED_TRACE(ordered);
        const std::array<PixelEnvelope, 2> envelopes = Envelopes(row.readings, ordered, row.gaps);
        EXPECT_EQ(envelopes[0].Pieces(), row.pieces);
        EXPECT_EQ(envelopes[1].Pieces(), Negated(row.pieces));
    }
}

INSTANTIATE_TEST_SUITE_P(
    PixelEnvelope, EnvelopeRows,
    ::testing::Values(
        EnvelopeRow{"OneReadingPerColumnStaysAsItIs", {{1, 5}, {2, 9}, {3, 1}}, {{{1, 5}, {2, 9}, {3, 1}}}},
        EnvelopeRow{"LowBeforeHigh",
                    {{4, 5}, {4, 2}, {4, 6}, {4, 8}, {4, 3}, {4, 4}, {5, 0}},
                    {{{4, 5}, {4, 2}, {4, 8}, {4, 4}, {5, 0}}}},
        EnvelopeRow{"HighBeforeLowAndTheLastIsTheLowest", {{4, 5}, {4, 9}, {4, 7}, {4, 1}}, {{{4, 5}, {4, 9}, {4, 1}}}},
        EnvelopeRow{"OfEqualLevelsTheFirstIsKept",
                    {{2, 3}, {2, 1}, {2, 9}, {2, 1}, {2, 9}, {2, 5}},
                    {{{2, 3}, {2, 1}, {2, 9}, {2, 5}}}},
        EnvelopeRow{"AOneReadingSpikeAmongManySurvives",
                    {{0, 10}, {0, 10}, {0, 10}, {0, 10}, {0, 95}, {0, 10}, {0, 10}, {1, 10}, {1, 11}},
                    {{{0, 10}, {0, 95}, {0, 10}, {1, 10}, {1, 11}}}},
        EnvelopeRow{"AColumnComingBackIsANewRun",
                    {{3, 1}, {3, 4}, {2, 0}, {3, 2}, {3, 7}, {3, 5}},
                    {{{3, 1}, {3, 4}, {2, 0}, {3, 2}, {3, 7}, {3, 5}}}},
        EnvelopeRow{"AGapBreaksTheCurveInsideAColumn",
                    {{1, 1}, {1, 8}, {1, kGap}, {1, 3}, {2, 4}, {3, kGap}},
                    {{{1, 1}, {1, 8}}, {{1, 3}, {2, 4}}}},
        EnvelopeRow{"JoinedGapsArePassedOver", {{1, 1}, {1, kGap}, {1, 8}, {2, kGap}, {3, 4}}, {{{1, 1}, {1, 8}, {3, 4}}},
                    Gaps::Join},
        EnvelopeRow{"AJoinedGapInAnotherColumnKeepsTheRunOpen",
                    {{1, 1}, {1, 5}, {2, kGap}, {1, 8}, {1, 3}},
                    {{{1, 1}, {1, 8}, {1, 3}}},
                    Gaps::Join}),
    RowName());

// Many readings are reduced in two parts side by side: the curve is the one
// a single pass gives, gaps just before the seam (reading 29995) included.
TEST(EnvelopeRows, ManyReadingsInTwoPartsAsInOne)
{
    std::vector<Reading> readings;
    for (std::int32_t i = 0; i < 60000; ++i) {
        const bool gap = i % 1000 == 3 || (i >= 29990 && i < 29995);
        readings.push_back({i / 7, gap ? kGap : (i * 7919) % 1000});
    }
    for (const Gaps gaps : {Gaps::Break, Gaps::Join}) {
        const std::array<PixelEnvelope, 2> two = Envelopes(readings, true, gaps);
        std::array<PixelEnvelope, 1> one;
        std::vector<std::int32_t> scratch;
        one[0].Start(0, gaps);
        AddReadings(one, 0, 60000, true, [&](std::int32_t i) { return readings[static_cast<std::size_t>(i)].column; },
                    [&](std::int32_t i, int) { return readings[static_cast<std::size_t>(i)].level; }, scratch);
        one[0].Finish(60000);
        EXPECT_TRUE(std::ranges::equal(two[0].Runs(), one[0].Runs()));
        EXPECT_EQ(two[0].Pieces(), one[0].Pieces());
    }
}

// Readings `indices` of `readings` (ascending) taken out.
std::vector<Reading> Without(std::vector<Reading> readings, const std::vector<std::int32_t>& indices)
{
    for (auto k = indices.size(); k-- > 0;)
        readings.erase(readings.begin() + indices[k]);
    return readings;
}

struct SpliceRow {
    const char* name;
    std::vector<Reading> readings;
    std::vector<std::int32_t> indices; // in `readings`
    Gaps gaps = Gaps::Break;
};

class SpliceRows : public ::testing::TestWithParam<SpliceRow> {};

// A curve that follows readings taken out, then put back, has the runs of
// one built from the table as it is each time.
TEST_P(SpliceRows, FollowingIsBuildingAnew)
{
    const SpliceRow& row = GetParam();
    const std::vector<Reading> fewer = Without(row.readings, row.indices);
    const bool ordered = ColumnsRise(row.readings);
    std::array<PixelEnvelope, 2> kept = Envelopes(row.readings, ordered, row.gaps);
    const auto follow = [&](const std::vector<Reading>& now, bool restored) {
        for (int curve = 0; curve < 2; ++curve) {
            const auto reduce = [&](PixelEnvelope& fresh, std::int32_t begin, std::int32_t end) {
                std::vector<std::int32_t> scratch;
                AddReadings(std::span(&fresh, 1), begin, end, ordered,
                            [&](std::int32_t i) { return now[static_cast<std::size_t>(i)].column; },
                            [&](std::int32_t i, int) {
                                const std::int32_t level = now[static_cast<std::size_t>(i)].level;
                                return curve == 0 || level == kGap ? level : -level;
                            },
                            scratch);
            };
            EXPECT_TRUE(kept[static_cast<std::size_t>(curve)].FollowSplice(
                row.indices, restored, static_cast<std::int32_t>(now.size()), reduce));
        }
        const std::array<PixelEnvelope, 2> fresh = Envelopes(now, ordered, row.gaps);
        for (std::size_t curve = 0; curve < 2; ++curve) {
            EXPECT_TRUE(std::ranges::equal(kept[curve].Runs(), fresh[curve].Runs()));
            EXPECT_EQ(kept[curve].Pieces(), fresh[curve].Pieces());
        }
    };
    {
        SCOPED_TRACE("taken out");
        follow(fewer, false);
    }
    {
        SCOPED_TRACE("put back");
        follow(row.readings, true);
    }
}

// Every reading in turn, of curves with columns in order and not, shared
// and single, gaps among them, broken or joined.
TEST(SpliceRows, AnyOneReadingOfAMixedCurve)
{
    for (const bool inOrder : {true, false}) {
        std::vector<Reading> readings;
        for (std::int32_t i = 0; i < 60; ++i) {
            const std::int32_t column = inOrder ? i * i % 7 / 3 + i / 4 : (i * 5) % 11 / 4;
            readings.push_back({column, i % 9 == 4 ? kGap : (i * 37) % 13});
        }
        for (const Gaps gaps : {Gaps::Break, Gaps::Join}) {
            for (std::int32_t at = 0; at < 60; ++at) {
                SCOPED_TRACE(::testing::Message() << inOrder << " " << static_cast<int>(gaps) << " " << at);
                const std::vector<std::int32_t> indices{at};
                const std::vector<Reading> fewer = Without(readings, indices);
                // Taken out of `before`, or put back into it, giving `now`.
                const auto follow = [&](const std::vector<Reading>& before, const std::vector<Reading>& now, bool restored) {
                    std::array<PixelEnvelope, 2> kept = Envelopes(before, false, gaps);
                    const auto reduce = [&](PixelEnvelope& envelope, std::int32_t begin, std::int32_t end) {
                        std::vector<std::int32_t> scratch;
                        AddReadings(std::span(&envelope, 1), begin, end, false,
                                    [&](std::int32_t i) { return now[static_cast<std::size_t>(i)].column; },
                                    [&](std::int32_t i, int) { return now[static_cast<std::size_t>(i)].level; }, scratch);
                    };
                    EXPECT_TRUE(kept[0].FollowSplice(indices, restored, static_cast<std::int32_t>(now.size()), reduce));
                    EXPECT_TRUE(std::ranges::equal(kept[0].Runs(), Envelopes(now, false, gaps)[0].Runs()));
                };
                follow(readings, fewer, false);
                follow(fewer, readings, true);
            }
        }
    }
}

TEST(SpliceRows, ASpliceThatDoesNotFitLeavesTheCurve)
{
    const std::vector<Reading> readings{{1, 1}, {1, 2}, {2, 3}};
    std::array<PixelEnvelope, 2> kept = Envelopes(readings, true, Gaps::Break);
    const std::vector<PixelEnvelope::Run> runs(kept[0].Runs().begin(), kept[0].Runs().end());
    const auto never = [](PixelEnvelope&, std::int32_t, std::int32_t) { FAIL(); };
    const std::vector<std::int32_t> outside{3};
    const std::vector<std::int32_t> descending{1, 0};
    EXPECT_FALSE(kept[0].FollowSplice(outside, false, 2, never));
    EXPECT_FALSE(kept[0].FollowSplice(descending, false, 1, never));
    EXPECT_FALSE(kept[0].FollowSplice(std::vector<std::int32_t>{0}, false, 3, never)); // the count does not fit
    EXPECT_TRUE(std::ranges::equal(kept[0].Runs(), runs));
}

INSTANTIATE_TEST_SUITE_P(
    PixelEnvelope, SpliceRows,
    ::testing::Values(
        SpliceRow{"AReadingInAColumnSharedWithOthers", {{1, 4}, {2, 5}, {2, 9}, {2, 1}, {2, 6}, {3, 2}}, {3}},
        SpliceRow{"TheOnlyReadingOfAColumn", {{1, 4}, {1, 6}, {2, 5}, {3, 2}, {3, 1}}, {2}},
        SpliceRow{"TheOnlyReadingBetweenTwoRunsOfOneColumn", {{1, 4}, {1, 6}, {2, 5}, {1, 2}, {1, 7}}, {2}},
        SpliceRow{"TheFirstAndTheLast", {{1, 4}, {1, 6}, {2, 5}, {3, 2}, {3, 1}}, {0, 4}},
        SpliceRow{"EveryReading", {{1, 4}, {2, 6}}, {0, 1}},
        SpliceRow{"AGapThatBrokeARun", {{1, 4}, {1, kGap}, {1, 6}, {2, 5}}, {1}},
        SpliceRow{"AGapBetweenColumns", {{1, 4}, {2, kGap}, {3, 6}, {3, 5}}, {1}},
        SpliceRow{"AReadingBeforeAGap", {{1, 4}, {2, 7}, {2, kGap}, {3, 6}}, {1}},
        SpliceRow{"ReadingsAcrossManyColumns",
                  {{0, 1}, {0, 3}, {1, 2}, {1, 8}, {1, 0}, {2, 4}, {3, 3}, {3, kGap}, {3, 9}, {4, 1}, {5, 5}, {5, 2}},
                  {1, 4, 7, 9}},
        SpliceRow{"AJoinedGapBetweenTwoRunsOfOneColumn",
                  {{1, 4}, {1, 6}, {2, kGap}, {3, 5}, {2, kGap}, {1, 2}},
                  {3},
                  Gaps::Join}),
    RowName());

} // namespace

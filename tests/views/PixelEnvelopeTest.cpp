#include "NamedRows.h"
#include "views/PixelEnvelope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

using P = PixelEnvelope::Point;
using Pieces = std::vector<PixelEnvelope::Piece>;
constexpr std::optional<std::int32_t> kGap = std::nullopt;

struct Reading {
    std::int32_t column;
    std::optional<std::int32_t> level;
};

struct EnvelopeRow {
    const char* name;
    std::vector<Reading> readings;
    Pieces pieces;
    Gaps gaps = Gaps::Break;
};

Pieces Envelope(const std::vector<Reading>& readings, bool ordered, Gaps gaps)
{
    PixelEnvelope envelope;
    AddReadings(envelope, 0, static_cast<std::int32_t>(readings.size()), ordered,
                [&](std::int32_t i) { return readings[static_cast<std::size_t>(i)].column; },
                [&](std::int32_t i) { return readings[static_cast<std::size_t>(i)].level; }, gaps);
    return envelope.TakePieces();
}

bool ColumnsRise(const std::vector<Reading>& readings)
{
    for (std::size_t i = 1; i < readings.size(); ++i)
        if (readings[i].column < readings[i - 1].column)
            return false;
    return true;
}

class EnvelopeRows : public ::testing::TestWithParam<EnvelopeRow> {};

// The galloping search of readings in order finds the same runs as asking
// every reading's column.
TEST_P(EnvelopeRows, KeepsFirstLowestHighestAndLastOfEachColumnInOrder)
{
    const EnvelopeRow& row = GetParam();
    EXPECT_EQ(Envelope(row.readings, false, row.gaps), row.pieces);
    if (ColumnsRise(row.readings)) {
        EXPECT_EQ(Envelope(row.readings, true, row.gaps), row.pieces);
    }
}

INSTANTIATE_TEST_SUITE_P(
    PixelEnvelope, EnvelopeRows,
    ::testing::Values(
        EnvelopeRow{"OneReadingPerColumnStaysAsItIs", {{1, 5}, {2, 9}, {3, 1}}, {{{1, 5}, {2, 9}, {3, 1}}}},
        EnvelopeRow{"LowBeforeHigh",
                    {{4, 5}, {4, 2}, {4, 6}, {4, 8}, {4, 3}, {4, 4}, {5, 0}},
                    {{{4, 5}, {4, 2}, {4, 8}, {4, 4}, {5, 0}}}},
        EnvelopeRow{"HighBeforeLow", {{4, 5}, {4, 9}, {4, 7}, {4, 1}, {4, 6}}, {{{4, 5}, {4, 9}, {4, 1}, {4, 6}}}},
        EnvelopeRow{"FirstAndLastAreTheExtremes", {{0, 1}, {0, 3}, {0, 2}, {0, 9}}, {{{0, 1}, {0, 9}}}},
        EnvelopeRow{"EqualLevelsGiveTheFirstAndLast", {{7, 3}, {7, 3}, {7, 3}}, {{{7, 3}, {7, 3}}}},
        EnvelopeRow{"AOneReadingSpikeAmongManySurvives",
                    {{0, 10}, {0, 10}, {0, 10}, {0, 10}, {0, 95}, {0, 10}, {0, 10}, {1, 10}, {1, 11}},
                    {{{0, 10}, {0, 95}, {0, 10}, {1, 10}, {1, 11}}}},
        EnvelopeRow{"AColumnComingBackIsANewRun",
                    {{3, 1}, {3, 4}, {2, 0}, {3, 2}, {3, 7}, {3, 5}},
                    {{{3, 1}, {3, 4}, {2, 0}, {3, 2}, {3, 7}, {3, 5}}}},
        EnvelopeRow{"AGapBreaksTheCurveInsideAColumn",
                    {{1, 1}, {1, 8}, {1, kGap}, {1, 3}, {2, 4}, {3, kGap}, {3, kGap}},
                    {{{1, 1}, {1, 8}}, {{1, 3}, {2, 4}}}},
        EnvelopeRow{"JoinedGapsArePassedOver",
                    {{1, 1}, {1, kGap}, {1, 8}, {2, kGap}, {3, 4}},
                    {{{1, 1}, {1, 8}, {3, 4}}},
                    Gaps::Join},
        EnvelopeRow{"NoReadingsNoPieces", {}, {}}),
    RowName());

// Runs of every length the galloping search steps through: the same
// pieces as asking every reading, and in each column its first, lowest,
// highest and last level, four points at most.
TEST(PixelEnvelope, OrderedRunsOfEveryLengthKeepEachColumnsExtremes)
{
    constexpr std::int32_t kColumns = 70;
    std::vector<Reading> readings;
    std::vector<std::vector<std::int32_t>> levels(kColumns);
    for (std::int32_t column = 0; column < kColumns; ++column) {
        for (std::int32_t k = 0; k <= column; ++k) {
            readings.push_back({column, (column * 7 + k * 13) % 23});
            levels[static_cast<std::size_t>(column)].push_back(*readings.back().level);
        }
    }
    const Pieces pieces = Envelope(readings, true, Gaps::Break);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces, Envelope(readings, false, Gaps::Break));
    for (std::int32_t column = 0; column < kColumns; ++column) {
        std::vector<std::int32_t> kept;
        for (const P& p : pieces[0])
            if (p.column == column)
                kept.push_back(p.level);
        const std::vector<std::int32_t>& all = levels[static_cast<std::size_t>(column)];
        ASSERT_FALSE(kept.empty()) << column;
        EXPECT_LE(kept.size(), 4u) << column;
        EXPECT_EQ(kept.front(), all.front()) << column;
        EXPECT_EQ(kept.back(), all.back()) << column;
        EXPECT_EQ(std::ranges::min(kept), std::ranges::min(all)) << column;
        EXPECT_EQ(std::ranges::max(kept), std::ranges::max(all)) << column;
    }
}

TEST(FirstIndexWhere, FindsTheFirstIndexWhereAMonotoneTestHolds)
{
    const auto atLeast = [](std::int32_t n) { return [n](std::int32_t i) { return std::int64_t{i} * i >= n; }; };
    EXPECT_EQ(FirstIndexWhere(0, 200000, atLeast(0)), 0);
    EXPECT_EQ(FirstIndexWhere(0, 200000, atLeast(1000001)), 1001);
    EXPECT_EQ(FirstIndexWhere(5, 10, atLeast(1000)), 10);
    EXPECT_EQ(FirstIndexWhere(3, 3, atLeast(0)), 3);
}

} // namespace

#include "NamedRows.h"
#include "views/PixelEnvelope.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

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

Pieces Negated(Pieces pieces)
{
    for (PixelEnvelope::Piece& piece : pieces)
        for (PixelEnvelope::Point& p : piece)
            p.level = -p.level;
    return pieces;
}

// The row's curve and its mirror image, built in one pass: each comes out as
// it would alone.
std::array<Pieces, 2> Envelopes(const std::vector<Reading>& readings, bool ordered, Gaps gaps)
{
    std::array<PixelEnvelope, 2> envelopes;
    AddReadings(envelopes, 0, static_cast<std::int32_t>(readings.size()), ordered,
                [&](std::int32_t i) { return readings[static_cast<std::size_t>(i)].column; },
                [&](std::int32_t i, int curve) {
                    const std::optional<std::int32_t> level = readings[static_cast<std::size_t>(i)].level;
                    return curve == 0 || !level ? level : std::optional(-*level);
                },
                gaps);
    return {envelopes[0].TakePieces(), envelopes[1].TakePieces()};
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
// every reading's column; curves built together do not mix.
TEST_P(EnvelopeRows, KeepsFirstLowestHighestAndLastOfEachColumnInOrder)
{
    const EnvelopeRow& row = GetParam();
    const std::array<Pieces, 2> expected{row.pieces, Negated(row.pieces)};
    EXPECT_EQ(Envelopes(row.readings, false, row.gaps), expected);
    if (ColumnsRise(row.readings)) {
        EXPECT_EQ(Envelopes(row.readings, true, row.gaps), expected);
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
                    Gaps::Join}),
    RowName());

} // namespace

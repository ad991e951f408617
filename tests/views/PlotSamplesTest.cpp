#include "NamedRows.h"
#include "views/PlotSamples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

// Long enough to be gathered in two halves.
constexpr std::int32_t kReadings = 60001;
constexpr std::int32_t kHalf = kReadings / 2;

std::vector<survey::Observation> Table()
{
    std::vector<survey::Observation> table(kReadings);
    for (std::int32_t i = 0; i < kReadings; ++i) {
        table[static_cast<std::size_t>(i)].Depth = i * 0.01;
        table[static_cast<std::size_t>(i)].CalcIncl = i % 90;
        table[static_cast<std::size_t>(i)].CalcAzMag = i % 360;
    }
    return table;
}

void Gather(PlotSamples& samples, const std::vector<survey::Observation>& table)
{
    samples.Gather(table.data(), kReadings, 2, [](double depth) { return static_cast<std::int32_t>(depth * 100); },
                   [](std::int32_t, const survey::Observation& reading, double* out) {
                       out[0] = reading.CalcIncl;
                       out[1] = reading.CalcAzMag;
                   });
}

struct ChangeRow {
    const char* name;
    void (*change)(std::vector<survey::Observation>& table);
    bool depths;
    std::uint32_t curves;
    bool inDepthOrder = true;
};

class GatherAgain : public ::testing::TestWithParam<ChangeRow> {};

// What a second gathering changed is told for both halves, and the samples
// are the table's.
TEST_P(GatherAgain, TellsWhatChanged)
{
    std::vector<survey::Observation> table = Table();
    PlotSamples samples;
    Gather(samples, table);
    GetParam().change(table);
    Gather(samples, table);
    EXPECT_EQ(samples.LastChanges().depths, GetParam().depths);
    EXPECT_EQ(samples.LastChanges().curves, GetParam().curves);
    EXPECT_EQ(samples.InDepthOrder(), GetParam().inDepthOrder);
    double low = 1e300;
    double high = -1e300;
    for (const survey::Observation& reading : table) {
        low = std::min({low, reading.CalcIncl, reading.CalcAzMag});
        high = std::max({high, reading.CalcIncl, reading.CalcAzMag});
    }
    EXPECT_EQ(samples.ValueExtremes(), (std::array<double, 2>{low, high}));
    for (const std::int32_t i : {0, kHalf - 1, kHalf, kReadings - 1}) {
        const survey::Observation& reading = table[static_cast<std::size_t>(i)];
        EXPECT_EQ(samples.Depth(i), static_cast<std::int32_t>(reading.Depth * 100));
        EXPECT_EQ(samples.Value(i, 0), reading.CalcIncl);
        EXPECT_EQ(samples.Value(i, 1), reading.CalcAzMag);
    }
}

INSTANTIATE_TEST_SUITE_P(
    PlotSamples, GatherAgain,
    ::testing::Values(ChangeRow{"Nothing", [](std::vector<survey::Observation>&) {}, false, 0},
                      ChangeRow{"ASecondCurveValueInTheSecondHalf",
                                [](std::vector<survey::Observation>& table) { table.back().CalcAzMag = 7.5; }, false, 2},
                      ChangeRow{"AFirstCurveValueInTheFirstHalf",
                                [](std::vector<survey::Observation>& table) { table[5].CalcIncl = 7.5; }, false, 1},
                      ChangeRow{"ANewLeastInTheSecondHalf",
                                [](std::vector<survey::Observation>& table) { table[kHalf + 9].CalcIncl = -3.5; }, false,
                                1},
                      ChangeRow{"ANegativeZeroForZero",
                                [](std::vector<survey::Observation>& table) { table[kHalf].CalcIncl = -0.0; }, false, 1},
                      ChangeRow{"ADepthAtTheSeamOutOfOrder",
                                [](std::vector<survey::Observation>& table) { table[kHalf].Depth = 1.0; }, true, 0,
                                false}),
    RowName());

} // namespace

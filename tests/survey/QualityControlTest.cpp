#include "DemoSurvey.h"
#include "LineSource.h"
#include "Orientation.h"
#include "NamedRows.h"
#include "QualityControl.h"
#include "SpikeFinder.h"
#include "SurveyText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// --- Quality values of one reading -----------------------------------------

struct ReadingRow {
    const char* name;
    double mag[3], acc[3];
    double field, gravity, dip;
};

class QualityOfReading : public ::testing::TestWithParam<ReadingRow> {};

TEST_P(QualityOfReading, GivesFieldGravityAndDip)
{
    const ReadingRow& row = GetParam();
    Observation obs{};
    obs.MagX = row.mag[0], obs.MagY = row.mag[1], obs.MagZ = row.mag[2];
    obs.AccX = row.acc[0], obs.AccY = row.acc[1], obs.AccZ = row.acc[2];
    const QualityValues q = QualityOf(obs);
    EXPECT_DOUBLE_EQ(q.totalField, row.field);
    EXPECT_DOUBLE_EQ(q.totalGravity, row.gravity);
    if (std::isnan(row.dip))
        EXPECT_TRUE(std::isnan(q.dip)) << q.dip;
    else
        EXPECT_NEAR(q.dip, row.dip, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, QualityOfReading,
    ::testing::Values(
        ReadingRow{"FieldAlongGravity", {0, 0, 0.5}, {0, 0, 9.80665}, 50000, 9.80665, 90},
        ReadingRow{"FieldBelowTheHorizontal", {0.3, 0, -0.4}, {0, 0, 1}, 50000, 1, -53.130102354155978},
        ReadingRow{"ZeroFieldHasNoDip", {0, 0, 0}, {0, 9.8, 0}, 0, 9.8, kNaN},
        ReadingRow{"ZeroGravityHasNoDip", {0.3, 0.4, 0}, {0, 0, 0}, 50000, 0, kNaN},
        // The unit vectors' product rounds to 1.0000000000000002 here.
        ReadingRow{"ParallelVectorsRoundingPastOne",
                   {0.87826, 0.55678, 0.43194},
                   {0.87826 * 3, 0.55678 * 3, 0.43194 * 3},
                   std::hypot(0.87826, 0.55678, 0.43194) * 100000,
                   std::hypot(0.87826 * 3, 0.55678 * 3, 0.43194 * 3),
                   90},
        ReadingRow{"HugeReadingsDoNotOverflow", {1e300, 0, 1e300}, {0, 0, 1e300}, std::sqrt(2.0) * 1e305, 1e300, 45}),
    RowName());

// --- Spikes in a generated survey ------------------------------------------

struct Spike {
    int index;
    std::uint8_t quantities; // SpikeFlag bits
};

// A probe turning and tilting slowly down a hole in a field whose strength
// and dip drift smoothly, with bounded sensor noise and the file's rounding;
// a spike scales the field by 1.006 (about 300 nT), scales gravity by 1.03,
// or tips the field 1.5 degrees toward the vertical.
std::vector<Row> GeneratedSurvey(int count, const std::vector<Spike>& spikes)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> magNoise(-0.0002, 0.0002), accNoise(-0.002, 0.002);
    std::vector<Row> rows;
    for (int i = 0; i < count; ++i) {
        const double depth = i * 0.1;
        std::uint8_t spike = 0;
        for (const Spike& s : spikes)
            if (s.index == i)
                spike = s.quantities;
        double field = 0.5 + 0.002 * std::sin(depth / 15);
        double dip = (62 + 0.5 * std::sin(depth / 40)) * kDegToRad;
        double gravity = 9.80665;
        if (spike & kFieldSpike)
            field *= 1.006;
        if (spike & kGravitySpike)
            gravity *= 1.03;
        if (spike & kDipSpike)
            dip += 1.5 * kDegToRad;
        // East, north, up; gravity as the accelerometer reads it (up).
        double m[3] = {0, field * std::cos(dip), -field * std::sin(dip)};
        double a[3] = {0, 0, gravity};
        // The probe's axes: turn about up, tilt about east, roll about the hole.
        for (double* v : {m, a}) {
            const auto turn = [v](int p, int q, double angle) {
                const double c = std::cos(angle), s = std::sin(angle);
                const double vp = c * v[p] + s * v[q], vq = -s * v[p] + c * v[q];
                v[p] = vp, v[q] = vq;
            };
            turn(0, 1, (30 + depth / 10) * kDegToRad);
            turn(1, 2, (70 + 5 * std::sin(depth / 30)) * kDegToRad);
            turn(0, 1, depth * 3 * kDegToRad);
        }
        rows.push_back({depth, m[0] + magNoise(random), m[1] + magNoise(random), m[2] + magNoise(random),
                        a[0] + accNoise(random), a[1] + accNoise(random), a[2] + accNoise(random)});
    }
    return rows;
}

struct SurveyRow {
    const char* name;
    int count;
    std::vector<Spike> spikes;
};

class SpikesInAGeneratedSurvey : public ::testing::TestWithParam<SurveyRow> {};

TEST_P(SpikesInAGeneratedSurvey, FlagsEverySpikeInItsQuantitiesAndNothingElse)
{
    const SurveyRow& row = GetParam();
    CKestrixDoc doc;
    FillDocument(doc, GeneratedSurvey(row.count, row.spikes));
    ASSERT_EQ(doc.m_QualityValues.size(), static_cast<std::size_t>(row.count));
    std::vector<std::uint8_t> expected(static_cast<std::size_t>(row.count), 0);
    for (const Spike& s : row.spikes)
        expected[static_cast<std::size_t>(s.index)] = s.quantities;
    EXPECT_EQ(FindSpikes(doc.m_QualityValues), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SpikesInAGeneratedSurvey,
    ::testing::Values(SurveyRow{"SmoothSurvey", 400, {}},
                      SurveyRow{"FieldSpikeAtTheTop", 400, {{0, kFieldSpike}}},
                      SurveyRow{"GravitySpikeMidway", 400, {{200, kGravitySpike}}},
                      SurveyRow{"DipSpikeAtTheBottom", 400, {{399, kDipSpike}}},
                      SurveyRow{"FieldAndDipInOneReading", 400, {{150, kFieldSpike | kDipSpike}}},
                      SurveyRow{"AdjacentSpikes", 400, {{100, kFieldSpike}, {101, kFieldSpike}, {102, kGravitySpike}}},
                      SurveyRow{"SurveyShorterThanTheWindow", 12, {{5, kGravitySpike}}},
                      SurveyRow{"ManySpikes", 2000,
                                {{3, kDipSpike}, {250, kFieldSpike}, {777, kGravitySpike}, {778, kDipSpike},
                                 {1500, kFieldSpike | kGravitySpike | kDipSpike}, {1998, kFieldSpike}}}),
    RowName());

// --- Spike finding on given values -------------------------------------------

struct SeriesRow {
    const char* name;
    std::vector<QualityValues> values;
    std::vector<std::uint8_t> expected;
    SpikeSettings settings = {};
};

// `count` steady readings (50000 nT, 1 g in m/s2, 60 degrees) with `change`
// applied to some of them.
template <typename Change>
std::vector<QualityValues> Steady(int count, Change change)
{
    std::vector<QualityValues> values(static_cast<std::size_t>(count), QualityValues{50000, 9.80665, 60});
    for (int i = 0; i < count; ++i)
        change(i, values[static_cast<std::size_t>(i)]);
    return values;
}

// Zero flags but the given (index, bits) pairs.
std::vector<std::uint8_t> Flags(int count, std::initializer_list<std::pair<int, std::uint8_t>> set)
{
    std::vector<std::uint8_t> flags(static_cast<std::size_t>(count), 0);
    for (const auto& [index, bits] : set)
        flags[static_cast<std::size_t>(index)] = bits;
    return flags;
}

class SpikesInValues : public ::testing::TestWithParam<SeriesRow> {};

TEST_P(SpikesInValues, FlagsTheExpectedReadings)
{
    EXPECT_EQ(FindSpikes(GetParam().values, GetParam().settings), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SpikesInValues,
    ::testing::Values(
        // No spread at all: only the floor keeps a 1 nT step from flagging.
        SeriesRow{"RoundingStepInASteadyField",
                  Steady(30, [](int i, QualityValues& q) { q.totalField += i == 7; }), Flags(30, {})},
        SeriesRow{"FieldJustOverItsFloor",
                  Steady(30, [](int i, QualityValues& q) { q.totalField += i == 7 ? 50.5 : i == 9 ? 49.5 : 0; }),
                  Flags(30, {{7, kFieldSpike}})},
        SeriesRow{"DipJustOverItsFloor",
                  Steady(30, [](int i, QualityValues& q) { q.dip -= i == 20 ? 0.21 : i == 22 ? 0.19 : 0; }),
                  Flags(30, {{20, kDipSpike}})},
        // The gravity floor is 1% of the survey's own median gravity, in m/s2 ...
        SeriesRow{"GravityFloorInMetresPerSecondSquared",
                  Steady(30, [](int i, QualityValues& q) { q.totalGravity *= i == 3 ? 1.011 : i == 4 ? 1.009 : 1; }),
                  Flags(30, {{3, kGravitySpike}})},
        // ... and in g.
        SeriesRow{"GravityFloorInG",
                  Steady(30, [](int i, QualityValues& q) { q.totalGravity = i == 3 ? 1.011 : i == 4 ? 1.009 : 1; }),
                  Flags(30, {{3, kGravitySpike}})},
        SeriesRow{"NanDipsNeitherFlagNorCount",
                  Steady(30, [](int i, QualityValues& q) { q.dip = i % 3 ? kNaN : i == 12 ? 65 : 60; }),
                  Flags(30, {{12, kDipSpike}})},
        SeriesRow{"InfiniteFieldFlags",
                  Steady(30, [](int i, QualityValues& q) { q.totalField = i == 0 ? HUGE_VAL : q.totalField; }),
                  Flags(30, {{0, kFieldSpike}})},
        // Half a robust deviation would flag both of two readings.
        SeriesRow{"TwoReadingsAreNotJudged", Steady(2, [](int i, QualityValues& q) { q.totalField *= 1 + i; }),
                  Flags(2, {}), SpikeSettings{.threshold = 0.5}},
        SeriesRow{"ThreeReadingsAreOneWindow",
                  Steady(3, [](int i, QualityValues& q) { q.totalField += i == 2 ? 5000 : i; }),
                  Flags(3, {{2, kFieldSpike}})},
        // Six spikes in a row would be most of a window cut short at the top;
        // the window keeps its 2k + 1 readings there instead.
        SeriesRow{"RunOfSpikesAtTheTop", Steady(30, [](int i, QualityValues& q) { q.totalField += i < 6 ? 500 : 0; }),
                  Flags(30, {{0, kFieldSpike}, {1, kFieldSpike}, {2, kFieldSpike},
                             {3, kFieldSpike}, {4, kFieldSpike}, {5, kFieldSpike}})},
        SeriesRow{"RunOfSpikesAtTheBottom", Steady(30, [](int i, QualityValues& q) { q.dip += i >= 24 ? 3 : 0; }),
                  Flags(30, {{24, kDipSpike}, {25, kDipSpike}, {26, kDipSpike},
                             {27, kDipSpike}, {28, kDipSpike}, {29, kDipSpike}})},
        SeriesRow{"EmptySurvey", std::vector<QualityValues>{}, Flags(0, {})}),
    RowName());

// The rule read plainly: every reading's window gathered and sorted afresh.
std::vector<std::uint8_t> PlainFieldSpikes(const std::vector<double>& field, int k, double t, double floor)
{
    const int n = static_cast<int>(field.size());
    const int width = std::min(2 * k + 1, n);
    std::vector<std::uint8_t> flags(field.size(), 0);
    for (int i = 0; i < n; ++i) {
        const int first = std::clamp(i - k, 0, n - width);
        std::vector<double> window;
        for (int j = first; j < first + width; ++j)
            if (std::isfinite(field[j]))
                window.push_back(field[j]);
        std::sort(window.begin(), window.end());
        const auto median = [](const std::vector<double>& v) {
            return v.size() % 2 ? v[v.size() / 2] : 0.5 * v[v.size() / 2 - 1] + 0.5 * v[v.size() / 2];
        };
        if (std::isinf(field[i]))
            flags[i] = kFieldSpike;
        if (!std::isfinite(field[i]) || window.size() < 3)
            continue;
        const double middle = median(window);
        std::vector<double> deviations;
        for (double v : window)
            deviations.push_back(std::fabs(v - middle));
        std::sort(deviations.begin(), deviations.end());
        const double departure = std::fabs(field[i] - middle);
        if (departure > floor && departure > t * 1.4826 * median(deviations))
            flags[i] = kFieldSpike;
    }
    return flags;
}

TEST(SpikesInValues, SlidingWindowAgreesWithThePlainRule)
{
    // Rounded values, so windows hold ties; NaN and infinite readings among them.
    std::mt19937 random(3);
    for (int trial = 0; trial < 2000; ++trial) {
        const int n = static_cast<int>(random() % 60);
        SpikeSettings settings;
        settings.halfWindow = static_cast<int>(random() % 13);
        settings.threshold = 0.5 + (random() % 16) / 2.0;
        settings.fieldFloor = trial % 2 ? 0 : 20;
        std::vector<double> field;
        for (int i = 0; i < n; ++i) {
            const unsigned pick = random() % 40;
            field.push_back(pick == 0 ? kNaN : pick == 1 ? -HUGE_VAL : 50000 + std::round(std::normal_distribution<>(0, 10)(random)) * (pick < 4 ? 20 : 1));
        }
        std::vector<QualityValues> values;
        for (double f : field)
            values.push_back({f, 9.80665, 60});
        ASSERT_EQ(FindSpikes(values, settings),
                  PlainFieldSpikes(field, settings.halfWindow, settings.threshold, settings.fieldFloor))
            << "trial " << trial;
    }
}

// --- The demo survey -----------------------------------------------------------

TEST(SpikesInTheDemoSurvey, DefaultSettingsFlagItsSpikesAndNothingElse)
{
    const std::string demoPath = std::string(KESTRIX_EXAMPLES_DIR) + "/demo.txt";
    if (access(demoPath.c_str(), R_OK) != 0)
        GTEST_SKIP() << "no demo survey";
    CKestrixDoc doc;
    FileLineSource source(demoPath);
    RecordingSink sink;
    ASSERT_EQ(doc.LoadRawSurvey(demoPath, source, sink), LoadResult::Loaded);
    ASSERT_EQ(doc.m_nObs, demo::kSampleCount);

    const std::vector<std::uint8_t> flags = FindSpikes(doc.m_QualityValues);
    std::vector<int> flagged;
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i])
            flagged.push_back(static_cast<int>(i));
    EXPECT_EQ(flagged, std::vector<int>(demo::kSpikeSamples.begin(), demo::kSpikeSamples.end()));
}

} // namespace

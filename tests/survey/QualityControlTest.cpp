#include "examples/DemoSurvey.h"
#include "NamedRows.h"
#include "ProbeReadings.h"
#include "survey/Orientation.h"
#include "survey/ReadingSteps.h"
#include "survey/SpikeFinder.h"
#include "SurveyFiles.h"
#include "SurveyRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <tuple>

using namespace survey;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
using Flags = std::vector<std::uint8_t>;

// `count` zero flags but the given (index, SpikeFlag bits) pairs.
Flags FlagsAt(int count, std::initializer_list<std::pair<int, std::uint8_t>> set)
{
    Flags flags(static_cast<std::size_t>(count), 0);
    for (const auto& [index, bits] : set)
        flags[static_cast<std::size_t>(index)] = bits;
    return flags;
}

struct ReadingRow {
    const char* name;
    double mag[3], acc[3];
    double turned[3]; // MagH1, MagH2, MagV
    double field, gravity, dip;
};

class QualityOfReading : public ::testing::TestWithParam<ReadingRow> {};

TEST_P(QualityOfReading, GivesFieldGravityAndDip)
{
    const ReadingRow& row = GetParam();
    Observation obs{};
    std::tie(obs.MagX, obs.MagY, obs.MagZ, obs.AccX, obs.AccY, obs.AccZ) =
        std::tie(row.mag[0], row.mag[1], row.mag[2], row.acc[0], row.acc[1], row.acc[2]);
    std::tie(obs.MagH1, obs.MagH2, obs.MagV) = std::tie(row.turned[0], row.turned[1], row.turned[2]);
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
        ReadingRow{"FieldStraightDown", {0, 0, 0.5}, {0, 0, 9.80665}, {0, 0, -0.5}, 50000, 9.80665, 90},
        ReadingRow{"FieldBelowTheHorizontal", {0.3, 0, -0.4}, {0, 0, 1}, {0, 0.3, -0.4}, 50000, 1, 53.130102354155978},
        ReadingRow{"FieldAboveTheHorizontal", {0.3, 0, 0.4}, {0, 0, 1}, {0, 0.3, 0.4}, 50000, 1, -53.130102354155978},
        ReadingRow{"BothHorizontalPartsCount", {0.5, 0, 0.5}, {0, 0, 1}, {0.3, -0.4, -0.5}, 70710.678118654752, 1, 45},
        ReadingRow{"ZeroFieldHasNoDip", {0, 0, 0}, {0, 9.8, 0}, {0, 0, 0}, 0, 9.8, kNaN},
        ReadingRow{"ZeroGravityHasNoDip", {0.3, 0.4, 0}, {0, 0, 0}, {0, 0.5, 0}, 50000, 0, kNaN},
        ReadingRow{"TinyReadingsDoNotUnderflow", {3e-300, 4e-300, 0}, {0, 1e-300, 0}, {1e-300, 1e-300, -1e-300},
                   5e-295, 1e-300, 35.264389682754654},
        ReadingRow{"HugeReadingsDoNotOverflow", {1e300, 0, 1e300}, {0, 0, 1e300}, {1e300, 1e300, -1e300},
                   std::sqrt(2.0) * 1e305, 1e300, 35.264389682754654}),
    RowName());

// The dip from the field turned to the horizontal and vertical is the one
// from its east, north and up components under any azimuth in force.
struct TurnedFieldRow {
    const char* name;
    double scale; // of the field, gauss
    double dip;   // degrees
};

class DipOfTheTurnedField : public ::testing::TestWithParam<TurnedFieldRow> {};

TEST_P(DipOfTheTurnedField, IsTheResolvedFieldsUnderEveryAzimuth)
{
    const TurnedFieldRow& row = GetParam();
    std::mt19937 random(5);
    std::uniform_real_distribution<double> angle(-180, 180), inclination(0, 90), roll(0, 360);
    for (int k = 0; k < 200; ++k) {
        const double d = row.dip * kDegToRad;
        const Row r = ProbeReading(0, {row.scale * std::cos(d), 0, -row.scale * std::sin(d)}, inclination(random),
                                   angle(random), roll(random), 9.8);
        Observation obs{};
        std::tie(obs.MagX, obs.MagY, obs.MagZ, obs.AccX, obs.AccY, obs.AccZ) =
            std::tie(r.magX, r.magY, r.magZ, r.accX, r.accY, r.accZ);
        OrientInclination(obs);
        OrientRoll(obs, 0);
        OrientAzimuth(obs);
        obs.AzUsed = angle(random);
        ResolveReading(obs);
        const double resolved = std::atan2(-obs.MagU, std::hypot(obs.MagE, obs.MagN)) / kDegToRad;
        ASSERT_NEAR(QualityOf(obs).dip, resolved, 1e-11) << "reading " << k;
        ASSERT_NEAR(QualityOf(obs).dip, row.dip, 1e-9) << "reading " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, DipOfTheTurnedField,
                         ::testing::Values(TurnedFieldRow{"Steep", 0.5, 75}, TurnedFieldRow{"Shallow", 0.5, 3},
                                           TurnedFieldRow{"PointingUp", 0.5, -40},
                                           TurnedFieldRow{"NearlyVertical", 0.5, 89.999},
                                           TurnedFieldRow{"Tiny", 1e-200, 60}, TurnedFieldRow{"Huge", 1e200, 60}),
                         RowName());

// A probe turning and tilting down a hole in a field whose strength and dip
// drift smoothly, with bounded sensor noise and the file's rounding. Where
// `spikes` has a bit, the field is 1.006 times stronger (about 300 nT), the
// gravity 1.03 times, or the field tips 1.5 degrees toward the vertical.
std::vector<Row> GeneratedSurvey(const Flags& spikes)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> magNoise(-0.0002, 0.0002), accNoise(-0.002, 0.002);
    std::vector<Row> rows;
    for (std::size_t i = 0; i < spikes.size(); ++i) {
        const double depth = static_cast<double>(i) * 0.1;
        const double field = (0.5 + 0.002 * std::sin(depth / 15)) * (spikes[i] & kFieldSpike ? 1.006 : 1);
        const double dip = (62 + 0.5 * std::sin(depth / 40) + (spikes[i] & kDipSpike ? 1.5 : 0)) * kDegToRad;
        Row r = ProbeReading(depth, {field * std::cos(dip), 0, -field * std::sin(dip)}, 70 + 5 * std::sin(depth / 30),
                             30 + depth / 10, std::fmod(depth * 3, 360), spikes[i] & kGravitySpike ? 9.80665 * 1.03 : 9.80665);
        for (double* m : {&r.magX, &r.magY, &r.magZ})
            *m += magNoise(random);
        for (double* a : {&r.accX, &r.accY, &r.accZ})
            *a += accNoise(random);
        rows.push_back(r);
    }
    return rows;
}

struct SurveyRow {
    const char* name;
    Flags spikes;
};

class SpikesInAGeneratedSurvey : public ::testing::TestWithParam<SurveyRow> {};

TEST_P(SpikesInAGeneratedSurvey, FlagsEverySpikeInItsQuantitiesAndNothingElse)
{
    CKestrixDoc doc;
    FillDocument(doc, GeneratedSurvey(GetParam().spikes));
    EXPECT_EQ(FindSpikes(doc.m_QualityValues), GetParam().spikes);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SpikesInAGeneratedSurvey,
    ::testing::Values(SurveyRow{"SmoothSurvey", FlagsAt(400, {})},
                      SurveyRow{"FieldSpikeAtTheTop", FlagsAt(400, {{0, kFieldSpike}})},
                      SurveyRow{"GravitySpikeMidway", FlagsAt(400, {{200, kGravitySpike}})},
                      SurveyRow{"DipSpikeAtTheBottom", FlagsAt(400, {{399, kDipSpike}})},
                      SurveyRow{"FieldAndDipInOneReading", FlagsAt(400, {{150, kFieldSpike | kDipSpike}})},
                      SurveyRow{"AdjacentSpikes", FlagsAt(400, {{100, kFieldSpike}, {101, kFieldSpike}, {102, kGravitySpike}})},
                      SurveyRow{"SurveyShorterThanTheWindow", FlagsAt(12, {{5, kGravitySpike}})},
                      SurveyRow{"ManySpikes", FlagsAt(2000, {{3, kDipSpike}, {777, kGravitySpike}, {778, kDipSpike},
                                                             {1500, kFieldSpike | kGravitySpike | kDipSpike}, {1998, kFieldSpike}})}),
    RowName());

struct SeriesRow {
    const char* name;
    std::vector<QualityValues> values;
    Flags expected;
};

// 30 steady readings (50000 nT, 1 g in m/s2, 60 degrees), each passed to `change`.
template <typename Change>
std::vector<QualityValues> Steady(Change change)
{
    std::vector<QualityValues> values(30, QualityValues{50000, 9.80665, 60});
    for (int i = 0; i < 30; ++i)
        change(i, values[static_cast<std::size_t>(i)]);
    return values;
}

class SpikesInValues : public ::testing::TestWithParam<SeriesRow> {};

TEST_P(SpikesInValues, FlagsTheExpectedReadings)
{
    EXPECT_EQ(FindSpikes(GetParam().values), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SpikesInValues,
    ::testing::Values(
        // With no spread at all, only the floors decide.
        SeriesRow{"DefaultFloors", Steady([](int i, QualityValues& q) {
                      q.totalField += i == 3 ? 1 : i == 7 ? 50.5 : i == 9 ? 49.5 : 0;
                      q.dip -= i == 20 ? 0.21 : i == 22 ? 0.19 : 0;
                  }),
                  FlagsAt(30, {{7, kFieldSpike}, {20, kDipSpike}})},
        // The gravity floor is 1% of the survey's own median gravity, in m/s2 or in g.
        SeriesRow{"GravityFloorInMetresPerSecondSquared",
                  Steady([](int i, QualityValues& q) { q.totalGravity *= i == 3 ? 1.011 : i == 4 ? 1.009 : 1; }),
                  FlagsAt(30, {{3, kGravitySpike}})},
        SeriesRow{"GravityFloorInG",
                  Steady([](int i, QualityValues& q) { q.totalGravity = i == 3 ? 1.011 : i == 4 ? 1.009 : 1; }),
                  FlagsAt(30, {{3, kGravitySpike}})},
        SeriesRow{"NanDipsNeitherFlagNorCount",
                  Steady([](int i, QualityValues& q) { q.dip = i % 3 ? kNaN : i == 12 ? 65 : 60; }),
                  FlagsAt(30, {{12, kDipSpike}})}),
    RowName());

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : 0.5 * v[v.size() / 2 - 1] + 0.5 * v[v.size() / 2];
}

// The rule read plainly: every reading's window gathered and sorted afresh.
Flags PlainFieldSpikes(const std::vector<double>& field, const SpikeSettings& s)
{
    const int n = static_cast<int>(field.size()), width = std::min(2 * s.halfWindow + 1, n);
    Flags flags(field.size(), 0);
    for (int i = 0; i < n; ++i) {
        std::vector<double> window, deviations;
        for (int j = std::clamp(i - s.halfWindow, 0, n - width), end = j + width; j < end; ++j)
            if (std::isfinite(field[j]))
                window.push_back(field[j]);
        if (!std::isfinite(field[i]) || window.size() < 3) {
            flags[i] = std::isinf(field[i]) ? kFieldSpike : 0;
            continue;
        }
        const double median = Median(window);
        for (double v : window)
            deviations.push_back(std::fabs(v - median));
        const double departure = std::fabs(field[i] - median);
        flags[i] = departure > s.fieldFloor && departure > s.threshold * 1.4826 * Median(deviations) ? kFieldSpike : 0;
    }
    return flags;
}

TEST(SpikesInValues, SlidingWindowAgreesWithThePlainRule)
{
    // Rounded values, so windows hold ties; NaN and infinite readings among
    // them; short surveys and windows shifted at both ends.
    std::mt19937 random(3);
    for (int trial = 0; trial < 2000; ++trial) {
        const SpikeSettings settings{.halfWindow = static_cast<int>(random() % 13),
                                     .threshold = 0.5 + (random() % 16) / 2.0,
                                     .fieldFloor = trial % 2 ? 0.0 : 20.0};
        std::vector<double> field(random() % 60);
        std::vector<QualityValues> values;
        for (double& f : field) {
            const unsigned pick = random() % 40;
            f = pick == 0 ? kNaN : pick == 1 ? -HUGE_VAL : 50000 + std::round(std::normal_distribution<>(0, 10)(random)) * (pick < 4 ? 20 : 1);
            values.push_back({f, 9.80665, 60});
        }
        ASSERT_EQ(FindSpikes(values, settings), PlainFieldSpikes(field, settings)) << "trial " << trial;
    }
}

TEST(SpikesInTheDemoSurvey, DefaultSettingsFlagItsSpikesAndNothingElse)
{
    const std::string path = std::string(KESTRIX_EXAMPLES_DIR) + "/demo.txt";
    CKestrixDoc doc;
    ASSERT_EQ(LoadSurveyFile(doc, path), LoadResult::Loaded);
    const Flags flags = FindSpikes(doc.m_QualityValues);
    std::vector<int> flagged;
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i])
            flagged.push_back(static_cast<int>(i)); // the generator's sample index
    EXPECT_EQ(flagged, std::vector<int>(demo::kSpikeSamples.begin(), demo::kSpikeSamples.end()));
}

struct SettingsRow {
    const char* name;
    SpikeSettings settings;
    bool valid;
};

class SpikeSettingsRange : public ::testing::TestWithParam<SettingsRow> {};

// One rule for the windows' dialog and store and for kestrix-batch's options.
TEST_P(SpikeSettingsRange, IsValidOnlyInsideTheRanges)
{
    EXPECT_EQ(IsValidSpikeSettings(GetParam().settings), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SpikeSettingsRange,
    ::testing::Values(SettingsRow{"Defaults", {}, true},
                      SettingsRow{"Extremes", {0, 1e-9, 0, 0, 0}, true},
                      SettingsRow{"WidestWindow", {kMaxSpikeHalfWindow, 6, 50, 0.01, 0.2}, true},
                      SettingsRow{"WindowTooWide", {kMaxSpikeHalfWindow + 1, 6, 50, 0.01, 0.2}, false},
                      SettingsRow{"NegativeWindow", {-1, 6, 50, 0.01, 0.2}, false},
                      SettingsRow{"ZeroThreshold", {10, 0, 50, 0.01, 0.2}, false},
                      SettingsRow{"NaNThreshold", {10, kNaN, 50, 0.01, 0.2}, false},
                      SettingsRow{"NegativeFloor", {10, 6, 50, -0.01, 0.2}, false},
                      SettingsRow{"InfiniteFloor", {10, 6, 50, 0.01, std::numeric_limits<double>::infinity()}, false}),
    RowName());

} // namespace

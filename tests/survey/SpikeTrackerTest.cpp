#include "survey/SpikeTracker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace survey;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
using Values = std::vector<QualityValues>;

// A reading near 50000 nT, 9.8 m/s2 and 60 degrees, rounded so that windows
// hold ties; now and then a spike, a NaN or an infinite value.
QualityValues RandomReading(std::mt19937& random)
{
    std::normal_distribution<> noise(0, 1);
    const auto value = [&](double level, double step) {
        const unsigned pick = random() % 60;
        return pick == 0 ? kNaN : pick == 1 ? HUGE_VAL : level + std::round(noise(random) * 4) * step * (pick < 5 ? 40 : 1);
    };
    return {value(50000, 10), value(9.8, 0.01), value(60, 0.05)};
}

// Every finite dip moved up or down in its last place, as a recalculation may give it anew.
void NudgeEveryDip(std::mt19937& random, Values& values)
{
    for (QualityValues& v : values) {
        if (std::isfinite(v.dip))
            v.dip = std::nextafter(v.dip, random() % 2 ? 100.0 : -100.0);
    }
}

// Deletes a few readings, puts some back or changes some in place, as edits
// and their undos do, or nudges every dip.
void EditAtRandom(std::mt19937& random, Values& values)
{
    const unsigned kind = random() % 5;
    if (kind == 4) {
        NudgeEveryDip(random, values);
        return;
    }
    const std::size_t count = 1 + random() % 4;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t at = values.empty() ? 0 : random() % (values.size() + (kind == 1 ? 1 : 0));
        if (kind == 0 && !values.empty())
            values.erase(values.begin() + static_cast<std::ptrdiff_t>(at));
        else if (kind == 1)
            values.insert(values.begin() + static_cast<std::ptrdiff_t>(at), RandomReading(random));
        else if (kind == 2 && !values.empty())
            values[at] = RandomReading(random);
        else if (kind == 3 && !values.empty())
            values[at].dip = std::nextafter(values[at].dip, 100.0); // changed in the last place only
    }
}

TEST(SpikeTracker, FlagsAsTheFullPassDoesAfterEveryEdit)
{
    std::mt19937 random(11);
    for (int survey = 0; survey < 60; ++survey) {
        Values values(random() % 120);
        for (QualityValues& v : values)
            v = RandomReading(random);
        SpikeSettings settings{.halfWindow = static_cast<int>(random() % 9), .threshold = 1.0 + random() % 8};
        SpikeTracker tracker;
        for (int edit = 0; edit < 40; ++edit) {
            if (edit % 13 == 12) // the settings changed between updates
                settings = {.halfWindow = static_cast<int>(random() % 9), .threshold = 0.5 + random() % 8,
                            .gravityFloor = (random() % 3) * 0.01};
            ASSERT_EQ(tracker.Update(values, settings), FindSpikes(values, settings))
                << "survey " << survey << ", edit " << edit << ", " << values.size() << " readings";
            EditAtRandom(random, values);
        }
    }
}

// Readings taken out and put back as the survey names them (scattered, side
// by side, at the ends), between edits it does not name.
TEST(SpikeTracker, FlagsAsTheFullPassDoesAfterReadingsTakenOutAndPutBack)
{
    std::mt19937 random(7);
    for (int survey = 0; survey < 40; ++survey) {
        Values values(random() % 160);
        for (QualityValues& v : values)
            v = RandomReading(random);
        const SpikeSettings settings{.halfWindow = static_cast<int>(random() % 9), .threshold = 1.0 + random() % 8};
        SpikeTracker tracker;
        tracker.Update(values, settings);
        for (int edit = 0; edit < 30 && !values.empty(); ++edit) {
            std::vector<std::int32_t> indices;
            for (std::size_t k = 1 + random() % 5; k > 0; --k) {
                const auto at = static_cast<std::int32_t>(random() % 3 == 0 ? values.size() - 1 : random() % values.size());
                indices.push_back(at);
                if (at > 0 && random() % 2)
                    indices.push_back(at - 1);
            }
            std::sort(indices.begin(), indices.end());
            indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
            Values taken;
            for (auto k = indices.size(); k-- > 0;)
                taken.push_back(values[static_cast<std::size_t>(indices[k])]);
            Values shorter = values;
            for (auto k = indices.size(); k-- > 0;)
                shorter.erase(shorter.begin() + indices[k]);
            const SpikeTracker::Splice out{false, indices};
            ASSERT_EQ(tracker.Update(shorter, settings, &out), FindSpikes(shorter, settings))
                << "survey " << survey << ", edit " << edit << ", " << indices.size() << " taken out";
            if (random() % 3 == 0) {
                values = shorter; // kept out, the next edit goes on from here
                continue;
            }
            const SpikeTracker::Splice back{true, indices};
            ASSERT_EQ(tracker.Update(values, settings, &back), FindSpikes(values, settings))
                << "survey " << survey << ", edit " << edit << ", " << indices.size() << " put back";
            if (random() % 4 == 0) {
                NudgeEveryDip(random, values);
                ASSERT_EQ(tracker.Update(values, settings), FindSpikes(values, settings));
            }
        }
    }
}

TEST(SpikeTracker, AnEditWorksOutOnlyTheWindowsItTouched)
{
    std::mt19937 random(5);
    Values values(20000);
    for (QualityValues& v : values)
        v = RandomReading(random);
    const SpikeSettings settings; // windows of 21 readings
    SpikeTracker tracker;
    tracker.Update(values, settings);
    EXPECT_EQ(tracker.WindowsWorkedOut(), 3 * values.size());

    const QualityValues taken = values[9000];
    values.erase(values.begin() + 9000);
    EXPECT_EQ(tracker.Update(values, settings), FindSpikes(values, settings));
    EXPECT_LE(tracker.WindowsWorkedOut(), 3u * 21);
    values.insert(values.begin() + 9000, taken);
    EXPECT_EQ(tracker.Update(values, settings), FindSpikes(values, settings));
    EXPECT_LE(tracker.WindowsWorkedOut(), 3u * 22);
    // Named as taken out and put back: the windows about it and at the ends.
    const std::vector<std::int32_t> at = {9000};
    const SpikeTracker::Splice out{false, at}, back{true, at};
    values.erase(values.begin() + 9000);
    EXPECT_EQ(tracker.Update(values, settings, &out), FindSpikes(values, settings));
    EXPECT_LE(tracker.WindowsWorkedOut(), 3u * 4 * 23);
    values.insert(values.begin() + 9000, taken);
    EXPECT_EQ(tracker.Update(values, settings, &back), FindSpikes(values, settings));
    EXPECT_LE(tracker.WindowsWorkedOut(), 3u * 4 * 23);
    tracker.Update(values, settings);
    EXPECT_EQ(tracker.WindowsWorkedOut(), 0u);

    // Only readings whose verdict the drift could turn are judged on exact
    // windows: here the dips lie on a 0.05-degree grid, so about one in twelve
    // departs from its median by the 0.2-degree floor itself.
    for (int nudge = 0; nudge < 3; ++nudge) {
        NudgeEveryDip(random, values);
        EXPECT_EQ(tracker.Update(values, settings), FindSpikes(values, settings));
        EXPECT_LT(tracker.WindowsWorkedOut(), values.size() / 10);
    }
}

} // namespace

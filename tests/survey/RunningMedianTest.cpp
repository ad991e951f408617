#include "survey/Median.h"
#include "survey/RunningMedian.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace survey;

namespace {

// Values taken out and put in at random, more often on one side so the middle
// walks out of the kept band, with ties and non-finite values: the median is
// MedianOfFinite's, bit for bit, whenever it is known, and known again once
// the values are given anew.
TEST(RunningMedian, IsTheMedianOfTheFiniteValuesAsTheyComeAndGo)
{
    std::mt19937 random(3);
    std::vector<double> values;
    for (int k = 0; k < 5000; ++k)
        values.push_back(k % 97 == 0 ? std::numeric_limits<double>::quiet_NaN() : std::round(random() % 4000) / 8.0);
    RunningMedian median;
    median.Reset(values);
    int resets = 0;
    for (int step = 0; step < 6000; ++step) {
        if (random() % 3 != 0 && !values.empty()) { // mostly taken out, the low values more often
            std::size_t at = random() % values.size();
            for (int again = 0; again < 4 && !(values[at] < 250.0); ++again)
                at = random() % values.size();
            median.Remove(values[at]);
            values.erase(values.begin() + static_cast<std::ptrdiff_t>(at));
        } else {
            const double value = step % 50 == 0 ? HUGE_VAL : std::round(random() % 4000) / 8.0;
            median.Add(value);
            values.push_back(value);
        }
        if (!median.Known()) {
            median.Reset(values);
            ++resets;
        }
        const double expected = MedianOfFinite(values);
        ASSERT_TRUE(median.Median() == expected || (std::isnan(expected) && std::isnan(median.Median())))
            << "step " << step << ": " << median.Median() << " for " << expected;
    }
    EXPECT_GT(resets, 0) << "the middle left the band";
}

} // namespace

#include "NamedRows.h"
#include "survey/Hypot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace survey;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct LengthRow {
    const char* name;
    double x, y, z;
};

// Within two ulps of the C library's, on both sides of every range guard.
class HypotOf : public ::testing::TestWithParam<LengthRow> {};

TEST_P(HypotOf, AgreesWithTheCLibrary)
{
    const LengthRow& row = GetParam();
    const auto expectClose = [](double got, double want) {
        if (std::isnan(want) || std::isinf(want) || want == 0) {
            EXPECT_TRUE(std::isnan(want) ? std::isnan(got) : got == want) << got << " for " << want;
            return;
        }
        EXPECT_LE(std::fabs(got - want), 2 * (std::nextafter(want, kInf) - want)) << got << " for " << want;
    };
    expectClose(Hypot(row.x, row.y), std::hypot(row.x, row.y));
    expectClose(Hypot(row.x, row.y, row.z), std::hypot(std::hypot(row.x, row.y), row.z));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HypotOf,
    ::testing::Values(LengthRow{"Unit", 0.6, -0.8, 0}, LengthRow{"Ordinary", 0.21, 0.33, -0.45},
                      LengthRow{"OnePartNegligible", 1, 1e-200, 1e-180},
                      LengthRow{"SquaresWouldOverflow", 1e300, -1e300, 1e300},
                      LengthRow{"SquaresWouldUnderflow", 3e-300, 4e-300, 1e-300},
                      LengthRow{"Subnormal", 5e-324, 5e-324, 0}, LengthRow{"JustInsideTheRange", 0x1p-480, 0x1p-480, 0x1p499},
                      LengthRow{"Zero", 0, -0.0, 0}, LengthRow{"Infinite", kInf, 1, -kInf},
                      LengthRow{"InfiniteBeatsNaN", kNaN, -kInf, 1}, LengthRow{"NaN", kNaN, 1, 2}),
    RowName());

} // namespace

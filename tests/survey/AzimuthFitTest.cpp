#include "NamedRows.h"
#include "survey/AzimuthFit.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

using namespace survey;

namespace {

// An independent least-squares solution: normal equations in long double on
// centred and scaled abscissae, evaluated at X.
long double ReferenceFit(int degree, const std::vector<double>& x, const std::vector<double>& y, double X)
{
    const int n = static_cast<int>(x.size());
    const int m = std::min(degree, n - 1) + 1;
    long double centre = 0, spread = 0;
    for (double v : x)
        centre += v;
    centre /= n;
    for (double v : x)
        spread = std::max(spread, std::fabs(static_cast<long double>(v) - centre));
    if (spread == 0)
        spread = 1;
    long double a[5][6] = {};
    for (int k = 0; k < n; ++k) {
        const long double t = (x[k] - centre) / spread;
        long double powers[10];
        powers[0] = 1;
        for (int i = 1; i < 10; ++i)
            powers[i] = powers[i - 1] * t;
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j < m; ++j)
                a[i][j] += powers[i + j];
            a[i][m] += powers[i] * y[k];
        }
    }
    for (int col = 0; col < m; ++col) { // Gauss-Jordan with partial pivoting
        int pivot = col;
        for (int r = col + 1; r < m; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col]))
                pivot = r;
        for (int c = 0; c <= m; ++c)
            std::swap(a[col][c], a[pivot][c]);
        for (int r = 0; r < m; ++r) {
            if (r == col || a[col][col] == 0)
                continue;
            const long double f = a[r][col] / a[col][col];
            for (int c = 0; c <= m; ++c)
                a[r][c] -= f * a[col][c];
        }
    }
    const long double t = (X - centre) / spread;
    long double value = 0, power = 1;
    for (int i = 0; i < m; ++i) {
        value += (a[i][i] != 0 ? a[i][m] / a[i][i] : 0) * power;
        power *= t;
    }
    return value;
}

TEST(PolyFit, MatchesAnIndependentLeastSquaresSolutionAtRealisticDepths)
{
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; ++trial) {
        const int n = 2 + static_cast<int>(random() % 99);
        const int degree = 1 + trial % 4;
        const double start = std::uniform_real_distribution<>(0, 80000)(random);
        const double length = std::uniform_real_distribution<>(100, 20000)(random);
        std::vector<double> x, y;
        for (int k = 0; k < n; ++k) {
            x.push_back(std::round(start + length * std::uniform_real_distribution<>(0, 1)(random)));
            y.push_back(std::round(std::uniform_real_distribution<>(-18000, 36000)(random)));
        }
        double c[5];
        OrthogonalFit fit;
        PolyFit(degree + 1, x.data(), y.data(), n, c, &fit);
        for (int k = 0; k <= 20; ++k) {
            const double X = start + length * k / 20.0;
            const long double expected = ReferenceFit(degree, x, y, X);
            // Scaled units are hundredths of a degree: 1e-6 degrees is 1e-4 units.
            ASSERT_NEAR(fit.Evaluate(X), static_cast<double>(expected), 1e-4)
                << "trial " << trial << " n " << n << " degree " << degree;
        }
    }
}

struct SmallSetRow {
    const char* name;
    int m;
    std::vector<double> x, y;
    std::array<double, 5> c; // the coefficients afterwards; they start as 7s
    double tolerance;
};

class SmallSets : public ::testing::TestWithParam<SmallSetRow> {};

// Small sets give their polynomial exactly, and write only m coefficients.
TEST_P(SmallSets, GiveTheirOwnPolynomial)
{
    const SmallSetRow& row = GetParam();
    std::array<double, 5> c = {7, 7, 7, 7, 7};
    OrthogonalFit fit;
    PolyFit(row.m, row.x.data(), row.y.data(), static_cast<int>(row.x.size()), c.data(), &fit);
    for (std::size_t i = 0; i < c.size(); ++i)
        EXPECT_NEAR(c[i], row.c[i], row.tolerance) << "c[" << i << "]";
    // The orthogonal form is the same polynomial, at the points and away from them.
    for (double X : row.x) {
        for (double at : {X, X + 1000}) {
            double series = 0;
            for (int i = row.m - 1; i >= 0; --i)
                series = series * at + c[static_cast<std::size_t>(i)];
            EXPECT_NEAR(fit.Evaluate(at), series, 1e-12 * std::max(1.0, std::fabs(series))) << at;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    PolyFit, SmallSets,
    ::testing::Values(SmallSetRow{"NoPointsLeaveTheCoefficientsAlone", 3, {}, {}, {7, 7, 7, 7, 7}, 0},
                      SmallSetRow{"OnePointIsAConstant", 5, {500}, {1234}, {1234, 0, 0, 0, 0}, 0},
                      SmallSetRow{"TwoPointsGiveTheirLine", 5, {100, 300}, {10, 30}, {0, 0.1, 0, 0, 0}, 1e-12},
                      SmallSetRow{"EqualValuesStopTheFitAtAConstant", 4, {1, 5, 9}, {42, 42, 42}, {42, 0, 0, 0, 7}, 0},
                      SmallSetRow{"EqualDepthsGiveTheMeanOfTheirValues", 3, {70, 70, 70}, {1, 2, 6}, {3, 0, 0, 7, 7}, 1e-12},
                      SmallSetRow{"MorePointsThanCoefficientsGiveTheLeastSquares", 3, {-2, -1, 0, 1, 2, 3}, {5, 1, 0, 2, 8, 19},
                                  {-0.4, 229.0 / 280, 103.0 / 56, 7, 7}, 1e-12}),
    RowName());

} // namespace

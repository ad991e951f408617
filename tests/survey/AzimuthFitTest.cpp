#include "survey/AzimuthFit.h"
#include "survey/EditCommands.h"
#include "SurveyRows.h"

#include <gtest/gtest.h>

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

TEST(PolyFit, PowerSeriesAgreesWhereItIsWellConditioned)
{
    const double x[] = {-2, -1, 0, 1, 2, 3};
    const double y[] = {5, 1, 0, 2, 8, 19};
    double c[5] = {9, 9, 9, 9, 9};
    OrthogonalFit fit;
    PolyFit(3, x, y, 6, c, &fit);
    for (double X : {-2.5, 0.0, 1.5, 3.0})
        EXPECT_NEAR(c[0] + c[1] * X + c[2] * X * X, fit.Evaluate(X), 1e-9);
    EXPECT_EQ(c[3], 9) << "only m coefficients are written";
}

TEST(PolyFit, DegenerateSets)
{
    double c[5] = {7, 7, 7, 7, 7};
    PolyFit(3, nullptr, nullptr, 0, c);
    EXPECT_EQ(c[0], 7) << "no points leave the coefficients alone";

    const double one[] = {500}, oneY[] = {1234};
    PolyFit(5, one, oneY, 1, c);
    EXPECT_EQ(c[0], 1234);
    EXPECT_EQ(c[1], 0);

    const double two[] = {100, 300}, twoY[] = {10, 30};
    PolyFit(5, two, twoY, 2, c);
    EXPECT_NEAR(c[0], 0, 1e-9);
    EXPECT_NEAR(c[1], 0.1, 1e-12);
    EXPECT_EQ(c[2], 0);
    EXPECT_EQ(c[4], 0);

    const double three[] = {1, 5, 9}, flat[] = {42, 42, 42};
    PolyFit(4, three, flat, 3, c);
    EXPECT_EQ(c[0], 42);
    EXPECT_EQ(c[1], 0);
    EXPECT_EQ(c[2], 0);

    const double same[] = {70, 70, 70}, sameY[] = {1, 2, 6};
    OrthogonalFit fit;
    PolyFit(3, same, sameY, 3, c, &fit);
    EXPECT_NEAR(fit.Evaluate(70), 3, 1e-12);
    EXPECT_NEAR(fit.Evaluate(1000), 3, 1e-12) << "all-equal x give their mean";
}

// A survey with a measured azimuth of about 40 degrees.
CKestrixDoc& Survey(CKestrixDoc& doc, int rows = 50)
{
    std::vector<Row> data;
    for (int i = 0; i < rows; ++i)
        data.push_back({10.0 + i, 0.3, -0.2 + 0.001 * i, 0.4, 0.1, 0.9, 0.2});
    FillDocument(doc, data);
    return doc;
}

TEST(EditCommands, ModesExcludeEachOtherAndToggle)
{
    CKestrixDoc doc;
    EXPECT_TRUE(doc.OnCommand(ID_EDIT_DELETE_OBSERVATIONS));
    EXPECT_TRUE(doc.IsChecked(ID_EDIT_DELETE_OBSERVATIONS));
    doc.OnCommand(ID_EDIT_ADD_CONTROL_POINTS);
    EXPECT_FALSE(doc.m_bDeleteMode);
    EXPECT_TRUE(doc.IsChecked(ID_EDIT_ADD_CONTROL_POINTS));
    doc.OnCommand(ID_EDIT_ADD_CONTROL_POINTS);
    EXPECT_FALSE(doc.m_bControlMode);
    doc.OnCommand(ID_EDIT_DELETE_OBSERVATIONS);
    doc.OnCommand(ID_EDIT_DELETE_OBSERVATIONS);
    EXPECT_FALSE(doc.m_bDeleteMode);
    EXPECT_FALSE(doc.OnCommand(57603)) << "export is not the document's edit command";
}

TEST(EditCommands, RollOptionsAreCheckedOneAtATime)
{
    CKestrixDoc doc;
    Survey(doc);
    const int ids[] = {ID_ROLL_NO_ADJUSTMENT, ID_ROLL_ADD_90, ID_ROLL_ADD_180, ID_ROLL_SUBTRACT_90};
    const int values[] = {0, 90, 180, -90};
    for (int i = 0; i < 4; ++i) {
        doc.OnCommand(ids[i]);
        EXPECT_EQ(doc.m_nRollAdjust, values[i]);
        for (int j = 0; j < 4; ++j)
            EXPECT_EQ(doc.IsChecked(ids[j]), i == j);
    }
    for (int id : {ID_EDIT_CLEAR_CONTROL_POINTS, ID_EDIT_FIT_DEGREE_1, ID_EDIT_FIT_DEGREE_4})
        EXPECT_FALSE(doc.IsChecked(id));
}

TEST(EditCommands, FittingFollowsTheControlPoints)
{
    CKestrixDoc doc;
    Survey(doc);
    const double measured = doc.m_pObs[10].CalcAzMag;

    doc.OnCommand(ID_EDIT_FIT_DEGREE_3);
    EXPECT_EQ(doc.m_nCoef, 0) << "a fit without control points changes nothing";
    EXPECT_EQ(doc.m_pObs[10].AzUsed, measured);

    doc.AddControlPoint(2000, 4500);
    EXPECT_EQ(doc.m_pObs[10].AzUsed, measured) << "adding a point fits nothing yet";
    doc.OnCommand(ID_ROLL_NO_ADJUSTMENT);
    EXPECT_EQ(doc.m_nCoef, 4) << "the first point is fitted with the chosen degree";
    for (int i = 0; i < doc.m_nObs; ++i)
        EXPECT_NEAR(doc.m_pObs[i].AzUsed, 45.0, 1e-12) << "one point gives a constant";
    EXPECT_NEAR(doc.m_pObs[10].CalcAzMag, measured, 1e-12);
    EXPECT_GT(std::fabs(doc.m_pObs[10].MagE), 1e-3) << "the smoothed azimuth shows in the East component";

    doc.AddControlPoint(5000, 3500);
    doc.OnCommand(ID_ROLL_ADD_90);
    // The line through (20 m, 45 deg) and (50 m, 35 deg), at 10 m.
    EXPECT_NEAR(doc.m_pObs[0].AzUsed, 45.0 + 10.0 / 3, 1e-9) << "two points give the line through them";

    doc.OnCommand(ID_EDIT_CLEAR_CONTROL_POINTS);
    EXPECT_EQ(doc.m_nCoef, 0);
    EXPECT_EQ(doc.m_nControlPoints, 0);
    for (int i = 0; i < doc.m_nObs; ++i)
        EXPECT_EQ(doc.m_pObs[i].AzUsed, doc.m_pObs[i].CalcAzMag);
}

TEST(EditCommands, AtMostAHundredControlPoints)
{
    CKestrixDoc doc;
    for (int i = 0; i < 101; ++i)
        doc.AddControlPoint(i, -i);
    EXPECT_EQ(doc.m_nControlPoints, 100);
    EXPECT_EQ(doc.m_ControlPoints[99].x, 99);
}

TEST(DeleteObservation, RemovesOneAndKeepsTheAllocation)
{
    CKestrixDoc doc;
    Survey(doc, 5);
    const Observation third = doc.m_pObs[3];
    const Observation* storage = doc.m_pObs.get();
    doc.DeleteObservation(2);
    ASSERT_EQ(doc.m_nObs, 4);
    EXPECT_EQ(doc.m_pObs.get(), storage) << "the array keeps its allocation";
    EXPECT_EQ(doc.m_pObs[2].Depth, third.Depth);
    doc.DeleteObservation(4);
    doc.DeleteObservation(-1);
    EXPECT_EQ(doc.m_nObs, 4) << "indices outside the table are ignored";
    for (int i = 0; i < 4; ++i)
        doc.DeleteObservation(0);
    EXPECT_EQ(doc.m_nObs, 0);
    doc.OnCommand(ID_EDIT_FIT_DEGREE_2);
    EXPECT_EQ(doc.m_nObs, 0);
}

} // namespace

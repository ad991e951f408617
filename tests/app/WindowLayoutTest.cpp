// Where Tile and Cascade put the survey windows.
#include "NamedRows.h"
#include "app/WindowLayout.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QRect& r, std::ostream* out)
{
    *out << "(" << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << ")";
}

namespace {

struct LayoutRow {
    const char* name;
    int count;
    QRect area;
    std::vector<QRect> expected;
};

class Tile : public ::testing::TestWithParam<LayoutRow> {};

TEST_P(Tile, FillsTheAreaRowByRow) { EXPECT_EQ(TileGeometry(GetParam().count, GetParam().area), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    WindowLayout, Tile,
    ::testing::Values(
        LayoutRow{"NoWindow", 0, QRect(0, 0, 900, 600), {}},
        LayoutRow{"OneWindow", 1, QRect(10, 20, 900, 600), {QRect(10, 20, 900, 600)}},
        LayoutRow{"FullRows", 4, QRect(0, 0, 800, 600),
                  {QRect(0, 0, 400, 300), QRect(400, 0, 400, 300), QRect(0, 300, 400, 300), QRect(400, 300, 400, 300)}},
        LayoutRow{"PartlyFilledLastRow", 5, QRect(0, 0, 900, 600),
                  {QRect(0, 0, 300, 300), QRect(300, 0, 300, 300), QRect(600, 0, 300, 300), QRect(0, 300, 450, 300),
                   QRect(450, 300, 450, 300)}},
        LayoutRow{"OneWindowInTheLastRow", 7, QRect(0, 0, 900, 600),
                  {QRect(0, 0, 300, 200), QRect(300, 0, 300, 200), QRect(600, 0, 300, 200), QRect(0, 200, 300, 200),
                   QRect(300, 200, 300, 200), QRect(600, 200, 300, 200), QRect(0, 400, 900, 200)}},
        LayoutRow{"PixelsThatDoNotDivide", 3, QRect(0, 0, 101, 101),
                  {QRect(0, 0, 50, 50), QRect(50, 0, 51, 50), QRect(0, 50, 101, 51)}}),
    RowName());

class Cascade : public ::testing::TestWithParam<LayoutRow> {};

// One title bar (30 pixels here) across and down per window.
TEST_P(Cascade, StepsDownFromTheCorner)
{
    EXPECT_EQ(CascadeGeometry(GetParam().count, GetParam().area, 30), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    WindowLayout, Cascade,
    ::testing::Values(LayoutRow{"AreaLessTheStaircase", 3, QRect(0, 0, 900, 600),
                                {QRect(0, 0, 840, 540), QRect(30, 30, 840, 540), QRect(60, 60, 840, 540)}},
                      LayoutRow{"TwoThirdsAtLeastThenAgainFromTheCorner", 8, QRect(0, 0, 900, 600),
                                {QRect(0, 0, 690, 400), QRect(30, 30, 690, 400), QRect(60, 60, 690, 400),
                                 QRect(90, 90, 690, 400), QRect(120, 120, 690, 400), QRect(150, 150, 690, 400),
                                 QRect(180, 180, 690, 400), QRect(0, 0, 690, 400)}}),
    RowName());

} // namespace

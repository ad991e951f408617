#include "views/Cursors.h"

#include <QBitmap>
#include <QImage>

#include <gtest/gtest.h>

namespace {

// Row `y` of the cursor from column `x0` as '#' (black) and '.' (transparent);
// 'w' would be an opaque white pixel, which none of the cursors has.
std::string Row(const QCursor& cursor, int y, int x0 = 0, int n = 32)
{
    const QImage shape = cursor.bitmap().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage mask = cursor.mask().toImage().convertToFormat(QImage::Format_RGB32);
    std::string row;
    for (int x = x0; x < x0 + n; ++x)
        row += qGray(mask.pixel(x, y)) >= 128 ? '.' : qGray(shape.pixel(x, y)) < 128 ? '#' : 'w';
    return row;
}

TEST(Cursors, DrawTheirShapesAroundTheirHotSpots)
{
    const QCursor del = MakeDeleteCursor();
    const QCursor target = MakeTargetCursor();
    const QCursor control = MakeControlCursor();
    EXPECT_EQ(del.hotSpot(), QPoint(7, 7));
    EXPECT_EQ(target.hotSpot(), QPoint(7, 7));
    EXPECT_EQ(control.hotSpot(), QPoint(15, 15));
    EXPECT_EQ(del.bitmap().size(), QSize(32, 32));

    // Delete: a 15 x 15 crosshair with its centre open, and a burst at (23, 23).
    EXPECT_EQ(Row(del, 7, 0, 16), "#######.#######.");
    EXPECT_EQ(Row(del, 0, 0, 16), ".......#........");
    EXPECT_EQ(Row(del, 15, 0, 16), "................");
    EXPECT_EQ(Row(del, 23, 18, 11), ".#########.");
    EXPECT_EQ(Row(del, 19, 18, 11), ".#...#...#.");
    // Target: an 11 x 11 square, sides two pixels thick, and the same burst.
    EXPECT_EQ(Row(target, 1, 0, 14), "..............");
    EXPECT_EQ(Row(target, 3, 0, 14), "..###########.");
    EXPECT_EQ(Row(target, 7, 0, 14), "..##.......##.");
    EXPECT_EQ(Row(target, 12, 0, 14), "..###########.");
    EXPECT_EQ(Row(target, 23, 18, 11), ".#########.");
    // Control point: a 31 x 31 crosshair with a 3 x 3 gap.
    EXPECT_EQ(Row(control, 15), std::string(14, '#') + "..." + std::string(14, '#') + ".");
    EXPECT_EQ(Row(control, 13, 14, 3), ".#.");
    EXPECT_EQ(Row(control, 14, 14, 3), "...");
    EXPECT_EQ(Row(control, 0, 14, 3), ".#.");
    EXPECT_EQ(Row(control, 31, 14, 3), "...");
}

} // namespace

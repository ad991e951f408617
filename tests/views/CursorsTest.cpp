#include "Cursors.h"

#include <QBitmap>
#include <QImage>

#include <gtest/gtest.h>

namespace {

// The cursor's shape as rows of '#' (black) and '.' (transparent).
std::vector<std::string> Picture(const QCursor& cursor)
{
    const QImage shape = cursor.bitmap().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage mask = cursor.mask().toImage().convertToFormat(QImage::Format_RGB32);
    std::vector<std::string> rows;
    for (int y = 0; y < shape.height(); ++y) {
        std::string row;
        for (int x = 0; x < shape.width(); ++x) {
            const bool opaque = qGray(mask.pixel(x, y)) < 128;
            const bool black = qGray(shape.pixel(x, y)) < 128;
            row += opaque ? (black ? '#' : 'w') : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(Cursors, AreThirtyTwoSquareBlackOnTransparentWithTheirHotSpots)
{
    struct Row {
        const char* name;
        QCursor cursor;
        QPoint hotSpot;
    };
    for (const Row& r : {Row{"delete", MakeDeleteCursor(), {7, 7}}, Row{"target", MakeTargetCursor(), {7, 7}},
                         Row{"control", MakeControlCursor(), {15, 15}}}) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.cursor.hotSpot(), r.hotSpot);
        const auto rows = Picture(r.cursor);
        ASSERT_EQ(rows.size(), 32u);
        for (const std::string& row : rows) {
            ASSERT_EQ(row.size(), 32u);
            EXPECT_EQ(row.find('w'), std::string::npos) << row; // nothing white
        }
    }
}

TEST(Cursors, DeleteCursorIsAnOpenCentredCrosshairAndABurst)
{
    const auto rows = Picture(MakeDeleteCursor());
    EXPECT_EQ(rows[7].substr(0, 16), "#######.#######.");
    for (int y = 0; y < 15; ++y)
        EXPECT_EQ(rows[y][7], y == 7 ? '.' : '#') << y;
    EXPECT_EQ(rows[15][7], '.');
    EXPECT_EQ(rows[23].substr(18, 11), ".#########.");
    EXPECT_EQ(rows[19][19], '#');
    EXPECT_EQ(rows[27][19], '#');
}

TEST(Cursors, TargetCursorIsAHollowSquareWithThickSides)
{
    const auto rows = Picture(MakeTargetCursor());
    EXPECT_EQ(rows[1].substr(0, 14), "..............");
    EXPECT_EQ(rows[2].substr(0, 14), "..###########.");
    EXPECT_EQ(rows[3].substr(0, 14), "..###########.");
    EXPECT_EQ(rows[7].substr(0, 14), "..##.......##.");
    EXPECT_EQ(rows[12].substr(0, 14), "..###########.");
    EXPECT_EQ(rows[13].substr(0, 14), "..............");
    EXPECT_EQ(rows[23][23], '#');
}

TEST(Cursors, ControlCursorIsALargeCrosshairWithAGap)
{
    const auto rows = Picture(MakeControlCursor());
    EXPECT_EQ(rows[15], std::string(14, '#') + "..." + std::string(14, '#') + ".");
    for (int y = 0; y < 32; ++y)
        EXPECT_EQ(rows[y][15], (y >= 14 && y <= 16) || y == 31 ? '.' : '#') << y;
    EXPECT_EQ(rows[14][14], '.');
}

} // namespace

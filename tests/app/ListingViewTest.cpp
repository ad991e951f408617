// The listing window: what it draws where, how it looks, and the status bar.
#include "AppTestSupport.h"
#include "FakeViewServices.h"
#include "SurveyRows.h"

#include "app/ChildFrame.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"
#include "survey/ListingRows.h"
#include "views/CKestrixView.h"

#include <QFontMetrics>
#include <QImage>

#include <QPainter>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

using namespace survey;

namespace {

// A survey of 401 observations every 0.25 m, loaded without windows.
void LoadSurvey(CKestrixDoc& doc, int rows = 401)
{
    RecordingSink sink;
    ASSERT_EQ(LoadText(doc, RawSurveyText(rows, 3.0, 0.25).toStdString(), sink), LoadResult::Loaded);
}

// The drawn pieces grouped into lines by their y, each line run together.
QStringList DrawnLines(const std::vector<CKestrixView::DrawnPiece>& drawn)
{
    QStringList lines;
    int y = -1;
    for (const auto& piece : drawn) {
        if (piece.topLeft.y() != y) {
            lines.append(QString());
            y = piece.topLeft.y();
        }
        lines.last() += piece.text;
    }
    return lines;
}

TEST(ListingViewTest, DrawsEveryLineSixteenPixelsApartAndEachPieceWhereTheLastEnded)
{
    CKestrixDoc doc;
    LoadSurvey(doc);
    const ListingText listing = BuildListing(doc);
    QImage image(1400, 800, QImage::Format_RGB32);
    QPainter painter(&image);
    std::vector<CKestrixView::DrawnPiece> drawn;
    CKestrixView::DrawListing(painter, listing, &drawn);
    painter.end();

    const QString expected = QString::fromStdString(ListingAsText(listing));
    EXPECT_EQ(DrawnLines(drawn).join('\n') + '\n', expected);
    ASSERT_EQ(drawn.size(), 5 + 6 * (1 + listing.rows.size()));

    const QFontMetrics metrics(CKestrixView::ListingFont(), &image);
    int line = -1;
    int x = 0;
    int previousY = -1;
    for (const auto& piece : drawn) {
        if (piece.topLeft.y() != previousY) {
            ++line;
            x = 0;
            previousY = piece.topLeft.y();
        }
        EXPECT_EQ(piece.topLeft, QPoint(x, 16 * line)) << piece.text.toStdString();
        x += metrics.horizontalAdvance(piece.text);
    }
}

TEST(ListingViewTest, ShowsTheSameTextAsTheBatchListing)
{
#ifndef KESTRIX_BATCH
    GTEST_SKIP() << "kestrix-batch is not built";
#else
    ScratchFolder folder;
    const QString path = PathIn(folder, "survey.txt");
    ASSERT_TRUE(WriteFile(path, RawSurveyText(401, 3.0, 0.25)));
    QProcess batch;
    batch.start(QStringLiteral(KESTRIX_BATCH), {"listing", path});
    ASSERT_TRUE(batch.waitForFinished(30000));
    ASSERT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
    const QString printed = QString::fromLatin1(batch.readAllStandardOutput()).remove('\r');

    CKestrixDoc doc;
    FileLineSource source(ToCorePath(path));
    RecordingSink sink;
    ASSERT_EQ(doc.LoadRawSurvey(ToCorePath(path), source, sink), LoadResult::Loaded);
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    std::vector<CKestrixView::DrawnPiece> drawn;
    CKestrixView::DrawListing(painter, BuildListing(doc), &drawn);
    EXPECT_EQ(DrawnLines(drawn).join('\n') + '\n', printed);
#endif
}

TEST(ListingViewTest, FontIsFixedPitchWithASixteenPixelCell)
{
    const QFont font = CKestrixView::ListingFont();
    const QFontMetrics metrics(font);
    EXPECT_LE(metrics.height(), 16);
    EXPECT_GE(metrics.height(), 13);
    EXPECT_EQ(metrics.horizontalAdvance("i"), metrics.horizontalAdvance("M"));
    EXPECT_EQ(metrics.horizontalAdvance("i"), metrics.horizontalAdvance("0"));
    EXPECT_EQ(metrics.horizontalAdvance("i"), metrics.horizontalAdvance(" "));
}

// Black text on white: ink in the header's first line and in the last row,
// none below the last row, white on the right of the widest line.
TEST(ListingViewTest, RendersBlackTextOnWhite)
{
    CKestrixDoc doc;
    LoadSurvey(doc, 21);
    FakeViewServices services;
    CKestrixView view(doc, services);
    view.resize(1600, 400);
    const QImage image = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int rows = static_cast<int>(BuildListing(doc).rows.size());
    auto inkIn = [&](int top, int bottom, int right) {
        int ink = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < right; ++x) {
                const QRgb pixel = image.pixel(x, y);
                EXPECT_EQ(qRed(pixel), qGreen(pixel)) << x << "," << y; // grey levels only
                if (qGray(pixel) < 96)
                    ++ink;
            }
        }
        return ink;
    };
    EXPECT_GT(inkIn(0, 16, 200), 50);
    EXPECT_GT(inkIn(16 * (6 + rows - 1), 16 * (6 + rows), 1200), 100);
    EXPECT_EQ(inkIn(16 * (6 + rows), 400, 1600), 0);
    EXPECT_EQ(inkIn(0, 400, 1600) - inkIn(0, 400, 1300), 0);
    EXPECT_EQ(image.pixel(1599, 0), qRgb(255, 255, 255));
}

// The main frame's panes, after a plot view has filled them.
TEST(ListingViewTest, MouseMoveInTheProgramBlanksTheStatusBar)
{
    AppHarness harness;
    ASSERT_TRUE(harness.Start({harness.MakeSurvey("demo.txt")}));
    CMainFrame* main = harness.App().MainFrame();
    harness.App().SetPaneText(0, "Click to delete");
    harness.App().SetPaneText(1, "Depth: 10.00");
    EXPECT_EQ(main->PaneText(1), "Depth: 10.00");
    QWidget* listing = harness.Frames()[0]->widget();
    QMouseEvent move(QEvent::MouseMove, QPointF(41, 41), listing->mapToGlobal(QPointF(41, 41)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(listing, &move);
    EXPECT_EQ(main->PaneText(0), "");
    EXPECT_EQ(main->PaneText(1), "");
}

} // namespace

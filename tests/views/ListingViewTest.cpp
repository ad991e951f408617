// The listing view: its picture, scrolling through every row, selecting and
// copying rows.
#include "FakeViewServices.h"
#include "NamedRows.h"
#include "RawSurveyText.h"
#include "ScratchFolder.h"
#include "SurveyRows.h"

#include "survey/EditRecord.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"
#include "survey/ListingRows.h"
#include "textio/NumberText.h"
#include "views/CKestrixView.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <fstream>
#include <cmath>
#include <functional>
#include <limits>
#include <gtest/gtest.h>

using namespace survey;

namespace {

using Line = std::vector<std::string>;

// A survey of `rows` observations `step` metres apart from 3 m, loaded without windows.
void LoadSurvey(CKestrixDoc& doc, int rows = 401, double step = 0.25)
{
    RecordingSink sink;
    ASSERT_EQ(LoadText(doc, RawSurveyText(rows, 3.0, step).toStdString(), sink), LoadResult::Loaded);
}

std::vector<Line> LinesOf(const ListingText& listing)
{
    std::vector<Line> lines;
    for (const std::string& line : listing.headerLines)
        lines.push_back({line});
    lines.emplace_back(listing.headingPieces.begin(), listing.headingPieces.end());
    for (const ListingText::Row& row : listing.rows)
        lines.emplace_back(row.pieces.begin(), row.pieces.end());
    return lines;
}

// `lines` drawn as the listing has always been drawn: line k at y = 16 k from
// the top-left corner, each piece where the one before it ended, black text
// on white cells over white.
QImage ReferencePicture(const std::vector<Line>& lines, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QFont font = CKestrixView::ListingFont();
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    const QFontMetrics metrics(font, &image);
    for (std::size_t k = 0; k < lines.size() && 16 * static_cast<int>(k) < size.height(); ++k) {
        int x = 0;
        for (const std::string& piece : lines[k]) {
            const QString text = QString::fromStdString(piece);
            painter.drawText(x, 16 * static_cast<int>(k) + metrics.ascent(), text);
            x += metrics.horizontalAdvance(text);
        }
    }
    return image;
}

QImage Picture(CKestrixView& view) { return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The 16-pixel band of `image` from `top`.
QImage Band(const QImage& image, int top) { return image.copy(0, top, image.width(), 16); }

// Fields of a printed line, tab-separated.
std::string TabSeparated(const Line& line)
{
    std::string joined;
    for (const std::string& piece : line)
        joined += piece;
    std::string fields;
    textio::ForEachToken(joined, [&](std::string_view token) {
        fields += (fields.empty() ? "" : "\t") + std::string(token);
        return true;
    });
    return fields;
}

struct PictureRow {
    const char* name;
    int observations;
    QSize window;
    ListedRows rows = ListedRows::TenMetreSteps;
    std::function<void(CKestrixDoc&)> change = [](CKestrixDoc&) {};
};

class ListingPictureTest : public ::testing::TestWithParam<PictureRow> {};

// Unscrolled and without a selection: the same pixels as ever, wherever no
// scroll bar covers them.
TEST_P(ListingPictureTest, UnscrolledItIsTheListingAtSixteenPixelSteps)
{
    CKestrixDoc doc;
    LoadSurvey(doc, GetParam().observations);
    GetParam().change(doc);
    FakeViewServices services;
    CKestrixView view(doc, services);
    view.SetListedRows(GetParam().rows);
    view.resize(GetParam().window);
    view.show();
    const QImage shown = Picture(view);
    EXPECT_EQ(shown, ReferencePicture(LinesOf(BuildListing(doc, GetParam().rows)), shown.size()));
}

INSTANTIATE_TEST_SUITE_P(Windows, ListingPictureTest,
                         ::testing::Values(PictureRow{"AllFits", 21, {1600, 400}},
                                           PictureRow{"ScrollBarsAtTheEdges", 401, {700, 300}},
                                           PictureRow{"EveryReading", 401, {700, 300}, ListedRows::EveryReading},
                                           PictureRow{"NumbersOutOfTheOrdinary", 21, {1600, 400},
                                                      ListedRows::EveryReading,
                                                      [](CKestrixDoc& doc) {
                                                          doc.m_pObs[1].East = 1e20;
                                                          doc.m_pObs[2].CalcIncl = std::nan("");
                                                          doc.m_pObs[3].MagE = -std::numeric_limits<double>::infinity();
                                                          doc.m_pObs[4].North = -0.000001;
                                                      }}),
                         RowName());

TEST(ListingViewTest, ShowsTheSameTextAsTheBatchListing)
{
#ifndef KESTRIX_BATCH
    GTEST_SKIP() << "kestrix-batch is not built";
#else
    ScratchFolder folder;
    const std::string path = folder / "survey.txt";
    {
        std::ofstream file(path, std::ios::binary);
        file << RawSurveyText(401, 3.0, 0.25).toStdString();
        ASSERT_TRUE(file.good());
    }
    QProcess batch;
    batch.start(QStringLiteral(KESTRIX_BATCH), {"listing", QString::fromStdString(path)});
    ASSERT_TRUE(batch.waitForFinished(30000));
    ASSERT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
    const QString printed = QString::fromLatin1(batch.readAllStandardOutput()).remove('\r');

    CKestrixDoc doc;
    FileLineSource source(path);
    RecordingSink sink;
    ASSERT_EQ(doc.LoadRawSurvey(path, source, sink), LoadResult::Loaded);
    FakeViewServices services;
    CKestrixView view(doc, services);
    EXPECT_EQ(QString::fromStdString(ListingAsText(view.Listing())), printed);
#endif
}

// Inside a window, away from its corner, the rows are where they are drawn
// in the listing alone.
TEST(ListingViewTest, ShowsTheSameRowsAwayFromTheWindowCorner)
{
    CKestrixDoc doc;
    LoadSurvey(doc, 41);
    FakeViewServices services;
    QWidget window;
    window.resize(900, 500);
    CKestrixView view(doc, services, &window);
    view.setGeometry(37, 53, 800, 400);
    window.show();
    const QImage whole = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect shown(view.viewport()->mapTo(&window, QPoint(0, 0)), view.viewport()->size());
    EXPECT_EQ(whole.copy(shown), Picture(view));
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

// A 20000-reading survey 10 m apart, so every reading is a listed row.
class LongListingTest : public ::testing::Test {
protected:
    static constexpr int kReadings = 20000;
    static void SetUpTestSuite()
    {
        doc = new CKestrixDoc;
        LoadSurvey(*doc, kReadings, 10.0);
    }
    static void TearDownTestSuite() { delete doc; }

    void SetUp() override
    {
        view = std::make_unique<CKestrixView>(*doc, services);
        view->resize(900, 600);
        view->show();
        ASSERT_EQ(view->Listing().rows.size(), std::size_t{kReadings});
    }

    static CKestrixDoc* doc;
    FakeViewServices services;
    std::unique_ptr<CKestrixView> view;
};
CKestrixDoc* LongListingTest::doc = nullptr;

TEST_F(LongListingTest, TheScrollBarsReachTheLastRowAndTheEndOfTheWidestLine)
{
    QScrollBar* vertical = view->verticalScrollBar();
    vertical->setValue(vertical->maximum());
    const ListingGeometry at = view->Geometry();
    const int last = at.rows - 1;
    EXPECT_EQ(at.RowTop(last) + 16, at.viewHeight - at.viewHeight % 16); // the last whole line
    const ListingText& listing = view->Listing();
    const QImage shown = Picture(*view);
    const Line lastRow(listing.rows.back().pieces.begin(), listing.rows.back().pieces.end());
    const Line heading(listing.headingPieces.begin(), listing.headingPieces.end());
    EXPECT_EQ(Band(shown, at.RowTop(last)), ReferencePicture({lastRow}, {shown.width(), 16}));
    EXPECT_EQ(Band(shown, 0), ReferencePicture({heading}, {shown.width(), 16})) << "the heading stays at the top";

    // Each piece of a line starts where the one before it ended.
    const std::vector<Line> lines = LinesOf(view->Listing());
    const auto characters = [](const Line& line) {
        std::size_t count = 0;
        for (const std::string& piece : line)
            count += piece.size();
        return count;
    };
    const Line& widest = *std::max_element(lines.begin(), lines.end(),
                                           [&](const Line& a, const Line& b) { return characters(a) < characters(b); });
    const QFontMetrics metrics(CKestrixView::ListingFont());
    int width = 0;
    for (const std::string& piece : widest)
        width += metrics.horizontalAdvance(QString::fromStdString(piece));
    EXPECT_EQ(view->horizontalScrollBar()->maximum() + view->viewport()->width(), width);
}

struct ScrollRow {
    const char* name;
    bool fromEnd;
    std::function<void(CKestrixView&)> action;
    // The scroll expected, given the layout before the action.
    std::function<int(const ListingGeometry&)> expected;
};

class ListingScrollTest : public LongListingTest, public ::testing::WithParamInterface<ScrollRow> {};

void Wheel(CKestrixView& view, int notches)
{
    const QPointF at(100, 200);
    QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view.viewport(), &wheel);
}

TEST_P(ListingScrollTest, ScrollsByWholeLines)
{
    if (GetParam().fromEnd)
        QTest::keyClick(view.get(), Qt::Key_End);
    const ListingGeometry before = view->Geometry();
    GetParam().action(*view);
    EXPECT_EQ(view->Geometry().scroll, GetParam().expected(before));
}

auto Key(Qt::Key key)
{
    return [key](CKestrixView& view) { QTest::keyClick(&view, key); };
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ListingScrollTest,
    ::testing::Values(
        ScrollRow{"EndShowsTheLastRow", false, Key(Qt::Key_End), [](const auto& g) { return g.rows + 5 - g.PageRows(); }},
        ScrollRow{"HomeShowsTheCollar", true, Key(Qt::Key_Home), [](const auto&) { return 0; }},
        ScrollRow{"PageDownMovesAPage", false, Key(Qt::Key_PageDown), [](const auto& g) { return g.PageRows(); }},
        ScrollRow{"PageUpMovesAPage", true, Key(Qt::Key_PageUp), [](const auto& g) { return g.scroll - g.PageRows(); }},
        ScrollRow{"DownMovesALine", false, Key(Qt::Key_Down), [](const auto&) { return 1; }},
        ScrollRow{"UpMovesALine", true, Key(Qt::Key_Up), [](const auto& g) { return g.scroll - 1; }},
        ScrollRow{"DownStopsAtTheLastRow", true, Key(Qt::Key_Down), [](const auto& g) { return g.scroll; }},
        ScrollRow{"WheelMovesThreeLines", false, [](CKestrixView& v) { Wheel(v, 1); }, [](const auto&) { return 3; }}),
    RowName());

// After a page down the row that was cut off at the bottom is the first under the heading.
TEST_F(LongListingTest, PageDownBringsTheNextRowsUnderTheHeading)
{
    QTest::keyClick(view.get(), Qt::Key_PageDown);
    QTest::keyClick(view.get(), Qt::Key_PageDown);
    const ListingGeometry before = view->Geometry();
    QTest::keyClick(view.get(), Qt::Key_PageDown);
    const ListingGeometry after = view->Geometry();
    EXPECT_EQ(after.FirstVisibleRow(), before.LastWholeRow() + 1);
    EXPECT_EQ(after.RowTop(after.FirstVisibleRow()), 16);
}

// The rows selected by a gesture, and what Copy then gives.
constexpr int kNone = -1;
constexpr int kLastRow = -2;
struct SelectionRow {
    const char* name;
    std::function<void(CKestrixView&)> gesture;
    int first; // kNone: no selection
    int last;  // or kLastRow
};

class ListingSelectionTest : public ::testing::TestWithParam<SelectionRow> {};

QPoint OnRow(const CKestrixView& view, int row) { return {40, view.Geometry().RowTop(row) + 8}; }

void Click(CKestrixView& view, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, OnRow(view, row));
}

void MouseEvent(CKestrixView& view, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, view.viewport()->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &event);
}

TEST_P(ListingSelectionTest, SelectsRowsAndCopiesThemTabSeparated)
{
    CKestrixDoc doc;
    LoadSurvey(doc, 2001); // 52 rows, more than the window shows
    FakeViewServices services;
    CKestrixView view(doc, services);
    view.resize(900, 600);
    view.show();
    GetParam().gesture(view);
    const int first = GetParam().first;
    const int last = GetParam().last == kLastRow ? static_cast<int>(view.Listing().rows.size()) - 1 : GetParam().last;
    ASSERT_EQ(view.HasSelection(), first >= 0);

    std::string expected;
    if (first >= 0) {
        const std::vector<Line> lines = LinesOf(view.Listing());
        expected = TabSeparated(lines[5]) + "\n";
        for (int row = first; row <= last; ++row)
            expected += TabSeparated(lines[6 + static_cast<std::size_t>(row)]) + "\n";
        EXPECT_EQ(view.FirstSelectedRow(), first);
        EXPECT_EQ(view.LastSelectedRow(), last);
    }
    EXPECT_EQ(view.SelectedText().toStdString(), expected);

    // Highlighted across the window, the rows around as before.
    const QImage shown = Picture(view);
    const ListingGeometry g = view.Geometry();
    const QColor highlight =
        view.palette().color(view.hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::Highlight);
    for (int row = g.FirstVisibleRow(); row <= std::min(g.LastWholeRow(), g.rows - 1); ++row) {
        const bool selected = row >= first && row <= last;
        EXPECT_EQ(shown.pixelColor(shown.width() - 1, g.RowTop(row)) == highlight, selected) << row;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Gestures, ListingSelectionTest,
    ::testing::Values(
        SelectionRow{"NothingAtFirst", [](CKestrixView&) {}, kNone, kNone},
        SelectionRow{"ClickSelectsARow", [](CKestrixView& v) { Click(v, 3); }, 3, 3},
        SelectionRow{"ShiftClickExtends",
                     [](CKestrixView& v) {
                         Click(v, 7);
                         Click(v, 2, Qt::ShiftModifier);
                     },
                     2, 7},
        SelectionRow{"DragSelects",
                     [](CKestrixView& v) {
                         MouseEvent(v, QEvent::MouseButtonPress, OnRow(v, 1), Qt::LeftButton);
                         MouseEvent(v, QEvent::MouseMove, OnRow(v, 4), Qt::LeftButton);
                         MouseEvent(v, QEvent::MouseButtonRelease, OnRow(v, 4), Qt::NoButton);
                     },
                     1, 4},
        SelectionRow{"ShiftArrowsExtend",
                     [](CKestrixView& v) {
                         Click(v, 5);
                         QTest::keyClick(&v, Qt::Key_Down, Qt::ShiftModifier);
                         QTest::keyClick(&v, Qt::Key_Down, Qt::ShiftModifier);
                     },
                     5, 7},
        SelectionRow{"ShiftEndSelectsToTheLastRow",
                     [](CKestrixView& v) {
                         Click(v, 0);
                         QTest::keyClick(&v, Qt::Key_End, Qt::ShiftModifier);
                     },
                     0, kLastRow},
        SelectionRow{"CtrlASelectsEveryRow", [](CKestrixView& v) { QTest::keyClick(&v, Qt::Key_A, Qt::ControlModifier); },
                     0, kLastRow},
        SelectionRow{"ClickOnTheHeadingClears",
                     [](CKestrixView& v) {
                         Click(v, 3);
                         QTest::mouseClick(v.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 88));
                     },
                     kNone, kNone}),
    RowName());

// The text is built again when the survey changes, and only then; a change
// of the listed observations ends the selection.
TEST(ListingViewTest, FollowsTheSurveyThroughEdits)
{
    CKestrixDoc doc;
    LoadSurvey(doc);
    FakeViewServices services;
    CKestrixView view(doc, services);
    view.resize(900, 600);
    view.show();
    Click(view, 2);
    const std::string before = ListingAsText(view.Listing());

    ApplyRecorded(doc, edit::SetRollAdjustment{90});
    EXPECT_NE(ListingAsText(view.Listing()), before);
    EXPECT_EQ(ListingAsText(view.Listing()), ListingAsText(BuildListing(doc)));
    EXPECT_TRUE(view.HasSelection()) << "the same rows are listed";

    ApplyRecorded(doc, edit::DeleteObservation{0});
    EXPECT_EQ(ListingAsText(view.Listing()), ListingAsText(BuildListing(doc)));
    EXPECT_FALSE(view.HasSelection());
}

// Listing every reading and going to a depth, in a window of 20 rows.
TEST(ListingViewTest, ListsEveryReadingAndCentresTheRowNearestADepth)
{
    CKestrixDoc doc;
    LoadSurvey(doc, 2001); // from 3 m to 503 m, 0.25 m apart: 52 rows
    FakeViewServices services;
    CKestrixView view(doc, services);
    view.resize(900, 16 * 21);
    view.show();
    view.verticalScrollBar()->setValue(5 + 20); // the row of 200 m first under the heading
    ASSERT_EQ(doc.m_pObs[view.ObservationOfRow(view.Geometry().FirstVisibleRow())].Depth, 200.0);

    view.SetListedRows(ListedRows::EveryReading);
    EXPECT_EQ(ListingAsText(view.Listing()), ListingAsText(BuildListing(doc, ListedRows::EveryReading)));
    EXPECT_EQ(doc.m_pObs[view.ObservationOfRow(view.Geometry().FirstVisibleRow())].Depth, 200.0)
        << "the same place of the hole stays first";

    const int row = view.ShowDepth(150.1);
    EXPECT_EQ(doc.m_pObs[view.ObservationOfRow(row)].Depth, 150.0);
    EXPECT_EQ(view.FirstSelectedRow(), row);
    EXPECT_EQ(view.LastSelectedRow(), row);
    const ListingGeometry g = view.Geometry();
    EXPECT_NEAR(row - g.FirstVisibleRow(), g.LastWholeRow() - row, 1) << "in the middle of the window";

    view.SetListedRows(ListedRows::TenMetreSteps);
    EXPECT_FALSE(view.HasSelection());
    EXPECT_EQ(doc.m_pObs[view.ObservationOfRow(view.ShowDepth(153.1))].Depth, 150.0);
}

struct WideRow {
    const char* name;
    int readings;
    int wide; // the reading whose East is too large for its field
};

class ListingWidthTest : public ::testing::TestWithParam<WideRow> {};

// A number too large for its field widens the listing once the survey says
// it changed, also where a long listing measures that row only after the
// paint, from the event loop.
TEST_P(ListingWidthTest, AValueTooLargeForItsFieldWidensTheListing)
{
    CKestrixDoc doc;
    LoadSurvey(doc, GetParam().readings);
    FakeViewServices services;
    CKestrixView view(doc, services);
    view.SetListedRows(ListedRows::EveryReading);
    view.resize(900, 600);
    view.show();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1000);
    const int before = view.horizontalScrollBar()->maximum();
    const int wide = GetParam().wide;
    doc.m_pObs[wide].East = 1e20;
    doc.UpdateAllViews();
    Picture(view); // the paint lays the listing out again, the scroll bars follow
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1000);
    const QFontMetrics metrics(CKestrixView::ListingFont());
    const std::string row = BuildListingRow(doc, wide).pieces[5];
    const int widening = metrics.horizontalAdvance(QString::fromStdString(row)) - metrics.horizontalAdvance(QString(56, '0'));
    EXPECT_EQ(view.horizontalScrollBar()->maximum() - before, widening);

    doc.m_pObs[wide].East = 12.5;
    doc.UpdateAllViews();
    Picture(view);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1000);
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), before) << "narrow again";
}

INSTANTIATE_TEST_SUITE_P(Rows, ListingWidthTest,
                         ::testing::Values(WideRow{"FewReadings", 401, 123}, WideRow{"ManyReadingsTheLastRow", 40000, 39999}),
                         RowName());

} // namespace

// Start-up, opening surveys, the windows and menus they bring, closing.
#include "AppTestSupport.h"
#include "NamedRows.h"

#include "app/AppIcon.h"
#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/FixedScalesSetting.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"
#include "app/SurveyDocument.h"
#include "survey/KestrixDoc.h"
#include "views/CKestrixView.h"
#include "views/PlotViews.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QApplication>
#include <QStatusBar>
#include <QTimer>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace survey;

namespace {

QStringList BarTitles(CMainFrame* frame)
{
    QStringList titles;
    for (QAction* action : frame->menuBar()->actions())
        titles.append(action->text());
    return titles;
}

const QStringList kMainMenus = {"&File", "&View", "&Help"};
const QStringList kSurveyMenus = {"&File", "&Edit", "&View", "&Window", "&Help"};

// The windows cover the MDI area without overlapping.
void ExpectTiled(CMainFrame* main, const std::vector<CChildFrame*>& frames)
{
    const QRect area = main->MdiArea()->viewport()->rect();
    long long covered = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const QRect r = frames[i]->geometry();
        EXPECT_TRUE(area.contains(r)) << i;
        covered += static_cast<long long>(r.width()) * r.height();
        for (std::size_t j = i + 1; j < frames.size(); ++j)
            EXPECT_FALSE(r.intersects(frames[j]->geometry())) << i << " and " << j;
    }
    EXPECT_EQ(covered, static_cast<long long>(area.width()) * area.height());
}

class AppShellTest : public ::testing::Test {
protected:
    AppHarness harness;
};

TEST_F(AppShellTest, StartsWithTheMainMenuBarAndNoSurvey)
{
    ASSERT_TRUE(harness.Start());
    CMainFrame* main = harness.App().MainFrame();
    EXPECT_EQ(main->MenuShown(), MenuBar::Main);
    EXPECT_EQ(BarTitles(main), kMainMenus);
    EXPECT_TRUE(harness.Frames().empty());
    EXPECT_EQ(main->windowTitle(), "Kestrix");
    for (int id : {ID_FILE_NEW, ID_FILE_CLOSE, ID_FILE_EXPORT, ID_EDIT_CUT, ID_EDIT_COPY,
                   ID_EDIT_PASTE, ID_FILE_PRINT})
        EXPECT_FALSE(main->Action(id)->isEnabled()) << id;
    EXPECT_FALSE(main->ToolBar()->widgetForAction(main->Action(ID_FILE_NEW))->isEnabled());
    EXPECT_TRUE(main->ToolBar()->widgetForAction(main->Action(ID_FILE_OPEN))->isEnabled());
    EXPECT_EQ(main->PaneText(0), "Ready");
    EXPECT_EQ(main->PaneText(1), "Depth:");
    EXPECT_EQ(harness.App().StatusBar(), main->statusBar());
    EXPECT_TRUE(harness.prompts.messages.isEmpty());
}

TEST_F(AppShellTest, OpeningASurveyGivesFourTiledWindowsWithTheListingActive)
{
    ASSERT_TRUE(harness.Start());
    const QString path = harness.MakeSurvey("demo.txt");
    const CKestrixDoc* doc = harness.App().OpenDocumentFile(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(harness.prompts.messages.isEmpty());
    EXPECT_EQ(doc->m_nObs, 201);

    const auto frames = harness.Frames();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(harness.Captions(), QStringList({"demo.txt:1", "demo.txt:2", "demo.txt:3", "demo.txt:4"}));
    EXPECT_NE(qobject_cast<CKestrixView*>(frames[0]->widget()), nullptr);
    EXPECT_NE(qobject_cast<CInclView*>(frames[1]->widget()), nullptr);
    EXPECT_NE(qobject_cast<CAzView*>(frames[2]->widget()), nullptr);
    EXPECT_NE(qobject_cast<CMagView*>(frames[3]->widget()), nullptr);
    for (CChildFrame* frame : frames)
        EXPECT_EQ(frame->Document().Doc(), doc);

    CMainFrame* main = harness.App().MainFrame();
    EXPECT_EQ(main->ActiveFrame(), frames[0]);
    EXPECT_EQ(main->MdiArea()->activeSubWindow(), frames[0]);
    EXPECT_EQ(main->MenuShown(), MenuBar::Survey);
    EXPECT_EQ(BarTitles(main), kSurveyMenus);
    EXPECT_EQ(main->windowTitle(), "Kestrix - demo.txt");
    EXPECT_TRUE(main->Action(ID_FILE_EXPORT)->isEnabled());
    ExpectTiled(main, frames);
    EXPECT_EQ(frames[0]->geometry().topLeft(), QPoint(0, 0));

    // The listing shows the survey's document icon, not the program's.
    const QImage icon = frames[0]->windowIcon().pixmap(16, 16).toImage();
    EXPECT_FALSE(icon.isNull());
    EXPECT_NE(icon, ProgramIcon().pixmap(16, 16).toImage());
}

// Cascade leaves every window large enough to work in, each title bar in
// sight below the one before, the active window on top; Tile puts them back.
TEST_F(AppShellTest, CascadeKeepsWindowsUsableAndTileFollows)
{
    ASSERT_TRUE(harness.Start());
    CMainFrame* main = harness.App().MainFrame();
    main->resize(1200, 900);
    for (const char* name : {"one.txt", "two.txt"}) {
        SCOPED_TRACE(name);
        ASSERT_NE(harness.App().OpenDocumentFile(harness.MakeSurvey(name)), nullptr);
        const auto frames = harness.Frames();
        main->ActivateFrame(frames[1]);
        main->Action(ID_WINDOW_CASCADE)->trigger();

        const QRect area = main->MdiArea()->viewport()->rect();
        const auto stacked = main->MdiArea()->subWindowList(QMdiArea::StackingOrder);
        EXPECT_EQ(stacked.last(), frames[1]);
        for (qsizetype i = 0; i < stacked.size(); ++i) {
            const QRect r = stacked[i]->geometry();
            EXPECT_TRUE(area.contains(r)) << i;
            EXPECT_GE(r.width(), area.width() * 2 / 3) << i;
            EXPECT_GE(r.height(), area.height() * 2 / 3) << i;
            if (i > 0) {
                const QRect below = stacked[i - 1]->geometry();
                const QPoint step = r.topLeft() - below.topLeft();
                EXPECT_GE(step.y(), stacked[i]->widget()->geometry().top()) << i; // its title bar shows
                EXPECT_GT(step.x(), 0) << i;
            }
        }
        main->Action(ID_WINDOW_TILE)->trigger();
        ExpectTiled(main, frames);
    }
}

// Arrange Icons lines the minimised windows up along the bottom, left to
// right in the order they were made, a full row continuing above it; a
// window that is not minimised stays where it is.
TEST_F(AppShellTest, ArrangeIconsLinesUpMinimisedWindowsAlongTheBottom)
{
    ASSERT_TRUE(harness.Start());
    CMainFrame* main = harness.App().MainFrame();
    main->resize(700, 500);
    for (const char* name : {"one.txt", "two.txt", "three.txt"})
        ASSERT_NE(harness.App().OpenDocumentFile(harness.MakeSurvey(name)), nullptr);
    const auto frames = harness.Frames();
    ASSERT_EQ(frames.size(), 12u);
    CChildFrame* normal = frames[5];
    for (CChildFrame* frame : frames) {
        if (frame != normal)
            frame->showMinimized();
    }
    const QRect kept = normal->geometry();
    main->Action(ID_WINDOW_ARRANGE)->trigger();

    EXPECT_EQ(normal->geometry(), kept);
    const QRect area = main->MdiArea()->viewport()->rect();
    std::vector<QRect> icons;
    for (CChildFrame* frame : frames) {
        if (frame != normal)
            icons.push_back(frame->geometry());
    }
    EXPECT_EQ(icons.front().topLeft(), QPoint(0, area.bottom() + 1 - icons.front().height()));
    int rows = 1;
    for (std::size_t i = 1; i < icons.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(area.contains(icons[i]));
        if (icons[i].x() == 0) { // a new row, right above the one before
            ++rows;
            EXPECT_EQ(icons[i].bottom() + 1, icons[i - 1].top());
            EXPECT_GT(icons[i - 1].right() + icons[i].width(), area.right()) << "the row before was full";
        } else {
            EXPECT_EQ(icons[i].x(), icons[i - 1].right() + 1);
            EXPECT_EQ(icons[i].y(), icons[i - 1].y());
        }
    }
    EXPECT_GE(rows, 2) << "eleven icons do not fit one row of a 700-pixel window";
}

TEST_F(AppShellTest, OpeningAnOpenSurveyAgainOnlyBringsItForward)
{
    ASSERT_TRUE(harness.Start());
    const QString path = harness.MakeSurvey("demo.txt");
    const CKestrixDoc* doc = harness.App().OpenDocumentFile(path);
    ASSERT_NE(doc, nullptr);
    CMainFrame* main = harness.App().MainFrame();
    const auto frames = harness.Frames();
    main->ActivateFrame(frames[2]);
    frames[1]->move(40, 40);

    // The same file by another spelling of its path and through a link.
    const QString linked = harness.DataPath("link.txt");
    ASSERT_TRUE(QFile::link(path, linked));
    EXPECT_EQ(harness.App().OpenDocumentFile(QDir(harness.DataPath(".")).filePath("./demo.txt")), doc);
    EXPECT_EQ(harness.App().OpenDocumentFile(linked), doc);

    EXPECT_EQ(harness.Frames().size(), 4u);
    EXPECT_EQ(harness.App().DocManager().Documents().size(), 1u);
    EXPECT_EQ(main->ActiveFrame(), frames[0]);
    ExpectTiled(main, frames);
    EXPECT_TRUE(harness.prompts.messages.isEmpty());
}

// What a failed load read stays on show, read-only: it can be neither edited
// nor exported, and the file is not offered again in the recent-file list.
TEST_F(AppShellTest, FailedLoadLeavesAReadOnlyListingOutOfTheRecentFiles)
{
    ASSERT_TRUE(harness.Start());
    const QString path = harness.MakeSurvey("broken.txt");
    ASSERT_NE(harness.App().OpenDocumentFile(path), nullptr); // whole, once
    harness.Frames()[0]->Document().CloseAllFrames();
    ProcessDeferredDeletes();
    QByteArray text = RawSurveyText(3);
    text += "  1.5 0.2 0.1\r\n"; // a data line with three numbers
    ASSERT_TRUE(WriteFile(path, text));

    const CKestrixDoc* doc = harness.App().OpenDocumentFile(path);
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(harness.prompts.messages.size(), 1);
    EXPECT_EQ(harness.prompts.messages[0], "Invalid file format\n" + path + ", line 10: 3 values where seven are needed");
    EXPECT_EQ(doc->m_nObs, 3);
    const auto frames = harness.Frames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_NE(qobject_cast<CKestrixView*>(frames[0]->widget()), nullptr);
    EXPECT_EQ(harness.Captions(), QStringList({"broken.txt (not loaded)"}));
    EXPECT_TRUE(harness.App().RecentFiles().Paths().isEmpty());

    CMainFrame* main = harness.App().MainFrame();
    EXPECT_EQ(main->MenuShown(), MenuBar::Survey);
    EXPECT_EQ(main->windowTitle(), "Kestrix - broken.txt (not loaded)");
    const int editIds[] = {ID_FILE_EXPORT, ID_EDIT_DELETE_OBSERVATIONS, ID_EDIT_ADD_CONTROL_POINTS,
                           ID_EDIT_CLEAR_CONTROL_POINTS, ID_EDIT_FIT_DEGREE_1, ID_EDIT_FIT_DEGREE_2,
                           ID_EDIT_FIT_DEGREE_3, ID_EDIT_FIT_DEGREE_4, ID_ROLL_NO_ADJUSTMENT,
                           ID_ROLL_ADD_90, ID_ROLL_ADD_180, ID_ROLL_SUBTRACT_90};
    const auto enabled = [&] { // or checked
        std::vector<int> ids;
        for (int id : editIds) {
            if (main->Action(id)->isEnabled() || main->Action(id)->isChecked())
                ids.push_back(id);
        }
        return ids;
    };
    EXPECT_EQ(enabled(), std::vector<int>());
    EXPECT_FALSE(main->ToolBar()->widgetForAction(main->Action(ID_FILE_EXPORT))->isEnabled());
    EXPECT_TRUE(main->Action(ID_FILE_CLOSE)->isEnabled());
    harness.prompts.exportAnswers = {harness.DataPath("broken.xyz")};
    for (Qt::Key key : {Qt::Key_S, Qt::Key_E})
        QTest::keyClick(frames[0]->widget(), key, Qt::ControlModifier);
    EXPECT_TRUE(harness.prompts.exportDefaults.empty());
    EXPECT_FALSE(QFile::exists(harness.DataPath("broken.xyz")));
    frames[0]->Document().Apply(edit::DeleteObservation{0}); // as a view would
    EXPECT_EQ(doc->m_nObs, 3);

    // A whole survey beside it can be edited; back on the broken one, not.
    ASSERT_NE(harness.App().OpenDocumentFile(harness.MakeSurvey("whole.txt")), nullptr);
    EXPECT_EQ(enabled().size(), std::size(editIds));
    main->ActivateFrame(frames[0]);
    EXPECT_EQ(enabled(), std::vector<int>());
}

struct BadNumberRow {
    const char* name;
    QByteArray collarEasting, firstRow;
    bool loads;
};

class BadNumbers : public AppShellTest, public ::testing::WithParamInterface<BadNumberRow> {};

// A number the C library would read as something else makes the survey
// invalid: a message, and a read-only listing of what was read.
TEST_P(BadNumbers, AreRefusedWithTheListingReadOnly)
{
    ASSERT_TRUE(harness.Start());
    QByteArray text = RawSurveyText(3);
    text.replace("Easting    512430.00", "Easting " + GetParam().collarEasting);
    text.replace(text.indexOf("\r\n", text.indexOf("AccZ")) + 2, 0, GetParam().firstRow + "\r\n");
    const QString path = harness.DataPath("numbers.txt");
    ASSERT_TRUE(WriteFile(path, text));
    ASSERT_NE(harness.App().OpenDocumentFile(path), nullptr);
    EXPECT_EQ(harness.prompts.messages.size(), GetParam().loads ? 0 : 1);
    if (!GetParam().loads) {
        EXPECT_TRUE(harness.prompts.messages[0].startsWith("Invalid file format\n" + path + ", line "))
            << harness.prompts.messages[0].toStdString();
    }
    EXPECT_EQ(harness.Frames()[0]->Document().IsReadOnly(), !GetParam().loads);
}

INSTANTIATE_TEST_SUITE_P(
    AppShellTest, BadNumbers,
    ::testing::Values(BadNumberRow{"DecimalCommas", "512430.00", "0 0,04635 0,1 0,4 0 1 0,1", false},
                      BadNumberRow{"NotANumber", "512430.00", "0 nan 0.1 0.4 0 1 0.1", false},
                      BadNumberRow{"CollarWithADecimalComma", "1,5", "0 0.2 0.1 0.4 0 1 0.1", false},
                      BadNumberRow{"CollarWithAUnit", "12.5km", "0 0.2 0.1 0.4 0 1 0.1", true}),
    RowName());

// kestrix must not wait for a writer that never comes.
TEST_F(AppShellTest, AnEditsFileThatIsAFifoIsPassedOverAtOnce)
{
    ASSERT_TRUE(harness.Start());
    const QString path = harness.MakeSurvey("demo.txt");
    ASSERT_EQ(mkfifo(QFile::encodeName(path + ".edits").constData(), 0600), 0);
    ASSERT_NE(harness.App().OpenDocumentFile(path), nullptr);
    EXPECT_EQ(harness.Frames().size(), 4u);
    EXPECT_EQ(harness.prompts.messages,
              QStringList({path + ".edits: not a regular file\nThe survey is opened without these edits."}));
}

struct UnopenableRow {
    const char* name;
    const char* file; // in the data folder, which holds a FIFO "fifo.txt" without a writer
    const char* message; // "@" stands for the path
};

class Unopenable : public AppShellTest, public ::testing::WithParamInterface<UnopenableRow> {};

// A FIFO or device would hold the window up: it is refused without waiting.
TEST_P(Unopenable, GivesAMessageAndNoWindow)
{
    ASSERT_TRUE(harness.Start());
    ASSERT_EQ(mkfifo(QFile::encodeName(harness.DataPath("fifo.txt")).constData(), 0600), 0);
    const QString path = harness.DataPath(GetParam().file);
    EXPECT_EQ(harness.App().OpenDocumentFile(path), nullptr);
    EXPECT_EQ(harness.prompts.messages, QStringList({QString(GetParam().message).replace('@', path)}));
    EXPECT_TRUE(harness.Frames().empty());
    EXPECT_TRUE(harness.App().DocManager().Documents().empty());
    EXPECT_TRUE(harness.App().RecentFiles().Paths().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(AppShellTest, Unopenable,
                         ::testing::Values(UnopenableRow{"Missing", "missing.txt", "Cannot find the file\n  @"},
                                           UnopenableRow{"Folder", ".", "Failed to open\n  @"},
                                           UnopenableRow{"Fifo", "fifo.txt", "Failed to open\n  @\nIt is not a regular file."}),
                         RowName());

struct ElideRow {
    const char* name;
    QString text;
    QString shown;
};

class ElidedMessage : public ::testing::TestWithParam<ElideRow> {};

// A path sent from anywhere can be as long as a file system allows; a
// message box shows its start and end.
TEST_P(ElidedMessage, KeepsStartAndEndOfLongLines) { EXPECT_EQ(ElideLongLines(GetParam().text), GetParam().shown); }

const QString kLongPath = "/surveys/" + QString(5000, 'x') + "/end.txt";
INSTANTIATE_TEST_SUITE_P(
    MessageBoxTest, ElidedMessage,
    ::testing::Values(ElideRow{"ShortPath", "Cannot find the file\n  /a/b.txt", "Cannot find the file\n  /a/b.txt"},
                      ElideRow{"LongPath", "Failed to open\n  " + kLongPath + "\nfor writing",
                               "Failed to open\n  /surveys/" + QString(38, 'x') + QChar(0x2026) + QString(42, 'x')
                                   + "/end.txt\nfor writing"},
                      ElideRow{"SurrogatePairKeptWhole",
                               QString(48, 'a') + QString::fromUtf8("\U0001F600") + QString(100, 'b'),
                               QString(48, 'a') + QChar(0x2026) + QString(50, 'b')}),
    RowName());

// The real box, closed as soon as it shows, stays of a reasonable size.
TEST(MessageBoxTest, ALongPathDoesNotWidenTheBox)
{
    const auto widthOfBox = [](const QString& text) {
        int width = 0;
        QTimer::singleShot(0, [&width] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                width = box->width();
                box->close();
            }
        });
        QtUserPrompts().ShowMessage(nullptr, text);
        return width;
    };
    const int shortBox = widthOfBox("Failed to open\n  /" + QString(100, 'x'));
    EXPECT_GT(shortBox, 0);
    EXPECT_LE(widthOfBox("Failed to open\n  " + kLongPath), shortBox);
}

TEST_F(AppShellTest, CommandLineOpensItsFileOrEndsTheProgram)
{
    const QString path = harness.MakeSurvey("demo.txt");
    ASSERT_TRUE(harness.Start({"-n", path}));
    EXPECT_EQ(harness.Frames().size(), 4u);
    EXPECT_EQ(harness.App().MainFrame()->ActiveFrame(), harness.Frames()[0]);

    EXPECT_FALSE(harness.Start({harness.DataPath("missing.txt")}));
    EXPECT_EQ(harness.prompts.messages.size(), 1);
}

struct FileArgumentRow {
    const char* name;
    QStringList arguments;
    QString file;
};

class FileArgument : public ::testing::TestWithParam<FileArgumentRow> {};

TEST_P(FileArgument, IsTheFirstArgumentThatIsNotASwitch)
{
    EXPECT_EQ(CKestrixApp::FileArgument(GetParam().arguments), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(AppShellTest, FileArgument,
                         ::testing::Values(FileArgumentRow{"None", {"kestrix"}, ""},
                                           FileArgumentRow{"FirstOfTwo", {"kestrix", "a.txt", "b.txt"}, "a.txt"},
                                           FileArgumentRow{"AfterASwitch", {"kestrix", "-x", "/home/u/a.txt"},
                                                           "/home/u/a.txt"},
                                           FileArgumentRow{"AfterTheEndOfSwitches", {"kestrix", "--", "-odd.txt"},
                                                           "-odd.txt"},
                                           FileArgumentRow{"OnlyASwitch", {"kestrix", "-p"}, ""}),
                         RowName());

TEST_F(AppShellTest, DroppingThreeFilesOpensThreeSurveysOfFourWindows)
{
    ASSERT_TRUE(harness.Start());
    QList<QUrl> urls;
    for (const char* name : {"a.txt", "b.dat", "c"})
        urls.append(QUrl::fromLocalFile(harness.MakeSurvey(name)));
    QMimeData data;
    data.setUrls(urls);
    CMainFrame* main = harness.App().MainFrame();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(main, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(main, &drop);

    const auto frames = harness.Frames();
    ASSERT_EQ(frames.size(), 12u);
    EXPECT_EQ(harness.Captions().mid(4, 4), QStringList({"b.dat:1", "b.dat:2", "b.dat:3", "b.dat:4"}));
    EXPECT_EQ(harness.Captions()[8], "c:1");
    EXPECT_EQ(main->ActiveFrame(), frames[8]);
    ExpectTiled(main, frames);
}

TEST_F(AppShellTest, WindowsAreRenumberedAsTheyCloseAndTheSurveyGoesWithTheLast)
{
    ASSERT_TRUE(harness.Start());
    ASSERT_NE(harness.App().OpenDocumentFile(harness.MakeSurvey("demo.txt")), nullptr);
    CMainFrame* main = harness.App().MainFrame();

    // The listing first: the plot windows keep the survey menu bar.
    harness.Frames()[0]->close();
    EXPECT_EQ(harness.Captions(), QStringList({"demo.txt:1", "demo.txt:2", "demo.txt:3"}));
    EXPECT_EQ(main->MenuShown(), MenuBar::Survey);
    harness.Frames()[1]->close();
    harness.Frames()[1]->close();
    EXPECT_EQ(harness.Captions(), QStringList({"demo.txt"}));
    EXPECT_EQ(harness.App().DocManager().Documents().size(), 1u);

    harness.Frames()[0]->close();
    ProcessDeferredDeletes();
    EXPECT_TRUE(harness.Frames().empty());
    EXPECT_TRUE(harness.App().DocManager().Documents().empty());
    EXPECT_EQ(main->MenuShown(), MenuBar::Main);
    EXPECT_FALSE(main->Action(ID_FILE_EXPORT)->isEnabled());
    EXPECT_EQ(main->windowTitle(), "Kestrix");
}

TEST_F(AppShellTest, CloseCommandClosesTheActiveSurveyOnly)
{
    ASSERT_TRUE(harness.Start());
    const CKestrixDoc* first = harness.App().OpenDocumentFile(harness.MakeSurvey("one.txt"));
    ASSERT_NE(harness.App().OpenDocumentFile(harness.MakeSurvey("two.txt")), nullptr);
    CMainFrame* main = harness.App().MainFrame();
    main->ActivateFrame(harness.Frames()[2]); // a plot window of one.txt
    main->Action(ID_FILE_CLOSE)->trigger();
    ProcessDeferredDeletes();

    EXPECT_EQ(harness.Captions(), QStringList({"two.txt:1", "two.txt:2", "two.txt:3", "two.txt:4"}));
    ASSERT_EQ(harness.App().DocManager().Documents().size(), 1u);
    EXPECT_NE(harness.App().DocManager().Documents()[0]->Doc(), first);
    EXPECT_EQ(main->MenuShown(), MenuBar::Survey);

    // The survey can be opened again afterwards.
    EXPECT_NE(harness.App().OpenDocumentFile(harness.DataPath("one.txt")), nullptr);
    EXPECT_EQ(harness.Frames().size(), 8u);
}

TEST_F(AppShellTest, ExitClosesEverySurvey)
{
    ASSERT_TRUE(harness.Start());
    ASSERT_NE(harness.App().OpenDocumentFile(harness.MakeSurvey("one.txt")), nullptr);
    harness.App().MainFrame()->Action(ID_APP_EXIT)->trigger();
    ProcessDeferredDeletes();
    EXPECT_TRUE(harness.Frames().empty());
    EXPECT_TRUE(harness.App().DocManager().Documents().empty());
    EXPECT_FALSE(harness.App().MainFrame()->isVisible());
}

TEST_F(AppShellTest, FileOpenAndAboutGoThroughTheirDialogs)
{
    ASSERT_TRUE(harness.Start());
    CMainFrame* main = harness.App().MainFrame();
    harness.prompts.openAnswers = {"", harness.MakeSurvey("picked.txt")};
    main->Action(ID_FILE_OPEN)->trigger(); // cancelled
    EXPECT_TRUE(harness.Frames().empty());
    main->Action(ID_FILE_OPEN)->trigger();
    EXPECT_EQ(harness.prompts.openDialogs, 2);
    EXPECT_EQ(harness.Frames().size(), 4u);
    main->Action(ID_APP_ABOUT)->trigger();
    EXPECT_EQ(harness.prompts.aboutBoxes, 1);
}

TEST_F(AppShellTest, ShowAllViewsBringsBackClosedPlotWindowsWithTheSurveysEdits)
{
    ASSERT_TRUE(harness.Start());
    const CKestrixDoc* doc = harness.App().OpenDocumentFile(harness.MakeSurvey("demo.txt"));
    ASSERT_NE(doc, nullptr);
    CMainFrame* main = harness.App().MainFrame();
    harness.Frames()[2]->close(); // azimuth
    harness.Frames()[1]->close(); // inclination
    ProcessDeferredDeletes();
    harness.Frames()[0]->Document().Apply(edit::DeleteObservation{7});
    main->ActivateFrame(harness.Frames()[0]);
    main->Action(ID_WINDOW_SHOW_ALL)->trigger();

    const auto frames = harness.Frames();
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(harness.Captions(), QStringList({"demo.txt*:1", "demo.txt*:4", "demo.txt*:2", "demo.txt*:3",
                                               "demo.txt*:5", "demo.txt*:6"}));
    EXPECT_NE(qobject_cast<CMagView*>(frames[1]->widget()), nullptr);
    EXPECT_NE(qobject_cast<CInclView*>(frames[2]->widget()), nullptr);
    EXPECT_NE(qobject_cast<CAzView*>(frames[3]->widget()), nullptr);
    EXPECT_NE(qobject_cast<CPlanView*>(frames[4]->widget()), nullptr);
    EXPECT_NE(qobject_cast<CSectionView*>(frames[5]->widget()), nullptr);
    for (CChildFrame* frame : frames)
        EXPECT_EQ(frame->Document().Doc(), doc);
    EXPECT_EQ(doc->m_nObs, 200);
    EXPECT_EQ(main->ActiveFrame(), frames[0]);
    ExpectTiled(main, frames);
    main->Action(ID_WINDOW_SHOW_ALL)->trigger(); // nothing missing: nothing more
    EXPECT_EQ(harness.Frames().size(), 6u);
}

TEST_F(AppShellTest, ViewItemsActOnTheActiveSurveysPlots)
{
    ASSERT_TRUE(harness.Start());
    ASSERT_NE(harness.App().OpenDocumentFile(harness.MakeSurvey("one.txt")), nullptr);
    ASSERT_NE(harness.App().OpenDocumentFile(harness.MakeSurvey("two.txt")), nullptr);
    CMainFrame* main = harness.App().MainFrame();
    PlotLink& one = harness.Frames()[0]->Document().Plots();
    PlotLink& two = harness.Frames()[4]->Document().Plots();
    DepthWindow zoomed;
    zoomed.Zoom({0, 10000}, 0.5, 4.0);
    one.SetWindow(zoomed);
    two.SetWindow(zoomed);
    main->ActivateFrame(harness.Frames()[3]);
    EXPECT_TRUE(main->Action(ID_VIEW_WHOLE_HOLE)->isEnabled());
    EXPECT_FALSE(main->Action(ID_VIEW_ANOMALIES)->isChecked());
    main->Action(ID_VIEW_WHOLE_HOLE)->trigger();
    main->Action(ID_VIEW_ANOMALIES)->trigger();
    EXPECT_TRUE(one.Window().IsWhole());
    EXPECT_TRUE(one.ComponentsAsAnomalies());
    EXPECT_FALSE(two.Window().IsWhole());
    EXPECT_FALSE(two.ComponentsAsAnomalies());
    main->UpdateCommandUI();
    EXPECT_FALSE(main->Action(ID_VIEW_WHOLE_HOLE)->isEnabled());
    EXPECT_TRUE(main->Action(ID_VIEW_ANOMALIES)->isChecked());
    ValueZoom narrower; // a zoomed value axis is restored too
    narrower.Zoom(0.5, 2.0);
    one.SetValueZoom("CAzView", narrower);
    main->UpdateCommandUI();
    EXPECT_TRUE(main->Action(ID_VIEW_WHOLE_HOLE)->isEnabled());
    // Fixed Scales is the program's: every survey's plots, and kept for the next run.
    EXPECT_FALSE(one.FixedScales());
    main->Action(ID_VIEW_FIXED_SCALES)->trigger();
    EXPECT_TRUE(one.FixedScales());
    EXPECT_TRUE(two.FixedScales());
    EXPECT_TRUE(LoadFixedScales());
    main->UpdateCommandUI();
    EXPECT_TRUE(main->Action(ID_VIEW_FIXED_SCALES)->isChecked());
}

TEST_F(AppShellTest, QualityControlOpensAFifthWindowAfterThePlotsAndClosesIt)
{
    ASSERT_TRUE(harness.Start());
    ASSERT_NE(harness.App().OpenDocumentFile(harness.MakeSurvey("demo.txt")), nullptr);
    CMainFrame* main = harness.App().MainFrame();
    main->UpdateCommandUI();
    EXPECT_FALSE(main->Action(ID_VIEW_QUALITY)->isChecked()); // the four windows of every survey
    main->ActivateFrame(harness.Frames()[2]);
    main->Action(ID_VIEW_QUALITY)->trigger();
    const auto frames = harness.Frames();
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_NE(qobject_cast<CQcView*>(frames[4]->widget()), nullptr);
    EXPECT_EQ(frames[4]->windowTitle(), "demo.txt:5");
    EXPECT_EQ(main->ActiveFrame(), frames[2]);
    ExpectTiled(main, frames);
    main->UpdateCommandUI();
    EXPECT_TRUE(main->Action(ID_VIEW_QUALITY)->isChecked());

    main->Action(ID_VIEW_QUALITY)->trigger();
    ProcessDeferredDeletes();
    EXPECT_EQ(harness.Frames().size(), 4u);
    main->UpdateCommandUI();
    EXPECT_FALSE(main->Action(ID_VIEW_QUALITY)->isChecked());
}

struct PathViewRow {
    const char* name;
    int id;
    const QMetaObject* viewClass;
};

class PathViewItem : public AppShellTest, public ::testing::WithParamInterface<PathViewRow> {};

// Opened after the quality plot, whichever came first, and closed again.
TEST_P(PathViewItem, OpensItsWindowAfterTheQualityPlotAndClosesIt)
{
    ASSERT_TRUE(harness.Start());
    ASSERT_NE(harness.App().OpenDocumentFile(harness.MakeSurvey("demo.txt")), nullptr);
    CMainFrame* main = harness.App().MainFrame();
    main->ActivateFrame(harness.Frames()[2]);
    main->Action(GetParam().id)->trigger();
    main->Action(ID_VIEW_QUALITY)->trigger();
    const auto frames = harness.Frames();
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[4]->widget()->metaObject(), GetParam().viewClass); // in the order made
    EXPECT_EQ(frames[4]->windowTitle(), "demo.txt:6");
    EXPECT_EQ(frames[5]->widget()->metaObject(), &CQcView::staticMetaObject);
    EXPECT_EQ(frames[5]->windowTitle(), "demo.txt:5");
    EXPECT_EQ(main->ActiveFrame(), frames[2]);
    ExpectTiled(main, frames);
    main->UpdateCommandUI();
    EXPECT_TRUE(main->Action(GetParam().id)->isChecked());

    main->Action(GetParam().id)->trigger();
    ProcessDeferredDeletes();
    EXPECT_EQ(harness.Frames().size(), 5u);
    main->UpdateCommandUI();
    EXPECT_FALSE(main->Action(GetParam().id)->isChecked());
}

INSTANTIATE_TEST_SUITE_P(AppShellTest, PathViewItem,
                         ::testing::Values(PathViewRow{"Plan", ID_VIEW_PLAN, &CPlanView::staticMetaObject},
                                           PathViewRow{"Section", ID_VIEW_SECTION, &CSectionView::staticMetaObject}),
                         RowName());

} // namespace

// Export, the accelerators, the Edit commands with their check marks, the
// command table's menus and tool bar, Copy, and the status bar.
#include "AppTestSupport.h"
#include "NamedRows.h"
#include "PaintCounter.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"
#include "app/SurveyDocument.h"
#include "startup/FilePaths.h"
#include "survey/EditRecord.h"
#include "survey/KestrixDoc.h"
#include "survey/ResultsExport.h"
#include "survey/XyzExport.h"
#include "views/CAzView.h"
#include "views/CKestrixView.h"
#include "views/PlotMapping.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <algorithm>
#include <clocale>
#include <set>
#include <gtest/gtest.h>

using namespace survey;

namespace {

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(harness.Start());
        survey = harness.MakeSurvey("demo.txt");
        doc = harness.App().OpenDocumentFile(survey);
        ASSERT_NE(doc, nullptr);
        main = harness.App().MainFrame();
    }

    // The export of `doc` to `name`, written by the survey core directly.
    QByteArray ReferenceExport(const QString& name)
    {
        const QString path = harness.DataPath(name);
        EXPECT_EQ(WriteXyzFile(*doc, ToFilePath(path)), ExportResult::Ok);
        const QByteArray text = ReadFile(path);
        QFile::remove(path);
        return text;
    }

    // demo.txt's azimuth plot, active and past its activation (which a click
    // of its own would have been), in the editing mode of `modeCommand`.
    CAzView* AzimuthPlotIn(int modeCommand)
    {
        CChildFrame* azimuth = harness.Frames()[2];
        main->ActivateFrame(azimuth);
        main->Action(modeCommand)->trigger();
        QApplication::processEvents();
        auto* view = qobject_cast<CAzView*>(azimuth->widget());
        return view && view->SetupMapping() ? view : nullptr;
    }

#ifdef KESTRIX_BATCH
    // The XYZ file the window exported to `shown` equals kestrix-batch's
    // export of the survey with `edits` (options), under the same name.
    void ExpectTheBatchExport(const QString& shown, const QStringList& edits)
    {
        ASSERT_TRUE(QDir().mkpath(harness.DataPath("batch")));
        const QString batchFile = harness.DataPath("batch/" + QFileInfo(shown).fileName());
        QProcess batch;
        batch.start(QStringLiteral(KESTRIX_BATCH), QStringList{"export", survey, "-o", batchFile} + edits);
        ASSERT_TRUE(batch.waitForFinished(30000));
        ASSERT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
        const QByteArray written = ReadFile(shown);
        EXPECT_GT(written.count('\n'), 200);
        EXPECT_EQ(written, ReadFile(batchFile));
    }
#endif

    AppHarness harness;
    QString survey;
    const CKestrixDoc* doc = nullptr;
    CMainFrame* main = nullptr;
};

struct ExportKeyRow {
    const char* name;
    Qt::Key key;
    int window; // 0 the listing, 2 the azimuth plot
};

class ExportKey : public CommandsTest, public ::testing::WithParamInterface<ExportKeyRow> {};

// Ctrl+E, as the menu shows, and Ctrl+S export the active survey from any
// of its windows.
TEST_P(ExportKey, ExportsTheActiveSurvey)
{
    const QString target = harness.DataPath("out.xyz");
    const QByteArray expected = ReferenceExport("out.xyz");
    harness.prompts.exportAnswers = {target};
    CChildFrame* window = harness.Frames()[static_cast<std::size_t>(GetParam().window)];
    main->ActivateFrame(window);
    QTest::keyClick(window->widget(), GetParam().key, Qt::ControlModifier);
    ASSERT_EQ(harness.prompts.exportDefaults.size(), 1u);
    EXPECT_EQ(harness.prompts.exportDefaults[0], harness.DataPath("demo.xyz"));
    EXPECT_EQ(ReadFile(target), expected);
    EXPECT_TRUE(harness.prompts.messages.isEmpty());
    EXPECT_EQ(main->Action(ID_FILE_EXPORT)->text(), "&Export XYZ...\tCtrl+E");
}

INSTANTIATE_TEST_SUITE_P(CommandsTest, ExportKey,
                         ::testing::Values(ExportKeyRow{"CtrlEInTheListing", Qt::Key_E, 0},
                                           ExportKeyRow{"CtrlSInTheListing", Qt::Key_S, 0},
                                           ExportKeyRow{"CtrlEInAPlot", Qt::Key_E, 2},
                                           ExportKeyRow{"CtrlSInAPlot", Qt::Key_S, 2}),
                         RowName());

// Export Results writes the chosen format as the survey core writes it, and
// says why when it would replace the survey.
TEST_F(CommandsTest, ExportResultsWritesTheChosenFormat)
{
    const std::string reference = ToFilePath(harness.DataPath("reference.las"));
    ASSERT_EQ(WriteResultsFile(*doc, reference, ResultsFormat::Las, {}), ExportResult::Ok);
    harness.prompts.resultsAnswers = {{harness.DataPath("out.las"), ResultsFormat::Las}, {survey, ResultsFormat::Csv}};
    main->Action(ID_FILE_EXPORT_RESULTS)->trigger();
    EXPECT_EQ(ReadFile(harness.DataPath("out.las")), ReadFile(FromFilePath(reference)));
    EXPECT_TRUE(harness.prompts.messages.isEmpty());
    const QByteArray before = ReadFile(survey);
    main->Action(ID_FILE_EXPORT_RESULTS)->trigger();
    EXPECT_EQ(harness.prompts.messages, QStringList{"The CSV file would replace the raw survey file\n  " + survey});
    EXPECT_EQ(ReadFile(survey), before);
    EXPECT_EQ(harness.prompts.resultsDefaults, (std::vector<QString>(2, harness.DataPath("demo.csv"))));
}

// Both XYZ exports of the demo at its site, in either frame, write what the
// survey core writes with the same options: four different files, and a
// fifth with the depth column. The frame and the depth column are the survey's own.
TEST_F(CommandsTest, ExportAnomaliesAndTheGridFrameWriteWhatTheCoreWrites)
{
    CChildFrame* other = harness.Frames()[0];
    doc = harness.App().OpenDocumentFile(QStringLiteral(KESTRIX_EXAMPLES_DIR "/demo.txt"));
    Site site;
    site.epsg = 32633;
    site.date = geomag::Date{2008, 6, 1};
    harness.prompts.siteAnswer = site;
    main->Action(ID_EDIT_SITE)->trigger();
    ASSERT_TRUE(doc->m_reference.IsKnown());
    ASSERT_TRUE(QDir().mkpath(harness.DataPath("core")));
    QAction* grid = main->Action(ID_FILE_GRID_FRAME);
    std::set<QByteArray> files;
    for (const ComponentFrame frame : {ComponentFrame::Magnetic, ComponentFrame::Grid}) {
        if (frame == ComponentFrame::Grid)
            grid->trigger();
        EXPECT_EQ(grid->isChecked(), frame == ComponentFrame::Grid);
        for (const bool anomalies : {false, true}) {
            harness.prompts.exportAnswers = {harness.DataPath("out.xyz")};
            main->Action(anomalies ? ID_FILE_EXPORT_ANOMALIES : ID_FILE_EXPORT)->trigger();
            const std::string core = ToFilePath(harness.DataPath("core/out.xyz"));
            ASSERT_EQ(WriteXyzFile(*doc, core, {frame, anomalies}), ExportResult::Ok);
            EXPECT_EQ(ReadFile(harness.DataPath("out.xyz")), ReadFile(FromFilePath(core)));
            files.insert(ReadFile(FromFilePath(core)));
        }
    }
    EXPECT_EQ(files.size(), 4u);
    EXPECT_EQ(harness.prompts.exportDefaults.back(), KESTRIX_EXAMPLES_DIR "/demo-anomalies.xyz");
    QAction* depth = main->Action(ID_FILE_XYZ_DEPTH);
    depth->trigger();
    harness.prompts.exportAnswers = {harness.DataPath("out.xyz")};
    main->Action(ID_FILE_EXPORT)->trigger();
    const std::string core = ToFilePath(harness.DataPath("core/out.xyz"));
    ASSERT_EQ(WriteXyzFile(*doc, core, {.frame = ComponentFrame::Grid, .depthColumn = true}), ExportResult::Ok);
    EXPECT_EQ(ReadFile(harness.DataPath("out.xyz")), ReadFile(FromFilePath(core)));
    EXPECT_FALSE(files.contains(ReadFile(FromFilePath(core))));
    main->ActivateFrame(other);
    EXPECT_FALSE(grid->isChecked());
    EXPECT_FALSE(depth->isChecked());
}

TEST_F(CommandsTest, CtrlOOpens)
{
    QTest::keyClick(harness.Frames()[0]->widget(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(harness.prompts.openDialogs, 1);
}

// Deleting a reading with a click in a plot and exporting writes what
// kestrix-batch writes with that depth deleted.
TEST_F(CommandsTest, ExportAfterAClickDeleteEqualsTheBatchExport)
{
#ifndef KESTRIX_BATCH
    GTEST_SKIP() << "kestrix-batch is not built";
#else
    CAzView* view = AzimuthPlotIn(ID_EDIT_DELETE_OBSERVATIONS);
    ASSERT_NE(view, nullptr);
    const Observation spike = doc->m_pObs[120];
    const PlotMapping::Point p = view->Mapping().LPtoDP(
        {ToPlotUnits(spike.Depth * doc->m_dScale),
         std::clamp(ToPlotUnits(spike.CalcAzMag * doc->m_dScale), view->m_nYMin, view->m_nYMax)});
    QTest::mouseMove(view, QPoint(p.x, p.y));
    ASSERT_NE(view->m_nHitObs, -1);
    const double depth = doc->m_pObs[view->m_nHitObs].Depth; // the last reading under the mouse
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(p.x, p.y));
    ASSERT_EQ(doc->m_nObs, 200);

    const QString shown = harness.DataPath("shown.xyz");
    harness.prompts.exportAnswers = {shown};
    QTest::keyClick(view, Qt::Key_E, Qt::ControlModifier);
    ExpectTheBatchExport(shown, {"--delete-depth", QString::number(depth, 'g', 17)});
#endif
}

// Control points placed by click are fitted at once with the degree in force:
// the window's export equals kestrix-batch's export of the saved edits.
TEST_F(CommandsTest, ExportAfterPlacedControlPointsEqualsTheBatchExportOfTheSavedEdits)
{
#ifndef KESTRIX_BATCH
    GTEST_SKIP() << "kestrix-batch is not built";
#else
    CAzView* view = AzimuthPlotIn(ID_EDIT_ADD_CONTROL_POINTS);
    ASSERT_NE(view, nullptr);
    for (int index : {20, 90, 170}) {
        const Observation& obs = doc->m_pObs[index];
        const PlotMapping::Point p = view->Mapping().LPtoDP(
            {ToPlotUnits(obs.Depth * doc->m_dScale), ToPlotUnits((obs.CalcAzMag + 2) * doc->m_dScale)});
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(p.x, p.y));
    }
    ASSERT_EQ(doc->m_nControlPoints, 3);
    EXPECT_EQ(doc->m_nCoef, 3) << "degree 2, in force since the load";

    const QString shown = harness.DataPath("shown.xyz");
    harness.prompts.exportAnswers = {shown};
    main->Action(ID_FILE_EXPORT)->trigger();
    main->Action(ID_FILE_SAVE_EDITS)->trigger();
    ExpectTheBatchExport(shown, {"--edits", survey + ".edits"});
#endif
}

// An edit made while a plot is active redraws the listing too.
TEST_F(CommandsTest, TheListingFollowsAnEditMadeInAPlot)
{
    auto* listing = qobject_cast<QAbstractScrollArea*>(harness.Frames()[0]->widget());
    ASSERT_NE(listing, nullptr);
    main->ActivateFrame(harness.Frames()[2]);
    QApplication::processEvents();
    PaintCounter counter;
    listing->viewport()->installEventFilter(&counter);
    harness.Frames()[2]->Document().Apply(edit::SetLocalFit{true}); // as Edit > Fit Between Control Points Only
    QApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
}

// The first click on an inactive plot only brings it forward; the next edits.
TEST_F(CommandsTest, AClickThatActivatesAPlotDoesNotEdit)
{
    CChildFrame* azimuth = harness.Frames()[2];
    auto* view = qobject_cast<CAzView*>(azimuth->widget());
    ASSERT_NE(view, nullptr);
    main->ActivateFrame(azimuth);
    main->Action(ID_EDIT_DELETE_OBSERVATIONS)->trigger();
    main->ActivateFrame(harness.Frames()[0]);
    QApplication::processEvents();
    ASSERT_TRUE(view->SetupMapping());
    const Observation& reading = doc->m_pObs[120];
    const PlotMapping::Point p = view->Mapping().LPtoDP(
        {ToPlotUnits(reading.Depth * doc->m_dScale),
         std::clamp(ToPlotUnits(reading.CalcAzMag * doc->m_dScale), view->m_nYMin, view->m_nYMax)});
    QTest::mouseMove(view, QPoint(p.x + 1, p.y + 1)); // a move even where an earlier test left the pointer
    QTest::mouseMove(view, QPoint(p.x, p.y));
    ASSERT_NE(view->m_nHitObs, -1);
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(p.x, p.y));
    EXPECT_EQ(main->ActiveFrame(), azimuth);
    EXPECT_EQ(doc->m_nObs, 201) << "the activating click deletes nothing";
    QApplication::processEvents();
    QTest::mouseMove(view, QPoint(p.x, p.y + 1));
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(p.x, p.y + 1));
    EXPECT_EQ(doc->m_nObs, 200) << "the next click on the active plot does";
}

TEST_F(CommandsTest, CancelledExportWritesNothingAndAFailedOneSaysWhere)
{
    const QString unwritable = harness.DataPath("no-such-folder/out.xyz");
    harness.prompts.exportAnswers = {"", unwritable};
    main->Action(ID_FILE_EXPORT)->trigger();
    EXPECT_TRUE(harness.prompts.messages.isEmpty());
    main->Action(ID_FILE_EXPORT)->trigger();
    EXPECT_EQ(harness.prompts.messages,
              QStringList({"Failed to open\n  " + unwritable + "\nfor writing"}));
}

// setlocale after QApplication, as a German desktop has it: the export and
// the loading keep their decimal points.
TEST_F(CommandsTest, ExportUnderACommaDecimalLocaleWritesPoints)
{
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    struct RestoreLocale {
        ~RestoreLocale() { std::setlocale(LC_ALL, "C"); }
    } restore;
    const CKestrixDoc* german = harness.App().OpenDocumentFile(harness.MakeSurvey("german.txt"));
    ASSERT_NE(german, nullptr);
    EXPECT_EQ(german->m_dEasting, 512430.0);
    EXPECT_EQ(german->m_nObs, 201);
    const QString target = harness.DataPath("german.xyz");
    harness.prompts.exportAnswers = {target};
    main->Action(ID_FILE_EXPORT)->trigger();

    const QList<QByteArray> lines = ReadFile(target).split('\n');
    ASSERT_GT(lines.size(), 3);
    EXPECT_EQ(lines[0], "/East North Height TMI magE, magN, magZ\r");
    EXPECT_EQ(lines[1], "Li german\r");
    const QRegularExpression row(R"(^( *-?\d+\.\d\d ){7}\r$)");
    for (int i = 2; i < lines.size() - 1; ++i)
        EXPECT_TRUE(row.match(QString::fromLatin1(lines[i])).hasMatch()) << lines[i].toStdString();
    EXPECT_TRUE(lines.last().isEmpty());
    const QByteArray first = lines[2];
    EXPECT_TRUE(first.contains("512430.")) << first.toStdString();
}

TEST_F(CommandsTest, EditCommandsReachTheActiveSurveyAndTheirChecksFollow)
{
    const CKestrixDoc* other = harness.App().OpenDocumentFile(harness.MakeSurvey("other.txt"));
    ASSERT_NE(other, nullptr);
    main->ActivateFrame(harness.Frames()[3]); // demo.txt's magnetic plot

    // Each step one item chosen, in turn; the items checked after it.
    struct Step {
        const char* name;
        int id;
        std::vector<int> checked;
    };
    const Step steps[] = {
        {"delete mode on", ID_EDIT_DELETE_OBSERVATIONS,
         {ID_EDIT_DELETE_OBSERVATIONS, ID_EDIT_FIT_DEGREE_2, ID_ROLL_NO_ADJUSTMENT}},
        {"control mode on, delete mode off", ID_EDIT_ADD_CONTROL_POINTS,
         {ID_EDIT_ADD_CONTROL_POINTS, ID_EDIT_FIT_DEGREE_2, ID_ROLL_NO_ADJUSTMENT}},
        {"control mode off", ID_EDIT_ADD_CONTROL_POINTS, {ID_EDIT_FIT_DEGREE_2, ID_ROLL_NO_ADJUSTMENT}},
        {"roll +90", ID_ROLL_ADD_90, {ID_EDIT_FIT_DEGREE_2, ID_ROLL_ADD_90}},
        {"roll -90", ID_ROLL_SUBTRACT_90, {ID_EDIT_FIT_DEGREE_2, ID_ROLL_SUBTRACT_90}},
        {"degree 3", ID_EDIT_FIT_DEGREE_3, {ID_EDIT_FIT_DEGREE_3, ID_ROLL_SUBTRACT_90}},
        {"degree 1", ID_EDIT_FIT_DEGREE_1, {ID_EDIT_FIT_DEGREE_1, ID_ROLL_SUBTRACT_90}},
        {"degree 4", ID_EDIT_FIT_DEGREE_4, {ID_EDIT_FIT_DEGREE_4, ID_ROLL_SUBTRACT_90}},
        {"degree 3 again", ID_EDIT_FIT_DEGREE_3, {ID_EDIT_FIT_DEGREE_3, ID_ROLL_SUBTRACT_90}},
        {"roll 180", ID_ROLL_ADD_180, {ID_EDIT_FIT_DEGREE_3, ID_ROLL_ADD_180}},
    };
    const int editIds[] = {ID_EDIT_DELETE_OBSERVATIONS, ID_EDIT_ADD_CONTROL_POINTS,
                           ID_EDIT_CLEAR_CONTROL_POINTS, ID_EDIT_FIT_DEGREE_1,
                           ID_EDIT_FIT_DEGREE_2, ID_EDIT_FIT_DEGREE_3, ID_EDIT_FIT_DEGREE_4,
                           ID_ROLL_NO_ADJUSTMENT, ID_ROLL_ADD_90, ID_ROLL_ADD_180, ID_ROLL_SUBTRACT_90};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        main->Action(step.id)->trigger();
        for (int id : editIds) {
            const bool expected =
                std::find(step.checked.begin(), step.checked.end(), id) != step.checked.end();
            EXPECT_EQ(main->Action(id)->isChecked(), expected) << "item " << id;
            EXPECT_TRUE(main->Action(id)->isEnabled());
        }
    }
    EXPECT_EQ(doc->m_nRollAdjust, 180);
    EXPECT_EQ(doc->m_nDegree, 3);
    EXPECT_EQ(other->m_nRollAdjust, 0);
    EXPECT_EQ(other->m_nDegree, 2);

    // Clear control points refits nothing and empties the list.
    harness.Frames()[0]->Document().Apply(edit::AddControlPoint{{1000, 1500}}); // demo.txt, as its azimuth plot would
    main->Action(ID_EDIT_CLEAR_CONTROL_POINTS)->trigger();
    EXPECT_EQ(doc->m_nControlPoints, 0);
    EXPECT_EQ(doc->m_nCoef, 0);

    // The checks are those of the survey whose window is active.
    main->ActivateFrame(harness.Frames()[4]);
    EXPECT_TRUE(main->Action(ID_ROLL_NO_ADJUSTMENT)->isChecked());
    EXPECT_FALSE(main->Action(ID_ROLL_ADD_180)->isChecked());
    EXPECT_TRUE(main->Action(ID_EDIT_FIT_DEGREE_2)->isChecked());
    EXPECT_FALSE(main->Action(ID_EDIT_FIT_DEGREE_3)->isChecked());
}

// The items of `widget` (a menu or the tool bar) as the user reads them: the
// labels without their keys (tool bar buttons by their tips), "-" for a
// separator, "name>" for a popup, "<recent>" for a recent file.
std::string ItemsOf(const QWidget* widget, bool byTip = false)
{
    QStringList items;
    for (const QAction* action : widget->actions()) {
        const int id = action->data().toInt();
        if (!action->isVisible())
            continue;
        if (action->isSeparator())
            items << "-";
        else if (action->menu())
            items << action->menu()->title() + ">";
        else if (id >= ID_FILE_MRU_FIRST && id <= ID_FILE_MRU_LAST)
            items << "<recent>";
        else
            items << (byTip ? action->toolTip() : action->text().section('\t', 0, 0));
    }
    return items.join('|').toStdString();
}

struct MenuItemsRow {
    const char* name;
    MenuId menu; // MenuId::None: the tool bar
    const char* items;
};

class MenuItems : public CommandsTest, public ::testing::WithParamInterface<MenuItemsRow> {};

// Each menu and the tool bar as the command table lays them out.
TEST_P(MenuItems, AreTheTablesInSlotOrder)
{
    const QWidget* shown = GetParam().menu == MenuId::None ? static_cast<QWidget*>(main->ToolBar())
                                                           : main->Menu(GetParam().menu);
    EXPECT_EQ(ItemsOf(shown, GetParam().menu == MenuId::None), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    CommandsTest, MenuItems,
    ::testing::Values(
        MenuItemsRow{"MainFile", MenuId::MainFile, "&New|&Open...|-|<recent>|-|&Close|E&xit"},
        MenuItemsRow{"MainView", MenuId::MainView, "&Toolbar|&Status Bar"},
        MenuItemsRow{"MainHelp", MenuId::MainHelp, "&Kestrix Help|&About Kestrix..."},
        MenuItemsRow{"SurveyFile", MenuId::SurveyFile,
                     "&Open...|&Close|&Save Edits|Sa&ve Edits As...|&Export XYZ...|Export &Anomalies...|"
                     "XYZ Components Turned to &Grid North|XYZ Rows End with &Depth|Export &Results...|"
                     "Save P&lot As...|&Print...|Save Repor&t As...|-|"
                     "<recent>|-|E&xit"},
        MenuItemsRow{"Edit", MenuId::Edit,
                     "&Undo|&Redo|-|&Copy|&Go to Depth...|-|&Delete observations|-|&Add azimuth control points|"
                     "C&lear control points|Co&ntrol Points...|Fit degree &1 polynomial|Fit degree &2 polynomial|"
                     "Fit degree &3 polynomial|Fit degree &4 polynomial|Fit &Between Control Points Only|-|"
                     "Delete &Flagged Readings|Spike &Settings...|-|R&oll option>|-|S&ite and Date...|"
                     "Positions by &Minimum Curvature|Hole &Name..."},
        MenuItemsRow{"RollOption", MenuId::Roll, "&No adjustment|Add &90|Add &180|&Subtract 90"},
        MenuItemsRow{"SurveyView", MenuId::SurveyView,
                     "&Toolbar|&Status Bar|-|&Zoom to Whole Hole|Components as &Anomalies|&Quality Control|"
                     "&Plan View|S&ection View|&Fixed Scales|-|&List Every Reading"},
        MenuItemsRow{"Window", MenuId::Window, "&Cascade|&Tile|&Arrange Icons|&Show All Views"},
        MenuItemsRow{"SurveyHelp", MenuId::SurveyHelp, "&Kestrix Help|&About Kestrix..."},
        MenuItemsRow{"ToolBar", MenuId::None,
                     "New|Open|Save Edits|Export|-|Cut|Copy|Paste|-|Undo|Redo|-|Print|Kestrix Help"}),
    RowName());

class CommandRows : public CommandsTest, public ::testing::WithParamInterface<CommandRow> {};

// Each row's action says what the row says, in every place the row names;
// a row that nothing handles is never enabled.
TEST_P(CommandRows, MakeTheirActions)
{
    const CommandRow& row = GetParam();
    QAction* action = main->Action(row.id);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->data().toInt(), row.id);
    if (!row.undoStack) {
        EXPECT_EQ(action->text(), QString::fromLatin1(row.label).replace("%1", "Kestrix"));
        EXPECT_EQ(action->statusTip(), QString::fromLatin1(row.prompt));
        if (*row.toolTip) {
            EXPECT_EQ(action->toolTip(), QString::fromLatin1(row.toolTip));
        }
        EXPECT_EQ(action->isCheckable(), row.checked != nullptr);
    }
    if (*row.keys) {
        EXPECT_EQ(action->shortcuts(), QKeySequence::listFromString(QString::fromLatin1(row.keys)));
        EXPECT_TRUE(main->actions().contains(action)) << "the keys work whichever menu shows";
    }
    for (const Place& place : row.places) {
        if (place.menu != MenuId::None) {
            EXPECT_TRUE(main->Menu(place.menu)->actions().contains(action));
        }
    }
    EXPECT_EQ(main->ToolBar()->actions().contains(action), row.toolSlot != 0);
    if (!row.IsHandled()) {
        main->UpdateCommandUI();
        EXPECT_FALSE(action->isEnabled());
    }
}

INSTANTIATE_TEST_SUITE_P(CommandsTest, CommandRows,
                         ::testing::ValuesIn(MainWindowCommands().data(),
                                             MainWindowCommands().data() + MainWindowCommands().size()),
                         RowName());

// The Window menu lists the windows after its commands, the active one checked.
TEST_F(CommandsTest, WindowMenuListsTheWindowsWithTheActiveChecked)
{
    QMenu* window = main->Menu(MenuId::Window);
    emit window->aboutToShow();
    EXPECT_EQ(ItemsOf(window), "&Cascade|&Tile|&Arrange Icons|&Show All Views|-|&1 demo.txt:1|&2 demo.txt:2|"
                               "&3 demo.txt:3|&4 demo.txt:4");
    EXPECT_TRUE(window->actions()[5]->isChecked()); // "&1 demo.txt:1", the active one
    EXPECT_FALSE(window->actions()[6]->isChecked());
}

TEST_F(CommandsTest, ToolBarButtonsFollowTheirCommands)
{
    std::vector<bool> enabled;
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE_EDITS, ID_FILE_EXPORT, ID_EDIT_CUT, ID_EDIT_COPY,
                   ID_EDIT_PASTE, ID_EDIT_UNDO, ID_EDIT_REDO, ID_FILE_PRINT, ID_HELP_GUIDE})
        enabled.push_back(main->ToolBar()->widgetForAction(main->Action(id))->isEnabled());
    EXPECT_EQ(enabled, std::vector<bool>({false, true, true, true, false, false, false, false, false, true, true}));

    main->Action(ID_VIEW_TOOLBAR)->trigger();
    EXPECT_TRUE(main->ToolBar()->isHidden());
    EXPECT_FALSE(main->Action(ID_VIEW_TOOLBAR)->isChecked());
    main->Action(ID_VIEW_TOOLBAR)->trigger();
    EXPECT_FALSE(main->ToolBar()->isHidden());
    EXPECT_TRUE(main->Action(ID_VIEW_TOOLBAR)->isChecked());
}

TEST_F(CommandsTest, StatusBarShowsPromptsWhileHighlightedAndReadyAfterwards)
{
    QWidget* open = main->ToolBar()->widgetForAction(main->Action(ID_FILE_OPEN));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), open->mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(open, &enter);
    EXPECT_EQ(main->PaneText(0), "Open an existing document");
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(open, &leave);
    EXPECT_EQ(main->PaneText(0), "Ready");

    QWidget* print = main->ToolBar()->widgetForAction(main->Action(ID_FILE_PRINT));
    QEnterEvent enterPrint(QPointF(2, 2), QPointF(2, 2), print->mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(print, &enterPrint);
    EXPECT_EQ(main->PaneText(0), "Print the active window");

    QMenu* file = main->Menus(MenuBar::Survey)[0];
    QMenu* edit = main->Menus(MenuBar::Survey)[1];
    file->popup(QPoint(0, 0));
    file->setActiveAction(main->Action(ID_FILE_EXPORT));
    EXPECT_EQ(main->PaneText(0), "Save the active document for import to Quarrant");
    file->hide();
    edit->popup(QPoint(0, 0));
    edit->setActiveAction(main->Action(ID_EDIT_FIT_DEGREE_2));
    EXPECT_EQ(main->PaneText(0), "");
    edit->hide();
    QCoreApplication::processEvents();
    EXPECT_EQ(main->PaneText(0), "Ready");
}

// The main frame's panes, after a plot view has filled them.
TEST(ListingWindowTest, MouseMoveInTheProgramBlanksTheStatusBar)
{
    AppHarness harness;
    ASSERT_TRUE(harness.Start({harness.MakeSurvey("demo.txt")}));
    CMainFrame* main = harness.App().MainFrame();
    harness.App().SetPaneText(0, "Click to delete");
    harness.App().SetPaneText(1, "Depth: 10.00");
    EXPECT_EQ(main->PaneText(1), "Depth: 10.00");
    auto* listing = qobject_cast<CKestrixView*>(harness.Frames()[0]->widget());
    ASSERT_NE(listing, nullptr);
    QMouseEvent move(QEvent::MouseMove, QPoint(41, 41), listing->viewport()->mapToGlobal(QPoint(41, 41)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(listing->viewport(), &move);
    EXPECT_EQ(main->PaneText(0), "");
    EXPECT_EQ(main->PaneText(1), "");
}

// Copy (menu, button, Ctrl+C) works while a listing with a selection is active.
TEST(ListingWindowTest, CopyIsEnabledForTheActiveListingsSelection)
{
    AppHarness harness;
    ASSERT_TRUE(harness.Start({harness.MakeSurvey("demo.txt")}));
    CMainFrame* main = harness.App().MainFrame();
    QAction* copy = main->Action(ID_EDIT_COPY);
    EXPECT_EQ(copy->shortcut(), QKeySequence(QKeySequence::Copy));
    EXPECT_FALSE(copy->isEnabled());
    auto* listing = qobject_cast<CKestrixView*>(harness.Frames()[0]->widget());
    ASSERT_NE(listing, nullptr);

    listing->SelectAll();
    EXPECT_TRUE(copy->isEnabled());
    EXPECT_TRUE(main->ToolBar()->widgetForAction(copy)->isEnabled());
    QGuiApplication::clipboard()->clear();
    copy->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), listing->SelectedText());

    main->ActivateFrame(harness.Frames()[1]); // a plot window
    EXPECT_FALSE(copy->isEnabled());
    main->ActivateFrame(harness.Frames()[0]);
    EXPECT_TRUE(copy->isEnabled());
    listing->ClearSelection();
    EXPECT_FALSE(copy->isEnabled());
}

} // namespace

// Export, the accelerators, the Edit commands with their check marks, the
// menus' items, and the status bar prompts.
#include "AppTestSupport.h"
#include "NamedRows.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"
#include "app/SurveyDocument.h"
#include "survey/EditRecord.h"
#include "survey/KestrixDoc.h"
#include "survey/XyzExport.h"
#include "views/CAzView.h"
#include "views/PlotMapping.h"

#include <QMenu>
#include <QDir>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <algorithm>
#include <clocale>
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
        EXPECT_EQ(WriteXyzFile(*doc, ToCorePath(path)), ExportResult::Ok);
        const QByteArray text = ReadFile(path);
        QFile::remove(path);
        return text;
    }

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
    CChildFrame* azimuth = harness.Frames()[2];
    auto* view = qobject_cast<CAzView*>(azimuth->widget());
    ASSERT_NE(view, nullptr);
    main->ActivateFrame(azimuth);
    main->Action(ID_EDIT_DELETE_OBSERVATIONS)->trigger();
    ASSERT_TRUE(view->SetupMapping());
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
    // The same name elsewhere, for the same "Li" line.
    ASSERT_TRUE(QDir().mkpath(harness.DataPath("batch")));
    const QString batchFile = harness.DataPath("batch/shown.xyz");
    QProcess batch;
    batch.start(QStringLiteral(KESTRIX_BATCH),
                {"export", survey, "-o", batchFile, "--delete-depth", QString::number(depth, 'g', 17)});
    ASSERT_TRUE(batch.waitForFinished(30000));
    ASSERT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
    const QByteArray written = ReadFile(shown);
    EXPECT_GT(written.count('\n'), 200);
    EXPECT_EQ(written, ReadFile(batchFile));
#endif
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

// Every item of the survey menu bar in order (0 = separator, -1 = the Roll
// option popup).
TEST_F(CommandsTest, SurveyMenuBarHasEveryItemInOrder)
{
    auto ids = [](QMenu* menu) {
        std::vector<int> out;
        for (QAction* action : menu->actions()) {
            if (!action->isVisible())
                continue;
            out.push_back(action->isSeparator() ? 0 : action->menu() ? -1 : action->data().toInt());
        }
        return out;
    };
    const auto& menus = main->Menus(MenuBar::Survey);
    ASSERT_EQ(menus.size(), 5u);
    EXPECT_EQ(ids(menus[0]), std::vector<int>({ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_SAVE_EDITS, ID_FILE_EXPORT,
                                               ID_FILE_SAVE_PLOT, ID_FILE_PRINT, 0, ID_FILE_MRU_FIRST, 0, ID_APP_EXIT}));
    EXPECT_EQ(ids(menus[1]),
              std::vector<int>({ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_EDIT_COPY, 0, ID_EDIT_DELETE_OBSERVATIONS, 0,
                                ID_EDIT_ADD_CONTROL_POINTS,
                                ID_EDIT_CLEAR_CONTROL_POINTS, ID_EDIT_FIT_DEGREE_1, ID_EDIT_FIT_DEGREE_2,
                                ID_EDIT_FIT_DEGREE_3, ID_EDIT_FIT_DEGREE_4, ID_EDIT_FIT_LOCAL, 0,
                                ID_EDIT_DELETE_FLAGGED, ID_EDIT_SPIKE_SETTINGS, 0, -1}));
    QMenu* roll = menus[1]->actions().last()->menu();
    EXPECT_EQ(roll->title(), "R&oll option");
    EXPECT_EQ(ids(roll), std::vector<int>({ID_ROLL_NO_ADJUSTMENT, ID_ROLL_ADD_90, ID_ROLL_ADD_180,
                                           ID_ROLL_SUBTRACT_90}));
    EXPECT_EQ(ids(menus[2]), std::vector<int>({ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, 0, ID_VIEW_WHOLE_HOLE,
                                               ID_VIEW_ANOMALIES, ID_VIEW_QUALITY}));
    EXPECT_EQ(ids(menus[4]), std::vector<int>({ID_APP_ABOUT}));
    emit menus[3]->aboutToShow(); // the window list joins the Window menu
    const auto windowIds = ids(menus[3]);
    EXPECT_EQ(std::vector<int>(windowIds.begin(), windowIds.begin() + 5),
              std::vector<int>({ID_WINDOW_CASCADE, ID_WINDOW_TILE, ID_WINDOW_ARRANGE, ID_WINDOW_SHOW_ALL, 0}));
    EXPECT_EQ(menus[3]->actions().last()->text(), "&4 demo.txt:4");
    EXPECT_TRUE(menus[3]->actions()[5]->isChecked()); // "&1 demo.txt:1", the active one
}

TEST_F(CommandsTest, ToolBarHoldsTheElevenButtonsWithTheirRules)
{
    std::vector<int> ids;
    for (QAction* action : main->ToolBar()->actions())
        ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
    EXPECT_EQ(ids, std::vector<int>({ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE_EDITS, ID_FILE_EXPORT, 0, ID_EDIT_CUT,
                                     ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_FILE_PRINT,
                                     ID_APP_ABOUT}));
    EXPECT_EQ(main->Action(ID_FILE_EXPORT)->toolTip(), "Export");
    EXPECT_EQ(main->Action(ID_FILE_PRINT)->toolTip(), "Print");
    std::vector<bool> enabled;
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE_EDITS, ID_FILE_EXPORT, ID_EDIT_CUT, ID_EDIT_COPY,
                   ID_EDIT_PASTE, ID_EDIT_UNDO, ID_EDIT_REDO, ID_FILE_PRINT, ID_APP_ABOUT})
        enabled.push_back(main->ToolBar()->widgetForAction(main->Action(id))->isEnabled());
    EXPECT_EQ(enabled, std::vector<bool>({false, true, true, true, false, false, false, false, false, true, true}));

    main->Action(ID_VIEW_TOOLBAR)->trigger();
    EXPECT_TRUE(main->ToolBar()->isHidden());
    EXPECT_FALSE(main->Action(ID_VIEW_TOOLBAR)->isChecked());
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

} // namespace

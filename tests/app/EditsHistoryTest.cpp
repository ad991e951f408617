// Undo and redo of edits made by clicks and menus, the edits file saved
// beside the survey and restored when it is opened again, and the question
// before unsaved edits are lost.
#include "AppTestSupport.h"
#include "NamedRows.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"
#include "app/SurveyDocument.h"
#include "startup/FilePaths.h"
#include "survey/KestrixDoc.h"
#include "survey/XyzExport.h"
#include "views/CAzView.h"
#include "views/PlotMapping.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

using namespace survey;

namespace {

class EditsHistoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(harness.Start());
        survey = harness.MakeSurvey("demo.txt");
        editsFile = survey + ".edits";
        Open();
        unedited = Export();
    }

    void Open()
    {
        doc = harness.App().OpenDocumentFile(survey);
        ASSERT_NE(doc, nullptr);
        main = harness.App().MainFrame();
    }

    QByteArray Export()
    {
        const QString path = harness.DataPath("out.xyz");
        EXPECT_EQ(WriteXyzFile(*doc, ToFilePath(path)), ExportResult::Ok);
        const QByteArray text = ReadFile(path);
        QFile::remove(path);
        return text;
    }

    // The azimuth plot's point of `reading`, raised by `above` units.
    QPoint PointOf(CAzView* view, const Observation& reading, std::int32_t above = 0) const
    {
        const PlotMapping::Point p = view->Mapping().LPtoDP(
            {ToPlotUnits(reading.Depth * doc->m_dScale),
             std::clamp(ToPlotUnits(reading.CalcAzMag * doc->m_dScale) + above, view->m_nYMin, view->m_nYMax)});
        return {p.x, p.y};
    }

    // In the azimuth plot: one reading deleted, two control points placed,
    // the fit made of degree 3 and the roll adjusted, as a user does it.
    void EditByClicks()
    {
        main->ActivateFrame(harness.Frames()[2]);
        main->Action(ID_EDIT_DELETE_OBSERVATIONS)->trigger();
        auto* view = qobject_cast<CAzView*>(harness.Frames()[2]->widget());
        ASSERT_TRUE(view && view->SetupMapping());
        const QPoint spike = PointOf(view, doc->m_pObs[120]);
        QTest::mouseMove(view, spike + QPoint(1, 1)); // the mouse may rest on the spike from before
        QTest::mouseMove(view, spike);
        ASSERT_NE(view->m_nHitObs, -1);
        deletedDepth = doc->m_pObs[view->m_nHitObs].Depth;
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, spike);
        main->Action(ID_EDIT_DELETE_OBSERVATIONS)->trigger();
        main->Action(ID_EDIT_ADD_CONTROL_POINTS)->trigger();
        for (int index : {40, 160})
            QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, PointOf(view, doc->m_pObs[index], 300));
        main->Action(ID_EDIT_ADD_CONTROL_POINTS)->trigger();
        main->Action(ID_EDIT_FIT_DEGREE_3)->trigger();
        main->Action(ID_ROLL_ADD_90)->trigger();
        ASSERT_EQ(doc->m_nObs, 200);
        ASSERT_EQ(doc->m_nControlPoints, 2);
    }

    int Steps() { return harness.Frames()[0]->Document().History().count(); }
    QString UndoText() { return main->Action(ID_EDIT_UNDO)->text(); }

    AppHarness harness;
    QString survey;
    QString editsFile;
    QByteArray unedited;
    double deletedDepth = 0;
    const CKestrixDoc* doc = nullptr;
    CMainFrame* main = nullptr;
};

// Every step taken back by its key gives the survey as loaded, byte for
// byte; made again, the edited survey. Mode toggles are not steps.
TEST_F(EditsHistoryTest, UndoOfEveryStepGivesTheUneditedExportAndRedoTheEdited)
{
    EXPECT_FALSE(main->Action(ID_EDIT_UNDO)->isEnabled());
    EditByClicks();
    const QByteArray edited = Export();
    ASSERT_NE(edited, unedited);
    EXPECT_EQ(Steps(), 5);
    EXPECT_EQ(UndoText(), "&Undo Roll adjustment Add 90\tCtrl+Z");
    EXPECT_EQ(harness.Captions()[0], "demo.txt*:1");

    QWidget* listing = harness.Frames()[0]->widget();
    main->ActivateFrame(harness.Frames()[0]);
    for (int step = 0; step < 4; ++step)
        QTest::keyClick(listing, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(UndoText(),
              QStringLiteral("&Undo Delete reading at %1 m\tCtrl+Z").arg(QString::number(deletedDepth, 'f', 2)));
    QTest::keyClick(listing, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(main->Action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_EQ(Export(), unedited);
    EXPECT_EQ(harness.Captions()[0], "demo.txt:1");

    for (int step = 0; step < 4; ++step)
        QTest::keyClick(listing, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(listing, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_FALSE(main->Action(ID_EDIT_REDO)->isEnabled());
    EXPECT_TRUE(main->Action(ID_ROLL_ADD_90)->isChecked());
    EXPECT_EQ(Export(), edited);
}

// Saved, closed and opened again: the same export, the restore one step
// that undo takes back.
TEST_F(EditsHistoryTest, SavedEditsComeBackWhenTheSurveyIsOpenedAgain)
{
    EditByClicks();
    const QByteArray edited = Export();
    main->Action(ID_FILE_SAVE_EDITS)->trigger();
    EXPECT_TRUE(QFile::exists(editsFile));
    EXPECT_EQ(harness.Captions()[0], "demo.txt:1");
    main->Action(ID_FILE_CLOSE)->trigger();
    ProcessDeferredDeletes();
    EXPECT_TRUE(harness.Frames().empty());
    EXPECT_TRUE(harness.prompts.saveQuestions.isEmpty());

    Open();
    EXPECT_EQ(main->PaneText(0), "Edits restored: 1 deletion, 2 control points, degree 3, roll 90");
    EXPECT_EQ(Export(), edited);
    EXPECT_EQ(harness.Captions()[0], "demo.txt:1");
    EXPECT_EQ(UndoText(), "&Undo Restore edits\tCtrl+Z");
    main->Action(ID_EDIT_UNDO)->trigger();
    EXPECT_EQ(Export(), unedited);
    EXPECT_EQ(harness.Captions()[0], "demo.txt*:1");
    EXPECT_TRUE(harness.prompts.messages.isEmpty());
}

struct CloseRow {
    const char* name;
    void (*close)(AppHarness&);
    RecordingPrompts::SaveChoice answer;
    std::size_t windowsLeft;
    bool saved;
};

void CloseCommand(AppHarness& h) { h.App().MainFrame()->Action(ID_FILE_CLOSE)->trigger(); }
void ExitCommand(AppHarness& h) { h.App().MainFrame()->Action(ID_APP_EXIT)->trigger(); }
// Window by window: only the last one asks.
void EveryWindow(AppHarness& h)
{
    for (CChildFrame* frame : h.Frames())
        frame->close();
}

class CloseQuestion : public EditsHistoryTest, public ::testing::WithParamInterface<CloseRow> {};

TEST_P(CloseQuestion, AsksOnceAndKeepsEverythingOnCancel)
{
    main->Action(ID_EDIT_FIT_DEGREE_4)->trigger();
    harness.prompts.saveAnswers = {GetParam().answer};
    GetParam().close(harness);
    ProcessDeferredDeletes();
    EXPECT_EQ(harness.prompts.saveQuestions, QStringList{"Save the edits to demo.txt.edits?"});
    EXPECT_EQ(harness.Frames().size(), GetParam().windowsLeft);
    EXPECT_EQ(main->isVisible(), GetParam().windowsLeft > 0 || GetParam().close != ExitCommand);
    EXPECT_EQ(QFile::exists(editsFile), GetParam().saved);
    if (GetParam().answer == RecordingPrompts::SaveChoice::Cancel) {
        EXPECT_EQ(doc->m_nDegree, 4);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EditsHistoryTest, CloseQuestion,
    ::testing::Values(CloseRow{"CloseCancelled", CloseCommand, RecordingPrompts::SaveChoice::Cancel, 4, false},
                      CloseRow{"ExitCancelled", ExitCommand, RecordingPrompts::SaveChoice::Cancel, 4, false},
                      CloseRow{"LastWindowCancelled", EveryWindow, RecordingPrompts::SaveChoice::Cancel, 1, false},
                      CloseRow{"CloseDiscarded", CloseCommand, RecordingPrompts::SaveChoice::Discard, 0, false},
                      CloseRow{"ExitSaved", ExitCommand, RecordingPrompts::SaveChoice::Save, 0, true},
                      CloseRow{"LastWindowSaved", EveryWindow, RecordingPrompts::SaveChoice::Save, 0, true}),
    RowName());

struct BadEditsRow {
    const char* name;
    const char* text;
    const char* where; // the file and line the message names
};

class BadEditsFile : public EditsHistoryTest, public ::testing::WithParamInterface<BadEditsRow> {};

// Nothing of a stale or malformed file is made; the file stays as it was.
TEST_P(BadEditsFile, LeavesTheSurveyUneditedAndTheFileAlone)
{
    main->Action(ID_FILE_CLOSE)->trigger();
    ProcessDeferredDeletes();
    const QByteArray text = GetParam().text;
    ASSERT_TRUE(WriteFile(editsFile, text));
    Open();
    ASSERT_EQ(harness.prompts.messages.size(), 1);
    EXPECT_TRUE(harness.prompts.messages[0].startsWith(QDir::toNativeSeparators(editsFile) + GetParam().where))
        << harness.prompts.messages[0].toStdString();
    EXPECT_EQ(Export(), unedited);
    EXPECT_EQ(Steps(), 0);
    main->Action(ID_FILE_CLOSE)->trigger();
    ProcessDeferredDeletes();
    EXPECT_TRUE(harness.prompts.saveQuestions.isEmpty());
    EXPECT_EQ(ReadFile(editsFile), text);
}

INSTANTIATE_TEST_SUITE_P(
    EditsHistoryTest, BadEditsFile,
    ::testing::Values(BadEditsRow{"DepthNotInSurvey", "Kestrix edits 1\r\ndelete 10.00\r\ndelete 999.00\r\n", ":3: "},
                      BadEditsRow{"BadLine", "Kestrix edits 1\r\ndegree 3\r\ncontrol 10.00\r\n", ":3: "},
                      BadEditsRow{"NotAnEditsFile", "Collar coordinates:\r\n", ":1: "}),
    RowName());

// Edits saved elsewhere (the survey's folder may be read-only) are found
// when the survey is opened again, and Save Edits goes on writing there;
// with a file beside the survey too, the newer one is made and named.
TEST_F(EditsHistoryTest, EditsSavedElsewhereAreFoundAgainAndTheNewerWins)
{
    EditByClicks();
    const QByteArray edited = Export();
    const QString elsewhere = harness.DataPath("away/demo.edits");
    ASSERT_TRUE(QDir().mkpath(harness.DataPath("away")));
    harness.prompts.fileAnswers = {elsewhere};
    main->Action(ID_FILE_SAVE_EDITS_AS)->trigger();
    EXPECT_EQ(harness.prompts.fileStarts, QStringList{editsFile});
    EXPECT_TRUE(QFile::exists(elsewhere));
    EXPECT_FALSE(QFile::exists(editsFile));
    EXPECT_EQ(harness.Captions()[0], "demo.txt:1");
    main->Action(ID_FILE_CLOSE)->trigger();
    ProcessDeferredDeletes();

    Open();
    EXPECT_EQ(main->PaneText(0), QStringLiteral("Edits restored from %1: 1 deletion, 2 control points, degree 3, roll 90")
                                     .arg(QDir::toNativeSeparators(elsewhere)));
    EXPECT_EQ(Export(), edited);
    main->Action(ID_EDIT_FIT_DEGREE_4)->trigger();
    main->Action(ID_FILE_SAVE_EDITS)->trigger();
    EXPECT_TRUE(ReadFile(elsewhere).contains("degree 4"));
    EXPECT_FALSE(QFile::exists(editsFile));
    main->Action(ID_FILE_CLOSE)->trigger();
    ProcessDeferredDeletes();

    ASSERT_TRUE(WriteFile(editsFile, "Kestrix edits 1\r\ndegree 1\r\n"));
    QFile beside(editsFile);
    ASSERT_TRUE(beside.open(QIODevice::ReadWrite));
    ASSERT_TRUE(beside.setFileTime(QFileInfo(elsewhere).lastModified().addSecs(60), QFileDevice::FileModificationTime));
    beside.close();
    Open();
    EXPECT_EQ(main->PaneText(0), QStringLiteral("Edits restored from demo.txt.edits beside the survey (newer than %1): degree 1")
                                     .arg(QDir::toNativeSeparators(elsewhere)));
    EXPECT_TRUE(harness.prompts.messages.isEmpty());
}

TEST_F(EditsHistoryTest, FailedSaveSaysWhereAndKeepsTheEditsUnsaved)
{
    ASSERT_TRUE(QDir().mkpath(editsFile)); // a folder where the file would go
    main->Action(ID_EDIT_FIT_DEGREE_4)->trigger();
    main->Action(ID_FILE_SAVE_EDITS)->trigger();
    ASSERT_EQ(harness.prompts.messages.size(), 1);
    EXPECT_TRUE(harness.prompts.messages[0].contains(QDir::toNativeSeparators(editsFile)));
    EXPECT_EQ(harness.Captions()[0], "demo.txt*:1");
}

} // namespace

// The quality control items of the Edit menu, Save Plot As and Print, driven
// through their actions with the dialogs answered in advance.
#include "AppTestSupport.h"
#include "NamedRows.h"
#include "PdfPages.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"
#include "app/SpikeSettingsDlg.h"
#include "app/SpikeSettingsStore.h"
#include "examples/DemoSurvey.h"
#include "survey/KestrixDoc.h"
#include "survey/ReferenceCheck.h"
#include "textio/NumberText.h"
#include "views/PlotImage.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using namespace survey;

namespace {

const QString kDemo = QStringLiteral(KESTRIX_EXAMPLES_DIR "/demo.txt");

class QualityCommandsTest : public ::testing::Test {
protected:
    void Open(const QString& path)
    {
        ASSERT_TRUE(harness.Start());
        doc = harness.App().OpenDocumentFile(path);
        ASSERT_NE(doc, nullptr);
        main = harness.App().MainFrame();
    }

    // The message pane once the queued updates are through.
    QString Message()
    {
        QCoreApplication::processEvents();
        return main->PaneText(0);
    }

    AppHarness harness;
    const CKestrixDoc* doc = nullptr;
    CMainFrame* main = nullptr;
};

TEST_F(QualityCommandsTest, LocalFitItemTogglesTheSurveysFit)
{
    Open(harness.MakeSurvey("hole.txt"));
    QAction* local = main->Action(ID_EDIT_FIT_LOCAL);
    ASSERT_TRUE(local->isEnabled());
    EXPECT_FALSE(local->isChecked());
    local->trigger();
    EXPECT_TRUE(doc->m_bFitLocal);
    EXPECT_TRUE(local->isChecked());
    local->trigger();
    EXPECT_FALSE(doc->m_bFitLocal);
    EXPECT_FALSE(local->isChecked());
}

TEST_F(QualityCommandsTest, DeleteFlaggedReadingsDeletesTheDemosSpikesOnly)
{
    Open(kDemo);
    ASSERT_EQ(doc->m_nObs, demo::kSampleCount);
    main->Action(ID_EDIT_DELETE_FLAGGED)->trigger();
    EXPECT_EQ(Message(), "5 flagged readings deleted");
    ASSERT_EQ(doc->m_nObs, demo::kSampleCount - static_cast<int>(demo::kSpikeSamples.size()));
    // Readings are 0.1 m apart: the spikes' depths are the ones gone.
    std::vector<int> gone;
    for (int i = 0, sample = 0; sample < demo::kSampleCount; ++sample) {
        if (i < doc->m_nObs && std::lround(doc->m_pObs[i].Depth * 10) == sample)
            ++i;
        else
            gone.push_back(sample);
    }
    EXPECT_EQ(gone, std::vector<int>(demo::kSpikeSamples.begin(), demo::kSpikeSamples.end()));

    main->Action(ID_EDIT_DELETE_FLAGGED)->trigger();
    EXPECT_EQ(Message(), "No flagged readings");
    EXPECT_EQ(doc->m_nObs, demo::kSampleCount - 5);

    // One edit: one undo brings every reading back.
    QAction* undo = main->Action(ID_EDIT_UNDO);
    EXPECT_EQ(undo->text(), "&Undo Delete 5 readings\tCtrl+Z");
    undo->trigger();
    EXPECT_EQ(doc->m_nObs, demo::kSampleCount);
    EXPECT_FALSE(undo->isEnabled());
}

TEST_F(QualityCommandsTest, SpikeSettingsAreUsedAndKeptOnlyWhenValid)
{
    Open(kDemo);
    const QualitySettings lenient{{10, 500, 1e5, 10, 90}, {1000, 2, 0.01}};
    harness.prompts.settingsAnswer = lenient;
    main->Action(ID_EDIT_SPIKE_SETTINGS)->trigger();
    main->Action(ID_EDIT_DELETE_FLAGGED)->trigger();
    EXPECT_EQ(Message(), "No flagged readings");
    // The demo's accelerometer reads m/s²: the dialog's gravity boxes say so.
    EXPECT_EQ(harness.prompts.settingsUnits.back(), GravityUnit::MetresPerSecondSquared);

    QualitySettings invalid = lenient;
    invalid.spikes.dipFloor = -1;
    harness.prompts.settingsAnswer = invalid;
    main->Action(ID_EDIT_SPIKE_SETTINGS)->trigger();
    invalid = lenient;
    invalid.tolerances.dipDegrees = 0; // every survey would fail
    harness.prompts.settingsAnswer = invalid;
    main->Action(ID_EDIT_SPIKE_SETTINGS)->trigger();
    harness.prompts.settingsAnswer.reset(); // cancelled
    main->Action(ID_EDIT_SPIKE_SETTINGS)->trigger();
    EXPECT_EQ(harness.App().Quality().Settings().threshold, 500);
    EXPECT_EQ(harness.App().Quality().Settings().dipFloor, 90);
    EXPECT_EQ(harness.App().Quality().Tolerances().dipDegrees, 2);

    ASSERT_TRUE(harness.Start()); // a later run
    EXPECT_EQ(harness.App().Quality().Settings().threshold, 500);
    EXPECT_EQ(harness.App().Quality().Tolerances().fieldNt, 1000);
    EXPECT_EQ(harness.App().Quality().Tolerances().gravityG, 0.01);
}

// The active survey against the model in the status bar: nothing without
// a site; with one each median and its verdict, which the tolerances move.
TEST_F(QualityCommandsTest, StatusBarJudgesTheActiveSurveyAgainstItsReference)
{
    Open(kDemo);
    EXPECT_EQ(main->PaneText(CMainFrame::kReferencePane), "");
    Site site;
    site.epsg = 32633;
    site.date = geomag::Date{2008, 6, 1};
    harness.prompts.siteAnswer = site;
    main->Action(ID_EDIT_SITE)->trigger();
    const QString shown = main->PaneText(CMainFrame::kReferencePane);
    const std::optional<ReferenceCheck> check = CheckAgainstReference(*doc, ReferenceTolerances{});
    ASSERT_TRUE(check);
    const std::string b = textio::Format("IGRF-14: B - Bref %+.0lf nT (\u00b1300) ", check->field.median);
    EXPECT_TRUE(shown.startsWith(QString::fromStdString(b)) && shown.contains(" m/s\u00b2 (\u00b10.02452) "))
        << shown.toStdString();

    const struct {
        ReferenceTolerances tolerances;
        const char* verdict;
    } rows[] = {{{1e-3, 1e-4, 1e-6}, "FAIL"}, {{1e5, 90, 1}, "ok"}};
    for (const auto& row : rows) {
        harness.prompts.settingsAnswer = QualitySettings{{}, row.tolerances};
        main->Action(ID_EDIT_SPIKE_SETTINGS)->trigger();
        EXPECT_EQ(main->PaneText(CMainFrame::kReferencePane).count(row.verdict), 3) << row.verdict;
    }
    harness.prompts.saveAnswers = {UserPrompts::SaveChoice::Discard};
    main->Action(ID_FILE_CLOSE)->trigger();
    ProcessDeferredDeletes();
    EXPECT_EQ(main->PaneText(CMainFrame::kReferencePane), "");
}

TEST_F(QualityCommandsTest, SavePlotAsWritesTheActivePlotAtTheChosenSize)
{
    Open(harness.MakeSurvey("hole.txt"));
    QAction* savePlot = main->Action(ID_FILE_SAVE_PLOT);
    CChildFrame* azimuth = harness.Frames().at(2);
    main->ActivateFrame(harness.Frames().front());
    EXPECT_FALSE(savePlot->isEnabled()); // the listing is no plot
    main->ActivateFrame(azimuth);
    ASSERT_TRUE(savePlot->isEnabled());

    const QString path = harness.DataPath("azimuth.png");
    harness.prompts.plotAnswers = {path, path};
    harness.prompts.sizeAnswer.reset();
    savePlot->trigger(); // size cancelled: nothing written
    EXPECT_FALSE(QFile::exists(path));
    harness.prompts.sizeAnswer = QSize(300, 200);
    savePlot->trigger();
    EXPECT_EQ(QImage(path).size(), QSize(300, 200));
    EXPECT_EQ(harness.prompts.plotDefaults.back(), harness.DataPath("hole-az.png"));
    EXPECT_EQ(harness.prompts.sizesOffered.back(), azimuth->widget()->size());

    harness.prompts.plotAnswers = {harness.DataPath("azimuth.gif")};
    savePlot->trigger();
    ASSERT_EQ(harness.prompts.messages.size(), 1);
    EXPECT_TRUE(harness.prompts.messages[0].startsWith("A plot picture is a .png, .svg or .pdf file"));
}

int PdfPages(const QString& path) { return PdfPageCount(ReadFile(path).toStdString()); }

// The hole's name is one edit; the report is one PDF of the listing's
// heading page and one page per plot.
TEST_F(QualityCommandsTest, HoleNameAndSaveReportAs)
{
    Open(harness.MakeSurvey("hole.txt"));
    QAction* name = main->Action(ID_EDIT_HOLE_NAME);
    harness.prompts.holeNameAnswer = QStringLiteral("Knockaulin 7");
    name->trigger();
    EXPECT_EQ(doc->m_holeName, "Knockaulin 7");
    EXPECT_EQ(main->Action(ID_EDIT_UNDO)->text(), "&Undo Name the hole\tCtrl+Z");
    harness.prompts.holeNameAnswer = QStringLiteral("Knockaulin\t7");
    name->trigger();
    EXPECT_EQ(doc->m_holeName, "Knockaulin 7");
    ASSERT_EQ(harness.prompts.messages.size(), 1);
    EXPECT_TRUE(harness.prompts.messages[0].startsWith("The hole keeps its name: a hole's name holds no control"));

    QAction* report = main->Action(ID_FILE_SAVE_REPORT);
    main->ActivateFrame(harness.Frames().front()); // the listing is enough
    ASSERT_TRUE(report->isEnabled());
    harness.prompts.reportAnswers = {QString()};
    report->trigger(); // cancelled: nothing written
    EXPECT_EQ(harness.prompts.reportDefaults.back(), harness.DataPath("hole-report.pdf"));
    EXPECT_FALSE(QFile::exists(harness.DataPath("hole-report.pdf")));
    harness.prompts.reportAnswers = {harness.DataPath("report.pdf")};
    report->trigger();
    EXPECT_EQ(PdfPages(harness.DataPath("report.pdf")), 1 + static_cast<int>(PlotKinds().size()));
    EXPECT_EQ(harness.prompts.messages.size(), 1);
}

struct PrintRow {
    const char* name;
    int window; // in creation order: the listing, then the three plots
    int pages;
};

class PrintActiveWindow : public QualityCommandsTest, public ::testing::WithParamInterface<PrintRow> {};

// 1500 m of survey: a listing row every 10 m fills more than one page.
TEST_P(PrintActiveWindow, PrintsItOnItsPages)
{
    Open(harness.MakeSurvey("long.txt", 3001));
    main->ActivateFrame(harness.Frames().at(GetParam().window));
    harness.prompts.printFile = harness.DataPath("printed.pdf");
    ASSERT_TRUE(main->Action(ID_FILE_PRINT)->isEnabled());
    main->Action(ID_FILE_PRINT)->trigger();
    EXPECT_EQ(PdfPages(harness.prompts.printFile), GetParam().pages);
    EXPECT_TRUE(harness.prompts.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, PrintActiveWindow,
                         ::testing::Values(PrintRow{"Listing", 0, 2}, PrintRow{"AzimuthPlot", 2, 1}), RowName());

void ExpectSettings(const QualitySettings& shown, const QualitySettings& expected)
{
    EXPECT_EQ(shown.spikes.halfWindow, expected.spikes.halfWindow);
    EXPECT_DOUBLE_EQ(shown.spikes.threshold, expected.spikes.threshold);
    EXPECT_DOUBLE_EQ(shown.spikes.fieldFloor, expected.spikes.fieldFloor);
    EXPECT_DOUBLE_EQ(shown.spikes.gravityFloor, expected.spikes.gravityFloor);
    EXPECT_DOUBLE_EQ(shown.spikes.dipFloor, expected.spikes.dipFloor);
    EXPECT_DOUBLE_EQ(shown.tolerances.fieldNt, expected.tolerances.fieldNt);
    EXPECT_DOUBLE_EQ(shown.tolerances.dipDegrees, expected.tolerances.dipDegrees);
    EXPECT_DOUBLE_EQ(shown.tolerances.gravityG, expected.tolerances.gravityG);
}

struct SpikeDialogRow {
    const char* name;
    QualitySettings given;
    QualitySettings shown; // what the dialog's boxes hold
    GravityUnit unit = GravityUnit::Unknown;
};

class SpikeSettingsDialog : public ::testing::TestWithParam<SpikeDialogRow> {};

// Each setting in its own box (no two alike, so crossed boxes show), held
// within its range; Restore Defaults puts back the settings the program
// starts with.
TEST_P(SpikeSettingsDialog, ShowsTheSettingsAndRestoresTheDefaults)
{
    CSpikeSettingsDlg dialog(GetParam().given, GetParam().unit);
    ExpectSettings(dialog.Settings(), GetParam().shown);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    buttons->button(QDialogButtonBox::RestoreDefaults)->click();
    ExpectSettings(dialog.Settings(), QualitySettings{});
}

// On an m/s² survey the gravity floor shows, and is typed, in m/s².
TEST(SpikeSettingsDialogUnits, GravityFloorInMetresPerSecondSquared)
{
    CSpikeSettingsDlg dialog(QualitySettings{}, GravityUnit::MetresPerSecondSquared);
    EXPECT_EQ(dialog.GravitySuffix(), " m/s\u00b2");
    auto* floor = dialog.findChildren<QDoubleSpinBox*>().at(2); // after the threshold and the field floor
    EXPECT_EQ(floor->value(), 0.09807);
    floor->setValue(0.4903);
    EXPECT_NEAR(dialog.Settings().spikes.gravityFloor, 0.05, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SpikeSettingsDialog,
    ::testing::Values(SpikeDialogRow{"EachInItsBox",
                                     {{7, 4.5, 120.5, 0.0321, 1.25}, {250.5, 0.125, 0.0031}},
                                     {{7, 4.5, 120.5, 0.0321, 1.25}, {250.5, 0.125, 0.0031}}},
                      SpikeDialogRow{"HeldWithinRange",
                                     {{kMaxSpikeHalfWindow + 5, 0, 2e6, 20, 100}, {0, 100, 5}},
                                     {{kMaxSpikeHalfWindow, 0.01, 1e6, 10, 90}, {0.1, 90, 1}}},
                      // Shown in m/s², rounded, but given back unrounded while left alone.
                      SpikeDialogRow{"MetresPerSecondSquared",
                                     {{7, 4.5, 120.5, 0.0321, 1.25}, {250.5, 0.125, 0.0031}},
                                     {{7, 4.5, 120.5, 0.0321, 1.25}, {250.5, 0.125, 0.0031}},
                                     GravityUnit::MetresPerSecondSquared}),
    RowName());

} // namespace

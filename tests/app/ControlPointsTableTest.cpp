// The Control Points table and the user guide, driven as a user would.
#include "AppTestSupport.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/ControlPointsDlg.h"
#include "app/HelpDlg.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"
#include "app/SurveyDocument.h"
#include "survey/KestrixDoc.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

class ControlPointsTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Numbers in the table never follow the user's locale.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        ASSERT_TRUE(harness.Start());
        ASSERT_NE(harness.App().OpenDocumentFile(harness.MakeSurvey("demo.txt")), nullptr);
        document = &harness.Frames()[0]->Document();
        dialog = std::make_unique<ControlPointsDlg>(*document, harness.prompts);
    }
    void TearDown() override
    {
        dialog.reset();
        QLocale::setDefault(QLocale::c());
    }

    bool Type(const QString& depth, const QString& azimuth)
    {
        dialog->NewDepth()->setText(depth);
        dialog->NewAzimuth()->setText(azimuth);
        return dialog->AddTypedPoint();
    }
    // The table as text, "depth azimuth" rows parted by "|".
    QString Shown() const
    {
        QStringList rows;
        QTableWidget* table = dialog->Table();
        for (int row = 0; row < table->rowCount(); ++row)
            rows << table->item(row, 0)->text() + QLatin1Char(' ') + table->item(row, 1)->text();
        return rows.join(QLatin1Char('|'));
    }
    int Steps() { return document->History().count(); }

    AppHarness harness;
    SurveyDocument* document = nullptr;
    std::unique_ptr<ControlPointsDlg> dialog;
};

// Each change in the table is one step of the history, which takes it back
// whole; the table follows undo and redo.
TEST_F(ControlPointsTable, EachChangeIsOneUndoStep)
{
    ASSERT_TRUE(Type(QStringLiteral(" 120.5 "), QStringLiteral("45.25")));
    ASSERT_TRUE(Type(QStringLiteral("150"), QStringLiteral("40")));
    dialog->NewDepth()->setText(QStringLiteral("180"));
    dialog->NewAzimuth()->setText(QStringLiteral("38"));
    dialog->show();
    QTest::keyClick(dialog->NewAzimuth(), Qt::Key_Return); // adds once, and the dialog stays
    EXPECT_TRUE(dialog->isVisible());
    dialog->Table()->item(0, 1)->setText(QStringLiteral("37.82")); // typed into the cell
    EXPECT_EQ(Shown(), "120.50 37.82|150.00 40.00|180.00 38.00");
    EXPECT_EQ(document->Doc()->m_ControlPoints[0].y, 3782);
    dialog->Table()->selectRow(1);
    dialog->Table()->selectionModel()->select(dialog->Table()->model()->index(2, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_TRUE(dialog->RemoveSelectedPoints());
    EXPECT_EQ(Shown(), "120.50 37.82");

    const QString file = harness.DataPath("cp.txt");
    ASSERT_TRUE(WriteFile(file, "# two more\n200 41.5\r\n260.25 39\n"));
    harness.prompts.fileAnswers = {file};
    ASSERT_TRUE(dialog->ImportFile());
    EXPECT_EQ(Shown(), "120.50 37.82|200.00 41.50|260.25 39.00");
    EXPECT_EQ(Steps(), 6);
    EXPECT_TRUE(harness.prompts.messages.isEmpty());

    const QStringList taken{"120.50 37.82", "120.50 37.82|150.00 40.00|180.00 38.00",
                            "120.50 45.25|150.00 40.00|180.00 38.00", "120.50 45.25|150.00 40.00", "120.50 45.25", ""};
    for (const QString& before : taken) {
        document->History().undo();
        EXPECT_EQ(Shown(), before);
    }
    EXPECT_EQ(document->Doc()->m_nCoef, 0);
    document->History().redo();
    EXPECT_EQ(Shown(), "120.50 45.25");
}

// What is not a number leaves the points and the history as they were.
TEST_F(ControlPointsTable, RefusesWhatIsNotAPointWithAMessage)
{
    ASSERT_TRUE(Type(QStringLiteral("120"), QStringLiteral("45")));
    const std::pair<const char*, const char*> bad[] = {{"4,5", "40"}, {"abc", "40"}, {"", "40"}, {"1e300", "40"},
                                                       {"100", "nan"}};
    for (const auto& [depth, azimuth] : bad)
        EXPECT_FALSE(Type(QString::fromUtf8(depth), QString::fromUtf8(azimuth))) << depth << " " << azimuth;
    dialog->Table()->item(0, 0)->setText(QStringLiteral("12,5"));
    QApplication::processEvents();
    EXPECT_EQ(Shown(), "120.00 45.00");
    EXPECT_EQ(harness.prompts.messages.size(), 6);
    EXPECT_TRUE(harness.prompts.messages.back().contains(QStringLiteral("12,5")));

    const QString file = harness.DataPath("bad.txt");
    ASSERT_TRUE(WriteFile(file, "200 41.5\n5,5 30\n"));
    harness.prompts.fileAnswers = {file};
    EXPECT_FALSE(dialog->ImportFile());
    EXPECT_TRUE(harness.prompts.messages.back().startsWith(file + QStringLiteral(":2: expected DEPTH AZIMUTH")));
    EXPECT_EQ(Steps(), 1);
}

TEST_F(ControlPointsTable, ExportsTheFileThatImportReads)
{
    ASSERT_TRUE(Type(QStringLiteral("120.5"), QStringLiteral("45.25")));
    ASSERT_TRUE(Type(QStringLiteral("300"), QStringLiteral("-3")));
    const QString file = harness.DataPath("out.txt");
    harness.prompts.fileAnswers = {file};
    ASSERT_TRUE(dialog->ExportFile());
    EXPECT_EQ(harness.prompts.fileStarts.back(), harness.DataPath("demo-control-points.txt"));
    EXPECT_EQ(ReadFile(file), "# depth_m azimuth_deg\r\n120.5 45.25\r\n300 -3\r\n");
    harness.prompts.fileAnswers = {harness.DataPath("missing/out.txt")};
    EXPECT_FALSE(dialog->ExportFile());
    EXPECT_EQ(harness.prompts.messages.size(), 1);
}

// F1 opens the guide from the program's own resources; asked again, the same window.
TEST(HelpCommand, OpensTheBuiltInGuide)
{
    AppHarness harness;
    ASSERT_TRUE(harness.Start());
    QAction* help = harness.App().MainFrame()->Action(ID_HELP_GUIDE);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
    help->trigger();
    help->trigger();
    std::vector<HelpDlg*> shown;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* guide = qobject_cast<HelpDlg*>(widget); guide && guide->isVisible())
            shown.push_back(guide);
    }
    ASSERT_EQ(shown.size(), 1u);
    const QString text = shown[0]->Browser()->toPlainText();
    for (const char* part : {"Working in kestrix", "Control-point file", "Save Edits As", "Edits file", "XYZ file"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
}

} // namespace

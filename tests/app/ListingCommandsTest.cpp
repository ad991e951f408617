// View > List Every Reading and Edit > Go to Depth, driven through their
// actions and keys with the depth box answered in advance.
#include "AppTestSupport.h"
#include "NamedRows.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"
#include "app/SurveyDocument.h"
#include "survey/KestrixDoc.h"
#include "views/CKestrixView.h"
#include "views/PlotFrame.h"

#include <QAction>
#include <QTest>
#include <gtest/gtest.h>

using namespace survey;

namespace {

class ListingCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(harness.Start());
        doc = harness.App().OpenDocumentFile(harness.MakeSurvey("hole.txt", 401)); // 0 to 200 m, 0.5 m apart
        ASSERT_NE(doc, nullptr);
        main = harness.App().MainFrame();
        ASSERT_EQ(harness.Frames().size(), 4u);
        listing = qobject_cast<CKestrixView*>(harness.Frames()[0]->widget());
        ASSERT_NE(listing, nullptr);
    }

    // Ctrl+G in the azimuth plot's window.
    void GoTo(const QString& answer)
    {
        harness.prompts.depthAnswers = {answer};
        CChildFrame* az = harness.Frames()[2];
        main->ActivateFrame(az);
        QTest::keyClick(az->widget(), Qt::Key_G, Qt::ControlModifier);
    }

    // The reading each depth plot marks, or -1.
    std::vector<int> Marked() const
    {
        std::vector<int> marked;
        for (CChildFrame* frame : harness.Frames()) {
            if (auto* plot = qobject_cast<PlotFrame*>(frame->widget()))
                marked.push_back(plot->MarkedObservation());
        }
        return marked;
    }

    double SelectedDepth() const
    {
        return listing->HasSelection() ? doc->m_pObs[listing->ObservationOfRow(listing->FirstSelectedRow())].Depth
                                       : std::nan("");
    }

    AppHarness harness;
    const CKestrixDoc* doc = nullptr;
    CMainFrame* main = nullptr;
    CKestrixView* listing = nullptr;
};

struct GoToRow {
    const char* name;
    const char* typed;
    bool everyReading;
    double reading;    // the reading marked; NaN: refused, nothing marked
    double listedRow;  // the depth of the listing's selected row
};

class GoToDepth : public ListingCommandsTest, public ::testing::WithParamInterface<GoToRow> {};

// The plots mark the nearest reading in a depth window centred on it; the
// listing selects the row nearest the depth in the middle of its window.
TEST_P(GoToDepth, MarksTheNearestReading)
{
    if (GetParam().everyReading)
        main->Action(ID_VIEW_EVERY_READING)->trigger();
    PlotLink& plots = harness.Frames()[0]->Document().Plots();
    const DepthSpan whole{0, 20000};
    DepthWindow zoomed;
    zoomed.Zoom(whole, 0.5, 4.0);
    plots.SetWindow(zoomed);

    GoTo(QString::fromLatin1(GetParam().typed));
    ASSERT_EQ(harness.prompts.depthLabels, QStringList{"Depth in metres, from 0.000 to 200.000:"});
    const double reading = GetParam().reading;
    if (std::isnan(reading)) {
        EXPECT_EQ(harness.prompts.messages.size(), 1);
        EXPECT_EQ(Marked(), std::vector<int>(3, -1)) << "nothing marked";
        EXPECT_EQ(plots.Window(), zoomed);
        EXPECT_FALSE(listing->HasSelection());
        return;
    }
    EXPECT_TRUE(harness.prompts.messages.isEmpty()) << harness.prompts.messages.join('\n').toStdString();
    ASSERT_EQ(Marked().size(), 3u);
    for (int marked : Marked()) {
        ASSERT_GE(marked, 0);
        EXPECT_EQ(doc->m_pObs[marked].Depth, reading);
    }
    const DepthSpan shown = plots.Window().Shown(whole);
    EXPECT_EQ(shown.Length(), zoomed.Shown(whole).Length());
    EXPECT_NEAR((shown.from + shown.to) / 2.0, std::clamp(reading * 100, 2500.0, 17500.0), 1);
    EXPECT_EQ(SelectedDepth(), GetParam().listedRow);
    const ListingGeometry g = listing->Geometry();
    EXPECT_GE(listing->FirstSelectedRow(), g.FirstVisibleRow());
    EXPECT_LE(listing->FirstSelectedRow(), g.LastWholeRow());
}

const double kRefused = std::nan("");

INSTANTIATE_TEST_SUITE_P(
    ListingCommandsTest, GoToDepth,
    ::testing::Values(GoToRow{"BetweenReadings", "57.3", false, 57.5, 60},
                      GoToRow{"EveryReadingListed", "57.3", true, 57.5, 57.5},
                      GoToRow{"TieTakesTheShallowerAndBlanksPass", " 120.25 ", true, 120.0, 120.0},
                      GoToRow{"NearTheEndTheWindowStopsAtTheHole", "199", false, 199, 200},
                      GoToRow{"DecimalComma", "57,3", false, kRefused, 0},
                      GoToRow{"Words", "deep", false, kRefused, 0}, GoToRow{"Empty", "", false, kRefused, 0},
                      GoToRow{"TwoNumbers", "57 58", false, kRefused, 0},
                      GoToRow{"BelowTheHole", "250", false, kRefused, 0},
                      GoToRow{"AboveTheCollar", "-0.5", false, kRefused, 0},
                      GoToRow{"NotANumber", "nan", false, kRefused, 0},
                      GoToRow{"Infinite", "1e999", false, kRefused, 0}),
    RowName());

TEST_F(ListingCommandsTest, CancelledBoxDoesNothing)
{
    harness.prompts.depthAnswers.clear();
    QTest::keyClick(harness.Frames()[0]->widget(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(harness.prompts.depthLabels.size(), 1);
    EXPECT_TRUE(harness.prompts.messages.isEmpty());
    EXPECT_FALSE(listing->HasSelection());
}

// The choice is the listing's, checked while it shows, and the next survey
// opened starts with the last one chosen.
TEST_F(ListingCommandsTest, ListEveryReadingIsRememberedForNewListings)
{
    QAction* every = main->Action(ID_VIEW_EVERY_READING);
    main->ActivateFrame(harness.Frames()[1]);
    ASSERT_TRUE(every->isEnabled());
    EXPECT_FALSE(every->isChecked());
    EXPECT_EQ(listing->Geometry().rows, 21);
    every->trigger();
    EXPECT_TRUE(every->isChecked());
    EXPECT_EQ(listing->Geometry().rows, 401);

    ASSERT_NE(harness.App().OpenDocumentFile(harness.MakeSurvey("second.txt", 101)), nullptr);
    auto* second = qobject_cast<CKestrixView*>(harness.Frames()[4]->widget());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->ListedRows(), ListedRows::EveryReading);
    every->trigger();
    EXPECT_EQ(second->ListedRows(), ListedRows::TenMetreSteps);
    EXPECT_EQ(listing->ListedRows(), ListedRows::EveryReading) << "each survey's listing has its own";
}

} // namespace

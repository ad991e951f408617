#include "NamedRows.h"
#include "PaintCounter.h"
#include "ViewTestSupport.h"
#include "survey/EditRecord.h"

#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace survey;

namespace {

const QRgb kBlue = qRgb(0, 0, 255);

// Counts the paint events a widget receives.
class PlotMouse : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.SetHost(&host);
        host.views = {&incl, &az, &mag};
        for (PlotFrame* view : Views())
            view->resize(800, 600);
    }

    std::vector<PlotFrame*> Views() { return {&incl, &az, &mag}; }
    PlotFrame& View(Plot plot) { return *Views()[static_cast<std::size_t>(plot)]; }

    // Shows `view` alone (QTest moves the pointer, and the window under it
    // gets the move) and paints it, so its mapping and the magnetic range
    // are those of the current survey.
    void Use(PlotFrame& view)
    {
        for (PlotFrame* other : Views())
            if (other != &view)
                other->hide();
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.repaint();
        Move(view, QPoint(60, 60));
    }

    // A mouse move to `p`, also when the pointer already rests there.
    void Move(PlotFrame& view, QPoint p)
    {
        if (QCursor::pos() == view.mapToGlobal(p))
            QTest::mouseMove(&view, p + QPoint(1, 1));
        QTest::mouseMove(&view, p);
    }

    void Click(PlotFrame& view, QPoint p) { QTest::mouseClick(&view, Qt::LeftButton, {}, p); }

    FakeSurvey doc;
    FakeViewServices services;
    FakeHost host;
    CInclView incl{doc, services};
    CAzView az{doc, services};
    CMagView mag{doc, services};
};

// Every plot gives the depth under the mouse, in the margins too.
class Readout : public PlotMouse, public ::testing::WithParamInterface<PlotRow> {};

TEST_P(Readout, GivesTheDepthUnderTheMouseAlsoInTheMargins)
{
    ASSERT_TRUE(LoadDemoSurvey(doc)); // 0 to 400 m over 700 pixels
    const std::pair<int, const char*> table[] = {{50, "Depth:  0.00"},    {400, "Depth:  200.00"},
                                                 {750, "Depth:  400.00"}, {10, "Depth:  -22.86"},
                                                 {790, "Depth:  422.86"}, {401, "Depth:  200.57"}};
    PlotFrame& view = View(GetParam().plot);
    Use(view);
    for (const auto& [x, text] : table) {
        Move(view, QPoint(x, 300 + x % 7));
        EXPECT_EQ(services.panes[1], text);
    }
}

INSTANTIATE_TEST_SUITE_P(PlotMouse, Readout, kEveryPlot, RowName());

TEST_F(PlotMouse, WithoutAFrameTheReadoutNamesTheLeftDepthAndNothingIsPicked)
{
    SetObservations(doc, {PlotPoint(42.5, 10, 10, 0.1, 0.1, 0.1), PlotPoint(42.5, 10, 10, 0.1, 0.1, 0.1)});
    doc.m_bDeleteMode = true;
    for (PlotFrame* view : Views()) {
        Use(*view);
        Move(*view, QPoint(50, 550));
        EXPECT_EQ(services.panes[1], "Depth:  42.50");
        EXPECT_EQ(view->m_nHitObs, -1);
    }
    SetObservations(doc, {});
    for (PlotFrame* view : Views()) {
        Use(*view);
        Move(*view, QPoint(400, 300));
        EXPECT_EQ(services.panes[1], "Depth:  0.00");
        Click(*view, QPoint(400, 300));
    }
    EXPECT_EQ(host.updates, 0);
    ApplyRecorded(doc, edit::ToggleControlMode{});
    Click(az, QPoint(400, 300)); // no depth or azimuth to take
    EXPECT_EQ(doc.m_nControlPoints, 0);
    EXPECT_EQ(doc.edits, 0);
}

struct ModeRow {
    const char* name;
    Plot plot;
    bool deleteMode, controlMode;
    const char* prompt;
    Qt::CursorShape cursor; // the fakes: delete Cross, control SizeAll
};

class ModePrompt : public PlotMouse, public ::testing::WithParamInterface<ModeRow> {};

TEST_P(ModePrompt, EachModeHasItsPromptAndCursor)
{
    const ModeRow& row = GetParam();
    ASSERT_TRUE(LoadDemoSurvey(doc));
    if (row.deleteMode)
        ApplyRecorded(doc, edit::ToggleDeleteMode{});
    if (row.controlMode)
        ApplyRecorded(doc, edit::ToggleControlMode{});
    PlotFrame& view = View(row.plot);
    Use(view);
    services.panes[0] = "stale";
    Move(view, QPoint(70, 70));
    // The values of the reading under the mouse, then the prompt; in control
    // mode the azimuth plot says instead where a click would place the point.
    const QString pane = services.panes[0];
    const QString prompt = QString::fromUtf8(row.prompt);
    if (row.controlMode && row.plot == Plot::Azimuth)
        EXPECT_TRUE(pane.startsWith(prompt)) << pane.toStdString();
    else
        EXPECT_TRUE(pane.startsWith("At 11.40 m: ") && pane.endsWith(prompt)) << pane.toStdString();
    EXPECT_EQ(view.cursor().shape(), row.cursor);
}

const char* const kDeletePrompt = "Click on observation point to delete";
INSTANTIATE_TEST_SUITE_P(
    PlotMouse, ModePrompt,
    ::testing::Values(
        ModeRow{"InclinationDelete", Plot::Inclination, true, false, kDeletePrompt, Qt::CrossCursor},
        ModeRow{"InclinationControl", Plot::Inclination, false, true, "", Qt::ArrowCursor},
        ModeRow{"AzimuthDelete", Plot::Azimuth, true, false, kDeletePrompt, Qt::CrossCursor},
        ModeRow{"AzimuthControl", Plot::Azimuth, false, true, "Click to place a control point at ", Qt::SizeAllCursor},
        ModeRow{"AzimuthNoMode", Plot::Azimuth, false, false, "", Qt::ArrowCursor},
        ModeRow{"MagneticDelete", Plot::Magnetic, true, false, kDeletePrompt, Qt::CrossCursor},
        ModeRow{"MagneticControl", Plot::Magnetic, false, true, "", Qt::ArrowCursor}),
    RowName());

struct DeleteRow {
    const char* name;
    Plot plot;
    int target;
};

class DeleteClick : public PlotMouse, public ::testing::WithParamInterface<DeleteRow> {};

TEST_P(DeleteClick, RemovesTheObservationUnderTheMouseOnce)
{
    const DeleteRow& row = GetParam();
    std::vector<Observation> rows; // 7 pixels apart
    for (int i = 0; i <= 100; ++i)
        rows.push_back(PlotPoint(i, 40 + i % 5, 100 + i % 3, 0.1 * (i % 4), 0.2, -0.3));
    rows.insert(rows.begin() + 31, PlotPoint(30.2, 40, 100, 0, 0.2, -0.3)); // 1.4 px after the 30th
    SetObservations(doc, rows);
    doc.m_bDeleteMode = true;
    PlotFrame& view = View(row.plot);
    Use(view);
    const Observation obs = doc.m_pObs[row.target];
    const double next = doc.m_pObs[row.target + 1].Depth;
    const int before = doc.m_nObs;
    const std::int32_t x = ToPlotUnits(obs.Depth * 100);
    const double value = row.plot == Plot::Magnetic  ? obs.MagE * 1e5
                         : row.plot == Plot::Azimuth ? obs.CalcAzMag
                                                     : obs.CalcIncl;
    const QPoint p = Device(view, x, ToPlotUnits(value * 100)) + QPoint(2, -2);
    Move(view, p);
    const int marked = row.target == 30 ? 31 : row.target; // of two, the nearer one
    EXPECT_EQ(view.m_nHitObs, marked);
    EXPECT_EQ(view.cursor().shape(), Qt::PointingHandCursor);
    const double deleted = doc.m_pObs[marked].Depth;
    Click(view, p);
    EXPECT_EQ(doc.edits, 1); // through the application's one road
    EXPECT_EQ(doc.m_nObs, before - 1);
    EXPECT_EQ(doc.m_pObs[marked].Depth, marked == row.target ? next : 31.0);
    EXPECT_EQ(host.updates, 1); // every view of the survey redraws
    // The azimuth view alone puts the delete cursor back on release.
    EXPECT_EQ(view.cursor().shape(), row.plot == Plot::Azimuth ? Qt::CrossCursor : Qt::PointingHandCursor);
    Click(view, p); // no move in between: nothing marked
    EXPECT_EQ(doc.m_nObs, before - 1);
    Move(view, p + QPoint(1, 0));
    if (view.m_nHitObs != -1) {
        EXPECT_NE(doc.m_pObs[view.m_nHitObs].Depth, deleted) << "nothing left there but a neighbour's line";
    }
}

struct SpikeRow {
    const char* name;
    double alongStem; // 1 at the spike's tip, 0 at the reading before it
    QPoint offset;    // from that point of the stem, in pixels
    int picked;       // -1: none
};

class SpikePick : public PlotMouse, public ::testing::WithParamInterface<SpikeRow> {};

// A spike is taken by a click near its tip or on its stem, not only on the
// pixel of its mark; the nearest reading wins.
TEST_P(SpikePick, TakesTheNearestReadingWithinSixPixels)
{
    std::vector<Observation> rows;
    for (int i = 0; i <= 100; ++i)
        rows.push_back(PlotPoint(i, i == 50 ? 80 : 40, 100));
    SetObservations(doc, rows);
    doc.m_bDeleteMode = true;
    Use(incl);
    const QPoint base = Device(incl, ToPlotUnits(49 * 100.0), ToPlotUnits(40 * 100.0));
    const QPoint tip = Device(incl, ToPlotUnits(50 * 100.0), ToPlotUnits(80 * 100.0));
    const double t = GetParam().alongStem;
    const QPoint onStem(static_cast<int>(std::lround(base.x() + t * (tip.x() - base.x()))),
                        static_cast<int>(std::lround(base.y() + t * (tip.y() - base.y()))));
    Move(incl, onStem + GetParam().offset);
    EXPECT_EQ(incl.m_nHitObs, GetParam().picked);
}

INSTANTIATE_TEST_SUITE_P(PlotMouse, SpikePick,
                         ::testing::Values(SpikeRow{"ThreePixelsRightOfTheTip", 1.0, QPoint(3, 0), 50},
                                           SpikeRow{"ThreePixelsAboveTheTip", 1.0, QPoint(0, -3), 50},
                                           SpikeRow{"OnTheStemNearTheTip", 0.75, QPoint(0, 0), 50},
                                           SpikeRow{"BesideTheStemNearTheBase", 0.1, QPoint(-2, 0), 49},
                                           SpikeRow{"SevenPixelsAboveTheTip", 1.0, QPoint(0, -7), -1}),
                         RowName());

INSTANTIATE_TEST_SUITE_P(PlotMouse, DeleteClick,
                         ::testing::Values(DeleteRow{"Inclination", Plot::Inclination, 40},
                                           DeleteRow{"Azimuth", Plot::Azimuth, 60},
                                           DeleteRow{"Magnetic", Plot::Magnetic, 80},
                                           DeleteRow{"LaterOfTwoUnderTheMouse", Plot::Inclination, 30}),
                         RowName());

TEST_F(PlotMouse, ControlClicksAddPointsDrawnAsCrossesUpToOneHundred)
{
    // A vertical probe at azimuth 170, from its sensors: each point placed
    // recalculates the survey, which must give the same azimuths again.
    std::vector<Observation> rows;
    const double azimuth = 170 * std::numbers::pi / 180;
    for (int i = 0; i <= 100; ++i) {
        Observation obs{};
        obs.Depth = i;
        obs.MagX = -std::sin(azimuth);
        obs.MagZ = std::cos(azimuth);
        obs.AccZ = 1;
        rows.push_back(obs);
    }
    SetObservations(doc, rows);
    doc.Recalculate(); // azimuth frame 80 to 260 degrees
    ApplyRecorded(doc, edit::ToggleControlMode{});
    Use(az);
    // Before the click the status bar says what it will place.
    Move(az, QPoint(400, 313));
    EXPECT_EQ(services.panes[0], QString::fromUtf8("Click to place a control point at 50.00 m, azimuth 165.32°"));
    PaintCounter counter;
    az.installEventFilter(&counter);
    Click(az, QPoint(400, 313));
    EXPECT_EQ(counter.paints, 1); // redrawn before the click returned
    Click(az, QPoint(20, 20));    // in the margin
    ASSERT_EQ(doc.m_nControlPoints, 2);
    EXPECT_EQ(doc.edits, 2);
    EXPECT_EQ(doc.m_ControlPoints[0].x, 5000);  // 50.00 m
    EXPECT_EQ(doc.m_ControlPoints[0].y, 16532); // 165.32 degrees
    EXPECT_EQ(doc.m_ControlPoints[1].x, -429);
    EXPECT_EQ(doc.m_ControlPoints[1].y, 27080);
    EXPECT_EQ(az.m_size100Px.width, 1428); // round(50 x 10000 / 700) twice
    EXPECT_EQ(az.m_size100Px.height, -3600);

    const QImage image = Render(az);
    for (const QPoint centre : {QPoint(400, 313), QPoint(20, 20)}) {
        for (int d = -6; d <= 6; ++d) {
            EXPECT_EQ(image.pixel(centre + QPoint(d, 0)), kBlue) << d;
            EXPECT_EQ(image.pixel(centre + QPoint(0, d)), kBlue) << d;
        }
        // (1, -1): off the cross and off the fitted line, which runs through both points down to the right.
        for (const QPoint outside : {QPoint(-7, 0), QPoint(7, 0), QPoint(0, -7), QPoint(0, 7), QPoint(1, -1)})
            EXPECT_NE(image.pixel(centre + outside), kBlue) << outside.x() << "," << outside.y();
    }

    for (int i = 0; i < 99; ++i)
        Click(az, QPoint(100 + 6 * i, 100 + 3 * i));
    EXPECT_EQ(doc.m_nControlPoints, 100);
    EXPECT_EQ(doc.m_ControlPoints[99].x, az.Mapping().DPtoLP({100 + 6 * 97, 0}).x);
    EXPECT_EQ(Render(az).pixel(400, 313), kBlue);
    // Past 100 a click says why it adds nothing, and so does the prompt.
    services.panes[0].clear();
    Click(az, QPoint(300, 300));
    EXPECT_EQ(services.panes[0], "At most 100 control points");
    Move(az, QPoint(310, 300)); // after the reading's values
    EXPECT_TRUE(services.panes[0].endsWith("   At most 100 control points")) << services.panes[0].toStdString();

    doc.m_nControlPoints = 0;
    Click(incl, QPoint(400, 313));
    Click(mag, QPoint(400, 313));
    EXPECT_EQ(doc.m_nControlPoints, 0);
}

TEST_F(PlotMouse, FitCommandsDrawTheFittedCurveThroughTheControlPoints)
{
    ASSERT_TRUE(LoadDemoSurvey(doc));
    ApplyRecorded(doc, edit::ToggleControlMode{});
    Use(az);
    const auto clickOnCurve = [&](int index) {
        const Observation& obs = doc.m_pObs[index];
        Click(az, Device(az, ToPlotUnits(obs.Depth * 100), ToPlotUnits(obs.CalcAzMag * 100)));
    };
    const QImage unfitted = Render(az);
    for (int index : {1500, 1700, 2400, 2600}) // around the disturbed interval
        clickOnCurve(index);
    EXPECT_EQ(doc.m_nCoef, 3) << "fitted at once with the degree in force";
    for (int degree : {2, 3}) {
        ApplyRecorded(doc, edit::SetFitDegree{degree});
        ASSERT_EQ(doc.m_nCoef, degree + 1);
        const QImage image = Render(az);
        int blue = 0;
        int changed = 0;
        for (int i = 1000; i <= 3000; i += 100) { // 21 observations
            const double x = doc.m_pObs[i].Depth * 100;
            const QPoint p = Device(az, ToPlotUnits(x), ToPlotUnits(doc.FittedAzimuthScaled(x)));
            blue += image.pixel(p) == kBlue; // unless the centre line crosses there
            changed += image.pixel(p) == kBlue && unfitted.pixel(p) != kBlue;
        }
        EXPECT_GE(blue, 18);
        EXPECT_GE(changed, 15);
    }
}

} // namespace

#include "ViewTestSupport.h"
#include "survey/EditRecord.h"
#include "survey/Anomalies.h"
#include "views/PlotLink.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace survey;

namespace {

// The three plots of the demo survey sharing one depth window, each
// 800 x 600 pixels, so the frame spans 0 to 400 m over 700 pixels.
class PlotZoom : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadDemoSurvey(doc));
        doc.SetHost(&host);
        host.views = {&incl, &az, &mag};
        for (PlotFrame* view : Views())
            Render(*view);
    }

    std::vector<PlotFrame*> Views() { return {&incl, &az, &mag}; }

    // `notches` turns of the wheel away from the user (zooming in) at `at`.
    static void Wheel(PlotFrame& view, QPoint at, int notches)
    {
        QWheelEvent wheel(at, view.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &wheel);
    }

    static void Move(PlotFrame& view, QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
    }

    static QPoint OnReading(PlotFrame& view, const Observation& obs)
    {
        return Device(view, ToPlotUnits(obs.Depth * 100), ToPlotUnits(obs.CalcAzMag * 100));
    }

    FakeSurvey doc;
    FakeViewServices services;
    FakeHost host;
    PlotLink link;
    CInclView incl{doc, services, &link};
    CAzView az{doc, services, &link};
    CMagView mag{doc, services, &link};
};

TEST_F(PlotZoom, AWheelZoomOnOnePlotMovesAllThreeAndHomeGivesBackTheWholeHole)
{
    std::vector<QImage> whole;
    for (PlotFrame* view : Views())
        whole.push_back(Render(*view));

    Wheel(mag, QPoint(225, 300), 4); // a quarter along the frame: 100 m stays in place
    EXPECT_EQ(services.panes[1], "Depth:  100.00");
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const QImage zoomed = Render(*Views()[i]);
        EXPECT_EQ(Views()[i]->m_nXMin, 5904) << i; // 400 m / 1.25^4 long
        EXPECT_EQ(Views()[i]->m_nXMax, 22288) << i;
        EXPECT_NE(zoomed, whole[i]) << i;
    }

    // A middle-button drag 70 pixels to the right shows 1/10 of the window shallower.
    QTest::mousePress(&incl, Qt::MiddleButton, {}, QPoint(300, 300));
    Move(incl, QPoint(370, 300));
    QTest::mouseRelease(&incl, Qt::MiddleButton, {}, QPoint(370, 300));
    Render(az);
    EXPECT_EQ(az.m_nXMin, 4266);
    EXPECT_EQ(az.m_nXMax, 20650);

    QTest::keyClick(&az, Qt::Key_Home);
    for (std::size_t i = 0; i < whole.size(); ++i)
        EXPECT_EQ(Render(*Views()[i]), whole[i]) << i; // pixel for pixel
}

TEST_F(PlotZoom, AZoomedClickDeletesTheReadingTheReadoutNames)
{
    ApplyRecorded(doc, edit::ToggleDeleteMode{});
    Wheel(az, QPoint(400, 300), 20); // some 4.6 m over 700 pixels about 200 m
    Render(az);
    const Observation target = doc.m_pObs[2003]; // 200.3 m, 15 pixels from each neighbour
    const QPoint at = OnReading(az, target);
    Move(az, at);
    EXPECT_EQ(services.panes[1], "Depth:  200.30");
    EXPECT_EQ(az.m_nHitObs, 2003);
    QTest::mouseClick(&az, Qt::LeftButton, {}, at);
    EXPECT_EQ(doc.edits, 1);
    EXPECT_EQ(doc.m_nObs, 4000);
    EXPECT_EQ(doc.m_pObs[2002].Depth, 200.2);
    EXPECT_EQ(doc.m_pObs[2003].Depth, 200.4);
}

TEST_F(PlotZoom, ArrowKeysMarkReadingsAndDeleteRemovesTheMarkedOne)
{
    Wheel(incl, QPoint(400, 300), 20);
    Render(incl);
    const std::int32_t first = incl.Mapping().DPtoLP({50, 0}).x; // the window's left edge
    QTest::keyClick(&incl, Qt::Key_Right);
    const std::int32_t marked = incl.MarkedObservation();
    ASSERT_GE(marked, 0);
    EXPECT_GE(ToPlotUnits(doc.m_pObs[marked].Depth * 100), first);
    EXPECT_LT(ToPlotUnits(doc.m_pObs[marked - 1].Depth * 100), first);
    QTest::keyClick(&incl, Qt::Key_Right);
    QTest::keyClick(&incl, Qt::Key_Right);
    QTest::keyClick(&incl, Qt::Key_Left);
    EXPECT_EQ(incl.MarkedObservation(), marked + 1);
    EXPECT_EQ(services.panes[1], QString::asprintf("Depth:  %.2f", ToPlotUnits(doc.m_pObs[marked + 1].Depth * 100) / 100.0));

    QTest::keyClick(&incl, Qt::Key_Delete); // outside delete mode: nothing
    EXPECT_EQ(doc.m_nObs, 4001);
    ApplyRecorded(doc, edit::ToggleDeleteMode{});
    QTest::keyClick(&incl, Qt::Key_Right);
    EXPECT_EQ(incl.m_nHitObs, marked + 2); // the delete-mode highlight follows
    const double next = doc.m_pObs[marked + 3].Depth;
    QTest::keyClick(&incl, Qt::Key_Delete);
    EXPECT_EQ(doc.edits, 1);
    EXPECT_EQ(doc.m_nObs, 4000);
    EXPECT_EQ(incl.MarkedObservation(), -1);
    QTest::keyClick(&incl, Qt::Key_Right); // on from the gap
    EXPECT_EQ(incl.MarkedObservation(), marked + 2);
    EXPECT_EQ(doc.m_pObs[marked + 2].Depth, next);
}

TEST_F(PlotZoom, AfterAClickTheArrowKeysGoOnFromTheClickedDepth)
{
    Render(incl);
    QTest::mouseClick(&incl, Qt::LeftButton, {}, QPoint(300, 200));
    const std::int32_t clicked = incl.Mapping().DPtoLP({300, 200}).x;
    QTest::keyClick(&incl, Qt::Key_Right);
    const std::int32_t marked = incl.MarkedObservation();
    ASSERT_GT(marked, 0);
    EXPECT_GE(ToPlotUnits(doc.m_pObs[marked].Depth * 100), clicked);
    EXPECT_LT(ToPlotUnits(doc.m_pObs[marked - 1].Depth * 100), clicked);
}

TEST_F(PlotZoom, ARightClickOnAControlPointsCrossRemovesItAtAnyZoom)
{
    ApplyRecorded(doc, edit::ToggleControlMode{});
    for (int index : {1800, 2200})
        QTest::mouseClick(&az, Qt::LeftButton, {}, OnReading(az, doc.m_pObs[index]));
    ASSERT_EQ(doc.m_nControlPoints, 2);
    const ControlPoint first = doc.m_ControlPoints[0];
    Wheel(az, QPoint(400, 300), 6);
    Render(az);
    const ControlPoint second = doc.m_ControlPoints[1];
    const QPoint cross = Device(az, second.x, second.y);
    QTest::mouseClick(&az, Qt::RightButton, {}, cross + QPoint(20, 0)); // beside it
    EXPECT_EQ(doc.m_nControlPoints, 2);
    QTest::mouseClick(&az, Qt::RightButton, {}, cross + QPoint(6, -4));
    ASSERT_EQ(doc.m_nControlPoints, 1);
    EXPECT_EQ(doc.edits, 3);
    EXPECT_EQ(doc.m_ControlPoints[0].x, first.x);
}

TEST_F(PlotZoom, AnomaliesShareOneScaleAroundZeroAndPickWhereDrawn)
{
    const std::int64_t plainSpan = std::int64_t{mag.m_nYMax} - mag.m_nYMin;
    link.SetComponentsAsAnomalies(true);
    ApplyRecorded(doc, edit::ToggleDeleteMode{});
    Wheel(mag, QPoint(70, 300), 20); // readings 15 pixels apart
    Render(mag);
    // North and Up lie tens of thousands of nT apart; less their medians
    // all three share a scale across zero a fraction as wide.
    EXPECT_LT(mag.m_nYMin, 0);
    EXPECT_GT(mag.m_nYMax, 0);
    EXPECT_LT(3 * (std::int64_t{mag.m_nYMax} - mag.m_nYMin), plainSpan);
    std::vector<double> north;
    for (std::int32_t i = 0; i < doc.m_nObs; ++i)
        north.push_back(doc.m_pObs[i].MagN * 1e5);
    std::nth_element(north.begin(), north.begin() + 2000, north.end()); // of 4001 readings
    const std::int32_t index = (mag.m_nXMin + mag.m_nXMax) / 2 / 10; // every 10 cm from 0 m
    const Observation& obs = doc.m_pObs[index];
    Move(mag, Device(mag, ToPlotUnits(obs.Depth * 100), ToPlotUnits((obs.MagN * 1e5 - north[2000]) * 100)));
    EXPECT_EQ(mag.m_nHitObs, index);
}

// With a reference field the view draws, and picks by, the survey core's
// anomalies against it (North here thousands of nT from North less its
// median), not the components less their medians.
TEST_F(PlotZoom, AnomaliesAgainstTheModelPickWhereTheCoreDrawsThem)
{
    doc.m_site.date = geomag::Date{2008, 6, 1};
    doc.m_reference.readings.assign(static_cast<std::size_t>(doc.m_nObs), {51800.0, 75.0, 5000.0, 10000.0});
    link.SetComponentsAsAnomalies(true);
    ApplyRecorded(doc, edit::ToggleDeleteMode{});
    Wheel(mag, QPoint(70, 300), 20);
    Render(mag);
    const std::int32_t index = (mag.m_nXMin + mag.m_nXMax) / 2 / 10;
    const std::int32_t x = ToPlotUnits(doc.m_pObs[index].Depth * 100);
    const Anomaly anomaly = AnomaliesOf(doc)[static_cast<std::size_t>(index)];
    Move(mag, Device(mag, x, ToPlotUnits(anomaly.north * 100)));
    EXPECT_EQ(mag.m_nHitObs, index);
}

} // namespace

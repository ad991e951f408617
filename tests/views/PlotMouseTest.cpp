#include "ViewTestSupport.h"

#include "EditCommands.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

const QRgb kBlue = qRgb(0, 0, 255);

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

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

    // Shows `view` alone (the test's mouse moves go to the window under the
    // pointer) and paints it, so its mapping and the magnetic range are those
    // of the current survey.
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

    QPoint Device(const PlotFrame& view, std::int32_t x, std::int32_t y)
    {
        const PlotMapping::Point p = view.Mapping().LPtoDP({x, y});
        return QPoint(p.x, p.y);
    }

    CKestrixDoc doc;
    FakeServices services;
    FakeHost host;
    CInclView incl{&doc, &services};
    CAzView az{&doc, &services};
    CMagView mag{&doc, &services};
};

TEST_F(PlotMouse, ReadoutGivesTheDepthUnderTheMouseAlsoInTheMargins)
{
    ASSERT_TRUE(LoadDemoSurvey(doc)); // 0 to 400 m over 700 pixels
    struct Row {
        int x;
        const char* text;
    };
    for (PlotFrame* view : Views()) {
        Use(*view);
        for (const Row& r : {Row{50, "Depth:  0.00"}, Row{400, "Depth:  200.00"}, Row{750, "Depth:  400.00"},
                             Row{10, "Depth:  -22.86"}, Row{790, "Depth:  422.86"}, Row{401, "Depth:  200.57"}}) {
            Move(*view, QPoint(r.x, 300 + r.x % 7));
            EXPECT_EQ(services.panes[1].toStdString(), r.text) << view->metaObject()->className();
        }
    }
}

TEST_F(PlotMouse, ReadoutWithoutAFrameNamesTheLeftDepth)
{
    SetObservations(doc, {PlotPoint(42.5, 10, 10, 0.1, 0.1, 0.1), PlotPoint(42.5, 10, 10, 0.1, 0.1, 0.1)});
    doc.m_bDeleteMode = true;
    for (PlotFrame* view : Views()) {
        Use(*view);
        Move(*view, QPoint(50, 550));
        EXPECT_EQ(services.panes[1], "Depth:  42.50");
        EXPECT_EQ(view->m_nHitObs, -1); // nothing drawn, nothing picked
    }
    SetObservations(doc, {});
    for (PlotFrame* view : Views()) {
        Use(*view);
        Move(*view, QPoint(400, 300));
        EXPECT_EQ(services.panes[1], "Depth:  0.00");
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(400, 300));
    }
    EXPECT_EQ(host.updates, 0);
}

TEST_F(PlotMouse, EachModeHasItsPromptAndCursor)
{
    FillDemoLikeSurvey(doc);
    const QString deletePrompt = "Click on observation point to delete";
    const QString controlPrompt = "Click to add control points to define a smoothed azimuth curve";
    struct Row {
        PlotFrame* view;
        int command; // 0: leave both modes
        QString prompt;
        Qt::CursorShape cursor;
    };
    int step = 0;
    for (const Row& r : {Row{&incl, ID_EDIT_DELETE_OBSERVATIONS, deletePrompt, Qt::CrossCursor},
                         Row{&incl, ID_EDIT_ADD_CONTROL_POINTS, "", Qt::ArrowCursor},
                         Row{&az, ID_EDIT_DELETE_OBSERVATIONS, deletePrompt, Qt::CrossCursor},
                         Row{&az, ID_EDIT_ADD_CONTROL_POINTS, controlPrompt, Qt::SizeAllCursor},
                         Row{&az, 0, "", Qt::ArrowCursor},
                         Row{&mag, ID_EDIT_DELETE_OBSERVATIONS, deletePrompt, Qt::CrossCursor},
                         Row{&mag, ID_EDIT_ADD_CONTROL_POINTS, "", Qt::ArrowCursor},
                         Row{&mag, 0, "", Qt::ArrowCursor}}) {
        if (r.command)
            doc.OnCommand(r.command);
        else
            doc.m_bDeleteMode = doc.m_bControlMode = false;
        if (!r.view->isVisible())
            Use(*r.view);
        services.panes[0] = "stale";
        Move(*r.view, QPoint(70 + step++, 70));
        EXPECT_EQ(services.panes[0], r.prompt) << step;
        EXPECT_EQ(r.view->cursor().shape(), r.cursor) << step;
    }
}

TEST_F(PlotMouse, DeleteModeClickRemovesTheObservationUnderTheMouseOnce)
{
    FillDemoLikeSurvey(doc, 101); // 7 pixels between observations
    doc.m_bDeleteMode = true;
    const int target = 40;
    for (PlotFrame* view : Views()) {
        SCOPED_TRACE(view->metaObject()->className());
        Use(*view);
        const Observation obs = doc.m_pObs[target];
        const double next = doc.m_pObs[target + 1].Depth;
        const int before = doc.m_nObs;
        const int updates = host.updates;
        const std::int32_t x = ToPlotUnits(obs.Depth * 100);
        QPoint p;
        if (view == &mag) // its East point, unclamped
            p = Device(*view, x, ToPlotUnits(obs.MagE * 1e7));
        else
            p = Device(*view, x, ToPlotUnits((view == &az ? obs.CalcAzMag : obs.CalcIncl) * 100));
        Move(*view, p + QPoint(2, -2)); // within the 5 x 5 square
        EXPECT_EQ(view->m_nHitObs, target);
        EXPECT_EQ(view->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(view, Qt::LeftButton, {}, p + QPoint(2, -2));
        EXPECT_EQ(doc.m_nObs, before - 1);
        EXPECT_EQ(doc.m_pObs[target].Depth, next);
        EXPECT_EQ(host.updates, updates + 1); // every view of the survey redraws
        // The azimuth view alone puts the delete cursor back on release.
        EXPECT_EQ(view->cursor().shape(), view == &az ? Qt::CrossCursor : Qt::PointingHandCursor);
        QTest::mouseClick(view, Qt::LeftButton, {}, p + QPoint(2, -2));
        EXPECT_EQ(doc.m_nObs, before - 1);
        Move(*view, p + QPoint(3, 0)); // just outside the square
        EXPECT_EQ(view->m_nHitObs, -1);
    }
}

TEST_F(PlotMouse, ClickOnASpikeOfTheDemoSurveyDeletesIt)
{
    ASSERT_TRUE(LoadDemoSurvey(doc));
    doc.OnCommand(ID_EDIT_DELETE_OBSERVATIONS);
    Use(az);
    const int spike = 573; // 57.3 m
    const Observation obs = doc.m_pObs[spike];
    const QPoint tip = Device(az, ToPlotUnits(obs.Depth * 100), ToPlotUnits(obs.CalcAzMag * 100));
    Move(az, tip);
    EXPECT_EQ(services.panes[1], "Depth:  57.14"); // pixel 150: 100 x 40000 / 700
    ASSERT_EQ(az.m_nHitObs, spike);
    const int updates = host.updates;
    QTest::mouseClick(&az, Qt::LeftButton, {}, tip);
    EXPECT_EQ(doc.m_nObs, 4000);
    EXPECT_DOUBLE_EQ(doc.m_pObs[spike].Depth, 57.4);
    EXPECT_EQ(host.updates, updates + 1);
    Move(az, tip);
    EXPECT_EQ(az.m_nHitObs, -1); // nothing left at the tip
}

TEST_F(PlotMouse, OfTwoObservationsUnderTheMouseTheLaterOneIsDeleted)
{
    std::vector<Observation> rows;
    for (int i = 0; i <= 100; ++i)
        rows.push_back(PlotPoint(i, 30, 30, 0.1, 0.2, 0.3));
    rows.insert(rows.begin() + 51, PlotPoint(50.2, 30, 30, 0.1, 0.2, 0.3));
    SetObservations(doc, rows);
    doc.m_bDeleteMode = true;
    Use(incl);
    const QPoint p = Device(incl, 5000, 3000);
    Move(incl, p);
    QTest::mouseClick(&incl, Qt::LeftButton, {}, p);
    ASSERT_EQ(doc.m_nObs, 101);
    EXPECT_EQ(doc.m_pObs[50].Depth, 50.0);
    EXPECT_EQ(doc.m_pObs[51].Depth, 51.0);
}

TEST_F(PlotMouse, ControlClicksAddPointsDrawnAsCrossesUpToOneHundred)
{
    std::vector<Observation> rows;
    for (int i = 0; i <= 100; ++i)
        rows.push_back(PlotPoint(i, 0, 170));
    SetObservations(doc, rows); // azimuth frame 80 to 260 degrees
    doc.OnCommand(ID_EDIT_ADD_CONTROL_POINTS);
    Use(az);
    PaintCounter counter;
    az.installEventFilter(&counter);

    Move(az, QPoint(400, 313));
    QTest::mouseClick(&az, Qt::LeftButton, {}, QPoint(400, 313));
    EXPECT_GE(counter.paints, 1); // redrawn before the click returned
    Move(az, QPoint(20, 20));
    QTest::mouseClick(&az, Qt::LeftButton, {}, QPoint(20, 20)); // in the margin
    ASSERT_EQ(doc.m_nControlPoints, 2);
    EXPECT_EQ(doc.m_ControlPoints[0].x, 5000); // 50.00 m
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
        for (const QPoint outside : {QPoint(-7, 0), QPoint(7, 0), QPoint(0, -7), QPoint(0, 7), QPoint(1, 1)})
            EXPECT_NE(image.pixel(centre + outside), kBlue) << outside.x() << "," << outside.y();
    }

    for (int i = 0; i < 99; ++i)
        QTest::mouseClick(&az, Qt::LeftButton, {}, QPoint(100 + 6 * i, 100 + 3 * i));
    EXPECT_EQ(doc.m_nControlPoints, 100);
    EXPECT_EQ(doc.m_ControlPoints[99].x, az.Mapping().DPtoLP({100 + 6 * 97, 100 + 3 * 97}).x);
    EXPECT_EQ(Render(az).pixel(400, 313), kBlue);

    doc.m_nControlPoints = 0;
    QTest::mouseClick(&incl, Qt::LeftButton, {}, QPoint(400, 313));
    QTest::mouseClick(&mag, Qt::LeftButton, {}, QPoint(400, 313));
    EXPECT_EQ(doc.m_nControlPoints, 0);
}

TEST_F(PlotMouse, FitCommandDrawsTheFittedCurveThroughTheControlPoints)
{
    FillDemoLikeSurvey(doc, 101);
    doc.OnCommand(ID_EDIT_ADD_CONTROL_POINTS);
    Use(az);
    const auto clickAt = [&](double depth, double azimuth) {
        const QPoint p = Device(az, ToPlotUnits(depth * 100), ToPlotUnits(azimuth * 100));
        Move(az, p);
        QTest::mouseClick(&az, Qt::LeftButton, {}, p);
    };
    clickAt(20, 121);
    clickAt(80, 124);
    EXPECT_EQ(doc.m_nCoef, 0);
    const QImage unfitted = Render(az);
    doc.OnCommand(ID_EDIT_FIT_DEGREE_1);
    ASSERT_EQ(doc.m_nCoef, 2);
    QImage image = Render(az);
    int changed = 0;
    for (int i = 25; i <= 75; i += 5) {
        const double x = doc.m_pObs[i].Depth * 100;
        const QPoint p = Device(az, ToPlotUnits(x), ToPlotUnits(doc.FittedAzimuthScaled(x)));
        EXPECT_EQ(image.pixel(p), kBlue) << i;
        changed += unfitted.pixel(p) != kBlue;
        EXPECT_NEAR(doc.FittedAzimuthScaled(x), 12100 + 300 * (i - 20) / 60.0, 40) << i;
    }
    EXPECT_GE(changed, 8);

    clickAt(50, 140);
    doc.OnCommand(ID_EDIT_FIT_DEGREE_3);
    EXPECT_EQ(doc.m_nCoef, 4);
    image = Render(az);
    for (int i = 10; i <= 90; i += 10) { // the ends lie under the frame
        const double x = doc.m_pObs[i].Depth * 100;
        EXPECT_EQ(image.pixel(Device(az, ToPlotUnits(x), ToPlotUnits(doc.FittedAzimuthScaled(x)))), kBlue) << i;
    }
}

} // namespace

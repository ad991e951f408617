// The plan and the section of the hole's path: their mapping, what they draw
// and where, the section's azimuth, the dimming and the pointer's readout.
#include "NamedRows.h"
#include "ScratchFolder.h"
#include "ViewTestSupport.h"
#include "views/PlotImage.h"
#include "views/PlotLink.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace survey;

namespace {

constexpr double kEasting = 500000.0, kNorthing = 7000000.0, kHeight = 300.0;

// Readings every metre from 0 to `length` m along a straight line from the
// collar, `east`, `north` and `up` metres per metre of depth.
void StraightHole(FakeSurvey& doc, double east, double north, double up, int length = 100)
{
    doc.m_dEasting = kEasting;
    doc.m_dNorthing = kNorthing;
    doc.m_dHeight = kHeight;
    std::vector<Observation> rows;
    for (int d = 0; d <= length; ++d) {
        Observation obs = PlotPoint(d, 0, 0);
        obs.East = kEasting + east * d;
        obs.North = kNorthing + north * d;
        obs.Height = kHeight + up * d;
        rows.push_back(obs);
    }
    SetObservations(doc, rows);
}

QPointF PlanPoint(const Observation& obs) { return QPointF(obs.East, obs.North); }

struct WindowRow {
    const char* name;
    int width, height;
};

class PlanScales : public ::testing::TestWithParam<WindowRow> {};

// A metre east and a metre north are as long on the screen, the path fills
// the frame along its tighter axis, and the collar and every reading lie in it.
TEST_P(PlanScales, AreEqualAcrossAndUp)
{
    FakeSurvey doc;
    FakeViewServices services;
    StraightHole(doc, 0.6, 0.2, -0.5); // 60 m east, 20 m north
    CPlanView plan(doc, services);
    plan.resize(GetParam().width, GetParam().height);
    ASSERT_TRUE(plan.SetupMapping());
    const QPointF collar = plan.ToDevice({kEasting, kNorthing});
    const QPointF east = plan.ToDevice({kEasting + 60, kNorthing});
    const QPointF north = plan.ToDevice({kEasting, kNorthing + 20});
    EXPECT_NEAR((east.x() - collar.x()) / 60, (collar.y() - north.y()) / 20, 1e-9);
    EXPECT_DOUBLE_EQ(east.y(), collar.y());
    EXPECT_DOUBLE_EQ(north.x(), collar.x());
    const QRect frame = plan.FrameRect();
    const double filled = GetParam().width > GetParam().height ? (collar.y() - north.y()) / frame.height()
                                                               : (east.x() - collar.x()) / frame.width();
    EXPECT_GT(filled, 0.8);
    EXPECT_TRUE(frame.contains(collar.toPoint()));
    for (std::int32_t i = 0; i < doc.m_nObs; ++i)
        EXPECT_TRUE(frame.contains(plan.ToDevice(PlanPoint(doc.m_pObs[i])).toPoint())) << i;
}

INSTANTIATE_TEST_SUITE_P(PathViewTest, PlanScales,
                         ::testing::Values(WindowRow{"WiderThanTall", 900, 300}, WindowRow{"TallerThanWide", 300, 900}),
                         RowName());

// A straight hole to the east: every red pixel of the plan lies on the
// collar's row and right of it, and the far end is red.
TEST(PathViewTest, AHoleToTheEastIsDrawnRightOfTheCollar)
{
    FakeSurvey doc;
    FakeViewServices services;
    StraightHole(doc, 0.7, 0.0, -0.7);
    CPlanView plan(doc, services);
    const QImage image = Render(plan);
    const QPoint collar = plan.ToDevice({kEasting, kNorthing}).toPoint();
    const QPoint end = plan.ToDevice(PlanPoint(doc.m_pObs[100])).toPoint();
    EXPECT_GT(end.x(), collar.x() + 400);
    EXPECT_EQ(image.pixel(end - QPoint(1, 0)), Rgb(255, 0, 0));
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != Rgb(255, 0, 0))
                continue;
            ++red;
            EXPECT_EQ(y, collar.y());
            EXPECT_GE(x, collar.x());
        }
    }
    EXPECT_GT(red, 400);
}

struct AzimuthRow {
    const char* name;
    double east, north; // per metre of depth
    bool upward;        // read from the bottom of the hole up
    double azimuth;
};

class SectionAzimuth : public ::testing::TestWithParam<AzimuthRow> {};

// By default the section looks from the collar to the deepest reading,
// wherever it stands in the table; a chosen azimuth takes its place.
TEST_P(SectionAzimuth, IsTheDirectionFromTheCollarToTheDeepestReading)
{
    const AzimuthRow& row = GetParam();
    FakeSurvey doc;
    FakeViewServices services;
    StraightHole(doc, row.east, row.north, -0.9);
    if (row.upward)
        std::reverse(doc.m_pObs.get(), doc.m_pObs.get() + doc.m_nObs);
    EXPECT_NEAR(CSectionView::DefaultAzimuth(doc), row.azimuth, 1e-9);

    PlotLink link;
    CSectionView section(doc, services, &link);
    section.resize(800, 600);
    ASSERT_TRUE(section.SetupMapping());
    EXPECT_NEAR(section.Azimuth(), row.azimuth, 1e-9);
    link.SetSectionAzimuth(-30.0);
    ASSERT_TRUE(section.SetupMapping());
    EXPECT_NEAR(section.Azimuth(), 330.0, 1e-9);
    // Save Plot As and Print draw what the window shows, and name the hole around it.
    const QRect frame = section.FrameRect();
    EXPECT_EQ(RenderPlot(*FindPlotKind("section"), doc, QSize(800, 600), &link).copy(frame), Render(section).copy(frame));
}

INSTANTIATE_TEST_SUITE_P(PathViewTest, SectionAzimuth,
                         ::testing::Values(AzimuthRow{"East", 0.3, 0.0, false, 90.0},
                                           AzimuthRow{"SouthWest", -0.2, -0.2, false, 225.0},
                                           AzimuthRow{"NorthWest", -0.2, 0.2, false, 315.0},
                                           AzimuthRow{"ReadUpward", 0.0, -0.4, true, 180.0},
                                           AzimuthRow{"Vertical", 0.0, 0.0, false, 0.0},
                                           AzimuthRow{"WithinAMillimetre", 0.000009, 0.0, false, 0.0}),
                         RowName());

struct DimRow {
    const char* name;
    bool zoomed;
    std::vector<bool> inside; // at 13, 47 and 87 m
};

class Dimming : public ::testing::TestWithParam<DimRow> {};

// Zoomed to about 37 to 63 m, the path is grey outside that and red within;
// at the whole hole, red throughout. The plan and the section alike.
TEST_P(Dimming, FollowsTheDepthWindow)
{
    FakeSurvey doc;
    FakeViewServices services;
    StraightHole(doc, 0.3, 0.4, -0.5);
    PlotLink link;
    if (GetParam().zoomed) {
        DepthWindow window;
        window.Zoom({0, 10000}, 0.5, 4.0);
        link.SetWindow(window);
    }
    CPlanView plan(doc, services, &link);
    CSectionView section(doc, services, &link);
    for (PathFrame* view : std::vector<PathFrame*>{&plan, &section}) {
        const QImage image = Render(*view);
        const int depths[] = {13, 47, 87};
        for (std::size_t k = 0; k < 3; ++k) {
            const bool inside = GetParam().inside[k];
            const Observation& obs = doc.m_pObs[depths[k]];
            const QPointF at = view == &plan ? PlanPoint(obs) : QPointF(0.5 * depths[k], obs.Height);
            EXPECT_EQ(view->IsInDepthWindow(depths[k]), inside) << depths[k];
            EXPECT_EQ(image.pixel(view->ToDevice(at).toPoint()),
                      inside ? PathFrame::PathColour().rgb() : PathFrame::DimmedColour().rgb())
                << depths[k];
        }
    }
}

INSTANTIATE_TEST_SUITE_P(PathViewTest, Dimming,
                         ::testing::Values(DimRow{"WholeHole", false, {true, true, true}},
                                           DimRow{"Zoomed", true, {false, true, false}}),
                         RowName());

// Over a reading the status bar shows its depth and position; away from
// the path, nothing.
TEST(PathViewTest, PointerShowsTheNearestReading)
{
    FakeSurvey doc;
    FakeViewServices services;
    StraightHole(doc, 0.6, 0.0, -0.8);
    CPlanView plan(doc, services);
    Render(plan);
    const auto move = [&](QPointF at) {
        QMouseEvent event(QEvent::MouseMove, at, plan.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&plan, &event);
    };
    move(plan.ToDevice(PlanPoint(doc.m_pObs[40])) + QPointF(1, 3));
    EXPECT_EQ(services.panes[1], "Depth:  40.00");
    EXPECT_EQ(services.panes[0], "East 500024.00  North 7000000.00  Height 268.00");
    move(plan.ToDevice(PlanPoint(doc.m_pObs[40])) + QPointF(0, 20));
    EXPECT_EQ(services.panes[1], "");
    EXPECT_EQ(services.panes[0], "");
}

// The demo's section in a small window: the height's labels run from
// below zero to above it, and the one at zero has no sign.
TEST(PathViewTest, TheLabelAtZeroHasNoSign)
{
    FakeSurvey doc;
    ASSERT_TRUE(LoadDemoSurvey(doc));
    ScratchFolder folder;
    const QString path = QString::fromStdString(folder / "section.svg");
    ASSERT_EQ(WritePlotPicture(*FindPlotKind("section"), doc, QSize(360, 190), path), QString());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray svg = file.readAll();
    EXPECT_TRUE(svg.contains(">200</text>"));
    EXPECT_TRUE(svg.contains(">0</text>"));
    EXPECT_FALSE(svg.contains(">-0</text>"));
}

struct KindRow {
    const char* name;
    const char* kind;
    const QMetaObject* viewClass;
};

class PathKinds : public ::testing::TestWithParam<KindRow> {};

// Save Plot As, Print and kestrix-batch find the views by name and by
// window, and draw them.
TEST_P(PathKinds, AreListedAmongThePictures)
{
    const PlotKind* kind = FindPlotKind(GetParam().kind);
    ASSERT_NE(kind, nullptr);
    EXPECT_EQ(kind->viewClass, GetParam().viewClass);
    FakeSurvey doc;
    FakeViewServices services;
    StraightHole(doc, 0.2, 0.5, -0.7);
    const std::unique_ptr<PlotView> view = kind->make(doc, services, nullptr);
    EXPECT_EQ(KindOf(view.get()), kind);
    const QImage image = RenderPlot(*kind, doc, QSize(400, 300));
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            red += image.pixel(x, y) == Rgb(255, 0, 0);
    EXPECT_GT(red, 100);
}

INSTANTIATE_TEST_SUITE_P(PathViewTest, PathKinds,
                         ::testing::Values(KindRow{"Plan", "plan", &CPlanView::staticMetaObject},
                                           KindRow{"Section", "section", &CSectionView::staticMetaObject}),
                         RowName());

} // namespace

#include "NamedRows.h"
#include "ViewTestSupport.h"
#include "views/PlotLink.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

using namespace survey;

namespace {

// The inclination plot of a 4000 m hole logged every 2 cm: 200000 readings
// wandering over 4 degrees, one of them a spike, at 800 x 600 pixels, so
// some 285 readings share a pixel column of the whole hole.
constexpr std::int32_t kReadings = 200000;
constexpr std::int32_t kSpike = 123457;

class ManyReadings : public ::testing::Test {
protected:
    // Relogged, readings 100000 to 100999 go over the 20 m before them again.
    void Load(bool relogged)
    {
        std::vector<Observation> rows;
        for (std::int32_t i = 0; i < kReadings; ++i) {
            const double depth = 0.02 * (relogged && i >= 100000 && i < 101000 ? i - 1000 : i);
            rows.push_back(PlotPoint(depth, i == kSpike ? 75.0 : 30.0 + 0.4 * (i * 7919 % 11), 120.0));
        }
        SetObservations(doc, rows);
        incl.resize(800, 600);
    }

    // A window `factor` times narrower than the hole about reading `index`.
    void ZoomAbout(std::int32_t index, double factor)
    {
        DepthWindow window;
        if (factor > 1.0)
            window.Zoom({0, 399998}, index / double(kReadings - 1), factor);
        link.SetWindow(window);
    }

    QPoint OnReading(std::int32_t index)
    {
        const Observation& obs = doc.m_pObs[index];
        return Device(incl, ToPlotUnits(obs.Depth * 100), ToPlotUnits(obs.CalcIncl * 100));
    }

    // What a polyline through every reading draws inside the frame.
    QImage EveryReadingsPolyline()
    {
        QImage image(incl.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        const QPoint left = Device(incl, incl.m_nXMin, 0);
        const QPoint right = Device(incl, incl.m_nXMax, 0);
        painter.setClipRect(QRect(QPoint(left.x(), 0), QPoint(right.x(), image.height())));
        QPen pen(Qt::red, 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        pen.setCosmetic(true);
        painter.setPen(pen);
        QPolygon points;
        for (std::int32_t i = 0; i < doc.m_nObs; ++i)
            if (points.isEmpty() || points.constLast() != OnReading(i))
                points.append(OnReading(i));
        painter.drawPolyline(points);
        return image;
    }

    FakeSurvey doc;
    FakeViewServices services;
    PlotLink link;
    CInclView incl{doc, services, &link};
};

struct PictureRow {
    const char* name;
    bool relogged;
    std::int32_t about;
    double factor;
};

class ManyReadingsPicture : public ManyReadings, public ::testing::WithParamInterface<PictureRow> {};

// The extent of the red pixels in each column of the frame's inside,
// top and bottom; {-1, -1} where there are none.
std::vector<std::pair<int, int>> RedExtents(const QImage& image, QPoint bottomLeft, QPoint topRight)
{
    std::vector<std::pair<int, int>> extents;
    for (int x = bottomLeft.x() + 1; x < topRight.x(); ++x) {
        std::pair<int, int> extent{-1, -1};
        for (int y = topRight.y() + 1; y < bottomLeft.y(); ++y) {
            if (image.pixel(x, y) == Rgb(255, 0, 0))
                extent = {extent.first < 0 ? y : extent.first, y};
        }
        extents.push_back(extent);
    }
    return extents;
}

// Each column shows only a few of its readings, yet reaches as high and as
// low as a line through all of them, to the pixel (the thin pen leaves out
// the end of a one-pixel step by its direction).
TEST_P(ManyReadingsPicture, ReachesWhereAPolylineThroughEveryReadingReaches)
{
    Load(GetParam().relogged);
    ZoomAbout(GetParam().about, GetParam().factor);
    const QImage image = Render(incl);
    const QPoint bottomLeft = Device(incl, incl.m_nXMin, incl.m_nYMin);
    const QPoint topRight = Device(incl, incl.m_nXMax, incl.m_nYMax);
    const auto drawn = RedExtents(image, bottomLeft, topRight);
    const auto wanted = RedExtents(EveryReadingsPolyline(), bottomLeft, topRight);
    for (std::size_t x = 0; x < drawn.size(); ++x) {
        ASSERT_NE(drawn[x].first, -1) << x; // the curve crosses every column
        EXPECT_LE(std::abs(drawn[x].first - wanted[x].first), 1) << x;
        EXPECT_LE(std::abs(drawn[x].second - wanted[x].second), 1) << x;
    }
    if (GetParam().factor == 1.0) { // the spike's tip, among some 285 readings to a column
        EXPECT_EQ(image.pixel(OnReading(kSpike)), Rgb(255, 0, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(ManyReadings, ManyReadingsPicture,
                         ::testing::Values(PictureRow{"WholeHole", false, 0, 1.0},
                                           PictureRow{"TenReadings", false, 150000, 20000.0},
                                           PictureRow{"ReloggedWholeHole", true, 0, 1.0}),
                         RowName());

struct PickRow {
    const char* name;
    std::int32_t reading;
    double factor;
};

class ManyReadingsPick : public ManyReadings, public ::testing::WithParamInterface<PickRow> {};

TEST_P(ManyReadingsPick, TakesTheExactReadingUnderTheMouse)
{
    Load(false);
    doc.m_bDeleteMode = true;
    ZoomAbout(GetParam().reading, GetParam().factor);
    Render(incl);
    const QPoint at = OnReading(GetParam().reading);
    QMouseEvent move(QEvent::MouseMove, at, incl.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&incl, &move);
    EXPECT_EQ(incl.m_nHitObs, GetParam().reading);
}

INSTANTIATE_TEST_SUITE_P(ManyReadings, ManyReadingsPick,
                         ::testing::Values(PickRow{"TheSpikeOfTheWholeHole", kSpike, 1.0},
                                           PickRow{"InATenCentimetreWindow", 150003, 1e9},
                                           PickRow{"TheLast", kReadings - 1, 1e9}),
                         RowName());

// Out of depth order the keys still step by depth, then by table order.
TEST_F(ManyReadings, ArrowKeysStepInDepthOrderAcrossAReloggedStretch)
{
    SetObservations(doc, {PlotPoint(0, 30, 0), PlotPoint(1, 31, 0), PlotPoint(2, 32, 0), PlotPoint(3, 33, 0),
                          PlotPoint(2, 34, 0), PlotPoint(4, 35, 0)});
    Render(incl);
    std::vector<std::int32_t> marked;
    for (int k = 0; k < 6; ++k) {
        QTest::keyClick(&incl, Qt::Key_Right);
        marked.push_back(incl.MarkedObservation());
    }
    QTest::keyClick(&incl, Qt::Key_Left);
    marked.push_back(incl.MarkedObservation());
    EXPECT_EQ(marked, (std::vector<std::int32_t>{0, 1, 2, 4, 3, 5, 3}));
}

} // namespace

#include "NamedRows.h"
#include "ViewTestSupport.h"
#include "views/PlotLink.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <vector>

using namespace survey;

namespace {

// The azimuth plot's value labels in reach.
class LabelledAzView : public CAzView {
public:
    using CAzView::CAzView;
    using CAzView::ValueLabels;
};

// A survey of a reading every metre from 0 to 100 m, the azimuth 10 + depth
// / 2 degrees, with one reading of known values at 50 m; its three plots
// (800 x 600 pixels) fit their value ranges to one shared depth window.
class PlotAxes : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<Observation> rows;
        for (int i = 0; i <= 100; ++i)
            rows.push_back(PlotPoint(i, 30.0, 10.0 + i / 2.0, 0.001, 0.2, -0.4));
        rows[50] = PlotPoint(50, 45.25, 37.82, -1e-9, 0.1765, -0.456);
        rows[50].AzUsed = 38.10;
        SetObservations(doc, rows);
        link.SetFixedScales(false);
        for (PlotFrame* view : Views())
            Render(*view);
    }

    std::vector<PlotFrame*> Views() { return {&incl, &az, &mag}; }

    void Send(PlotFrame& view, QEvent& event) { QApplication::sendEvent(&view, &event); }
    void Move(PlotFrame& view, QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        Send(view, move);
    }
    void Wheel(PlotFrame& view, QPoint at, Qt::KeyboardModifiers modifiers)
    {
        QWheelEvent wheel(at, view.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        Send(view, wheel);
    }
    void Key(PlotFrame& view, int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        Send(view, press);
    }
    // Shows the depth window from `from` to `to` metres.
    void ShowWindow(std::int32_t from, std::int32_t to)
    {
        DepthWindow window;
        window.Zoom({0, 10000}, static_cast<double>(from) / (10000 - (to - from)), 10000.0 / (to - from));
        link.SetWindow(window);
        ASSERT_EQ(window.Shown({0, 10000}), (DepthSpan{from, to}));
    }

    FakeSurvey doc;
    FakeViewServices services;
    PlotLink link;
    CInclView incl{doc, services, &link};
    LabelledAzView az{doc, services, &link};
    CMagView mag{doc, services, &link};
};

struct ReadoutRow {
    const char* name;
    Plot plot;
    const char* values;
};

class ValuesReadout : public PlotAxes, public ::testing::WithParamInterface<ReadoutRow> {};

TEST_P(ValuesReadout, GivesTheNearestReadingsValuesAndThenTheMarkedOnes)
{
    const ReadoutRow& row = GetParam();
    PlotFrame& view = *Views()[static_cast<std::size_t>(row.plot)];
    Move(view, QPoint(401, 300)); // a pixel past the reading at 50 m
    EXPECT_EQ(services.panes[1], "Depth:  50.14");
    EXPECT_EQ(services.panes[0], QString::fromUtf8("At 50.00 m: ") + QString::fromUtf8(row.values));
    Key(view, Qt::Key_Right); // on from where the mouse was not clicked: the window's first reading
    EXPECT_TRUE(services.panes[0].startsWith("At 0.00 m: ")) << services.panes[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    PlotAxes, ValuesReadout,
    ::testing::Values(ReadoutRow{"Inclination", Plot::Inclination, "inclination 45.25\u00b0"},
                      ReadoutRow{"Azimuth", Plot::Azimuth, "azimuth measured 37.82\u00b0, used 38.10\u00b0"},
                      ReadoutRow{"Magnetic", Plot::Magnetic, "East 0 nT, North 17650 nT, Up -45600 nT"}),
    RowName());

struct LabelRow {
    const char* name;
    DepthSpan window;
    std::vector<QString> labels;
};

class FittedLabels : public PlotAxes, public ::testing::WithParamInterface<LabelRow> {};

TEST_P(FittedLabels, LieAtRoundValuesOfTheWindowsRange)
{
    const LabelRow& row = GetParam();
    if (row.window != DepthSpan{0, 10000})
        ShowWindow(row.window.from, row.window.to);
    Render(az);
    std::vector<QString> texts;
    for (const auto& label : az.ValueLabels())
        texts.push_back(label.text);
    EXPECT_EQ(texts, row.labels);
}

// Azimuths from 10 to 60 degrees; 20 to 30 from 20 to 40 m; 40 to 41 from 60 to 62 m.
INSTANTIATE_TEST_SUITE_P(
    PlotAxes, FittedLabels,
    ::testing::Values(LabelRow{"WholeHole", {0, 10000}, {"10", "15", "20", "25", "30", "35", "40", "45", "50", "55", "60"}},
                      LabelRow{"TwentyMetres", {2000, 4000}, {"20", "21", "22", "23", "24", "25", "26", "27", "28", "29", "30"}},
                      LabelRow{"TwoMetres", {6000, 6200},
                               {"40.0", "40.1", "40.2", "40.3", "40.4", "40.5", "40.6", "40.7", "40.8", "40.9", "41.0"}}),
    RowName());

TEST_F(PlotAxes, FitsTheWindowZoomsAboutTheMouseAndHomeRestoresBoth)
{
    ShowWindow(2000, 4000); // azimuths 20 to 30: 5 % more either side
    Render(az);
    EXPECT_NEAR(az.m_nYMin, 1950, 1);
    EXPECT_NEAR(az.m_nYMax, 3050, 1);
    Render(incl);
    const std::int32_t inclSpan = incl.m_nYMax - incl.m_nYMin;
    // Ctrl and the wheel a quarter up the frame: that azimuth stays put, the span narrows by 1.25.
    Wheel(az, QPoint(400, 425), Qt::ControlModifier);
    Render(az);
    EXPECT_NEAR(az.m_nYMax - az.m_nYMin, 1100 / 1.25, 2);
    EXPECT_NEAR(az.m_nYMin + (az.m_nYMax - az.m_nYMin) / 4.0, 1950 + 1100 / 4.0, 2);
    Render(incl);
    EXPECT_EQ(incl.m_nYMax - incl.m_nYMin, inclSpan); // the other plots keep theirs
    Key(az, Qt::Key_Home);
    EXPECT_TRUE(link.Window().IsWhole());
    EXPECT_FALSE(link.HasValueZoom());
    Render(az);
    EXPECT_NEAR(az.m_nYMin, 750, 1); // 10 to 60 over the whole hole
    EXPECT_NEAR(az.m_nYMax, 6250, 1);
    link.SetFixedScales(true); // the centred 180 degrees about the mean, 35
    Render(az);
    EXPECT_EQ(az.m_nYMin, -6000);
    EXPECT_EQ(az.m_nYMax, 12000);
}

} // namespace

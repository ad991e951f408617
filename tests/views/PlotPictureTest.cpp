#include "NamedRows.h"
#include "ViewTestSupport.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include <limits>

using namespace survey;

namespace {

const QRgb kWhite = Rgb(255, 255, 255);
const QRgb kBlack = Rgb(0, 0, 0);
const QRgb kRed = Rgb(255, 0, 0);
const QRgb kGreen = Rgb(0, 255, 0);
const QRgb kBlue = Rgb(0, 0, 255);
const QRgb kGrey = Rgb(196, 196, 196);

// True when `text`, written as the frame writes its labels at `at`, shows in
// `image` pixel for pixel.
bool ShowsText(const QImage& image, const QWidget& view, QPoint at, PlotFrame::Anchor anchor, const QString& text)
{
    QImage reference(image.size(), QImage::Format_RGB32);
    reference.fill(Qt::white);
    {
        QPainter painter(&reference);
        painter.setFont(view.font());
        PlotFrame::DrawTextAt(painter, at, anchor, text);
    }
    QRect inked;
    for (int y = 0; y < reference.height(); ++y)
        for (int x = 0; x < reference.width(); ++x)
            if (reference.pixel(x, y) != kWhite)
                inked |= QRect(x, y, 1, 1);
    if (inked.isEmpty())
        return false;
    for (int y = inked.top(); y <= inked.bottom(); ++y)
        for (int x = inked.left(); x <= inked.right(); ++x)
            if (image.pixel(x, y) != reference.pixel(x, y))
                return false;
    return true;
}

template <typename View>
struct OnePlot {
    FakeSurvey doc;
    FakeViewServices services;
    View view{doc, services};
};

class FramePicture : public ::testing::TestWithParam<PlotRow> {};

TEST_P(FramePicture, LiesFiftyPixelsInsideEachSide)
{
    FakeSurvey doc;
    FakeViewServices services;
    ASSERT_TRUE(LoadDemoSurvey(doc));
    const QImage image = Render(*MakePlot(GetParam().plot, doc, services));
    for (int y = 50; y <= 550; y += 5) {
        EXPECT_EQ(image.pixel(50, y), kBlack) << y;
        EXPECT_EQ(image.pixel(750, y), kBlack) << y;
        EXPECT_EQ(image.pixel(751, y), kWhite) << y;
    }
    for (int x = 50; x <= 750; x += 5) {
        EXPECT_EQ(image.pixel(x, 50), kBlack) << x;
        EXPECT_EQ(image.pixel(x, 550), kBlack) << x;
    }
    for (int x = 100; x <= 700; x += 5) {
        EXPECT_EQ(image.pixel(x, 49), kWhite) << x;
        EXPECT_EQ(image.pixel(x, 551), kWhite) << x;
    }
}

INSTANTIATE_TEST_SUITE_P(PlotPicture, FramePicture, kEveryPlot, RowName());

struct CentredRow {
    const char* name;
    Plot plot;
    double mean;
    std::int32_t yMin, yMax;
    const char *bottom, *middle, *top;
};

class CentredRange : public ::testing::TestWithParam<CentredRow> {};

TEST_P(CentredRange, FloorsTowardMinusInfinityAndLabelsItsEnds)
{
    const CentredRow& r = GetParam();
    FakeSurvey doc;
    FakeViewServices services;
    // Both values lie beyond the frame, so the curve runs corner to corner.
    SetObservations(doc, {PlotPoint(12.5, r.mean - 100, r.mean - 100), PlotPoint(112.5, r.mean + 100, r.mean + 100)});
    const std::unique_ptr<PlotFrame> view = MakePlot(r.plot, doc, services);
    const QImage image = Render(*view);
    EXPECT_EQ(view->m_nYMin, r.yMin);
    EXPECT_EQ(view->m_nYMax, r.yMax);
    const std::int32_t middle = (r.yMin + r.yMax) / 2;
    using A = PlotFrame::Anchor;
    EXPECT_TRUE(ShowsText(image, *view, QPoint(50, 550), A::RightBottom, r.bottom));
    EXPECT_TRUE(ShowsText(image, *view, Device(*view, 1250, middle), A::RightBottom, r.middle));
    EXPECT_TRUE(ShowsText(image, *view, QPoint(50, 50), A::RightBottom, r.top));
    EXPECT_TRUE(ShowsText(image, *view, QPoint(50, 550), A::CenterTop, "12.5m"));
    EXPECT_TRUE(ShowsText(image, *view, QPoint(750, 550), A::CenterTop, "112.5m"));
    EXPECT_FALSE(ShowsText(image, *view, QPoint(50, 50), A::RightBottom, "99"));
    EXPECT_EQ(image.pixel(330, 350), kRed); // on the line from (50, 550) to (750, 50)
    EXPECT_EQ(image.pixel(330, 349), kWhite);
}

INSTANTIATE_TEST_SUITE_P(
    PlotPicture, CentredRange,
    ::testing::Values(CentredRow{"AzimuthNearSouth", Plot::Azimuth, 175.2, 8000, 26000, "80", "170", "260"},
                      CentredRow{"AzimuthBelowZero", Plot::Azimuth, -12.5, -11000, 7000, "-110", "-20", "70"},
                      CentredRow{"AzimuthOnAMultipleOfTen", Plot::Azimuth, 90.0, 0, 18000, "0", "90", "180"},
                      CentredRow{"InclinationBelowZero", Plot::Inclination, -63.4, -16000, 2000, "-160", "-70", "20"},
                      CentredRow{"InclinationOnAMultipleOfTen", Plot::Inclination, -60.0, -15000, 3000, "-150", "-60",
                                 "30"}),
    RowName());

TEST(PlotPicture, CurvePixelsLieWhereTheMappingPutsThem)
{
    OnePlot<CInclView> plot;
    ASSERT_TRUE(LoadDemoSurvey(plot.doc));
    const QImage image = Render(plot.view);
    // The curve lies over the grid and the centre line, so every point shows.
    for (int i = 20; i < 4000; i += 137) {
        const Observation& obs = plot.doc.m_pObs[i];
        const QPoint p = Device(plot.view, ToPlotUnits(obs.Depth * 100), ToPlotUnits(obs.CalcIncl * 100));
        EXPECT_EQ(image.pixel(p), kRed) << i;
    }
}

TEST(PlotPicture, GridHasSeventeenLinesTheMiddleOneUnderTheCentreLine)
{
    OnePlot<CAzView> plot;
    ASSERT_TRUE(LoadDemoSurvey(plot.doc));
    const QImage image = Render(plot.view);
    const double centre = plot.view.m_dCentre;
    std::vector<int> expected;
    for (int k = -80; k <= 80; k += 10) {
        if (k != 0)
            expected.push_back(Device(plot.view, 0, ToPlotUnits((k + centre) * 100)).y());
    }
    std::sort(expected.begin(), expected.end());
    for (int x : {60, 300, 749}) {
        std::vector<int> grey;
        for (int y = 51; y < 550; ++y)
            if (image.pixel(x, y) == kGrey)
                grey.push_back(y);
        EXPECT_EQ(grey, expected) << x;
        EXPECT_EQ(image.pixel(x, 300), kBlack) << x;
    }
}

struct TraceOnLineRow {
    const char* name;
    Plot plot;
    double level, spike; // degrees, or East in gauss for the magnetic view
    QRgb colour;
};

class TraceOnLine : public ::testing::TestWithParam<TraceOnLineRow> {};

// A reading exactly on a grid or level line is drawn over it, not hidden under it.
TEST_P(TraceOnLine, ShowsTheCurvesColour)
{
    const TraceOnLineRow& r = GetParam();
    FakeSurvey doc;
    FakeViewServices services;
    std::vector<Observation> rows;
    for (int i = 0; i <= 100; ++i) {
        const double v = i == 50 ? r.spike : r.level;
        rows.push_back(r.plot == Plot::Magnetic ? PlotPoint(i, 0, 0, v, 0.2, -0.3) : PlotPoint(i, v, v));
    }
    SetObservations(doc, rows);
    const std::unique_ptr<PlotFrame> view = MakePlot(r.plot, doc, services);
    const QImage image = Render(*view, 420, 300);
    const double scale = r.plot == Plot::Magnetic ? 1e7 : 100;
    EXPECT_EQ(image.pixel(Device(*view, 5000, ToPlotUnits(r.spike * scale))), r.colour);
    EXPECT_EQ(image.pixel(Device(*view, 2500, ToPlotUnits(r.level * scale))), r.colour);
}

// With readings near 5 degrees the centre is 0 and a grid line lies at 40.
INSTANTIATE_TEST_SUITE_P(
    PlotPicture, TraceOnLine,
    ::testing::Values(TraceOnLineRow{"AzimuthSpikeOnAGridLine", Plot::Azimuth, 5, 40, kRed},
                      TraceOnLineRow{"InclinationSpikeOnAGridLine", Plot::Inclination, 5, -70, kRed},
                      TraceOnLineRow{"AzimuthAlongTheCentreLine", Plot::Azimuth, 0, 10, kRed},
                      TraceOnLineRow{"EastAlongTheZeroLine", Plot::Magnetic, 0, 0.1, kBlue}),
    RowName());

struct WideLabelRow {
    const char* name;
    Plot plot;
    double u; // gauss, for the magnetic view; degrees otherwise
    const char* top;
    bool widens; // the label is wider than the 50-pixel margin
};

class WideLabel : public ::testing::TestWithParam<WideLabelRow> {};

// Each value label shows whole between the window's left edge and the frame;
// a label that fits leaves the frame 50 pixels in.
TEST_P(WideLabel, FitsLeftOfTheFrame)
{
    const WideLabelRow& r = GetParam();
    FakeSurvey doc;
    FakeViewServices services;
    SetObservations(doc, {PlotPoint(0, r.u, r.u, 0.1, 0.2, -r.u), PlotPoint(100, r.u, r.u, 0.1, 0.2, r.u)});
    const std::unique_ptr<PlotFrame> view = MakePlot(r.plot, doc, services);
    const QImage image = Render(*view);
    const QPoint topLeft = Device(*view, view->m_nXMin, view->m_nYMax);
    EXPECT_GE(topLeft.x() - PlotFrame::TextCellWidth(QFontMetrics(view->font()), r.top), 0);
    EXPECT_TRUE(ShowsText(image, *view, topLeft, PlotFrame::Anchor::RightBottom, r.top));
    EXPECT_EQ(topLeft.x() > PlotFrame::kMargin, r.widens);
    EXPECT_EQ(image.pixel(topLeft.x(), 300), kBlack); // the frame's left edge
}

INSTANTIATE_TEST_SUITE_P(
    PlotPicture, WideLabel,
    ::testing::Values(WideLabelRow{"AzimuthNarrow", Plot::Azimuth, 175, "260", false},
                      WideLabelRow{"MagneticNarrow", Plot::Magnetic, 0.5, "50000", false},
                      WideLabelRow{"MagneticAtTheRangeLimit", Plot::Magnetic, 1e6, "10000000", true}),
    RowName());

TEST(PlotPicture, MagneticComponentsDrawEastOverNorthOverUp)
{
    OnePlot<CMagView> plot;
    std::vector<Observation> rows;
    for (int i = 0; i <= 200; ++i)
        rows.push_back(PlotPoint(i * 0.5, 0, 0, 0.1 + 0.0001 * i, 0.2 - 0.0002 * i, -0.3 + 0.0002 * i));
    rows[100].MagN = rows[100].MagE; // North under East at one depth
    SetObservations(plot.doc, rows);
    const QImage image = Render(plot.view);
    for (int i = 10; i <= 190; i += 30) {
        const Observation& o = rows[static_cast<std::size_t>(i)];
        const std::int32_t x = ToPlotUnits(o.Depth * 100);
        EXPECT_EQ(image.pixel(Device(plot.view, x, ToPlotUnits(o.MagU * 1e7))), kRed) << i;
        EXPECT_EQ(image.pixel(Device(plot.view, x, ToPlotUnits(o.MagN * 1e7))), i == 100 ? kBlue : kGreen) << i;
        EXPECT_EQ(image.pixel(Device(plot.view, x, ToPlotUnits(o.MagE * 1e7))), kBlue) << i;
    }
}

struct MagneticRow {
    const char* name;
    double e, n, u, spike;
    std::int32_t yMin, yMax;
    const char *bottom, *top; // no bottom label to check where "0" covers it
    bool zeroLine;
};

class MagneticRange : public ::testing::TestWithParam<MagneticRow> {};

TEST_P(MagneticRange, FollowsTheDataWithinTenMillionNanotesla)
{
    const MagneticRow& r = GetParam();
    OnePlot<CMagView> plot;
    std::vector<Observation> rows;
    for (int i = 0; i <= 100; ++i)
        rows.push_back(PlotPoint(i, 0, 0, r.e, r.n, i == 50 ? r.spike : r.u));
    SetObservations(plot.doc, rows);
    const QImage image = Render(plot.view);
    EXPECT_NEAR(plot.view.m_nYMin, r.yMin, 1);
    EXPECT_EQ(plot.view.m_nYMax, r.yMax);
    // A label wider than the margin widens it, so the frame is found by the mapping.
    const QPoint bottomLeft = Device(plot.view, plot.view.m_nXMin, plot.view.m_nYMin);
    const QPoint topLeft = Device(plot.view, plot.view.m_nXMin, plot.view.m_nYMax);
    if (r.bottom) {
        EXPECT_TRUE(ShowsText(image, plot.view, bottomLeft, PlotFrame::Anchor::RightBottom, r.bottom));
    }
    EXPECT_TRUE(ShowsText(image, plot.view, topLeft, PlotFrame::Anchor::RightBottom, r.top));
    int blackRows = 0;
    for (int y = topLeft.y() + 1; y < bottomLeft.y(); ++y)
        blackRows += image.pixel(400, y) == kBlack && image.pixel(700, y) == kBlack;
    EXPECT_EQ(blackRows, r.zeroLine ? 1 : 0);
    const QPoint zero = Device(plot.view, plot.view.m_nXMin, 0);
    EXPECT_EQ(r.zeroLine && image.pixel(100, zero.y()) == kBlack, r.zeroLine);
    EXPECT_EQ(ShowsText(image, plot.view, zero, PlotFrame::Anchor::RightBottom, "0"), r.zeroLine || r.yMax == 0);
}

INSTANTIATE_TEST_SUITE_P(
    PlotPicture, MagneticRange,
    ::testing::Values(MagneticRow{"AboveZero", 0.1, 0.2, 0.3, 0.3, 1000000, 3000000, "10000", "30000", false},
                      MagneticRow{"TopAtZero", -0.1, -0.2, 0.0, 0.0, -2000000, 0, "-20000", "0", false},
                      MagneticRow{"WholeNanotesla", 0.1, 0.2, -0.5234567, -0.5234567, -5234567, 2000000, "-52346",
                                  "20000", true},
                      MagneticRow{"Limited", 0.1, 0.2, -0.3, 150.0, -3000000, 1000000000, nullptr, "10000000", true}),
    RowName());

// What a view shows of a survey that gives it no usable range.
enum class Shows { Title, Nothing, Frame };

void ExpectPicture(const QImage& image, const PlotFrame& view, Shows shows)
{
    if (shows == Shows::Frame) {
        EXPECT_EQ(image.pixel(view.m_nMargin, image.height() / 2), kBlack);
        return;
    }
    // The title alone, or nothing, on white as every plot is.
    bool titled = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); x += 2) {
            const QRgb pixel = image.pixel(x, y);
            titled |= pixel == kBlack;
            ASSERT_TRUE(pixel == kWhite || y < 20) << x << "," << y;
        }
    }
    EXPECT_EQ(titled, shows == Shows::Title);
}

struct NoRangeRow {
    const char* name;
    std::vector<Observation> rows;
    int width, height;
    Shows mag; // what the magnetic view shows
};

class NoRange : public ::testing::TestWithParam<NoRangeRow> {};

TEST_P(NoRange, DrawsATitleOnWhite)
{
    const NoRangeRow& r = GetParam();
    FakeSurvey doc;
    FakeViewServices services;
    SetObservations(doc, r.rows);
    CInclView incl(doc, services);
    CAzView az(doc, services);
    CMagView mag(doc, services);
    ExpectPicture(Render(incl, r.width, r.height), incl, Shows::Title);
    ExpectPicture(Render(az, r.width, r.height), az, Shows::Title);
    ExpectPicture(Render(mag, r.width, r.height), mag, r.mag);
}

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
INSTANTIATE_TEST_SUITE_P(
    PlotPicture, NoRange,
    ::testing::Values(
        NoRangeRow{"NoObservations", {}, 800, 600, Shows::Title},
        NoRangeRow{"OneDepth", {PlotPoint(20, 10, 10, 0.1, 0.2, 0.3), PlotPoint(20, 30, 30, 0.2, 0.3, 0.4)}, 800, 600,
                   Shows::Title},
        NoRangeRow{"AllComponentsEqual", {PlotPoint(20, 10, 10, 0.1, 0.1, 0.1)}, 800, 600, Shows::Nothing},
        NoRangeRow{"NotANumber",
                   {PlotPoint(0, kNan, kNan, kNan, kNan, kNan), PlotPoint(9, 1, 1, kNan, kNan, kNan)},
                   800, 600, Shows::Nothing},
        NoRangeRow{"Infinite", {PlotPoint(0, kInf, -kInf, kInf, -kInf, kInf), PlotPoint(9, 1, 1, -kInf, kInf, -kInf)},
                   800, 600, Shows::Frame},
        NoRangeRow{"WindowTooSmall", {PlotPoint(0, 10, 10, 0.1, 0.2, 0.3), PlotPoint(9, 30, 30, 0.2, 0.3, 0.4)}, 100,
                   140, Shows::Title}),
    RowName());

TEST(PlotPicture, HugeDepthsValuesAndControlPointsSaturate)
{
    OnePlot<CAzView> plot;
    SetObservations(plot.doc, {PlotPoint(0, 0, -1e300, 1e300), PlotPoint(1e12, 0, 1e300, -1e300)});
    plot.doc.m_ControlPoints[0] = {std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()};
    plot.doc.m_nControlPoints = 1; // drawn as given: the observations are set, not computed
    Render(plot.view);
    EXPECT_EQ(plot.view.m_nXMax, std::numeric_limits<std::int32_t>::max());
    CMagView mag(plot.doc, plot.services);
    Render(mag);
    EXPECT_EQ(mag.m_nYMin, -1000000000);
    EXPECT_EQ(mag.m_nYMax, 1000000000);
}

} // namespace

// Painting of each depth plot, the quality plot, the plan and the section at
// 1200 x 800 pixels with 200000 observations, a mouse move in delete mode over
// the magnetic components view (which tests three points of every
// observation), and one wheel step of the depth zoom and one drag step of the
// depth window, each with the repaint of the three linked plots. Target: under
// 16 ms each.
#include "survey/EditRecord.h"
#include "survey/KestrixDoc.h"
#include "survey/Orientation.h"
#include "views/PlotLink.h"
#include "views/PlotViews.h"
#include "views/SurveyEditor.h"
#include "views/ViewServices.h"
#include "WidgetBench.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <memory>

using namespace survey;

namespace {

constexpr int kObservations = 200000;
constexpr int kWidth = 1200;
constexpr int kHeight = 800;

class StatusBar : public ViewServices {
public:
    void SetPaneText(int pane, const QString& text) override { m_panes[pane == 1 ? 1 : 0] = text; }
    QCursor DeleteCursor() const override { return QCursor(Qt::CrossCursor); }
    QCursor TargetCursor() const override { return QCursor(Qt::PointingHandCursor); }
    QCursor ControlCursor() const override { return QCursor(Qt::SizeAllCursor); }

private:
    QString m_panes[2];
};

// Raw readings of a 20000 m hole (`count` readings along it) whose
// inclination and azimuth wander, with noise and a disturbed interval, then
// the whole recalculation.
void FillSurvey(CKestrixDoc& doc, int count = kObservations)
{
    const double rad = kDegToRad;
    doc.m_nObs = count;
    doc.m_pObs = std::make_unique<Observation[]>(count);
    for (int i = 0; i < count; ++i) {
        const double depth = 0.1 * i * kObservations / count;
        const double incl = 60.0 + 10.0 * std::sin(depth / 300.0) + 0.3 * std::sin(i * 1.7);
        double az = 120.0 + 20.0 * std::sin(depth / 500.0) + 0.5 * std::sin(i * 2.3);
        if (depth > 900.0 && depth < 1100.0)
            az += 30.0 * std::sin((depth - 900.0) * std::numbers::pi / 200.0);
        const double h = 0.2 + 0.01 * std::sin(i * 0.9);
        const double v = -0.45;
        const double s = (90.0 - incl) * rad;
        const double h1 = h * std::sin(az * rad);
        const double h2 = h * std::cos(az * rad);
        Observation& obs = doc.m_pObs[i];
        obs = Observation{};
        obs.Depth = depth;
        obs.MagX = -h1;
        obs.MagY = -(h2 * std::cos(s) + v * std::sin(s));
        obs.MagZ = h2 * std::sin(s) - v * std::cos(s);
        obs.AccY = std::sin(incl * rad);
        obs.AccZ = std::cos(incl * rad);
    }
    for (int k = 0; k < 12; ++k) {
        const Observation& obs = doc.m_pObs[k * (count / 12)];
        ApplyRecorded(doc, edit::AddControlPoint{{static_cast<std::int32_t>(obs.Depth * 100), 12000 + 100 * k}});
    }
    doc.m_nDegree = 3;
    doc.Recalculate(); // fits the azimuth through the control points
}

struct Fixture {
    explicit Fixture(int count = kObservations) { FillSurvey(doc, count); }
    CKestrixDoc doc;
    ReadOnlySurvey survey{doc}; // the plots never edit it here
    StatusBar services;
    QImage image{kWidth, kHeight, QImage::Format_RGB32};
};

Fixture& Shared()
{
    static Fixture fixture;
    return fixture;
}

template <typename View>
void BM_Paint(benchmark::State& state)
{
    Fixture& f = Shared();
    View view(f.survey, f.services);
    view.resize(kWidth, kHeight);
    for (auto _ : state) {
        view.render(&f.image);
        benchmark::DoNotOptimize(f.image.constBits());
    }
}
BENCHMARK(BM_Paint<CInclView>)->Name("PaintInclination")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint<CAzView>)->Name("PaintAzimuthWithFit")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint<CMagView>)->Name("PaintMagnetic")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint<CQcView>)->Name("PaintQuality")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint<CPlanView>)->Name("PaintPlan")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint<CSectionView>)->Name("PaintSection")->Unit(benchmark::kMillisecond);

// Each depth plot zoomed in six times, as a zoom step repaints it.
template <typename View>
void BM_PaintZoomed(benchmark::State& state)
{
    Fixture& f = Shared();
    PlotLink link;
    View view(f.survey, f.services, &link);
    view.resize(kWidth, kHeight);
    DepthWindow window;
    window.Zoom({0, kObservations}, 0.5, 6.0);
    link.SetWindow(window);
    for (auto _ : state) {
        view.render(&f.image);
        benchmark::DoNotOptimize(f.image.constBits());
    }
}
BENCHMARK(BM_PaintZoomed<CInclView>)->Name("PaintInclinationZoomed")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintZoomed<CAzView>)->Name("PaintAzimuthWithFitZoomed")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintZoomed<CMagView>)->Name("PaintMagneticZoomed")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintZoomed<CQcView>)->Name("PaintQualityZoomed")->Unit(benchmark::kMillisecond);

// Each depth plot repainted after the survey changed (a recalculation, or an
// edit the plot is not told the extent of): all it keeps is worked out again.
template <typename View>
void BM_RepaintAfterChange(benchmark::State& state)
{
    Fixture& f = Shared();
    PlotLink link;
    link.SetFixedScales(state.range(0) != 0);
    View view(f.survey, f.services, &link);
    view.resize(kWidth, kHeight);
    view.render(&f.image);
    for (auto _ : state) {
        state.PauseTiming();
        f.doc.UpdateAllViews();
        state.ResumeTiming();
        view.render(&f.image);
        benchmark::DoNotOptimize(f.image.constBits());
    }
}
BENCHMARK(BM_RepaintAfterChange<CInclView>)->Name("RepaintInclinationAfterChange")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintAfterChange<CAzView>)->Name("RepaintAzimuthAfterChange")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintAfterChange<CMagView>)->Name("RepaintMagneticAfterChange")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintAfterChange<CQcView>)->Name("RepaintQualityAfterChange")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DeleteModeMove(benchmark::State& state)
{
    Fixture& f = Shared();
    CMagView view(f.survey, f.services);
    view.resize(kWidth, kHeight);
    view.render(&f.image); // the vertical range comes from the latest paint
    f.doc.m_bDeleteMode = true;
    int step = 0;
    for (auto _ : state) {
        const QPointF at(100 + step++ % 1000, 400);
        QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
        benchmark::DoNotOptimize(view.m_nHitObs);
    }
    f.doc.m_bDeleteMode = false;
}
BENCHMARK(BM_DeleteModeMove)->Name("DeleteModeMoveMagnetic")->Unit(benchmark::kMillisecond);

// The three plots of one survey, linked, zoomed in to about a sixth of the
// hole by eight notches at the mouse on the azimuth plot.
struct LinkedPlots {
    explicit LinkedPlots(Fixture& f) : incl(f.survey, f.services, &link), az(f.survey, f.services, &link),
                                       mag(f.survey, f.services, &link)
    {
        for (PlotFrame* view : views)
            view->resize(kWidth, kHeight);
        az.render(&f.image);
        Wheel(8);
    }
    void Wheel(int notches)
    {
        const QPointF at(500, 400);
        QWheelEvent event(at, az.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&az, &event);
    }
    void Mouse(QEvent::Type type, int x, Qt::MouseButtons buttons)
    {
        const QPointF at(x, 400);
        QMouseEvent event(type, at, az.mapToGlobal(at), Qt::MiddleButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(&az, &event);
    }
    void Render(QImage& image)
    {
        for (PlotFrame* view : views)
            view->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    PlotLink link;
    CInclView incl;
    CAzView az;
    CMagView mag;
    PlotFrame* views[3] = {&incl, &az, &mag};
};

// One notch in or out (in turn), then the three plots repainted.
void BM_ZoomStep(benchmark::State& state)
{
    Fixture& f = Shared();
    LinkedPlots plots(f);
    int step = 0;
    for (auto _ : state) {
        plots.Wheel(step++ % 2 == 0 ? 1 : -1);
        plots.Render(f.image);
    }
}
BENCHMARK(BM_ZoomStep)->Name("ZoomStepThreeLinkedPlots")->Unit(benchmark::kMillisecond);

// The depth window dragged 20 pixels with the middle button (deeper and back
// in turn), then the three plots repainted.
void BM_ScrollStep(benchmark::State& state)
{
    Fixture& f = Shared();
    LinkedPlots plots(f);
    plots.Mouse(QEvent::MouseButtonPress, 600, Qt::MiddleButton);
    int step = 0;
    for (auto _ : state) {
        plots.Mouse(QEvent::MouseMove, step++ % 2 == 0 ? 580 : 600, Qt::MiddleButton);
        plots.Render(f.image);
    }
    plots.Mouse(QEvent::MouseButtonRelease, 600, Qt::NoButton);
}
BENCHMARK(BM_ScrollStep)->Name("ScrollStepThreeLinkedPlots")->Unit(benchmark::kMillisecond);

} // namespace

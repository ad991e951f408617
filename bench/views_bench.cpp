// Painting of each depth plot, the plan and the section at 1200 x 800 pixels
// with 20000 observations, a mouse move in delete mode over the magnetic components view (which
// tests three points of every observation), and one wheel step of the depth
// zoom with the repaint of the three linked plots. Target: under 16 ms each.
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

constexpr int kObservations = 20000;
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

// Raw readings of a 2000 m hole (`count` readings along it) whose
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
        const Observation& obs = doc.m_pObs[k * 1700 * (count / kObservations)];
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
BENCHMARK(BM_Paint<CPlanView>)->Name("PaintPlan")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint<CSectionView>)->Name("PaintSection")->Unit(benchmark::kMillisecond);

// Each depth plot at 200000 readings over the whole hole (0) and zoomed in
// to a sixth of it (1), as a zoom step repaints it.
Fixture& Long()
{
    static Fixture& fixture = KeepUntilTheBenchmarksEnd(std::make_unique<Fixture>(200000));
    return fixture;
}

template <typename View>
void BM_PaintLong(benchmark::State& state)
{
    Fixture& f = Long();
    PlotLink link;
    View view(f.survey, f.services, &link);
    view.resize(kWidth, kHeight);
    if (state.range(0) == 1) {
        DepthWindow window;
        window.Zoom({0, 200000}, 0.5, 6.0);
        link.SetWindow(window);
    }
    for (auto _ : state) {
        view.render(&f.image);
        benchmark::DoNotOptimize(f.image.constBits());
    }
}
BENCHMARK(BM_PaintLong<CInclView>)->Name("PaintInclination200k")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintLong<CAzView>)->Name("PaintAzimuthWithFit200k")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintLong<CMagView>)->Name("PaintMagnetic200k")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintLong<CQcView>)->Name("PaintQuality200k")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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

// A zoomed-in window, one notch in or out (in turn) at the mouse on the
// azimuth plot, then the three plots repainted.
void BM_ZoomStep(benchmark::State& state)
{
    Fixture& f = Shared();
    PlotLink link;
    CInclView incl(f.survey, f.services, &link);
    CAzView az(f.survey, f.services, &link);
    CMagView mag(f.survey, f.services, &link);
    PlotFrame* views[] = {&incl, &az, &mag};
    for (PlotFrame* view : views)
        view->resize(kWidth, kHeight);
    const auto wheel = [&](int notches) {
        const QPointF at(500, 400);
        QWheelEvent event(at, az.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&az, &event);
    };
    az.render(&f.image);
    wheel(8); // about a sixth of the hole
    int step = 0;
    for (auto _ : state) {
        wheel(step++ % 2 == 0 ? 1 : -1);
        for (PlotFrame* view : views)
            view->render(&f.image);
        benchmark::DoNotOptimize(f.image.constBits());
    }
}
BENCHMARK(BM_ZoomStep)->Name("ZoomStepThreeLinkedPlots")->Unit(benchmark::kMillisecond);

} // namespace

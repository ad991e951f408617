// One edit of a 200000-reading survey as kestrix makes it, from the edit to
// the repainted listing and three depth plots at 1200 x 800 pixels: a reading
// deleted, a control point added (the fit follows), and an undo. Target:
// under 16 ms each. Then the quality plot's share of each edit with its
// window open: its repaint, the edit untimed.
#include "RawSurveyText.h"
#include "WidgetBench.h"
#include "app/SurveyDocument.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"
#include "survey/MessageSink.h"
#include "views/CKestrixView.h"
#include "views/PlotViews.h"
#include "views/ViewServices.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace survey;

namespace {

constexpr int kReadings = CKestrixDoc::kMaxObservations;
constexpr int kWidth = 1200;
constexpr int kHeight = 800;

class NoStatusBar : public ViewServices {
public:
    void SetPaneText(int, const QString&) override {}
    QCursor DeleteCursor() const override { return {}; }
    QCursor TargetCursor() const override { return {}; }
    QCursor ControlCursor() const override { return {}; }
};

class FailingSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { std::fprintf(stderr, "edit_bench: %s\n", text.c_str()); }
};

// The survey loaded from a raw survey file's text (a reading every 1 cm from
// 3 m), with a degree-3 fit through twelve control points, and its four
// windows' views.
struct Fixture {
    Fixture()
        : document(QStringLiteral("/tmp/edit-bench.txt"), QStringLiteral("/tmp/edit-bench.txt")),
          listing(*document.Doc(), services), incl(document, services, &document.Plots()),
          az(document, services, &document.Plots()), mag(document, services, &document.Plots()),
          quality(document, services, &document.Plots())
    {
        const QByteArray text = RawSurveyText(kReadings, 3.0, 0.01);
        StringLineSource source(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
        FailingSink sink;
        document.Load("/tmp/edit-bench.txt", source, sink);
        for (int k = 0; k < 12; ++k)
            document.Apply(edit::AddControlPoint{{300 + k * 16000, 9000 + 150 * k}});
        document.Apply(edit::SetFitDegree{3});
        listing.resize(kWidth, kHeight);
        listing.show();
        for (PlotFrame* view : plots)
            view->resize(kWidth, kHeight);
        quality.resize(kWidth, kHeight);
        Render();
        RenderQuality();
    }
    void Render()
    {
        listing.render(&image);
        for (PlotFrame* view : plots)
            view->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    void RenderQuality()
    {
        quality.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    NoStatusBar services;
    SurveyDocument document;
    CKestrixView listing;
    CInclView incl;
    CAzView az;
    CMagView mag;
    CQcView quality;
    PlotFrame* plots[3] = {&incl, &az, &mag};
    QImage image{kWidth, kHeight, QImage::Format_RGB32};
};

Fixture& Shared()
{
    static Fixture& fixture = KeepUntilTheBenchmarksEnd(std::make_unique<Fixture>());
    return fixture;
}

// Makes `op` and repaints; the undo that follows is not timed.
void EditAndRepaint(benchmark::State& state, const EditOperation& op)
{
    Fixture& f = Shared();
    for (auto _ : state) {
        f.document.Apply(op);
        f.Render();
        state.PauseTiming();
        f.document.History().undo();
        f.Render();
        state.ResumeTiming();
    }
}

void BM_DeleteReading(benchmark::State& state)
{
    EditAndRepaint(state, edit::DeleteObservation{kReadings / 3});
}
BENCHMARK(BM_DeleteReading)->Name("EditDeleteReading")->Unit(benchmark::kMillisecond);

void BM_AddControlPoint(benchmark::State& state)
{
    EditAndRepaint(state, edit::AddControlPoint{{100000, 10000}});
}
BENCHMARK(BM_AddControlPoint)->Name("EditAddControlPoint")->Unit(benchmark::kMillisecond);

// The deletion is made untimed; the undo and the repaint are timed.
void BM_Undo(benchmark::State& state)
{
    Fixture& f = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        f.document.Apply(edit::DeleteObservation{kReadings / 3});
        f.Render();
        state.ResumeTiming();
        f.document.History().undo();
        f.Render();
    }
}
BENCHMARK(BM_Undo)->Name("EditUndo")->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// Makes `op` untimed and repaints the quality plot; the undo that follows and
// its repaint are not timed.
void QualityPlotAfter(benchmark::State& state, const EditOperation& op)
{
    Fixture& f = Shared();
    f.RenderQuality();
    for (auto _ : state) {
        state.PauseTiming();
        f.document.Apply(op);
        state.ResumeTiming();
        f.RenderQuality();
        state.PauseTiming();
        f.document.History().undo();
        f.RenderQuality();
        state.ResumeTiming();
    }
}

void BM_QualityPlotAfterDelete(benchmark::State& state)
{
    QualityPlotAfter(state, edit::DeleteObservation{kReadings / 3});
}
BENCHMARK(BM_QualityPlotAfterDelete)->Name("QualityPlotAfterDelete")->Unit(benchmark::kMillisecond);

void BM_QualityPlotAfterControlPoint(benchmark::State& state)
{
    QualityPlotAfter(state, edit::AddControlPoint{{100000, 10000}});
}
BENCHMARK(BM_QualityPlotAfterControlPoint)->Name("QualityPlotAfterControlPoint")->Unit(benchmark::kMillisecond);

// The deletion and its repaint are untimed; the repaint after the undo is timed.
void BM_QualityPlotAfterUndo(benchmark::State& state)
{
    Fixture& f = Shared();
    f.RenderQuality();
    for (auto _ : state) {
        state.PauseTiming();
        f.document.Apply(edit::DeleteObservation{kReadings / 3});
        f.RenderQuality();
        f.document.History().undo();
        state.ResumeTiming();
        f.RenderQuality();
    }
}
BENCHMARK(BM_QualityPlotAfterUndo)->Name("QualityPlotAfterUndo")->Unit(benchmark::kMillisecond);

} // namespace

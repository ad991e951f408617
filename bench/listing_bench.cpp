// The listing window at 1200 x 800 pixels on a survey of the most readings a
// file may hold: one scroll step (a wheel notch, then the paint), and the
// paint after the survey changed (laid out again), with the scroll bars that
// follow it. Target: under 16 ms each. With readings 10 m apart every one is a
// listed row: the most rows a survey can give. Then the listing's share of
// one edit (a reading deleted, the deletion undone, a control point added):
// the paint and the scroll bars after it, the document's own work untimed.
#include "WidgetBench.h"
#include "survey/EditRecord.h"
#include "survey/ListingRows.h"
#include "survey/KestrixDoc.h"
#include "views/CKestrixView.h"
#include "views/ViewServices.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QScrollBar>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using namespace survey;

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 800;

class NoStatusBar : public ViewServices {
public:
    void SetPaneText(int, const QString&) override {}
    QCursor DeleteCursor() const override { return {}; }
    QCursor TargetCursor() const override { return {}; }
    QCursor ControlCursor() const override { return {}; }
};

// A hole with a wandering inclination and a rolling probe, recalculated.
void FillSurvey(CKestrixDoc& doc, double spacing)
{
    doc.m_nObs = CKestrixDoc::kMaxObservations;
    doc.m_pObs = std::make_unique<Observation[]>(CKestrixDoc::kMaxObservations);
    doc.m_dEasting = 512430.0;
    doc.m_dNorthing = 7034815.0;
    doc.m_dHeight = 286.0;
    for (int i = 0; i < doc.m_nObs; ++i) {
        const double depth = 3.0 + spacing * i;
        const double roll = i * 0.7;
        Observation& obs = doc.m_pObs[i];
        obs = Observation{};
        obs.Depth = depth;
        obs.MagX = 0.2 * std::cos(roll) - 0.1 * std::sin(roll);
        obs.MagY = 0.2 * std::sin(roll) + 0.1 * std::cos(roll);
        obs.MagZ = 0.45 + 0.01 * std::sin(depth / 5);
        obs.AccX = 1.5 * std::cos(roll);
        obs.AccY = 1.5 * std::sin(roll);
        obs.AccZ = 9.6 + 0.1 * std::sin(depth / 300);
    }
    doc.Recalculate();
}

struct Fixture {
    explicit Fixture(double spacing) : view(doc, services)
    {
        FillSurvey(doc, spacing);
        view.resize(kWidth, kHeight);
        view.show();
        view.render(&image);
    }
    CKestrixDoc doc;
    NoStatusBar services;
    CKestrixView view;
    QImage image{kWidth, kHeight, QImage::Format_RGB32};
};

// state.range(0): metres between readings, 10 (every reading listed) or 0.1 (every hundredth).
Fixture& Shared(double spacing)
{
    // Held by the main, so that the views go before the application.
    static Fixture& everyReading = KeepUntilTheBenchmarksEnd(std::make_unique<Fixture>(10.0));
    static Fixture& everyHundredth = KeepUntilTheBenchmarksEnd(std::make_unique<Fixture>(0.1));
    return spacing > 1.0 ? everyReading : everyHundredth;
}

double SpacingOf(const benchmark::State& state) { return state.range(0) / 10.0; }

// The paint and what it leaves queued for the scroll bars.
void Repaint(Fixture& f)
{
    f.view.render(&f.image);
    QCoreApplication::sendPostedEvents();
    benchmark::DoNotOptimize(f.image.constBits());
}

// Down the listing a wheel notch at a time, back to the top at the end.
void BM_ScrollStep(benchmark::State& state)
{
    Fixture& f = Shared(SpacingOf(state));
    QWidget* viewport = f.view.viewport();
    const QPointF at(400, 400);
    QScrollBar* scrollBar = f.view.verticalScrollBar();
    for (auto _ : state) {
        if (scrollBar->value() == scrollBar->maximum()) {
            scrollBar->setValue(0);
        } else {
            QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &wheel);
        }
        f.view.render(&f.image);
        benchmark::DoNotOptimize(f.image.constBits());
    }
}
BENCHMARK(BM_ScrollStep)->Name("ListingScrollStep")->Arg(100)->Arg(1)->Unit(benchmark::kMillisecond);

// The collar moved and the views told, as after an edit, so every paint
// finds a changed survey and lays the listing out again.
void BM_RepaintAfterChange(benchmark::State& state)
{
    Fixture& f = Shared(SpacingOf(state));
    for (auto _ : state) {
        f.doc.m_dEasting += 1.0;
        f.doc.UpdateAllViews();
        Repaint(f);
    }
}
BENCHMARK(BM_RepaintAfterChange)->Name("ListingRepaintAfterChange")->Arg(100)->Arg(1)->Unit(benchmark::kMillisecond);

// Readings 10 cm apart; state.range(0): 1 lists every reading, 0 about one per 10 m.
Fixture& EditedListing(const benchmark::State& state)
{
    Fixture& f = Shared(0.1);
    f.view.SetListedRows(state.range(0) ? ListedRows::EveryReading : ListedRows::TenMetreSteps);
    Repaint(f);
    return f;
}

// Makes `op` untimed, repaints timed, and takes it back untimed.
void RepaintAfter(benchmark::State& state, const EditOperation& op)
{
    Fixture& f = EditedListing(state);
    for (auto _ : state) {
        state.PauseTiming();
        const std::optional<EditRecord> record = ApplyRecorded(f.doc, op);
        state.ResumeTiming();
        Repaint(f);
        state.PauseTiming();
        Undo(f.doc, *record);
        Repaint(f);
        state.ResumeTiming();
    }
}

void BM_RepaintAfterDelete(benchmark::State& state)
{
    RepaintAfter(state, edit::DeleteObservation{CKestrixDoc::kMaxObservations / 3});
}
BENCHMARK(BM_RepaintAfterDelete)->Name("ListingRepaintAfterDelete")->Arg(0)->Arg(1)->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_RepaintAfterControlPoint(benchmark::State& state)
{
    RepaintAfter(state, edit::AddControlPoint{{500000, 10000}});
}
BENCHMARK(BM_RepaintAfterControlPoint)->Name("ListingRepaintAfterControlPoint")->Arg(0)->Arg(1)->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_RepaintAfterUndo(benchmark::State& state)
{
    Fixture& f = EditedListing(state);
    for (auto _ : state) {
        state.PauseTiming();
        const std::optional<EditRecord> record = ApplyRecorded(f.doc, edit::DeleteObservation{CKestrixDoc::kMaxObservations / 3});
        Repaint(f);
        Undo(f.doc, *record);
        state.ResumeTiming();
        Repaint(f);
    }
}
BENCHMARK(BM_RepaintAfterUndo)->Name("ListingRepaintAfterUndo")->Arg(0)->Arg(1)->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace

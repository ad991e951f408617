// Quality values and spike finding over a full survey of 200000 readings with
// the default settings, and Delete Flagged Readings on it (the readings found
// and deleted, the survey recalculated). Targets on the 2-core development
// machine: Delete Flagged Readings under 50 ms.
#include "survey/EditRecord.h"
#include "survey/KestrixDoc.h"
#include "survey/SpikeFinder.h"
#include "survey/SpikeTracker.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <optional>
#include <random>
#include <utility>
#include <vector>

using namespace survey;

namespace {

// A probe rolling down a hole in a steady field, with sensor noise and a
// spike every 997 readings.
void FillSurvey(CKestrixDoc& doc)
{
    doc.m_nObs = CKestrixDoc::kMaxObservations;
    doc.m_pObs.reset(new Observation[CKestrixDoc::kMaxObservations]());
    std::mt19937 random(5);
    std::normal_distribution<double> noise(0.0, 1.0);
    for (int i = 0; i < doc.m_nObs; ++i) {
        Observation& o = doc.m_pObs[i];
        const double roll = i * 0.07;
        o.Depth = i * 0.1;
        o.MagX = 0.2 * std::cos(roll) + 0.00012 * noise(random) + (i % 997 == 0 ? 0.085 : 0.0);
        o.MagY = 0.2 * std::sin(roll) + 0.00012 * noise(random);
        o.MagZ = 0.45 + 0.00012 * noise(random);
        o.AccX = 3.0 * std::sin(roll) + 0.002 * noise(random);
        o.AccY = 3.0 * std::cos(roll) + 0.002 * noise(random);
        o.AccZ = 9.3 + 0.002 * noise(random);
    }
}

void BM_QualityValues(benchmark::State& state)
{
    CKestrixDoc doc;
    FillSurvey(doc);
    for (auto _ : state) {
        CalcQualityValues(doc);
        benchmark::DoNotOptimize(doc.m_QualityValues.data());
    }
}
BENCHMARK(BM_QualityValues)->Unit(benchmark::kMillisecond);

void BM_FindSpikes(benchmark::State& state)
{
    CKestrixDoc doc;
    FillSurvey(doc);
    CalcQualityValues(doc);
    SpikeSettings settings;
    if (state.range(0)) // no floors: every reading's deviation is worked out
        settings.fieldFloor = settings.gravityFloor = settings.dipFloor = 0;
    for (auto _ : state) {
        auto flags = FindSpikes(doc.m_QualityValues, settings);
        benchmark::DoNotOptimize(flags.data());
    }
}
BENCHMARK(BM_FindSpikes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The spike tracker of the quality plot brought up to date after one reading
// went (state.range(0) 0) or came back (1), named so, or every dip moved in
// its last place (2), as after an edit; putting it back is not timed.
void BM_TrackSpikes(benchmark::State& state)
{
    CKestrixDoc doc;
    FillSurvey(doc);
    doc.Recalculate();
    std::vector<QualityValues> values = doc.m_QualityValues;
    std::vector<QualityValues> edited = values;
    if (state.range(0) == 2) {
        for (QualityValues& v : edited)
            v.dip = std::nextafter(v.dip, 100.0);
    } else {
        edited.erase(edited.begin() + 66666);
    }
    if (state.range(0) == 1)
        std::swap(values, edited);
    const std::vector<std::int32_t> at = {66666};
    const SpikeTracker::Splice out{false, at}, back{true, at};
    const SpikeTracker::Splice* splice = state.range(0) == 0 ? &out : state.range(0) == 1 ? &back : nullptr;
    const SpikeTracker::Splice* undo = state.range(0) == 0 ? &back : state.range(0) == 1 ? &out : nullptr;
    const SpikeSettings settings;
    SpikeTracker tracker;
    tracker.Update(values, settings);
    for (auto _ : state) {
        benchmark::DoNotOptimize(tracker.Update(edited, settings, splice).data());
        state.PauseTiming();
        tracker.Update(values, settings, undo);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TrackSpikes)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The undo that follows each deletion is not timed.
void BM_DeleteFlaggedReadings(benchmark::State& state)
{
    CKestrixDoc doc;
    FillSurvey(doc);
    doc.Recalculate();
    const SpikeSettings settings;
    std::size_t deleted = 0;
    for (auto _ : state) {
        std::optional<EditRecord> record = ApplyRecorded(doc, FlaggedReadings(doc, settings));
        state.PauseTiming();
        if (!record) {
            state.SkipWithError("no reading flagged");
            break;
        }
        deleted = record->RemovedObservations().size();
        Undo(doc, *record);
        state.ResumeTiming();
    }
    state.counters["deleted"] = static_cast<double>(deleted);
}
BENCHMARK(BM_DeleteFlaggedReadings)->Unit(benchmark::kMillisecond);

} // namespace

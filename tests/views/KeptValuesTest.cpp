#include "NamedRows.h"
#include "ViewTestSupport.h"
#include "survey/EditRecord.h"
#include "views/PlotLink.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>

using namespace survey;

namespace {

// The plots keep what they work out from the survey between paints. A plot
// painted before a change, then after it, must show what a plot made after
// the change shows.
using Paint = std::function<void()>;
struct ChangeRow {
    const char* name;
    // Makes the change; `paint` repaints the kept plots between its steps.
    void (*change)(FakeSurvey& doc, PlotLink& link, const Paint& paint);
    std::size_t changedPlot; // index in MakePlots of a plot whose picture changes, or kNone
};
constexpr std::size_t kNone = 4;

EditRecord DeleteSpike(FakeSurvey& doc) { return *ApplyRecorded(doc, edit::DeleteObservation{573}); }

const ChangeRow kChanges[] = {
    {"DeleteReading", [](FakeSurvey& doc, PlotLink&, const Paint&) { DeleteSpike(doc); }, 3},
    {"UndoDelete",
     [](FakeSurvey& doc, PlotLink&, const Paint& paint) {
         const EditRecord record = DeleteSpike(doc);
         paint();
         Undo(doc, record);
     },
     kNone},
    {"RedoDelete",
     [](FakeSurvey& doc, PlotLink&, const Paint& paint) {
         const EditRecord record = DeleteSpike(doc);
         paint();
         Undo(doc, record);
         paint();
         Redo(doc, record);
     },
     3},
    {"DeleteEndsAndSpikeThenUndoAndRedo",
     [](FakeSurvey& doc, PlotLink& link, const Paint& paint) {
         link.SetFixedScales(false);
         paint();
         const EditRecord record = *ApplyRecorded(doc, edit::DeleteObservations{{0, 573, doc.m_nObs - 1}});
         paint();
         Undo(doc, record);
         paint();
         Redo(doc, record);
     },
     3},
    {"DeleteWholeColumnsThenUndoAndRedo",
     [](FakeSurvey& doc, PlotLink&, const Paint& paint) {
         std::vector<std::int32_t> stretch;
         for (std::int32_t i = 1500; i < 1530; ++i)
             stretch.push_back(i);
         const EditRecord record = *ApplyRecorded(doc, edit::DeleteObservations{stretch});
         paint();
         Undo(doc, record);
         paint();
         Redo(doc, record);
     },
     kNone},
    {"DeleteTheOnlyReadingOfAColumnThenUndoBoth",
     [](FakeSurvey& doc, PlotLink&, const Paint& paint) {
         // 2.4 m either side of reading 2012 go first, leaving it alone in its column.
         std::vector<std::int32_t> around;
         for (std::int32_t i = 1988; i < 2037; ++i) {
             if (i != 2012)
                 around.push_back(i);
         }
         const EditRecord first = *ApplyRecorded(doc, edit::DeleteObservations{around});
         paint();
         const EditRecord alone = *ApplyRecorded(doc, edit::DeleteObservation{1988});
         paint();
         Undo(doc, alone);
         paint();
         Undo(doc, first);
     },
     kNone},
    {"AddControlPoint",
     [](FakeSurvey& doc, PlotLink&, const Paint&) {
         ApplyRecorded(doc, edit::AddControlPoint{{5000, 4000}});
         ApplyRecorded(doc, edit::AddControlPoint{{30000, 2000}});
     },
     1},
    {"AddControlPointToAFit",
     [](FakeSurvey& doc, PlotLink&, const Paint& paint) {
         for (const ControlPoint point : {ControlPoint{5000, 4000}, ControlPoint{20000, 3000}, ControlPoint{35000, 2000}})
             ApplyRecorded(doc, edit::AddControlPoint{point});
         ApplyRecorded(doc, edit::SetFitDegree{2});
         paint();
         ApplyRecorded(doc, edit::AddControlPoint{{27000, 4500}});
     },
     1},
    {"SpikeSettings",
     [](FakeSurvey&, PlotLink& link, const Paint&) {
         SpikeSettings settings = link.Spikes();
         settings.threshold = 2.0;
         settings.fieldFloor = 1.0;
         link.SetSpikes(settings);
     },
     3},
    {"AnomaliesMode",
     [](FakeSurvey&, PlotLink& link, const Paint& paint) {
         link.SetFixedScales(false);
         paint();
         link.SetComponentsAsAnomalies(true);
     },
     2},
    {"FittedScales", [](FakeSurvey&, PlotLink& link, const Paint&) { link.SetFixedScales(false); }, 0},
    {"ZoomInAndOut",
     [](FakeSurvey&, PlotLink& link, const Paint& paint) {
         link.SetFixedScales(false);
         DepthWindow zoomed;
         zoomed.Zoom({0, 40000}, 0.5, 4.0);
         link.SetWindow(zoomed);
         paint();
         link.SetWindow(DepthWindow{});
         paint();
         link.SetWindow(zoomed);
     },
     0},
};

std::array<std::unique_ptr<PlotFrame>, 4> MakePlots(FakeSurvey& doc, FakeViewServices& services, PlotLink& link)
{
    return {std::make_unique<CInclView>(doc, services, &link), std::make_unique<CAzView>(doc, services, &link),
            std::make_unique<CMagView>(doc, services, &link), std::make_unique<CQcView>(doc, services, &link)};
}

class KeptValues : public ::testing::TestWithParam<ChangeRow> {};

TEST_P(KeptValues, FollowEveryChangeOfTheSurveyAndTheSettings)
{
    FakeSurvey doc;
    ASSERT_TRUE(LoadDemoSurvey(doc));
    FakeViewServices services;
    PlotLink link;
    auto kept = MakePlots(doc, services, link);
    std::array<QImage, 4> before;
    for (std::size_t k = 0; k < kept.size(); ++k)
        before[k] = Render(*kept[k]);
    GetParam().change(doc, link, [&] {
        for (auto& plot : kept)
            Render(*plot);
    });
    auto fresh = MakePlots(doc, services, link);
    for (std::size_t k = 0; k < kept.size(); ++k) {
        SCOPED_TRACE(k);
        const QImage after = Render(*kept[k]);
        EXPECT_EQ(after, Render(*fresh[k]));
        if (k == GetParam().changedPlot) {
            EXPECT_NE(after, before[k]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, KeptValues, ::testing::ValuesIn(kChanges), RowName());

} // namespace

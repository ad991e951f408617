#include "EditTestSupport.h"
#include "NamedRows.h"
#include "SurveyRows.h"
#include "survey/EditRecord.h"

#include "examples/DemoSurvey.h"

#include <gtest/gtest.h>

using namespace survey;
using namespace survey::edit;

namespace {

// Control points on both sides of the demo's disturbed interval.
constexpr ControlPoint kAt130{13000, 3782}, kAt150{15000, 3999}, kAt240{24000, 4485}, kAt270{27000, 4670};

// The demo's own site and date.
Site DemoSite(Site::DeclinationFrom from, std::optional<geomag::Date> date = demo::kSurveyDate)
{
    Site site;
    site.epsg = demo::kEpsg;
    site.date = date;
    site.declinationFrom = from;
    return site;
}

struct UndoRow {
    const char* name;
    std::vector<EditOperation> steps;
};

class UndoAndRedo : public ::testing::TestWithParam<UndoRow> {};

// Every step changes the survey; undoing the steps one by one gives back each
// earlier state to the last bit, and redoing them each later one.
TEST_P(UndoAndRedo, GiveBackEveryStateExactly)
{
    CKestrixDoc doc;
    ASSERT_TRUE(LoadDemo(doc));
    const std::string loadedExport = ExportBytes(doc);
    std::vector<DocumentState> states{DocumentState(doc)};
    std::vector<EditRecord> records;
    for (const EditOperation& step : GetParam().steps) {
        std::optional<EditRecord> record = ApplyRecorded(doc, step);
        ASSERT_TRUE(record) << "step " << records.size();
        records.push_back(std::move(*record));
        states.emplace_back(doc);
        ASSERT_NE(FirstDifference(states.back(), states[states.size() - 2]), "") << "step " << records.size() - 1;
    }
    for (std::size_t i = records.size(); i-- > 0;) {
        ASSERT_TRUE(Undo(doc, records[i]));
        EXPECT_EQ(FirstDifference(DocumentState(doc), states[i]), "") << "undo of step " << i;
    }
    EXPECT_EQ(ExportBytes(doc), loadedExport);
    for (std::size_t i = 0; i < records.size(); ++i) {
        Redo(doc, records[i]);
        EXPECT_EQ(FirstDifference(DocumentState(doc), states[i + 1]), "") << "redo of step " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UndoAndRedo,
    ::testing::Values(
        UndoRow{"DeleteReadings", {DeleteObservation{573}, DeleteObservation{0}, DeleteObservation{3998}}},
        UndoRow{"DeleteFlaggedReadingsAtOnce", {DeleteObservations{{3526, 573, 2634, 1218, 3181, 573, -1}}}},
        UndoRow{"PointsRollAndADeletion",
                {AddControlPoint{kAt130}, AddControlPoint{kAt240}, SetFitDegree{3}, AddControlPoint{kAt270},
                 SetRollAdjustment{90}}},
        UndoRow{"DeleteWhileTheFitIsBehind",
                {AddControlPoint{kAt130}, AddControlPoint{kAt240}, SetRollAdjustment{180}, AddControlPoint{kAt270},
                 DeleteObservation{2000}}},
        UndoRow{"LocalFitFollowingItsPoints",
                {SetLocalFit{true}, AddControlPoint{kAt150}, AddControlPoint{kAt240}, SetFitDegree{1},
                 AddControlPoint{kAt130}, SetFitDegree{2}, SetLocalFit{false}}},
        UndoRow{"ClearFittedPoints",
                {AddControlPoint{kAt130}, AddControlPoint{kAt240}, SetFitDegree{3}, AddControlPoint{kAt270},
                 ClearControlPoints{}}},
        UndoRow{"RemoveEveryPoint",
                {AddControlPoint{kAt130}, AddControlPoint{kAt150}, AddControlPoint{kAt240}, SetFitDegree{1},
                 RemoveControlPoint{1}, RemoveControlPoint{0}, RemoveControlPoint{0}, SetRollAdjustment{-90}}},
        UndoRow{"PointsReplacedAtOnce",
                {AddControlPoint{kAt130}, AddControlPoint{kAt240}, SetControlPoints{{kAt150, kAt270, kAt130}},
                 SetControlPoints{{}}, SetControlPoints{{kAt240}}}},
        UndoRow{"SiteAndTrajectory",
                {SetSite{DemoSite(Site::DeclinationFrom::Model)}, AddControlPoint{kAt130},
                 SetTrajectory{TrajectoryMethod::MinimumCurvature}, SetSite{DemoSite(Site::DeclinationFrom::Typed)},
                 SetSite{Site{}}}},
        UndoRow{"HoleName", {SetHoleName{"Knockaulin 7"}, DeleteObservation{10}, SetHoleName{"Hole #7"}, SetHoleName{""}}}),
    RowName());

class NoEdit : public ::testing::TestWithParam<UndoRow> {};

TEST_P(NoEdit, LeavesTheSurveyAndMakesNoRecord)
{
    CKestrixDoc doc;
    FillDocument(doc, {{10, 0.2, 0.1, 0.4, 0, 1, 0.1}, {20, 0.2, 0.1, 0.4, 0, 1, 0.2}});
    const DocumentState before(doc);
    for (const EditOperation& step : GetParam().steps)
        EXPECT_FALSE(ApplyRecorded(doc, step));
    EXPECT_EQ(FirstDifference(DocumentState(doc), before), "");
}

INSTANTIATE_TEST_SUITE_P(Rows, NoEdit,
                         ::testing::Values(UndoRow{"DeleteOutsideTheTable", {DeleteObservation{-1}, DeleteObservation{2}}},
                                           UndoRow{"DeleteNoneInTheTable", {DeleteObservations{{2, -5}}}},
                                           UndoRow{"RemoveAMissingPoint", {RemoveControlPoint{0}}},
                                           UndoRow{"DegreeFive", {SetFitDegree{5}}},
                                           UndoRow{"SamePointsOrTooMany",
                                                   {SetControlPoints{{}},
                                                    SetControlPoints{std::vector<ControlPoint>(101, {100, 3000})}}},
                                           UndoRow{"RollFortyFive", {SetRollAdjustment{45}}},
                                           UndoRow{"SiteAndTrajectoryInForce",
                                                   {SetSite{Site{}}, SetTrajectory{TrajectoryMethod::AverageAngle}}},
                                           UndoRow{"NameInForceOrRefused",
                                                   {SetHoleName{""}, SetHoleName{"line\nbreak"}, SetHoleName{" padded"}}},
                                           UndoRow{"ModelDeclinationWithoutADate",
                                                   {SetSite{DemoSite(Site::DeclinationFrom::Model, std::nullopt)}}}),
                         RowName());

TEST(EditRecords, ModeTogglesAreNotEdits)
{
    CKestrixDoc doc;
    EXPECT_FALSE(ApplyRecorded(doc, ToggleDeleteMode{}));
    EXPECT_TRUE(doc.m_bDeleteMode);
    EXPECT_FALSE(ApplyRecorded(doc, ToggleControlMode{}));
    EXPECT_TRUE(doc.m_bControlMode);
    EXPECT_FALSE(doc.m_bDeleteMode);
}

TEST(EditRecords, HoldOnlyTheReadingsTheEditRemoved)
{
    CKestrixDoc doc;
    ASSERT_TRUE(LoadDemo(doc));
    const std::vector<std::int32_t> spikes(demo::kSpikeSamples.rbegin(), demo::kSpikeSamples.rend());
    const std::optional<EditRecord> record = ApplyRecorded(doc, DeleteObservations{spikes});
    ASSERT_TRUE(record);
    ASSERT_EQ(record->RemovedObservations().size(), spikes.size());
    for (std::size_t i = 0; i < spikes.size(); ++i)
        EXPECT_EQ(record->RemovedObservations()[i].index, demo::kSpikeSamples[i]);
    EXPECT_EQ(doc.m_DeletedReadings.front().depth, 352.6) << "noted in the order asked";
}

TEST(EditRecords, UndoOnASurveyNeverRecalculatedGivesBackItsZeroFields)
{
    CKestrixDoc doc;
    RecordingSink sink;
    LoadText(doc, RawSurveyText({{10, 0.2, 0.1, 0.4, 0, 1, 0.1}, {20, 0.2, 0.1, 0.4, 0, 1, 0.2}}) + "bad\r\n", sink);
    ASSERT_EQ(doc.m_nObs, 2);
    const DocumentState loaded(doc);
    std::optional<EditRecord> roll = ApplyRecorded(doc, SetRollAdjustment{90});
    std::optional<EditRecord> deletion = ApplyRecorded(doc, DeleteObservation{0});
    ASSERT_TRUE(roll && deletion);
    EXPECT_TRUE(Undo(doc, *deletion));
    EXPECT_TRUE(Undo(doc, *roll));
    EXPECT_EQ(FirstDifference(DocumentState(doc), loaded), "");
}

TEST(EditRecords, UndoRefusesARecordOfAnotherTable)
{
    CKestrixDoc edited, other;
    FillDocument(edited, {{10, 0.2, 0.1, 0.4, 0, 1, 0.1}, {20, 0.2, 0.1, 0.4, 0, 1, 0.2}});
    FillDocument(other, {{10, 0.2, 0.1, 0.4, 0, 1, 0.1}, {20, 0.2, 0.1, 0.4, 0, 1, 0.2}});
    const std::optional<EditRecord> record = ApplyRecorded(edited, DeleteObservation{1});
    ASSERT_TRUE(record);
    const DocumentState before(other);
    EXPECT_FALSE(Undo(other, *record)) << "its table already holds the reading";
    ASSERT_TRUE(ApplyRecorded(other, DeleteObservation{1}));
    EXPECT_FALSE(Undo(other, *record)) << "the reading belongs to another table of the same size";
    ASSERT_TRUE(Undo(edited, *record));
    EXPECT_EQ(FirstDifference(DocumentState(edited), before), "");
}

} // namespace

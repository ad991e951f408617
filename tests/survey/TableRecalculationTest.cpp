#include "EditTestSupport.h"
#include "NamedRows.h"
#include "ProbeReadings.h"
#include "examples/DemoSurvey.h"
#include "SurveyRows.h"
#include "survey/AzimuthFit.h"
#include "survey/EditRecord.h"
#include "survey/Orientation.h"
#include "survey/Trajectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

using namespace survey;
using namespace survey::edit;

namespace {

struct SetupRow {
    const char* name;
    std::vector<EditOperation> setup;
};

Site DemoSite()
{
    Site site;
    site.epsg = demo::kEpsg;
    site.date = demo::kSurveyDate;
    site.declinationFrom = Site::DeclinationFrom::Model;
    return site;
}

class EditsRecalculatedInPart : public ::testing::TestWithParam<SetupRow> {};

// Deleting readings and taking that back work out only part of the survey,
// and a new fit keeps the readings' orientation: after each such edit, undo
// or redo the survey is what a full recalculation with the fit in force makes
// of it, to the last bit, also after a roll adjustment has changed it.
TEST_P(EditsRecalculatedInPart, LeaveWhatAFullRecalculationGives)
{
    CKestrixDoc doc;
    ASSERT_TRUE(LoadDemo(doc));
    for (const EditOperation& op : GetParam().setup)
        ASSERT_TRUE(ApplyRecorded(doc, op));
    std::mt19937 random(7);
    std::vector<EditRecord> done, undone;
    for (int step = 0; step < 40; ++step) {
        const unsigned kind = random() % 7;
        std::string what;
        if (kind == 3 && !done.empty()) {
            ASSERT_TRUE(Undo(doc, done.back()));
            undone.push_back(std::move(done.back()));
            done.pop_back();
            what = "undo";
        } else if (kind == 4 && !undone.empty()) {
            Redo(doc, undone.back());
            done.push_back(std::move(undone.back()));
            undone.pop_back();
            what = "redo";
        } else if (kind >= 5) {
            const std::int32_t reading = static_cast<std::int32_t>(random() % doc.m_nObs);
            const auto x = static_cast<std::int32_t>(doc.m_pObs[reading].Depth * doc.m_dScale);
            const EditOperation op = kind == 6 && random() % 3 == 0
                                       ? EditOperation(SetRollAdjustment{doc.m_nRollAdjust == 0 ? 90 : 0})
                                     : kind == 6 && doc.m_nControlPoints > 0
                                       ? EditOperation(RemoveControlPoint{0})
                                       : EditOperation(AddControlPoint{{x, 4000 + static_cast<std::int32_t>(random() % 500)}});
            std::optional<EditRecord> record = ApplyRecorded(doc, op);
            ASSERT_TRUE(record);
            done.push_back(std::move(*record));
            undone.clear();
            what = "fit or roll";
        } else {
            // Now and then the first or the last reading: the first is placed
            // from the collar again.
            const auto at = [&] {
                const unsigned pick = random() % 20;
                return pick == 0 ? 0 : pick == 1 ? doc.m_nObs - 1 : static_cast<std::int32_t>(random() % doc.m_nObs);
            };
            const EditOperation op = kind == 0 ? EditOperation(DeleteObservations{{at(), at(), at()}})
                                               : EditOperation(DeleteObservation{at()});
            std::optional<EditRecord> record = ApplyRecorded(doc, op);
            ASSERT_TRUE(record);
            done.push_back(std::move(*record));
            undone.clear();
            what = "deletion";
        }
        const DocumentState made(doc);
        const std::vector<ReferenceReading> reference = doc.m_reference.readings;
        doc.RecalculateWithFitInForce();
        ASSERT_EQ(FirstDifference(made, DocumentState(doc)), "") << "step " << step << ", " << what;
        ASSERT_TRUE(document_state::SameBits(reference, doc.m_reference.readings)) << "step " << step << ", " << what;
    }
}

// Control points on both sides of the demo's disturbed interval.
constexpr ControlPoint kAt130{13000, 3782}, kAt150{15000, 3999}, kAt240{24000, 4485};

INSTANTIATE_TEST_SUITE_P(
    Rows, EditsRecalculatedInPart,
    ::testing::Values(SetupRow{"MeasuredAzimuth", {}},
                      SetupRow{"FitThroughPoints", {AddControlPoint{kAt130}, AddControlPoint{kAt240}, SetFitDegree{3}}},
                      SetupRow{"LocalFitArcsAndReferenceField",
                               {SetLocalFit{true}, AddControlPoint{kAt150}, AddControlPoint{kAt240},
                                SetTrajectory{TrajectoryMethod::MinimumCurvature}, SetSite{DemoSite()}}},
                      SetupRow{"FitBehindItsPoints", {AddControlPoint{kAt130}, AddControlPoint{kAt240}, SetRollAdjustment{180}}},
                      SetupRow{"ArcsAndBackToAverageAngles",
                               {SetTrajectory{TrajectoryMethod::MinimumCurvature}, AddControlPoint{kAt130},
                                SetTrajectory{TrajectoryMethod::AverageAngle}}}),
    RowName());

struct TurnRow {
    const char* name;
    std::vector<double> depths;
    std::int32_t deleted;
};

class ReadingAtAnEnd : public ::testing::TestWithParam<TurnRow> {};

// A reading at an end of the table may turn the way the table is traversed
// when it goes or comes back; the positions are then worked out anew, as a
// full recalculation gives them.
TEST_P(ReadingAtAnEnd, GoesAndComesBackAsAFullRecalculationGives)
{
    std::vector<Row> rows;
    for (const double depth : GetParam().depths)
        rows.push_back({depth, 0.2, 0.05 * depth, 0.45, 0.3, 0.1 * depth, 0.9});
    CKestrixDoc doc;
    FillDocument(doc, rows);
    doc.Recalculate();
    std::optional<EditRecord> record = ApplyRecorded(doc, DeleteObservation{GetParam().deleted});
    ASSERT_TRUE(record);
    for (const char* what : {"deleted", "undone"}) {
        const DocumentState made(doc);
        doc.RecalculateWithFitInForce();
        EXPECT_EQ(FirstDifference(made, DocumentState(doc)), "") << what;
        if (std::string(what) == "deleted") {
            ASSERT_TRUE(Undo(doc, *record));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadingAtAnEnd,
                         ::testing::Values(TurnRow{"LastGoesAndTheTableTurnsDown", {5, 6, 7, 8, 4}, 4},
                                           TurnRow{"FirstGoesAndTheTableTurnsDown", {9, 5, 6, 7, 8}, 0},
                                           TurnRow{"FirstGoesDownwards", {4, 5, 6, 7, 8}, 0},
                                           TurnRow{"LastGoesDownwards", {4, 5, 6, 7, 8}, 4},
                                           TurnRow{"FirstGoesUpwards", {8, 7, 6, 5, 4}, 0}),
                         RowName());

struct LongSurveyRow {
    const char* name;
    TrajectoryMethod method;
    bool wraps; // the turning probe's azimuths go on 0 to 360; else they swing about north
};

class LongSurvey : public ::testing::TestWithParam<LongSurveyRow> {};

// A survey long enough for the recalculation to share its passes between the
// cores holds what the steps give one by one on one core; listed upwards, its
// positions are those of the same readings listed downwards.
TEST_P(LongSurvey, HoldsWhatTheStepsGiveOneByOne)
{
    std::vector<Row> rows;
    for (int i = 0; i < 50000; ++i) {
        const double t = i * 0.013;
        if (GetParam().wraps)
            rows.push_back({5.0 + i * 0.02, 0.2 * std::cos(t), 0.2 * std::sin(t) + 0.05, 0.45, 0.3 * std::sin(t),
                            0.3 * std::cos(t), 0.9 + 0.05 * std::sin(t / 7)});
        else
            rows.push_back(ProbeReading(5.0 + i * 0.02, {0.2, 0, -0.45}, 30 + 10 * std::sin(t / 7), 10 + 30 * std::sin(t),
                                        std::fmod(37.0 * i, 360.0), 9.8));
    }
    CKestrixDoc down, up;
    FillDocument(down, rows);
    std::reverse(rows.begin(), rows.end());
    FillDocument(up, rows);
    for (CKestrixDoc* doc : {&down, &up}) {
        ASSERT_EQ(doc->m_nObs, 50000);
        ASSERT_TRUE(ApplyRecorded(*doc, AddControlPoint{{30000, 2000}}));
        ASSERT_TRUE(ApplyRecorded(*doc, AddControlPoint{{80000, 9000}}));
        ASSERT_TRUE(ApplyRecorded(*doc, SetLocalFit{true}));
        if (GetParam().method != doc->m_trajectory) {
            ASSERT_TRUE(ApplyRecorded(*doc, SetTrajectory{GetParam().method}));
        }
        ASSERT_EQ(doc->m_bAzimuthsWrapped, GetParam().wraps);
    }
    const DocumentState together(down);
    // Whichever way the last recalculation wrapped the azimuths, the next one
    // gives the same.
    for (const bool otherwise : {true, false}) {
        down.m_bAzimuthsWrapped = down.m_bAzimuthsWrapped != otherwise;
        down.m_bOrientationCurrent = false;
        down.RecalculateWithFitInForce();
        ASSERT_EQ(FirstDifference(together, DocumentState(down)), "");
    }
    CalcInclination(down);
    CalcRollAngle(down);
    CalcAzimuth(down);
    FitAzimuth(down);
    ResolveComponents(down);
    CalcQualityValues(down);
    std::vector<std::int32_t> every(static_cast<std::size_t>(down.m_nObs - 1));
    std::iota(every.begin(), every.end(), 1);
    RestepPositions(down, every);
    EXPECT_EQ(FirstDifference(together, DocumentState(down)), "");
    for (std::int32_t i = 0; i < down.m_nObs; ++i) {
        const Observation& a = down.m_pObs[i];
        const Observation& b = up.m_pObs[up.m_nObs - 1 - i];
        ASSERT_TRUE(document_state::SameBits(std::array{a.East, a.North, a.Height}, std::array{b.East, b.North, b.Height}))
            << "reading " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, LongSurvey,
                         ::testing::Values(LongSurveyRow{"AverageAngle", TrajectoryMethod::AverageAngle, true},
                                           LongSurveyRow{"MinimumCurvature", TrajectoryMethod::MinimumCurvature, true},
                                           LongSurveyRow{"AzimuthsAboutNorth", TrajectoryMethod::AverageAngle, false}),
                         RowName());

} // namespace

#include "CountingHost.h"
#include "NamedRows.h"
#include "SurveyRows.h"
#include "survey/EditOperations.h"
#include "survey/EditRecord.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace survey;
using namespace survey::edit;

namespace {

// A survey with a measured azimuth of about 40 degrees.
CKestrixDoc& Survey(CKestrixDoc& doc, int rows = 50)
{
    std::vector<Row> data;
    for (int i = 0; i < rows; ++i)
        data.push_back({10.0 + i, 0.3, -0.2 + 0.001 * i, 0.4, 0.1, 0.9, 0.2});
    FillDocument(doc, data);
    return doc;
}

struct EditRow {
    const char* name;
    std::vector<EditOperation> edits; // applied in order to a 50-row survey
    bool deleteMode = false, controlMode = false;
    int degree = 2, roll = 0;
    int recalculations = 0; // each ends in a redraw of every view
};

class Edits : public ::testing::TestWithParam<EditRow> {};

TEST_P(Edits, LeaveTheirStateInForceAndRecalculateAsTheySay)
{
    const EditRow& row = GetParam();
    CKestrixDoc doc;
    Survey(doc);
    CountingHost host;
    doc.SetHost(&host);
    for (const EditOperation& op : row.edits)
        ApplyRecorded(doc, op);
    EXPECT_EQ(doc.m_bDeleteMode, row.deleteMode);
    EXPECT_EQ(doc.m_bControlMode, row.controlMode);
    EXPECT_EQ(doc.m_nDegree, row.degree);
    EXPECT_EQ(doc.m_nRollAdjust, row.roll);
    EXPECT_EQ(host.updates, row.recalculations);
    // What the menus check: the modes that are on, one degree and one roll option.
    EXPECT_EQ(IsInForce(doc, ToggleDeleteMode{}), row.deleteMode);
    EXPECT_EQ(IsInForce(doc, ToggleControlMode{}), row.controlMode);
    for (int degree = 0; degree <= 5; ++degree)
        EXPECT_EQ(IsInForce(doc, SetFitDegree{degree}), degree == row.degree) << degree;
    for (int roll : {0, 90, 180, -90, 45})
        EXPECT_EQ(IsInForce(doc, SetRollAdjustment{roll}), roll == row.roll) << roll;
    EXPECT_FALSE(IsInForce(doc, ClearControlPoints{}));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Edits,
    ::testing::Values(
        EditRow{.name = "DeleteModeOn", .edits = {ToggleDeleteMode{}}, .deleteMode = true},
        EditRow{.name = "DeleteModeTwiceIsOff", .edits = {ToggleDeleteMode{}, ToggleDeleteMode{}}},
        EditRow{.name = "ControlModeSwitchesDeleteModeOff", .edits = {ToggleDeleteMode{}, ToggleControlMode{}},
                .controlMode = true},
        EditRow{.name = "DeleteModeSwitchesControlModeOff", .edits = {ToggleControlMode{}, ToggleDeleteMode{}},
                .deleteMode = true},
        EditRow{.name = "ControlModeTwiceIsOff", .edits = {ToggleControlMode{}, ToggleControlMode{}}},
        EditRow{.name = "FitDegree1", .edits = {SetFitDegree{1}}, .degree = 1, .recalculations = 1},
        EditRow{.name = "FitDegree4", .edits = {SetFitDegree{4}}, .degree = 4, .recalculations = 1},
        EditRow{.name = "RollAdd90", .edits = {SetRollAdjustment{90}}, .roll = 90, .recalculations = 1},
        EditRow{.name = "RollAdd180", .edits = {SetRollAdjustment{180}}, .roll = 180, .recalculations = 1},
        EditRow{.name = "RollSubtract90", .edits = {SetRollAdjustment{-90}}, .roll = -90, .recalculations = 1},
        EditRow{.name = "NoAdjustmentAfterAdd90", .edits = {SetRollAdjustment{90}, SetRollAdjustment{0}},
                .recalculations = 2},
        EditRow{.name = "ClearingControlPointsRecalculates", .edits = {ClearControlPoints{}}, .recalculations = 1},
        EditRow{.name = "DeletionRecalculates", .edits = {DeleteObservation{3}}, .recalculations = 1},
        EditRow{.name = "NewControlPointRefitsAtOnce", .edits = {AddControlPoint{{2000, 4500}}}, .recalculations = 1},
        EditRow{.name = "RemovedControlPointRefitsAtOnce",
                .edits = {AddControlPoint{{2000, 4500}}, RemoveControlPoint{0}}, .recalculations = 2},
        EditRow{.name = "DegreeZeroChangesNothing", .edits = {SetFitDegree{3}, SetFitDegree{0}}, .degree = 3,
                .recalculations = 1},
        EditRow{.name = "DegreeFiveChangesNothing", .edits = {SetFitDegree{5}}},
        EditRow{.name = "Roll45ChangesNothing", .edits = {SetRollAdjustment{180}, SetRollAdjustment{45}},
                .roll = 180, .recalculations = 1},
        EditRow{.name = "RollMinus180ChangesNothing", .edits = {SetRollAdjustment{-180}}},
        EditRow{.name = "DeletionOutsideTheTableChangesNothing", .edits = {DeleteObservation{-1}, DeleteObservation{50}}}),
    RowName());

TEST(EditOperations, FittingFollowsTheControlPoints)
{
    CKestrixDoc doc;
    Survey(doc);
    const double measured = doc.m_pObs[10].CalcAzMag;

    ApplyRecorded(doc, SetFitDegree{3});
    EXPECT_EQ(doc.m_nCoef, 0) << "a fit without control points changes nothing";
    EXPECT_EQ(doc.m_pObs[10].AzUsed, measured);

    // What is shown, exported and saved agree at every step: a point is
    // fitted as it is placed, with the degree in force.
    ApplyRecorded(doc, AddControlPoint{{2000, 4500}});
    EXPECT_EQ(doc.m_nCoef, 4) << "the first point is fitted with the chosen degree";
    for (int i = 0; i < doc.m_nObs; ++i)
        EXPECT_NEAR(doc.m_pObs[i].AzUsed, 45.0, 1e-12) << "one point gives a constant";
    EXPECT_NEAR(doc.m_pObs[10].CalcAzMag, measured, 1e-12);
    EXPECT_GT(std::fabs(doc.m_pObs[10].MagE), 1e-3) << "the smoothed azimuth shows in the East component";

    ApplyRecorded(doc, AddControlPoint{{5000, 3500}});
    // The line through (20 m, 45 deg) and (50 m, 35 deg), at 10 m.
    EXPECT_NEAR(doc.m_pObs[0].AzUsed, 45.0 + 10.0 / 3, 1e-9) << "two points give the line through them";

    ApplyRecorded(doc, ClearControlPoints{});
    EXPECT_EQ(doc.m_nCoef, 0);
    EXPECT_EQ(doc.m_nControlPoints, 0);
    for (int i = 0; i < doc.m_nObs; ++i)
        EXPECT_EQ(doc.m_pObs[i].AzUsed, doc.m_pObs[i].CalcAzMag);
}

TEST(EditOperations, AtMostAHundredControlPoints)
{
    CKestrixDoc doc;
    for (int i = 0; i < 101; ++i)
        ApplyRecorded(doc, AddControlPoint{{i, -i}});
    EXPECT_EQ(doc.m_nControlPoints, 100);
    EXPECT_EQ(doc.m_ControlPoints[99].x, 99);
}

TEST(EditOperations, DeletionRemovesOneObservationAndKeepsTheAllocation)
{
    CKestrixDoc doc;
    Survey(doc, 5);
    const Observation third = doc.m_pObs[3];
    const Observation* storage = doc.m_pObs.get();
    ApplyRecorded(doc, DeleteObservation{2});
    ASSERT_EQ(doc.m_nObs, 4);
    EXPECT_EQ(doc.m_pObs.get(), storage) << "the array keeps its allocation";
    EXPECT_EQ(doc.m_pObs[2].Depth, third.Depth);
    ApplyRecorded(doc, DeleteObservation{4});
    ApplyRecorded(doc, DeleteObservation{-1});
    EXPECT_EQ(doc.m_nObs, 4) << "indices outside the table are ignored";
    for (int i = 0; i < 4; ++i)
        ApplyRecorded(doc, DeleteObservation{0});
    EXPECT_EQ(doc.m_nObs, 0);
    ApplyRecorded(doc, SetFitDegree{2});
    EXPECT_EQ(doc.m_nObs, 0);
}

} // namespace

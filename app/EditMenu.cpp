#include "app/EditMenu.h"

#include "app/CommandIds.h"

using namespace survey::edit;

namespace {

// The mnemonics leave U, R, C, T and P to Undo, Redo, Copy, Cut and Paste.
const EditItem kEditItems[] = {
    {ID_EDIT_DELETE_OBSERVATIONS, "&Delete observations", ToggleDeleteMode{}, true, false},
    {ID_EDIT_ADD_CONTROL_POINTS, "&Add azimuth control points", ToggleControlMode{}, true, true},
    {ID_EDIT_CLEAR_CONTROL_POINTS, "C&lear control points", ClearControlPoints{}, false, false},
    {ID_EDIT_FIT_DEGREE_1, "Fit degree &1 polynomial", SetFitDegree{1}, true, false},
    {ID_EDIT_FIT_DEGREE_2, "Fit degree &2 polynomial", SetFitDegree{2}, true, false},
    {ID_EDIT_FIT_DEGREE_3, "Fit degree &3 polynomial", SetFitDegree{3}, true, false},
    {ID_EDIT_FIT_DEGREE_4, "Fit degree &4 polynomial", SetFitDegree{4}, true, false},
};

const EditItem kRollItems[] = {
    {ID_ROLL_NO_ADJUSTMENT, "&No adjustment", SetRollAdjustment{0}, true, false},
    {ID_ROLL_ADD_90, "Add &90", SetRollAdjustment{90}, true, false},
    {ID_ROLL_ADD_180, "Add &180", SetRollAdjustment{180}, true, false},
    {ID_ROLL_SUBTRACT_90, "&Subtract 90", SetRollAdjustment{-90}, true, false},
};

} // namespace

std::span<const EditItem> EditMenuItems() { return kEditItems; }

std::span<const EditItem> RollOptionItems() { return kRollItems; }

#pragma once

namespace survey {

// Command ids of the Edit menu that the survey document handles.
enum EditCommandId : int {
    ID_EDIT_DELETE_OBSERVATIONS = 32778,
    ID_EDIT_ADD_CONTROL_POINTS = 32788,
    ID_EDIT_CLEAR_CONTROL_POINTS = 32790,
    ID_EDIT_FIT_DEGREE_1 = 32784,
    ID_EDIT_FIT_DEGREE_2 = 32785,
    ID_EDIT_FIT_DEGREE_3 = 32786,
    ID_EDIT_FIT_DEGREE_4 = 32791,
    ID_ROLL_NO_ADJUSTMENT = 32806,
    ID_ROLL_ADD_90 = 32800,
    ID_ROLL_ADD_180 = 32804,
    ID_ROLL_SUBTRACT_90 = 32803,
};

} // namespace survey

#pragma once

#include "survey/ControlPoint.h"
#include "survey/Site.h"
#include "survey/TrajectoryMethod.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace survey {

class CKestrixDoc;

// The edits a user makes to a survey, one type each. The Edit menu, the plots
// and kestrix-batch change a document only through these, made by
// ApplyRecorded (EditRecord.h), so every change can be applied, taken back and
// written down the same way.
namespace edit {

// "Delete observations": delete mode on or off; control mode off.
struct ToggleDeleteMode {};
// "Add azimuth control points": control mode on or off; delete mode off.
struct ToggleControlMode {};
// Removes observation `index` (out of range: nothing happens).
struct DeleteObservation {
    std::int32_t index;
};
// Appends a control point in the azimuth plot's units (none past 100) and
// refits with the degree in force.
struct AddControlPoint {
    ControlPoint point;
};
// Removes control point `index` (out of range: nothing happens) and refits.
struct RemoveControlPoint {
    std::int32_t index;
};
// Removes every control point and the fit.
struct ClearControlPoints {};
// The degree of the azimuth polynomial, 1 to 4.
struct SetFitDegree {
    std::int32_t degree;
};
// The roll adjustment in degrees: 0, 90, 180 or -90.
struct SetRollAdjustment {
    std::int32_t degrees;
};
// Removes the observations at `indices` (positions in the table before the
// edit, noted as deleted in this order; outside ones and repeats passed over)
// with one recalculation.
struct DeleteObservations {
    std::vector<std::int32_t> indices;
};
// "Fit Between Control Points Only" on or off.
struct SetLocalFit {
    bool on;
};

// Where and when the survey was made, and the declination its positions
// use. Refused when the declination is the model's and the site gives none.
struct SetSite {
    Site site;
};
// How positions follow the hole between readings.
struct SetTrajectory {
    TrajectoryMethod method;
};
// Puts `points` in place of every control point (more than 100: nothing
// happens) and refits once: a change typed in the control points' table.
struct SetControlPoints {
    std::vector<ControlPoint> points;
};
// The hole's name on pictures and exports (HoleName.h); empty: the survey's
// file name again. Refused when HoleNameProblem finds fault with it.
struct SetHoleName {
    std::string name;
};

} // namespace edit

using EditOperation = std::variant<edit::ToggleDeleteMode, edit::ToggleControlMode, edit::DeleteObservation,
                                   edit::AddControlPoint, edit::ClearControlPoints, edit::SetFitDegree,
                                   edit::SetRollAdjustment, edit::RemoveControlPoint, edit::DeleteObservations,
                                   edit::SetLocalFit, edit::SetSite, edit::SetTrajectory, edit::SetControlPoints,
                                   edit::SetHoleName>;

// The degrees of the azimuth polynomial (1 to 4) and the roll adjustments
// (0, 90, 180, -90) there are; edits to any other value change nothing.
bool IsFitDegree(std::int32_t degree);
bool IsRollAdjustment(std::int32_t degrees);

// Whether applying `op` ends with a recalculation of the survey (and so a
// redraw of every view). Only the mode toggles do not.
bool Recalculates(const EditOperation& op);

// Whether the state that `op` sets is the document's state now: a mode that is
// on, the degree, roll adjustment or local fit in force. False for the other
// edits.
bool IsInForce(const CKestrixDoc& doc, const EditOperation& op);

} // namespace survey

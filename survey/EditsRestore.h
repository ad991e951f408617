#pragma once

#include "survey/EditRecord.h"
#include "survey/EditsFile.h"

#include <string>
#include <variant>

namespace survey {

class CKestrixDoc;

// The edits that bring the survey as loaded to `doc`'s state now: its deleted
// readings in order, control points, degree, roll adjustment, local fit,
// site, trajectory and name (the degree and roll always set, the trajectory
// when it is not average angle, the name when one is set).
SurveyEdits EditsOf(const CKestrixDoc& doc);

// Saved edits made on a survey as one edit.
struct RestoredEdits {
    EditRecord record;   // takes all of it back in one step
    std::string summary; // what changed, e.g. "5 deletions, 6 control points, degree 3"
};

// Checks `edits` against `doc` and makes them all as one edit: the deletions
// in order (each the occurrence-th reading at exactly its depth among those
// left by the deletions before it), the control points appended, then the
// degree, roll adjustment, local fit, site and trajectory, then one
// recalculation. When any of it cannot apply (no such reading, more than 100
// control points in all, a declination from the model where the model gives
// none) the fault names its line and nothing at all is changed.
std::variant<RestoredEdits, EditsFault> RestoreEdits(CKestrixDoc& doc, const SurveyEdits& edits);

} // namespace survey

#pragma once

#include "survey/TableEdits.h"

#include <span>

namespace survey {

class CKestrixDoc;

// The recalculation after readings were only taken out of the table or put
// back, when the rest of the survey (points, fit, roll adjustment, site) is as
// the last recalculation left it. The readings that stayed keep what they
// hold, so only the positions beyond the change, the quality values and the
// reference field are worked out; the result is the full recalculation's to
// the last bit, and every view redraws. False, with the table as it is and
// nothing else changed, when the change reaches further (azimuths wrapped
// otherwise, another fit, a survey not calculated before the change): the
// caller then recalculates in full.

// After RemoveObservations took out `removed`, with `refit` as the
// recalculation it replaces (a refit through the control points, or the fit
// in force).
bool RecalculateAfterRemoval(CKestrixDoc& doc, std::span<const RemovedObservation> removed, bool refit);

// After RestoreObservations put back `restored`, under the fit in force that
// was in force when they went.
bool RecalculateAfterRestore(CKestrixDoc& doc, std::span<const RemovedObservation> restored);

} // namespace survey

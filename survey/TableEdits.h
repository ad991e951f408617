#pragma once

#include "survey/ControlPoint.h"
#include "survey/Observation.h"

#include <cstdint>
#include <span>
#include <vector>

namespace survey {

class CKestrixDoc;

// A reading taken out of the table: its index in the table before the edit
// and everything it held.
struct RemovedObservation {
    std::int32_t index;
    Observation observation;
};

// Takes the observations at `indices` (positions in the table as it is) out in
// one pass, keeping the order of the rest and the table's allocation, and notes
// each in m_DeletedReadings in the order of `indices`. Indices outside the
// table and repeats are passed over. Nothing is recalculated. Returns what was
// taken out, by increasing index.
std::vector<RemovedObservation> RemoveObservations(CKestrixDoc& doc, std::span<const std::int32_t> indices);

// Puts back what RemoveObservations took out of this table (by increasing
// index, each at its index), leaving m_DeletedReadings alone. The table must
// still hold the allocation it had then, which deletions never shrink.
void RestoreObservations(CKestrixDoc& doc, std::span<const RemovedObservation> removed);

// Takes control point `index` out, closing the gap; false when out of range.
bool RemoveControlPointAt(CKestrixDoc& doc, std::int32_t index);
// Puts `point` in at `index` (0 to m_nControlPoints), moving the later ones up;
// false when the index is out of range or 100 points are stored.
bool InsertControlPointAt(CKestrixDoc& doc, std::int32_t index, ControlPoint point);

} // namespace survey

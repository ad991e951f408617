#pragma once

#include "survey/AzimuthFit.h"
#include "survey/ControlPoint.h"
#include "survey/EditOperations.h"
#include "survey/TableEdits.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace survey {

class CKestrixDoc;

// Saved edits as they apply to one survey, made as one edit with one
// recalculation: the deletions, then the control points appended, then the
// degree, the roll adjustment and the local fit.
struct ResolvedEdits {
    std::vector<std::int32_t> deletions; // as DeleteObservations takes them
    std::vector<ControlPoint> controlPoints;
    std::optional<std::int32_t> degree;
    std::optional<std::int32_t> rollAdjustment;
    bool fitLocal = false; // true turns the local fit on
    std::optional<Site> site;
    std::optional<TrajectoryMethod> trajectory;
    std::optional<std::string> holeName;
};

// What it takes to take one edit back and to make it again: the edit, the
// document's editing state and fit before it, and the readings and control
// points it removed. Never a copy of the observation table: its size grows
// only with the readings the edit removed.
class EditRecord {
public:
    using Edit = std::variant<EditOperation, ResolvedEdits>;

    const Edit& What() const { return m_edit; }
    // The readings the edit removed, by increasing index in the table before it.
    std::span<const RemovedObservation> RemovedObservations() const { return m_removedObservations; }

private:
    // The control point at `index` of the list as it stood when it went.
    struct RemovedPoint {
        std::int32_t index;
        ControlPoint point;
    };
    struct StateBefore {
        const Observation* table; // which allocation the removed readings go back into
        std::int32_t observations;
        std::size_t deletedReadings;
        std::int32_t controlPoints;
        std::int32_t degree;
        std::int32_t rollAdjust;
        bool fitLocal;
        std::int32_t nCoef;
        std::array<double, 5> coef;
        OrthogonalFit fit;
        FitSpan fitSpan;
        bool computed; // the computed fields are a recalculation's (not zero after a failed load)
        Site site;
        TrajectoryMethod trajectory;
        std::string holeName;
    };

    EditRecord(Edit edit, const CKestrixDoc& doc);

    Edit m_edit;
    StateBefore m_before;
    std::vector<RemovedObservation> m_removedObservations;
    std::vector<RemovedPoint> m_removedPoints; // in the order they went

    friend std::optional<EditRecord> ApplyRecorded(CKestrixDoc&, const EditOperation&);
    friend EditRecord ApplyRecorded(CKestrixDoc&, ResolvedEdits);
    friend bool Undo(CKestrixDoc&, const EditRecord&);
};

// The one way a survey is edited, by the windows and kestrix-batch alike:
// makes `op` and returns what takes it back. No record for a mode toggle (not
// an edit) or for an edit that does nothing (an index out of range, a 101st
// point, a degree or roll adjustment out of range, the site in force, a site
// whose declination is the model's when the model gives none there).
std::optional<EditRecord> ApplyRecorded(CKestrixDoc& doc, const EditOperation& op);

// Makes `edits` (indices, counts and the site checked by the caller) as one edit.
EditRecord ApplyRecorded(CKestrixDoc& doc, ResolvedEdits edits);

// Takes `record`, the last edit made on `doc` that is not taken back, back:
// every member the edit touched is as it was before it, to the last bit (an
// edit that recalculated is followed by the same computation with the fit that
// was in force then, not a new fit). False, and nothing changed, when the
// record cannot be this document's (another table, or one of the wrong size).
bool Undo(CKestrixDoc& doc, const EditRecord& record);

// Makes `record`'s edit again on the document as Undo left it, which gives
// exactly the state after the edit.
void Redo(CKestrixDoc& doc, const EditRecord& record);

} // namespace survey

#include "survey/EditRecord.h"

#include "survey/HoleName.h"
#include "survey/KestrixDoc.h"
#include "survey/Overloaded.h"
#include "survey/TableRecalculation.h"
#include "textio/VectorState.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace survey {

// The document's own edits, which only the recording below may make.
class EditMaking {
public:
    static void Apply(CKestrixDoc& doc, const EditOperation& op) { doc.Apply(op); }
    static void AddControlPoint(CKestrixDoc& doc, ControlPoint point) { doc.AddControlPoint(point); }
    static void SetSite(CKestrixDoc& doc, const Site& site) { doc.SetSite(site); }
    static void RecalculateAfter(CKestrixDoc& doc, std::span<const RemovedObservation> removed)
    {
        doc.RecalculateAfter(removed);
    }
};

namespace {

// A site whose declination is the model's must give the model's value.
bool ModelGivesWhatItMust(const CKestrixDoc& doc, const Site& site)
{
    return site.declinationFrom != Site::DeclinationFrom::Model
        || ReferenceAt(site, doc.m_dEasting, doc.m_dNorthing, doc.m_dHeight).SurveyDeclination();
}

// Whether `points` fit the document and differ from its control points.
bool ChangesControlPoints(const CKestrixDoc& doc, const std::vector<ControlPoint>& points)
{
    if (points.size() > static_cast<std::size_t>(CKestrixDoc::kMaxControlPoints))
        return false;
    const auto same = [](const ControlPoint& a, const ControlPoint& b) { return a.x == b.x && a.y == b.y; };
    const auto inForce = doc.m_ControlPoints.begin() + doc.m_nControlPoints;
    return !std::equal(points.begin(), points.end(), doc.m_ControlPoints.begin(), inForce, same);
}

// Whether `op` changes anything when applied to `doc` now.
bool Changes(const CKestrixDoc& doc, const EditOperation& op)
{
    const auto inTable = [&](std::int32_t i) { return i >= 0 && i < doc.m_nObs; };
    return std::visit(
        Overloaded{[](const edit::ToggleDeleteMode&) { return false; },
                   [](const edit::ToggleControlMode&) { return false; },
                   [&](const edit::DeleteObservation& d) { return inTable(d.index); },
                   [&](const edit::DeleteObservations& d) { return std::any_of(d.indices.begin(), d.indices.end(), inTable); },
                   [&](const edit::AddControlPoint&) { return doc.m_nControlPoints < CKestrixDoc::kMaxControlPoints; },
                   [&](const edit::RemoveControlPoint& r) { return r.index >= 0 && r.index < doc.m_nControlPoints; },
                   [](const edit::ClearControlPoints&) { return true; },
                   [](const edit::SetFitDegree& d) { return IsFitDegree(d.degree); },
                   [](const edit::SetRollAdjustment& r) { return IsRollAdjustment(r.degrees); },
                   [](const edit::SetLocalFit&) { return true; },
                   [&](const edit::SetSite& s) { return s.site != doc.m_site && ModelGivesWhatItMust(doc, s.site); },
                   [&](const edit::SetTrajectory& t) { return t.method != doc.m_trajectory; },
                   [&](const edit::SetControlPoints& s) { return ChangesControlPoints(doc, s.points); },
                   [&](const edit::SetHoleName& n) {
                       return n.name != doc.m_holeName && (n.name.empty() || HoleNameProblem(n.name).empty());
                   }},
        op);
}

void MakeResolved(CKestrixDoc& doc, const ResolvedEdits& edits, std::vector<RemovedObservation>* removed)
{
    std::vector<RemovedObservation> taken = RemoveObservations(doc, edits.deletions);
    if (removed)
        *removed = std::move(taken);
    for (const ControlPoint& point : edits.controlPoints)
        EditMaking::AddControlPoint(doc, point);
    if (edits.degree)
        doc.m_nDegree = *edits.degree;
    if (edits.rollAdjustment) {
        doc.m_nRollAdjust = *edits.rollAdjustment;
        doc.m_bOrientationCurrent = false;
    }
    if (edits.fitLocal)
        doc.m_bFitLocal = true;
    if (edits.site)
        EditMaking::SetSite(doc, *edits.site);
    if (edits.trajectory)
        doc.m_trajectory = *edits.trajectory;
    if (edits.holeName)
        doc.m_holeName = *edits.holeName;
    doc.Recalculate();
}

template <typename T>
bool SameBits(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

bool RemovesReadingsOnly(const EditOperation& op)
{
    return std::holds_alternative<edit::DeleteObservation>(op) || std::holds_alternative<edit::DeleteObservations>(op);
}

// The computed fields of a table that was never recalculated: zero, as loaded.
void ClearComputedFields(CKestrixDoc& doc)
{
    for (std::int32_t i = 0; i < doc.m_nObs; ++i) {
        Observation& o = doc.m_pObs[i];
        Observation raw{};
        std::memcpy(&raw, &o, offsetof(Observation, MagH1)); // Depth to AccZ, as read
        o = raw;
    }
    doc.m_QualityValues.clear();
    doc.m_PositionSteps.clear();
    doc.m_bOrientationCurrent = false;
    doc.m_reference.readings.clear();
}

} // namespace

EditRecord::EditRecord(Edit edit, const CKestrixDoc& doc)
    : m_edit(std::move(edit)),
      m_before{doc.m_pObs.get(),
               doc.m_nObs,
               doc.m_DeletedReadings.size(),
               doc.m_nControlPoints,
               doc.m_nDegree,
               doc.m_nRollAdjust,
               doc.m_bFitLocal,
               doc.m_nCoef,
               doc.m_dCoef,
               doc.m_fit,
               doc.m_fitSpan,
               doc.IsComputed(),
               doc.m_site,
               doc.m_trajectory,
               doc.m_holeName}
{
}

std::optional<EditRecord> ApplyRecorded(CKestrixDoc& doc, const EditOperation& op)
{
    textio::ReleaseWideVectorRegisters();
    if (!Changes(doc, op)) {
        EditMaking::Apply(doc, op); // a mode toggle still switches the mode
        return std::nullopt;
    }
    EditRecord record(op, doc);
    // Every point goes, as if taken from the front one by one, so they are
    // put back from the last; the points the edit puts in go first.
    const auto replaceAllPoints = [&] {
        for (std::int32_t i = 0; i < doc.m_nControlPoints; ++i)
            record.m_removedPoints.push_back({0, doc.m_ControlPoints[static_cast<std::size_t>(i)]});
        EditMaking::Apply(doc, op);
    };
    std::visit(Overloaded{[&](const edit::DeleteObservation& d) {
                              const std::int32_t indices[] = {d.index};
                              record.m_removedObservations = RemoveObservations(doc, indices);
                              EditMaking::RecalculateAfter(doc, record.m_removedObservations);
                          },
                          [&](const edit::DeleteObservations& d) {
                              record.m_removedObservations = RemoveObservations(doc, d.indices);
                              EditMaking::RecalculateAfter(doc, record.m_removedObservations);
                          },
                          [&](const edit::RemoveControlPoint& r) {
                              record.m_removedPoints.push_back(
                                  {r.index, doc.m_ControlPoints[static_cast<std::size_t>(r.index)]});
                              EditMaking::Apply(doc, op);
                          },
                          [&](const edit::ClearControlPoints&) { replaceAllPoints(); },
                          [&](const edit::SetControlPoints&) { replaceAllPoints(); },
                          // The rest take back from the state noted before them.
                          [&](const edit::ToggleDeleteMode&) { EditMaking::Apply(doc, op); },
                          [&](const edit::ToggleControlMode&) { EditMaking::Apply(doc, op); },
                          [&](const edit::AddControlPoint&) { EditMaking::Apply(doc, op); },
                          [&](const edit::SetFitDegree&) { EditMaking::Apply(doc, op); },
                          [&](const edit::SetRollAdjustment&) { EditMaking::Apply(doc, op); },
                          [&](const edit::SetLocalFit&) { EditMaking::Apply(doc, op); },
                          [&](const edit::SetSite&) { EditMaking::Apply(doc, op); },
                          [&](const edit::SetTrajectory&) { EditMaking::Apply(doc, op); },
                          [&](const edit::SetHoleName&) { EditMaking::Apply(doc, op); }},
               op);
    return record;
}

EditRecord ApplyRecorded(CKestrixDoc& doc, ResolvedEdits edits)
{
    EditRecord record(std::move(edits), doc);
    MakeResolved(doc, std::get<ResolvedEdits>(record.m_edit), &record.m_removedObservations);
    return record;
}

bool Undo(CKestrixDoc& doc, const EditRecord& record)
{
    textio::ReleaseWideVectorRegisters();
    const EditRecord::StateBefore& before = record.m_before;
    const auto removedPoints = static_cast<std::int32_t>(record.m_removedPoints.size());
    const std::size_t removedObservations = record.m_removedObservations.size();
    if (doc.m_nObs + static_cast<std::int32_t>(removedObservations) != before.observations
        || (removedObservations > 0 && doc.m_pObs.get() != before.table)
        || doc.m_DeletedReadings.size() < before.deletedReadings || before.controlPoints < removedPoints
        || doc.m_nControlPoints < before.controlPoints - removedPoints)
        return false;

    // The readings that stayed were calculated with the fit in force now.
    const bool fitAsBefore = doc.m_nCoef == before.nCoef && SameBits(doc.m_dCoef, before.coef)
                             && doc.m_fit.nTerms == before.fit.nTerms && SameBits(doc.m_fit.b, before.fit.b)
                             && SameBits(doc.m_fit.alpha, before.fit.alpha) && SameBits(doc.m_fit.beta, before.fit.beta)
                             && SameBits(doc.m_fitSpan, before.fitSpan);
    RestoreObservations(doc, record.m_removedObservations);
    doc.m_DeletedReadings.resize(before.deletedReadings);
    // Points the edit appended go first, then the removed ones come back.
    doc.m_nControlPoints = before.controlPoints - removedPoints;
    for (auto point = record.m_removedPoints.rbegin(); point != record.m_removedPoints.rend(); ++point)
        InsertControlPointAt(doc, point->index, point->point);
    doc.m_nDegree = before.degree;
    // Readings that come back are oriented in the recalculation after them.
    const bool orientationKept = doc.m_nRollAdjust == before.rollAdjust && removedObservations == 0;
    if (doc.m_nRollAdjust != before.rollAdjust)
        doc.m_bOrientationCurrent = false;
    doc.m_nRollAdjust = before.rollAdjust;
    doc.m_bFitLocal = before.fitLocal;
    doc.m_nCoef = before.nCoef;
    doc.m_dCoef = before.coef;
    doc.m_fit = before.fit;
    doc.m_fitSpan = before.fitSpan;
    if (doc.m_site != before.site)
        EditMaking::SetSite(doc, before.site);
    doc.m_trajectory = before.trajectory;
    doc.m_holeName = before.holeName;

    const bool recalculated = std::visit(
        Overloaded{[](const EditOperation& op) { return Recalculates(op); }, [](const ResolvedEdits&) { return true; }},
        record.m_edit);
    if (!recalculated) {
        doc.UpdateAllViews();
    } else if (before.computed) {
        // Readings put back under the state they went in need only what lies beyond them.
        const bool readingsOnly = fitAsBefore && record.m_removedPoints.empty()
                                  && std::holds_alternative<EditOperation>(record.m_edit)
                                  && RemovesReadingsOnly(std::get<EditOperation>(record.m_edit));
        if (orientationKept)
            doc.RecalculateKeepingOrientation(false);
        else if (!readingsOnly || !RecalculateAfterRestore(doc, record.m_removedObservations))
            doc.RecalculateWithFitInForce();
    } else {
        ClearComputedFields(doc);
        doc.UpdateAllViews();
    }
    return true;
}

void Redo(CKestrixDoc& doc, const EditRecord& record)
{
    textio::ReleaseWideVectorRegisters();
    std::visit(Overloaded{[&](const EditOperation& op) { EditMaking::Apply(doc, op); },
                          [&](const ResolvedEdits& edits) { MakeResolved(doc, edits, nullptr); }},
               record.What());
}

} // namespace survey

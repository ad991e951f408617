#pragma once

#include "survey/AzimuthFit.h"
#include "survey/AzimuthWrap.h"
#include "survey/ControlPoint.h"
#include "survey/DeletedReading.h"
#include "survey/EditOperations.h"
#include "survey/Observation.h"
#include "survey/QualityControl.h"
#include "survey/ReferenceField.h"
#include "survey/Site.h"
#include "survey/TableEdits.h"
#include "survey/Trajectory.h"
#include "survey/TrajectoryMethod.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace textio {
class Progress;
} // namespace textio

namespace survey {

class DocumentHost;
class LineSource;
class MessageSink;

// How a load ended. Every outcome but Loaded, LoadedOverLimit and Cancelled
// has shown its message through the sink and left the document as the
// message says. Cancelled (the progress asked to stop) says nothing and
// leaves the document without readings.
enum class LoadResult { Loaded, LoadedOverLimit, InvalidFormat, OutOfMemory, Cancelled };

// One borehole survey: the collar, the observation table and the editing
// state of the azimuth curve. Views read the members directly.
class CKestrixDoc {
public:
    static constexpr int kMaxObservations = 200000;
    static constexpr int kMaxControlPoints = 100;
    static constexpr int kMaxCoefficients = 5;

    CKestrixDoc() = default;
    CKestrixDoc(const CKestrixDoc&) = delete;
    CKestrixDoc& operator=(const CKestrixDoc&) = delete;

    // The program that shows this document, or none. Not owned.
    void SetHost(DocumentHost* host) { m_pHost = host; }

    // Reads a raw survey file from `source` into this new document; `path`
    // is kept in m_strFilePath. Failures are reported through `sink`. On
    // success the host opens the plot windows and Recalculate runs.
    // `progress`, when given, hears how many of the source's bytes are read.
    LoadResult LoadRawSurvey(const std::string& path, LineSource& source, MessageSink& sink,
                             textio::Progress* progress = nullptr);

    // Inclination, roll, azimuth, fit, components, positions, quality
    // values and reference field of every observation, then every view
    // redraws.
    void Recalculate();
    // As Recalculate, but with the fit in force (m_nCoef, m_dCoef, m_fit,
    // m_fitSpan) instead of a new fit through the control points: the state a
    // recalculation left, before points were added or removed since.
    void RecalculateWithFitInForce();
    // As Recalculate (`refit`) or RecalculateWithFitInForce, after an edit
    // that left the readings and the roll adjustment as they were (the fit,
    // the site, the trajectory): the orientation is kept when it is current.
    void RecalculateKeepingOrientation(bool refit);

    // Counts the survey's changes and has every view redraw.
    void UpdateAllViews();
    // How many changes the views have been told of: a view that last saw
    // the same number shows the survey as it is.
    std::uint64_t Revision() const { return m_nRevision; }

    // Whether the computed fields are a recalculation's, not the zeros that a
    // failed load leaves beside what it read.
    bool IsComputed() const { return m_QualityValues.size() == static_cast<std::size_t>(m_nObs); }

    // The fitted azimuth polynomial in force (m_nCoef != 0) at scaled depth X,
    // in scaled units: the polynomial of m_dCoef, evaluated stably.
    double FittedAzimuthScaled(double X) const { return m_fit.Evaluate(X); }

    std::string m_strFilePath;
    bool m_bDeleteMode = false;
    bool m_bControlMode = false;
    std::array<ControlPoint, kMaxControlPoints> m_ControlPoints{};
    std::int32_t m_nControlPoints = 0;
    std::array<double, kMaxCoefficients> m_dCoef{};
    std::int32_t m_nDegree = 2;
    std::int32_t m_nCoef = 0;
    double m_dScale = kPlotScale;
    std::int32_t m_nObs = 0;
    std::unique_ptr<Observation[]> m_pObs;
    double m_dEasting = 0.0;
    double m_dNorthing = 0.0;
    double m_dHeight = 0.0;
    double m_dDeclination = 0.0; // the raw survey file's
    std::int32_t m_nRollAdjust = 0;
    // The fitted azimuth replaces the measured one only from the shallowest
    // to the deepest control point, so the hole away from them keeps its
    // measured direction.
    bool m_bFitLocal = false;
    // Whether the last recalculation put the measured azimuths on 0 to 360
    // (their mean lay near south) rather than -180 to 180.
    bool m_bAzimuthsWrapped = false;
    // The sum that decided it, kept up as readings go and come back.
    WrapTermSum m_wrapTerms;
    // Whether CalcIncl to CalcAzMag and the wrap of every reading are what
    // the orientation steps give now: set by a recalculation, kept while
    // readings only go and come back under the same wrap, cleared by
    // whatever else changes them (a roll adjustment, a table never calculated).
    bool m_bOrientationCurrent = false;
    // Quality values of observation i at [i], as of the last Recalculate
    // (empty before it).
    std::vector<QualityValues> m_QualityValues;
    // Position step of observation i at [i] (see PositionStep), as of the
    // last Recalculate, so that positions past an edit are summed again
    // without working out the steps that did not change.
    std::vector<PositionStep> m_PositionSteps;
    // The last change the views were told of, when it only took readings
    // out of the table or put them back, leaving every other reading's
    // orientation, azimuth in force and components as they were: views that
    // keep such values per reading follow it rather than go through the
    // whole table. It holds for the views' revision `revision` only.
    struct TableSplice {
        std::uint64_t revision = 0; // none: no view has seen revision 0 after a change
        bool restored = false;      // readings put back, else taken out
        std::vector<std::int32_t> indices; // ascending, in the larger of the two tables
    };
    TableSplice m_lastSplice;
    // The views' revision made by a recalculation that kept the table's
    // readings, depths and orientation as they were (a fit, site or
    // declination change): views of those values alone keep what they hold.
    std::uint64_t m_orientationKeptRevision = 0;
    // m_lastSplice when it was the only change since the views' revision
    // `seen`; none otherwise.
    const TableSplice* SpliceSince(std::uint64_t seen) const
    {
        return m_lastSplice.revision == m_nRevision && seen + 1 == m_nRevision ? &m_lastSplice : nullptr;
    }
    // Whether the only change since revision `seen` was a recalculation that
    // kept the readings' orientation (see m_orientationKeptRevision).
    bool OrientationKeptSince(std::uint64_t seen) const
    {
        return m_orientationKeptRevision == m_nRevision && seen + 1 == m_nRevision;
    }
    // The fit of m_dCoef in orthogonal form, for accurate evaluation.
    OrthogonalFit m_fit;
    // Where the fit in force was made (see m_bFitLocal).
    FitSpan m_fitSpan;
    // Every reading deleted since the load and not restored, in the order of
    // deletion: what an edits file names.
    std::vector<DeletedReading> m_DeletedReadings;
    // Where and when the survey was made, and the reference the models give
    // at the collar for it (set together, by SetSite).
    Site m_site;
    SiteReference m_siteReference;
    TrajectoryMethod m_trajectory = TrajectoryMethod::AverageAngle;
    // The hole's name given as an edit (survey/HoleName.h); empty for none.
    std::string m_holeName;
    // The model's field along the hole as of the last Recalculate: empty
    // readings without a site reference.
    ReferenceField m_reference;

    // The declination the positions subtract from the magnetic azimuth: the
    // raw survey file's, a typed one or the model's, as the site says.
    double DeclinationInForce() const;

private:
    // Edits are made only through ApplyRecorded (EditRecord.h), so that every
    // one of them can be taken back exactly.
    friend class EditMaking;

    // Makes the edit `op`; the edits that recalculate (see Recalculates) end
    // with a recalculation. A degree or roll adjustment out of range changes nothing.
    void Apply(const EditOperation& op);
    // Appends a control point unless 100 are stored; nothing is recomputed.
    void AddControlPoint(ControlPoint point);
    // Sets the site and computes its reference at the collar; false, and
    // nothing changed, when the declination is to be the model's and the
    // model gives none there.
    bool SetSite(const Site& site);

    // With `reorient` false the orientation is taken as current.
    void Calculate(bool refit, bool reorient);
    // The recalculation after readings went, unless none did (see TableRecalculation.h).
    void RecalculateAfter(std::span<const RemovedObservation> removed);

    DocumentHost* m_pHost = nullptr;
    std::uint64_t m_nRevision = 0;
};

} // namespace survey

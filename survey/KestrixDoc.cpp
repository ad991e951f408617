#include "survey/KestrixDoc.h"

#include "survey/AzimuthFit.h"
#include "survey/AzimuthInForce.h"
#include "survey/DocumentHost.h"
#include "survey/Orientation.h"
#include "survey/QualityControl.h"
#include "survey/ReferenceField.h"
#include "survey/TableEdits.h"
#include "survey/Trajectory.h"
#include "textio/VectorState.h"

namespace survey {

void CKestrixDoc::UpdateAllViews()
{
    ++m_nRevision;
    if (m_pHost)
        m_pHost->UpdateAllViews();
}

void CKestrixDoc::Recalculate()
{
    Calculate(true, true);
}

void CKestrixDoc::RecalculateWithFitInForce()
{
    Calculate(false, true);
}

void CKestrixDoc::RecalculateKeepingOrientation(bool refit)
{
    Calculate(refit, !m_bOrientationCurrent || !IsComputed());
}

void CKestrixDoc::Calculate(bool refit, bool reorient)
{
    textio::ReleaseWideVectorRegisters();
    // The fit depends on the control points alone.
    if (refit)
        FitThroughControlPoints(*this);
    // The orientation, the azimuths in force and the positions in one pass
    // over the table, on the chance that the azimuths wrap as they did last
    // time; when they wrap otherwise, the pass goes again for the rest. Unless
    // the readings are oriented anew, the steps' inclinations are kept.
    const auto resolve = [this](std::int32_t begin, std::int32_t end) { ResolveWithAzimuthInForce(*this, begin, end); };
    if (reorient) {
        TableOrientation orientation(*this);
        CalcPositions(
            *this,
            [&](std::int32_t begin, std::int32_t end) {
                orientation.Orient(begin, end);
                resolve(begin, end);
            },
            false);
        if (orientation.Finish())
            CalcPositions(*this, resolve, true);
    } else {
        CalcPositions(*this, resolve, true);
        m_orientationKeptRevision = Revision() + 1; // the revision UpdateAllViews makes
    }
    CalcReferenceField(*this);
    UpdateAllViews();
}

void CKestrixDoc::AddControlPoint(ControlPoint point)
{
    if (m_nControlPoints >= kMaxControlPoints)
        return;
    m_ControlPoints[static_cast<std::size_t>(m_nControlPoints)] = point;
    ++m_nControlPoints;
}

} // namespace survey

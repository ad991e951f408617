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
    if (reorient)
        CalcOrientation(*this);
    if (refit)
        FitThroughControlPoints(*this);
    // The azimuths in force and the positions in one pass over the table.
    CalcPositions(*this, [this](std::int32_t begin, std::int32_t end) { ResolveWithAzimuthInForce(*this, begin, end); });
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

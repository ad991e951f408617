#include "survey/KestrixDoc.h"

#include "survey/AzimuthFit.h"
#include "survey/DocumentHost.h"
#include "survey/Orientation.h"
#include "survey/QualityControl.h"
#include "survey/Trajectory.h"

#include <cstring>

namespace survey {

void CKestrixDoc::UpdateAllViews()
{
    if (m_pHost)
        m_pHost->UpdateAllViews();
}

void CKestrixDoc::Recalculate()
{
    CalcInclination(*this);
    CalcRollAngle(*this);
    CalcAzimuth(*this);
    FitAzimuth(*this);
    ResolveComponents(*this);
    CalcPositions(*this);
    CalcQualityValues(*this);
    UpdateAllViews();
}

void CKestrixDoc::DeleteObservation(int index)
{
    if (index < 0 || index >= m_nObs)
        return;
    std::memmove(&m_pObs[index], &m_pObs[index + 1],
                 sizeof(Observation) * static_cast<std::size_t>(m_nObs - index - 1));
    --m_nObs;
    // Positions and the fit follow the remaining observations at once, so
    // what is exported always matches what is shown.
    Recalculate();
}

void CKestrixDoc::AddControlPoint(std::int32_t x, std::int32_t y)
{
    if (m_nControlPoints >= kMaxControlPoints)
        return;
    m_ControlPoints[static_cast<std::size_t>(m_nControlPoints)] = {x, y};
    ++m_nControlPoints;
}

} // namespace survey

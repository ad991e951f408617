#include "survey/KestrixDoc.h"

#include "survey/AzimuthFit.h"
#include "survey/DocumentHost.h"
#include "survey/EditCommands.h"
#include "survey/Orientation.h"
#include "survey/QualityControl.h"
#include "survey/TableEdits.h"
#include "survey/Trajectory.h"

namespace survey {

void CKestrixDoc::UpdateAllViews()
{
    if (m_pHost)
        m_pHost->UpdateAllViews();
}

void CKestrixDoc::Recalculate()
{
    Calculate(true);
}

void CKestrixDoc::RecalculateWithFitInForce()
{
    Calculate(false);
}

void CKestrixDoc::Calculate(bool refit)
{
    CalcInclination(*this);
    CalcRollAngle(*this);
    CalcAzimuth(*this);
    if (refit)
        FitAzimuth(*this);
    else
        ApplyFitInForce(*this);
    ResolveComponents(*this);
    CalcPositions(*this);
    CalcQualityValues(*this);
    UpdateAllViews();
}

bool CKestrixDoc::OnCommand(int id)
{
    switch (id) {
    case ID_EDIT_DELETE_OBSERVATIONS:
        m_bDeleteMode = !m_bDeleteMode;
        m_bControlMode = false;
        return true;
    case ID_EDIT_ADD_CONTROL_POINTS:
        m_bControlMode = !m_bControlMode;
        m_bDeleteMode = false;
        return true;
    case ID_EDIT_CLEAR_CONTROL_POINTS:
        m_nControlPoints = 0;
        m_nCoef = 0;
        break;
    case ID_EDIT_FIT_DEGREE_1: m_nDegree = 1; break;
    case ID_EDIT_FIT_DEGREE_2: m_nDegree = 2; break;
    case ID_EDIT_FIT_DEGREE_3: m_nDegree = 3; break;
    case ID_EDIT_FIT_DEGREE_4: m_nDegree = 4; break;
    case ID_ROLL_NO_ADJUSTMENT: m_nRollAdjust = 0; break;
    case ID_ROLL_ADD_90: m_nRollAdjust = 90; break;
    case ID_ROLL_ADD_180: m_nRollAdjust = 180; break;
    case ID_ROLL_SUBTRACT_90: m_nRollAdjust = -90; break;
    default:
        return false;
    }
    Recalculate();
    return true;
}

bool CKestrixDoc::IsChecked(int id) const
{
    switch (id) {
    case ID_EDIT_DELETE_OBSERVATIONS: return m_bDeleteMode;
    case ID_EDIT_ADD_CONTROL_POINTS: return m_bControlMode;
    case ID_ROLL_NO_ADJUSTMENT: return m_nRollAdjust == 0;
    case ID_ROLL_ADD_90: return m_nRollAdjust == 90;
    case ID_ROLL_ADD_180: return m_nRollAdjust == 180;
    case ID_ROLL_SUBTRACT_90: return m_nRollAdjust == -90;
    default: return false;
    }
}

void CKestrixDoc::DeleteObservation(int index)
{
    const std::int32_t indices[] = {index};
    if (RemoveObservations(*this, indices).empty())
        return;
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

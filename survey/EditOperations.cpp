#include "survey/EditOperations.h"

#include "survey/HoleName.h"
#include "survey/KestrixDoc.h"
#include "survey/Overloaded.h"
#include "survey/TableEdits.h"
#include "survey/TableRecalculation.h"

namespace survey {

bool IsFitDegree(std::int32_t degree)
{
    return degree >= 1 && degree < CKestrixDoc::kMaxCoefficients;
}

bool IsRollAdjustment(std::int32_t degrees)
{
    return degrees == 0 || degrees == 90 || degrees == 180 || degrees == -90;
}

// Every kind of edit is named in each visit below, with no default: a new
// kind does not compile until it says what it does in each.

bool Recalculates(const EditOperation& op)
{
    return std::visit(Overloaded{[](const edit::ToggleDeleteMode&) { return false; },
                                 [](const edit::ToggleControlMode&) { return false; },
                                 [](const edit::DeleteObservation&) { return true; },
                                 [](const edit::AddControlPoint&) { return true; },
                                 [](const edit::RemoveControlPoint&) { return true; },
                                 [](const edit::ClearControlPoints&) { return true; },
                                 [](const edit::SetFitDegree&) { return true; },
                                 [](const edit::SetRollAdjustment&) { return true; },
                                 [](const edit::DeleteObservations&) { return true; },
                                 [](const edit::SetLocalFit&) { return true; },
                                 [](const edit::SetSite&) { return true; },
                                 [](const edit::SetTrajectory&) { return true; },
                                 [](const edit::SetControlPoints&) { return true; },
                                 [](const edit::SetHoleName&) { return false; }},
                      op);
}

bool IsInForce(const CKestrixDoc& doc, const EditOperation& op)
{
    return std::visit(Overloaded{[&](const edit::ToggleDeleteMode&) { return doc.m_bDeleteMode; },
                                 [&](const edit::ToggleControlMode&) { return doc.m_bControlMode; },
                                 [](const edit::DeleteObservation&) { return false; },
                                 [](const edit::AddControlPoint&) { return false; },
                                 [](const edit::RemoveControlPoint&) { return false; },
                                 [](const edit::ClearControlPoints&) { return false; },
                                 [&](const edit::SetFitDegree& d) { return doc.m_nDegree == d.degree; },
                                 [&](const edit::SetRollAdjustment& r) { return doc.m_nRollAdjust == r.degrees; },
                                 [](const edit::DeleteObservations&) { return false; },
                                 [&](const edit::SetLocalFit& l) { return doc.m_bFitLocal == l.on; },
                                 [&](const edit::SetSite& s) { return doc.m_site == s.site; },
                                 [&](const edit::SetTrajectory& t) { return doc.m_trajectory == t.method; },
                                 [](const edit::SetControlPoints&) { return false; },
                                 [&](const edit::SetHoleName& n) { return doc.m_holeName == n.name; }},
                      op);
}

void CKestrixDoc::Apply(const EditOperation& op)
{
    std::visit(Overloaded{[&](const edit::ToggleDeleteMode&) {
                              m_bDeleteMode = !m_bDeleteMode;
                              m_bControlMode = false;
                          },
                          [&](const edit::ToggleControlMode&) {
                              m_bControlMode = !m_bControlMode;
                              m_bDeleteMode = false;
                          },
                          [&](const edit::DeleteObservation& d) {
                              // Positions and the fit follow the remaining observations at
                              // once, so what is exported always matches what is shown.
                              const std::int32_t indices[] = {d.index};
                              RecalculateAfter(RemoveObservations(*this, indices));
                          },
                          // The fit follows its points at once, so what is shown, exported
                          // and saved always agree.
                          [&](const edit::AddControlPoint& a) {
                              if (m_nControlPoints < kMaxControlPoints) {
                                  AddControlPoint(a.point);
                                  RecalculateKeepingOrientation(true);
                              }
                          },
                          [&](const edit::ClearControlPoints&) {
                              m_nControlPoints = 0;
                              m_nCoef = 0;
                              RecalculateKeepingOrientation(true);
                          },
                          [&](const edit::SetFitDegree& d) {
                              if (!IsFitDegree(d.degree))
                                  return;
                              m_nDegree = d.degree;
                              RecalculateKeepingOrientation(true);
                          },
                          [&](const edit::SetRollAdjustment& r) {
                              if (!IsRollAdjustment(r.degrees))
                                  return;
                              m_nRollAdjust = r.degrees;
                              m_bOrientationCurrent = false;
                              Recalculate();
                          },
                          [&](const edit::RemoveControlPoint& r) {
                              if (RemoveControlPointAt(*this, r.index))
                                  RecalculateKeepingOrientation(true);
                          },
                          [&](const edit::DeleteObservations& d) { RecalculateAfter(RemoveObservations(*this, d.indices)); },
                          [&](const edit::SetLocalFit& l) {
                              m_bFitLocal = l.on;
                              RecalculateKeepingOrientation(true);
                          },
                          [&](const edit::SetSite& s) {
                              if (SetSite(s.site))
                                  RecalculateKeepingOrientation(true);
                          },
                          [&](const edit::SetTrajectory& t) {
                              m_trajectory = t.method;
                              RecalculateKeepingOrientation(true);
                          },
                          [&](const edit::SetControlPoints& s) {
                              if (s.points.size() > static_cast<std::size_t>(kMaxControlPoints))
                                  return;
                              m_nControlPoints = 0;
                              m_nCoef = 0;
                              for (const ControlPoint& point : s.points)
                                  AddControlPoint(point);
                              RecalculateKeepingOrientation(true);
                          },
                          [&](const edit::SetHoleName& n) {
                              if (n.name.empty() || HoleNameProblem(n.name).empty())
                                  m_holeName = n.name;
                          }},
               op);
}

void CKestrixDoc::RecalculateAfter(std::span<const RemovedObservation> removed)
{
    if (!removed.empty() && !RecalculateAfterRemoval(*this, removed, true))
        Recalculate();
}

bool CKestrixDoc::SetSite(const Site& site)
{
    SiteReference reference = site.IsEmpty() ? SiteReference{} : ReferenceAt(site, m_dEasting, m_dNorthing, m_dHeight);
    if (site.declinationFrom == Site::DeclinationFrom::Model && !reference.SurveyDeclination())
        return false;
    m_site = site;
    m_siteReference = std::move(reference);
    return true;
}

double CKestrixDoc::DeclinationInForce() const
{
    switch (m_site.declinationFrom) {
    case Site::DeclinationFrom::File:
        break;
    case Site::DeclinationFrom::Typed:
        return m_site.typedDeclination;
    case Site::DeclinationFrom::Model:
        // A site without the model's value is refused as an edit; this only
        // guards a document built otherwise.
        return m_siteReference.SurveyDeclination().value_or(m_dDeclination);
    }
    return m_dDeclination;
}

} // namespace survey

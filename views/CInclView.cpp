#include "views/CInclView.h"

#include "survey/KestrixDoc.h"
#include "views/ReadingText.h"

using namespace survey;

namespace {
double Inclination(const Observation& obs) { return obs.CalcIncl; }
const QColor kRed(255, 0, 0);
} // namespace

CInclView::CInclView(SurveyEditor& survey, ViewServices& services, PlotLink* link, QWidget* parent)
    : PlotFrame(survey, services, link, parent)
{
}

QString CInclView::Title() const { return tr("Inclination calculated from accelerometer data"); }

void CInclView::SetupVerticalRange()
{
    if (FitsValues())
        SetValueRange(FitWithMargin(ExtentInWindow({Inclination}), kLeastDegreeSpan));
    else
        m_dCentre = CentredRange(Inclination);
}

QString CInclView::ReadingValues(std::int32_t index) const
{
    return tr("inclination %1").arg(Degrees(Doc().m_pObs[index].CalcIncl));
}

void CInclView::DrawCurves(QPainter& painter) { DrawFieldCurve(painter, kRed, Inclination); }

void CInclView::DrawGrid(QPainter& painter) { DrawDegreeGrid(painter, m_dCentre); }

PlotKey CInclView::Key() const
{
    return PlotKey::DepthPlot(tr("Inclination (degrees)"), {{tr("Inclination"), kRed}});
}

std::int32_t CInclView::PickY(const Observation& obs, int) const { return ClampedY(obs.CalcIncl); }

#include "views/CInclView.h"

#include "survey/KestrixDoc.h"
#include "views/ReadingText.h"

using namespace survey;

namespace {
const QColor kRed(255, 0, 0);
} // namespace

CInclView::CInclView(SurveyEditor& survey, ViewServices& services, PlotLink* link, QWidget* parent)
    : PlotFrame(survey, services, link, parent)
{
}

QString CInclView::Title() const { return tr("Inclination calculated from accelerometer data"); }

void CInclView::GatherSamples()
{
    GatherReadings(1, [](std::int32_t, const Observation& obs, double* out) { out[0] = obs.CalcIncl; });
}

void CInclView::SetupVerticalRange()
{
    if (FitsValues())
        SetValueRange(FitWithMargin(ExtentInWindow({0}), kLeastDegreeSpan));
    else
        m_dCentre = CentredRange(0);
}

QString CInclView::ReadingValues(std::int32_t index) const
{
    return tr("inclination %1").arg(Degrees(Doc().m_pObs[index].CalcIncl));
}

void CInclView::DrawCurves(QPainter& painter)
{
    painter.setPen(ThinPen(kRed));
    DrawKeptCurve(painter, 0, 1, 0, {}, ClampedLevels());
}

void CInclView::DrawGrid(QPainter& painter) { DrawDegreeGrid(painter, m_dCentre); }

PlotKey CInclView::Key() const
{
    return PlotKey::DepthPlot(tr("Inclination (degrees)"), {{tr("Inclination"), kRed}});
}

std::int32_t CInclView::PickY(const Observation& obs, int) const { return ClampedY(obs.CalcIncl); }

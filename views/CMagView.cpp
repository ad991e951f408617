#include "views/CMagView.h"

#include "survey/Anomalies.h"
#include "survey/KestrixDoc.h"
#include "survey/QualityControl.h"
#include "textio/NumberText.h"
#include "views/PlotLink.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace survey;

namespace {

constexpr std::int32_t kRangeLimit = 1000000000; // 10,000,000 nT in plot units

double Up(const Observation& obs) { return obs.MagU * kNanoteslaPerGauss; }
double North(const Observation& obs) { return obs.MagN * kNanoteslaPerGauss; }
double East(const Observation& obs) { return obs.MagE * kNanoteslaPerGauss; }

// Picked in the order Up, North, East, as drawn.
constexpr double (*kComponents[3])(const Observation&) = {Up, North, East};

} // namespace

CMagView::CMagView(SurveyEditor& survey, ViewServices& services, PlotLink* link, QWidget* parent)
    : PlotFrame(survey, services, link, parent)
{
}

QString CMagView::Title() const
{
    if (!Link().ComponentsAsAnomalies())
        return tr("Mag components - East:blue North:green Up:red");
    const auto whole = [](double value) { return QString::fromStdString(textio::Format("%.0lf", value)); };
    return tr("Mag anomalies, less medians E %1 N %2 U %3 nT")
               .arg(whole(m_offsets[2]), whole(m_offsets[1]), whole(m_offsets[0]))
           + tr(" - East:blue North:green Up:red");
}

bool CMagView::BeginPaint()
{
    const CKestrixDoc& doc = Doc();
    if (doc.m_nObs <= 0) {
        m_nYMin = m_nYMax = 0;
        return true; // the frame's picture of an empty table
    }
    m_offsets = {};
    if (Link().ComponentsAsAnomalies()) {
        const ComponentMedians medians = MedianComponents(doc);
        m_offsets = {medians.up, medians.north, medians.east};
    }
    double low = 1e10;
    double high = -1e10;
    for (std::int32_t i = 0; i < doc.m_nObs; ++i) {
        for (std::size_t k = 0; k < m_offsets.size(); ++k) {
            const double v = kComponents[k](doc.m_pObs[i]) - m_offsets[k];
            if (v < low)
                low = v;
            if (v > high)
                high = v;
        }
    }
    // Both ends within +-10,000,000 nT, so the span fits in 32 bits and a
    // survey lying wholly beyond the limit gives an empty range, not an
    // upside-down one.
    m_nYMin = std::clamp(Scaled(low), -kRangeLimit, kRangeLimit);
    m_nYMax = std::clamp(Scaled(high), -kRangeLimit, kRangeLimit);
    // An empty range (every component equal, or no number at all) draws nothing.
    return m_nYMax > m_nYMin;
}

std::vector<PlotFrame::ValueLabel> CMagView::ValueLabels() const
{
    const double scale = Doc().m_dScale;
    const auto whole = [&](std::int32_t y) { return QString::fromStdString(textio::Format("%.0lf", y / scale)); };
    std::vector<ValueLabel> labels{{m_nYMin, whole(m_nYMin)}};
    if (SpansZero())
        labels.push_back({0, QStringLiteral("0")});
    labels.push_back({m_nYMax, whole(m_nYMax)});
    return labels;
}

void CMagView::DrawCurves(QPainter& painter)
{
    // East over North over Up where they cross.
    DrawFieldCurve(painter, QColor(255, 0, 0), Up, m_offsets[0]);
    DrawFieldCurve(painter, QColor(0, 255, 0), North, m_offsets[1]);
    DrawFieldCurve(painter, QColor(0, 0, 255), East, m_offsets[2]);
}

void CMagView::DrawLevelLine(QPainter& painter)
{
    if (SpansZero())
        LineLP(painter, m_nXMin, 0, m_nXMax, 0);
}

std::int32_t CMagView::PickY(const Observation& obs, int k) const
{
    return Scaled(kComponents[k](obs) - m_offsets[static_cast<std::size_t>(k)]);
}

#include "views/CMagView.h"

#include "survey/KestrixDoc.h"
#include "survey/QualityControl.h"
#include "textio/NumberText.h"
#include "views/PlotLink.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

using namespace survey;

namespace {

constexpr std::int32_t kRangeLimit = 1000000000; // 10,000,000 nT in plot units

double Up(const Observation& obs) { return obs.MagU * kNanoteslaPerGauss; }
double North(const Observation& obs) { return obs.MagN * kNanoteslaPerGauss; }
double East(const Observation& obs) { return obs.MagE * kNanoteslaPerGauss; }

// Picked in the order Up, North, East, as drawn.
constexpr double (*kComponents[3])(const Observation&) = {Up, North, East};

// The median of `value` over the survey, numbers only; 0 when there is no
// finite one to take.
double Median(const CKestrixDoc& doc, double (*value)(const Observation&))
{
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(std::max(0, doc.m_nObs)));
    for (std::int32_t i = 0; i < doc.m_nObs; ++i) {
        const double v = value(doc.m_pObs[i]);
        if (!std::isnan(v))
            values.push_back(v);
    }
    if (values.empty())
        return 0.0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    double median = *middle;
    if (values.size() % 2 == 0)
        median = std::midpoint(*std::max_element(values.begin(), middle), median);
    return std::isfinite(median) ? median : 0.0;
}

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
    const bool anomalies = Link().ComponentsAsAnomalies();
    for (std::size_t k = 0; k < m_offsets.size(); ++k)
        m_offsets[k] = anomalies ? Median(doc, kComponents[k]) : 0.0;
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

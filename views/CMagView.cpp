#include "views/CMagView.h"

#include "geomag/BuiltInModels.h"
#include "geomag/Date.h"
#include "survey/Anomalies.h"
#include "survey/KestrixDoc.h"
#include "survey/QualityControl.h"
#include "textio/NumberText.h"
#include "views/PlotLink.h"
#include "views/ReadingText.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using namespace survey;

namespace {

constexpr std::int32_t kRangeLimit = 1000000000; // 10,000,000 nT in plot units
constexpr double kLeastSpanNt = 10.0;            // of a fitted range

double Up(const Observation& obs) { return obs.MagU * kNanoteslaPerGauss; }
double North(const Observation& obs) { return obs.MagN * kNanoteslaPerGauss; }
double East(const Observation& obs) { return obs.MagE * kNanoteslaPerGauss; }

// Picked in the order Up, North, East, as drawn.
constexpr double (*kComponents[3])(const Observation&) = {Up, North, East};
const QColor kColours[3] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)};

} // namespace

CMagView::CMagView(SurveyEditor& survey, ViewServices& services, PlotLink* link, QWidget* parent)
    : PlotFrame(survey, services, link, parent)
{
}

QString CMagView::Title() const
{
    if (!Link().ComponentsAsAnomalies())
        return tr("Mag components - East:blue North:green Up:red");
    if (!m_againstModel.isEmpty())
        return tr("Mag anomalies against %1 - East:blue North:green Up:red").arg(m_againstModel);
    const auto whole = [](double value) { return QString::fromStdString(textio::Format("%.0lf", value)); };
    return tr("Mag anomalies, less medians E %1 N %2 U %3 nT")
               .arg(whole(m_offsets[2]), whole(m_offsets[1]), whole(m_offsets[0]))
           + tr(" - East:blue North:green Up:red");
}

bool CMagView::BeginPaint()
{
    Samples();
    if (Doc().m_nObs <= 0)
        return true; // the frame's picture of an empty table
    // An empty range (every component equal, or no number at all) draws nothing.
    return m_wholeHigh > m_wholeLow;
}

std::uint64_t CMagView::SamplesVariant() const { return Link().ComponentsAsAnomalies() ? 1 : 0; }

// Anomalies are taken from the survey's medians or the reference field along
// the hole, which change with every reading that goes.
bool CMagView::SamplesFollowSplices() const { return !Link().ComponentsAsAnomalies(); }

void CMagView::GatherSamples()
{
    const CKestrixDoc& doc = Doc();
    m_offsets = {};
    m_againstModel.clear();
    if (Link().ComponentsAsAnomalies() && doc.m_nObs > 0) {
        if (AnomaliesAgainstReference(doc) && doc.m_site.date) {
            m_againstModel = QString::fromStdString(geomag::BuiltInModel(doc.m_site.model).name + " on "
                                                    + geomag::ToText(*doc.m_site.date));
        } else {
            const ComponentMedians medians = MedianComponents(doc);
            m_offsets = {medians.up, medians.north, medians.east};
        }
    }
    // Against the model each reading has its own offsets, which the survey core gives.
    const std::vector<Anomaly> anomalies = m_againstModel.isEmpty() ? std::vector<Anomaly>{} : AnomaliesOf(doc);
    const auto keep = [](double* out, double up, double north, double east) {
        out[0] = up;
        out[1] = north;
        out[2] = east;
    };
    if (anomalies.empty()) {
        const std::array<double, 3> offsets = m_offsets;
        GatherReadings(3, [&](std::int32_t, const Observation& obs, double* out) {
            keep(out, Up(obs) - offsets[0], North(obs) - offsets[1], East(obs) - offsets[2]);
        });
    } else {
        GatherReadings(3, [&](std::int32_t i, const Observation&, double* out) {
            const Anomaly& a = anomalies[static_cast<std::size_t>(i)];
            keep(out, a.up, a.north, a.east);
        });
    }
    // The whole survey's range, from the samples: they may have followed a
    // splice of the table rather than been gathered anew.
    const auto [least, greatest] = GatheredSamples().ValueExtremes();
    const double low = std::min(least, 1e10);
    const double high = std::max(greatest, -1e10);
    // Both ends within +-10,000,000 nT, so the span fits in 32 bits and a
    // survey lying wholly beyond the limit gives an empty range, not an
    // upside-down one. No readings, no range.
    m_wholeLow = doc.m_nObs > 0 ? std::clamp(Scaled(low), -kRangeLimit, kRangeLimit) : 0;
    m_wholeHigh = doc.m_nObs > 0 ? std::clamp(Scaled(high), -kRangeLimit, kRangeLimit) : 0;
}

void CMagView::SetupVerticalRange()
{
    m_nYMin = m_wholeLow;
    m_nYMax = m_wholeHigh;
    if (!FitsValues())
        return;
    SetValueRange(FitWithMargin(ExtentInWindow({0, 1, 2}), kLeastSpanNt));
    m_nYMin = std::clamp(m_nYMin, -kRangeLimit, kRangeLimit - 1);
    m_nYMax = std::clamp(m_nYMax, m_nYMin + 1, kRangeLimit);
}

QString CMagView::ReadingValues(std::int32_t index) const
{
    // As drawn: against the model the values of the latest paint, while they
    // are the survey's; else each component less its offset.
    const CKestrixDoc& doc = Doc();
    std::array<double, 3> v;
    const PlotSamples& samples = GatheredSamples();
    if (!m_againstModel.isEmpty() && samples.Count() == doc.m_nObs && samples.Curves() == 3) {
        for (std::size_t k = 0; k < v.size(); ++k)
            v[k] = samples.Value(index, static_cast<int>(k));
    } else {
        for (std::size_t k = 0; k < v.size(); ++k)
            v[k] = kComponents[k](doc.m_pObs[index]) - m_offsets[k];
    }
    if (Link().ComponentsAsAnomalies())
        return tr("anomalies East %1, North %2, Up %3").arg(Nanotesla(v[2]), Nanotesla(v[1]), Nanotesla(v[0]));
    return tr("East %1, North %2, Up %3").arg(Nanotesla(v[2]), Nanotesla(v[1]), Nanotesla(v[0]));
}

void CMagView::DrawGrid(QPainter& painter)
{
    if (HasRoundValueLabels())
        DrawLabelGrid(painter);
}

std::vector<PlotFrame::ValueLabel> CMagView::ValueLabels() const
{
    if (HasRoundValueLabels())
        return PlotFrame::ValueLabels();
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
    for (std::size_t k = 0; k < 3; ++k) {
        painter.setPen(ThinPen(kColours[k]));
        DrawKeptCurve(painter, 0, 3, static_cast<int>(k), {}, ClampedLevels());
    }
}

PlotKey CMagView::Key() const
{
    const bool anomalies = Link().ComponentsAsAnomalies();
    return PlotKey::DepthPlot(anomalies ? tr("Magnetic anomalies (nT)") : tr("Magnetic components (nT)"),
                              {{tr("East"), kColours[2]}, {tr("North"), kColours[1]}, {tr("Up"), kColours[0]}});
}

void CMagView::DrawLevelLine(QPainter& painter)
{
    if (SpansZero())
        LineLP(painter, m_nXMin, 0, m_nXMax, 0);
}

// Against the model, `obs` (one of the survey's readings) is found by its
// place in the table among the values drawn.
std::int32_t CMagView::PickY(const Observation& obs, int k) const
{
    const CKestrixDoc& doc = Doc();
    const PlotSamples& samples = GatheredSamples();
    if (!m_againstModel.isEmpty() && doc.m_nObs > 0 && samples.Count() == doc.m_nObs && samples.Curves() == 3) {
        const Observation* first = &doc.m_pObs[0];
        const Observation* end = first + samples.Count();
        if (!std::less<>()(&obs, first) && std::less<>()(&obs, end))
            return Scaled(samples.Value(static_cast<std::int32_t>(&obs - first), k));
    }
    return Scaled(kComponents[k](obs) - m_offsets[static_cast<std::size_t>(k)]);
}

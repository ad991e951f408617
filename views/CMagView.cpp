#include "views/CMagView.h"

#include "survey/KestrixDoc.h"
#include "survey/QualityControl.h"
#include "textio/NumberText.h"

#include <QPainter>

#include <algorithm>

using namespace survey;

namespace {

constexpr std::int32_t kRangeLimit = 1000000000; // 10,000,000 nT in plot units

double Up(const Observation& obs) { return obs.MagU * kNanoteslaPerGauss; }
double North(const Observation& obs) { return obs.MagN * kNanoteslaPerGauss; }
double East(const Observation& obs) { return obs.MagE * kNanoteslaPerGauss; }

// Picked in the order Up, North, East, as drawn.
constexpr double (*kComponents[3])(const Observation&) = {Up, North, East};

} // namespace

CMagView::CMagView(CKestrixDoc& doc, ViewServices& services, QWidget* parent) : PlotFrame(doc, services, parent) {}

QString CMagView::Title() const { return QStringLiteral("Mag components - East:blue North:green Up:red"); }

bool CMagView::BeginPaint()
{
    const CKestrixDoc& doc = Doc();
    if (doc.m_nObs <= 0) {
        m_nYMin = m_nYMax = 0;
        return true; // the frame's picture of an empty table
    }
    double low = 1e10;
    double high = -1e10;
    for (std::int32_t i = 0; i < doc.m_nObs; ++i) {
        for (auto component : kComponents) {
            const double v = component(doc.m_pObs[i]);
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

void CMagView::DrawValueLabels(QPainter& painter)
{
    const double scale = Doc().m_dScale;
    const auto label = [&](std::int32_t y, const std::string& text) {
        DrawTextAt(painter, ToDevice(m_nXMin, y), Anchor::RightBottom, QString::fromStdString(text));
    };
    label(m_nYMin, textio::Format("%.0lf", m_nYMin / scale));
    if (SpansZero())
        label(0, "0");
    label(m_nYMax, textio::Format("%.0lf", m_nYMax / scale));
}

void CMagView::DrawCurves(QPainter& painter)
{
    // East over North over Up where they cross.
    DrawFieldCurve(painter, QColor(255, 0, 0), Up);
    DrawFieldCurve(painter, QColor(0, 255, 0), North);
    DrawFieldCurve(painter, QColor(0, 0, 255), East);
}

void CMagView::DrawLevelLine(QPainter& painter)
{
    if (SpansZero())
        LineLP(painter, m_nXMin, 0, m_nXMax, 0);
}

std::int32_t CMagView::PickY(const Observation& obs, int k) const { return Scaled(kComponents[k](obs)); }

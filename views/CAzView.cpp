#include "views/CAzView.h"

#include "survey/KestrixDoc.h"
#include "textio/NumberText.h"
#include "views/ReadingText.h"
#include "views/ViewServices.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

using namespace survey;

namespace {
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
QString ControlPointsFull() { return CAzView::tr("At most %1 control points").arg(survey::CKestrixDoc::kMaxControlPoints); }
// A control point's cross reaches this many pixels from its centre each way.
constexpr int kCrossArm = 6;
} // namespace

CAzView::CAzView(SurveyEditor& survey, ViewServices& services, PlotLink* link, QWidget* parent)
    : PlotFrame(survey, services, link, parent)
{
}

QString CAzView::Title() const { return tr("Azimuth calculated from magnetometer data"); }

void CAzView::GatherSamples()
{
    const CKestrixDoc& doc = Doc();
    if (doc.m_nCoef == 0) {
        GatherReadings(1, [](std::int32_t, const Observation& obs, double* out) { out[0] = obs.CalcAzMag; });
        return;
    }
    GatherReadings(2, [&doc](std::int32_t, const Observation& obs, double* out) {
        out[0] = obs.CalcAzMag;
        out[1] = doc.FittedAzimuthScaled(obs.Depth * doc.m_dScale);
    });
}

void CAzView::SetupVerticalRange()
{
    if (!FitsValues()) {
        m_dCentre = CentredRange(0);
        return;
    }
    const CKestrixDoc& doc = Doc();
    ValueExtent extent = ShownExtent([&](ReadingRange shown) {
        const PlotSamples& samples = Samples();
        const bool fitted = samples.Curves() > 1;
        ValueExtent measured;
        for (std::int32_t i = shown.first; i < shown.end; ++i) {
            measured.Add(samples.Value(i, 0));
            if (fitted)
                measured.Add(samples.Value(i, 1) / doc.m_dScale);
        }
        return measured;
    });
    const std::int32_t count = std::min<std::int32_t>(doc.m_nControlPoints, CKestrixDoc::kMaxControlPoints);
    for (std::int32_t i = 0; i < count; ++i) {
        const ControlPoint& point = doc.m_ControlPoints[static_cast<std::size_t>(i)];
        if (point.x >= m_nXMin && point.x <= m_nXMax)
            extent.Add(point.y / doc.m_dScale);
    }
    SetValueRange(FitWithMargin(extent, kLeastDegreeSpan));
}

QString CAzView::ReadingValues(std::int32_t index) const
{
    const Observation& obs = Doc().m_pObs[index];
    return tr("azimuth measured %1, used %2").arg(Degrees(obs.CalcAzMag), Degrees(obs.AzUsed));
}

bool CAzView::SetupMapping()
{
    const bool framed = PlotFrame::SetupMapping();
    const PlotMapping::Point origin = Mapping().DPtoLP({0, 0});
    const PlotMapping::Point far = Mapping().DPtoLP({100, 100});
    m_size100Px = {SaturateToInt32(std::int64_t{far.x} - origin.x), SaturateToInt32(std::int64_t{far.y} - origin.y)};
    return framed;
}

void CAzView::DrawCurves(QPainter& painter)
{
    painter.setPen(ThinPen(kRed));
    DrawAzimuthCurve(painter, 0);
}

void CAzView::DrawAzimuthCurve(QPainter& painter, int curve)
{
    const PlotSamples& samples = Samples();
    if (curve >= samples.Curves())
        return; // a fit put in force behind the survey's back: drawn after the next change
    const auto measured = ClampedLevels();
    // The fit is drawn unclamped, down to the level just above kNoLevel.
    DrawKeptCurve(painter, 0, samples.Curves(), curve, {}, [&](std::int32_t i, int k) {
        return k == 0 ? measured(i, 0) : std::max(ToPlotUnits(samples.Value(i, 1)), kNoLevel + 1);
    });
}

PlotKey CAzView::Key() const
{
    std::vector<PlotKey::Entry> legend{{tr("Magnetic azimuth"), kRed}};
    if (Doc().m_nControlPoints != 0)
        legend.push_back({Doc().m_nCoef != 0 ? tr("Control points and fitted azimuth") : tr("Control points"), kBlue});
    return PlotKey::DepthPlot(tr("Magnetic azimuth (degrees)"), std::move(legend));
}

void CAzView::DrawGrid(QPainter& painter) { DrawDegreeGrid(painter, m_dCentre); }

void CAzView::DrawOverlays(QPainter& painter)
{
    painter.setPen(ThinPen(kBlue));
    if (Doc().m_nControlPoints != 0)
        DrawControlPoints(painter);
    if (Doc().m_nCoef != 0)
        DrawAzimuthCurve(painter, 1);
}

void CAzView::DrawControlPoints(QPainter& painter) const
{
    const CKestrixDoc& doc = Doc();
    const std::int32_t count = std::min<std::int32_t>(doc.m_nControlPoints, CKestrixDoc::kMaxControlPoints);
    if (IsZoomed()) {
        // Zoomed in, 100 pixels may span less than one plot unit of depth:
        // the arms are laid out in pixels.
        for (std::int32_t i = 0; i < count; ++i) {
            const ControlPoint& point = doc.m_ControlPoints[static_cast<std::size_t>(i)];
            const QPoint c = ToDevice(point.x, point.y);
            painter.drawLine(c - QPoint(kCrossArm, 0), c + QPoint(kCrossArm + 1, 0));
            painter.drawLine(c - QPoint(0, kCrossArm), c + QPoint(0, kCrossArm + 1));
        }
        return;
    }
    // Arms of 6 pixels before and 7 after the point; as the end pixel is left
    // out, every cross is 13 by 13 pixels at any window size.
    const std::int64_t a = 6 * std::int64_t{m_size100Px.width} / 100;
    const std::int64_t b = 42 * std::int64_t{m_size100Px.width} / 600;
    const std::int64_t c = 6 * std::int64_t{m_size100Px.height} / 100;
    const std::int64_t d = 42 * std::int64_t{m_size100Px.height} / 600;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int64_t x = doc.m_ControlPoints[static_cast<std::size_t>(i)].x;
        const std::int64_t y = doc.m_ControlPoints[static_cast<std::size_t>(i)].y;
        LineLP(painter, SaturateToInt32(x - a), SaturateToInt32(y), SaturateToInt32(x + b), SaturateToInt32(y));
        LineLP(painter, SaturateToInt32(x), SaturateToInt32(y - c), SaturateToInt32(x), SaturateToInt32(y + d));
    }
}

std::int32_t CAzView::PickY(const Observation& obs, int) const { return ClampedY(obs.CalcAzMag); }

void CAzView::ApplyModeCursor()
{
    if (Doc().m_bControlMode && !Doc().m_bDeleteMode)
        setCursor(Services().ControlCursor());
    else
        PlotFrame::ApplyModeCursor();
}

// Once the document holds as many control points as it can, the prompt says
// so instead of inviting clicks that would add nothing.
QString CAzView::Prompt() const
{
    const CKestrixDoc& doc = Doc();
    if (doc.m_bControlMode && !doc.m_bDeleteMode) {
        return doc.m_nControlPoints >= CKestrixDoc::kMaxControlPoints
                   ? ControlPointsFull()
                   : tr("Click to add control points to define a smoothed azimuth curve");
    }
    return PlotFrame::Prompt();
}

void CAzView::OnOtherModeClick(QPoint mouse)
{
    const CKestrixDoc& doc = Doc();
    if (!doc.m_bControlMode)
        return;
    if (doc.m_nControlPoints >= CKestrixDoc::kMaxControlPoints) {
        SetPane(ViewServices::MessagePane, ControlPointsFull());
        return;
    }
    if (!SetupMapping())
        return; // no frame on screen: no depth and azimuth under the mouse
    const PlotMapping::Point logical = Mapping().DPtoLP({mouse.x(), mouse.y()});
    Edit(edit::AddControlPoint{{logical.x, logical.y}}); // refits: every view redraws
    repaint(); // this one before returning, where the user clicked
}

void CAzView::OnRightClick(QPoint mouse)
{
    const CKestrixDoc& doc = Doc();
    if (!doc.m_bControlMode || doc.m_bDeleteMode || !SetupMapping())
        return;
    const std::int32_t index = ControlPointAt(mouse);
    if (index < 0)
        return;
    Edit(edit::RemoveControlPoint{index});
}

std::int32_t CAzView::ControlPointAt(QPoint mouse) const
{
    const CKestrixDoc& doc = Doc();
    const std::int32_t count = std::min<std::int32_t>(doc.m_nControlPoints, CKestrixDoc::kMaxControlPoints);
    std::int32_t found = -1;
    std::int64_t nearest = kCrossArm;
    for (std::int32_t i = 0; i < count; ++i) {
        const ControlPoint& point = doc.m_ControlPoints[static_cast<std::size_t>(i)];
        const QPoint c = ToDevice(point.x, point.y);
        const std::int64_t distance =
            std::max(std::abs(std::int64_t{c.x()} - mouse.x()), std::abs(std::int64_t{c.y()} - mouse.y()));
        if (distance <= nearest && IsShownColumn(c.x())) {
            found = i;
            nearest = distance;
        }
    }
    return found;
}

void CAzView::mouseReleaseEvent(QMouseEvent* event)
{
    PlotFrame::mouseReleaseEvent(event);
    // The target cursor shown over a deleted observation must not stay.
    if (event->button() == Qt::LeftButton && Doc().m_bDeleteMode)
        setCursor(Services().DeleteCursor());
}

void CAzView::mouseMoveEvent(QMouseEvent* event)
{
    PlotFrame::mouseMoveEvent(event);
    const CKestrixDoc& doc = Doc();
    if (!doc.m_bControlMode || doc.m_bDeleteMode || doc.m_nControlPoints >= CKestrixDoc::kMaxControlPoints
        || event->buttons() != Qt::NoButton || !SetupMapping())
        return;
    // The point OnOtherModeClick would add here, to the hundredth it is held in.
    const QPoint mouse = event->position().toPoint();
    const PlotMapping::Point logical = Mapping().DPtoLP({mouse.x(), mouse.y()});
    SetPane(ViewServices::MessagePane,
            tr("Click to place a control point at %1 m, azimuth %2°")
                .arg(QString::fromStdString(textio::Format("%.2lf", logical.x / doc.m_dScale)),
                     QString::fromStdString(textio::Format("%.2lf", logical.y / doc.m_dScale))));
}

#include "views/PlotFrame.h"

#include "survey/KestrixDoc.h"
#include "textio/NumberText.h"
#include "views/ViewServices.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace survey;

namespace {

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

// In degrees: the centred range reaches kHalfRange either side of a centre
// that is a multiple of kGridStep, and the grid has a line every kGridStep
// out to kGridReach from the centre.
constexpr double kHalfRange = 90.0;
constexpr int kGridStep = 10;
constexpr int kGridReach = 80;
const QColor kGridGrey(196, 196, 196);

} // namespace

PlotFrame::PlotFrame(CKestrixDoc& doc, ViewServices& services, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_services(services)
{
    setMouseTracking(true);
    // What shows where a paint draws nothing (the magnetic view without a
    // range) is white like every plot, not the palette's window grey.
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    setAutoFillBackground(true);
}

void PlotFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    OnDraw(painter);
}

void PlotFrame::OnDraw(QPainter& painter)
{
    m_nMargin = kMargin;
    SetupHorizontalRange();
    if (!BeginPaint())
        return;

    painter.fillRect(rect(), Qt::white);
    painter.setPen(ThinPen(Qt::black));
    DrawTextAt(painter, QPoint(0, 0), Anchor::LeftTop, Title());

    m_framed = SetupMapping();
    if (!m_framed)
        return; // no observations, one depth, no vertical range or no room: title only

    DrawValueLabels(painter);
    DrawDepthLabels(painter);
    DrawCurves(painter);
    DrawGrid(painter);
    DrawOverlays(painter);
    DrawFrame(painter);
}

void PlotFrame::SetupHorizontalRange()
{
    const CKestrixDoc& doc = Doc();
    if (doc.m_nObs <= 0) {
        m_nXMin = m_nXMax = 0;
        return;
    }
    const double first = doc.m_pObs[0].Depth;
    const double last = doc.m_pObs[doc.m_nObs - 1].Depth;
    m_nXMin = Scaled(std::min(first, last));
    m_nXMax = Scaled(std::max(first, last));
}

bool PlotFrame::SetupMapping()
{
    SetupHorizontalRange();
    SetupVerticalRange();
    const std::int32_t m = m_nMargin;
    const std::int32_t w = width();
    const std::int32_t h = height();
    const std::int32_t inner_w = std::max<std::int32_t>(0, w - 2 * m);
    const std::int32_t inner_h = std::max<std::int32_t>(0, h - 2 * m);
    m_mapping.SetWindow(m_nXMin, m_nYMin, std::int64_t{m_nXMax} - m_nXMin, std::int64_t{m_nYMax} - m_nYMin);
    m_mapping.SetViewport(m, h - m, inner_w, -inner_h);
    m_framed = Doc().m_nObs > 0 && m_nXMax != m_nXMin && m_nYMax > m_nYMin && inner_w > 0 && inner_h > 0;
    return m_framed;
}

void PlotFrame::DrawTextAt(QPainter& painter, QPoint at, Anchor anchor, const QString& text)
{
    const QFontMetrics metrics(painter.font());
    const int w = metrics.horizontalAdvance(text);
    const int h = metrics.height();
    QRect cell(at, QSize(w, h));
    switch (anchor) {
    case Anchor::LeftTop:
        break;
    case Anchor::RightBottom:
        cell.moveBottomRight(QPoint(at.x() - 1, at.y() - 1));
        break;
    case Anchor::CenterTop:
        cell.moveLeft(at.x() - w / 2);
        break;
    }
    painter.fillRect(cell, Qt::white);
    const QPen pen = painter.pen();
    painter.setPen(Qt::black);
    painter.drawText(QPoint(cell.left(), cell.top() + metrics.ascent()), text);
    painter.setPen(pen);
}

void PlotFrame::DrawValueLabels(QPainter& painter)
{
    const double scale = Doc().m_dScale;
    const std::int32_t middle = static_cast<std::int32_t>((std::int64_t{m_nYMin} + m_nYMax) / 2);
    for (std::int32_t y : {m_nYMin, middle, m_nYMax})
        DrawTextAt(painter, ToDevice(m_nXMin, y), Anchor::RightBottom, FromStd(textio::Format("%.0lf", y / scale)));
}

void PlotFrame::DrawDepthLabels(QPainter& painter)
{
    const double scale = Doc().m_dScale;
    for (std::int32_t x : {m_nXMin, m_nXMax})
        DrawTextAt(painter, ToDevice(x, m_nYMin), Anchor::CenterTop, FromStd(textio::Format("%.1lfm", x / scale)));
}

void PlotFrame::DrawFrame(QPainter& painter)
{
    painter.setPen(ThinPen(Qt::black));
    // Every edge covers both corner pixels, so a value clamped to the range
    // and a depth at either end of it lie on the frame.
    const QPoint bottomLeft = ToDevice(m_nXMin, m_nYMin);
    const QPoint topRight = ToDevice(m_nXMax, m_nYMax);
    QPolygon outline;
    outline << bottomLeft << QPoint(topRight.x(), bottomLeft.y()) << topRight << QPoint(bottomLeft.x(), topRight.y())
            << bottomLeft;
    DrawPolyline(painter, outline);
    DrawLevelLine(painter);
}

void PlotFrame::DrawLevelLine(QPainter& painter)
{
    const std::int32_t middle = static_cast<std::int32_t>((std::int64_t{m_nYMin} + m_nYMax) / 2);
    LineLP(painter, m_nXMin, middle, m_nXMax, middle);
}

std::int32_t PlotFrame::Scaled(double value) const { return ToPlotUnits(value * Doc().m_dScale); }

std::int32_t PlotFrame::ClampedY(double value) const { return std::clamp(Scaled(value), m_nYMin, m_nYMax); }

QPoint PlotFrame::ToDevice(std::int32_t x, std::int32_t y) const
{
    const PlotMapping::Point p = m_mapping.LPtoDP({x, y});
    return QPoint(p.x, p.y);
}

QPen PlotFrame::ThinPen(QColor colour)
{
    QPen pen(colour, 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    return pen;
}

void PlotFrame::LineLP(QPainter& painter, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) const
{
    const QPoint from = ToDevice(x1, y1);
    const QPoint to = ToDevice(x2, y2);
    if (from != to) // a line to its own start pixel draws nothing
        painter.drawLine(from, to);
}

void PlotFrame::DrawPolyline(QPainter& painter, const QPolygon& points)
{
    // Equal neighbours would draw lone pixels; dropping them draws exactly the
    // same lines and keeps long tables cheap when many points share a pixel.
    QPolygon distinct;
    distinct.reserve(points.size());
    for (const QPoint& p : points) {
        if (distinct.isEmpty() || distinct.constLast() != p)
            distinct.append(p);
    }
    if (distinct.size() >= 2)
        painter.drawPolyline(distinct);
}

void PlotFrame::DrawFieldCurve(QPainter& painter, QColor colour, double (*value)(const Observation&)) const
{
    const CKestrixDoc& doc = Doc();
    QPolygon points;
    points.reserve(doc.m_nObs);
    for (std::int32_t i = 0; i < doc.m_nObs; ++i) {
        const Observation& obs = doc.m_pObs[i];
        points.append(ToDevice(Scaled(obs.Depth), ClampedY(value(obs))));
    }
    painter.setPen(ThinPen(colour));
    DrawPolyline(painter, points);
}

double PlotFrame::CentredRange(double (*value)(const Observation&))
{
    const CKestrixDoc& doc = Doc();
    double centre = 0.0;
    if (doc.m_nObs > 0) {
        double sum = 0.0;
        for (std::int32_t i = 0; i < doc.m_nObs; ++i)
            sum += value(doc.m_pObs[i]);
        centre = std::floor(sum / doc.m_nObs / kGridStep) * kGridStep;
    }
    m_nYMin = Scaled(centre - kHalfRange);
    m_nYMax = Scaled(centre + kHalfRange);
    return centre;
}

void PlotFrame::DrawDegreeGrid(QPainter& painter, double centre) const
{
    painter.setPen(ThinPen(kGridGrey));
    for (int k = -kGridReach; k <= kGridReach; k += kGridStep) {
        const std::int32_t y = Scaled(k + centre);
        LineLP(painter, m_nXMin, y, m_nXMax, y);
    }
}

void PlotFrame::SetPane(int pane, const QString& text) const
{
    m_services.SetPaneText(pane, text);
}

void PlotFrame::ApplyModeCursor()
{
    if (Doc().m_bDeleteMode)
        setCursor(m_services.DeleteCursor());
    else
        unsetCursor(); // the window's own pointer
}

QString PlotFrame::Prompt() const
{
    return Doc().m_bDeleteMode ? QStringLiteral("Click on observation point to delete") : QString();
}

void PlotFrame::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint mouse = event->position().toPoint();
    ApplyModeCursor();
    SetupMapping();
    const PlotMapping::Point logical = m_mapping.DPtoLP({mouse.x(), mouse.y()});
    SetPane(ViewServices::DepthPane, FromStd(textio::Format("Depth:  %.2lf", logical.x / Doc().m_dScale)));
    SetPane(ViewServices::MessagePane, Prompt());
    if (Doc().m_bDeleteMode)
        Pick(mouse);
}

void PlotFrame::Pick(QPoint mouse)
{
    m_nHitObs = -1;
    if (!m_framed)
        return; // nothing is drawn, so nothing can be picked
    const CKestrixDoc& doc = Doc();
    const int points = PointsPerObservation();
    for (std::int32_t i = 0; i < doc.m_nObs; ++i) {
        const Observation& obs = doc.m_pObs[i];
        const std::int32_t x = Scaled(obs.Depth);
        for (int k = 0; k < points; ++k) {
            const QPoint p = ToDevice(x, PickY(obs, k));
            if (std::abs(std::int64_t{p.x()} - mouse.x()) < kPickRadius
                && std::abs(std::int64_t{p.y()} - mouse.y()) < kPickRadius) {
                m_nHitObs = i; // the last qualifying observation wins
                break;
            }
        }
    }
    if (m_nHitObs != -1)
        setCursor(m_services.TargetCursor());
}

void PlotFrame::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (Doc().m_bDeleteMode) {
        if (m_nHitObs != -1) {
            const std::int32_t index = m_nHitObs;
            m_nHitObs = -1; // a further click deletes nothing until a move marks again
            m_services.ApplyEdit(Doc(), edit::DeleteObservation{index});
        }
        return;
    }
    OnOtherModeClick(event->position().toPoint());
}

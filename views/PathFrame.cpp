#include "views/PathFrame.h"

#include "survey/KestrixDoc.h"
#include "textio/NumberText.h"
#include "views/PlotLink.h"
#include "views/ViewServices.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

using namespace survey;

namespace {

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

// The path keeps this many pixels from the frame, so the collar's circle
// and the ticks at the path's ends stay inside it.
constexpr double kInset = 10.0;
constexpr int kTickLength = 5;       // on the frame's edges and along the path
constexpr int kTickLabelOffset = 8;  // from the path to a depth label
constexpr int kCollarRadius = 4;
// Depth ticks are tried at no step finer than gives this many along the hole.
constexpr double kMostDepthTicks = 200.0;

// A round step: 1, 2 or 5 x 10^k metres, from a centimetre up, and the
// decimals its labels need.
struct RoundStep {
    double size;
    int decimals;
};

// The steps from the smallest one not below `least`, finest first.
std::vector<RoundStep> StepsFrom(double least)
{
    std::vector<RoundStep> steps;
    for (int exponent = -2; exponent <= 9; ++exponent) {
        for (int multiple : {1, 2, 5}) {
            const double size = multiple * std::pow(10.0, exponent);
            if (size >= least || (exponent == 9 && multiple == 5))
                steps.push_back({size, std::max(0, -exponent)});
        }
    }
    return steps;
}

// Adding 0 makes a -0 multiple (ceil of a small negative) plain 0.
QString Metres(double value, int decimals) { return FromStd(textio::Format("%.*f", decimals, value + 0.0)); }

// The multiples of `step` from `from` to `to`, or none when there would be
// more than `most` of them.
std::vector<double> Multiples(double from, double to, double step, double most)
{
    std::vector<double> values;
    const double first = std::ceil(from / step);
    const double last = std::floor(to / step);
    if (!(last - first < most))
        return values;
    for (double k = first; k <= last; ++k)
        values.push_back(k * step);
    return values;
}

// A device coordinate that converts to int: NaN and far values pinned.
int Pixel(double v)
{
    constexpr double kFar = 1.0e6;
    if (!(v >= -kFar))
        return static_cast<int>(-kFar);
    return static_cast<int>(std::lround(std::min(v, kFar)));
}

QPoint Pixel(QPointF p) { return QPoint(Pixel(p.x()), Pixel(p.y())); }

} // namespace

PathFrame::PathFrame(SurveyEditor& survey, ViewServices& services, PlotLink* link, QWidget* parent)
    : PlotView(survey, services, link, parent)
{
}

QColor PathFrame::PathColour() { return QColor(255, 0, 0); }

QColor PathFrame::DimmedColour() { return QColor(200, 200, 200); }

PlotKey PathFrame::Key() const
{
    std::vector<PlotKey::Entry> legend{{tr("Path"), PathColour()}};
    if (m_shown != WholeHole())
        legend = {{tr("Path in the depth window"), PathColour()}, {tr("Path outside it"), DimmedColour()}};
    return {QString(), QString(), std::move(legend)};
}

bool PathFrame::SetupMapping()
{
    BeginMapping();
    m_shown = Link().Window().Shown(WholeHole());
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    // Two lines under the frame (values, the axis's name); left of it the
    // widest value and the axis's name turned upright.
    const int bottom = std::max(kMargin, 2 * lineHeight + kTickLength);
    Map(kMargin, bottom);
    if (!m_framed)
        return false;
    int widest = 0;
    const AxisLabels labels = VerticalLabels();
    for (double value : labels.values)
        widest = std::max(widest, TextCellWidth(metrics, Metres(value, labels.decimals)));
    const int left = std::clamp(widest + lineHeight + kTickLength, kMargin, std::max(kMargin, width() / 4));
    if (left != kMargin)
        Map(left, bottom);
    return m_framed;
}

void PathFrame::Map(int leftMargin, int bottomMargin)
{
    m_frame = QRect(QPoint(leftMargin, kMargin), QPoint(width() - 1 - kMargin, height() - 1 - bottomMargin));
    const CKestrixDoc& doc = Doc();
    double minX = std::numeric_limits<double>::infinity();
    double maxX = -minX;
    double minY = minX;
    double maxY = -minX;
    const auto extend = [&](QPointF p) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
            return;
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    };
    extend(Collar());
    for (std::int32_t i = 0; i < doc.m_nObs; ++i)
        extend(Project(doc.m_pObs[i]));
    const double roomX = m_frame.width() - 2 * kInset;
    const double roomY = m_frame.height() - 2 * kInset;
    m_framed = false;
    if (doc.m_nObs <= 0 || minX > maxX || roomX <= 0 || roomY <= 0)
        return;
    const double spanX = std::max(maxX - minX, kLeastExtent);
    const double spanY = std::max(maxY - minY, kLeastExtent);
    // One scale for both axes: the tighter one, the other axis centred.
    m_scale = std::min(roomX / spanX, roomY / spanY);
    if (!(m_scale > 0) || !std::isfinite(m_scale))
        return;
    const QPointF centre(m_frame.left() + (m_frame.width() - 1) / 2.0, m_frame.top() + (m_frame.height() - 1) / 2.0);
    m_origin = QPointF(centre.x() - m_scale * (minX + maxX) / 2, centre.y() + m_scale * (minY + maxY) / 2);
    m_framed = true;
}

QPointF PathFrame::ToDevice(QPointF p) const
{
    return QPointF(m_origin.x() + m_scale * p.x(), m_origin.y() - m_scale * p.y());
}

QPointF PathFrame::ToPlane(QPointF device) const
{
    return QPointF((device.x() - m_origin.x()) / m_scale, (m_origin.y() - device.y()) / m_scale);
}

bool PathFrame::IsInDepthWindow(std::int32_t index) const
{
    const std::int32_t x = Scaled(Doc().m_pObs[index].Depth);
    return x >= m_shown.from && x <= m_shown.to;
}

std::int32_t PathFrame::ReadingAt(QPointF at) const
{
    const CKestrixDoc& doc = Doc();
    std::int32_t found = -1;
    double nearest = kPickDistance;
    for (std::int32_t i = 0; i < doc.m_nObs; ++i) {
        const QPointF p = ToDevice(Project(doc.m_pObs[i]));
        const double distance = std::hypot(p.x() - at.x(), p.y() - at.y());
        if (distance < nearest || (found < 0 && distance <= nearest)) {
            found = i;
            nearest = distance;
        }
    }
    return found;
}

void PathFrame::OnDraw(QPainter& painter)
{
    painter.fillRect(rect(), Qt::white);
    painter.setPen(ThinPen(Qt::black));
    const bool framed = SetupMapping(); // first: the title may name what the mapping found
    DrawTextAt(painter, QPoint(0, 0), Anchor::LeftTop, Title());
    if (!framed)
        return; // no readings or no room: title only

    const CKestrixDoc& doc = Doc();
    std::vector<QPointF> points;
    points.reserve(static_cast<std::size_t>(doc.m_nObs));
    for (std::int32_t i = 0; i < doc.m_nObs; ++i)
        points.push_back(ToDevice(Project(doc.m_pObs[i])));
    DrawAxes(painter);
    DrawPath(painter, points);
    DrawDepthTicks(painter, points);
    DrawCollar(painter);
    DrawDecorations(painter);
}

namespace {

// The finest round values from `from` to `to` (metres, `pixelsPerMetre`
// apart on the screen) whose labels fit: `spacingPx(decimals)` pixels
// between neighbours, a label's length along the axis and a gap.
template <typename Labels>
Labels RoundValues(double from, double to, double pixelsPerMetre, const std::function<int(int)>& spacingPx)
{
    Labels labels;
    for (const RoundStep& step : StepsFrom(0.0)) {
        if (step.size * pixelsPerMetre < spacingPx(step.decimals))
            continue;
        labels.decimals = step.decimals;
        labels.values = Multiples(from, to, step.size, 1000.0);
        break;
    }
    return labels;
}

} // namespace

PathFrame::AxisLabels PathFrame::HorizontalLabels() const
{
    const double from = ToPlane(m_frame.topLeft()).x();
    const double to = ToPlane(m_frame.bottomRight()).x();
    const QFontMetrics metrics(font());
    const int gap = metrics.horizontalAdvance(QLatin1Char('0'));
    return RoundValues<AxisLabels>(from, to, m_scale, [&](int decimals) {
        return gap + std::max(TextCellWidth(metrics, Metres(from, decimals)), TextCellWidth(metrics, Metres(to, decimals)));
    });
}

PathFrame::AxisLabels PathFrame::VerticalLabels() const
{
    const double from = ToPlane(m_frame.bottomRight()).y();
    const double to = ToPlane(m_frame.topLeft()).y();
    const int lineHeight = QFontMetrics(font()).height();
    return RoundValues<AxisLabels>(from, to, m_scale, [&](int) { return lineHeight * 3 / 2; });
}

// A tick and a label at each round value along the frame's bottom and left
// edges, the axes' names beyond the labels, then the frame over the labels' cells.
void PathFrame::DrawAxes(QPainter& painter) const
{
    painter.setPen(ThinPen(Qt::black));
    const QRect f = m_frame;

    const AxisLabels across = HorizontalLabels();
    for (double value : across.values) {
        const int x = Pixel(ToDevice(QPointF(value, 0)).x());
        painter.drawLine(QPoint(x, f.bottom()), QPoint(x, f.bottom() - kTickLength));
        DrawTextAt(painter, QPoint(x, f.bottom()), Anchor::CenterTop, Metres(value, across.decimals));
    }
    const AxisLabels up = VerticalLabels();
    for (double value : up.values) {
        const int y = Pixel(ToDevice(QPointF(0, value)).y());
        painter.drawLine(QPoint(f.left(), y), QPoint(f.left() + kTickLength, y));
        DrawTextAt(painter, QPoint(f.left(), y), Anchor::RightBottom, Metres(value, up.decimals));
    }

    const int lineHeight = QFontMetrics(painter.font()).height();
    DrawTextAt(painter, QPoint(f.center().x(), f.bottom() + 1 + lineHeight), Anchor::CenterTop, HorizontalAxisName());
    painter.save();
    painter.translate(0, f.center().y());
    painter.rotate(-90);
    DrawTextAt(painter, QPoint(0, 0), Anchor::CenterTop, VerticalAxisName());
    painter.restore();

    QPolygon outline;
    outline << f.bottomLeft() << f.bottomRight() << f.topRight() << f.topLeft() << f.bottomLeft();
    DrawPolyline(painter, outline);
}

// The whole path in the path's colour; with the depth window zoomed, grey,
// and in colour where a reading and the one before both lie within it.
void PathFrame::DrawPath(QPainter& painter, const std::vector<QPointF>& points) const
{
    QPolygon all;
    all.reserve(static_cast<qsizetype>(points.size()));
    for (const QPointF& p : points)
        all.append(Pixel(p));
    if (Link().Window().IsWhole()) {
        painter.setPen(ThinPen(PathColour()));
        DrawPolyline(painter, all);
        return;
    }
    painter.setPen(ThinPen(DimmedColour()));
    DrawPolyline(painter, all);
    painter.setPen(ThinPen(PathColour()));
    QPolygon run;
    const auto drawRun = [&] {
        if (run.size() == 1) // a window holding one reading shows it
            painter.drawRect(QRect(run.front() - QPoint(1, 1), QSize(2, 2)));
        DrawPolyline(painter, run);
        run.clear();
    };
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(all.size()); ++i) {
        if (IsInDepthWindow(i))
            run.append(all[i]);
        else
            drawRun();
    }
    drawRun();
}

// Ticks across the path at round depths, each labelled beside its tick: at
// the finest step whose labels stay in the frame without overlapping
// (a label with no room on either side of the path is left out).
void PathFrame::DrawDepthTicks(QPainter& painter, const std::vector<QPointF>& points) const
{
    const CKestrixDoc& doc = Doc();
    if (points.size() < 2)
        return;
    double shallowest = std::numeric_limits<double>::infinity();
    double deepest = -shallowest;
    for (std::int32_t i = 0; i < doc.m_nObs; ++i) {
        shallowest = std::min(shallowest, doc.m_pObs[i].Depth);
        deepest = std::max(deepest, doc.m_pObs[i].Depth);
    }
    if (!(deepest > shallowest))
        return;

    struct Tick {
        QPointF at;
        QPointF across; // unit vector from the path to the label
        QRect label;
        QRect room; // the label and half the gap around it
        QString text;
    };
    const QFontMetrics metrics(painter.font());
    // Neighbouring labels keep a digit's width apart across, half a line up and down.
    const int gapX = metrics.horizontalAdvance(QLatin1Char('0')) / 2;
    const int gapY = metrics.height() / 4;
    const QRect inside = m_frame.adjusted(1, 1, -1, -1);
    // The label's cell beyond the tick's end on the side `across` points to.
    const auto cellOf = [&](QPointF at, QPointF across, const QString& text) {
        const QPointF end = at + kTickLabelOffset * across;
        QRect cell(QPoint(0, 0), QSize(TextCellWidth(metrics, text), metrics.height()));
        if (std::abs(across.x()) >= std::abs(across.y())) {
            cell.moveTop(Pixel(end.y()) - cell.height() / 2);
            if (across.x() >= 0)
                cell.moveLeft(Pixel(end.x()));
            else
                cell.moveRight(Pixel(end.x()));
        } else {
            cell.moveLeft(Pixel(end.x()) - cell.width() / 2);
            if (across.y() > 0)
                cell.moveTop(Pixel(end.y()));
            else
                cell.moveBottom(Pixel(end.y()));
        }
        return cell;
    };

    std::vector<Tick> ticks;
    for (const RoundStep& step : StepsFrom((deepest - shallowest) / kMostDepthTicks)) {
        ticks.clear();
        std::vector<double> labelled;
        bool crowded = false;
        for (std::size_t i = 1; i < points.size() && !crowded; ++i) {
            const double d0 = doc.m_pObs[i - 1].Depth;
            const double d1 = doc.m_pObs[i].Depth;
            if (d0 == d1)
                continue;
            const QPointF along = points[i] - points[i - 1];
            const double length = std::hypot(along.x(), along.y());
            QPointF across = length > 1e-9 ? QPointF(-along.y() / length, along.x() / length) : QPointF(1, 0);
            if (across.x() < 0 || (across.x() == 0 && across.y() > 0))
                across = -across; // right of the path, or above it
            for (double depth : Multiples(std::min(d0, d1), std::max(d0, d1), step.size, kMostDepthTicks)) {
                if (std::find(labelled.begin(), labelled.end(), depth) != labelled.end())
                    continue; // a depth passed again
                labelled.push_back(depth);
                const double t = (depth - d0) / (d1 - d0);
                const QPointF at = points[i - 1] + t * along;
                const QString text = Metres(depth, step.decimals) + QStringLiteral("m");
                QPointF side = across;
                QRect cell = cellOf(at, side, text);
                if (!inside.contains(cell)) {
                    side = -across;
                    cell = cellOf(at, side, text);
                }
                if (!inside.contains(cell))
                    continue;
                const QRect room = cell.adjusted(-gapX, -gapY, gapX, gapY);
                crowded = std::any_of(ticks.begin(), ticks.end(), [&](const Tick& other) { return other.room.intersects(room); });
                if (crowded)
                    break;
                ticks.push_back({at, side, cell, room, text});
            }
            crowded = crowded || labelled.size() > kMostDepthTicks;
        }
        if (!crowded)
            break;
    }
    painter.setPen(ThinPen(Qt::black));
    for (const Tick& tick : ticks) {
        painter.drawLine(Pixel(tick.at), Pixel(tick.at + kTickLength * tick.across));
        painter.drawText(QPoint(tick.label.left(), tick.label.top() + metrics.ascent()), tick.text);
    }
}

void PathFrame::DrawCollar(QPainter& painter) const
{
    painter.setPen(ThinPen(Qt::black));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(Pixel(ToDevice(Collar())), kCollarRadius, kCollarRadius);
}

void PathFrame::mouseMoveEvent(QMouseEvent* event)
{
    if (SetupMapping())
        Readout(event->position());
}

// The depth and position of the reading under the mouse, or blank panes.
void PathFrame::Readout(QPointF at)
{
    const std::int32_t index = ReadingAt(at);
    if (index < 0) {
        SetPane(ViewServices::DepthPane, QString());
        SetPane(ViewServices::MessagePane, QString());
        return;
    }
    const Observation& obs = Doc().m_pObs[index];
    const auto number = [](double value) { return FromStd(textio::Format("%.2f", value)); };
    SetPane(ViewServices::DepthPane, tr("Depth:  %1").arg(number(obs.Depth)));
    SetPane(ViewServices::MessagePane, tr("East %1  North %2  Height %3")
                                           .arg(number(obs.East), number(obs.North), number(obs.Height)));
}

// The depth plots' mouse, wheel and keys: the readout of depth and values,
// picking and deleting readings, zooming and panning the depth window,
// zooming the value axis, and the marker that the arrow keys move.
#include "views/PlotFrame.h"

#include "survey/KestrixDoc.h"
#include "textio/NumberText.h"
#include "views/PlotLink.h"
#include "views/ViewServices.h"

#include <QKeyEvent>
#include <QStringList>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <utility>

using namespace survey;

namespace {

// One notch of the wheel narrows the depth window (with Ctrl the value
// axis) to 1/1.25 of its length.
constexpr double kZoomPerNotch = 1.25;
constexpr double kWheelNotch = 120.0; // angle delta of one notch

// The same reading: equal raw fields, bit for bit.
bool SameReading(const Observation& a, const Observation& b)
{
    return std::memcmp(&a, &b, offsetof(Observation, AccZ) + sizeof(double)) == 0;
}

} // namespace

void PlotFrame::ApplyModeCursor()
{
    if (Doc().m_bDeleteMode)
        setCursor(Services().DeleteCursor());
    else
        unsetCursor(); // the window's own pointer
}

QString PlotFrame::Prompt() const
{
    return Doc().m_bDeleteMode ? tr("Click on observation point to delete") : QString();
}

void PlotFrame::Readout(std::int32_t x, std::int32_t reading)
{
    const CKestrixDoc& doc = Doc();
    const auto number = [](double value) { return QString::fromStdString(textio::Format("%.2lf", value)); };
    SetPane(ViewServices::DepthPane, tr("Depth:  %1").arg(number(x / doc.m_dScale)));
    if (reading < 0 || reading >= doc.m_nObs)
        reading = NearestReading(doc.m_nObs, [&](std::int32_t i) { return Scaled(doc.m_pObs[i].Depth); }, x);
    QStringList message;
    if (reading >= 0)
        message << tr("At %1 m: %2").arg(number(doc.m_pObs[reading].Depth), ReadingValues(reading));
    if (const QString prompt = Prompt(); !prompt.isEmpty())
        message << prompt;
    SetPane(ViewServices::MessagePane, message.join(QStringLiteral("   ")));
}

void PlotFrame::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint mouse = event->position().toPoint();
    if (m_panButton != Qt::NoButton) {
        const double widthPx = width() - 2.0 * m_nMargin;
        const double shift = -(mouse.x() - m_panStartX) * static_cast<double>(m_panStart.Length()) / widthPx;
        DepthWindow window = Link().Window();
        if (widthPx > 0)
            window.Pan(m_wholeHole, m_panStart, std::llround(shift));
        ChangeWindow(window);
        SetupMapping();
        Readout(m_mapping.DPtoLP({mouse.x(), mouse.y()}).x);
        return;
    }
    ApplyModeCursor();
    SetupMapping();
    Readout(m_mapping.DPtoLP({mouse.x(), mouse.y()}).x);
    if (Doc().m_bDeleteMode)
        Pick(mouse);
}

namespace {

double Distance(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

// From `p` to the segment from `a` to `b`.
double DistanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    return Distance(p, a + t * ab);
}

} // namespace

// The reading a click would take: the one whose mark, or a line drawn to it
// from a neighbour, lies nearest the pointer within kPickDistance pixels. A
// line shared by two readings goes to the one whose mark is nearer, so a
// click on a spike's stem near its tip takes the spike. The search goes
// through the readings themselves, not the curve drawn, so it finds the
// exact reading however many share a pixel.
void PlotFrame::Pick(QPoint mouse)
{
    const std::int32_t before = m_nHitObs;
    m_nHitObs = -1;
    if (m_framed) { // nothing drawn, nothing picked
        const CKestrixDoc& doc = Doc();
        const QPointF pointer(mouse);
        // Marks within reach of the pointer's column, and the nearest reading
        // beyond each side, whose line may pass the pointer.
        const int reach = static_cast<int>(std::ceil(kPickDistance));
        IndexRange near = ReadingsInColumns(mouse.x() - reach, mouse.x() + reach);
        near = {std::max(near.begin - 1, 0), std::min(near.end + 1, doc.m_nObs)};
        std::pair<double, double> best{kPickDistance, 0.0}; // (to the mark or a line, to the mark)
        for (int k = 0; k < PointsPerObservation(); ++k) {
            auto at = [&](std::int32_t i) {
                const Observation& obs = doc.m_pObs[i];
                return QPointF(ToDevice(Scaled(obs.Depth), PickY(obs, k)));
            };
            for (std::int32_t i = near.begin; i < near.end; ++i) {
                const QPointF p = at(i);
                if (!IsShownColumn(static_cast<int>(p.x())))
                    continue;
                const double toMark = Distance(pointer, p);
                double toLine = toMark;
                if (i > 0)
                    toLine = std::min(toLine, DistanceToSegment(pointer, at(i - 1), p));
                if (i + 1 < doc.m_nObs)
                    toLine = std::min(toLine, DistanceToSegment(pointer, p, at(i + 1)));
                const std::pair<double, double> score{toLine, toMark};
                if (score.first <= kPickDistance && (m_nHitObs == -1 || score < best)) {
                    best = score;
                    m_nHitObs = i;
                }
            }
        }
    }
    if (m_nHitObs != before)
        update(); // the reading a click would take is drawn highlighted
    if (m_nHitObs != -1)
        setCursor(Services().TargetCursor());
}

void PlotFrame::NoteActivation()
{
    // A click activates the window before it reaches the view, in the same
    // pass of the event loop; by the next pass any such click has come.
    m_activating = true;
    QTimer::singleShot(0, this, [this] { m_activating = false; });
}

void PlotFrame::mousePressEvent(QMouseEvent* event)
{
    const QPoint mouse = event->position().toPoint();
    const bool pans = event->button() == Qt::MiddleButton
                      || (event->button() == Qt::LeftButton && event->modifiers().testFlag(Qt::ShiftModifier));
    if (pans) {
        if (m_panButton == Qt::NoButton && SetupMapping()) {
            m_panButton = event->button();
            m_panStartX = mouse.x();
            m_panStart = {m_nXMin, m_nXMax};
            setCursor(Qt::ClosedHandCursor);
        }
        return;
    }
    // The click that brought the window forward only does that.
    if (std::exchange(m_activating, false))
        return;
    if (event->button() == Qt::RightButton) {
        OnRightClick(mouse);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    // The arrow keys go on from where the user clicked.
    if (SetupMapping()) {
        m_markPlace = DepthOrder{m_mapping.DPtoLP({mouse.x(), mouse.y()}).x, -1};
        m_nMarked = -1;
    }
    if (Doc().m_bDeleteMode) {
        if (m_nHitObs != -1) {
            const std::int32_t index = m_nHitObs;
            m_nHitObs = -1; // a further click deletes nothing until a move marks again
            Edit(edit::DeleteObservation{index});
        }
        return;
    }
    OnOtherModeClick(mouse);
}

void PlotFrame::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != m_panButton)
        return;
    m_panButton = Qt::NoButton;
    ApplyModeCursor();
}

void PlotFrame::wheelEvent(QWheelEvent* event)
{
    event->accept();
    const int delta = event->angleDelta().y();
    if (delta == 0 || m_panButton != Qt::NoButton || !SetupMapping())
        return;
    const QPoint mouse = event->position().toPoint();
    const double factor = std::pow(kZoomPerNotch, delta / kWheelNotch);
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        ValueZoom zoom = ValueAxisZoom();
        zoom.Zoom(ValueFraction(mouse), factor);
        Link().SetValueZoom(metaObject()->className(), zoom);
        return;
    }
    const double fraction = (event->position().x() - m_nMargin) / (width() - 2.0 * m_nMargin);
    DepthWindow window = Link().Window();
    window.Zoom(m_wholeHole, fraction, factor);
    ChangeWindow(window);
    // The mouse has not moved, but what lies under it has.
    SetupMapping();
    Readout(m_mapping.DPtoLP({mouse.x(), mouse.y()}).x);
    if (Doc().m_bDeleteMode)
        Pick(mouse);
}

void PlotFrame::ChangeWindow(const DepthWindow& window) { Link().SetWindow(window); }

void PlotFrame::OnLinkChanged()
{
    m_nHitObs = -1;
    update();
}

void PlotFrame::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Home: Link().ShowWholeHole(); break;
    case Qt::Key_Left: MoveMarker(-1); break;
    case Qt::Key_Right: MoveMarker(1); break;
    case Qt::Key_Delete: DeleteMarked(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

std::int32_t PlotFrame::MarkedObservation() const
{
    const CKestrixDoc& doc = Doc();
    if (m_nMarked < 0 || m_nMarked >= doc.m_nObs || !SameReading(doc.m_pObs[m_nMarked], m_markedReading))
        return -1;
    return m_nMarked;
}

// The next reading in depth order from the marked one (or from where the last
// marked reading was deleted); without one in the window, from the window's
// left edge for Right and its right edge for Left.
void PlotFrame::MoveMarker(int direction)
{
    if (!SetupMapping())
        return;
    const CKestrixDoc& doc = Doc();
    DepthOrder from = direction > 0 ? DepthOrder{m_nXMin, -1}
                                    : DepthOrder{m_nXMax, std::numeric_limits<std::int64_t>::max()};
    if (m_markPlace && m_markPlace->x >= m_nXMin && m_markPlace->x <= m_nXMax)
        from = *m_markPlace;
    const auto placeOf = [&](std::int32_t i) { return DepthOrder{Scaled(doc.m_pObs[i].Depth), 2 * std::int64_t{i}}; };
    std::int32_t next = -1;
    if (m_samples.InDepthOrder()) { // the places rise along the table
        next = direction > 0 ? FirstIndexWhere(0, doc.m_nObs, [&](std::int32_t i) { return placeOf(i) > from; })
                             : FirstIndexWhere(0, doc.m_nObs, [&](std::int32_t i) { return placeOf(i) >= from; }) - 1;
        if (next >= doc.m_nObs)
            next = -1;
    } else {
        for (std::int32_t i = 0; i < doc.m_nObs; ++i) {
            const bool beyond = direction > 0 ? placeOf(i) > from : placeOf(i) < from;
            const bool nearer = next < 0 || (direction > 0 ? placeOf(i) < placeOf(next) : placeOf(i) > placeOf(next));
            if (beyond && nearer)
                next = i;
        }
    }
    if (next < 0)
        return;
    const DepthOrder best = placeOf(next);
    m_nMarked = next;
    m_markedReading = doc.m_pObs[next];
    m_markPlace = best;
    DepthWindow window = Link().Window();
    window.Reveal(m_wholeHole, best.x);
    ChangeWindow(window);
    Readout(best.x, next);
    if (doc.m_bDeleteMode)
        m_nHitObs = next; // a click deletes it too, as one picked by the mouse
    update();
}

void PlotFrame::MarkObservation(std::int32_t index)
{
    const CKestrixDoc& doc = Doc();
    if (index < 0 || index >= doc.m_nObs)
        return;
    const std::int32_t x = Scaled(doc.m_pObs[index].Depth);
    m_nMarked = index;
    m_markedReading = doc.m_pObs[index];
    m_markPlace = DepthOrder{x, 2 * std::int64_t{index}};
    DepthWindow window = Link().Window();
    window.Centre(WholeHole(), x);
    ChangeWindow(window);
    Readout(x);
    update();
}

void PlotFrame::DeleteMarked()
{
    const std::int32_t marked = MarkedObservation();
    if (!Doc().m_bDeleteMode || marked < 0)
        return;
    // The keys go on from the gap it leaves.
    m_markPlace = DepthOrder{Scaled(Doc().m_pObs[marked].Depth), 2 * std::int64_t{marked} - 1};
    m_nMarked = -1;
    m_nHitObs = -1;
    Edit(edit::DeleteObservation{marked});
    update();
}

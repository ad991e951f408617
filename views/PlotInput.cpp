// The depth plots' mouse, wheel and keys: the depth readout, picking and
// deleting readings, zooming and panning the depth window, and the marker
// that the arrow keys move.
#include "views/PlotFrame.h"

#include "survey/KestrixDoc.h"
#include "textio/NumberText.h"
#include "views/PlotLink.h"
#include "views/ViewServices.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

using namespace survey;

namespace {

// One notch of the wheel narrows the depth window to 1/1.25 of its length.
constexpr double kZoomPerNotch = 1.25;
constexpr double kWheelNotch = 120.0; // angle delta of one notch

// The same reading: equal raw fields, bit for bit.
bool SameReading(const Observation& a, const Observation& b)
{
    return std::memcmp(&a, &b, offsetof(Observation, AccZ) + sizeof(double)) == 0;
}

} // namespace

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
    return Doc().m_bDeleteMode ? tr("Click on observation point to delete") : QString();
}

void PlotFrame::Readout(std::int32_t x)
{
    SetPane(ViewServices::DepthPane,
            tr("Depth:  %1").arg(QString::fromStdString(textio::Format("%.2lf", x / Doc().m_dScale))));
    SetPane(ViewServices::MessagePane, Prompt());
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
                && std::abs(std::int64_t{p.y()} - mouse.y()) < kPickRadius && IsShownColumn(p.x())) {
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
    const double fraction = (event->position().x() - m_nMargin) / (width() - 2.0 * m_nMargin);
    DepthWindow window = Link().Window();
    window.Zoom(m_wholeHole, fraction, std::pow(kZoomPerNotch, delta / kWheelNotch));
    ChangeWindow(window);
    // The mouse has not moved, but what lies under it has.
    SetupMapping();
    Readout(m_mapping.DPtoLP({mouse.x(), mouse.y()}).x);
    if (Doc().m_bDeleteMode)
        Pick(mouse);
}

void PlotFrame::ChangeWindow(const DepthWindow& window) { Link().SetWindow(window); }

// Another depth window: what was under the mouse is no longer there.
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
    std::int32_t next = -1;
    DepthOrder best{};
    for (std::int32_t i = 0; i < doc.m_nObs; ++i) {
        const DepthOrder place{Scaled(doc.m_pObs[i].Depth), 2 * std::int64_t{i}};
        const bool beyond = direction > 0 ? place > from : place < from;
        const bool nearer = next < 0 || (direction > 0 ? place < best : place > best);
        if (beyond && nearer) {
            next = i;
            best = place;
        }
    }
    if (next < 0)
        return;
    m_nMarked = next;
    m_markedReading = doc.m_pObs[next];
    m_markPlace = best;
    DepthWindow window = Link().Window();
    window.Reveal(m_wholeHole, best.x);
    ChangeWindow(window);
    Readout(best.x);
    if (doc.m_bDeleteMode)
        m_nHitObs = next; // a click deletes it too, as one picked by the mouse
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

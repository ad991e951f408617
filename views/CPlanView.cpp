#include "views/CPlanView.h"

#include "survey/KestrixDoc.h"

#include <QPainter>

using namespace survey;

namespace {
// The north arrow: its shaft and head in pixels, inset from the frame's corner.
constexpr int kArrowInset = 20;
constexpr int kArrowLength = 30;
constexpr int kArrowHead = 5;
} // namespace

CPlanView::CPlanView(SurveyEditor& survey, ViewServices& services, PlotLink* link, QWidget* parent)
    : PathFrame(survey, services, link, parent)
{
}

QString CPlanView::Title() const { return tr("Plan of the hole, grid north up"); }

QString CPlanView::HorizontalAxisName() const { return tr("East (m)"); }

QString CPlanView::VerticalAxisName() const { return tr("North (m)"); }

QPointF CPlanView::Project(const Observation& obs) const { return QPointF(obs.East, obs.North); }

QPointF CPlanView::Collar() const { return QPointF(Doc().m_dEasting, Doc().m_dNorthing); }

void CPlanView::DrawDecorations(QPainter& painter)
{
    const QRect frame = FrameRect();
    const QFontMetrics metrics(painter.font());
    const QPoint tip(frame.right() - kArrowInset, frame.top() + kArrowInset + metrics.height());
    painter.setPen(ThinPen(Qt::black));
    painter.drawLine(tip, tip + QPoint(0, kArrowLength));
    QPolygon head;
    head << tip << tip + QPoint(-kArrowHead, 2 * kArrowHead) << tip + QPoint(kArrowHead, 2 * kArrowHead);
    painter.setBrush(Qt::black);
    painter.drawPolygon(head);
    painter.setBrush(Qt::NoBrush);
    DrawTextAt(painter, tip - QPoint(0, metrics.height() + 2), Anchor::CenterTop, tr("N"));
}

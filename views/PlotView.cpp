#include "views/PlotView.h"

#include "survey/KestrixDoc.h"
#include "views/PlotLink.h"
#include "views/PlotMapping.h"
#include "views/SurveyEditor.h"
#include "views/ViewServices.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

using namespace survey;

PlotView::PlotView(SurveyEditor& survey, ViewServices& services, PlotLink* link, QWidget* parent)
    : QWidget(parent), m_survey(survey), m_services(services), m_ownLink(link ? nullptr : std::make_unique<PlotLink>()),
      m_link(link ? link : m_ownLink.get())
{
    setMouseTracking(true);
    connect(m_link, &PlotLink::changed, this, &PlotView::OnLinkChanged);
    // What shows where a paint draws nothing (the magnetic view without a
    // range) is white like every plot, not the palette's window grey.
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    setAutoFillBackground(true);
}

PlotView::~PlotView() = default;

const CKestrixDoc& PlotView::Doc() const { return m_survey.Survey(); }

void PlotView::Edit(const survey::EditOperation& op) { m_survey.Apply(op); }

void PlotView::SetPane(int pane, const QString& text) const { m_services.SetPaneText(pane, text); }

void PlotView::OnLinkChanged() { update(); }

void PlotView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    OnDraw(painter);
}

std::int32_t PlotView::Scaled(double value) const { return ToPlotUnits(value * Doc().m_dScale); }

DepthSpan PlotView::WholeHole() const
{
    const CKestrixDoc& doc = Doc();
    if (doc.m_nObs <= 0)
        return {0, 0};
    const double first = doc.m_pObs[0].Depth;
    const double last = doc.m_pObs[doc.m_nObs - 1].Depth;
    return {Scaled(std::min(first, last)), Scaled(std::max(first, last))};
}

int PlotView::TextCellWidth(const QFontMetrics& metrics, const QString& text)
{
    return std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).right() + 1);
}

void PlotView::DrawTextAt(QPainter& painter, QPoint at, Anchor anchor, const QString& text)
{
    const QFontMetrics metrics(painter.font());
    const int w = TextCellWidth(metrics, text);
    const int h = metrics.height();
    QRect cell(at, QSize(w, h));
    switch (anchor) {
    case Anchor::LeftTop:
        break;
    case Anchor::RightBottom:
        cell.moveBottomRight(QPoint(at.x() - 1, at.y() - 1));
        break;
    case Anchor::RightTop:
        cell.moveTopRight(QPoint(at.x() - 1, at.y() + 1));
        break;
    case Anchor::RightMiddle:
        cell.moveTopRight(QPoint(at.x() - 1, at.y() - h / 2));
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

QPen PlotView::ThinPen(QColor colour) const
{
    QPen pen(colour, m_lineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    return pen;
}

void PlotView::DrawPolyline(QPainter& painter, const QPolygon& points)
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

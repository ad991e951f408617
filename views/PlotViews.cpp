#include "PlotViews.h"

#include <QPainter>

namespace {
void PaintPlaceholder(QWidget* view, const char* title)
{
    QPainter painter(view);
    painter.fillRect(view->rect(), Qt::white);
    painter.drawText(0, painter.fontMetrics().ascent(), QString::fromLatin1(title));
}
} // namespace

CInclView::CInclView(CKestrixDoc*, ViewServices*, QWidget* parent) : QWidget(parent) {}
void CInclView::paintEvent(QPaintEvent*) { PaintPlaceholder(this, "Inclination calculated from accelerometer data"); }
CAzView::CAzView(CKestrixDoc*, ViewServices*, QWidget* parent) : QWidget(parent) {}
void CAzView::paintEvent(QPaintEvent*) { PaintPlaceholder(this, "Azimuth calculated from magnetometer data"); }
CMagView::CMagView(CKestrixDoc*, ViewServices*, QWidget* parent) : QWidget(parent) {}
void CMagView::paintEvent(QPaintEvent*) { PaintPlaceholder(this, "Mag components - East:blue North:green Up:red"); }

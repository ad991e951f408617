#include "views/CKestrixView.h"

#include "survey/KestrixDoc.h"
#include "survey/ListingRows.h"
#include "views/ViewServices.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

using namespace survey;

CKestrixView::CKestrixView(CKestrixDoc& doc, ViewServices& services, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_services(services)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QFont CKestrixView::ListingFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace, QFont::PreferMatch);
    font.setFixedPitch(true);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    // The largest size whose line (ascent + descent) fits the 16-pixel cell.
    for (int pixels = kLineHeight; pixels > 4; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() <= kLineHeight)
            break;
    }
    return font;
}

void CKestrixView::DrawListing(QPainter& painter, const ListingText& listing,
                               std::vector<DrawnPiece>* drawn, int bottom)
{
    const QFont font = ListingFont();
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    const QFontMetrics metrics(font, painter.device());
    int y = 0;
    auto drawLine = [&](const auto& pieces) {
        if (bottom < 0 || y <= bottom) {
            int x = 0;
            for (const std::string& piece : pieces) {
                const QString text = QString::fromStdString(piece);
                painter.drawText(x, y + metrics.ascent(), text);
                if (drawn)
                    drawn->push_back({QPoint(x, y), text});
                x += metrics.horizontalAdvance(text);
            }
        }
        y += kLineHeight;
    };
    for (const std::string& line : listing.headerLines)
        drawLine(std::array<std::string, 1>{line});
    drawLine(listing.headingPieces);
    for (const ListingText::Row& row : listing.rows) {
        if (bottom >= 0 && y > bottom)
            break;
        drawLine(row.pieces);
    }
    painter.restore();
}

void CKestrixView::OnDraw(QPainter& painter)
{
    DrawListing(painter, BuildListing(m_doc), nullptr, height());
}

void CKestrixView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    OnDraw(painter);
}

void CKestrixView::mouseMoveEvent(QMouseEvent* event)
{
    m_services.SetPaneText(ViewServices::MessagePane, QString());
    m_services.SetPaneText(ViewServices::DepthPane, QString());
    QWidget::mouseMoveEvent(event);
}

#include "app/PrintPages.h"

#include "survey/KestrixDoc.h"
#include "survey/ListingRows.h"
#include "views/CKestrixView.h"
#include "views/PlotImage.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

using namespace survey;

namespace {

// Every line of the listing as drawn, its pieces joined: in the fixed-pitch
// listing font a line drawn whole ends where its pieces drawn in turn do.
QStringList ListingLines(const ListingText& listing)
{
    QStringList lines;
    const auto join = [](const auto& pieces) {
        QString line;
        for (const std::string& piece : pieces)
            line += QString::fromStdString(piece);
        return line;
    };
    for (const std::string& line : listing.headerLines)
        lines.append(QString::fromStdString(line));
    lines.append(join(listing.headingPieces));
    for (const ListingText::Row& row : listing.rows)
        lines.append(join(row.pieces));
    return lines;
}


} // namespace

void PrintPlot(QPainter& painter, const PlotKind& kind, const CKestrixDoc& doc, QSize windowSize, PlotLink* link)
{
    PaintPlotOnPage(painter, kind, doc, windowSize, link);
}

int PrintListing(QPainter& painter, QPagedPaintDevice& device, const CKestrixDoc& doc, ListedRows rows)
{
    const QStringList lines = ListingLines(BuildListing(doc, rows));
    const QFont font = CKestrixView::ListingFont();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font, &device);
    int widest = 1;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QRect page = painter.viewport();
    const double scale = std::min(1.0, static_cast<double>(page.width()) / widest);
    painter.scale(scale, scale);
    const int lineHeight = CKestrixView::kLineHeight;
    const int linesPerPage = std::max(1, static_cast<int>(page.height() / (lineHeight * scale)));
    int pages = 1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int onPage = static_cast<int>(i % linesPerPage);
        if (i > 0 && onPage == 0) {
            device.newPage();
            ++pages;
        }
        painter.drawText(0, onPage * lineHeight + metrics.ascent(), lines[i]);
    }
    return pages;
}

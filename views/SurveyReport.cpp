#include "views/SurveyReport.h"

#include "startup/FilePaths.h"
#include "survey/KestrixDoc.h"
#include "survey/ListingRows.h"
#include "views/CKestrixView.h"
#include "views/PlotAnnotations.h"
#include "views/PlotImage.h"
#include "views/PlotLink.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPdfWriter>

using namespace survey;

namespace {

// The hole's caption, then the listing's heading lines as the listing draws them.
void PaintHeadingPage(QPainter& painter, const CKestrixDoc& doc)
{
    const PictureCaption caption = CaptionOf(doc);
    QFont title = painter.font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::black);
    const QFontMetrics titleMetrics(title, painter.device());
    int y = titleMetrics.ascent();
    painter.drawText(0, y, caption.holeName);
    y += titleMetrics.descent() + titleMetrics.leading();

    QFont plain = painter.font();
    plain.setPointSizeF(title.pointSizeF() / 1.6);
    plain.setBold(false);
    painter.setFont(plain);
    const QFontMetrics metrics(plain, painter.device());
    y += metrics.height();
    painter.drawText(0, y, QFileInfo(FromFilePath(doc.m_strFilePath)).fileName());
    if (!caption.dateAndSite.isEmpty()) {
        y += metrics.height();
        painter.drawText(0, y, caption.dateAndSite);
    }
    y += 2 * metrics.height();

    const ListingText listing = BuildListing(doc);
    const QFont listingFont = CKestrixView::ListingFont();
    painter.setFont(listingFont);
    const QFontMetrics listingMetrics(listingFont, painter.device());
    QStringList lines;
    for (const std::string& line : listing.headerLines)
        lines.append(QString::fromStdString(line));
    QString heading;
    for (const std::string& piece : listing.headingPieces)
        heading += QString::fromStdString(piece);
    lines.append(heading);
    for (const QString& line : lines) {
        painter.drawText(0, y + listingMetrics.ascent(), line);
        y += CKestrixView::kLineHeight;
    }
}

} // namespace

int ReportPageCount() { return 1 + static_cast<int>(PlotKinds().size()); }

QString WriteSurveyReport(const CKestrixDoc& doc, const QString& path, const PlotLink* link)
{
    // The whole hole, with the survey's other plot settings.
    PlotLink whole;
    if (link) {
        whole.SetComponentsAsAnomalies(link->ComponentsAsAnomalies());
        whole.SetSpikes(link->Spikes());
        whole.SetSectionAzimuth(link->SectionAzimuth());
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        SetUpPdfPages(pdf, doc);
        QPainter painter;
        if (!painter.begin(&pdf))
            return QCoreApplication::translate("SurveyReport", "Failed to start the report\n  %1").arg(path);
        PaintHeadingPage(painter, doc);
        for (const PlotKind& kind : PlotKinds()) {
            pdf.newPage();
            PaintPlotOnPage(painter, kind, doc, QSize(), &whole);
        }
        if (!painter.end())
            return QCoreApplication::translate("SurveyReport", "Failed to lay out the report\n  %1").arg(path);
    }
    return WritePictureFile(doc, buffer.data(), path);
}

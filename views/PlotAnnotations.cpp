#include "views/PlotAnnotations.h"

#include "survey/HoleName.h"
#include "survey/KestrixDoc.h"
#include "textio/NumberText.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

using namespace survey;

namespace {

constexpr double kEdgeGap = 2.0;     // pixels between a text and the picture's edge
constexpr double kSampleLength = 18; // a legend entry's line, in pixels
constexpr double kSampleWidth = 2.0;

QString SiteText(const Site& site)
{
    if (site.epsg)
        return QStringLiteral("EPSG:%1").arg(*site.epsg);
    if (site.location)
        return QString::fromStdString(textio::Format("latitude %.6f, longitude %.6f", site.location->latitude,
                                                     site.location->longitude));
    return QString();
}

// `text` black on white, its cell's top-left at `at`.
void WriteAt(QPainter& painter, QPointF at, const QString& text)
{
    const QFontMetricsF metrics(painter.font());
    painter.fillRect(QRectF(at, QSizeF(metrics.horizontalAdvance(text), metrics.height())), Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(at + QPointF(0, metrics.ascent()), text);
}

double LegendWidth(const QFontMetricsF& metrics, const std::vector<PlotKey::Entry>& legend)
{
    const double gap = metrics.horizontalAdvance(QLatin1Char(' '));
    double width = 0;
    for (const PlotKey::Entry& entry : legend)
        width += kSampleLength + gap + metrics.horizontalAdvance(entry.label) + 2 * gap;
    return width;
}

void DrawLegend(QPainter& painter, QPointF topLeft, const std::vector<PlotKey::Entry>& legend)
{
    const QFontMetricsF metrics(painter.font());
    const double gap = metrics.horizontalAdvance(QLatin1Char(' '));
    const double middle = topLeft.y() + metrics.height() / 2;
    double x = topLeft.x();
    for (const PlotKey::Entry& entry : legend) {
        painter.setPen(QPen(entry.colour, kSampleWidth, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QLineF(x, middle, x + kSampleLength, middle));
        x += kSampleLength + gap;
        WriteAt(painter, QPointF(x, topLeft.y()), entry.label);
        x += metrics.horizontalAdvance(entry.label) + 2 * gap;
    }
}

} // namespace

PictureCaption CaptionOf(const CKestrixDoc& doc)
{
    PictureCaption caption{QString::fromStdString(HoleNameOf(doc)), QString()};
    QStringList parts;
    if (doc.m_site.date)
        parts << QCoreApplication::translate("PlotAnnotations", "surveyed %1")
                     .arg(QString::fromStdString(geomag::ToText(*doc.m_site.date)));
    if (const QString site = SiteText(doc.m_site); !site.isEmpty())
        parts << QCoreApplication::translate("PlotAnnotations", "collar %1 E %2 N on %3")
                     .arg(QString::fromStdString(textio::Format("%.2f", doc.m_dEasting)),
                          QString::fromStdString(textio::Format("%.2f", doc.m_dNorthing)), site);
    caption.dateAndSite = parts.join(QStringLiteral(", "));
    return caption;
}

void DrawPlotAnnotations(QPainter& painter, QSize size, const PictureCaption& caption, const PlotKey& key)
{
    painter.save();
    const QFontMetricsF metrics(painter.font());
    const double row = metrics.height();
    const double right = size.width() - kEdgeGap;
    const double bottom = size.height() - row;

    const QFont plain = painter.font();
    QFont bold = plain;
    bold.setBold(true);
    painter.setFont(bold);
    WriteAt(painter, QPointF(right - QFontMetricsF(bold).horizontalAdvance(caption.holeName), 0), caption.holeName);
    painter.setFont(plain);
    if (!caption.dateAndSite.isEmpty())
        WriteAt(painter, QPointF(right - metrics.horizontalAdvance(caption.dateAndSite), row), caption.dateAndSite);

    if (!key.valueTitle.isEmpty())
        WriteAt(painter, QPointF(0, row), key.valueTitle);

    const double legendLeft = right - LegendWidth(metrics, key.legend);
    if (!key.depthTitle.isEmpty()) {
        // Centred under the plot unless the legend is in the way.
        const double width = metrics.horizontalAdvance(key.depthTitle);
        const double left = std::max(kEdgeGap, std::min((size.width() - width) / 2, legendLeft - width - row));
        WriteAt(painter, QPointF(left, bottom), key.depthTitle);
    }
    DrawLegend(painter, QPointF(legendLeft, bottom), key.legend);
    painter.restore();
}

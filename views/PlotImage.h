#pragma once

#include <QSize>
#include <QString>

#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace survey {
class CKestrixDoc;
} // namespace survey

class PlotLink;
class PlotView;
class QImage;
class QPainter;
class QPdfWriter;
class QWidget;
class SurveyEditor;
class ViewServices;

// A plot that can be drawn as a picture, by the name kestrix-batch's --view
// takes. The picture is that of a window of the plot at the same size.
struct PlotKind {
    const char* name;
    const QMetaObject* viewClass;
    std::unique_ptr<PlotView> (*make)(SurveyEditor& survey, ViewServices& services, PlotLink* link);
};

// Every plot kind, one row each.
std::span<const PlotKind> PlotKinds();
// The kind named `name`, or none.
const PlotKind* FindPlotKind(std::string_view name);
// The kind of plot that `view` is, or none (the listing, any other widget).
const PlotKind* KindOf(const QWidget* view);

// Pictures are 1 to kMaxPlotSide pixels each way.
inline constexpr int kMaxPlotSide = 8000;
bool IsPlotSize(QSize size);

// The plot of `kind` on `doc` as a window of `size` pixels shows it, with the
// depth window, anomalies and spike settings of `link` (a survey's plots) or
// else the whole hole as loaded; a null image when there is no memory for it.
QImage RenderPlot(const PlotKind& kind, const survey::CKestrixDoc& doc, QSize size, PlotLink* link = nullptr);
// Paints the same picture with `painter`, its top-left at the painter's
// origin, as lines and text: scaled by the painter's transform it stays sharp.
// Lines are `lineWidth` device pixels wide (PlotView::SetLineWidth). The
// picture names the hole, its date and site, the axes and the curves
// (PlotAnnotations.h).
void PaintPlot(const PlotKind& kind, const survey::CKestrixDoc& doc, QSize size, QPainter& painter,
               PlotLink* link = nullptr, qreal lineWidth = 0);
// The picture of a window of `windowSize` (the painter's viewport when empty)
// scaled to fit the painter's viewport whole, its shape kept, with lines a
// quarter millimetre wide: a page printed or written to PDF.
void PaintPlotOnPage(QPainter& painter, const PlotKind& kind, const survey::CKestrixDoc& doc, QSize windowSize,
                     PlotLink* link);

// The picture formats, chosen by the file name's extension: PDF is one page.
enum class PictureFormat { Png, Svg, Pdf };
// The format of `path` by its extension (".png", ".svg" or ".pdf", any case), or none.
std::optional<PictureFormat> PictureFormatOf(const QString& path);

// Writes the plot of `kind` on `doc` at `size` to `path` as PNG, SVG or PDF
// by the path's extension; the whole file or nothing, never over the survey's
// raw survey file nor onto anything but a plain file (a FIFO, a device).
// Empty on success, else the message for the user.
QString WritePlotPicture(const PlotKind& kind, const survey::CKestrixDoc& doc, QSize size, const QString& path,
                         PlotLink* link = nullptr);

// Writes `bytes` made from `doc` to `path` as WritePlotPicture does: whole or
// not at all, never over the raw survey file. Empty on success, else the
// message for the user.
QString WritePictureFile(const survey::CKestrixDoc& doc, const QByteArray& bytes, const QString& path);

// The PDF pages, landscape A4, that the program's PDF files are laid out on,
// at the screen's 96 dots per inch so texts keep the sizes they have on screen;
// the document is titled with the survey's file name.
void SetUpPdfPages(QPdfWriter& pdf, const survey::CKestrixDoc& doc);

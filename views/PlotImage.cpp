#include "views/PlotImage.h"

#include "startup/FilePaths.h"
#include "survey/KestrixDoc.h"
#include "textio/FileFacts.h"
#include "textio/SafeFile.h"
#include "views/PlotAnnotations.h"
#include "views/PlotViews.h"
#include "views/SurveyEditor.h"
#include "views/ViewServices.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>

using namespace survey;

namespace {

// A picture's view is never shown: it has no status bar or cursor to reach.
class NoViewServices : public ViewServices {
public:
    void SetPaneText(int, const QString&) override {}
    QCursor DeleteCursor() const override { return QCursor(); }
    QCursor TargetCursor() const override { return QCursor(); }
    QCursor ControlCursor() const override { return QCursor(); }
};

template <typename View>
std::unique_ptr<PlotView> Make(SurveyEditor& survey, ViewServices& services, PlotLink* link)
{
    return std::make_unique<View>(survey, services, link);
}

// One row per plot kind.
const PlotKind kKinds[] = {
    {"incl", &CInclView::staticMetaObject, Make<CInclView>},
    {"az", &CAzView::staticMetaObject, Make<CAzView>},
    {"mag", &CMagView::staticMetaObject, Make<CMagView>},
    {"qc", &CQcView::staticMetaObject, Make<CQcView>},
    {"plan", &CPlanView::staticMetaObject, Make<CPlanView>},
    {"section", &CSectionView::staticMetaObject, Make<CSectionView>},
};

// A view of its own at `size`, so the window the user looks at keeps its size.
std::unique_ptr<PlotView> PictureView(const PlotKind& kind, SurveyEditor& survey, QSize size, PlotLink* link)
{
    static NoViewServices services;
    std::unique_ptr<PlotView> view = kind.make(survey, services, link);
    view->setAttribute(Qt::WA_DontShowOnScreen);
    view->resize(size);
    view->ensurePolished(); // the font it measures its labels with
    return view;
}

QByteArray SvgOf(const PlotKind& kind, const CKestrixDoc& doc, QSize size, PlotLink* link)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QFileInfo(FromFilePath(doc.m_strFilePath)).fileName());
    svg.setDescription(QStringLiteral("%1 plot").arg(QLatin1String(kind.name)));
    QPainter painter;
    if (!painter.begin(&svg))
        return QByteArray();
    PaintPlot(kind, doc, size, painter, link);
    painter.end();
    return buffer.data();
}

QByteArray PdfOf(const PlotKind& kind, const CKestrixDoc& doc, QSize size, PlotLink* link)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        SetUpPdfPages(pdf, doc);
        QPainter painter;
        if (!painter.begin(&pdf))
            return QByteArray();
        PaintPlotOnPage(painter, kind, doc, size, link);
        if (!painter.end())
            return QByteArray();
    }
    return buffer.data();
}

QByteArray PngOf(const PlotKind& kind, const CKestrixDoc& doc, QSize size, PlotLink* link)
{
    const QImage image = RenderPlot(kind, doc, size, link);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG"))
        return QByteArray();
    return buffer.data();
}

} // namespace

std::span<const PlotKind> PlotKinds() { return kKinds; }

const PlotKind* FindPlotKind(std::string_view name)
{
    const auto found = std::find_if(std::begin(kKinds), std::end(kKinds),
                                    [&](const PlotKind& kind) { return name == kind.name; });
    return found == std::end(kKinds) ? nullptr : found;
}

const PlotKind* KindOf(const QWidget* view)
{
    if (!view)
        return nullptr;
    const auto found = std::find_if(std::begin(kKinds), std::end(kKinds), [&](const PlotKind& kind) {
        return view->metaObject() == kind.viewClass;
    });
    return found == std::end(kKinds) ? nullptr : found;
}

bool IsPlotSize(QSize size)
{
    return size.width() >= 1 && size.width() <= kMaxPlotSide && size.height() >= 1 && size.height() <= kMaxPlotSide;
}

QImage RenderPlot(const PlotKind& kind, const CKestrixDoc& doc, QSize size, PlotLink* link)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintPlot(kind, doc, size, painter, link);
    return image;
}

void PaintPlot(const PlotKind& kind, const CKestrixDoc& doc, QSize size, QPainter& painter, PlotLink* link,
               qreal lineWidth)
{
    ReadOnlySurvey survey(doc);
    const std::unique_ptr<PlotView> view = PictureView(kind, survey, size, link);
    view->SetLineWidth(lineWidth);
    // A raster picture is the window's own pixels; a vector one keeps the
    // curves' exact coordinates.
    const int device = painter.device()->devType();
    view->SetExactCoordinates(device != QInternal::Image && device != QInternal::Pixmap && device != QInternal::Widget);
    // The view's own painting with this painter, not QWidget::render: on a
    // printer that would paint a pixmap, and the page would be a blurred picture.
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white); // the window's background
    painter.setFont(view->font());
    view->OnDraw(painter);
    DrawPlotAnnotations(painter, size, CaptionOf(doc), view->Key());
    painter.restore();
}

// Printed lines are this wide, as thin as plainly shows on paper.
constexpr double kPrintedLineMillimetres = 0.25;
constexpr double kMillimetresPerInch = 25.4;

void PaintPlotOnPage(QPainter& painter, const PlotKind& kind, const CKestrixDoc& doc, QSize windowSize, PlotLink* link)
{
    const QRect page = painter.viewport();
    const QSize size = windowSize.isEmpty() ? page.size() : windowSize;
    painter.save();
    painter.setViewport(QRect(page.topLeft(), size.scaled(page.size(), Qt::KeepAspectRatio)));
    painter.setWindow(QRect(QPoint(0, 0), size));
    const double lineWidth = painter.device()->logicalDpiX() * kPrintedLineMillimetres / kMillimetresPerInch;
    PaintPlot(kind, doc, size, painter, link, lineWidth);
    painter.restore();
}

void SetUpPdfPages(QPdfWriter& pdf, const CKestrixDoc& doc)
{
    pdf.setTitle(QFileInfo(FromFilePath(doc.m_strFilePath)).fileName());
    pdf.setResolution(96);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                  QPageLayout::Millimeter));
    pdf.setCreator(QStringLiteral("Kestrix"));
}

std::optional<PictureFormat> PictureFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("png"), Qt::CaseInsensitive) == 0)
        return PictureFormat::Png;
    if (suffix.compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0)
        return PictureFormat::Svg;
    if (suffix.compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0)
        return PictureFormat::Pdf;
    return std::nullopt;
}

QString WritePlotPicture(const PlotKind& kind, const CKestrixDoc& doc, QSize size, const QString& path, PlotLink* link)
{
    const std::optional<PictureFormat> format = PictureFormatOf(path);
    if (!format)
        return QCoreApplication::translate("PlotImage", "A plot picture is a .png, .svg or .pdf file\n  %1").arg(path);
    if (!IsPlotSize(size))
        return QCoreApplication::translate("PlotImage", "A plot picture is 1 to %1 pixels wide and high").arg(kMaxPlotSide);
    if (textio::IsSameFile(ToFilePath(path), doc.m_strFilePath))
        return QCoreApplication::translate("PlotImage", "The picture would replace the raw survey file\n  %1")
            .arg(FromFilePath(doc.m_strFilePath));

    const QByteArray bytes = *format == PictureFormat::Png   ? PngOf(kind, doc, size, link)
                             : *format == PictureFormat::Svg ? SvgOf(kind, doc, size, link)
                                                             : PdfOf(kind, doc, size, link);
    if (bytes.isEmpty())
        return QCoreApplication::translate("PlotImage", "Not enough memory to draw the plot at %1 x %2 pixels").arg(size.width()).arg(size.height());
    return WritePictureFile(doc, bytes, path);
}

QString WritePictureFile(const CKestrixDoc& doc, const QByteArray& bytes, const QString& path)
{
    if (textio::IsSameFile(ToFilePath(path), doc.m_strFilePath))
        return QCoreApplication::translate("PlotImage", "The picture would replace the raw survey file\n  %1")
            .arg(FromFilePath(doc.m_strFilePath));
    // The same safe writer as every other file: a FIFO or device is refused,
    // and a failed write leaves the earlier file and no scratch file.
    textio::SafeFileWriter file(ToFilePath(path));
    if (file.Open() != textio::SafeFileWriter::Status::Ok)
        return QCoreApplication::translate("PlotImage", "Failed to open\n  %1\nfor writing").arg(path);
    file.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (file.Commit() != textio::SafeFileWriter::Status::Ok)
        return QCoreApplication::translate("PlotImage", "Failed to write\n  %1").arg(path);
    return QString();
}

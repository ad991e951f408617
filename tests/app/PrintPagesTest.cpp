// Printing a survey window: a plot as lines and text scaled to the page, the
// listing over as many pages as it needs.
#include "AppTestSupport.h"
#include "NamedRows.h"
#include "RawSurveyText.h"
#include "SurveyRows.h"

#include "app/PrintPages.h"
#include "survey/KestrixDoc.h"
#include "views/PlotImage.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>

using namespace survey;

namespace {

// A survey of `rows` readings half a metre apart.
void LoadSurvey(CKestrixDoc& doc, int rows)
{
    RecordingSink sink;
    ASSERT_EQ(LoadText(doc, RawSurveyText(rows).toStdString(), sink), LoadResult::Loaded);
}

// An A4 PDF printer at the resolution the program prints at.
void SetUpPdf(QPrinter& printer, const QString& path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                      QPageLayout::Millimeter));
}

int PdfPages(const QByteArray& pdf)
{
    return static_cast<int>(QString::fromLatin1(pdf).count(QRegularExpression("/Type\\s*/Page\\b(?!s)")));
}

struct PrintedPlotRow {
    const char* name;
    const char* kind;
};

class PrintedPlot : public ::testing::TestWithParam<PrintedPlotRow> {
protected:
    void SetUp() override { LoadSurvey(doc, 801); }
    const PlotKind& Kind() const { return *FindPlotKind(GetParam().kind); }
    CKestrixDoc doc;
    ScratchFolder folder;
};

// A picture on the page would be a pixmap, blurred when printed large.
TEST_P(PrintedPlot, IsOnePageOfLinesAndTextWithNoPicture)
{
    const QString path = PathIn(folder, "plot.pdf");
    {
        QPrinter printer(QPrinter::ScreenResolution);
        SetUpPdf(printer, path);
        QPainter painter(&printer);
        PrintPlot(painter, Kind(), doc, QSize(800, 600), nullptr);
    }
    const QByteArray pdf = ReadFile(path);
    EXPECT_EQ(PdfPages(pdf), 1);
    EXPECT_FALSE(pdf.contains("/Subtype /Image")); // an image XObject
}

// The window's shape scaled up or down to the printable area's full width.
TEST_P(PrintedPlot, SpansThePageWidthWithItsShapeKept)
{
    QImage page(700, 1000, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        PrintPlot(painter, Kind(), doc, QSize(400, 300), nullptr);
    }
    QRect inked;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixel(x, y) != qRgb(255, 255, 255))
                inked |= QRect(x, y, 1, 1);
    // The frame ends 50 of the window's 400 pixels short of its right edge.
    EXPECT_GE(inked.right(), 700 * 350 / 400 - 2);
    EXPECT_LE(inked.bottom(), 700 * 300 / 400);
    EXPECT_GE(inked.bottom(), 700 * 250 / 400);
}

// A hairline would all but vanish from a fine printer's page.
TEST_P(PrintedPlot, DrawsLinesAQuarterMillimetreWide)
{
    constexpr double kDotsPerMetre = 600 / 0.0254; // 600 dpi: 0.25 mm is 5.9 dots
    QImage page(2000, 2800, QImage::Format_RGB32);
    page.setDotsPerMeterX(qRound(kDotsPerMetre));
    page.setDotsPerMeterY(qRound(kDotsPerMetre));
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        PrintPlot(painter, Kind(), doc, QSize(400, 300), nullptr);
    }
    // The frame's left edge lies at 50 of 400 window pixels, x = 250 on the
    // page; the narrowest black run across it over some rows is its width.
    int narrowest = 1000;
    for (int y = 520; y <= 680; y += 8) {
        int black = 0;
        for (int x = 230; x <= 270; ++x)
            black += page.pixel(x, y) == qRgb(0, 0, 0);
        narrowest = std::min(narrowest, black);
    }
    EXPECT_GE(narrowest, 5);
    EXPECT_LE(narrowest, 7);
}

INSTANTIATE_TEST_SUITE_P(PrintPages, PrintedPlot,
                         ::testing::Values(PrintedPlotRow{"Azimuth", "az"}, PrintedPlotRow{"Magnetic", "mag"},
                                           PrintedPlotRow{"QualityControl", "qc"}),
                         RowName());

struct ListingRow {
    const char* name;
    int readings;
    int pages;
};

class PrintedListing : public ::testing::TestWithParam<ListingRow> {};

TEST_P(PrintedListing, RunsOverAsManyPagesAsItNeeds)
{
    CKestrixDoc doc;
    LoadSurvey(doc, GetParam().readings);
    ScratchFolder folder;
    const QString path = PathIn(folder, "listing.pdf");
    int printed = 0;
    {
        QPrinter printer(QPrinter::ScreenResolution);
        SetUpPdf(printer, path);
        QPainter painter(&printer);
        printed = PrintListing(painter, printer, doc);
    }
    EXPECT_EQ(printed, GetParam().pages);
    EXPECT_EQ(PdfPages(ReadFile(path)), GetParam().pages);
}

// A listing row every 10 m: 101 rows for 1000 m, 801 rows for 8000 m.
INSTANTIATE_TEST_SUITE_P(PrintPages, PrintedListing,
                         ::testing::Values(ListingRow{"Short", 21, 1}, ListingRow{"ThousandMetres", 2001, 2},
                                           ListingRow{"EightThousandMetres", 16001, 9}),
                         RowName());

} // namespace

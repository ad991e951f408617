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

// A survey of `readings` half a metre apart, printed by `print` into a PDF
// at `path`: A4 with 10 mm margins.
template <typename Print>
void PrintPdf(int readings, const QString& path, Print print)
{
    CKestrixDoc doc;
    RecordingSink sink;
    ASSERT_EQ(LoadText(doc, RawSurveyText(readings).toStdString(), sink), LoadResult::Loaded);
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                      QPageLayout::Millimeter));
    QPainter painter(&printer);
    print(painter, printer, doc);
}

struct PlotRow {
    const char* name;
    const char* kind;
};

class PrintedPlot : public ::testing::TestWithParam<PlotRow> {};

// Lines and text (a picture would blur) across the page with the window's
// shape: at 600 dpi the frame's left and right edges, 50 and 350 of the
// window's 400 pixels, lie at 250 and 1750 and are 0.25 mm (5.9 dots) wide.
TEST_P(PrintedPlot, IsLinesAcrossThePage)
{
    const PlotKind& kind = *FindPlotKind(GetParam().kind);
    ScratchFolder folder;
    QImage page(2000, 2800, QImage::Format_RGB32);
    page.setDotsPerMeterX(23622);
    page.setDotsPerMeterY(23622);
    page.fill(Qt::white);
    PrintPdf(801, PathIn(folder, "plot.pdf"), [&](QPainter& painter, QPrinter&, const CKestrixDoc& doc) {
        PrintPlot(painter, kind, doc, QSize(400, 300), nullptr);
        QPainter onImage(&page);
        PrintPlot(onImage, kind, doc, QSize(400, 300), nullptr);
    });
    EXPECT_FALSE(ReadFile(PathIn(folder, "plot.pdf")).contains("/Subtype /Image"));
    for (int edge : {250, 1750}) {
        int narrowest = 1000; // a row crossing a level line is all black
        for (int y = 900; y <= 1040; y += 8) { // between the annotations, which are large at 600 dpi
            int black = 0;
            for (int x = edge - 20; x <= edge + 20; ++x)
                black += page.pixel(x, y) == qRgb(0, 0, 0);
            narrowest = std::min(narrowest, black);
        }
        EXPECT_TRUE(narrowest >= 5 && narrowest <= 7) << edge << ": " << narrowest;
    }
}

INSTANTIATE_TEST_SUITE_P(PrintPages, PrintedPlot,
                         ::testing::Values(PlotRow{"Azimuth", "az"}, PlotRow{"Magnetic", "mag"},
                                           PlotRow{"QualityControl", "qc"}),
                         RowName());

struct ListingRow {
    const char* name;
    int readings;
    int pages;
    ListedRows rows = ListedRows::TenMetreSteps;
};

class PrintedListing : public ::testing::TestWithParam<ListingRow> {};

TEST_P(PrintedListing, RunsOverAsManyPagesAsItNeeds)
{
    ScratchFolder folder;
    int printed = 0;
    PrintPdf(GetParam().readings, PathIn(folder, "listing.pdf"),
             [&](QPainter& painter, QPrinter& printer, const CKestrixDoc& doc) {
                 printed = PrintListing(painter, printer, doc, GetParam().rows);
             });
    EXPECT_EQ(printed, GetParam().pages);
    const QString pdf = QString::fromLatin1(ReadFile(PathIn(folder, "listing.pdf")));
    EXPECT_EQ(pdf.count(QRegularExpression("/Type\\s*/Page\\b(?!s)")), GetParam().pages);
}

INSTANTIATE_TEST_SUITE_P(PrintPages, PrintedListing,
                         ::testing::Values(ListingRow{"TwentyMetres", 41, 1}, ListingRow{"EightKilometres", 16001, 9},
                                           ListingRow{"EveryReading", 801, 9, ListedRows::EveryReading}),
                         RowName());

} // namespace

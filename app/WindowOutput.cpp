#include "app/WindowOutput.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/PrintPages.h"
#include "app/SurveyDocument.h"
#include "app/UserPrompts.h"
#include "views/CKestrixView.h"
#include "views/PlotImage.h"
#include "views/SurveyReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

namespace {

// The active plot window's kind, or none.
const PlotKind* ActivePlot(const CMainFrame& frame)
{
    const CChildFrame* active = frame.ActiveFrame();
    return active ? KindOf(active->widget()) : nullptr;
}

// Beside the survey: "hole7.txt" and the azimuth plot give "hole7-az.png".
QString DefaultPicturePath(const SurveyDocument& document, const PlotKind& kind)
{
    const QFileInfo survey(document.PathName());
    return survey.dir().filePath(QStringLiteral("%1-%2.png").arg(survey.completeBaseName(), QLatin1String(kind.name)));
}

} // namespace

void SaveActivePlot(CMainFrame& mainFrame, UserPrompts& prompts)
{
    CMainFrame* frame = &mainFrame;
    const PlotKind* kind = ActivePlot(mainFrame);
    if (!kind)
        return;
    CChildFrame* window = frame->ActiveFrame();
    SurveyDocument& document = window->Document();
    const std::optional<QString> path = prompts.PlotFileName(frame, DefaultPicturePath(document, *kind));
    if (!path)
        return;
    if (!PictureFormatOf(*path)) {
        prompts.ShowMessage(frame, QCoreApplication::translate("WindowOutput", "A plot picture is a .png, .svg or .pdf file\n  %1")
                                       .arg(*path));
        return;
    }
    const std::optional<QSize> size = prompts.PlotPictureSize(frame, window->widget()->size());
    if (!size)
        return;
    const QString failure = WritePlotPicture(*kind, *document.Doc(), *size, *path, &document.Plots());
    if (!failure.isEmpty())
        prompts.ShowMessage(frame, failure);
}

void SaveActiveReport(CMainFrame& mainFrame, UserPrompts& prompts)
{
    CMainFrame* frame = &mainFrame;
    CChildFrame* window = frame->ActiveFrame();
    if (!window)
        return;
    SurveyDocument& document = window->Document();
    const QFileInfo survey(document.PathName());
    const QString proposed = survey.dir().filePath(survey.completeBaseName() + QStringLiteral("-report.pdf"));
    const std::optional<QString> path = prompts.ReportFileName(frame, proposed);
    if (!path)
        return;
    const QString failure = WriteSurveyReport(*document.Doc(), *path, &document.Plots());
    if (!failure.isEmpty())
        prompts.ShowMessage(frame, failure);
}

void PrintActiveWindow(CMainFrame& mainFrame, UserPrompts& prompts)
{
    CMainFrame* frame = &mainFrame;
    CChildFrame* window = frame->ActiveFrame();
    if (!window || !window->widget())
        return;
    // Screen resolution: the listing and the plots' texts are laid out in
    // pixels as on screen; PrintPlot sets the plots' line width for paper.
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setDocName(window->windowTitle());
    if (!prompts.SetUpPrinter(frame, printer))
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        prompts.ShowMessage(frame, QCoreApplication::translate("WindowOutput", "Failed to print\n  %1").arg(window->windowTitle()));
        return;
    }
    const survey::CKestrixDoc& doc = *window->Document().Doc();
    if (const PlotKind* kind = KindOf(window->widget()))
        PrintPlot(painter, *kind, doc, window->widget()->size(), &window->Document().Plots());
    else if (const auto* listing = qobject_cast<const CKestrixView*>(window->widget()))
        PrintListing(painter, printer, doc, listing->ListedRows());
    else
        PrintListing(painter, printer, doc);
    if (!painter.end())
        prompts.ShowMessage(frame, QCoreApplication::translate("WindowOutput", "Failed to print\n  %1").arg(window->windowTitle()));
}

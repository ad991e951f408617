#include "app/WindowOutput.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"
#include "app/PrintPages.h"
#include "app/SurveyDocument.h"
#include "views/PlotImage.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
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

WindowOutput::WindowOutput(CKestrixApp& app) : QObject(app.MainFrame()), m_app(app)
{
    CMainFrame& frame = *app.MainFrame();
    m_savePlot = new QAction(QStringLiteral("Save P&lot As..."), &frame);
    m_savePlot->setData(ID_FILE_SAVE_PLOT);
    m_savePlot->setStatusTip(QStringLiteral("Save the active plot as a PNG or SVG picture"));
    connect(m_savePlot, &QAction::triggered, this, &WindowOutput::SavePlotAs);
    QAction* print = frame.Action(ID_FILE_PRINT);
    connect(print, &QAction::triggered, this, &WindowOutput::Print);

    // After the export item, in the File menu that a survey brings.
    QMenu* file = frame.Menus(MenuBar::Survey).front();
    const QList<QAction*> items = file->actions();
    const qsizetype exportAt = items.indexOf(frame.Action(ID_FILE_EXPORT));
    QAction* before = exportAt >= 0 && exportAt + 1 < items.size() ? items[exportAt + 1] : nullptr;
    file->insertActions(before, {m_savePlot, print});
    connect(file, &QMenu::aboutToShow, this, &WindowOutput::UpdateActions);
    connect(frame.MdiArea(), &QMdiArea::subWindowActivated, this, &WindowOutput::UpdateActions);
    UpdateActions();
}

void WindowOutput::UpdateActions() { m_savePlot->setEnabled(ActivePlot(*m_app.MainFrame()) != nullptr); }

void WindowOutput::SavePlotAs()
{
    CMainFrame* frame = m_app.MainFrame();
    const PlotKind* kind = ActivePlot(*frame);
    if (!kind)
        return;
    CChildFrame* window = frame->ActiveFrame();
    SurveyDocument& document = window->Document();
    UserPrompts& prompts = m_app.Prompts();
    const std::optional<QString> path = prompts.PlotFileName(frame, DefaultPicturePath(document, *kind));
    if (!path)
        return;
    if (!PictureFormatOf(*path)) {
        prompts.ShowMessage(frame, QStringLiteral("A plot picture is a .png or .svg file\n  %1").arg(*path));
        return;
    }
    const std::optional<QSize> size = prompts.PlotPictureSize(frame, window->widget()->size());
    if (!size)
        return;
    const QString failure = WritePlotPicture(*kind, *document.Doc(), *size, *path, &document.Plots());
    if (!failure.isEmpty())
        prompts.ShowMessage(frame, failure);
}

void WindowOutput::Print()
{
    CMainFrame* frame = m_app.MainFrame();
    CChildFrame* window = frame->ActiveFrame();
    if (!window || !window->widget())
        return;
    // Screen resolution: the plots' one-pixel lines stay visible on paper.
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setDocName(window->windowTitle());
    if (!m_app.Prompts().SetUpPrinter(frame, printer))
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        m_app.Prompts().ShowMessage(frame, QStringLiteral("Failed to print\n  %1").arg(window->windowTitle()));
        return;
    }
    const survey::CKestrixDoc& doc = *window->Document().Doc();
    if (const PlotKind* kind = KindOf(window->widget()))
        PrintPlot(painter, *kind, doc, window->widget()->size(), &window->Document().Plots());
    else
        PrintListing(painter, printer, doc);
    if (!painter.end())
        m_app.Prompts().ShowMessage(frame, QStringLiteral("Failed to print\n  %1").arg(window->windowTitle()));
}

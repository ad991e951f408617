#include "app/KestrixApp.h"

#include "app/AppIcon.h"
#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/ControlPointsDlg.h"
#include "app/HelpDlg.h"
#include "app/DocTemplate.h"
#include "app/GoToDepth.h"
#include "app/FixedScalesSetting.h"
#include "app/MainFrame.h"
#include "app/ProgramInfo.h"
#include "app/SavedEdits.h"
#include "app/StatusProgress.h"
#include "app/SurveyDocument.h"
#include "app/WindowOutput.h"
#include "startup/FilePaths.h"
#include "survey/HoleName.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"
#include "survey/ResultsExport.h"
#include "survey/XyzExport.h"
#include "views/CKestrixView.h"
#include "views/Cursors.h"
#include "views/PlotViews.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

using namespace survey;

namespace {

// The rows a new listing shows: those last chosen in any survey.
const QString kEveryReadingKey = QStringLiteral("Listing/EveryReading");

ListedRows RowsLastChosen()
{
    const QSettings settings(kProgramMaker, kProgramName);
    return settings.value(kEveryReadingKey, false).toBool() ? ListedRows::EveryReading : ListedRows::TenMetreSteps;
}

template <typename View>
CDocTemplate::ViewFactory FactoryOf()
{
    return [](SurveyDocument& document, ViewServices& services) -> QWidget* {
        return new View(*document.Doc(), services);
    };
}

// The depth plots of a survey share its depth window.
template <typename View>
CDocTemplate::ViewFactory PlotFactoryOf()
{
    return [](SurveyDocument& document, ViewServices& services) -> QWidget* {
        return new View(document, services, &document.Plots());
    };
}

// Where a survey's window stands among its windows: the listing, then the
// inclination, azimuth, magnetic and quality plots, the plan and the section.
constexpr int kQualityRank = 4;
constexpr int kPlanRank = 5;
constexpr int kSectionRank = 6;
int WindowRank(const CChildFrame* frame)
{
    const QWidget* view = frame->widget();
    if (qobject_cast<const CInclView*>(view))
        return 1;
    if (qobject_cast<const CAzView*>(view))
        return 2;
    if (qobject_cast<const CMagView*>(view))
        return 3;
    if (qobject_cast<const CQcView*>(view))
        return kQualityRank;
    if (qobject_cast<const CPlanView*>(view))
        return kPlanRank;
    if (qobject_cast<const CSectionView*>(view))
        return kSectionRank;
    return 0;
}

} // namespace

CKestrixApp::CKestrixApp() = default;

CKestrixApp::~CKestrixApp()
{
    // The windows go before the surveys they show.
    m_mainFrame.reset();
}

void CKestrixApp::SetPrompts(UserPrompts* prompts)
{
    m_prompts = prompts ? prompts : &m_defaultPrompts;
}

bool CKestrixApp::InitInstance(const QStringList& arguments)
{
    // The settings store keeps the recent files, the spike finder's settings
    // and the choice of fixed scales.
    m_recentFiles.Load();
    m_quality.LoadSettings();
    m_fixedScales = LoadFixedScales();

    // The listing's template opens every file and brings the survey menu; the
    // plot windows' templates bring nothing.
    CDocTemplate* listing = m_docManager.AddDocTemplate(
        std::make_unique<CDocTemplate>(FactoryOf<CKestrixView>(), true, DocumentIcon()));
    if (!listing)
        return false;
    m_pInclTemplate = m_docManager.AddDocTemplate(std::make_unique<CDocTemplate>(PlotFactoryOf<CInclView>(), false));
    m_pAzTemplate = m_docManager.AddDocTemplate(std::make_unique<CDocTemplate>(PlotFactoryOf<CAzView>(), false));
    m_pMagTemplate = m_docManager.AddDocTemplate(std::make_unique<CDocTemplate>(PlotFactoryOf<CMagView>(), false));
    m_pQcTemplate = m_docManager.AddDocTemplate(std::make_unique<CDocTemplate>(PlotFactoryOf<CQcView>(), false));
    m_pPlanTemplate = m_docManager.AddDocTemplate(std::make_unique<CDocTemplate>(PlotFactoryOf<CPlanView>(), false));
    m_pSectionTemplate =
        m_docManager.AddDocTemplate(std::make_unique<CDocTemplate>(PlotFactoryOf<CSectionView>(), false));

    m_hControlCursor = MakeControlCursor();
    m_hDeleteCursor = MakeDeleteCursor();
    m_hTargetCursor = MakeTargetCursor();

    m_mainFrame = std::make_unique<CMainFrame>();
    if (!m_mainFrame->LoadFrame()) {
        m_mainFrame.reset();
        return false;
    }
    m_mainFrame->setWindowIcon(ProgramIcon());
    m_mainFrame->SetCommandHost(this);
    connect(m_mainFrame.get(), &CMainFrame::filesDropped, this, [this](const QStringList& paths) {
        for (const QString& path : paths)
            OpenDocumentFile(path);
    });
    m_mainFrame->setAcceptDrops(true);
    connect(m_mainFrame->MdiArea(), &QMdiArea::subWindowActivated, this, &CKestrixApp::ShowReferenceCheck);
    RefreshRecentFiles();

    const QString file = FileArgument(arguments);
    if (!file.isEmpty() && !OpenDocumentFile(file))
        return false;

    m_mainFrame->show();
    m_pStatusBar = m_mainFrame->statusBar();
    return true;
}

QString CKestrixApp::FileArgument(const QStringList& arguments)
{
    bool switchesEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!switchesEnded && argument == QStringLiteral("--")) {
            switchesEnded = true;
            continue;
        }
        if (switchesEnded || !argument.startsWith(QLatin1Char('-')))
            return argument;
    }
    return QString();
}

const CKestrixDoc* CKestrixApp::OpenDocumentFile(const QString& path)
{
    SurveyDocument* document = OpenSurvey(path);
    if (m_mainFrame)
        m_mainFrame->Tile();
    return document ? document->Doc() : nullptr;
}

SurveyDocument* CKestrixApp::OpenSurvey(const QString& path)
{
    CDocTemplate* listing = m_docManager.FirstTemplate();
    if (!m_mainFrame || !listing)
        return nullptr;
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!info.exists()) {
        m_prompts->ShowMessage(m_mainFrame.get(), tr("Cannot find the file\n  %1").arg(shown));
        return nullptr;
    }
    const QString absolute = info.absoluteFilePath();
    const QString canonical = info.canonicalFilePath();
    if (SurveyDocument* open = m_docManager.FindOpen(canonical)) {
        if (!open->Frames().empty())
            m_mainFrame->ActivateFrame(open->Frames().front());
        return open;
    }
    // Only a regular file: a FIFO or device would hold up the window.
    FileLineSource source(ToFilePath(absolute), textio::ReadFrom::RegularFileOnly);
    if (source.Fault() == textio::OpenFault::NotARegularFile) {
        m_prompts->ShowMessage(m_mainFrame.get(),
                               tr("Failed to open\n  %1\nIt is not a regular file.").arg(shown));
        return nullptr;
    }
    if (!source.IsOpen()) {
        m_prompts->ShowMessage(m_mainFrame.get(), tr("Failed to open\n  %1").arg(shown));
        return nullptr;
    }

    SurveyDocument* document = m_docManager.AddDocument(std::make_unique<SurveyDocument>(absolute, canonical));
    connect(document, &SurveyDocument::plotWindowsWanted, this, &CKestrixApp::OpenPlotWindows);
    // Every recalculation moves the medians.
    connect(document, &SurveyDocument::viewsUpdated, this, [this, document] {
        if (ActiveDocument() == document)
            ShowReferenceCheck();
    });
    document->Plots().SetSpikes(m_quality.Settings());
    document->Plots().SetFixedScales(m_fixedScales);
    document->SetCloseQuestion([this](SurveyDocument& asked) { return AskToSaveBeforeClose(asked); });
    CChildFrame* frame = CreateFrame(*listing, *document);
    // A failed load has shown its message; the survey stays open in its
    // listing window with what was read, read-only, and its file is not
    // offered again in the recent-file list.
    MessageBoxSink sink(*m_prompts, m_mainFrame.get());
    LoadResult result = LoadResult::Cancelled;
    {
        StatusProgress progress(*m_mainFrame->statusBar(), tr("Opening %1").arg(info.fileName()));
        result = document->Load(ToFilePath(absolute), source, sink, &progress);
    }
    if (result == LoadResult::Cancelled) {
        // Stopped by the user: the survey goes without a word but this.
        document->CloseAllFrames();
        m_mainFrame->SetPaneText(0, tr("Opening cancelled"));
        return nullptr;
    }
    std::optional<QString> restored;
    if (result == LoadResult::Loaded || result == LoadResult::LoadedOverLimit) {
        m_recentFiles.Add(absolute);
        restored = RestoreSavedEdits(*document, *m_prompts, m_mainFrame.get());
    } else {
        document->MarkLoadFailed();
        m_recentFiles.Remove(absolute);
    }
    RefreshRecentFiles();
    frame->show();
    m_mainFrame->ActivateFrame(frame);
    if (restored)
        m_mainFrame->SetPaneText(0, *restored);
    return document;
}

CChildFrame* CKestrixApp::CreateFrame(const CDocTemplate& docTemplate, SurveyDocument& document)
{
    CChildFrame* frame = docTemplate.CreateNewFrame(document, *this);
    if (auto* listing = qobject_cast<CKestrixView*>(frame->widget()))
        listing->SetListedRows(RowsLastChosen());
    m_mainFrame->AddFrame(frame);
    return frame;
}

// The inclination, azimuth and magnetic windows, in that order.
void CKestrixApp::OpenPlotWindows(SurveyDocument* document)
{
    for (const CDocTemplate* plot : {m_pInclTemplate, m_pAzTemplate, m_pMagTemplate})
        CreateFrame(*plot, *document)->show();
}

// Each plot window the survey lacks (the quality plot aside, which has its
// own item), made in its place among the survey's windows, showing the
// survey as it is now; then every window tiled.
void CKestrixApp::ShowAllViews()
{
    SurveyDocument* document = EditableDocument();
    if (!document)
        return;
    CChildFrame* active = m_mainFrame->ActiveFrame();
    const std::pair<int, const CDocTemplate*> plots[] = {
        {1, m_pInclTemplate}, {2, m_pAzTemplate}, {3, m_pMagTemplate}, {kPlanRank, m_pPlanTemplate},
        {kSectionRank, m_pSectionTemplate}};
    for (const auto& [rank, plot] : plots) {
        const std::vector<CChildFrame*> frames = document->Frames();
        if (std::none_of(frames.begin(), frames.end(), [&](const CChildFrame* f) { return WindowRank(f) == rank; }))
            CreateFrame(*plot, *document)->show();
    }
    document->OrderFrames(WindowRank);
    m_mainFrame->ActivateFrame(active);
    m_mainFrame->Tile();
}

void CKestrixApp::TogglePlotWindow(int rank, const CDocTemplate& docTemplate)
{
    SurveyDocument* document = EditableDocument();
    if (!document)
        return;
    for (CChildFrame* frame : document->Frames()) {
        if (WindowRank(frame) == rank) {
            frame->close();
            return;
        }
    }
    CChildFrame* active = m_mainFrame->ActiveFrame();
    CreateFrame(docTemplate, *document)->show();
    document->OrderFrames(WindowRank);
    m_mainFrame->ActivateFrame(active);
    m_mainFrame->Tile();
}

void CKestrixApp::ToggleQualityView() { TogglePlotWindow(kQualityRank, *m_pQcTemplate); }

void CKestrixApp::TogglePlanView() { TogglePlotWindow(kPlanRank, *m_pPlanTemplate); }

void CKestrixApp::ToggleSectionView() { TogglePlotWindow(kSectionRank, *m_pSectionTemplate); }

void CKestrixApp::ToggleEveryReading()
{
    SurveyDocument* document = EditableDocument();
    CKestrixView* listing = document ? document->Listing() : nullptr;
    if (!listing)
        return;
    const bool every = listing->ListedRows() != ListedRows::EveryReading;
    listing->SetListedRows(every ? ListedRows::EveryReading : ListedRows::TenMetreSteps);
    QSettings(kProgramMaker, kProgramName).setValue(kEveryReadingKey, every);
    m_mainFrame->UpdateCommandUI();
}

SurveyDocument* CKestrixApp::ActiveDocument() const
{
    const CChildFrame* frame = m_mainFrame ? m_mainFrame->ActiveFrame() : nullptr;
    return frame ? &frame->Document() : nullptr;
}

SurveyDocument* CKestrixApp::EditableDocument() const
{
    SurveyDocument* document = ActiveDocument();
    return document && !document->IsReadOnly() ? document : nullptr;
}

void CKestrixApp::ShowReferenceCheck()
{
    const SurveyDocument* document = EditableDocument();
    SetPaneText(CMainFrame::kReferencePane, document ? m_quality.ReferenceText(*document->Doc()) : QString());
}

void CKestrixApp::SetPaneText(int pane, const QString& text)
{
    if (m_mainFrame)
        m_mainFrame->SetPaneText(pane, text);
}

// The survey comes forward so the user sees which one is asked about.
bool CKestrixApp::AskToSaveBeforeClose(SurveyDocument& document)
{
    if (!document.Frames().empty())
        m_mainFrame->ActivateFrame(document.Frames().front());
    return AskToSaveEdits(document, *m_prompts, m_mainFrame.get());
}

void CKestrixApp::OpenHandedOverFiles(const QStringList& paths)
{
    if (m_mainFrame->isMinimized())
        m_mainFrame->showNormal();
    m_mainFrame->raise();
    m_mainFrame->activateWindow();
    for (const QString& path : paths)
        OpenDocumentFile(path);
}

void CKestrixApp::RefreshRecentFiles()
{
    if (m_mainFrame)
        m_mainFrame->SetRecentFiles(m_recentFiles.Paths());
}

void CKestrixApp::OpenFile()
{
    if (const std::optional<QString> path = m_prompts->OpenFileName(m_mainFrame.get()))
        OpenDocumentFile(*path);
}

// A listed file that cannot be opened any more leaves the list.
void CKestrixApp::OpenRecentFile(int index)
{
    if (index < 0 || index >= m_recentFiles.Paths().size())
        return;
    const QString path = m_recentFiles.Paths()[index];
    if (OpenDocumentFile(path))
        return;
    m_recentFiles.Remove(path);
    RefreshRecentFiles();
}

void CKestrixApp::CloseSurvey()
{
    if (SurveyDocument* active = ActiveDocument())
        active->Close();
}

void CKestrixApp::SaveEdits()
{
    if (SurveyDocument* active = ActiveDocument())
        ::SaveEdits(*active, *m_prompts, m_mainFrame.get());
}

void CKestrixApp::SaveEditsAs()
{
    if (SurveyDocument* active = ActiveDocument())
        ::SaveEditsAs(*active, *m_prompts, m_mainFrame.get());
}

void CKestrixApp::ExportSurvey() { ExportXyz(false); }

void CKestrixApp::ExportAnomalies() { ExportXyz(true); }

void CKestrixApp::ToggleGridFrame()
{
    if (SurveyDocument* active = EditableDocument())
        active->SetExportFrame(active->ExportFrame() == ComponentFrame::Grid ? ComponentFrame::Magnetic
                                                                            : ComponentFrame::Grid);
}

void CKestrixApp::ToggleXyzDepthColumn()
{
    if (SurveyDocument* active = EditableDocument())
        active->SetExportDepthColumn(!active->ExportsDepthColumn());
}

void CKestrixApp::ExportXyz(bool anomalies)
{
    SurveyDocument* active = EditableDocument();
    if (!active)
        return; // what a failed load read is not a whole survey
    const CKestrixDoc& doc = *active->Doc();
    // The anomalies' file goes beside the components' file rather than over it.
    QString defaultPath = FromFilePath(DefaultExportPath(doc.m_strFilePath));
    if (anomalies) {
        const QFileInfo plain(defaultPath);
        defaultPath = plain.dir().filePath(plain.completeBaseName() + QStringLiteral("-anomalies.xyz"));
    }
    const std::optional<QString> chosen = m_prompts->ExportFileName(m_mainFrame.get(), defaultPath);
    if (!chosen)
        return;
    const std::string path = ToFilePath(*chosen);
    ExportOptions options{.frame = active->ExportFrame(), .anomalies = anomalies,
                          .depthColumn = active->ExportsDepthColumn()};
    options.lineName = doc.m_holeName;
    const ExportResult result = WriteWithProgress(
        path, [&](textio::Progress& progress) { return WriteXyzFile(doc, path, options, &progress); });
    if (result == ExportResult::Cancelled)
        return;
    if (result != ExportResult::Ok)
        m_prompts->ShowMessage(m_mainFrame.get(), FromFilePath(ExportFailureMessage(result, path)));
    else if (const std::string warning = ExportWarning(doc); !warning.empty())
        m_prompts->ShowMessage(m_mainFrame.get(), FromFilePath(warning));
}

ExportResult CKestrixApp::WriteWithProgress(const std::string& path,
                                            const std::function<ExportResult(textio::Progress&)>& write)
{
    ExportResult result = ExportResult::Cancelled;
    {
        StatusProgress progress(*m_mainFrame->statusBar(),
                                tr("Writing %1").arg(QFileInfo(FromFilePath(path)).fileName()));
        result = write(progress);
    }
    if (result == ExportResult::Cancelled)
        m_mainFrame->SetPaneText(0, tr("Export cancelled: no file written"));
    return result;
}

void CKestrixApp::ExportResults()
{
    SurveyDocument* active = EditableDocument();
    if (!active)
        return; // what a failed load read is not a whole survey
    const CKestrixDoc& doc = *active->Doc();
    const QString defaultPath = FromFilePath(DefaultResultsPath(doc.m_strFilePath, ResultsFormat::Csv));
    const std::optional<ResultsFileChoice> chosen = m_prompts->ResultsFileName(m_mainFrame.get(), defaultPath);
    if (!chosen)
        return;
    const std::string path = ToFilePath(chosen->path);
    const ExportResult result = WriteWithProgress(path, [&](textio::Progress& progress) {
        return WriteResultsFile(doc, path, chosen->format, m_quality.Settings(), &progress);
    });
    if (result != ExportResult::Ok && result != ExportResult::Cancelled)
        m_prompts->ShowMessage(m_mainFrame.get(),
                               FromFilePath(ExportFailureMessage(result, path, ResultsFormatName(chosen->format))));
}

void CKestrixApp::SavePlot() { SaveActivePlot(*m_mainFrame, *m_prompts); }

void CKestrixApp::SaveReport() { SaveActiveReport(*m_mainFrame, *m_prompts); }

void CKestrixApp::PrintWindow() { PrintActiveWindow(*m_mainFrame, *m_prompts); }

void CKestrixApp::Exit() { m_mainFrame->close(); }

void CKestrixApp::GoToDepth()
{
    if (SurveyDocument* document = EditableDocument())
        ::GoToDepth(*document, *m_prompts, m_mainFrame.get());
}

void CKestrixApp::CopyRows()
{
    if (CKestrixView* listing = m_mainFrame->ActiveListing())
        listing->Copy();
}

void CKestrixApp::EditSurvey(const EditOperation& op)
{
    if (SurveyDocument* active = ActiveDocument())
        active->Apply(op);
}

void CKestrixApp::ToggleLocalFit()
{
    if (SurveyDocument* document = EditableDocument())
        QualityCommands::ToggleLocalFit(*document);
}

void CKestrixApp::DeleteFlaggedReadings()
{
    SurveyDocument* document = EditableDocument();
    if (!document)
        return;
    const QString count = m_quality.DeleteFlaggedReadings(*document);
    // The closing menu puts "Ready" in the message pane once events are
    // handled; the count follows it.
    QMetaObject::invokeMethod(this, [this, count] { SetPaneText(0, count); }, Qt::QueuedConnection);
}

void CKestrixApp::EditSpikeSettings()
{
    if (m_quality.EditSettings(*m_prompts, m_mainFrame.get(), m_docManager.Documents(), EditableDocument()))
        ShowReferenceCheck();
}

void CKestrixApp::EditSite()
{
    SurveyDocument* document = EditableDocument();
    if (!document)
        return;
    if (const std::optional<Site> site = m_prompts->EditSite(m_mainFrame.get(), *document->Doc()))
        document->Apply(edit::SetSite{*site});
}

void CKestrixApp::EditHoleName()
{
    SurveyDocument* document = EditableDocument();
    if (!document)
        return;
    const std::optional<QString> typed =
        m_prompts->EditHoleName(m_mainFrame.get(), QString::fromStdString(document->Doc()->m_holeName));
    if (!typed)
        return;
    const std::string name = typed->toStdString();
    if (const std::string problem = name.empty() ? std::string() : HoleNameProblem(name); !problem.empty()) {
        m_prompts->ShowMessage(m_mainFrame.get(), tr("The hole keeps its name: %1").arg(QString::fromStdString(problem)));
        return;
    }
    document->Apply(edit::SetHoleName{name});
}

void CKestrixApp::ToggleMinimumCurvature()
{
    if (SurveyDocument* document = EditableDocument()) {
        const bool arcs = document->Doc()->m_trajectory == TrajectoryMethod::MinimumCurvature;
        document->Apply(edit::SetTrajectory{arcs ? TrajectoryMethod::AverageAngle : TrajectoryMethod::MinimumCurvature});
    }
}

void CKestrixApp::EditControlPoints()
{
    if (SurveyDocument* document = EditableDocument()) {
        ControlPointsDlg dialog(*document, *m_prompts, m_mainFrame.get());
        dialog.exec();
    }
}

void CKestrixApp::ToggleToolBar() { m_mainFrame->ToolBar()->setVisible(m_mainFrame->ToolBar()->isHidden()); }

void CKestrixApp::ToggleStatusBar() { m_mainFrame->statusBar()->setVisible(m_mainFrame->statusBar()->isHidden()); }

void CKestrixApp::ZoomToWholeHole()
{
    if (SurveyDocument* active = ActiveDocument())
        active->Plots().ShowWholeHole();
}

void CKestrixApp::ToggleFixedScales()
{
    m_fixedScales = !m_fixedScales;
    SaveFixedScales(m_fixedScales);
    for (SurveyDocument* document : m_docManager.Documents())
        document->Plots().SetFixedScales(m_fixedScales);
}

void CKestrixApp::ToggleAnomalies()
{
    if (SurveyDocument* active = ActiveDocument())
        active->Plots().SetComponentsAsAnomalies(!active->Plots().ComponentsAsAnomalies());
}

void CKestrixApp::CascadeWindows() { m_mainFrame->Cascade(); }

void CKestrixApp::TileWindows() { m_mainFrame->Tile(); }

void CKestrixApp::ArrangeIcons() { m_mainFrame->ArrangeIcons(); }

void CKestrixApp::ShowAbout() { m_prompts->ShowAbout(m_mainFrame.get()); }

// One guide window, brought forward when asked for again.
void CKestrixApp::ShowHelp()
{
    if (!m_help)
        m_help = new HelpDlg(m_mainFrame.get());
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

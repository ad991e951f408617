#include "app/KestrixApp.h"

#include "app/AppIcon.h"
#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/DocTemplate.h"
#include "app/MainFrame.h"
#include "app/SurveyDocument.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"
#include "survey/XyzExport.h"
#include "views/CKestrixView.h"
#include "views/Cursors.h"
#include "views/PlotViews.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QStatusBar>

using namespace survey;

namespace {

template <typename View>
CDocTemplate::ViewFactory FactoryOf()
{
    return [](CKestrixDoc* doc, ViewServices* services, QWidget* parent) -> QWidget* {
        return new View(doc, services, parent);
    };
}

} // namespace

CKestrixApp::CKestrixApp() = default;

CKestrixApp::~CKestrixApp()
{
    // The windows go before the surveys they show.
    m_pMainWnd.reset();
}

void CKestrixApp::SetPrompts(UserPrompts* prompts)
{
    m_prompts = prompts ? prompts : &m_defaultPrompts;
}

bool CKestrixApp::InitInstance(const QStringList& arguments)
{
    // The settings live under Ardencroft / Kestrix; only the recent files are kept.
    m_recentFiles.Load();

    CDocTemplate* listing = m_docManager.AddDocTemplate(
        std::make_unique<CDocTemplate>(129, FactoryOf<CKestrixView>(), true, DocumentIcon()));
    if (!listing)
        return false;
    m_pInclTemplate =
        m_docManager.AddDocTemplate(std::make_unique<CDocTemplate>(130, FactoryOf<CInclView>(), false));
    m_pAzTemplate =
        m_docManager.AddDocTemplate(std::make_unique<CDocTemplate>(130, FactoryOf<CAzView>(), false));
    m_pMagTemplate =
        m_docManager.AddDocTemplate(std::make_unique<CDocTemplate>(130, FactoryOf<CMagView>(), false));

    m_hControlCursor = MakeControlCursor();
    m_hDeleteCursor = MakeDeleteCursor();
    m_hTargetCursor = MakeTargetCursor();

    m_pMainWnd = std::make_unique<CMainFrame>();
    if (!m_pMainWnd->LoadFrame()) {
        m_pMainWnd.reset();
        return false;
    }
    m_pMainWnd->setWindowIcon(ProgramIcon());
    connect(m_pMainWnd.get(), &CMainFrame::command, this, &CKestrixApp::OnCommand);
    connect(m_pMainWnd.get(), &CMainFrame::filesDropped, this, [this](const QStringList& paths) {
        for (const QString& path : paths)
            OpenDocumentFile(path);
    });
    m_pMainWnd->setAcceptDrops(true);
    RefreshRecentFiles();

    const QString file = FileArgument(arguments);
    if (!file.isEmpty() && !OpenDocumentFile(file))
        return false;

    m_pMainWnd->show();
    m_pStatusBar = m_pMainWnd->statusBar();
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

CKestrixDoc* CKestrixApp::OpenDocumentFile(const QString& path)
{
    SurveyDocument* document = OpenSurvey(path);
    if (m_pMainWnd)
        m_pMainWnd->Tile();
    return document ? document->Doc() : nullptr;
}

SurveyDocument* CKestrixApp::OpenSurvey(const QString& path)
{
    CDocTemplate* listing = m_docManager.FirstTemplate();
    if (!m_pMainWnd || !listing)
        return nullptr;
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!info.exists()) {
        m_prompts->ShowMessage(m_pMainWnd.get(), QStringLiteral("Cannot find the file\n  %1").arg(shown));
        return nullptr;
    }
    const QString absolute = info.absoluteFilePath();
    const QString canonical = info.canonicalFilePath();
    if (SurveyDocument* open = m_docManager.FindOpen(canonical)) {
        if (!open->Frames().empty())
            m_pMainWnd->ActivateFrame(open->Frames().front());
        return open;
    }
    FileLineSource source(ToCorePath(absolute));
    if (!info.isFile() || !source.IsOpen()) {
        m_prompts->ShowMessage(m_pMainWnd.get(), QStringLiteral("Failed to open\n  %1").arg(shown));
        return nullptr;
    }

    SurveyDocument* document = m_docManager.AddDocument(
        std::make_unique<SurveyDocument>(*this, m_docManager, absolute, canonical));
    CChildFrame* frame = CreateFrame(*listing, *document);
    // A failed load has shown its message; the survey stays open in its
    // listing window with what was read, read-only, and its file is not
    // offered again in the recent-file list.
    MessageBoxSink sink(*m_prompts, m_pMainWnd.get());
    const LoadResult result = document->Doc()->LoadRawSurvey(ToCorePath(absolute), source, sink);
    if (result == LoadResult::Loaded || result == LoadResult::LoadedOverLimit) {
        m_recentFiles.Add(absolute);
    } else {
        document->MarkLoadFailed();
        m_recentFiles.Remove(absolute);
    }
    RefreshRecentFiles();
    frame->show();
    m_pMainWnd->ActivateFrame(frame);
    return document;
}

CChildFrame* CKestrixApp::CreateFrame(CDocTemplate& docTemplate, SurveyDocument& document)
{
    CChildFrame* frame = docTemplate.CreateNewFrame(document, *m_pMainWnd->MdiArea(), *this);
    m_pMainWnd->AddFrame(frame);
    return frame;
}

SurveyDocument* CKestrixApp::ActiveDocument() const
{
    const CChildFrame* frame = m_pMainWnd ? m_pMainWnd->ActiveFrame() : nullptr;
    return frame ? &frame->Document() : nullptr;
}

void CKestrixApp::SetPaneText(int pane, const QString& text)
{
    if (m_pMainWnd)
        m_pMainWnd->SetPaneText(pane, text);
}

void CKestrixApp::OnCommand(int id)
{
    SurveyDocument* active = ActiveDocument();
    SurveyDocument* editable = active && !active->IsReadOnly() ? active : nullptr;
    if (id >= ID_FILE_MRU_FIRST && id <= ID_FILE_MRU_LAST) {
        OnRecentFile(id - ID_FILE_MRU_FIRST);
    } else if (!editable || !editable->Doc()->OnCommand(id)) {
        switch (id) {
        case ID_FILE_OPEN: OnFileOpen(); break;
        case ID_FILE_CLOSE:
            if (active)
                active->CloseAllFrames();
            break;
        case ID_FILE_EXPORT: OnFileExport(); break;
        case ID_APP_ABOUT: m_prompts->ShowAbout(m_pMainWnd.get()); break;
        case ID_APP_EXIT: m_pMainWnd->close(); break;
        default: break;
        }
    }
    if (m_pMainWnd)
        m_pMainWnd->UpdateCommandUI();
}

void CKestrixApp::OnFileOpen()
{
    if (const std::optional<QString> path = m_prompts->OpenFileName(m_pMainWnd.get()))
        OpenDocumentFile(*path);
}

void CKestrixApp::OnFileExport()
{
    SurveyDocument* active = ActiveDocument();
    if (!active || active->IsReadOnly())
        return; // what a failed load read is not a whole survey
    CKestrixDoc& doc = *active->Doc();
    const QString defaultPath = FromCoreText(DefaultExportPath(doc.m_strFilePath));
    const std::optional<QString> chosen = m_prompts->ExportFileName(m_pMainWnd.get(), defaultPath);
    if (!chosen)
        return;
    const std::string path = ToCorePath(*chosen);
    const ExportResult result = WriteXyzFile(doc, path);
    if (result != ExportResult::Ok)
        m_prompts->ShowMessage(m_pMainWnd.get(), FromCoreText(ExportFailureMessage(result, path)));
}

// A listed file that cannot be opened any more leaves the list.
void CKestrixApp::OnRecentFile(int index)
{
    if (index < 0 || index >= m_recentFiles.Paths().size())
        return;
    const QString path = m_recentFiles.Paths()[index];
    if (OpenDocumentFile(path))
        return;
    m_recentFiles.Remove(path);
    RefreshRecentFiles();
}

void CKestrixApp::RefreshRecentFiles()
{
    if (m_pMainWnd)
        m_pMainWnd->SetRecentFiles(m_recentFiles.Paths());
}

#pragma once

#include "app/CommandHost.h"
#include "app/DocManager.h"
#include "app/QualityCommands.h"
#include "app/RecentFileList.h"
#include "app/UserPrompts.h"
#include "views/ViewServices.h"

#include <QCursor>
#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

class CChildFrame;
class CDocTemplate;
class CMainFrame;
class QStatusBar;
class SurveyDocument;
namespace survey {
enum class ExportResult;
} // namespace survey
namespace textio {
class Progress;
} // namespace textio

// The application: the document templates, the editing cursors, the
// main frame and its status bar, the recent-file list. Every file is opened
// through OpenDocumentFile, and every edit of a survey, from the Edit menu or
// a view, reaches it through the survey's SurveyDocument::Apply. The views
// reach the status bar and the cursors through it (ViewServices); the main
// window's commands reach it as their host (CommandHost).
class CKestrixApp : public QObject, public ViewServices, private CommandHost {
    Q_OBJECT
public:
    CKestrixApp();
    ~CKestrixApp() override;

    // Uses `prompts` for every dialog and message box from now on (not owned;
    // nullptr goes back to the real dialogs).
    void SetPrompts(UserPrompts* prompts);

    // Start-up: settings, templates, cursors, main frame, then the file named
    // by `arguments` (program name first) if any. False when the program must
    // end: the main frame could not be built or the named file not opened.
    bool InitInstance(const QStringList& arguments);

    // Opens the raw survey file at `path` (an open one is only brought
    // forward), then tiles all windows. The survey, or none when the file
    // could not be opened at all; a survey whose loading failed stays open in
    // its listing window.
    const survey::CKestrixDoc* OpenDocumentFile(const QString& path);
    // Files that a later start of the program handed over: the main window
    // comes forward and opens each in turn.
    void OpenHandedOverFiles(const QStringList& paths);

    // The file named on a command line: the first argument after the program
    // name that is not a switch ("-" in front), or empty.
    static QString FileArgument(const QStringList& arguments);

    CMainFrame* MainFrame() const { return m_mainFrame.get(); }
    QStatusBar* StatusBar() const { return m_pStatusBar; }
    const CDocManager& DocManager() const { return m_docManager; }
    const RecentFileList& RecentFiles() const { return m_recentFiles; }
    // The survey of the active window, or none.
    SurveyDocument* ActiveDocument() const;
    // The dialogs and message boxes in use.
    UserPrompts& Prompts() const { return *m_prompts; }
    // The quality control items' settings.
    const QualityCommands& Quality() const { return m_quality; }

    void SetPaneText(int pane, const QString& text) override;
    QCursor DeleteCursor() const override { return m_hDeleteCursor; }
    QCursor TargetCursor() const override { return m_hTargetCursor; }
    QCursor ControlCursor() const override { return m_hControlCursor; }

private:
    // CommandHost
    void OpenFile() override;
    void OpenRecentFile(int index) override;
    void CloseSurvey() override;
    void SaveEdits() override;
    void SaveEditsAs() override;
    void ExportSurvey() override;
    void ExportAnomalies() override;
    void ToggleGridFrame() override;
    void ToggleXyzDepthColumn() override;
    void ExportResults() override;
    void SavePlot() override;
    void SaveReport() override;
    void PrintWindow() override;
    void Exit() override;
    void CopyRows() override;
    void GoToDepth() override;
    void EditSurvey(const survey::EditOperation& op) override;
    void ToggleLocalFit() override;
    void DeleteFlaggedReadings() override;
    void EditSpikeSettings() override;
    void EditSite() override;
    void EditHoleName() override;
    void ToggleMinimumCurvature() override;
    void EditControlPoints() override;
    void ToggleToolBar() override;
    void ToggleStatusBar() override;
    void ZoomToWholeHole() override;
    void ToggleFixedScales() override;
    void ToggleAnomalies() override;
    void ToggleQualityView() override;
    void TogglePlanView() override;
    void ToggleSectionView() override;
    void ToggleEveryReading() override;
    void CascadeWindows() override;
    void TileWindows() override;
    void ArrangeIcons() override;
    void ShowAllViews() override;
    void ShowAbout() override;
    void ShowHelp() override;

    SurveyDocument* OpenSurvey(const QString& path);
    // The active survey's XYZ file, in the frame it has chosen, as read or
    // as anomalies.
    void ExportXyz(bool anomalies);
    // Runs `write` (an export to `path`) with a progress bar in the status
    // bar; a cancelled one says so there.
    survey::ExportResult WriteWithProgress(const std::string& path,
                                           const std::function<survey::ExportResult(textio::Progress&)>& write);
    // The active survey against its reference field in the status bar, or
    // nothing there.
    void ShowReferenceCheck();
    // Closes the active survey's window of `rank` (WindowRank), or opens one
    // from `docTemplate` in its place and tiles the windows.
    void TogglePlotWindow(int rank, const CDocTemplate& docTemplate);
    void OpenPlotWindows(SurveyDocument* document);
    // The active survey, unless read-only.
    SurveyDocument* EditableDocument() const;
    CChildFrame* CreateFrame(const CDocTemplate& docTemplate, SurveyDocument& document);
    bool AskToSaveBeforeClose(SurveyDocument& document);
    void RefreshRecentFiles();

    // Declared first so that it outlives the main frame and every window.
    CDocManager m_docManager;
    // The plot windows' templates, which the manager owns.
    CDocTemplate* m_pInclTemplate = nullptr;
    CDocTemplate* m_pAzTemplate = nullptr;
    CDocTemplate* m_pMagTemplate = nullptr;
    CDocTemplate* m_pQcTemplate = nullptr;
    CDocTemplate* m_pPlanTemplate = nullptr;
    CDocTemplate* m_pSectionTemplate = nullptr;
    QCursor m_hDeleteCursor;
    QCursor m_hTargetCursor;
    QCursor m_hControlCursor;
    QStatusBar* m_pStatusBar = nullptr;
    RecentFileList m_recentFiles;
    QtUserPrompts m_defaultPrompts;
    UserPrompts* m_prompts = &m_defaultPrompts;
    QualityCommands m_quality;
    bool m_fixedScales = false; // View > Fixed Scales, kept between runs
    std::unique_ptr<CMainFrame> m_mainFrame;
    QPointer<QDialog> m_help; // the user guide's window, made when first asked for
};

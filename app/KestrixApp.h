#pragma once

#include "app/DocManager.h"
#include "app/RecentFileList.h"
#include "app/UserPrompts.h"
#include "views/ViewServices.h"

#include <QCursor>
#include <QObject>
#include <QStringList>
#include <memory>

class CChildFrame;
class CDocTemplate;
namespace survey {
class CKestrixDoc;
} // namespace survey

class CMainFrame;
class QStatusBar;
class SurveyDocument;

// The application: the four document templates, the editing cursors, the
// main frame and its status bar, the recent-file list. Every file is opened
// through OpenDocumentFile. The views reach the status bar and the cursors
// through it (ViewServices).
class CKestrixApp : public QObject, public ViewServices {
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
    survey::CKestrixDoc* OpenDocumentFile(const QString& path);

    // The file named on a command line: the first argument after the program
    // name that is not a switch ("-" in front), or empty.
    static QString FileArgument(const QStringList& arguments);

    CMainFrame* MainFrame() const { return m_pMainWnd.get(); }
    const CDocManager& DocManager() const { return m_docManager; }
    const RecentFileList& RecentFiles() const { return m_recentFiles; }
    // The survey of the active window, or none.
    SurveyDocument* ActiveDocument() const;
    // A new window from `docTemplate` on `document`, registered with the main frame.
    CChildFrame* CreateFrame(CDocTemplate& docTemplate, SurveyDocument& document);

    void SetPaneText(int pane, const QString& text) override;
    QCursor DeleteCursor() const override { return m_hDeleteCursor; }
    QCursor TargetCursor() const override { return m_hTargetCursor; }
    QCursor ControlCursor() const override { return m_hControlCursor; }

    // Templates 2 to 4: the plot windows the loader opens (owned by the manager).
    CDocTemplate* m_pInclTemplate = nullptr;
    CDocTemplate* m_pAzTemplate = nullptr;
    CDocTemplate* m_pMagTemplate = nullptr;
    QCursor m_hDeleteCursor;  // 132
    QCursor m_hTargetCursor;  // 133
    QCursor m_hControlCursor; // 134
    QStatusBar* m_pStatusBar = nullptr;

private:
    void OnCommand(int id);
    SurveyDocument* OpenSurvey(const QString& path);
    void OnFileOpen();
    void OnFileExport();
    void OnRecentFile(int index);
    void RefreshRecentFiles();

    // Declared first so that it outlives the main frame and every window.
    CDocManager m_docManager;
    RecentFileList m_recentFiles;
    QtUserPrompts m_defaultPrompts;
    UserPrompts* m_prompts = &m_defaultPrompts;
    std::unique_ptr<CMainFrame> m_pMainWnd;
};

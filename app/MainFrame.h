#pragma once

#include "app/CommandIds.h"
#include "survey/EditOperations.h"

#include <QMainWindow>
#include <QStringList>
#include <map>
#include <vector>

class CChildFrame;
class CKestrixView;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class UndoActions;

// The main window: the MDI area holding every survey window, the main and
// survey menu bars, the tool bar and the two-pane status bar. The edits of
// the Edit menu go out through editRequested, the other commands that the
// application handles through command(id); the window arrangement, the
// bars' visibility and Copy (the active listing's selected rows) are handled
// here. Which survey window is active is the MDI area's to say.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds the MDI area, actions, menus, tool bar and status bar.
    bool LoadFrame();

    QMdiArea* MdiArea() const { return m_area; }
    QToolBar* ToolBar() const { return m_toolBar; }
    // The action of command `id` (menus, tool bar, accelerators), or none.
    QAction* Action(int id) const;
    // The menu bar shown.
    MenuBar MenuShown() const { return m_menuShown; }
    // The top-level menus of menu bar `bar`, in bar order.
    const std::vector<QMenu*>& Menus(MenuBar bar) const;
    // The actions for the recent files, newest first (no placeholder).
    const std::vector<QAction*>& RecentFileActions() const { return m_recentActions; }

    // Sets status bar pane 0 (message) or 1 (depth) and shows it at once.
    void SetPaneText(int pane, const QString& text);
    QString PaneText(int pane) const;

    // Puts a new survey window in the MDI area, hidden until shown.
    void AddFrame(CChildFrame* frame);
    // Brings `frame` forward and makes it the active survey window.
    void ActivateFrame(CChildFrame* frame);
    // The active survey window, or the one last active while the program
    // is not; none without a survey window.
    CChildFrame* ActiveFrame() const;
    // The active survey window's listing, or none when that is a plot window.
    CKestrixView* ActiveListing() const;
    // Tiles all survey windows.
    void Tile();
    // Cascades all survey windows, each at a size fit to work in.
    void Cascade();

    // Shows `paths` (newest first) in both File menus, abbreviated.
    void SetRecentFiles(const QStringList& paths);
    // Enables, disables and checks every command for the current state.
    void UpdateCommandUI();

signals:
    // A command for the application.
    void command(int id);
    // An edit of the active survey, chosen in the Edit menu.
    void editRequested(const survey::EditOperation& op);
    // Files dropped on the window, in the order given.
    void filesDropped(const QStringList& paths);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The message pane's text when nothing else is shown.
    static QString ReadyText() { return QStringLiteral("Ready"); }

    QAction* AddCommand(int id, const QString& label, const QString& prompt, const QString& toolTip = QString());
    void CreateActions();
    void CreateEditsActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void ShowMenu(MenuBar bar);
    void OnSubWindowActivated(QMdiSubWindow* window);
    void OnFrameClosed();
    void ShowPrompt(const QString& prompt);
    void FillWindowList();
    void ArrangeIcons();
    std::vector<QMdiSubWindow*> ArrangedWindows() const;
    void UpdateTitle();
    void FollowActiveHistory();

    QMdiArea* m_area = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_depthPane = nullptr;
    UndoActions* m_undoActions = nullptr;
    std::map<int, QAction*> m_actions;
    std::vector<QMenu*> m_mainMenus;
    std::vector<QMenu*> m_surveyMenus;
    QMenu* m_mainFileMenu = nullptr;
    QMenu* m_surveyFileMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QAction* m_recentPlaceholder = nullptr;
    QAction* m_mainRecentEnd = nullptr; // separators closing the recent files section
    QAction* m_surveyRecentEnd = nullptr;
    std::vector<QAction*> m_recentActions;
    std::vector<QAction*> m_windowListActions;
    MenuBar m_menuShown = MenuBar::Main;
    bool m_tileOnShow = false;
};

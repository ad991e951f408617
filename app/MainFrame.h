#pragma once

#include "app/CommandIds.h"
#include "app/CommandTable.h"

#include <QMainWindow>
#include <QStringList>
#include <map>
#include <vector>

class CChildFrame;
class CKestrixView;
class CommandHost;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class UndoActions;

// The main window: the MDI area holding every survey window, the main and
// survey menu bars, the tool bar and the status bar (message, reference
// check, depth), all made from the command table (CommandTable.h); a chosen
// command goes to its handler in the command host. Which survey window is
// active is the MDI area's to say.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds the MDI area, actions, menus, tool bar and status bar.
    bool LoadFrame();
    // The commands go to `host` from now on (not owned; none: they do nothing).
    void SetCommandHost(CommandHost* host) { m_host = host; }

    QMdiArea* MdiArea() const { return m_area; }
    QToolBar* ToolBar() const { return m_toolBar; }
    // The action of command `id` (menus, tool bar, accelerators), or none.
    QAction* Action(int id) const;
    // The menu bar shown.
    MenuBar MenuShown() const { return m_menuShown; }
    // The top-level menus of menu bar `bar`, in bar order.
    const std::vector<QMenu*>& Menus(MenuBar bar) const;
    // The menu `id` of the command table.
    QMenu* Menu(MenuId id) const { return m_menus.at(id); }
    // The actions for the recent files, newest first (no placeholder).
    const std::vector<QAction*>& RecentFileActions() const { return m_recentActions; }

    // Sets status bar pane 0 (message), 1 (depth) or kReferencePane and
    // shows it at once; the reference pane shows only while it has text.
    static constexpr int kReferencePane = 2; // the active survey against its reference field
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
    // Puts the minimised survey windows in rows along the bottom of the area.
    void ArrangeIcons();

    // Shows `paths` (newest first) in both File menus, abbreviated.
    void SetRecentFiles(const QStringList& paths);
    // Enables, disables and checks every command for the current state.
    void UpdateCommandUI();

signals:
    // Files dropped on the window, in the order given.
    void filesDropped(const QStringList& paths);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The message pane's text when nothing else is shown.
    static QString ReadyText() { return tr("Ready"); }

    QAction* CreateAction(const CommandRow& row);
    void CreateActions();
    void RunCommand(const CommandRow& row);
    CommandState CurrentState() const;
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void ShowMenu(MenuBar bar);
    void OnSubWindowActivated(QMdiSubWindow* window);
    void OnFrameClosed();
    void ShowPrompt(const QString& prompt);
    QLabel* Pane(int pane) const;
    void FillWindowList();
    std::vector<QMdiSubWindow*> ArrangedWindows() const;
    void UpdateTitle();
    void FollowActiveHistory();

    QMdiArea* m_area = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_depthPane = nullptr;
    QLabel* m_referencePane = nullptr;
    UndoActions* m_undoActions = nullptr;
    CommandHost* m_host = nullptr;
    std::map<int, QAction*> m_actions;
    std::map<MenuId, QMenu*> m_menus;
    std::vector<QMenu*> m_mainMenus;
    std::vector<QMenu*> m_surveyMenus;
    std::vector<QAction*> m_recentActions;
    std::vector<QAction*> m_windowListActions;
    MenuBar m_menuShown = MenuBar::Main;
    bool m_tileOnShow = false;
};

#pragma once

#include <QMainWindow>
#include <QStringList>
#include <map>
#include <vector>

class CChildFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

// The main window: the MDI area holding every survey window, menus 128 and
// 129, tool bar 128 and the two-pane status bar. Commands that the
// application or a survey handles are passed on through command(id); the
// window arrangement and the bars' visibility are handled here.
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
    // The menu on the bar: 128 (no survey) or 129 (a survey's window active).
    int MenuShown() const { return m_menuShown; }
    // The top-level menus of menu `resourceId` (128 or 129), in bar order.
    const std::vector<QMenu*>& Menus(int resourceId) const;
    // The actions for the recent files, newest first (no placeholder).
    const std::vector<QAction*>& RecentFileActions() const { return m_recentActions; }

    // Sets status bar pane 0 (message) or 1 (depth) and shows it at once.
    void SetPaneText(int pane, const QString& text);
    QString PaneText(int pane) const;

    // Registers a new survey window; it takes part in activation from now on.
    void AddFrame(CChildFrame* frame);
    // Brings `frame` forward and makes it the active survey window.
    void ActivateFrame(CChildFrame* frame);
    // The active survey window (the last one activated), or none.
    CChildFrame* ActiveFrame() const;
    // Tiles all survey windows.
    void Tile();
    // Cascades all survey windows, each at a size fit to work in.
    void Cascade();

    // Shows `paths` (newest first) in both File menus, abbreviated.
    void SetRecentFiles(const QStringList& paths);
    // Enables, disables and checks every command for the current state.
    void UpdateCommandUI();

signals:
    // A command for the application or the active survey.
    void command(int id);
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
    QAction* AddCommand(int id, const QString& label, const QString& prompt,
                        const QString& toolTip = QString());
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void ShowMenu(int resourceId);
    void OnSubWindowActivated(QMdiSubWindow* window);
    void OnFrameClosed(CChildFrame* frame);
    void ShowPrompt(const QString& prompt);
    void FillWindowList();
    void ArrangeIcons();
    std::vector<QMdiSubWindow*> ArrangedWindows() const;
    void UpdateTitle();

    QMdiArea* m_area = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_depth = nullptr;
    std::map<int, QAction*> m_actions;
    std::vector<QMenu*> m_menus128;
    std::vector<QMenu*> m_menus129;
    QMenu* m_fileMenu128 = nullptr;
    QMenu* m_fileMenu129 = nullptr;
    QMenu* m_windowMenu = nullptr;
    QAction* m_recentPlaceholder = nullptr;
    QAction* m_recentEnd128 = nullptr; // separators closing the recent files section
    QAction* m_recentEnd129 = nullptr;
    std::vector<QAction*> m_recentActions;
    std::vector<QAction*> m_windowListActions;
    std::vector<CChildFrame*> m_frames; // open survey windows, most recently active first
    int m_menuShown = 0;
    bool m_tileOnShow = false;
};

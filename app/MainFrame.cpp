#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/EditMenu.h"
#include "app/ProgramInfo.h"
#include "app/RecentFileList.h"
#include "app/SurveyDocument.h"
#include "app/ToolbarIcons.h"
#include "app/UndoActions.h"
#include "app/WindowLayout.h"
#include "survey/KestrixDoc.h"
#include "views/CKestrixView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QToolBar>
#include <algorithm>

using namespace survey;

namespace {

const QString kReady = QStringLiteral("Ready");
const QString kTitle = kProgramName;
// The depth pane's width in pixels; the message pane takes the rest.
constexpr int kDepthPaneWidth = 120;
// The tool bar's button images, in pixels.
constexpr QSize kButtonImageSize(16, 15);

// Commands nothing handles: shown, never enabled.
constexpr int kUnhandledIds[] = {ID_FILE_NEW, ID_EDIT_CUT, ID_EDIT_PASTE};

QString MenuLabelOfPath(int index, const QString& path)
{
    QString shown = RecentFileList::Abbreviate(path);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(kTitle);
}

CMainFrame::~CMainFrame()
{
    // Taking the widgets down hides them, which makes them signal; nothing may
    // reach this frame's members by then. The survey windows go first.
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
    delete m_area;
}

bool CMainFrame::LoadFrame()
{
    m_area = new QMdiArea(this);
    setCentralWidget(m_area);
    connect(m_area, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    ShowMenu(MenuBar::Main);
    UpdateCommandUI();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        resize(available.width() * 4 / 5, available.height() * 4 / 5);
    }
    return m_area && m_toolBar && m_messagePane && m_depthPane;
}

QAction* CMainFrame::AddCommand(int id, const QString& label, const QString& prompt,
                                const QString& toolTip)
{
    auto* action = new QAction(label, this);
    action->setData(id);
    action->setStatusTip(prompt);
    if (!toolTip.isEmpty())
        action->setToolTip(toolTip);
    m_actions[id] = action;
    return action;
}

void CMainFrame::CreateActions()
{
    AddCommand(ID_FILE_NEW, QStringLiteral("&New\tCtrl+N"), QStringLiteral("Create a new document"),
               QStringLiteral("New"));
    AddCommand(ID_FILE_OPEN, QStringLiteral("&Open...\tCtrl+O"),
               QStringLiteral("Open an existing document"), QStringLiteral("Open"));
    AddCommand(ID_FILE_CLOSE, QStringLiteral("&Close"), QStringLiteral("Close the active document"),
               QStringLiteral("Close"));
    AddCommand(ID_FILE_EXPORT, QStringLiteral("&Export XYZ...\tCtrl+E"),
               QStringLiteral("Save the active document for import to Quarrant"),
               QStringLiteral("Export"));
    AddCommand(ID_FILE_PRINT, QStringLiteral("&Print...\tCtrl+P"), QStringLiteral("Print the active window"),
               QStringLiteral("Print"));
    AddCommand(ID_EDIT_CUT, QStringLiteral("Cu&t"),
               QStringLiteral("Cut the selection and put it on the Clipboard"), QStringLiteral("Cut"));
    AddCommand(ID_EDIT_COPY, QStringLiteral("&Copy\tCtrl+C"),
               QStringLiteral("Copy the selection and put it on the Clipboard"),
               QStringLiteral("Copy"));
    AddCommand(ID_EDIT_PASTE, QStringLiteral("&Paste"), QStringLiteral("Insert Clipboard contents"),
               QStringLiteral("Paste"));
    AddCommand(ID_WINDOW_CASCADE, QStringLiteral("&Cascade"),
               QStringLiteral("Arrange windows so they overlap"), QStringLiteral("Cascade Windows"));
    AddCommand(ID_WINDOW_TILE, QStringLiteral("&Tile"),
               QStringLiteral("Arrange windows as non-overlapping tiles"),
               QStringLiteral("Tile Windows"));
    AddCommand(ID_WINDOW_ARRANGE, QStringLiteral("&Arrange Icons"),
               QStringLiteral("Arrange icons at the bottom of the window"),
               QStringLiteral("Arrange Icons"));
    AddCommand(ID_APP_ABOUT, QStringLiteral("&About %1...").arg(kProgramName),
               QStringLiteral("Show the program's name and version"), QStringLiteral("About"));
    AddCommand(ID_APP_EXIT, QStringLiteral("E&xit"),
               QStringLiteral("Quit the application; prompts to save documents"),
               QStringLiteral("Exit"));
    AddCommand(ID_VIEW_TOOLBAR, QStringLiteral("&Toolbar"),
               QStringLiteral("Show or hide the toolbar"), QStringLiteral("Toggle ToolBar"))
        ->setCheckable(true);
    AddCommand(ID_VIEW_STATUS_BAR, QStringLiteral("&Status Bar"),
               QStringLiteral("Show or hide the status bar"), QStringLiteral("Toggle StatusBar"))
        ->setCheckable(true);
    // An Edit item has no prompt: while it is highlighted the message pane is empty.
    for (const auto items : {EditMenuItems(), RollOptionItems()}) {
        for (const EditItem& item : items) {
            QAction* action = AddCommand(item.id, QString::fromLatin1(item.label), QString());
            action->setCheckable(item.checkable);
            connect(action, &QAction::triggered, this, [this, op = item.operation] { emit editRequested(op); });
        }
    }

    // The accelerators: Ctrl+O opens; Ctrl+E, as the label says, and
    // Ctrl+S export. The actions belong to the frame itself so the keys work
    // whichever menu is on the bar and whether the tool bar shows.
    m_actions[ID_FILE_OPEN]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_actions[ID_FILE_EXPORT]->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_E), QKeySequence(Qt::CTRL | Qt::Key_S)});
    addAction(m_actions[ID_FILE_OPEN]);
    addAction(m_actions[ID_FILE_EXPORT]);
    m_actions[ID_FILE_PRINT]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    addAction(m_actions[ID_FILE_PRINT]);

    // Copy is the active listing's: its selected rows.
    m_actions[ID_EDIT_COPY]->setShortcut(QKeySequence::Copy);
    addAction(m_actions[ID_EDIT_COPY]);
    connect(m_actions[ID_EDIT_COPY], &QAction::triggered, this, [this] {
        if (CKestrixView* listing = ActiveListing())
            listing->Copy();
    });

    // The window arrangement and the bars are the frame's own business; the
    // application handles the rest.
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_EXPORT, ID_FILE_PRINT, ID_EDIT_CUT, ID_EDIT_PASTE,
                   ID_APP_ABOUT, ID_APP_EXIT})
        connect(m_actions[id], &QAction::triggered, this, [this, id] { emit command(id); });
    connect(m_actions[ID_WINDOW_CASCADE], &QAction::triggered, this, &CMainFrame::Cascade);
    connect(m_actions[ID_WINDOW_TILE], &QAction::triggered, this, &CMainFrame::Tile);
    connect(m_actions[ID_WINDOW_ARRANGE], &QAction::triggered, this, &CMainFrame::ArrangeIcons);
    connect(m_actions[ID_VIEW_TOOLBAR], &QAction::triggered, this,
            [this](bool on) { m_toolBar->setVisible(on); });
    connect(m_actions[ID_VIEW_STATUS_BAR], &QAction::triggered, this,
            [this](bool on) { statusBar()->setVisible(on); });

    // The depth plots' items: the active survey's depth window and magnetic
    // picture, and its closed plot windows back.
    AddCommand(ID_VIEW_WHOLE_HOLE, QStringLiteral("&Zoom to Whole Hole"),
               QStringLiteral("Show the whole hole in the survey's depth plots"));
    AddCommand(ID_VIEW_ANOMALIES, QStringLiteral("Components as &Anomalies"),
               QStringLiteral("Draw each magnetic component less its median over the survey"))
        ->setCheckable(true);
    AddCommand(ID_WINDOW_SHOW_ALL, QStringLiteral("&Show All Views"),
               QStringLiteral("Bring back the survey's closed plot windows and tile the windows"));
    AddCommand(ID_VIEW_QUALITY, QStringLiteral("&Quality Control"),
               QStringLiteral("Show the survey's total field, total gravity and dip against depth"))
        ->setCheckable(true);
    for (int id : {ID_VIEW_WHOLE_HOLE, ID_VIEW_ANOMALIES, ID_WINDOW_SHOW_ALL, ID_VIEW_QUALITY})
        connect(m_actions[id], &QAction::triggered, this, [this, id] { emit command(id); });
    CreateEditsActions();

    m_recentPlaceholder = new QAction(QStringLiteral("Recent File"), this);
    m_recentPlaceholder->setEnabled(false);
}

// Undo, Redo and Save Edits: the edits of the active survey kept or taken back.
void CMainFrame::CreateEditsActions()
{
    m_undoActions = new UndoActions(this);
    for (const auto& [id, action] : {std::pair{ID_EDIT_UNDO, m_undoActions->Undo()},
                                     std::pair{ID_EDIT_REDO, m_undoActions->Redo()}}) {
        action->setData(id);
        m_actions[id] = action;
    }
    connect(m_undoActions, &UndoActions::historyMoved, this, &CMainFrame::UpdateCommandUI);
    connect(m_undoActions, &UndoActions::savedStateChanged, this, &CMainFrame::UpdateTitle);

    QAction* save = AddCommand(ID_FILE_SAVE_EDITS, QStringLiteral("&Save Edits\tCtrl+Shift+S"),
                               QStringLiteral("Save the edits of the active document beside it"),
                               QStringLiteral("Save Edits"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    addAction(save);
    connect(save, &QAction::triggered, this, [this] { emit command(ID_FILE_SAVE_EDITS); });
}

void CMainFrame::CreateMenus()
{
    auto popup = [this](const QString& title) { return new QMenu(title, this); };
    auto add = [this](QMenu* menu, int id) { menu->addAction(m_actions.at(id)); };

    // The main menu bar: no survey open.
    m_mainFileMenu = popup(QStringLiteral("&File"));
    add(m_mainFileMenu, ID_FILE_NEW);
    add(m_mainFileMenu, ID_FILE_OPEN);
    m_mainFileMenu->addSeparator();
    m_mainFileMenu->addAction(m_recentPlaceholder);
    m_mainRecentEnd = m_mainFileMenu->addSeparator();
    add(m_mainFileMenu, ID_FILE_CLOSE);
    add(m_mainFileMenu, ID_APP_EXIT);

    QMenu* mainView = popup(QStringLiteral("&View"));
    add(mainView, ID_VIEW_TOOLBAR);
    add(mainView, ID_VIEW_STATUS_BAR);
    QMenu* mainHelp = popup(QStringLiteral("&Help"));
    add(mainHelp, ID_APP_ABOUT);
    m_mainMenus = {m_mainFileMenu, mainView, mainHelp};

    // The survey menu bar: a survey's window is active.
    m_surveyFileMenu = popup(QStringLiteral("&File"));
    add(m_surveyFileMenu, ID_FILE_OPEN);
    add(m_surveyFileMenu, ID_FILE_CLOSE);
    add(m_surveyFileMenu, ID_FILE_SAVE_EDITS);
    add(m_surveyFileMenu, ID_FILE_EXPORT);
    m_surveyFileMenu->addSeparator();
    m_surveyFileMenu->addAction(m_recentPlaceholder);
    m_surveyRecentEnd = m_surveyFileMenu->addSeparator();
    add(m_surveyFileMenu, ID_APP_EXIT);

    QMenu* edit = popup(QStringLiteral("&Edit"));
    add(edit, ID_EDIT_UNDO);
    add(edit, ID_EDIT_REDO);
    edit->addSeparator();
    add(edit, ID_EDIT_COPY);
    edit->addSeparator();
    for (const EditItem& item : EditMenuItems()) {
        if (item.separatorBefore)
            edit->addSeparator();
        add(edit, item.id);
    }
    edit->addSeparator();
    QMenu* roll = edit->addMenu(QStringLiteral("R&oll option"));
    for (const EditItem& item : RollOptionItems())
        add(roll, item.id);

    QMenu* surveyView = popup(QStringLiteral("&View"));
    add(surveyView, ID_VIEW_TOOLBAR);
    add(surveyView, ID_VIEW_STATUS_BAR);
    surveyView->addSeparator();
    add(surveyView, ID_VIEW_WHOLE_HOLE);
    add(surveyView, ID_VIEW_ANOMALIES);
    add(surveyView, ID_VIEW_QUALITY);
    m_windowMenu = popup(QStringLiteral("&Window"));
    add(m_windowMenu, ID_WINDOW_CASCADE);
    add(m_windowMenu, ID_WINDOW_TILE);
    add(m_windowMenu, ID_WINDOW_ARRANGE);
    add(m_windowMenu, ID_WINDOW_SHOW_ALL);
    connect(m_windowMenu, &QMenu::aboutToShow, this, &CMainFrame::FillWindowList);
    QMenu* surveyHelp = popup(QStringLiteral("&Help"));
    add(surveyHelp, ID_APP_ABOUT);
    m_surveyMenus = {m_surveyFileMenu, edit, surveyView, m_windowMenu, surveyHelp};

    for (const auto* menus : {&m_mainMenus, &m_surveyMenus}) {
        for (QMenu* menu : *menus) {
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
            // Once the menus are closed the message pane goes back to "Ready".
            connect(menu, &QMenu::aboutToHide, this, [this] {
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        if (!QApplication::activePopupWidget())
                            m_messagePane->setText(kReady);
                    },
                    Qt::QueuedConnection);
            });
        }
    }
}

void CMainFrame::CreateToolBar()
{
    m_toolBar = new QToolBar(QStringLiteral("Standard"), this);
    m_toolBar->setObjectName(QStringLiteral("StandardToolBar"));
    m_toolBar->setIconSize(kButtonImageSize);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : std::initializer_list<int>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE_EDITS, ID_FILE_EXPORT, 0,
                                             ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_EDIT_UNDO,
                                             ID_EDIT_REDO, 0, ID_FILE_PRINT, ID_APP_ABOUT}) {
        if (id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        m_actions[id]->setIcon(ToolbarIcon(id));
        m_actions[id]->setIconVisibleInMenu(false); // the images belong to the tool bar
        m_toolBar->addAction(m_actions[id]);
        // A button without a prompt (Print) shows "Ready" while hovered
        // rather than leave the pane blank or stale.
        if (m_actions[id]->statusTip().isEmpty())
            m_toolBar->widgetForAction(m_actions[id])->installEventFilter(this);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    connect(m_toolBar, &QToolBar::visibilityChanged, this,
            [this](bool visible) { m_actions[ID_VIEW_TOOLBAR]->setChecked(visible); });
}

void CMainFrame::CreateStatusBar()
{
    m_messagePane = new QLabel(kReady, this);
    // A long prompt must not widen the window.
    m_messagePane->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_messagePane->setTextFormat(Qt::PlainText);
    m_depthPane = new QLabel(QStringLiteral("Depth:"), this);
    m_depthPane->setFixedWidth(kDepthPaneWidth);
    m_depthPane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_depthPane->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(m_messagePane, 1);
    statusBar()->addPermanentWidget(m_depthPane);
}

QAction* CMainFrame::Action(int id) const
{
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

const std::vector<QMenu*>& CMainFrame::Menus(MenuBar bar) const
{
    return bar == MenuBar::Survey ? m_surveyMenus : m_mainMenus;
}

void CMainFrame::ShowMenu(MenuBar bar)
{
    if (m_menuShown == bar && !menuBar()->actions().isEmpty())
        return;
    m_menuShown = bar;
    menuBar()->clear();
    for (QMenu* menu : Menus(bar))
        menuBar()->addMenu(menu);
}

void CMainFrame::SetPaneText(int pane, const QString& text)
{
    QLabel* label = pane == 0 ? m_messagePane : pane == 1 ? m_depthPane : nullptr;
    if (!label)
        return;
    label->setText(text);
    if (label->isVisible())
        label->repaint();
}

QString CMainFrame::PaneText(int pane) const
{
    const QLabel* label = pane == 0 ? m_messagePane : pane == 1 ? m_depthPane : nullptr;
    return label ? label->text() : QString();
}

// A highlighted command shows its prompt, one without a prompt an empty pane;
// leaving a tool bar button brings back "Ready".
void CMainFrame::ShowPrompt(const QString& prompt)
{
    if (!prompt.isEmpty() || QApplication::activePopupWidget())
        m_messagePane->setText(prompt);
    else
        m_messagePane->setText(kReady);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter)
        ShowPrompt(QString());
    return QMainWindow::eventFilter(watched, event);
}

bool CMainFrame::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        ShowPrompt(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::AddFrame(CChildFrame* frame)
{
    m_area->addSubWindow(frame);
    connect(frame, &CChildFrame::closed, this, &CMainFrame::OnFrameClosed);
    if (auto* listing = qobject_cast<CKestrixView*>(frame->widget()))
        connect(listing, &CKestrixView::copyAvailable, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::ActivateFrame(CChildFrame* frame)
{
    if (frame->isMinimized())
        frame->showNormal();
    m_area->setActiveSubWindow(frame);
    OnSubWindowActivated(frame);
}

CKestrixView* CMainFrame::ActiveListing() const
{
    const CChildFrame* active = ActiveFrame();
    return active ? qobject_cast<CKestrixView*>(active->widget()) : nullptr;
}

CChildFrame* CMainFrame::ActiveFrame() const
{
    if (QMdiSubWindow* current = m_area->currentSubWindow())
        return qobject_cast<CChildFrame*>(current);
    const QList<QMdiSubWindow*> history = m_area->subWindowList(QMdiArea::ActivationHistoryOrder);
    return history.isEmpty() ? nullptr : qobject_cast<CChildFrame*>(history.last());
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window)
{
    // A listing window brings the survey menu; a plot window leaves the bar as it is.
    const auto* frame = qobject_cast<CChildFrame*>(window);
    if (frame && frame->BringsSurveyMenu())
        ShowMenu(MenuBar::Survey);
    FollowActiveHistory();
    UpdateCommandUI();
    UpdateTitle();
}

// A closed frame has left the MDI area already.
void CMainFrame::OnFrameClosed()
{
    const CChildFrame* active = ActiveFrame();
    if (!active)
        ShowMenu(MenuBar::Main);
    else if (active->BringsSurveyMenu())
        ShowMenu(MenuBar::Survey);
    FollowActiveHistory();
    UpdateCommandUI();
    UpdateTitle();
}

// Minimised windows stay where they are.
void CMainFrame::Tile()
{
    const std::vector<QMdiSubWindow*> windows = ArrangedWindows();
    if (windows.empty())
        return;
    // Before the frame is first shown its area has no size yet: tile again then.
    m_tileOnShow = !isVisible();
    const std::vector<QRect> tiles = TileGeometry(static_cast<int>(windows.size()), m_area->viewport()->rect());
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (windows[i]->isMaximized())
            windows[i]->showNormal();
        windows[i]->setGeometry(tiles[i]);
    }
}

// In the order the windows were made with the active one last, on top.
void CMainFrame::Cascade()
{
    std::vector<QMdiSubWindow*> windows = ArrangedWindows();
    if (windows.empty())
        return;
    const auto active = std::find(windows.begin(), windows.end(), m_area->activeSubWindow());
    if (active != windows.end())
        std::rotate(active, active + 1, windows.end());

    // One title bar down and across per window.
    QStyleOptionTitleBar option;
    option.initFrom(windows.front());
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, windows.front())
                   + style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, windows.front());
    const std::vector<QRect> places =
        CascadeGeometry(static_cast<int>(windows.size()), m_area->viewport()->rect(), step);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (windows[i]->isMaximized())
            windows[i]->showNormal();
        windows[i]->setGeometry(places[i]);
        windows[i]->raise();
    }
}

// The windows that Tile and Cascade arrange: the visible survey windows that
// are not minimised, in the order they were made.
std::vector<QMdiSubWindow*> CMainFrame::ArrangedWindows() const
{
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : m_area->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isHidden() && !window->isMinimized())
            windows.push_back(window);
    }
    return windows;
}

// Minimised windows in rows along the bottom of the area, left to right.
void CMainFrame::ArrangeIcons()
{
    const QRect area = m_area->viewport()->rect();
    int x = 0;
    int bottom = area.bottom() + 1;
    for (QMdiSubWindow* window : m_area->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            bottom -= size.height();
        }
        window->move(x, bottom - size.height());
        x += size.width();
    }
}

void CMainFrame::FillWindowList()
{
    for (QAction* action : m_windowListActions) {
        m_windowMenu->removeAction(action);
        action->deleteLater();
    }
    m_windowListActions.clear();
    const CChildFrame* active = ActiveFrame();
    int number = 0;
    for (QMdiSubWindow* window : m_area->subWindowList(QMdiArea::CreationOrder)) {
        auto* frame = qobject_cast<CChildFrame*>(window);
        if (!frame)
            continue;
        if (number == 0)
            m_windowListActions.push_back(m_windowMenu->addSeparator());
        ++number;
        const QString title = frame->windowTitle().replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = m_windowMenu->addAction(
            number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(title) : title);
        action->setStatusTip(QStringLiteral("Activate this window"));
        action->setCheckable(true);
        action->setChecked(frame == active);
        connect(action, &QAction::triggered, this, [this, frame = QPointer<CChildFrame>(frame)] {
            if (frame && m_area->subWindowList().contains(frame))
                ActivateFrame(frame);
        });
        m_windowListActions.push_back(action);
    }
}

void CMainFrame::SetRecentFiles(const QStringList& paths)
{
    for (QAction* action : m_recentActions) {
        m_mainFileMenu->removeAction(action);
        m_surveyFileMenu->removeAction(action);
        delete action;
    }
    m_recentActions.clear();
    const bool empty = paths.isEmpty();
    m_recentPlaceholder->setVisible(empty);
    for (int i = 0; i < paths.size() && i <= ID_FILE_MRU_LAST - ID_FILE_MRU_FIRST; ++i) {
        const int id = ID_FILE_MRU_FIRST + i;
        auto* action = new QAction(MenuLabelOfPath(i, paths[i]), this);
        action->setData(id);
        action->setStatusTip(QStringLiteral("Open this document"));
        connect(action, &QAction::triggered, this, [this, id] { emit command(id); });
        m_mainFileMenu->insertAction(m_mainRecentEnd, action);
        m_surveyFileMenu->insertAction(m_surveyRecentEnd, action);
        m_recentActions.push_back(action);
    }
}

void CMainFrame::UpdateCommandUI()
{
    const CChildFrame* active = ActiveFrame();
    // A read-only survey (its load failed) may be closed, nothing more.
    const SurveyDocument* document = active ? &active->Document() : nullptr;
    const CKestrixDoc* doc = document && !document->IsReadOnly() ? document->Doc() : nullptr;
    for (int id : kUnhandledIds)
        m_actions[id]->setEnabled(false);
    m_actions[ID_FILE_CLOSE]->setEnabled(active != nullptr);
    const CKestrixView* listing = ActiveListing();
    m_actions[ID_EDIT_COPY]->setEnabled(listing && listing->HasSelection());
    m_actions[ID_FILE_PRINT]->setEnabled(active != nullptr);
    m_actions[ID_FILE_EXPORT]->setEnabled(doc != nullptr);
    m_actions[ID_FILE_SAVE_EDITS]->setEnabled(doc != nullptr);
    for (const auto items : {EditMenuItems(), RollOptionItems()}) {
        for (const EditItem& item : items) {
            QAction* action = m_actions[item.id];
            action->setEnabled(doc != nullptr);
            if (item.checkable)
                action->setChecked(doc && IsInForce(*doc, item.operation));
        }
    }
    // The depth plots' items follow the active survey.
    const PlotLink* plots = doc ? &document->Plots() : nullptr;
    m_actions[ID_VIEW_WHOLE_HOLE]->setEnabled(plots && !plots->Window().IsWhole());
    m_actions[ID_VIEW_ANOMALIES]->setEnabled(plots != nullptr);
    m_actions[ID_VIEW_ANOMALIES]->setChecked(plots && plots->ComponentsAsAnomalies());
    m_actions[ID_WINDOW_SHOW_ALL]->setEnabled(plots != nullptr);
    m_actions[ID_VIEW_QUALITY]->setEnabled(plots != nullptr);
    m_actions[ID_VIEW_QUALITY]->setChecked(plots && document->ShowsQualityPlot());

    m_actions[ID_VIEW_TOOLBAR]->setChecked(m_toolBar && !m_toolBar->isHidden());
    m_actions[ID_VIEW_STATUS_BAR]->setChecked(!statusBar()->isHidden());
}

// The program's name, followed by the active survey's title.
void CMainFrame::UpdateTitle()
{
    const CChildFrame* active = ActiveFrame();
    setWindowTitle(active ? kTitle + QStringLiteral(" - ") + active->Document().Caption() : kTitle);
}

void CMainFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_tileOnShow) {
        m_tileOnShow = false;
        QMetaObject::invokeMethod(this, &CMainFrame::Tile, Qt::QueuedConnection);
    }
}

void CMainFrame::FollowActiveHistory()
{
    CChildFrame* active = ActiveFrame();
    m_undoActions->Follow(active ? &active->Document() : nullptr);
}

// Every survey with unsaved edits is asked about before any window closes;
// one that stays open keeps the program running with all its windows.
void CMainFrame::closeEvent(QCloseEvent* event)
{
    std::vector<SurveyDocument*> surveys;
    for (QMdiSubWindow* window : m_area->subWindowList(QMdiArea::CreationOrder)) {
        auto* frame = qobject_cast<CChildFrame*>(window);
        if (frame && std::find(surveys.begin(), surveys.end(), &frame->Document()) == surveys.end())
            surveys.push_back(&frame->Document());
    }
    for (SurveyDocument* survey : surveys) {
        if (!survey->ConfirmClose()) {
            event->ignore();
            return;
        }
    }
    for (SurveyDocument* survey : surveys)
        survey->CloseAllFrames();
    m_area->closeAllSubWindows();
    event->accept();
}

namespace {

QStringList LocalFiles(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

} // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QStringList paths = LocalFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    activateWindow();
    emit filesDropped(paths);
}

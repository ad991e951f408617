#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/DocTemplate.h"
#include "app/RecentFileList.h"
#include "app/SurveyDocument.h"
#include "app/ToolbarIcons.h"
#include "survey/EditCommands.h"
#include "survey/KestrixDoc.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QToolBar>
#include <algorithm>
#include <span>

using namespace survey;

namespace {

const QString kReady = QStringLiteral("Ready");
const QString kTitle = QStringLiteral("Kestrix");

// The Edit menu's commands, in menu order; a null label marks a separator.
// A Fit item names its polynomial degree, checked while it is in force.
struct EditItem {
    int id;
    const char* label;
    int degree = 0;
};
constexpr EditItem kEditItems[] = {
    {ID_EDIT_DELETE_OBSERVATIONS, "Delete observations"},
    {0, nullptr},
    {ID_EDIT_ADD_CONTROL_POINTS, "Add azimuth control points"},
    {ID_EDIT_CLEAR_CONTROL_POINTS, "Clear control points"},
    {ID_EDIT_FIT_DEGREE_1, "Fit degree 1 polynomial", 1},
    {ID_EDIT_FIT_DEGREE_2, "Fit degree 2 polynomial", 2},
    {ID_EDIT_FIT_DEGREE_3, "Fit degree 3 polynomial", 3},
    {ID_EDIT_FIT_DEGREE_4, "Fit degree 4 polynomial", 4},
};
constexpr EditItem kRollItems[] = {
    {ID_ROLL_NO_ADJUSTMENT, "No adjustment"},
    {ID_ROLL_ADD_90, "Add 90"},
    {ID_ROLL_ADD_180, "Add 180"},
    {ID_ROLL_SUBTRACT_90, "Subtract 90"},
};

// Commands that show a check mark from the survey document.
constexpr int kCheckedEditIds[] = {ID_EDIT_DELETE_OBSERVATIONS, ID_EDIT_ADD_CONTROL_POINTS,
                                   ID_EDIT_FIT_DEGREE_1,        ID_EDIT_FIT_DEGREE_2,
                                   ID_EDIT_FIT_DEGREE_3,        ID_EDIT_FIT_DEGREE_4,
                                   ID_ROLL_NO_ADJUSTMENT,       ID_ROLL_ADD_90,
                                   ID_ROLL_ADD_180,             ID_ROLL_SUBTRACT_90};

// Commands nothing handles: shown, never enabled.
constexpr int kUnhandledIds[] = {ID_FILE_NEW, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE,
                                 ID_FILE_PRINT};

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
    ShowMenu(IDR_MAINFRAME);
    UpdateCommandUI();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        resize(available.width() * 4 / 5, available.height() * 4 / 5);
    }
    return m_area && m_toolBar && m_message && m_depth;
}

QAction* CMainFrame::AddCommand(int id, const QString& label, const QString& prompt,
                                const QString& toolTip)
{
    auto* action = new QAction(label, this);
    action->setData(id);
    action->setStatusTip(prompt);
    if (!toolTip.isEmpty())
        action->setToolTip(toolTip);
    // The window arrangement and the bars are the frame's own business.
    static constexpr int kFrameIds[] = {ID_WINDOW_CASCADE, ID_WINDOW_TILE, ID_WINDOW_ARRANGE,
                                        ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR};
    if (std::find(std::begin(kFrameIds), std::end(kFrameIds), id) == std::end(kFrameIds))
        connect(action, &QAction::triggered, this, [this, id] { emit command(id); });
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
    AddCommand(ID_FILE_PRINT, QString(), QString());
    AddCommand(ID_EDIT_CUT, QStringLiteral("Cu&t"),
               QStringLiteral("Cut the selection and put it on the Clipboard"), QStringLiteral("Cut"));
    AddCommand(ID_EDIT_COPY, QStringLiteral("&Copy"),
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
    AddCommand(ID_APP_ABOUT, QStringLiteral("&About Kestrix..."),
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
    for (const auto& items : {std::span<const EditItem>(kEditItems), std::span<const EditItem>(kRollItems)}) {
        for (const EditItem& item : items) {
            if (item.label)
                AddCommand(item.id, QString::fromLatin1(item.label), QString());
        }
    }
    for (int id : kCheckedEditIds)
        m_actions[id]->setCheckable(true);

    // Accelerator table 128: Ctrl+O opens; Ctrl+E, as the label says, and
    // Ctrl+S export. The actions belong to the frame itself so the keys work
    // whichever menu is on the bar and whether the tool bar shows.
    m_actions[ID_FILE_OPEN]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_actions[ID_FILE_EXPORT]->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_E), QKeySequence(Qt::CTRL | Qt::Key_S)});
    addAction(m_actions[ID_FILE_OPEN]);
    addAction(m_actions[ID_FILE_EXPORT]);

    connect(m_actions[ID_WINDOW_CASCADE], &QAction::triggered, this, &CMainFrame::Cascade);
    connect(m_actions[ID_WINDOW_TILE], &QAction::triggered, this, &CMainFrame::Tile);
    connect(m_actions[ID_WINDOW_ARRANGE], &QAction::triggered, this, &CMainFrame::ArrangeIcons);
    connect(m_actions[ID_VIEW_TOOLBAR], &QAction::triggered, this,
            [this](bool on) { m_toolBar->setVisible(on); });
    connect(m_actions[ID_VIEW_STATUS_BAR], &QAction::triggered, this,
            [this](bool on) { statusBar()->setVisible(on); });

    m_recentPlaceholder = new QAction(QStringLiteral("Recent File"), this);
    m_recentPlaceholder->setEnabled(false);
}

void CMainFrame::CreateMenus()
{
    auto popup = [this](const QString& title) { return new QMenu(title, this); };
    auto add = [this](QMenu* menu, int id) { menu->addAction(m_actions.at(id)); };

    // Menu 128: no survey open.
    m_fileMenu128 = popup(QStringLiteral("&File"));
    add(m_fileMenu128, ID_FILE_NEW);
    add(m_fileMenu128, ID_FILE_OPEN);
    m_fileMenu128->addSeparator();
    m_fileMenu128->addAction(m_recentPlaceholder);
    m_recentEnd128 = m_fileMenu128->addSeparator();
    add(m_fileMenu128, ID_FILE_CLOSE);
    add(m_fileMenu128, ID_APP_EXIT);

    QMenu* view = popup(QStringLiteral("&View"));
    add(view, ID_VIEW_TOOLBAR);
    add(view, ID_VIEW_STATUS_BAR);
    QMenu* help = popup(QStringLiteral("&Help"));
    add(help, ID_APP_ABOUT);
    m_menus128 = {m_fileMenu128, view, help};

    // Menu 129: a survey's window is active.
    m_fileMenu129 = popup(QStringLiteral("&File"));
    add(m_fileMenu129, ID_FILE_OPEN);
    add(m_fileMenu129, ID_FILE_CLOSE);
    add(m_fileMenu129, ID_FILE_EXPORT);
    m_fileMenu129->addSeparator();
    m_fileMenu129->addAction(m_recentPlaceholder);
    m_recentEnd129 = m_fileMenu129->addSeparator();
    add(m_fileMenu129, ID_APP_EXIT);

    QMenu* edit = popup(QStringLiteral("&Edit"));
    for (const EditItem& item : kEditItems) {
        if (item.label)
            add(edit, item.id);
        else
            edit->addSeparator();
    }
    edit->addSeparator();
    QMenu* roll = edit->addMenu(QStringLiteral("Roll option"));
    for (const EditItem& item : kRollItems)
        add(roll, item.id);

    QMenu* view129 = popup(QStringLiteral("&View"));
    add(view129, ID_VIEW_TOOLBAR);
    add(view129, ID_VIEW_STATUS_BAR);
    m_windowMenu = popup(QStringLiteral("&Window"));
    add(m_windowMenu, ID_WINDOW_CASCADE);
    add(m_windowMenu, ID_WINDOW_TILE);
    add(m_windowMenu, ID_WINDOW_ARRANGE);
    connect(m_windowMenu, &QMenu::aboutToShow, this, &CMainFrame::FillWindowList);
    QMenu* help129 = popup(QStringLiteral("&Help"));
    add(help129, ID_APP_ABOUT);
    m_menus129 = {m_fileMenu129, edit, view129, m_windowMenu, help129};

    for (QMenu* menu : m_menus128)
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
    for (QMenu* menu : m_menus129)
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
    // Once the menus are closed the message pane goes back to "Ready".
    for (const auto* menus : {&m_menus128, &m_menus129}) {
        for (QMenu* menu : *menus) {
            connect(menu, &QMenu::aboutToHide, this, [this] {
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        if (!QApplication::activePopupWidget())
                            m_message->setText(kReady);
                    },
                    Qt::QueuedConnection);
            });
        }
    }
}

void CMainFrame::CreateToolBar()
{
    m_toolBar = new QToolBar(QStringLiteral("Standard"), this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar128"));
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : std::initializer_list<int>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_EXPORT, 0, ID_EDIT_CUT, ID_EDIT_COPY,
                   ID_EDIT_PASTE, 0, ID_FILE_PRINT, ID_APP_ABOUT}) {
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
    m_message = new QLabel(kReady, this);
    // A long prompt must not widen the window.
    m_message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_message->setTextFormat(Qt::PlainText);
    m_depth = new QLabel(QStringLiteral("Depth:"), this);
    m_depth->setFixedWidth(120);
    m_depth->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_depth->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(m_message, 1);
    statusBar()->addPermanentWidget(m_depth);
}

QAction* CMainFrame::Action(int id) const
{
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

const std::vector<QMenu*>& CMainFrame::Menus(int resourceId) const
{
    return resourceId == IDR_KESTRIXTYPE ? m_menus129 : m_menus128;
}

void CMainFrame::ShowMenu(int resourceId)
{
    if (m_menuShown == resourceId)
        return;
    m_menuShown = resourceId;
    menuBar()->clear();
    for (QMenu* menu : Menus(resourceId))
        menuBar()->addMenu(menu);
}

void CMainFrame::SetPaneText(int pane, const QString& text)
{
    QLabel* label = pane == 0 ? m_message : pane == 1 ? m_depth : nullptr;
    if (!label)
        return;
    label->setText(text);
    if (label->isVisible())
        label->repaint();
}

QString CMainFrame::PaneText(int pane) const
{
    const QLabel* label = pane == 0 ? m_message : pane == 1 ? m_depth : nullptr;
    return label ? label->text() : QString();
}

// A highlighted command shows its prompt, one without a prompt an empty pane;
// leaving a tool bar button brings back "Ready".
void CMainFrame::ShowPrompt(const QString& prompt)
{
    if (!prompt.isEmpty() || QApplication::activePopupWidget())
        m_message->setText(prompt);
    else
        m_message->setText(kReady);
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
    m_frames.push_back(frame);
    connect(frame, &CChildFrame::frameClosed, this, &CMainFrame::OnFrameClosed);
}

void CMainFrame::ActivateFrame(CChildFrame* frame)
{
    if (frame->isMinimized())
        frame->showNormal();
    m_area->setActiveSubWindow(frame);
    OnSubWindowActivated(frame);
}

CChildFrame* CMainFrame::ActiveFrame() const
{
    return m_frames.empty() ? nullptr : m_frames.front();
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window)
{
    auto* frame = qobject_cast<CChildFrame*>(window);
    if (frame && frame->IsOpen()) {
        const auto found = std::find(m_frames.begin(), m_frames.end(), frame);
        if (found != m_frames.end())
            std::rotate(m_frames.begin(), found, found + 1);
        // A listing window brings menu 129; a plot window leaves the bar as it is.
        if (frame->Template().HasMenu())
            ShowMenu(IDR_KESTRIXTYPE);
    }
    UpdateCommandUI();
    UpdateTitle();
}

void CMainFrame::OnFrameClosed(CChildFrame* frame)
{
    std::erase(m_frames, frame);
    if (m_frames.empty())
        ShowMenu(IDR_MAINFRAME);
    else if (m_frames.front()->Template().HasMenu())
        ShowMenu(IDR_KESTRIXTYPE);
    UpdateCommandUI();
    UpdateTitle();
}

// A grid in reading order: surveys in the order they were opened, each one's
// windows by number. Rows take ceil(sqrt(n)) windows; the last row's share
// the width between them. Minimised windows stay where they are.
void CMainFrame::Tile()
{
    const std::vector<QMdiSubWindow*> windows = ArrangedWindows();
    if (windows.empty())
        return;
    // Before the frame is first shown its area has no size yet: tile again then.
    m_tileOnShow = !isVisible();
    const int count = static_cast<int>(windows.size());
    int columns = 1;
    while (columns * columns < count)
        ++columns;
    const int rows = (count + columns - 1) / columns;
    const QRect area = m_area->viewport()->rect();
    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        const int inRow = row == rows - 1 ? count - row * columns : columns;
        const int column = i % columns;
        const int left = area.width() * column / inRow;
        const int right = area.width() * (column + 1) / inRow;
        const int top = area.height() * row / rows;
        const int bottom = area.height() * (row + 1) / rows;
        if (windows[i]->isMaximized())
            windows[i]->showNormal();
        windows[i]->setGeometry(left, top, right - left, bottom - top);
    }
}

// A staircase from the top-left corner, one title bar across and down per
// window, in the order the windows were made with the active one last, on
// top. Every window gets the same usable size: the area less the staircase,
// but at least two thirds of it each way; a staircase that would leave the
// area starts again at the corner.
void CMainFrame::Cascade()
{
    std::vector<QMdiSubWindow*> windows = ArrangedWindows();
    if (windows.empty())
        return;
    const auto active = std::find(windows.begin(), windows.end(), m_area->activeSubWindow());
    if (active != windows.end())
        std::rotate(active, active + 1, windows.end());

    QStyleOptionTitleBar option;
    option.initFrom(windows.front());
    const int step = std::max(1, style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, windows.front()) +
                                     style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, windows.front()));
    const QRect area = m_area->viewport()->rect();
    const int count = static_cast<int>(windows.size());
    const int width = std::max(area.width() - (count - 1) * step, area.width() * 2 / 3);
    const int height = std::max(area.height() - (count - 1) * step, area.height() * 2 / 3);
    const int perRun = 1 + std::max(0, std::min((area.width() - width) / step, (area.height() - height) / step));
    for (int i = 0; i < count; ++i) {
        const int offset = (i % perRun) * step;
        if (windows[i]->isMaximized())
            windows[i]->showNormal();
        windows[i]->setGeometry(offset, offset, width, height);
        windows[i]->raise();
    }
}

// The windows that Tile and Cascade arrange: the visible survey windows that
// are not minimised, in the order they were made.
std::vector<QMdiSubWindow*> CMainFrame::ArrangedWindows() const
{
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : m_area->subWindowList(QMdiArea::CreationOrder)) {
        const auto* frame = qobject_cast<CChildFrame*>(window);
        if (!window->isHidden() && !window->isMinimized() && (!frame || frame->IsOpen()))
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
        if (!frame || !frame->IsOpen())
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
        connect(action, &QAction::triggered, this, [this, frame] {
            if (std::find(m_frames.begin(), m_frames.end(), frame) != m_frames.end())
                ActivateFrame(frame);
        });
        m_windowListActions.push_back(action);
    }
}

void CMainFrame::SetRecentFiles(const QStringList& paths)
{
    for (QAction* action : m_recentActions) {
        m_fileMenu128->removeAction(action);
        m_fileMenu129->removeAction(action);
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
        m_fileMenu128->insertAction(m_recentEnd128, action);
        m_fileMenu129->insertAction(m_recentEnd129, action);
        m_recentActions.push_back(action);
    }
}

void CMainFrame::UpdateCommandUI()
{
    CChildFrame* active = ActiveFrame();
    // A read-only survey (its load failed) may be closed, nothing more.
    CKestrixDoc* doc = active && !active->Document().IsReadOnly() ? active->Document().Doc() : nullptr;
    for (int id : kUnhandledIds)
        m_actions[id]->setEnabled(false);
    m_actions[ID_FILE_CLOSE]->setEnabled(active != nullptr);
    m_actions[ID_FILE_EXPORT]->setEnabled(doc != nullptr);
    for (const auto& items : {std::span<const EditItem>(kEditItems), std::span<const EditItem>(kRollItems)}) {
        for (const EditItem& item : items) {
            if (!item.label)
                continue;
            QAction* action = m_actions[item.id];
            action->setEnabled(doc != nullptr);
            if (action->isCheckable())
                action->setChecked(doc && (item.degree != 0 ? doc->m_nDegree == item.degree : doc->IsChecked(item.id)));
        }
    }
    m_actions[ID_VIEW_TOOLBAR]->setChecked(m_toolBar && !m_toolBar->isHidden());
    m_actions[ID_VIEW_STATUS_BAR]->setChecked(!statusBar()->isHidden());
}

// "Kestrix", followed by the active survey's title.
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

void CMainFrame::closeEvent(QCloseEvent* event)
{
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

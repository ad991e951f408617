// The main frame's commands: the actions with their labels, prompts and keys,
// the two menu bars, the tool bar and the status bar.
#include "app/MainFrame.h"

#include "app/EditMenu.h"
#include "app/ProgramInfo.h"
#include "app/ToolbarIcons.h"
#include "app/UndoActions.h"
#include "views/CKestrixView.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

// The depth pane's width in pixels; the message pane takes the rest.
constexpr int kDepthPaneWidth = 120;
// The tool bar's button images, in pixels.
constexpr QSize kButtonImageSize(16, 15);

} // namespace

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
                            m_messagePane->setText(ReadyText());
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
    m_messagePane = new QLabel(ReadyText(), this);
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

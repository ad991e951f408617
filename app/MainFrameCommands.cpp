// The main frame's commands: the actions, the two menu bars and the tool bar
// made from the command table, the commands' state, and the status bar.
#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/ProgramInfo.h"
#include "app/SurveyDocument.h"
#include "app/ToolbarIcons.h"
#include "app/UndoActions.h"
#include "views/CKestrixView.h"
#include "views/PlotImage.h"
#include "views/PlotViews.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

namespace {

// The depth pane's width in pixels; the message pane takes the rest.
constexpr int kDepthPaneWidth = 120;
// The tool bar's button images, in pixels.
constexpr QSize kButtonImageSize(16, 15);

// A text of the command table as the user reads it; "%1" is the program's name.
QString CommandText(const char* text)
{
    if (!text || !*text)
        return QString();
    const QString translated = QCoreApplication::translate("Commands", text);
    return translated.contains(QLatin1String("%1")) ? translated.arg(kProgramName) : translated;
}

// Actions in slot order, a separator between groups.
struct Placed {
    int slot;
    QAction* action;
};

template <typename Target>
void AddInSlotOrder(Target& target, std::vector<Placed> items)
{
    std::stable_sort(items.begin(), items.end(), [](const Placed& a, const Placed& b) { return a.slot < b.slot; });
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0 && GroupOf(items[i].slot) != GroupOf(items[i - 1].slot))
            target.addSeparator();
        target.addAction(items[i].action);
    }
}

} // namespace

QAction* CMainFrame::CreateAction(const CommandRow& row)
{
    // Undo and Redo come with the undo group, texts, keys and all.
    if (row.undoStack) {
        QAction* action = row.id == ID_EDIT_UNDO ? m_undoActions->Undo() : m_undoActions->Redo();
        action->setData(row.id);
        return action;
    }
    auto* action = new QAction(CommandText(row.label), this);
    action->setData(row.id);
    action->setStatusTip(CommandText(row.prompt));
    if (*row.toolTip)
        action->setToolTip(CommandText(row.toolTip));
    action->setCheckable(row.checked != nullptr);
    QList<QKeySequence> keys = row.standardKey != QKeySequence::UnknownKey
                                   ? QKeySequence::keyBindings(row.standardKey)
                                   : QKeySequence::listFromString(QString::fromLatin1(row.keys));
    if (!keys.isEmpty()) {
        action->setShortcuts(keys);
        // The frame's own: the keys work whichever menu is on the bar and
        // whether the tool bar shows.
        addAction(action);
    }
    if (row.IsHandled())
        connect(action, &QAction::triggered, this, [this, &row] { RunCommand(row); });
    return action;
}

void CMainFrame::CreateActions()
{
    m_undoActions = new UndoActions(this);
    connect(m_undoActions, &UndoActions::historyMoved, this, &CMainFrame::UpdateCommandUI);
    connect(m_undoActions, &UndoActions::savedStateChanged, this, &CMainFrame::UpdateTitle);
    for (const CommandRow& row : MainWindowCommands())
        m_actions[row.id] = CreateAction(row);
}

void CMainFrame::RunCommand(const CommandRow& row)
{
    if (m_host) {
        if (row.edit)
            m_host->EditSurvey(*row.edit);
        else if (row.run)
            (m_host->*row.run)();
    }
    UpdateCommandUI();
}

void CMainFrame::CreateMenus()
{
    for (const MenuRow& menu : MainWindowMenus())
        m_menus[menu.id] = new QMenu(CommandText(menu.title), this);

    std::map<MenuId, std::vector<Placed>> items;
    for (const CommandRow& row : MainWindowCommands()) {
        for (const Place& place : row.places) {
            if (place.menu != MenuId::None)
                items[place.menu].push_back({place.slot, m_actions.at(row.id)});
        }
    }
    for (const MenuRow& menu : MainWindowMenus()) {
        if (menu.inside.menu != MenuId::None)
            items[menu.inside.menu].push_back({menu.inside.slot, m_menus.at(menu.id)->menuAction()});
    }
    for (auto& [id, placed] : items)
        AddInSlotOrder(*m_menus.at(id), std::move(placed));

    for (const MenuRow& menu : MainWindowMenus()) {
        if (menu.inside.menu == MenuId::None)
            (menu.bar == MenuBar::Main ? m_mainMenus : m_surveyMenus).push_back(m_menus.at(menu.id));
    }
    connect(m_menus.at(MenuId::Window), &QMenu::aboutToShow, this, &CMainFrame::FillWindowList);

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
    m_toolBar = new QToolBar(tr("Standard"), this);
    m_toolBar->setObjectName(QStringLiteral("StandardToolBar"));
    m_toolBar->setIconSize(kButtonImageSize);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    std::vector<Placed> buttons;
    for (const CommandRow& row : MainWindowCommands()) {
        if (row.toolSlot == 0)
            continue;
        QAction* action = m_actions.at(row.id);
        action->setIcon(ToolbarIcon(row.icon));
        action->setIconVisibleInMenu(false); // the images belong to the tool bar
        buttons.push_back({row.toolSlot, action});
    }
    AddInSlotOrder(*m_toolBar, std::move(buttons));
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
    m_depthPane = new QLabel(tr("Depth:"), this);
    m_depthPane->setFixedWidth(kDepthPaneWidth);
    m_depthPane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_depthPane->setTextFormat(Qt::PlainText);
    m_referencePane = new QLabel(this);
    m_referencePane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_referencePane->setTextFormat(Qt::PlainText);
    m_referencePane->hide();
    statusBar()->addWidget(m_messagePane, 1);
    statusBar()->addPermanentWidget(m_referencePane);
    statusBar()->addPermanentWidget(m_depthPane);
}

CommandState CMainFrame::CurrentState() const
{
    CommandState state;
    const CChildFrame* active = ActiveFrame();
    state.activeWindow = active;
    // A read-only survey (its load failed) may be closed, nothing more.
    const SurveyDocument* document = active ? &active->Document() : nullptr;
    if (document && !document->IsReadOnly()) {
        state.survey = document->Doc();
        state.plots = &document->Plots();
        state.showsQualityPlot = document->ShowsQualityPlot();
        state.showsPlan = document->ShowsView(CPlanView::staticMetaObject);
        state.showsSection = document->ShowsView(CSectionView::staticMetaObject);
        state.gridFrame = document->ExportFrame() == survey::ComponentFrame::Grid;
        state.xyzDepthColumn = document->ExportsDepthColumn();
        state.fixedScales = document->Plots().FixedScales();
    }
    const CKestrixView* listing = ActiveListing();
    state.listingSelection = listing && listing->HasSelection();
    const CKestrixView* surveyListing = state.survey ? document->Listing() : nullptr;
    state.listsEveryReading = surveyListing && surveyListing->ListedRows() == survey::ListedRows::EveryReading;
    state.plotActive = active && KindOf(active->widget()) != nullptr;
    state.toolBarShown = m_toolBar && !m_toolBar->isHidden();
    state.statusBarShown = !statusBar()->isHidden();
    return state;
}

void CMainFrame::UpdateCommandUI()
{
    const CommandState state = CurrentState();
    for (const CommandRow& row : MainWindowCommands()) {
        if (row.undoStack)
            continue;
        QAction* action = m_actions.at(row.id);
        action->setEnabled(row.IsHandled() && (!row.enabled || row.enabled(state, row)));
        if (row.checked)
            action->setChecked(row.checked(state, row));
    }
}

#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/EditMenu.h"
#include "app/ProgramInfo.h"
#include "app/RecentFileList.h"
#include "app/SurveyDocument.h"
#include "app/UndoActions.h"
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
#include <QToolBar>
#include <algorithm>

using namespace survey;

namespace {

const QString kTitle = kProgramName;

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
        m_messagePane->setText(ReadyText());
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

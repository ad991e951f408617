#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/CommandHost.h"
#include "app/MenuText.h"
#include "app/ProgramInfo.h"
#include "app/RecentFileList.h"
#include "app/SurveyDocument.h"
#include "app/UndoActions.h"
#include "views/CKestrixView.h"
#include "views/PlotFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
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
    return m_area && m_toolBar && m_messagePane && m_depthPane && m_referencePane;
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

QLabel* CMainFrame::Pane(int pane) const
{
    return pane == 0 ? m_messagePane : pane == 1 ? m_depthPane : pane == kReferencePane ? m_referencePane : nullptr;
}

void CMainFrame::SetPaneText(int pane, const QString& text)
{
    QLabel* label = Pane(pane);
    if (!label)
        return;
    label->setText(text);
    if (label == m_referencePane)
        label->setVisible(!text.isEmpty());
    if (label->isVisible())
        label->repaint();
}

QString CMainFrame::PaneText(int pane) const
{
    const QLabel* label = Pane(pane);
    return label ? label->text() : QString();
}

// A highlighted command shows its prompt, one without a prompt an empty pane;
// leaving a tool bar button (an empty tip outside the menus) brings back "Ready".
void CMainFrame::ShowPrompt(const QString& prompt)
{
    if (!prompt.isEmpty() || QApplication::activePopupWidget())
        m_messagePane->setText(prompt);
    else
        m_messagePane->setText(ReadyText());
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
    if (auto* plot = frame ? qobject_cast<PlotFrame*>(frame->widget()) : nullptr)
        plot->NoteActivation();
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

// The recent files stand before the placeholder that takes their place while
// there are none.
void CMainFrame::SetRecentFiles(const QStringList& paths)
{
    QMenu* fileMenus[] = {m_menus.at(MenuId::MainFile), m_menus.at(MenuId::SurveyFile)};
    for (QAction* action : m_recentActions) {
        for (QMenu* menu : fileMenus)
            menu->removeAction(action);
        delete action;
    }
    m_recentActions.clear();
    QAction* placeholder = m_actions.at(ID_FILE_MRU_FIRST);
    placeholder->setVisible(paths.isEmpty());
    for (int i = 0; i < paths.size() && i <= ID_FILE_MRU_LAST - ID_FILE_MRU_FIRST; ++i) {
        auto* action = new QAction(NumberedMenuText(i + 1, RecentFileList::Abbreviate(paths[i])), this);
        action->setData(ID_FILE_MRU_FIRST + i);
        action->setStatusTip(tr("Open this document"));
        connect(action, &QAction::triggered, this, [this, i] {
            if (m_host)
                m_host->OpenRecentFile(i);
            UpdateCommandUI();
        });
        for (QMenu* menu : fileMenus)
            menu->insertAction(placeholder, action);
        m_recentActions.push_back(action);
    }
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

// The main frame's window arrangements (Tile, Cascade, Arrange Icons) and the
// Window menu's list of windows.
#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/MenuText.h"
#include "app/SurveyDocument.h"
#include "app/WindowLayout.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <algorithm>

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
    QMenu* windowMenu = m_menus.at(MenuId::Window);
    for (QAction* action : m_windowListActions) {
        windowMenu->removeAction(action);
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
            m_windowListActions.push_back(windowMenu->addSeparator());
        ++number;
        QAction* action = windowMenu->addAction(NumberedMenuText(number, frame->windowTitle()));
        action->setStatusTip(tr("Activate this window"));
        action->setCheckable(true);
        action->setChecked(frame == active);
        connect(action, &QAction::triggered, this, [this, frame = QPointer<CChildFrame>(frame)] {
            if (frame && m_area->subWindowList().contains(frame))
                ActivateFrame(frame);
        });
        m_windowListActions.push_back(action);
    }
}

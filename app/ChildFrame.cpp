#include "app/ChildFrame.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(SurveyDocument& document, QWidget* view, bool bringsSurveyMenu, CloseGuard mayClose)
    : m_document(document), m_bringsSurveyMenu(bringsSurveyMenu), m_mayClose(std::move(mayClose))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (m_mayClose && !m_mayClose(this)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed(this);
}

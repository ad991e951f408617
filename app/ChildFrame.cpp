#include "app/ChildFrame.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(SurveyDocument& document, QWidget* view, bool bringsSurveyMenu)
    : m_document(document), m_bringsSurveyMenu(bringsSurveyMenu)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed(this);
}

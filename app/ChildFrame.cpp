#include "app/ChildFrame.h"

#include "app/SurveyDocument.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(SurveyDocument& document, QWidget* view, bool bringsSurveyMenu)
    : m_document(document), m_bringsSurveyMenu(bringsSurveyMenu)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    // The survey's last window asks about unsaved edits before anything closes.
    if (!m_document.MayCloseFrame(this)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed(this);
}

#include "app/ChildFrame.h"

#include "app/SurveyDocument.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(SurveyDocument& document, CDocTemplate& docTemplate)
    : m_document(document), m_template(docTemplate)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    QMdiSubWindow::closeEvent(event);
    if (!event->isAccepted() || !m_open)
        return;
    m_open = false;
    // The document may go away here: tell the main frame first, while it can
    // still look at the document.
    emit frameClosed(this);
    m_document.RemoveFrame(this);
}

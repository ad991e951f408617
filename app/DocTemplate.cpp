#include "app/DocTemplate.h"

#include "app/ChildFrame.h"
#include "app/SurveyDocument.h"

#include <QMdiArea>

CDocTemplate::CDocTemplate(int resourceId, ViewFactory factory, bool hasMenu, QIcon frameIcon)
    : m_resourceId(resourceId), m_factory(std::move(factory)), m_hasMenu(hasMenu),
      m_frameIcon(std::move(frameIcon))
{
}

CChildFrame* CDocTemplate::CreateNewFrame(SurveyDocument& document, QMdiArea& area,
                                          ViewServices& services)
{
    auto* frame = new CChildFrame(document, *this);
    frame->setWidget(m_factory(document.Doc(), &services, frame));
    if (!m_frameIcon.isNull())
        frame->setWindowIcon(m_frameIcon);
    area.addSubWindow(frame);
    document.AddFrame(frame);
    return frame;
}

#include "app/DocTemplate.h"

#include "app/ChildFrame.h"
#include "app/SurveyDocument.h"

CDocTemplate::CDocTemplate(ViewFactory factory, bool bringsSurveyMenu, QIcon frameIcon)
    : m_factory(std::move(factory)), m_bringsSurveyMenu(bringsSurveyMenu), m_frameIcon(std::move(frameIcon))
{
}

CChildFrame* CDocTemplate::CreateNewFrame(SurveyDocument& document, ViewServices& services) const
{
    auto* frame = new CChildFrame(document, m_factory(document, services), m_bringsSurveyMenu);
    if (!m_frameIcon.isNull())
        frame->setWindowIcon(m_frameIcon);
    document.AddFrame(frame);
    return frame;
}

#include "app/DocTemplate.h"

#include "app/ChildFrame.h"
#include "app/SurveyDocument.h"

CDocTemplate::CDocTemplate(ViewFactory factory, bool bringsSurveyMenu, QIcon frameIcon)
    : m_factory(std::move(factory)), m_bringsSurveyMenu(bringsSurveyMenu), m_frameIcon(std::move(frameIcon))
{
}

CChildFrame* CDocTemplate::CreateNewFrame(SurveyDocument& document, ViewServices& services) const
{
    // The survey's last window asks about unsaved edits before anything closes.
    auto* frame = new CChildFrame(document, m_factory(document, services), m_bringsSurveyMenu,
                                  [&document](const CChildFrame* closing) { return document.MayCloseFrame(closing); });
    if (!m_frameIcon.isNull())
        frame->setWindowIcon(m_frameIcon);
    document.AddFrame(frame);
    return frame;
}

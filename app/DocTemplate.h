#pragma once

#include <QIcon>
#include <functional>

class CChildFrame;
class QWidget;
class SurveyDocument;
class ViewServices;

// Ties the survey document to one kind of view: makes a child frame holding a
// new view of that kind. Only the listing's template brings the survey menu.
class CDocTemplate {
public:
    using ViewFactory = std::function<QWidget*(SurveyDocument&, ViewServices&)>;

    CDocTemplate(ViewFactory factory, bool bringsSurveyMenu, QIcon frameIcon = QIcon());

    // A new hidden frame with a new view on `document`, which the view joins
    // after the views it already has. The caller puts it in the MDI area.
    CChildFrame* CreateNewFrame(SurveyDocument& document, ViewServices& services) const;

private:
    ViewFactory m_factory;
    bool m_bringsSurveyMenu;
    QIcon m_frameIcon;
};

#pragma once

#include <QIcon>
#include <functional>

class CChildFrame;
namespace survey {
class CKestrixDoc;
} // namespace survey

class QMdiArea;
class QWidget;
class SurveyDocument;
class ViewServices;

// Ties the survey document to one kind of view: makes a child frame holding a
// new view of that kind. Only the listing's template brings a menu (129).
class CDocTemplate {
public:
    using ViewFactory = std::function<QWidget*(survey::CKestrixDoc*, ViewServices*, QWidget*)>;

    CDocTemplate(int resourceId, ViewFactory factory, bool hasMenu, QIcon frameIcon = QIcon());

    int ResourceId() const { return m_resourceId; }
    // Whether this template's windows put menu 129 on the bar when active.
    bool HasMenu() const { return m_hasMenu; }

    // A new frame in `area` with a new view on `document`, which the view
    // joins after the views it already has. The frame is hidden until shown.
    CChildFrame* CreateNewFrame(SurveyDocument& document, QMdiArea& area, ViewServices& services);

private:
    int m_resourceId;
    ViewFactory m_factory;
    bool m_hasMenu;
    QIcon m_frameIcon;
};

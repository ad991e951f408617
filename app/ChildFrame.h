#pragma once

#include <QMdiSubWindow>
#include <functional>

class SurveyDocument;

// A survey window: one view of one survey inside the MDI area. It reports
// its closing and leaves the rest to whoever listens: the survey renumbers
// its windows or closes with the last, the main frame updates its menus.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // Whether the frame may close now (the survey's last window asks about
    // unsaved edits first).
    using CloseGuard = std::function<bool(const CChildFrame*)>;

    // `view` becomes the frame's widget. `document` is the survey the view
    // shows, which outlives the frame. `bringsSurveyMenu`: whether the frame
    // puts the survey menu on the bar when it becomes active. `mayClose` is
    // asked before the frame closes.
    CChildFrame(SurveyDocument& document, QWidget* view, bool bringsSurveyMenu, CloseGuard mayClose);

    SurveyDocument& Document() const { return m_document; }
    bool BringsSurveyMenu() const { return m_bringsSurveyMenu; }

signals:
    // The frame was closed: it has left the MDI area and is deleted later.
    void closed(CChildFrame* frame);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    SurveyDocument& m_document;
    bool m_bringsSurveyMenu;
    CloseGuard m_mayClose;
};

#pragma once

#include <QMdiSubWindow>

class CDocTemplate;
class SurveyDocument;

// A survey window: one view of one survey document inside the MDI area.
// Closing it takes it out of its document, which goes with its last window.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(SurveyDocument& document, CDocTemplate& docTemplate);

    SurveyDocument& Document() const { return m_document; }
    CDocTemplate& Template() const { return m_template; }
    // False once the frame has been closed (it is then on its way out).
    bool IsOpen() const { return m_open; }

signals:
    // The frame was closed and has left its document.
    void frameClosed(CChildFrame* frame);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    SurveyDocument& m_document;
    CDocTemplate& m_template;
    bool m_open = true;
};

#pragma once

#include "survey/DocumentHost.h"
#include "survey/EditOperations.h"
#include "survey/KestrixDoc.h"
#include "views/PlotLink.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

class CChildFrame;

// One open raw survey file: the survey document and its windows, in the order
// their views joined it. It redraws its views when the survey asks and tells
// the shell through signals what it cannot do itself: open the plot windows,
// and that its last window has closed.
class SurveyDocument : public QObject, public survey::DocumentHost {
    Q_OBJECT
public:
    // `path`: the file as opened (absolute); `canonicalPath`: the same file
    // with links resolved, by which an open survey is recognised.
    SurveyDocument(QString path, QString canonicalPath);
    ~SurveyDocument() override;

    survey::CKestrixDoc* Doc() { return &m_doc; }
    const survey::CKestrixDoc* Doc() const { return &m_doc; }
    const QString& PathName() const { return m_path; }
    const QString& CanonicalPath() const { return m_canonicalPath; }
    // The document's title: the file name.
    const QString& Title() const { return m_title; }
    // The title as captions show it: marked "(not loaded)" when read-only.
    QString Caption() const;
    // A survey whose load failed keeps what was read for the user to look
    // at, but is read-only: it is neither edited nor exported.
    bool IsReadOnly() const { return m_readOnly; }
    void MarkLoadFailed();
    // Open windows, in the order their views joined the document.
    std::vector<CChildFrame*> Frames() const;

    // A new window's view joins the document; captions are renumbered. A
    // closed window leaves it again.
    void AddFrame(CChildFrame* frame);
    // Closes every window, and so the document.
    void CloseAllFrames();
    // Puts the windows in the order of `rank` (ties keep their order) and
    // renumbers their captions.
    void OrderFrames(const std::function<int(const CChildFrame*)>& rank);

    // Whether one of the survey's windows is its quality plot.
    bool ShowsQualityPlot() const;

    // What the survey's depth plots share: their depth window and whether
    // the magnetic components show as anomalies.
    PlotLink& Plots() { return m_plots; }
    const PlotLink& Plots() const { return m_plots; }

    // Makes the edit `op` on the survey, unless it is read-only. Every edit,
    // from the menus or from a view, comes through here.
    void Apply(const survey::EditOperation& op);

    void UpdateAllViews() override;
    void OpenPlotWindows() override;

signals:
    // The survey has loaded: the inclination, azimuth and magnetic windows
    // are wanted on it, in that order, before this returns.
    void plotWindowsWanted(SurveyDocument* document);
    // `lastFrame` has closed and no window is left: the survey is closed.
    void lastFrameClosed(SurveyDocument* document, CChildFrame* lastFrame);

private:
    void OnFrameClosed(CChildFrame* frame);
    void UpdateFrameTitles();

    QString m_path;
    QString m_canonicalPath;
    QString m_title;
    survey::CKestrixDoc m_doc;
    std::vector<QPointer<CChildFrame>> m_frames;
    bool m_readOnly = false;
    PlotLink m_plots;
};

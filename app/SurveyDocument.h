#pragma once

#include "survey/DocumentHost.h"
#include "survey/EditOperations.h"
#include "survey/EditsFile.h"
#include "survey/ExportOptions.h"
#include "survey/KestrixDoc.h"
#include "views/PlotLink.h"
#include "views/SurveyEditor.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUndoStack>
#include <functional>
#include <string>
#include <variant>
#include <vector>

class CChildFrame;
class CKestrixView;

// One open raw survey file: the survey document, its undo history and its
// windows, in the order their views joined it. It is the survey's one editor:
// the Edit menu and the plots edit through it, and only it holds the survey
// to change. It redraws its views when the survey asks and tells the shell
// through signals what it cannot do itself: open the plot windows, and that
// its last window has closed.
class SurveyDocument : public QObject, public survey::DocumentHost, public SurveyEditor {
    Q_OBJECT
public:
    // `path`: the file as opened (absolute); `canonicalPath`: the same file
    // with links resolved, by which an open survey is recognised.
    SurveyDocument(QString path, QString canonicalPath);
    ~SurveyDocument() override;

    const survey::CKestrixDoc* Doc() const { return &m_doc; }
    const survey::CKestrixDoc& Survey() const override { return m_doc; }

    // Loads the raw survey file read from `source`, once, into the new survey.
    // `progress` may stop it (Cancelled): the survey then has no readings.
    survey::LoadResult Load(const std::string& path, survey::LineSource& source, survey::MessageSink& sink,
                            textio::Progress* progress = nullptr);
    const QString& PathName() const { return m_path; }
    const QString& CanonicalPath() const { return m_canonicalPath; }
    // The document's title: the file name.
    const QString& Title() const { return m_title; }
    // The title as captions show it: "demo.txt*" with unsaved edits, marked
    // "(not loaded)" when read-only.
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
    // Closes every window, and so the document, without asking about edits.
    void CloseAllFrames();
    // Puts the windows in the order of `rank` (ties keep their order) and
    // renumbers their captions.
    void OrderFrames(const std::function<int(const CChildFrame*)>& rank);

    // The survey's listing, or none once its window has closed.
    CKestrixView* Listing() const;
    // Whether one of the survey's windows is its quality plot.
    bool ShowsQualityPlot() const;
    // Whether one of the survey's windows shows a view of `viewClass`.
    bool ShowsView(const QMetaObject& viewClass) const;

    // What the survey's depth plots share: their depth window and whether
    // the magnetic components show as anomalies.
    PlotLink& Plots() { return m_plots; }
    const PlotLink& Plots() const { return m_plots; }
    // The frame the survey's XYZ exports give the components in, magnetic
    // until the user turns them to grid north.
    survey::ComponentFrame ExportFrame() const { return m_exportFrame; }
    void SetExportFrame(survey::ComponentFrame frame) { m_exportFrame = frame; }
    // Whether the survey's XYZ exports end each row with the reading's depth (off until chosen).
    bool ExportsDepthColumn() const { return m_exportDepthColumn; }
    void SetExportDepthColumn(bool on) { m_exportDepthColumn = on; }
    // The edits file that Save Edits writes: beside the survey until one is
    // restored from or saved elsewhere.
    const QString& EditsPath() const { return m_editsPath; }
    void SetEditsPath(const QString& path) { m_editsPath = path; }
    // Closes the survey once ConfirmClose allows it; false when it stays open.
    bool Close();

    // Asked when the survey is about to close with unsaved edits: true when
    // it may close (the edits saved or given up), false to keep it open.
    void SetCloseQuestion(std::function<bool(SurveyDocument&)> question);
    // Whether the survey may close now: without unsaved edits it may,
    // otherwise the close question decides.
    bool ConfirmClose();
    // Whether `frame` may close: any but the last window may; the last one as
    // ConfirmClose says.
    bool MayCloseFrame(const CChildFrame* frame);

    // Makes the edit `op` on the survey, unless it is read-only, and puts it
    // on the undo history (a mode toggle, which edits nothing, is not put
    // there). Every edit, from the menus or from a view, comes through here.
    void Apply(const survey::EditOperation& op) override;
    // The survey's undo history; it is clean while the survey holds no edits
    // beyond those of its edits file (as loaded, restored or saved).
    QUndoStack& History() { return m_history; }
    bool HasUnsavedEdits() const { return !m_history.isClean(); }
    // Makes saved `edits` on the survey as one step of the history, "Restore
    // edits", after which the survey holds what its edits file says. What
    // changed ("5 deletions, degree 3"), or the fault that kept every edit out.
    std::variant<std::string, survey::EditsFault> RestoreEdits(const survey::SurveyEdits& edits);
    // The edits file now holds the survey's edits.
    void MarkEditsSaved() { m_history.setClean(); }

    void UpdateAllViews() override;
    void OpenPlotWindows() override;

signals:
    // The survey has loaded: the inclination, azimuth and magnetic windows
    // are wanted on it, in that order, before this returns.
    void plotWindowsWanted(SurveyDocument* document);
    // The survey's views are to redraw: it has changed (recalculated, as a
    // rule) or been drawn anew.
    void viewsUpdated();
    // `lastFrame` has closed and no window is left: the survey is closed.
    void lastFrameClosed(SurveyDocument* document, CChildFrame* lastFrame);

private:
    void OnFrameClosed(CChildFrame* frame);
    void UpdateFrameTitles();

    QString m_path;
    QString m_canonicalPath;
    QString m_title;
    survey::CKestrixDoc m_doc;
    QUndoStack m_history; // after m_doc: its commands refer to it
    std::vector<QPointer<CChildFrame>> m_frames;
    std::function<bool(SurveyDocument&)> m_closeQuestion;
    bool m_readOnly = false;
    PlotLink m_plots;
    survey::ComponentFrame m_exportFrame = survey::ComponentFrame::Magnetic;
    bool m_exportDepthColumn = false;
    QString m_editsPath;
    bool m_closing = false; // the close was confirmed: the windows go without a question
};

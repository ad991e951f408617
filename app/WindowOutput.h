#pragma once

#include <QObject>

class CKestrixApp;
class QAction;

// The active survey window out of the program: File > "Save Plot As..."
// writes a plot window as a PNG or SVG picture at a size the user chooses,
// and File > "Print..." (and the tool bar's Print button) prints the active
// window: a plot scaled to the page, the listing as text.
class WindowOutput : public QObject {
    Q_OBJECT
public:
    // Adds "Save Plot As..." and "Print..." after the survey File menu's
    // export item and takes over the Print command. `app` and its main frame
    // outlive this.
    explicit WindowOutput(CKestrixApp& app);

    QAction* SavePlotAction() const { return m_savePlot; }
    // Enables "Save Plot As..." while a plot window is active.
    void UpdateActions();

    void SavePlotAs();
    void Print();

private:
    CKestrixApp& m_app;
    QAction* m_savePlot = nullptr;
};

#pragma once

#include <QCursor>
#include <QString>

// What the survey views reach through the application: the main frame's
// status bar panes and the three editing cursors loaded once at start-up.
class ViewServices {
public:
    enum Pane { MessagePane = 0, DepthPane = 1 };

    virtual ~ViewServices() = default;
    // Sets pane 0 (message) or 1 (depth) and shows it at once.
    virtual void SetPaneText(int pane, const QString& text) = 0;
    virtual QCursor DeleteCursor() const = 0;  // crosshair with a burst
    virtual QCursor TargetCursor() const = 0;  // hollow square with a burst
    virtual QCursor ControlCursor() const = 0; // large crosshair
};

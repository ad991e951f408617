#pragma once

#include "views/DepthWindow.h"

#include <QObject>

// What the depth plots of one survey share: the depth window they show, and
// whether the magnetic components are drawn as anomalies. A change redraws
// every plot linked to it, so zooming or panning one plot moves the others.
class PlotLink : public QObject {
    Q_OBJECT
public:
    const DepthWindow& Window() const { return m_window; }
    void SetWindow(const DepthWindow& window);
    // Back to the whole hole.
    void ShowWholeHole() { SetWindow(DepthWindow()); }

    bool ComponentsAsAnomalies() const { return m_anomalies; }
    void SetComponentsAsAnomalies(bool on);

signals:
    void changed();

private:
    DepthWindow m_window;
    bool m_anomalies = false;
};

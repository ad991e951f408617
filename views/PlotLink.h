#pragma once

#include "survey/SpikeFinder.h"
#include "views/DepthWindow.h"

#include <QObject>

// What the depth plots of one survey share: the depth window they show,
// whether the magnetic components are drawn as anomalies, and how the
// quality plot judges spikes. A change redraws every plot linked to it, so
// zooming or panning one plot moves the others.
class PlotLink : public QObject {
    Q_OBJECT
public:
    const DepthWindow& Window() const { return m_window; }
    void SetWindow(const DepthWindow& window);
    // Back to the whole hole.
    void ShowWholeHole() { SetWindow(DepthWindow()); }

    bool ComponentsAsAnomalies() const { return m_anomalies; }
    void SetComponentsAsAnomalies(bool on);

    const survey::SpikeSettings& Spikes() const { return m_spikes; }
    void SetSpikes(const survey::SpikeSettings& settings);

signals:
    void changed();

private:
    DepthWindow m_window;
    bool m_anomalies = false;
    survey::SpikeSettings m_spikes;
};

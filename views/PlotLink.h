#pragma once

#include "survey/SpikeFinder.h"
#include "views/DepthWindow.h"

#include <QObject>

#include <optional>

// What the plots of one survey share: the depth window they show, whether
// the magnetic components are drawn as anomalies, how the quality plot
// judges spikes and the azimuth the section looks along. A change redraws
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

    const survey::SpikeSettings& Spikes() const { return m_spikes; }
    void SetSpikes(const survey::SpikeSettings& settings);

    // The grid azimuth of the section in degrees, or none for the direction
    // from the collar to the deepest reading.
    const std::optional<double>& SectionAzimuth() const { return m_sectionAzimuth; }
    void SetSectionAzimuth(std::optional<double> azimuth);

signals:
    void changed();

private:
    DepthWindow m_window;
    bool m_anomalies = false;
    survey::SpikeSettings m_spikes;
    std::optional<double> m_sectionAzimuth;
};

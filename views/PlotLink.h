#pragma once

#include "survey/SpikeFinder.h"
#include "views/DepthWindow.h"
#include "views/ValueAxis.h"

#include <QObject>

#include <map>
#include <optional>
#include <string>

// What the plots of one survey share: the depth window they show, fixed or
// fitted value ranges, whether the magnetic components are drawn as
// anomalies, how the quality plot judges spikes and the azimuth the section
// looks along. A change redraws
// every plot linked to it, so zooming or panning one plot moves the others.
class PlotLink : public QObject {
    Q_OBJECT
public:
    const DepthWindow& Window() const { return m_window; }
    void SetWindow(const DepthWindow& window);
    // Back to the whole hole, and every plot's value axis to its fitted range.
    void ShowWholeHole();

    // Whether the depth plots keep their fixed value ranges, or fit each
    // range to the readings in the depth window. A link starts with the
    // fixed ones; the program chooses for its plots.
    bool FixedScales() const { return m_fixedScales; }
    void SetFixedScales(bool on);

    // How the plot named `plot` (its class name) zooms its value axis:
    // whole until the user zooms it.
    ValueZoom ValueZoomOf(const std::string& plot) const;
    void SetValueZoom(const std::string& plot, const ValueZoom& zoom);
    // Whether some plot shows less or more than its fitted value range.
    bool HasValueZoom() const { return !m_valueZooms.empty(); }

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
    bool m_fixedScales = true;
    std::map<std::string, ValueZoom> m_valueZooms; // only those not whole
    survey::SpikeSettings m_spikes;
    std::optional<double> m_sectionAzimuth;
};

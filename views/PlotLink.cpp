#include "views/PlotLink.h"

void PlotLink::SetWindow(const DepthWindow& window)
{
    if (window == m_window)
        return;
    m_window = window;
    emit changed();
}

void PlotLink::ShowWholeHole()
{
    const bool zoomed = !m_window.IsWhole() || HasValueZoom();
    m_window = DepthWindow();
    m_valueZooms.clear();
    if (zoomed)
        emit changed();
}

void PlotLink::SetFixedScales(bool on)
{
    if (on == m_fixedScales)
        return;
    m_fixedScales = on;
    emit changed();
}

void PlotLink::SetComponentsAsAnomalies(bool on)
{
    if (on == m_anomalies)
        return;
    m_anomalies = on;
    emit changed();
}

void PlotLink::SetSpikes(const survey::SpikeSettings& settings)
{
    m_spikes = settings;
    emit changed();
}

void PlotLink::SetSectionAzimuth(std::optional<double> azimuth)
{
    if (azimuth == m_sectionAzimuth)
        return;
    m_sectionAzimuth = azimuth;
    emit changed();
}

ValueZoom PlotLink::ValueZoomOf(const std::string& plot) const
{
    const auto found = m_valueZooms.find(plot);
    return found == m_valueZooms.end() ? ValueZoom() : found->second;
}

void PlotLink::SetValueZoom(const std::string& plot, const ValueZoom& zoom)
{
    if (zoom == ValueZoomOf(plot))
        return;
    if (zoom.IsWhole())
        m_valueZooms.erase(plot);
    else
        m_valueZooms[plot] = zoom;
    emit changed();
}

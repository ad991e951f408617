#include "views/PlotLink.h"

void PlotLink::SetWindow(const DepthWindow& window)
{
    if (window == m_window)
        return;
    m_window = window;
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

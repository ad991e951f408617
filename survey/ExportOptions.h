#pragma once

namespace survey {

// The frame the exported magnetic components are given in.
enum class ComponentFrame {
    Magnetic, // north along the magnetic azimuth in force
    Grid,     // turned to grid north: grid azimuth = magnetic azimuth less the declination in force
};

// How a survey's readings are exported.
struct ExportOptions {
    ComponentFrame frame = ComponentFrame::Magnetic;
    bool anomalies = false; // the components less what is expected of them (survey/Anomalies.h)
};

} // namespace survey

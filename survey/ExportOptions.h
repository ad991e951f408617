#pragma once

#include <string>

namespace survey {

// The frame the exported magnetic components are given in.
enum class ComponentFrame {
    Magnetic, // north along the magnetic azimuth in force
    Grid,     // turned to grid north: grid azimuth = magnetic azimuth less the declination in force
};

// The files a survey's readings are exported to: the XYZ file for a
// modelling package, or every value as a CSV or LAS results file.
enum class ExportFormat { Xyz, Csv, Las };

// How a survey's readings are exported, in the windows and in kestrix-batch
// alike. The frame and anomalies are the XYZ file's; a results file holds
// every value in its own frame.
struct ExportOptions {
    ComponentFrame frame = ComponentFrame::Magnetic;
    bool anomalies = false; // the components less what is expected of them (survey/Anomalies.h)
    ExportFormat format = ExportFormat::Xyz;
    bool depthColumn = false; // the XYZ file ends each row with the reading's depth
    std::string lineName{}; // the XYZ file's "Li" line; empty: the file's own name

    bool IsResultsFile() const { return format != ExportFormat::Xyz; }
};

} // namespace survey

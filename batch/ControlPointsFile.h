#pragma once

#include <istream>
#include <string>
#include <vector>

// One azimuth control point as typed: depth in metres, azimuth in degrees.
struct ControlPointEntry {
    double depth;
    double azimuth;
};

// Reads "DEPTH AZIMUTH" lines; blank lines and lines starting with "#" are
// skipped. A line that is not two numbers, or whose point does not fit the
// plot's scaled units, fails with `error` naming `name` and the line number.
bool ReadControlPoints(std::istream& in, const std::string& name,
                       std::vector<ControlPointEntry>& points, std::string& error);

// The point in the azimuth plot's units (hundredths), as the plot would add it.
bool ScaledControlPoint(const ControlPointEntry& entry, double scale, int& x, int& y);

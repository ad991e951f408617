#pragma once

#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"
#include "textio/SafeFile.h"

#include <cstddef>
#include <string>
#include <vector>

namespace survey {

// One azimuth control point as typed: depth in metres, azimuth in degrees,
// and the line of its file.
struct ControlPointEntry {
    double depth;
    double azimuth;
    long line = 0;
};

// The most control points a file may hold: as many as a survey holds.
constexpr std::size_t kMaxControlPointEntries = CKestrixDoc::kMaxControlPoints;
// The longest line of a control-point file that is read; a comment line may
// run longer and is passed over.
constexpr std::size_t kMaxControlPointLine = std::size_t(1) << 20;

// Reads "DEPTH AZIMUTH" lines of `source` (a line ends as the raw survey
// file's do: LF, CR LF, or CR); blank lines and lines starting with "#" are
// skipped. A line that is not two whole, finite numbers, whose point does not
// fit the plot's scaled units, or that holds a point past the 100th fails with
// `error` naming `name` and the line number.
bool ReadControlPoints(LineSource& source, const std::string& name,
                       std::vector<ControlPointEntry>& points, std::string& error);

// The point in the azimuth plot's units (hundredths), as the plot would add it.
bool ScaledControlPoint(const ControlPointEntry& entry, double scale, int& x, int& y);

// The points of `doc` in depth (m) and azimuth (degrees), in the order placed.
std::vector<ControlPointEntry> ControlPointsOf(const CKestrixDoc& doc);

// The control-point file of `points`: a comment line, then one "DEPTH AZIMUTH"
// line each in the shortest text that reads back to the same number, CR LF.
std::string ControlPointsText(const std::vector<ControlPointEntry>& points);

// Writes ControlPointsText to `path`, whole or not at all.
textio::SafeFileWriter::Status WriteControlPointsFile(const std::vector<ControlPointEntry>& points,
                                                      const std::string& path);

} // namespace survey

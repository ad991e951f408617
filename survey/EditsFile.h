#pragma once

#include "survey/ControlPoint.h"
#include "survey/Site.h"
#include "survey/TrajectoryMethod.h"
#include "textio/ReadableFile.h"
#include "textio/SafeFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace survey {

class LineSource;

// The edits of a survey as its edits file holds them, in the order made:
//
//   Kestrix edits 2
//   delete 205.00        the first reading at depth 205.00 m left at that point
//   delete 310.5 2       the second such reading
//   control 130.00 38.50 a control point: depth in metres, azimuth in degrees
//   degree 3             1 to 4, at most once
//   roll 90              0, 90, 180 or -90, at most once
//   fit local            at most once
//   crs EPSG:32610       the collar's grid; or, for a local grid,
//   location 37.41 -122.01 0.6   latitude, longitude and convergence
//   date 2008-06-01      the survey's date
//   model igrf14         or wmm2025: the field model
//   declination model    or a number: the declination the positions use
//   trajectory min-curvature     or average-angle
//   name Hole 7 #2       the hole's name: the rest of the line, "#" included
//
// Each line from crs on at most once. "#" starts a comment (but not on a
// name line); blank lines are passed over; lines end in CR LF or LF.
// Version 1 files, written before the site, trajectory and name lines, hold
// none of them; a file holding them is written as version 2, which older
// readers refuse rather than misread.
struct SurveyEdits {
    struct Deletion {
        double depth;
        std::int32_t occurrence = 1;
        std::int64_t line = 0; // where it was read, for messages
    };
    struct Point {
        ControlPoint point; // in the azimuth plot's units (hundredths)
        std::int64_t line = 0;
    };
    std::vector<Deletion> deletions;
    std::vector<Point> controlPoints;
    std::optional<std::int32_t> degree;
    std::optional<std::int32_t> rollAdjustment;
    bool fitLocal = false;
    Site site;
    std::int64_t declinationLine = 0; // where "declination model" was read, for messages
    std::optional<TrajectoryMethod> trajectory;
    std::optional<std::string> holeName; // as HoleNameProblem allows
    std::int64_t holeNameLine = 0;
};

// Why edits were refused: the line (from 1; 0 for none in particular) and why.
struct EditsFault {
    std::int64_t line;
    std::string reason;
};

// The longest line an edits file may hold.
inline constexpr std::size_t kMaxEditsLine = std::size_t(1) << 20;

// Why a degree or roll line is refused.
inline constexpr const char* kDegreeUsage = "expected degree 1, 2, 3 or 4";
inline constexpr const char* kRollUsage = "expected roll 0, 90, 180 or -90";

// The edits file of the survey at `surveyPath`: its full name with ".edits".
std::string EditsFilePath(const std::string& surveyPath);

// Reads an edits file's text; its first line must be "Kestrix edits 1" or
// "Kestrix edits 2". Every
// number is one whole number in the C locale; depths and azimuths of control
// points are finite and fit the plot's 32-bit units, a deletion's depth may be
// any number a raw survey file holds. At most 100 control points and as many
// deletions as a survey holds readings. Memory stays bounded whatever the input.
std::variant<SurveyEdits, EditsFault> ReadEdits(LineSource& source);
// As ReadEdits, from the file at `path`; a file that cannot be opened or read,
// or that `from` does not take (textio/ReadableFile.h), is a fault.
std::variant<SurveyEdits, EditsFault> ReadEditsFile(const std::string& path,
                                                    textio::ReadFrom from = textio::ReadFrom::AnyFile);

// The text of an edits file holding `edits` (CR LF): a deletion's occurrence
// only past the first, the degree, roll and local fit only when set, the
// site's lines only for what it sets; version 1 unless a site, trajectory or
// name line is written.
std::string EditsText(const SurveyEdits& edits);

// Writes EditsText(edits) to `path` through the safe writer: an earlier file
// stays whole until the new one is complete.
textio::SafeFileWriter::Status WriteEditsFile(const SurveyEdits& edits, const std::string& path);

// A depth as an edits file writes it: two decimals when they read back as the
// same number, otherwise the shortest text that does.
std::string EditsDepthText(double depth);

// "PATH:LINE: reason", or "PATH: reason" for line 0.
std::string EditsFaultText(const std::string& path, const EditsFault& fault);

} // namespace survey

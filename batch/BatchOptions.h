#pragma once

#include "survey/EditOperations.h"
#include "survey/ExportOptions.h"
#include "survey/KestrixDoc.h"
#include "survey/Site.h"
#include "survey/SpikeFinder.h"

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// The editing options of kestrix-batch, one step each, made in the order given.
namespace step {

// --delete-depth D: the first reading left at exactly depth D.
struct DeleteDepth {
    double depth; // finite, read as the loader reads numbers
};
// --control-points FILE: the file's points appended.
struct ControlPoints {
    std::string path;
};
// --edits FILE: an edits file made as one edit.
struct EditsFile {
    std::string path;
};
// --delete-flagged: every reading the spike finder flags then, as one edit.
struct DeleteFlagged {};
// --crs, --location, --date, --model and --declination together: one change
// of the site in force where the first of them is given.
struct SiteChange {
    std::optional<int> epsg;
    std::optional<survey::Site::Location> location;
    std::optional<geomag::Date> date;
    std::optional<geomag::ModelId> model;
    std::optional<survey::Site::DeclinationFrom> declinationFrom;
    double typedDeclination = 0.0;

    // `inForce` with the changes made; a place given replaces the place in
    // force, a grid by EPSG code and a local grid alike.
    survey::Site Over(survey::Site inForce) const;
};

} // namespace step

// --degree, --roll, --fit and --trajectory are the typed edits themselves.
using EditStep = std::variant<step::DeleteDepth, step::ControlPoints, step::EditsFile, step::DeleteFlagged,
                              step::SiteChange, survey::EditOperation>;

// The picture kestrix-batch plot draws unless --size says otherwise.
inline constexpr int kDefaultPlotWidth = 1200;
inline constexpr int kDefaultPlotHeight = 800;
// The largest side of a picture --size takes, in pixels.
inline constexpr int kMaxPlotPixels = 8000;

// What a survey subcommand (export, dump, listing, edits, qc, path, plot) of
// kestrix-batch was asked to do.
struct SurveyOptions {
    std::string command;
    std::string rawPath;
    std::string outputPath; // export, edits and plot; empty for the default name
    std::vector<EditStep> edits;
    survey::SpikeSettings spikes; // --window and --threshold over the defaults
    survey::ExportOptions exportOptions; // export: --format, --frame, --anomalies and --depth-column
    std::string plotView;         // plot: the --view name
    int plotWidth = kDefaultPlotWidth;
    int plotHeight = kDefaultPlotHeight;
    bool plotFixedScales = false; // plot: --fixed-scales, else ranges fitted as kestrix's
};

// Parses the words after the program name for a survey subcommand.
// Returns false with a reason in `error` on bad usage.
bool ParseSurveyOptions(const std::vector<std::string>& args, SurveyOptions& options, std::string& error);

// What became of the word at args[i] as one of --crs, --location, --date and
// --model, which survey commands, convert and field share.
enum class SiteOptionRead { Other, Read, Refused };

// Reads the site option at args[i] with its values into `change`, leaving i
// at its last value. Refused, with the reason in `error`: a bad value, an
// option given twice, --crs beside --location.
SiteOptionRead ReadSiteOption(const std::vector<std::string>& args, std::size_t& i, step::SiteChange& change,
                              std::string& error);

extern const char* const kUsage;

// The exit status of a run stopped before its end: that of a process ended by
// Ctrl+C's signal, which is how a run is stopped (no partial file is left).
inline constexpr int kStoppedStatus = 130;

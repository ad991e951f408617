#include "batch/FieldCommand.h"

#include "batch/BatchOptions.h"
#include "survey/Site.h"
#include "textio/NumberText.h"

#include <cmath>
#include <ostream>

namespace {

struct FieldOptions {
    step::SiteChange site;
    std::optional<double> easting, northing;
    std::optional<double> height; // metres above the ellipsoid; 0 when not given
};

bool ParseFieldOptions(const std::vector<std::string>& args, FieldOptions& options, std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const SiteOptionRead read = ReadSiteOption(args, i, options.site, error);
        if (read == SiteOptionRead::Refused)
            return false;
        if (read == SiteOptionRead::Read)
            continue;
        std::optional<double>* number = arg == "--easting"    ? &options.easting
                                      : arg == "--northing" ? &options.northing
                                      : arg == "--height"   ? &options.height
                                                            : nullptr;
        if (number) {
            double value = 0.0;
            if (number->has_value() || i + 1 == args.size() || !textio::ReadWholeNumber(args[i + 1], value)
                || !std::isfinite(value)) {
                error = arg + " takes one finite number, once";
                return false;
            }
            *number = value;
            ++i;
        } else {
            error = arg.empty() || arg[0] != '-' ? "field takes no file" : "unknown option " + arg;
            return false;
        }
    }
    const bool fromGrid = options.site.epsg && options.easting && options.northing;
    if (!options.site.date) {
        error = "field needs --date";
    } else if (!fromGrid && !options.site.location) {
        error = "field needs --crs with --easting and --northing, or --location";
    } else if (options.site.location && (options.easting || options.northing)) {
        error = "--easting and --northing go with --crs";
    } else {
        return true;
    }
    return false;
}

void Line(std::string& text, const char* name, int decimals, double value)
{
    text += name;
    text += ' ';
    textio::AppendFixed(text, 0, decimals, value);
    text += '\n';
}

} // namespace

int RunFieldCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    FieldOptions options;
    std::string error;
    if (!ParseFieldOptions(args, options, error)) {
        err << "kestrix-batch: " << error << '\n' << kUsage;
        return 2;
    }
    const survey::Site site = options.site.Over({});
    const survey::SiteReference reference =
        survey::ReferenceAt(site, options.easting.value_or(0.0), options.northing.value_or(0.0),
                             options.height.value_or(0.0));
    if (!reference.SurveyDeclination()) {
        err << "kestrix-batch: " << reference.problem << '\n';
        return 1;
    }
    const crs::Site& place = *reference.place;
    const geomag::MagneticField& field = *reference.field;
    std::string text;
    Line(text, "latitude", 6, place.latitude);
    Line(text, "longitude", 6, place.longitude);
    Line(text, "D", 4, field.declinationDegrees);
    Line(text, "I", 4, field.inclinationDegrees);
    Line(text, "F", 1, field.totalNt);
    Line(text, "H", 1, field.horizontalNt);
    Line(text, "X", 1, field.northNt);
    Line(text, "Y", 1, field.eastNt);
    Line(text, "Z", 1, field.downNt);
    Line(text, "convergence", 4, place.convergence);
    // What a raw survey file's Declination line takes: subtracted from the magnetic azimuth.
    Line(text, "declination", 4, *reference.SurveyDeclination());
    out << text;
    return 0;
}

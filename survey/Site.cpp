#include "survey/Site.h"

#include "textio/NumberText.h"

#include <cmath>

namespace survey {

SiteReference ReferenceAt(const Site& site, double easting, double northing, double height)
{
    SiteReference reference;
    crs::SiteResult place;
    if (site.epsg)
        place = crs::SiteFromGrid(*site.epsg, easting, northing);
    else if (site.location)
        place = crs::SiteFromLocalGrid(site.location->latitude, site.location->longitude, site.location->convergence);
    else
        place.error = "The survey has no site: give its coordinate reference system or its latitude and longitude.";
    if (!place.site) {
        reference.problem = place.error;
        return reference;
    }
    reference.place = place.site;
    if (!site.date) {
        reference.problem = "The survey has no date.";
        return reference;
    }
    const double year = *geomag::DecimalYear(*site.date);
    const geomag::GeodeticPosition position{place.site->latitude, place.site->longitude, height};
    auto field = geomag::ComputeField(geomag::BuiltInModel(site.model), position, year);
    if (auto* refused = std::get_if<geomag::FieldRefusal>(&field))
        reference.problem = refused->message;
    else
        reference.field = std::get<geomag::MagneticField>(field);
    return reference;
}

std::string EastWestText(double declination)
{
    std::string text = "D ";
    textio::AppendFixed(text, 0, 2, std::fabs(declination));
    return text + (declination < 0 ? "\xC2\xB0 W" : "\xC2\xB0 E");
}

} // namespace survey

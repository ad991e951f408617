#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// kestrix-batch field --date D (--crs EPSG:N --easting E --northing N |
// --location LAT LON [CONV]) [--height H] [--model M], given the words after
// "field": the model's field at the collar and the declination it gives a
// raw survey file, one "NAME value" a line. Exit status 0 on success, 2 on
// bad usage, 1 when the model or the grid gives nothing there.
int RunFieldCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

#pragma once

namespace convert {

// The collar of a hole and the magnetic declination of its survey: easting,
// northing and height in metres, declination in degrees.
struct Collar {
    double easting = 0.0;
    double northing = 0.0;
    double height = 0.0;
    double declination = 0.0;
};

} // namespace convert

#pragma once

namespace geomag {

// Standard gravity, the g of accelerometers calibrated in g.
inline constexpr double kStandardGravity = 9.80665; // m/s²

// WGS84 normal gravity on the ellipsoid at a geodetic latitude (Somigliana's
// formula), in m/s²: 9.7803253359 at the equator, 9.8321849378 at the poles.
double NormalGravity(double latitudeDegrees);

// The same in units of standard gravity.
double NormalGravityInG(double latitudeDegrees);

} // namespace geomag

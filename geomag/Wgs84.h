#pragma once

// The WGS84 ellipsoid, on which GPS latitudes and heights are given.
namespace geomag::wgs84 {

inline constexpr double kSemiMajorAxisKm = 6378.137;
inline constexpr double kFlattening = 1.0 / 298.257223563;
inline constexpr double kEccentricitySquared = kFlattening * (2.0 - kFlattening);

} // namespace geomag::wgs84

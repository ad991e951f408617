#include "geomag/NormalGravity.h"

#include "geomag/Wgs84.h"

#include <cmath>
#include <numbers>

namespace geomag {

namespace {

constexpr double kEquatorialGravity = 9.7803253359; // m/s²
// (b γp) / (a γe) - 1, from the ellipsoid's defining constants.
constexpr double kSomiglianaConstant = 0.00193185265241;

} // namespace

double NormalGravity(double latitudeDegrees)
{
    const double s = std::sin(latitudeDegrees * std::numbers::pi / 180);
    return kEquatorialGravity * (1 + kSomiglianaConstant * s * s)
         / std::sqrt(1 - wgs84::kEccentricitySquared * s * s);
}

double NormalGravityInG(double latitudeDegrees)
{
    return NormalGravity(latitudeDegrees) / kStandardGravity;
}

} // namespace geomag

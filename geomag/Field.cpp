#include "geomag/Field.h"

#include "geomag/Wgs84.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace geomag {

namespace {

constexpr double kReferenceRadiusKm = 6371.2;
constexpr double kRadian = std::numbers::pi / 180;
// The east component divides by the sine of the colatitude; at a pole the
// terms it divides are as small, so a floor keeps their ratio exact.
constexpr double kLeastSinColatitude = 1e-12;

struct Legendre {
    std::array<double, kTermCount> p{};  // Schmidt semi-normalised P(n, m) at cos(colatitude)
    std::array<double, kTermCount> dp{}; // their derivatives by colatitude
};

Legendre LegendreFunctions(int degree, double cosColat, double sinColat)
{
    Legendre f;
    f.p[0] = 1;
    for (int n = 1; n <= degree; ++n) {
        for (int m = 0; m <= n; ++m) {
            const std::size_t k = TermIndex(n, m);
            if (m == n) {
                const std::size_t d = TermIndex(n - 1, n - 1);
                const double scale = n == 1 ? 1.0 : std::sqrt(1.0 - 1.0 / (2.0 * n));
                f.p[k] = scale * sinColat * f.p[d];
                f.dp[k] = scale * (cosColat * f.p[d] + sinColat * f.dp[d]);
                continue;
            }
            const std::size_t up = TermIndex(n - 1, m);
            const double norm = std::sqrt(double(n * n - m * m));
            f.p[k] = (2 * n - 1) * cosColat * f.p[up] / norm;
            f.dp[k] = (2 * n - 1) * (cosColat * f.dp[up] - sinColat * f.p[up]) / norm;
            if (m <= n - 2) {
                const std::size_t up2 = TermIndex(n - 2, m);
                const double back = std::sqrt(double((n - 1) * (n - 1) - m * m)) / norm;
                f.p[k] -= back * f.p[up2];
                f.dp[k] -= back * f.dp[up2];
            }
        }
    }
    return f;
}

// A date outside the range in hundredths, never rounded into the range.
std::string OutsideDateText(const Model& model, double decimalYear)
{
    double shown = std::round(decimalYear * 100) / 100;
    if (decimalYear < model.validFrom)
        shown = std::min(shown, model.validFrom - 0.01);
    else
        shown = std::max(shown, model.validTo + 0.01);
    return FixedText(shown, 2);
}

std::string PositionFault(const GeodeticPosition& at)
{
    if (std::isnan(at.latitudeDegrees))
        return "The latitude is not a number";
    if (!(at.latitudeDegrees >= -90 && at.latitudeDegrees <= 90))
        return "The latitude " + ShortestText(at.latitudeDegrees) + " is outside -90 to 90 degrees";
    if (!std::isfinite(at.longitudeDegrees))
        return "The longitude is not a finite number";
    if (std::isnan(at.heightMetres))
        return "The height is not a number";
    if (!(at.heightMetres >= kLowestHeightMetres && at.heightMetres <= kHighestHeightMetres))
        return "The height " + ShortestText(at.heightMetres) + " m is outside -10 km to 1000 km";
    return {};
}

} // namespace

std::variant<MagneticField, FieldRefusal> ComputeField(const Model& model, const GeodeticPosition& at,
                                                       double decimalYear)
{
    if (model.degree < 1 || model.degree > kMaxDegree || model.epochs.empty()
        || model.atEpochs.size() != model.epochs.size())
        return FieldRefusal{"The model " + model.name + " holds no coefficients"};
    if (!std::isfinite(decimalYear))
        return FieldRefusal{"The date is not a number"};
    if (!Covers(model, decimalYear))
        return FieldRefusal{"The date " + OutsideDateText(model, decimalYear) + " is outside " + RangeText(model)};
    if (std::string fault = PositionFault(at); !fault.empty())
        return FieldRefusal{fault};

    // Geodetic to geocentric: radius, and the colatitude's cosine and sine.
    const double sinLat = std::sin(at.latitudeDegrees * kRadian);
    const double cosLat = std::cos(at.latitudeDegrees * kRadian);
    const double heightKm = at.heightMetres / 1000;
    const double e2 = wgs84::kEccentricitySquared;
    const double primeVertical = wgs84::kSemiMajorAxisKm / std::sqrt(1 - e2 * sinLat * sinLat);
    const double p = (primeVertical + heightKm) * cosLat;
    const double z = (primeVertical * (1 - e2) + heightKm) * sinLat;
    const double r = std::hypot(p, z);
    const double cosColat = z / r;
    const double sinColat = std::max(p / r, kLeastSinColatitude);

    const Coefficients c = CoefficientsAt(model, decimalYear);
    const Legendre f = LegendreFunctions(model.degree, cosColat, sinColat);
    const double lon = at.longitudeDegrees * kRadian;
    const double ratio = kReferenceRadiusKm / r;
    double north = 0, east = 0, down = 0; // geocentric
    double power = ratio * ratio;         // (a/r)^(n+2)
    for (int n = 1; n <= model.degree; ++n) {
        power *= ratio;
        for (int m = 0; m <= n; ++m) {
            const std::size_t k = TermIndex(n, m);
            const double cosM = std::cos(m * lon), sinM = std::sin(m * lon);
            const double along = c.g[k] * cosM + c.h[k] * sinM;
            north += power * along * f.dp[k];
            east += power * m * (c.g[k] * sinM - c.h[k] * cosM) * f.p[k] / sinColat;
            down -= power * (n + 1) * along * f.p[k];
        }
    }

    // Back to geodetic axes: turn by the geocentric minus the geodetic latitude.
    const double cosTurn = sinColat * cosLat + cosColat * sinLat;
    const double sinTurn = cosColat * cosLat - sinColat * sinLat;
    MagneticField field;
    field.northNt = north * cosTurn - down * sinTurn;
    field.eastNt = east;
    field.downNt = north * sinTurn + down * cosTurn;
    field.horizontalNt = std::hypot(field.northNt, field.eastNt);
    field.totalNt = std::hypot(field.horizontalNt, field.downNt);
    field.declinationDegrees = std::atan2(field.eastNt, field.northNt) / kRadian;
    field.inclinationDegrees = std::atan2(field.downNt, field.horizontalNt) / kRadian;
    return field;
}

} // namespace geomag

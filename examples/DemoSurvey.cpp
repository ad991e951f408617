#include "examples/DemoSurvey.h"

#include "geomag/BuiltInModels.h"
#include "geomag/NormalGravity.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <variant>

namespace demo {
namespace {

constexpr double kDegToRad = 0.017453292519943295;
constexpr double kMagNoise = 0.00012; // gauss
constexpr double kAccNoise = 0.002;   // m/s2
constexpr double kSpike = 0.085;      // gauss added to MagX and MagY

// The body: a magnetised sphere about 10 m beside the hole at 205 m, seen as
// a dipole. Its
// position is in metres from the collar (east and north of magnetic north,
// up), its moment a direction and a strength (gauss at one metre).
constexpr double kBodyEast = 36.0;
constexpr double kBodyNorth = 30.0;
constexpr double kBodyUp = -200.0;
constexpr double kBodyMoment = 0.045 * 10.0 * 10.0 * 10.0;
constexpr double kMomentNorth = 0.35, kMomentEast = 0.75, kMomentUp = -0.56;

double Round(double value, double scale) { return std::nearbyint(value * scale) / scale; }

Field BodyField(double east, double north, double up)
{
    const double rx = east - kBodyEast, ry = north - kBodyNorth, rz = up - kBodyUp;
    const double r = std::sqrt(rx * rx + ry * ry + rz * rz);
    const double norm = std::sqrt(kMomentNorth * kMomentNorth + kMomentEast * kMomentEast + kMomentUp * kMomentUp);
    const double mx = kMomentEast / norm, my = kMomentNorth / norm, mz = kMomentUp / norm;
    const double ux = rx / r, uy = ry / r, uz = rz / r;
    const double dot = mx * ux + my * uy + mz * uz;
    const double k = kBodyMoment / (r * r * r);
    return {k * (3 * dot * uy - my), k * (3 * dot * ux - mx), k * (3 * dot * uz - mz)};
}

} // namespace

geomag::MagneticField MainField(double heightMetres)
{
    // Over the collar: the main field changes by under 1 nT across the hole's
    // horizontal reach, but by some 7 nT down its depth.
    const auto field = geomag::ComputeField(geomag::BuiltInModel(geomag::ModelId::Igrf14),
                                            {kLatitude, kLongitude, heightMetres}, *geomag::DecimalYear(kSurveyDate));
    if (const auto* f = std::get_if<geomag::MagneticField>(&field))
        return *f;
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    return {kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN};
}

double Gravity()
{
    return geomag::NormalGravity(kLatitude);
}

double HoleInclination(double depth)
{
    const double f = depth / 400.0;
    return 78.0 - 15.0 * f * f + 1.5 * std::sin(depth / 37.0);
}

double HoleAzimuth(double depth)
{
    const double f = depth / 400.0;
    return 34.0 + 18.0 * f * f * (3.0 - 2.0 * f) + 1.2 * std::sin(depth / 23.0);
}

double ProbeRoll(double depth)
{
    // About seven turns over the hole, not quite steadily.
    const double roll = 40.0 + 360.0 * depth / 57.0 + 30.0 * std::sin(depth / 9.0);
    return std::fmod(roll, 360.0);
}

SurveyGenerator::SurveyGenerator() : m_state(0x6b65737472697831ULL), m_gravity(Gravity()) {}

std::uint64_t SurveyGenerator::NextBits()
{
    // splitmix64: small, and the same on every platform.
    std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

double SurveyGenerator::Gaussian()
{
    const double u1 = (static_cast<double>(NextBits() >> 11) + 1.0) / 9007199254740993.0;
    const double u2 = static_cast<double>(NextBits() >> 11) / 9007199254740992.0;
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * 3.141592653589793 * u2);
}

Sample SurveyGenerator::Next(int index)
{
    const double depth = index * kDepthStep;
    const double incl = HoleInclination(depth) * kDegToRad;
    const double az = HoleAzimuth(depth) * kDegToRad;

    // Step down the hole to place the probe relative to the body.
    const double step = depth - m_lastDepth;
    m_east += step * std::cos(incl) * std::sin(az);
    m_north += step * std::cos(incl) * std::cos(az);
    m_up -= step * std::sin(incl);
    m_lastDepth = depth;

    // The main field in gauss, north along magnetic north.
    const geomag::MagneticField main = MainField(kHeight + m_up);
    const Field body = BodyField(m_east, m_north, m_up);
    m_field = {main.horizontalNt * 1e-5 + body.north, body.east, -main.downNt * 1e-5 + body.up};

    // The field in the hole's frame: along the hole's horizontal direction
    // (h2), across it (h1) and up (v); the azimuth the core measures is
    // atan2(h1, h2).
    const double h1 = m_field.north * std::sin(az) - m_field.east * std::cos(az);
    const double h2 = m_field.north * std::cos(az) + m_field.east * std::sin(az);
    const double v = m_field.up;

    // Undo the core's removal of inclination and roll.
    const double r = ProbeRoll(depth) * kDegToRad;
    const double s = (90.0 - HoleInclination(depth)) * kDegToRad;
    const double across = h2 * std::cos(s) + v * std::sin(s);
    Sample sample{};
    sample.depth = depth;
    sample.magZ = h2 * std::sin(s) - v * std::cos(s);
    sample.magX = h1 * std::cos(r) - across * std::sin(r);
    sample.magY = h1 * std::sin(r) + across * std::cos(r);

    // Gravity: AccZ gives the inclination, AccX and AccY the roll.
    const double t = (180.0 - ProbeRoll(depth)) * kDegToRad;
    sample.accZ = m_gravity * std::cos(incl);
    sample.accX = m_gravity * std::sin(incl) * std::sin(t);
    sample.accY = m_gravity * std::sin(incl) * std::cos(t);

    sample.magX += kMagNoise * Gaussian();
    sample.magY += kMagNoise * Gaussian();
    sample.magZ += kMagNoise * Gaussian();
    sample.accX += kAccNoise * Gaussian();
    sample.accY += kAccNoise * Gaussian();
    sample.accZ += kAccNoise * Gaussian();
    if (std::find(kSpikeSamples.begin(), kSpikeSamples.end(), index) != kSpikeSamples.end()) {
        sample.magX += kSpike;
        sample.magY -= kSpike;
    }

    sample.depth = Round(sample.depth, 1e3);
    sample.magX = Round(sample.magX, 1e5);
    sample.magY = Round(sample.magY, 1e5);
    sample.magZ = Round(sample.magZ, 1e5);
    sample.accX = Round(sample.accX, 1e5);
    sample.accY = Round(sample.accY, 1e5);
    sample.accZ = Round(sample.accZ, 1e5);
    return sample;
}

} // namespace demo

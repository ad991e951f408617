#pragma once

#include "geomag/Date.h"
#include "geomag/Field.h"

#include <array>
#include <cstdint>

// The synthetic borehole survey behind examples/demo.las: a hole about
// 400 m long that flattens and swings slowly, logged every 10 cm by a probe
// that rolls as it goes down, at a real site in the Earth's field as IGRF-14
// gives it there (about 49 490 nT dipping 68.0 degrees), with a magnetic body
// beside the hole near 205 m and a few spiky readings. Angles follow the
// survey core: inclination below the horizontal, roll 0 to 360, azimuth from
// magnetic north.
namespace demo {

constexpr int kSampleCount = 4001; // depths 0.0 to 400.0 m
constexpr double kDepthStep = 0.1; // metres

// The depth interval where the magnetic body disturbs the azimuth.
constexpr double kDisturbedTop = 180.0;
constexpr double kDisturbedBottom = 230.0;

// Samples whose magnetometer reading jumps for one sample (index = depth x 10).
constexpr std::array<int, 5> kSpikeSamples = {573, 1218, 2634, 3181, 3526};

// The site: a collar near Navan, County Meath, Ireland, on WGS 84 / UTM
// zone 29N, surveyed on 14 March 2024.
constexpr int kEpsg = 32629;
constexpr double kEasting = 653240.0;
constexpr double kNorthing = 5946870.0;
constexpr double kHeight = 110.0; // metres above the ellipsoid, as the model takes it
constexpr geomag::Date kSurveyDate{2024, 3, 14};
// The collar's latitude and longitude as that grid gives them (WGS 84), so
// that the generator needs no projection.
constexpr double kLatitude = 53.648119;
constexpr double kLongitude = -6.681545;
// The raw survey file's declination: the grid convergence (1.8676) less
// IGRF-14's declination at the collar (-1.8740), to the file's two decimals.
constexpr double kDeclination = 3.74;

// IGRF-14's main field at `heightMetres` above the ellipsoid over the collar
// on the survey's date; NaN throughout should the model refuse it.
geomag::MagneticField MainField(double heightMetres);
// WGS84 normal gravity at the collar, m/s2: what the accelerometer reads.
double Gravity();

// The hole's own direction at `depth`, in degrees.
double HoleInclination(double depth);
double HoleAzimuth(double depth);
double ProbeRoll(double depth);

// The magnetic field at the probe in magnetic north, east and up
// components (gauss), the body's anomaly included.
struct Field {
    double north, east, up;
};

// One logged sample: depth in metres, magnetometer in gauss, accelerometer
// in m/s2, each rounded to the decimals written to the LAS file.
struct Sample {
    double depth;
    double magX, magY, magZ;
    double accX, accY, accZ;
};

// Generates the samples in depth order; the same every run on every machine
// (a fixed pseudo-random sequence of its own for the sensor noise).
class SurveyGenerator {
public:
    SurveyGenerator();
    // The sample `index` (0 to kSampleCount - 1); call in increasing order.
    Sample Next(int index);
    // The field at the last sample, anomaly included, noise excluded.
    const Field& LastField() const { return m_field; }

private:
    double Gaussian();
    std::uint64_t NextBits();

    std::uint64_t m_state;
    double m_gravity;
    double m_east = 0.0, m_north = 0.0, m_up = 0.0; // position from the collar, magnetic frame
    double m_lastDepth = 0.0;
    Field m_field{};
};

} // namespace demo

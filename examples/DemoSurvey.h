#pragma once

#include <array>
#include <cstdint>

// The synthetic borehole survey behind examples/demo.las: a hole about
// 400 m long that flattens and swings slowly, logged every 10 cm by a probe
// that rolls as it goes down, in an Earth-like field of 0.52 gauss dipping
// 68 degrees, with a magnetic body beside the hole near 205 m and a few
// spiky readings. Angles follow the survey core: inclination below the
// horizontal, roll 0 to 360, azimuth from magnetic north.
namespace demo {

constexpr int kSampleCount = 4001;      // depths 0.0 to 400.0 m
constexpr double kDepthStep = 0.1;      // metres
constexpr double kGravity = 9.80665;    // m/s2
constexpr double kFieldStrength = 0.52; // gauss
constexpr double kFieldDip = 68.0;      // degrees below the horizontal

// The depth interval where the magnetic body disturbs the azimuth.
constexpr double kDisturbedTop = 180.0;
constexpr double kDisturbedBottom = 230.0;

// Samples whose magnetometer reading jumps for one sample (index = depth x 10).
constexpr std::array<int, 5> kSpikeSamples = {573, 1218, 2634, 3181, 3526};

// The collar written into the demo raw survey file.
constexpr double kEasting = 512430.0;
constexpr double kNorthing = 7034815.0;
constexpr double kHeight = 286.0;
constexpr double kDeclination = 12.5;

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
    double m_east = 0.0, m_north = 0.0, m_up = 0.0; // position from the collar, magnetic frame
    double m_lastDepth = 0.0;
    Field m_field{};
};

} // namespace demo

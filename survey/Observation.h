#pragma once

namespace survey {

// Gauss to nanotesla, as the magnetometer values are shown and exported.
inline constexpr double kNanoteslaPerGauss = 100000.0;

// One reading of the probe and everything computed from it. Fields Depth to
// AccZ come from a row of the raw survey file; the rest are computed and start
// at zero. Depths and positions in metres, angles in degrees, magnetometer
// values in gauss (x kNanoteslaPerGauss for nanotesla).
struct Observation {
    double Depth;
    double MagX;
    double MagY;
    double MagZ;
    double AccX;
    double AccY;
    double AccZ;
    double MagH1;
    double MagH2;
    double MagV;
    double CalcIncl;
    double CalcRoll;
    double CalcAzMag;
    double MagE;
    double MagN;
    double MagU;
    double East;
    double North;
    double Height;
    double AzUsed;
};

inline constexpr int kObservationFieldCount = 20;
static_assert(sizeof(Observation) == kObservationFieldCount * sizeof(double), "an observation is twenty doubles");

// The field names in record order, for tabular dumps.
inline constexpr const char* kObservationFieldNames[kObservationFieldCount] = {
    "Depth", "MagX", "MagY", "MagZ", "AccX", "AccY", "AccZ", "MagH1", "MagH2", "MagV",
    "CalcIncl", "CalcRoll", "CalcAzMag", "MagE", "MagN", "MagU", "East", "North", "Height", "AzUsed",
};

// Field `index` (0 to kObservationFieldCount - 1) of `obs`, in record order.
inline double FieldOf(const Observation& obs, int index)
{
    const double* fields[kObservationFieldCount] = {
        &obs.Depth, &obs.MagX, &obs.MagY, &obs.MagZ, &obs.AccX, &obs.AccY, &obs.AccZ,
        &obs.MagH1, &obs.MagH2, &obs.MagV, &obs.CalcIncl, &obs.CalcRoll, &obs.CalcAzMag,
        &obs.MagE, &obs.MagN, &obs.MagU, &obs.East, &obs.North, &obs.Height, &obs.AzUsed,
    };
    return *fields[index];
}

} // namespace survey

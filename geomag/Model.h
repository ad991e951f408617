#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace geomag {

// The highest degree a model may hold: IGRF's 13, no more, so that a model's
// size stays fixed whatever a coefficient file claims.
inline constexpr int kMaxDegree = 13;
inline constexpr std::size_t kTermCount = (kMaxDegree + 1) * (kMaxDegree + 2) / 2;

// Index of the term of degree n and order m (0 <= m <= n <= kMaxDegree).
constexpr std::size_t TermIndex(int n, int m)
{
    return static_cast<std::size_t>(n * (n + 1) / 2 + m);
}

// Schmidt semi-normalised Gauss coefficients g and h, in nT (or nT a year
// for secular variation); the degree-0 term is always 0.
struct Coefficients {
    std::array<double, kTermCount> g{};
    std::array<double, kTermCount> h{};
};

// A main-field model: coefficients at increasing epochs (decimal years),
// linear between them, and the secular variation after the last one.
struct Model {
    std::string name; // as messages name it, such as "IGRF-14"
    int degree = 0;   // sums run to this degree
    std::vector<double> epochs;
    std::vector<Coefficients> atEpochs; // one per epoch
    Coefficients secularVariation;
    double validFrom = 0; // the dates the model covers, ends included
    double validTo = 0;
};

// True when `decimalYear` lies within the model's valid range.
bool Covers(const Model& model, double decimalYear);

// The coefficients at `decimalYear`, which the model covers; all 0 for a
// model without epochs.
Coefficients CoefficientsAt(const Model& model, double decimalYear);

// `value` with `decimals` decimals, in any locale ("2031.20").
std::string FixedText(double value, int decimals);
// `value` in the fewest fixed-point digits that read back as it, in any
// locale ("90.5", "-6000000").
std::string ShortestText(double value);

// "IGRF-14's range, 1900.0 to 2030.0", for messages.
std::string RangeText(const Model& model);

} // namespace geomag

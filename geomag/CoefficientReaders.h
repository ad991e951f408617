#pragma once

#include "geomag/Model.h"

#include <cstdint>
#include <istream>
#include <string>
#include <variant>

namespace geomag {

// Why a coefficient file was refused: the line (from 1; 0 for the file as a
// whole) and why.
struct ReadFault {
    std::int64_t line;
    std::string reason;
};

// "line 12: ..." or, for the file as a whole, the reason alone.
std::string FaultText(const ReadFault& fault);

// Reads a WMM coefficient file: a line "epoch name date", lines
// "n m g h dg dh" (dg, dh in nT a year), then a line of 9s. Every term up to
// the highest degree read must appear once; degrees run from 1 to kMaxDegree;
// coefficients are finite and within ±1e6 nT (a year). The model covers its
// epoch to five years on. Lines are at most 1000 characters; memory stays
// bounded whatever the input.
std::variant<Model, ReadFault> ReadWmmCoefficients(std::istream& in);

// Reads an IGRF coefficient file: lines before "g/h n m epoch... SV" are
// headings; then lines "g n m value... sv" (or "h", order at least 1) with one
// value per epoch and the secular variation after the last. Every term to
// degree 13 must appear once (IGRF files hold 0 where a generation stopped
// short), so a file cut short is refused. The same limits as the WMM reader
// hold, and at most 100 epochs, increasing. The model covers its first epoch
// to five years after its last.
std::variant<Model, ReadFault> ReadIgrfCoefficients(std::istream& in);

} // namespace geomag

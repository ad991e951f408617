#pragma once

#include "convert/Collar.h"
#include "convert/CurveMapping.h"

#include <cstddef>
#include <string>
#include <vector>

namespace convert {

// One `MNEM.UNIT  VALUE : DESCRIPTION` line of a LAS header section.
struct HeaderValue {
    char section = '\0'; // 'W' for ~Well, 'P' for ~Parameter
    std::string mnemonic;
    std::string unit;
    std::string value;
};

// What the user is shown of a LAS file before it is converted.
struct LasPreview {
    static constexpr std::size_t kMostHeaderValues = 200;
    static constexpr std::size_t kValueCharacters = 16;

    std::vector<LasCurve> curves;
    // The lines of ~Well and ~Parameter, the first kMostHeaderValues of them.
    std::vector<HeaderValue> header;
    // The first records as the file holds them, one value per curve, each
    // cut to kValueCharacters.
    std::vector<std::vector<std::string>> firstRows;
};

// The collar values a LAS header holds under the usual mnemonics (XCOORD,
// EASTING, ELEV, EKB, DECL, ...), the likeliest mnemonic first, then ~Well
// before ~Parameter; lengths in metres or feet are taken into metres. The
// file's declination is east positive, as maps give it; the raw survey
// file's is subtracted from the magnetic azimuth, so it enters negated.
// `taken` says, one line each, what came from where.
struct CollarFromLas {
    Collar collar;
    std::vector<std::string> taken;
};
CollarFromLas CollarFromHeader(const std::vector<HeaderValue>& header);

} // namespace convert

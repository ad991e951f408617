#pragma once

#include <cstdint>

namespace survey {

class CKestrixDoc;

// AzUsed of readings begin to end - 1, the measured azimuth CalcAzMag or the
// fit in force where it replaces it (as ApplyFitInForce puts it), then their
// components: to the bits of ResolveComponents after that. The quality
// values do not depend on it.
void ResolveWithAzimuthInForce(CKestrixDoc& doc, std::int32_t begin, std::int32_t end);

} // namespace survey

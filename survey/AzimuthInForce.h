#pragma once

namespace survey {

class CKestrixDoc;

// AzUsed of every reading, the measured azimuth CalcAzMag or the fit in force
// where it replaces it (as ApplyFitInForce puts it), then its components, in
// one pass over the table: to the bits of ResolveComponents after that. The
// quality values do not depend on it.
void ResolveWithAzimuthInForce(CKestrixDoc& doc);

} // namespace survey

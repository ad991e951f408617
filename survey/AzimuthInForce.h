#pragma once

namespace survey {

class CKestrixDoc;

// AzUsed of every reading, the measured azimuth CalcAzMag or the fit in force
// where it replaces it (as ApplyFitInForce puts it), then its components and
// quality values, in one pass over the table: to the bits of ResolveComponents
// and CalcQualityValues after those. With `fieldsKnown` the quality values
// hold the field and gravity of these very readings, and only their dip is
// worked out again.
void ResolveWithAzimuthInForce(CKestrixDoc& doc, bool fieldsKnown);

} // namespace survey

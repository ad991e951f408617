#pragma once

#include "survey/Observation.h"

namespace survey {

class CKestrixDoc;

// What a reading says about the probe's sensors: away from magnetic bodies
// and with the probe still, all three stay nearly constant down the hole.
struct QualityValues {
    double totalField;   // |(MagX, MagY, MagZ)| in nT
    double totalGravity; // |(AccX, AccY, AccZ)| in the accelerometer's units
    double dip;          // the field's angle below the horizontal, degrees in
                         // -90 to 90, from the field turned to the
                         // horizontal and vertical; NaN when the field or
                         // the gravity is zero
};

// The quality values of one reading, from its recorded magnetometer and
// accelerometer vectors and its field turned to the horizontal and vertical
// (MagH1, MagH2, MagV, so after CalcAzimuth): none of them depends on the
// azimuth in force. Never fails; non-finite readings give NaN or infinite
// values.
QualityValues QualityOf(const Observation& obs);

// Fills doc.m_QualityValues with one entry per observation (CalcOrientation
// does so in its own pass).
void CalcQualityValues(CKestrixDoc& doc);

} // namespace survey

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
                         // -90 to 90, from the resolved components; NaN
                         // when the field or the gravity is zero
};

// The quality values of one reading, from its recorded magnetometer and
// accelerometer vectors and its resolved components (MagE, MagN, MagU, so
// after ResolveComponents). Never fails; non-finite readings give NaN or
// infinite values.
QualityValues QualityOf(const Observation& obs);

// The dip of QualityOf(obs) when `values` are obs's field and gravity as
// QualityOf worked them out: for components resolved anew.
double DipOf(const Observation& obs, const QualityValues& values);

// Fills doc.m_QualityValues with one entry per observation (a step of the
// recalculation chain).
void CalcQualityValues(CKestrixDoc& doc);

} // namespace survey

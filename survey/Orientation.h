#pragma once

#include <cstdint>
#include <numbers>
#include <vector>

namespace survey {

class CKestrixDoc;

// Steps of the recalculation chain that orient the probe. Each works over the
// whole observation table and does nothing when it is empty.

// CalcIncl from the accelerometer: 0 for a zero vector.
void CalcInclination(CKestrixDoc& doc);
// CalcRoll from AccX and AccY, plus the document's roll adjustment.
void CalcRollAngle(CKestrixDoc& doc);
// MagH1, MagH2, MagV and the magnetic azimuth CalcAzMag (= AzUsed); azimuths
// go into 0 to 360 when their mean lies within 20 degrees of 180.
void CalcAzimuth(CKestrixDoc& doc);
// CalcInclination, CalcRollAngle, CalcAzimuth and CalcQualityValues in one
// pass over the table, to the same bits; the document's orientation is then
// current.
void CalcOrientation(CKestrixDoc& doc);
// MagE, MagN, MagU with the azimuth in force, AzUsed.
void ResolveComponents(CKestrixDoc& doc);

// CalcOrientation in parts, so that other work on each reading can share its
// pass over the table: Orient blocks of readings that together cover the
// table once each (from several threads at once when they do not overlap),
// then Finish once.
class TableOrientation {
public:
    explicit TableOrientation(CKestrixDoc& doc);
    // Readings begin to end - 1 as CalcOrientation leaves them when the wrap
    // rule decides as it did last time.
    void Orient(std::int32_t begin, std::int32_t end);
    // Decides the wrap; true when it decided otherwise than last time and
    // that changed any reading's azimuth since Orient.
    bool Finish();

private:
    CKestrixDoc& m_doc;
    bool m_wrapsAsBefore;
    std::vector<double> m_terms;
    std::vector<std::uint8_t> m_isNegative;
};

// The circle's constant, and degrees to radians as every step of the chain
// converts.
inline constexpr double kPi = std::numbers::pi;
inline constexpr double kDegToRad = kPi / 180;
static_assert(kDegToRad == 0.017453292519943295, "the double nearest to pi / 180");

} // namespace survey

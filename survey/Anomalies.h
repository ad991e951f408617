#pragma once

#include <vector>

namespace survey {

class CKestrixDoc;

// A reading's magnetic components less what is expected of them, nT, in the
// survey's magnetic frame (north along the magnetic azimuth in force).
struct Anomaly {
    double tmi, east, north, up;
};

// The median over the survey of the East, North and Up components and of
// their total, nT; 0 for one with no finite value.
struct ComponentMedians {
    double east, north, up, total;
};
ComponentMedians MedianComponents(const CKestrixDoc& doc);

// Every reading's anomalies, as last recalculated. With a reference field
// (CKestrixDoc::m_reference) they are against the model's field there:
// East, North less H, Up plus Z (Z is down), total less F. Without one each
// is less its median over the survey (MedianComponents).
std::vector<Anomaly> AnomaliesOf(const CKestrixDoc& doc);
// Whether AnomaliesOf(doc) gives them against the model's field.
bool AnomaliesAgainstReference(const CKestrixDoc& doc);

} // namespace survey

#pragma once

#include <cstdint>
#include <functional>
#include <span>

namespace survey {

class CKestrixDoc;

// East, North and Height of every observation, stepped down the hole from the
// collar: to the first with its own direction, then between neighbours with
// their averaged angles or, as the document's trajectory method says, along
// the arc through both directions (minimum curvature). Azimuths are turned
// to the grid by the declination in force. Every reading's step is kept in
// doc.m_PositionSteps.
void CalcPositions(CKestrixDoc& doc);

// As CalcPositions, in the same pass over the table as prepare(begin, end),
// which puts what the steps read in place (AzUsed, say) for readings begin
// to end - 1 and for no other: called once on each of blocks that together
// cover the table, from several threads at once, before any step that reads
// those readings. With `inclinationsKept`, only the azimuths in force or
// the declination changed since the steps were last worked out (same
// readings, orientation and traversal), so average-angle steps keep their
// horizontal length and rise.
void CalcPositions(CKestrixDoc& doc, const std::function<void(std::int32_t, std::int32_t)>& prepare,
                   bool inclinationsKept);

// What the positioning adds to the position of the reading before a reading
// (in the order the table is traversed) to give that reading's, in metres;
// for the first reading, its offset from the collar.
struct PositionStep {
    double east, north, up;
    // The step's length across the horizontal for an average-angle step
    // from another reading; NaN for any other.
    double horizontal;
};

// As CalcPositions, for a table traversed from its first observation whose
// step of every reading but those `stale` (ascending; 0 is the first reading,
// placed from the collar; those past the table are ignored) is as
// CalcPositions would work it out now, and whose positions before the first
// stale reading are CalcPositions': works out the stale steps and sums the
// positions on from there, to the bit what CalcPositions gives.
void RestepPositions(CKestrixDoc& doc, std::span<const std::int32_t> stale);

// The angle in degrees between the hole's directions at two readings, each
// an azimuth from a north both share and an inclination below the
// horizontal, in degrees: the dogleg the positions bend through.
double DoglegDegrees(double azimuthA, double inclinationA, double azimuthB, double inclinationB);

// Whether the table is traversed from its last observation to its first (the
// last depth is shallower than the first). Positions and the export follow it.
bool TraversesBackwards(const CKestrixDoc& doc);

} // namespace survey

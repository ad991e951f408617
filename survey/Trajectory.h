#pragma once

namespace survey {

class CKestrixDoc;

// East, North and Height of every observation, stepped down the hole from the
// collar: to the first with its own direction, then between neighbours with
// their averaged angles or, as the document's trajectory method says, along
// the arc through both directions (minimum curvature). Azimuths are turned
// to the grid by the declination in force.
void CalcPositions(CKestrixDoc& doc);

// As CalcPositions, for a table traversed from its first observation whose
// positions before `first` (1 or more) are as CalcPositions left them: steps
// on from observation first - 1 only.
void CalcPositionsFrom(CKestrixDoc& doc, int first);

// The angle in degrees between the hole's directions at two readings, each
// an azimuth from a north both share and an inclination below the
// horizontal, in degrees: the dogleg the positions bend through.
double DoglegDegrees(double azimuthA, double inclinationA, double azimuthB, double inclinationB);

// Whether the table is traversed from its last observation to its first (the
// last depth is shallower than the first). Positions and the export follow it.
bool TraversesBackwards(const CKestrixDoc& doc);

} // namespace survey

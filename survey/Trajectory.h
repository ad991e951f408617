#pragma once

namespace survey {

class CKestrixDoc;

// East, North and Height of every observation, stepped down the hole from the
// collar with the averaged angles of neighbouring observations.
void CalcPositions(CKestrixDoc& doc);

// Whether the table is traversed from its last observation to its first (the
// last depth is shallower than the first). Positions and the export follow it.
bool TraversesBackwards(const CKestrixDoc& doc);

} // namespace survey

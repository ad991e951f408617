#pragma once

#include <QRect>
#include <vector>

// Where Tile and Cascade put `count` windows in `area` (the MDI area's
// viewport), window i at element i.

// A grid in reading order: rows of ceil(sqrt(count)) windows, the last row's
// windows sharing its width between them. The tiles cover `area` exactly,
// without overlapping.
std::vector<QRect> TileGeometry(int count, const QRect& area);

// A staircase from the top-left corner, `step` pixels across and down per
// window (one title bar). Every window gets the same size: the area less the
// staircase, but at least two thirds of it each way; a staircase that would
// leave the area starts again at the corner.
std::vector<QRect> CascadeGeometry(int count, const QRect& area, int step);

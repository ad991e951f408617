#include "Cursors.h"

// Placeholder shapes until the drawn bitmaps land.
QCursor MakeDeleteCursor() { return QCursor(Qt::CrossCursor); }
QCursor MakeTargetCursor() { return QCursor(Qt::PointingHandCursor); }
QCursor MakeControlCursor() { return QCursor(Qt::CrossCursor); }

#pragma once

#include <QCursor>

// The three 32 x 32 monochrome editing cursors, built from their shapes.
QCursor MakeDeleteCursor();  // resource 132, hot spot (7, 7)
QCursor MakeTargetCursor();  // resource 133, hot spot (7, 7)
QCursor MakeControlCursor(); // resource 134, hot spot (15, 15)

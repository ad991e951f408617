#pragma once

#include <QCursor>

// The three 32 x 32 monochrome editing cursors, drawn in black on
// transparent. Build them once the application object exists.
QCursor MakeDeleteCursor();  // crosshair, open centre, and a burst; hot spot (7, 7)
QCursor MakeTargetCursor();  // hollow square, and a burst; hot spot (7, 7)
QCursor MakeControlCursor(); // large crosshair with a 3 x 3 gap; hot spot (15, 15)

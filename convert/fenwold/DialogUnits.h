#pragma once

#include <QFont>
#include <QRect>

// Dialog templates are laid out in dialog units, which scale with the
// dialog's font as on Windows: a horizontal unit is a quarter of the font's
// average character width, a vertical unit an eighth of its height.
struct DialogBaseUnits {
    int x = 0; // average character width in pixels
    int y = 0; // character height in pixels
};

// The base units of `font`: the average width of the 52 letters, rounded as
// Windows rounds it, and the font's height.
DialogBaseUnits BaseUnitsOf(const QFont& font);

// a × b / c rounded to the nearest integer (halves away from zero).
int MulDiv(int a, int b, int c);

// A rectangle given in dialog units, in pixels.
QRect DialogRect(const DialogBaseUnits& units, int x, int y, int width, int height);

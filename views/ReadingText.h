#pragma once

#include <QString>

// A reading's values as the status bar gives them: C-locale numbers with
// their units, the same under any user's locale.

// "37.82°"; "nan°" for a value that is not a number.
QString Degrees(double value);
// "-45612 nT", to the nanotesla.
QString Nanotesla(double value);
// `value` with `decimals` places and no unit.
QString Plain(double value, int decimals);

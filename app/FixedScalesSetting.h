#pragma once

// Whether the depth plots keep their fixed value ranges (View > Fixed
// Scales), as the program keeps it between runs in the settings store.
// Off, and so fitted ranges, until the user turns it on.
bool LoadFixedScales();
void SaveFixedScales(bool on);

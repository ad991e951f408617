#pragma once

#include "survey/SpikeFinder.h"

// The spike finder's settings as the program keeps them between runs, in the
// settings store beside the recent files. What a valid setting is, the spike
// finder says (survey::IsValidSpikeSettings).

// The stored settings; a setting missing or out of range is its default.
survey::SpikeSettings LoadSpikeSettings();
// Stores `settings` when valid; false (nothing stored) when not.
bool SaveSpikeSettings(const survey::SpikeSettings& settings);

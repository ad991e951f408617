#pragma once

#include "survey/SpikeFinder.h"

// What the quality control items judge a survey by: the spike finder's
// settings and the tolerances against the reference field, chosen in one
// dialog and kept together.
struct QualitySettings {
    survey::SpikeSettings spikes;
    survey::ReferenceTolerances tolerances;
};

// The settings as the program keeps them between runs, in the settings
// store beside the recent files. What a valid setting is, the survey core
// says (survey::IsValidSpikeSettings, survey::IsValidReferenceTolerances).

// The stored settings; a setting missing or out of range is its default.
QualitySettings LoadQualitySettings();
// Stores `settings` when valid; false (nothing stored) when not.
bool SaveQualitySettings(const QualitySettings& settings);

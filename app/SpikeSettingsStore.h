#pragma once

#include "survey/KestrixDoc.h"
#include "survey/SpikeFinder.h"

// The spike finder's settings as the program keeps them between runs, in the
// settings store beside the recent files.

// The largest window half-width: a window of 2k + 1 readings then holds any survey.
inline constexpr int kMaxSpikeHalfWindow = survey::CKestrixDoc::kMaxObservations / 2;

// Whether every setting is in range: k from 0 to kMaxSpikeHalfWindow, t a
// finite number above 0, each floor a finite number not below 0.
bool IsValidSpikeSettings(const survey::SpikeSettings& settings);

// The stored settings; a setting missing or out of range is its default.
survey::SpikeSettings LoadSpikeSettings();
// Stores `settings` when valid; false (nothing stored) when not.
bool SaveSpikeSettings(const survey::SpikeSettings& settings);

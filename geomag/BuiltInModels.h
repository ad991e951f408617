#pragma once

#include "geomag/Model.h"

#include <optional>
#include <string_view>

namespace geomag {

// The models built into the programs.
enum class ModelId { Igrf14, Wmm2025 };
inline constexpr ModelId kDefaultModel = ModelId::Igrf14;

// "igrf14" or "wmm2025", as files and command lines name them.
std::string_view ModelIdText(ModelId id);
// The model a text names, in exactly those spellings; nothing for any other.
std::optional<ModelId> ModelIdFromText(std::string_view text);

// The model, read from the built-in coefficient files once, on first use
// from any thread; named "IGRF-14" or "WMM2025".
const Model& BuiltInModel(ModelId id);

} // namespace geomag

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace survey {

class CKestrixDoc;

// A hole's name is at most this many bytes.
inline constexpr std::size_t kMaxHoleNameBytes = 200;

// Why `name` cannot be a hole's name, or "" when it can: one line of
// printable UTF-8 text, not empty, no longer than kMaxHoleNameBytes, without
// control characters and without spaces at either end.
std::string HoleNameProblem(std::string_view name);

// The name pictures and exports give the hole: the one set as an edit, else
// the survey's file name without its folder.
std::string HoleNameOf(const CKestrixDoc& doc);

} // namespace survey

#pragma once

#include <cstdint>
#include <functional>

namespace survey {

// Calls body(begin, end) on stretches that together cover 0 to `count` once
// each, on both cores when the machine has them and the work is long enough,
// and returns when every stretch is done. `body` must not throw; each call
// sees only its own stretch, so what it works out is the same on any split.
void ForStretches(std::int32_t count, const std::function<void(std::int32_t, std::int32_t)>& body);

} // namespace survey

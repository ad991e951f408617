#pragma once

#include <cstdint>

namespace survey {

// A reading the user deleted, named so that the same deletion can be made again
// on the survey as loaded: the `occurrence`-th reading (from 1, in table order)
// among those at exactly `depth` that were left when it was deleted.
struct DeletedReading {
    double depth;
    std::int32_t occurrence;
};

} // namespace survey

#pragma once

#include <cstdint>
#include <optional>

namespace survey {

// A measured azimuth (-180 to 180, or already wrapped) as the wrap rule sums
// it: on 0 to 360.
inline double WrapTerm(double azimuth)
{
    return azimuth >= 0 ? azimuth : azimuth + 360;
}

// The wrap rule: the measured azimuths go on 0 to 360 when the mean of the
// `count` terms summing to `sum` lies within 20 degrees of 180.
bool WrapsAzimuths(double sum, std::int32_t count);

// The sum of a table's wrap terms, kept up as readings go and come back
// without summing the table again: within `error` of the exact sum of the
// `count` terms in the table.
struct WrapTermSum {
    double sum = 0.0;
    double error = 0.0;
    std::int32_t count = 0;
};

// The kept sum of `count` terms summed in table order to `sum`.
WrapTermSum SummedInOrder(double sum, std::int32_t count);

// `kept` after `count` readings whose terms sum to `terms` went (count < 0)
// or came back (count > 0).
WrapTermSum Changed(const WrapTermSum& kept, double terms, std::int32_t count);

// What the wrap rule decides for the table of `kept` when its terms are summed
// in table order; none when the sum lies too near the rule's edge to tell.
std::optional<bool> WrapDecision(const WrapTermSum& kept);

} // namespace survey

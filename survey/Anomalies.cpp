#include "survey/Anomalies.h"

#include "survey/KestrixDoc.h"
#include "survey/Median.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace survey {

namespace {

// A reading's components and total field, nT.
Anomaly ComponentsOf(const Observation& o)
{
    const double total = std::sqrt(o.MagE * o.MagE + o.MagN * o.MagN + o.MagU * o.MagU);
    return {total * kNanoteslaPerGauss, o.MagE * kNanoteslaPerGauss, o.MagN * kNanoteslaPerGauss,
            o.MagU * kNanoteslaPerGauss};
}

} // namespace

ComponentMedians MedianComponents(const CKestrixDoc& doc)
{
    const auto n = static_cast<std::size_t>(std::max(doc.m_nObs, 0));
    std::vector<double> east(n), north(n), up(n), total(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Anomaly c = ComponentsOf(doc.m_pObs[static_cast<std::int32_t>(i)]);
        std::tie(east[i], north[i], up[i], total[i]) = std::tie(c.east, c.north, c.up, c.tmi);
    }
    const auto median = [](std::vector<double>& values) {
        const double m = MedianOfFinite(std::move(values));
        return std::isfinite(m) ? m : 0.0;
    };
    return {median(east), median(north), median(up), median(total)};
}

bool AnomaliesAgainstReference(const CKestrixDoc& doc)
{
    return doc.m_nObs > 0 && doc.m_reference.readings.size() == static_cast<std::size_t>(doc.m_nObs);
}

std::vector<Anomaly> AnomaliesOf(const CKestrixDoc& doc)
{
    const auto n = static_cast<std::size_t>(std::max(doc.m_nObs, 0));
    std::vector<Anomaly> anomalies(n);
    const std::vector<ReferenceReading>& reference = doc.m_reference.readings;
    const bool referenced = AnomaliesAgainstReference(doc);
    const ComponentMedians medians = referenced ? ComponentMedians{} : MedianComponents(doc);
    for (std::size_t i = 0; i < n; ++i) {
        const Anomaly c = ComponentsOf(doc.m_pObs[static_cast<std::int32_t>(i)]);
        if (referenced) {
            const ReferenceReading& r = reference[i];
            anomalies[i] = {c.tmi - r.totalNt, c.east, c.north - r.horizontalNt, c.up + r.downNt};
        } else {
            anomalies[i] = {c.tmi - medians.total, c.east - medians.east, c.north - medians.north,
                            c.up - medians.up};
        }
    }
    return anomalies;
}

} // namespace survey

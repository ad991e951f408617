#include "survey/RunningMedian.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace survey {

void RunningMedian::Reset(std::vector<double> values)
{
    std::erase_if(values, [](double v) { return !std::isfinite(v); });
    const std::size_t n = values.size();
    const std::size_t low = n / 2 > kBand ? n / 2 - kBand : 0;
    const std::size_t high = std::min(n, n / 2 + kBand + 1);
    const auto at = [&values](std::size_t k) { return values.begin() + static_cast<std::ptrdiff_t>(k); };
    if (low < n)
        std::nth_element(at(0), at(low), at(n));
    if (high < n)
        std::nth_element(at(low), at(high), at(n));
    std::sort(at(low), at(high));
    m_band.assign(at(low), at(high));
    m_below = low;
    m_above = n - high;
    m_lost = false;
}

void RunningMedian::Remove(double value)
{
    if (!std::isfinite(value) || m_lost)
        return;
    if (!m_band.empty() && value < m_band.front() && m_below > 0) {
        --m_below;
    } else if (!m_band.empty() && value > m_band.back() && m_above > 0) {
        --m_above;
    } else {
        const auto found = std::lower_bound(m_band.begin(), m_band.end(), value);
        if (found != m_band.end() && *found == value)
            m_band.erase(found);
        else
            m_lost = true;
    }
}

void RunningMedian::Add(double value)
{
    if (!std::isfinite(value) || m_lost)
        return;
    if (!m_band.empty() && value < m_band.front())
        ++m_below;
    else if (!m_band.empty() && value > m_band.back())
        ++m_above;
    else if (m_band.empty() && m_below + m_above > 0)
        m_lost = true; // where it lies among the others is not known
    else
        m_band.insert(std::upper_bound(m_band.begin(), m_band.end(), value), value);
}

bool RunningMedian::Known() const
{
    const std::size_t n = m_below + m_band.size() + m_above;
    return !m_lost && (n == 0 || ((n - 1) / 2 >= m_below && n / 2 < m_below + m_band.size()));
}

double RunningMedian::Median() const
{
    const std::size_t n = m_below + m_band.size() + m_above;
    if (n == 0)
        return std::numeric_limits<double>::quiet_NaN();
    const double lower = m_band[(n - 1) / 2 - m_below];
    const double upper = m_band[n / 2 - m_below];
    // Halves first, so huge values cannot overflow.
    return n % 2 ? upper : 0.5 * lower + 0.5 * upper;
}

} // namespace survey

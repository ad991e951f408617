#include "views/PixelEnvelope.h"

#include <algorithm>
#include <array>
#include <utility>

void PixelEnvelope::Start(std::int32_t begin, Gaps gaps)
{
    m_runs.clear();
    m_gaps = gaps;
    m_begin = m_end = begin;
    m_inRun = false;
    m_gapSinceRun = false;
}

// A column whose readings are all drawn and which does not carry on the open
// run opens a run of them all: its extremes are found in a loop the compiler
// can vectorise, and their first places after it.
void PixelEnvelope::AddColumn(std::int32_t column, std::int32_t begin, std::span<const std::int32_t> levels)
{
    if (levels.empty())
        return;
    std::int32_t low = std::numeric_limits<std::int32_t>::max();
    std::int32_t high = std::numeric_limits<std::int32_t>::min();
    for (const std::int32_t level : levels) {
        low = std::min(low, level);
        high = std::max(high, level);
    }
    if (low != kNoLevel && !(m_inRun && m_column == column)) {
        CloseRun();
        AddWholeRun(column, begin, levels, low, high);
        return;
    }
    for (std::size_t j = 0; j < levels.size(); ++j)
        AddOne(column, begin + static_cast<std::int32_t>(j), levels[j]);
}

void PixelEnvelope::AddWholeRun(std::int32_t column, std::int32_t begin, std::span<const std::int32_t> levels,
                                std::int32_t low, std::int32_t high)
{
    const auto placeOf = [&](std::int32_t level) {
        return static_cast<std::int32_t>(std::find(levels.begin(), levels.end(), level) - levels.begin());
    };
    const auto last = static_cast<std::int32_t>(levels.size()) - 1;
    m_inRun = true;
    m_column = column;
    m_runBegin = begin;
    m_runLast = begin + last;
    m_first = {0, levels.front()};
    m_low = {placeOf(low), low};
    m_high = {placeOf(high), high};
    m_last = {last, levels.back()};
}

void PixelEnvelope::AddOne(std::int32_t column, std::int32_t index, std::int32_t level)
{
    if (level == kNoLevel) {
        if (m_gaps == Gaps::Break) {
            CloseRun();
            m_gapSinceRun = true;
        }
        return;
    }
    if (m_inRun && column != m_column)
        CloseRun();
    if (!m_inRun) {
        m_inRun = true;
        m_column = column;
        m_runBegin = index;
        m_first = m_low = m_high = {0, level};
    } else if (level < m_low.level) {
        m_low = {index - m_runBegin, level};
    } else if (level > m_high.level) {
        m_high = {index - m_runBegin, level};
    }
    m_last = {index - m_runBegin, level};
    m_runLast = index;
}

// The run's first, lowest, highest and last readings in the order they
// came, each once.
void PixelEnvelope::CloseRun()
{
    if (!m_inRun)
        return;
    m_inRun = false;
    std::array<Seen, 4> kept{m_first, m_low, m_high, m_last};
    std::sort(kept.begin(), kept.end(), [](const Seen& a, const Seen& b) { return a.place < b.place; });
    Run run{m_column, m_runBegin, m_runLast + 1, {}, 0, m_gapSinceRun};
    for (std::size_t k = 0; k < kept.size(); ++k) {
        if (k == 0 || kept[k].place != kept[k - 1].place)
            run.levels[run.count++] = kept[k].level;
    }
    m_runs.push_back(run);
    m_gapSinceRun = false;
}

void PixelEnvelope::Finish(std::int32_t end)
{
    CloseRun();
    m_end = end;
}

void PixelEnvelope::Append(const PixelEnvelope& later)
{
    const auto first = static_cast<std::ptrdiff_t>(m_runs.size());
    m_runs.insert(m_runs.end(), later.m_runs.begin(), later.m_runs.end());
    if (first < static_cast<std::ptrdiff_t>(m_runs.size()))
        m_runs[static_cast<std::size_t>(first)].breaksBefore |= m_gapSinceRun;
    m_gapSinceRun = later.m_gapSinceRun || (later.m_runs.empty() && m_gapSinceRun);
    m_end = later.m_end;
}

std::vector<PixelEnvelope::Piece> PixelEnvelope::Pieces() const
{
    std::vector<Piece> pieces;
    Piece piece;
    for (const Run& run : m_runs) {
        if (run.breaksBefore && !piece.empty())
            pieces.push_back(std::exchange(piece, {}));
        for (std::int32_t k = 0; k < run.count; ++k)
            piece.push_back({run.column, run.levels[k]});
    }
    if (!piece.empty())
        pieces.push_back(std::move(piece));
    return pieces;
}

PixelEnvelope::Region PixelEnvelope::RegionOf(std::span<const std::int32_t> indices, bool restored, std::int32_t count,
                                              std::size_t first, std::size_t last) const
{
    // Old reading j, not taken out, in the new table.
    const auto newIndex = [&](std::int32_t j) {
        const auto before = [&](std::size_t k) {
            return restored ? indices[k] - static_cast<std::int32_t>(k) <= j : indices[k] < j;
        };
        std::size_t low = 0;
        std::size_t high = indices.size();
        while (low < high) {
            const std::size_t middle = low + (high - low) / 2;
            if (before(middle))
                low = middle + 1;
            else
                high = middle;
        }
        return j + (restored ? 1 : -1) * static_cast<std::int32_t>(low);
    };
    Region region{first, last, 0, m_end, 0, count};
    if (first > 0) {
        region.oldBegin = m_runs[first - 1].end;
        region.newBegin = newIndex(region.oldBegin - 1) + 1;
    }
    if (last < m_runs.size()) {
        region.oldEnd = m_runs[last].begin;
        region.newEnd = newIndex(region.oldEnd);
    }
    return region;
}

bool PixelEnvelope::JoinsBefore(const Region& region, const PixelEnvelope& fresh) const
{
    if (region.first == 0 || fresh.m_runs.empty())
        return false;
    const Run& next = fresh.m_runs.front();
    return !next.breaksBefore && next.column == m_runs[region.first - 1].column;
}

bool PixelEnvelope::JoinsAfter(const Region& region, const PixelEnvelope& fresh) const
{
    if (region.last == m_runs.size())
        return false;
    const Run* before = !fresh.m_runs.empty() ? &fresh.m_runs.back()
                      : region.first > 0     ? &m_runs[region.first - 1]
                                             : nullptr;
    return before && !fresh.m_gapSinceRun && before->column == m_runs[region.last].column;
}

void PixelEnvelope::Replace(const Region& region, const PixelEnvelope& fresh, std::int32_t count)
{
    const std::int32_t shift = count - m_end;
    for (std::size_t k = region.last; k < m_runs.size(); ++k) {
        m_runs[k].begin += shift;
        m_runs[k].end += shift;
    }
    if (region.last < m_runs.size())
        m_runs[region.last].breaksBefore = fresh.m_gapSinceRun;
    const auto at = m_runs.begin() + static_cast<std::ptrdiff_t>(region.first);
    const auto firstKept = m_runs.erase(at, m_runs.begin() + static_cast<std::ptrdiff_t>(region.last));
    m_runs.insert(firstKept, fresh.m_runs.begin(), fresh.m_runs.end());
    m_end = count;
}

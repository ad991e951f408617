#pragma once

#include "textio/VectorState.h"

#include <cstdint>

namespace textio {

// What long work (loading, converting, writing a file) tells whoever shows
// its progress, and how that one stops it.
class Progress {
public:
    virtual ~Progress() = default;
    // `done` of `total` units of the work so far (`total` 0 when unknown).
    // False asks the work to stop: it then ends as cancelled, leaving no file.
    virtual bool Step(std::uint64_t done, std::uint64_t total) = 0;
};

// Asks a Progress only every kGrain-th step, so a tight loop pays nothing
// measurable for it. A null Progress is never asked.
class ProgressTicker {
public:
    static constexpr std::uint64_t kGrain = 4096;

    explicit ProgressTicker(Progress* progress) : m_progress(progress) {}

    // Counts one step; true when the Progress is to be asked now.
    bool Due() { return m_progress && ++m_steps % kGrain == 0; }
    // Tells the Progress; false when the work is to stop.
    // The report may repaint a window, which can leave the wide vector
    // registers in use for the work that goes on.
    bool Report(std::uint64_t done, std::uint64_t total)
    {
        if (!m_progress)
            return true;
        const bool goOn = m_progress->Step(done, total);
        ReleaseWideVectorRegisters();
        return goOn;
    }
    // Counts one step of `total`; false when the work is to stop.
    bool Next(std::uint64_t done, std::uint64_t total) { return !Due() || Report(done, total); }

private:
    Progress* m_progress;
    std::uint64_t m_steps = 0;
};

} // namespace textio

#pragma once

#include "textio/Progress.h"

#include <cstdint>
#include <vector>

// A progress that asks the work to stop when it is told for the `stopAt`-th
// time (never when 0), and keeps what it was told.
class StoppingProgress : public textio::Progress {
public:
    explicit StoppingProgress(int stopAt) : m_stopAt(stopAt) {}
    bool Step(std::uint64_t done, std::uint64_t total) override
    {
        told.push_back({done, total});
        return m_stopAt == 0 || static_cast<int>(told.size()) < m_stopAt;
    }

    struct Told {
        std::uint64_t done, total;
    };
    std::vector<Told> told;

private:
    int m_stopAt;
};

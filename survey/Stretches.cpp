#include "survey/Stretches.h"

#include <system_error>
#include <thread>

namespace survey {

namespace {

// Below this many readings a second thread costs more than it saves.
constexpr std::int32_t kWorthSplitting = 20000;

} // namespace

void ForStretches(std::int32_t count, const std::function<void(std::int32_t, std::int32_t)>& body)
{
    if (count <= 0)
        return;
    if (count < kWorthSplitting || std::thread::hardware_concurrency() < 2) {
        body(0, count);
        return;
    }
    const std::int32_t half = count / 2;
    std::thread second;
    try {
        second = std::thread(body, half, count);
    } catch (const std::system_error&) {
        // No thread to be had: the caller does all of it.
        body(0, count);
        return;
    }
    body(0, half);
    second.join();
}

} // namespace survey

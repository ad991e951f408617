#pragma once

#include <exception>
#include <system_error>
#include <thread>

// Runs `first` here and `second` on a thread of its own, side by side, and
// returns when both are done; without a thread to be had, one after the
// other. What either throws is thrown here once both are done.
template <class First, class Second>
void RunSideBySide(First&& first, Second&& second)
{
    std::exception_ptr failure;
    const auto guarded = [&] {
        try {
            second();
        } catch (...) {
            failure = std::current_exception();
        }
    };
    std::thread helper;
    try {
        helper = std::thread(guarded);
    } catch (const std::system_error&) {
        guarded();
    }
    try {
        first();
    } catch (...) {
        if (helper.joinable())
            helper.join();
        throw;
    }
    if (helper.joinable())
        helper.join();
    if (failure)
        std::rethrow_exception(failure);
}

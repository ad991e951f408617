#pragma once

#include <memory>

// For the benchmarks that paint widgets (WidgetBenchMain.cpp). A widget must
// be destroyed before the application: a function's static one would be
// destroyed at exit, after main's application, and crash there.

// Keeps `object` until every benchmark has run, then destroys it while the
// application still exists.
void KeepUntilTheBenchmarksEnd(std::shared_ptr<void> object);

// The same for an object the benchmarks share; returns it.
template <typename T>
T& KeepUntilTheBenchmarksEnd(std::unique_ptr<T> object)
{
    T& kept = *object;
    KeepUntilTheBenchmarksEnd(std::shared_ptr<void>(std::move(object)));
    return kept;
}

// The main of the benchmarks that paint widgets: an application on the
// offscreen platform (unless one is named), so no display is needed.
#include "WidgetBench.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <vector>

namespace {

std::vector<std::shared_ptr<void>>& Kept()
{
    static std::vector<std::shared_ptr<void>> kept;
    return kept;
}

} // namespace

void KeepUntilTheBenchmarksEnd(std::shared_ptr<void> object) { Kept().push_back(std::move(object)); }

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // Latest first, as statics would go.
    while (!Kept().empty())
        Kept().pop_back();
    return 0;
}

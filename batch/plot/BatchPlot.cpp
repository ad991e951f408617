#include "batch/plot/BatchPlot.h"

#include "batch/BatchOptions.h"
#include "startup/FilePaths.h"
#include "views/PlotImage.h"
#include "views/PlotLink.h"

#include <QApplication>

#include <memory>
#include <ostream>
#include <string>

static_assert(kMaxPlotPixels == kMaxPlotSide, "--size takes every size a plot picture may have");

namespace {

std::string PlotNames()
{
    std::string names;
    for (const PlotKind& kind : PlotKinds())
        names += (names.empty() ? "" : ", ") + std::string(kind.name);
    return names;
}

} // namespace

int RenderBatchPlot(survey::CKestrixDoc& doc, const SurveyOptions& options, std::ostream& out, std::ostream& err)
{
    const PlotKind* kind = FindPlotKind(options.plotView);
    if (!kind) {
        err << "The plot view " << options.plotView << " is not available; the views are " << PlotNames() << '\n';
        return 2;
    }
    // The views are widgets: they need an application, but never a display.
    int argc = 1;
    char name[] = "kestrix-batch";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QApplication> application;
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QApplication>(argc, argv);
    }
    const QString path = FromFilePath(options.outputPath);
    // The whole hole, with the value ranges kestrix draws unless told to keep the fixed ones.
    PlotLink link;
    link.SetFixedScales(options.plotFixedScales);
    const QString failure = WritePlotPicture(*kind, doc, QSize(options.plotWidth, options.plotHeight), path, &link);
    if (!failure.isEmpty()) {
        err << ToFilePath(failure) << '\n';
        return 1;
    }
    out << options.outputPath << '\n';
    return 0;
}

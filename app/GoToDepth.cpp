#include "app/GoToDepth.h"

#include "app/ChildFrame.h"
#include "app/SurveyDocument.h"
#include "app/UserPrompts.h"
#include "textio/NumberText.h"
#include "views/CKestrixView.h"
#include "views/PlotFrame.h"

#include <QCoreApplication>
#include <cmath>

namespace {

QString Tr(const char* text) { return QCoreApplication::translate("GoToDepth", text); }

QString Metres(double depth) { return QString::fromStdString(textio::Format("%.3f", depth)); }

} // namespace

QString DepthPromptText(const survey::DepthExtent& extent)
{
    return Tr("Depth in metres, from %1 to %2:").arg(Metres(extent.shallowest), Metres(extent.deepest));
}

std::variant<double, QString> ReadDepthToGoTo(const QString& text, const survey::DepthExtent& extent)
{
    double depth = 0.0;
    if (!textio::ReadWholeNumber(text.toStdString(), depth) || !std::isfinite(depth))
        return Tr("\"%1\" is not a depth. Type one number in metres, with a point before any decimals.")
            .arg(text.trimmed());
    if (depth < extent.shallowest || depth > extent.deepest)
        return Tr("%1 m lies outside the survey, which reaches from %2 to %3 m.")
            .arg(text.trimmed(), Metres(extent.shallowest), Metres(extent.deepest));
    return depth;
}

void GoToDepth(SurveyDocument& document, UserPrompts& prompts, QWidget* parent)
{
    const survey::CKestrixDoc& doc = *document.Doc();
    const std::optional<survey::DepthExtent> extent = survey::DepthExtentOf(doc);
    if (!extent)
        return;
    const std::optional<QString> typed = prompts.DepthToGoTo(parent, DepthPromptText(*extent));
    if (!typed)
        return;
    const std::variant<double, QString> read = ReadDepthToGoTo(*typed, *extent);
    if (const QString* refusal = std::get_if<QString>(&read)) {
        prompts.ShowMessage(parent, *refusal);
        return;
    }
    const double depth = std::get<double>(read);
    if (CKestrixView* listing = document.Listing())
        listing->ShowDepth(depth);
    const int reading = survey::NearestReading(doc, depth);
    for (CChildFrame* frame : document.Frames()) {
        if (auto* plot = qobject_cast<PlotFrame*>(frame->widget()))
            plot->MarkObservation(reading);
    }
}

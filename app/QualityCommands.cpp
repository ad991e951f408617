#include "app/QualityCommands.h"

#include "app/SpikeSettingsStore.h"
#include "app/SurveyDocument.h"
#include "app/UserPrompts.h"
#include "geomag/BuiltInModels.h"
#include "survey/KestrixDoc.h"
#include "survey/ReferenceCheck.h"
#include "textio/NumberText.h"

#include <QCoreApplication>

#include <cmath>

using namespace survey;

namespace {

QString Tr(const char* text) { return QCoreApplication::translate("QualityCommands", text); }

QString Number(const char* format, double value) { return QString::fromStdString(textio::Format(format, value)); }

// "B - Bref +12 nT (±300) ok": a median signed to `decimals` places, its
// tolerance and verdict.
QString Difference(const QString& what, const ReferenceDifference& difference, int decimals, const QString& unit)
{
    if (std::isnan(difference.median))
        return Tr("%1 no reading").arg(what);
    return Tr("%1 %2%3 (\u00b1%4) %5")
        .arg(what, QString::fromStdString(textio::Format("%+.*lf", decimals, difference.median)), unit,
             Number("%.4g", difference.tolerance), difference.Passes() ? Tr("ok") : Tr("FAIL"));
}

} // namespace

void QualityCommands::LoadSettings() { m_settings = LoadQualitySettings(); }

QString QualityCommands::ReferenceText(const CKestrixDoc& doc) const
{
    const std::optional<ReferenceCheck> check = CheckAgainstReference(doc, m_settings.tolerances);
    if (!check)
        return QString();
    QString gravity = Tr("G not judged");
    if (check->gravityUnit == GravityUnit::G)
        gravity = Difference(Tr("G - Gref"), check->gravity, 4, Tr(" g"));
    else if (check->gravityUnit == GravityUnit::MetresPerSecondSquared)
        gravity = Difference(Tr("G - Gref"), check->gravity, 4, Tr(" m/s\u00b2"));
    return Tr("%1: %2, %3, %4")
        .arg(QString::fromStdString(geomag::BuiltInModel(doc.m_site.model).name),
             Difference(Tr("B - Bref"), check->field, 0, Tr(" nT")),
             Difference(Tr("dip - Iref"), check->dip, 2, Tr("\u00b0")), gravity);
}

void QualityCommands::ToggleLocalFit(SurveyDocument& survey)
{
    survey.Apply(edit::SetLocalFit{!survey.Doc()->m_bFitLocal});
}

// The readings are judged as they are now, whatever the last recalculation left.
QString QualityCommands::DeleteFlaggedReadings(SurveyDocument& survey) const
{
    const edit::DeleteObservations flagged = FlaggedReadings(*survey.Doc(), m_settings.spikes);
    const int count = static_cast<int>(flagged.indices.size());
    if (count == 0)
        return QCoreApplication::translate("QualityCommands", "No flagged readings");
    survey.Apply(flagged); // one edit: one step to undo
    return count == 1 ? QCoreApplication::translate("QualityCommands", "1 flagged reading deleted")
                      : QCoreApplication::translate("QualityCommands", "%1 flagged readings deleted").arg(count);
}

bool QualityCommands::EditSettings(UserPrompts& prompts, QWidget* parent, const std::vector<SurveyDocument*>& surveys,
                                   const SurveyDocument* active)
{
    const GravityUnit unit = active ? GravityUnitOf(active->Doc()->m_QualityValues) : GravityUnit::Unknown;
    const std::optional<QualitySettings> chosen = prompts.EditSpikeSettings(parent, m_settings, unit);
    if (!chosen || !SaveQualitySettings(*chosen))
        return false;
    m_settings = *chosen;
    // The quality plots flag what Delete Flagged Readings would delete.
    for (SurveyDocument* survey : surveys)
        survey->Plots().SetSpikes(m_settings.spikes);
    return true;
}

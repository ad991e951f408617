#include "app/QualityCommands.h"

#include "app/SpikeSettingsStore.h"
#include "app/SurveyDocument.h"
#include "app/UserPrompts.h"
#include "survey/KestrixDoc.h"

#include <QCoreApplication>

using namespace survey;

void QualityCommands::LoadSettings() { m_settings = LoadSpikeSettings(); }

void QualityCommands::ToggleLocalFit(SurveyDocument& survey)
{
    survey.Apply(edit::SetLocalFit{!survey.Doc()->m_bFitLocal});
}

// The readings are judged as they are now, whatever the last recalculation left.
QString QualityCommands::DeleteFlaggedReadings(SurveyDocument& survey) const
{
    const edit::DeleteObservations flagged = FlaggedReadings(*survey.Doc(), m_settings);
    const int count = static_cast<int>(flagged.indices.size());
    if (count == 0)
        return QCoreApplication::translate("QualityCommands", "No flagged readings");
    survey.Apply(flagged); // one edit: one step to undo
    return count == 1 ? QCoreApplication::translate("QualityCommands", "1 flagged reading deleted")
                      : QCoreApplication::translate("QualityCommands", "%1 flagged readings deleted").arg(count);
}

void QualityCommands::EditSettings(UserPrompts& prompts, QWidget* parent, const std::vector<SurveyDocument*>& surveys)
{
    const std::optional<SpikeSettings> chosen = prompts.EditSpikeSettings(parent, m_settings);
    if (!chosen || !SaveSpikeSettings(*chosen))
        return;
    m_settings = *chosen;
    // The quality plots flag what Delete Flagged Readings would delete.
    for (SurveyDocument* survey : surveys)
        survey->Plots().SetSpikes(m_settings);
}

#pragma once

#include "app/SpikeSettingsStore.h"
#include "survey/SpikeFinder.h"

#include <QString>
#include <vector>

class QWidget;
namespace survey {
class CKestrixDoc;
} // namespace survey
class SurveyDocument;
class UserPrompts;

// The quality control items at the end of the Edit menu: "Fit Between
// Control Points Only", "Delete Flagged Readings" (every reading the spike
// finder flags, as one edit) and "Spike Settings..." (the spike finder's
// settings and the tolerances against the reference field, kept between
// runs).
class QualityCommands {
public:
    // Takes the settings kept from the last run (the defaults until then).
    void LoadSettings();

    const survey::SpikeSettings& Settings() const { return m_settings.spikes; }
    const survey::ReferenceTolerances& Tolerances() const { return m_settings.tolerances; }

    // `doc` against its reference field as the status bar shows it: each
    // median with its tolerance and "ok" or "FAIL"; empty without a reference.
    QString ReferenceText(const survey::CKestrixDoc& doc) const;

    // Switches `survey` between the local fit and the fit along the whole hole.
    static void ToggleLocalFit(SurveyDocument& survey);
    // Deletes the readings of `survey` that the spike finder flags, as one
    // edit (one step to undo); returns the count as the status bar shows it.
    QString DeleteFlaggedReadings(SurveyDocument& survey) const;
    // The Spike Settings dialog, its gravity boxes in the units of `active`'s
    // accelerometer where known: settings within their ranges are kept, for
    // this and later runs, and the quality plots of `surveys` flag by them.
    // True when they changed.
    bool EditSettings(UserPrompts& prompts, QWidget* parent, const std::vector<SurveyDocument*>& surveys,
                      const SurveyDocument* active);

private:
    QualitySettings m_settings;
};

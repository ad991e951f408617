#pragma once

#include "survey/SpikeFinder.h"

#include <QString>
#include <vector>

class QWidget;
class SurveyDocument;
class UserPrompts;

// The quality control items at the end of the Edit menu: "Fit Between
// Control Points Only", "Delete Flagged Readings" (every reading the spike
// finder flags, as one edit) and "Spike Settings..." (the spike finder's
// settings, kept between runs).
class QualityCommands {
public:
    // Takes the settings kept from the last run (the defaults until then).
    void LoadSettings();

    const survey::SpikeSettings& Settings() const { return m_settings; }

    // Switches `survey` between the local fit and the fit along the whole hole.
    static void ToggleLocalFit(SurveyDocument& survey);
    // Deletes the readings of `survey` that the spike finder flags, as one
    // edit (one step to undo); returns the count as the status bar shows it.
    QString DeleteFlaggedReadings(SurveyDocument& survey) const;
    // The Spike Settings dialog: settings within their ranges are kept, for
    // this and later runs, and the quality plots of `surveys` flag by them.
    void EditSettings(UserPrompts& prompts, QWidget* parent, const std::vector<SurveyDocument*>& surveys);

private:
    survey::SpikeSettings m_settings;
};

#pragma once

#include "survey/SpikeFinder.h"

#include <QObject>

class CKestrixApp;
class QAction;
class QMenu;

// The quality control items at the end of the Edit menu, working on the
// active survey: "Fit Between Control Points Only" (checked while the survey
// uses the local fit), "Delete Flagged Readings" (every reading the spike
// finder flags, as one edit, the count in the status bar) and "Spike
// Settings..." (the spike finder's settings, kept between runs).
class QualityMenu : public QObject {
    Q_OBJECT
public:
    // Appends the items to `editMenu`; both `app` and the menu outlive this.
    QualityMenu(CKestrixApp& app, QMenu& editMenu);

    QAction* LocalFitAction() const { return m_localFit; }
    QAction* DeleteFlaggedAction() const { return m_deleteFlagged; }
    QAction* SpikeSettingsAction() const { return m_spikeSettings; }
    const survey::SpikeSettings& Settings() const { return m_settings; }

    // Enables and checks the items for the active survey.
    void UpdateActions();

private:
    void OnLocalFit();
    void OnDeleteFlagged();
    void OnSpikeSettings();
    void ShowCount(const QString& text);

    CKestrixApp& m_app;
    survey::SpikeSettings m_settings;
    QAction* m_localFit = nullptr;
    QAction* m_deleteFlagged = nullptr;
    QAction* m_spikeSettings = nullptr;
};

#pragma once

#include "survey/EditOperations.h"

// What the main window's commands do: each command row names one of these
// (CommandTable.h). The application implements them for the active survey
// and its windows.
class CommandHost {
public:
    virtual ~CommandHost() = default;

    // File
    virtual void OpenFile() = 0;
    // Opens recent file `index` (0 the newest); one that fails leaves the list.
    virtual void OpenRecentFile(int index) = 0;
    virtual void CloseSurvey() = 0;
    virtual void SaveEdits() = 0;
    // Writes the active survey's edits to a file the user chooses.
    virtual void SaveEditsAs() = 0;
    virtual void ExportSurvey() = 0;
    virtual void ExportAnomalies() = 0;
    // Switches the active survey's XYZ exports between the magnetic and the grid frame.
    virtual void ToggleGridFrame() = 0;
    // Switches the active survey's XYZ exports' depth column on or off.
    virtual void ToggleXyzDepthColumn() = 0;
    virtual void ExportResults() = 0;
    virtual void SavePlot() = 0;
    // One PDF of the active survey: the listing's heading, then every plot.
    virtual void SaveReport() = 0;
    virtual void PrintWindow() = 0;
    virtual void Exit() = 0;
    // Edit
    virtual void CopyRows() = 0;
    // Asks a depth and shows the reading nearest it in the active survey's
    // listing and plots.
    virtual void GoToDepth() = 0;
    // Makes `op` on the active survey.
    virtual void EditSurvey(const survey::EditOperation& op) = 0;
    virtual void ToggleLocalFit() = 0;
    virtual void DeleteFlaggedReadings() = 0;
    virtual void EditSpikeSettings() = 0;
    // The site dialog; what it confirms is one edit of the active survey.
    virtual void EditSite() = 0;
    // The Hole Name dialog; a changed name is one edit of the active survey.
    virtual void EditHoleName() = 0;
    virtual void ToggleMinimumCurvature() = 0;
    // The active survey's control points as a table to edit.
    virtual void EditControlPoints() = 0;
    // View
    virtual void ToggleToolBar() = 0;
    virtual void ToggleStatusBar() = 0;
    virtual void ZoomToWholeHole() = 0;
    // Switches every survey's depth plots between fixed and fitted value ranges.
    virtual void ToggleFixedScales() = 0;
    virtual void ToggleAnomalies() = 0;
    virtual void ToggleQualityView() = 0;
    virtual void TogglePlanView() = 0;
    virtual void ToggleSectionView() = 0;
    // Switches the active survey's listing between about one row per 10 m and every reading.
    virtual void ToggleEveryReading() = 0;
    // Window
    virtual void CascadeWindows() = 0;
    virtual void TileWindows() = 0;
    virtual void ArrangeIcons() = 0;
    virtual void ShowAllViews() = 0;
    // Help
    virtual void ShowAbout() = 0;
    // The user guide shipped with the program.
    virtual void ShowHelp() = 0;
};

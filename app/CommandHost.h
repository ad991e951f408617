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
    virtual void ExportSurvey() = 0;
    virtual void ExportAnomalies() = 0;
    // Switches the active survey's XYZ exports between the magnetic and the grid frame.
    virtual void ToggleGridFrame() = 0;
    virtual void ExportResults() = 0;
    virtual void SavePlot() = 0;
    virtual void PrintWindow() = 0;
    virtual void Exit() = 0;
    // Edit
    virtual void CopyRows() = 0;
    // Makes `op` on the active survey.
    virtual void EditSurvey(const survey::EditOperation& op) = 0;
    virtual void ToggleLocalFit() = 0;
    virtual void DeleteFlaggedReadings() = 0;
    virtual void EditSpikeSettings() = 0;
    // The site dialog; what it confirms is one edit of the active survey.
    virtual void EditSite() = 0;
    virtual void ToggleMinimumCurvature() = 0;
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
    // Window
    virtual void CascadeWindows() = 0;
    virtual void TileWindows() = 0;
    virtual void ArrangeIcons() = 0;
    virtual void ShowAllViews() = 0;
    // Help
    virtual void ShowAbout() = 0;
};

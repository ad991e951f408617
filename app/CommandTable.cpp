// The main window's commands as data: every menu item and tool bar button
// with its label, keys, prompt, places, handler and state tests.
#include "app/CommandTable.h"

#include "survey/KestrixDoc.h"
#include "views/PlotLink.h"

#include <QtGlobal>
#include <algorithm>

using namespace survey;
using namespace survey::edit;

namespace {

bool HasWindow(const CommandState& s, const CommandRow&) { return s.activeWindow != nullptr; }
bool HasSurvey(const CommandState& s, const CommandRow&) { return s.survey != nullptr; }
bool HasSelection(const CommandState& s, const CommandRow&) { return s.listingSelection; }
bool HasPlot(const CommandState& s, const CommandRow&) { return s.plotActive; }
bool ToolBarShown(const CommandState& s, const CommandRow&) { return s.toolBarShown; }
bool StatusBarShown(const CommandState& s, const CommandRow&) { return s.statusBarShown; }
bool EditInForce(const CommandState& s, const CommandRow& row)
{
    return s.survey && row.edit && IsInForce(*s.survey, *row.edit);
}
bool FitsLocally(const CommandState& s, const CommandRow&) { return s.survey && s.survey->m_bFitLocal; }
bool UsesMinimumCurvature(const CommandState& s, const CommandRow&)
{
    return s.survey && s.survey->m_trajectory == TrajectoryMethod::MinimumCurvature;
}
bool IsZoomed(const CommandState& s, const CommandRow&)
{
    return s.plots && (!s.plots->Window().IsWhole() || s.plots->HasValueZoom());
}
bool ShowsAnomalies(const CommandState& s, const CommandRow&)
{
    return s.plots && s.plots->ComponentsAsAnomalies();
}
bool KeepsFixedScales(const CommandState& s, const CommandRow&) { return s.fixedScales; }
bool ShowsQuality(const CommandState& s, const CommandRow&) { return s.showsQualityPlot; }
bool ExportsGridFrame(const CommandState& s, const CommandRow&) { return s.gridFrame; }
bool ExportsDepthColumn(const CommandState& s, const CommandRow&) { return s.xyzDepthColumn; }
bool ShowsPlan(const CommandState& s, const CommandRow&) { return s.showsPlan; }
bool ShowsSection(const CommandState& s, const CommandRow&) { return s.showsSection; }
bool ListsEveryReading(const CommandState& s, const CommandRow&) { return s.listsEveryReading; }

using H = CommandHost;
using M = MenuId;

// Slots: File 10s, recent files 20s, the rest 30s; Edit: undo 10s, copy 20s,
// delete 30s, control points and fits 40s, quality 50s, roll popup 60, site
// and positions 70s.
// An Edit item has no prompt: while it is highlighted the message pane is empty.
// The Edit mnemonics leave U, R, C, T and P to Undo, Redo, Copy, Cut and Paste.
const CommandRow kCommands[] = {
    // File
    {.name = "FileNew", .id = ID_FILE_NEW, .label = QT_TRANSLATE_NOOP("Commands", "&New\tCtrl+N"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Create a new document"), .toolTip = QT_TRANSLATE_NOOP("Commands", "New"),
     .places = {{M::MainFile, 10}}, .toolSlot = 10, .icon = ToolIcon::New},
    {.name = "FileOpen", .id = ID_FILE_OPEN, .label = QT_TRANSLATE_NOOP("Commands", "&Open...\tCtrl+O"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Open an existing document"),
     .toolTip = QT_TRANSLATE_NOOP("Commands", "Open"), .keys = "Ctrl+O",
     .places = {{M::MainFile, 11}, {M::SurveyFile, 10}}, .toolSlot = 11, .icon = ToolIcon::Open,
     .run = &H::OpenFile},
    {.name = "RecentFiles", .id = ID_FILE_MRU_FIRST, .label = QT_TRANSLATE_NOOP("Commands", "Recent File"),
     .places = {{M::MainFile, 20}, {M::SurveyFile, 20}}},
    {.name = "FileClose", .id = ID_FILE_CLOSE, .label = QT_TRANSLATE_NOOP("Commands", "&Close"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Close the active document"),
     .toolTip = QT_TRANSLATE_NOOP("Commands", "Close"), .places = {{M::MainFile, 30}, {M::SurveyFile, 11}},
     .run = &H::CloseSurvey, .enabled = HasWindow},
    {.name = "FileSaveEdits", .id = ID_FILE_SAVE_EDITS,
     .label = QT_TRANSLATE_NOOP("Commands", "&Save Edits\tCtrl+Shift+S"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Save the edits of the active document beside it"),
     .toolTip = QT_TRANSLATE_NOOP("Commands", "Save Edits"), .keys = "Ctrl+Shift+S",
     .places = {{M::SurveyFile, 12}}, .toolSlot = 12, .icon = ToolIcon::SaveEdits, .run = &H::SaveEdits,
     .enabled = HasSurvey},
    {.name = "FileSaveEditsAs", .id = ID_FILE_SAVE_EDITS_AS, .label = QT_TRANSLATE_NOOP("Commands", "Sa&ve Edits As..."),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Save the edits of the active document to a file you choose"),
     .places = {{M::SurveyFile, 12}}, .run = &H::SaveEditsAs, .enabled = HasSurvey},
    // Ctrl+E, as the label says, and Ctrl+S export.
    {.name = "FileExport", .id = ID_FILE_EXPORT, .label = QT_TRANSLATE_NOOP("Commands", "&Export XYZ...\tCtrl+E"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Save the active document for import to Quarrant"),
     .toolTip = QT_TRANSLATE_NOOP("Commands", "Export"), .keys = "Ctrl+E; Ctrl+S", .places = {{M::SurveyFile, 13}},
     .toolSlot = 13, .icon = ToolIcon::Export, .run = &H::ExportSurvey, .enabled = HasSurvey},
    {.name = "FileExportAnomalies", .id = ID_FILE_EXPORT_ANOMALIES,
     .label = QT_TRANSLATE_NOOP("Commands", "Export &Anomalies..."),
     .prompt = QT_TRANSLATE_NOOP("Commands",
                                 "Save the active document's magnetic anomalies, against the model's field where it "
                                 "has a site and date, in the XYZ layout"),
     .places = {{M::SurveyFile, 14}}, .run = &H::ExportAnomalies, .enabled = HasSurvey},
    {.name = "FileGridFrame", .id = ID_FILE_GRID_FRAME,
     .label = QT_TRANSLATE_NOOP("Commands", "XYZ Components Turned to &Grid North"),
     .prompt = QT_TRANSLATE_NOOP("Commands",
                                 "Export the active document's magnetic components turned from magnetic to grid north"),
     .places = {{M::SurveyFile, 15}}, .run = &H::ToggleGridFrame, .enabled = HasSurvey, .checked = ExportsGridFrame},
    {.name = "FileXyzDepth", .id = ID_FILE_XYZ_DEPTH, .label = QT_TRANSLATE_NOOP("Commands", "XYZ Rows End with &Depth"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Export the active document's XYZ files with each reading's depth last"),
     .places = {{M::SurveyFile, 15}}, .run = &H::ToggleXyzDepthColumn, .enabled = HasSurvey,
     .checked = ExportsDepthColumn},
    {.name = "FileExportResults", .id = ID_FILE_EXPORT_RESULTS,
     .label = QT_TRANSLATE_NOOP("Commands", "Export &Results..."),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Save every reading's raw and computed values as a CSV or LAS file"),
     .places = {{M::SurveyFile, 16}}, .run = &H::ExportResults, .enabled = HasSurvey},
    {.name = "FileSavePlot", .id = ID_FILE_SAVE_PLOT, .label = QT_TRANSLATE_NOOP("Commands", "Save P&lot As..."),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Save the active plot as a PNG, SVG or PDF picture"),
     .places = {{M::SurveyFile, 17}}, .run = &H::SavePlot, .enabled = HasPlot},
    {.name = "FileSaveReport", .id = ID_FILE_SAVE_REPORT,
     .label = QT_TRANSLATE_NOOP("Commands", "Save Repor&t As..."),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Save the listing's heading and every plot of the survey as one PDF"),
     .places = {{M::SurveyFile, 19}}, .run = &H::SaveReport, .enabled = HasSurvey},
    {.name = "FilePrint", .id = ID_FILE_PRINT, .label = QT_TRANSLATE_NOOP("Commands", "&Print...\tCtrl+P"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Print the active window"),
     .toolTip = QT_TRANSLATE_NOOP("Commands", "Print"), .keys = "Ctrl+P", .places = {{M::SurveyFile, 18}},
     .toolSlot = 40, .icon = ToolIcon::Print, .run = &H::PrintWindow, .enabled = HasWindow},
    {.name = "AppExit", .id = ID_APP_EXIT, .label = QT_TRANSLATE_NOOP("Commands", "E&xit"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Quit the application; prompts to save documents"),
     .toolTip = QT_TRANSLATE_NOOP("Commands", "Exit"), .places = {{M::MainFile, 31}, {M::SurveyFile, 30}},
     .run = &H::Exit},

    // Edit
    {.name = "EditUndo", .id = ID_EDIT_UNDO, .places = {{M::Edit, 10}}, .toolSlot = 30, .icon = ToolIcon::Undo,
     .undoStack = true},
    {.name = "EditRedo", .id = ID_EDIT_REDO, .places = {{M::Edit, 11}}, .toolSlot = 31, .icon = ToolIcon::Redo,
     .undoStack = true},
    {.name = "EditCut", .id = ID_EDIT_CUT, .label = QT_TRANSLATE_NOOP("Commands", "Cu&t"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Cut the selection and put it on the Clipboard"),
     .toolTip = QT_TRANSLATE_NOOP("Commands", "Cut"), .toolSlot = 20, .icon = ToolIcon::Cut},
    // Copy is the active listing's: its selected rows.
    {.name = "EditCopy", .id = ID_EDIT_COPY, .label = QT_TRANSLATE_NOOP("Commands", "&Copy\tCtrl+C"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Copy the selection and put it on the Clipboard"),
     .toolTip = QT_TRANSLATE_NOOP("Commands", "Copy"), .standardKey = QKeySequence::Copy,
     .places = {{M::Edit, 20}}, .toolSlot = 21, .icon = ToolIcon::Copy, .run = &H::CopyRows,
     .enabled = HasSelection},
    {.name = "EditGoToDepth", .id = ID_EDIT_GO_TO_DEPTH, .label = QT_TRANSLATE_NOOP("Commands", "&Go to Depth...\tCtrl+G"),
     .keys = "Ctrl+G", .places = {{M::Edit, 21}}, .run = &H::GoToDepth, .enabled = HasSurvey},
    {.name = "EditPaste", .id = ID_EDIT_PASTE, .label = QT_TRANSLATE_NOOP("Commands", "&Paste"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Insert Clipboard contents"),
     .toolTip = QT_TRANSLATE_NOOP("Commands", "Paste"), .toolSlot = 22, .icon = ToolIcon::Paste},
    {.name = "EditDeleteObservations", .id = ID_EDIT_DELETE_OBSERVATIONS,
     .label = QT_TRANSLATE_NOOP("Commands", "&Delete observations"), .places = {{M::Edit, 30}},
     .edit = ToggleDeleteMode{}, .enabled = HasSurvey, .checked = EditInForce},
    {.name = "EditAddControlPoints", .id = ID_EDIT_ADD_CONTROL_POINTS,
     .label = QT_TRANSLATE_NOOP("Commands", "&Add azimuth control points"), .places = {{M::Edit, 40}},
     .edit = ToggleControlMode{}, .enabled = HasSurvey, .checked = EditInForce},
    {.name = "EditClearControlPoints", .id = ID_EDIT_CLEAR_CONTROL_POINTS,
     .label = QT_TRANSLATE_NOOP("Commands", "C&lear control points"), .places = {{M::Edit, 41}},
     .edit = ClearControlPoints{}, .enabled = HasSurvey},
    {.name = "EditControlPoints", .id = ID_EDIT_CONTROL_POINTS, .label = QT_TRANSLATE_NOOP("Commands", "Co&ntrol Points..."),
     .places = {{M::Edit, 41}}, .run = &H::EditControlPoints, .enabled = HasSurvey},
    {.name = "EditFitDegree1", .id = ID_EDIT_FIT_DEGREE_1,
     .label = QT_TRANSLATE_NOOP("Commands", "Fit degree &1 polynomial"), .places = {{M::Edit, 42}},
     .edit = SetFitDegree{1}, .enabled = HasSurvey, .checked = EditInForce},
    {.name = "EditFitDegree2", .id = ID_EDIT_FIT_DEGREE_2,
     .label = QT_TRANSLATE_NOOP("Commands", "Fit degree &2 polynomial"), .places = {{M::Edit, 43}},
     .edit = SetFitDegree{2}, .enabled = HasSurvey, .checked = EditInForce},
    {.name = "EditFitDegree3", .id = ID_EDIT_FIT_DEGREE_3,
     .label = QT_TRANSLATE_NOOP("Commands", "Fit degree &3 polynomial"), .places = {{M::Edit, 44}},
     .edit = SetFitDegree{3}, .enabled = HasSurvey, .checked = EditInForce},
    {.name = "EditFitDegree4", .id = ID_EDIT_FIT_DEGREE_4,
     .label = QT_TRANSLATE_NOOP("Commands", "Fit degree &4 polynomial"), .places = {{M::Edit, 45}},
     .edit = SetFitDegree{4}, .enabled = HasSurvey, .checked = EditInForce},
    // The local fit follows the fit's degrees.
    {.name = "EditFitLocal", .id = ID_EDIT_FIT_LOCAL,
     .label = QT_TRANSLATE_NOOP("Commands", "Fit &Between Control Points Only"), .places = {{M::Edit, 46}},
     .run = &H::ToggleLocalFit, .enabled = HasSurvey, .checked = FitsLocally},
    {.name = "EditDeleteFlagged", .id = ID_EDIT_DELETE_FLAGGED,
     .label = QT_TRANSLATE_NOOP("Commands", "Delete &Flagged Readings"), .places = {{M::Edit, 50}},
     .run = &H::DeleteFlaggedReadings, .enabled = HasSurvey},
    {.name = "EditSpikeSettings", .id = ID_EDIT_SPIKE_SETTINGS,
     .label = QT_TRANSLATE_NOOP("Commands", "Spike &Settings..."), .places = {{M::Edit, 51}},
     .run = &H::EditSpikeSettings},
    {.name = "EditSite", .id = ID_EDIT_SITE, .label = QT_TRANSLATE_NOOP("Commands", "S&ite and Date..."),
     .places = {{M::Edit, 70}}, .run = &H::EditSite, .enabled = HasSurvey},
    {.name = "EditMinimumCurvature", .id = ID_EDIT_MINIMUM_CURVATURE,
     .label = QT_TRANSLATE_NOOP("Commands", "Positions by &Minimum Curvature"), .places = {{M::Edit, 71}},
     .run = &H::ToggleMinimumCurvature, .enabled = HasSurvey, .checked = UsesMinimumCurvature},
    {.name = "EditHoleName", .id = ID_EDIT_HOLE_NAME, .label = QT_TRANSLATE_NOOP("Commands", "Hole &Name..."),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Name the hole on pictures, reports and the XYZ file"),
     .places = {{M::Edit, 72}}, .run = &H::EditHoleName, .enabled = HasSurvey},
    {.name = "RollNoAdjustment", .id = ID_ROLL_NO_ADJUSTMENT, .label = QT_TRANSLATE_NOOP("Commands", "&No adjustment"),
     .places = {{M::Roll, 10}}, .edit = SetRollAdjustment{0}, .enabled = HasSurvey, .checked = EditInForce},
    {.name = "RollAdd90", .id = ID_ROLL_ADD_90, .label = QT_TRANSLATE_NOOP("Commands", "Add &90"),
     .places = {{M::Roll, 11}}, .edit = SetRollAdjustment{90}, .enabled = HasSurvey, .checked = EditInForce},
    {.name = "RollAdd180", .id = ID_ROLL_ADD_180, .label = QT_TRANSLATE_NOOP("Commands", "Add &180"),
     .places = {{M::Roll, 12}}, .edit = SetRollAdjustment{180}, .enabled = HasSurvey, .checked = EditInForce},
    {.name = "RollSubtract90", .id = ID_ROLL_SUBTRACT_90, .label = QT_TRANSLATE_NOOP("Commands", "&Subtract 90"),
     .places = {{M::Roll, 13}}, .edit = SetRollAdjustment{-90}, .enabled = HasSurvey, .checked = EditInForce},

    // View
    {.name = "ViewToolBar", .id = ID_VIEW_TOOLBAR, .label = QT_TRANSLATE_NOOP("Commands", "&Toolbar"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Show or hide the toolbar"),
     .toolTip = QT_TRANSLATE_NOOP("Commands", "Toggle ToolBar"), .places = {{M::MainView, 10}, {M::SurveyView, 10}},
     .run = &H::ToggleToolBar, .checked = ToolBarShown},
    {.name = "ViewStatusBar", .id = ID_VIEW_STATUS_BAR, .label = QT_TRANSLATE_NOOP("Commands", "&Status Bar"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Show or hide the status bar"),
     .toolTip = QT_TRANSLATE_NOOP("Commands", "Toggle StatusBar"),
     .places = {{M::MainView, 11}, {M::SurveyView, 11}}, .run = &H::ToggleStatusBar, .checked = StatusBarShown},
    // The depth plots' items: the active survey's depth window, magnetic
    // picture and quality plot.
    {.name = "ViewWholeHole", .id = ID_VIEW_WHOLE_HOLE, .label = QT_TRANSLATE_NOOP("Commands", "&Zoom to Whole Hole"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Show the whole hole in the survey's depth plots"),
     .places = {{M::SurveyView, 20}}, .run = &H::ZoomToWholeHole, .enabled = IsZoomed},
    {.name = "ViewAnomalies", .id = ID_VIEW_ANOMALIES,
     .label = QT_TRANSLATE_NOOP("Commands", "Components as &Anomalies"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Draw the magnetic components less the model's field where the survey "
                                             "has a site and date, else less their medians"),
     .places = {{M::SurveyView, 21}}, .run = &H::ToggleAnomalies, .enabled = HasSurvey, .checked = ShowsAnomalies},
    {.name = "ViewQuality", .id = ID_VIEW_QUALITY, .label = QT_TRANSLATE_NOOP("Commands", "&Quality Control"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Show the survey's total field, total gravity and dip against depth"),
     .places = {{M::SurveyView, 22}}, .run = &H::ToggleQualityView, .enabled = HasSurvey, .checked = ShowsQuality},
    // S is the status bar's: the section takes E.
    {.name = "ViewPlan", .id = ID_VIEW_PLAN, .label = QT_TRANSLATE_NOOP("Commands", "&Plan View"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Show the hole's path from above, grid north up"),
     .places = {{M::SurveyView, 23}}, .run = &H::TogglePlanView, .enabled = HasSurvey, .checked = ShowsPlan},
    {.name = "ViewSection", .id = ID_VIEW_SECTION, .label = QT_TRANSLATE_NOOP("Commands", "S&ection View"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Show the hole's path from the side, along an azimuth"),
     .places = {{M::SurveyView, 24}}, .run = &H::ToggleSectionView, .enabled = HasSurvey, .checked = ShowsSection},
    {.name = "ViewEveryReading", .id = ID_VIEW_EVERY_READING, .label = QT_TRANSLATE_NOOP("Commands", "&List Every Reading"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "List every reading of the survey, not only about one per 10 m"),
     .places = {{M::SurveyView, 30}}, .run = &H::ToggleEveryReading, .enabled = HasSurvey,
     .checked = ListsEveryReading},
    {.name = "ViewFixedScales", .id = ID_VIEW_FIXED_SCALES, .label = QT_TRANSLATE_NOOP("Commands", "&Fixed Scales"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Keep each depth plot's fixed value range instead of fitting it to the "
                                             "readings in view"),
     .places = {{M::SurveyView, 29}}, .run = &H::ToggleFixedScales, .enabled = HasSurvey, .checked = KeepsFixedScales},

    // Window; the list of windows follows in a group of its own.
    {.name = "WindowCascade", .id = ID_WINDOW_CASCADE, .label = QT_TRANSLATE_NOOP("Commands", "&Cascade"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Arrange windows so they overlap"),
     .toolTip = QT_TRANSLATE_NOOP("Commands", "Cascade Windows"), .places = {{M::Window, 10}},
     .run = &H::CascadeWindows},
    {.name = "WindowTile", .id = ID_WINDOW_TILE, .label = QT_TRANSLATE_NOOP("Commands", "&Tile"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Arrange windows as non-overlapping tiles"),
     .toolTip = QT_TRANSLATE_NOOP("Commands", "Tile Windows"), .places = {{M::Window, 11}}, .run = &H::TileWindows},
    {.name = "WindowArrange", .id = ID_WINDOW_ARRANGE, .label = QT_TRANSLATE_NOOP("Commands", "&Arrange Icons"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Arrange icons at the bottom of the window"),
     .toolTip = QT_TRANSLATE_NOOP("Commands", "Arrange Icons"), .places = {{M::Window, 12}},
     .run = &H::ArrangeIcons},
    {.name = "WindowShowAll", .id = ID_WINDOW_SHOW_ALL, .label = QT_TRANSLATE_NOOP("Commands", "&Show All Views"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Bring back the survey's closed plot windows and tile the windows"),
     .places = {{M::Window, 13}}, .run = &H::ShowAllViews, .enabled = HasSurvey},

    // Help
    {.name = "HelpGuide", .id = ID_HELP_GUIDE, .label = QT_TRANSLATE_NOOP("Commands", "&%1 Help\tF1"),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Show the user guide"),
     .toolTip = QT_TRANSLATE_NOOP("Commands", "Kestrix Help"), .keys = "F1", .places = {{M::MainHelp, 10}, {M::SurveyHelp, 10}},
     .toolSlot = 41, .icon = ToolIcon::Help, .run = &H::ShowHelp},
    {.name = "AppAbout", .id = ID_APP_ABOUT, .label = QT_TRANSLATE_NOOP("Commands", "&About %1..."),
     .prompt = QT_TRANSLATE_NOOP("Commands", "Show the program's name and version"),
     .places = {{M::MainHelp, 10}, {M::SurveyHelp, 10}}, .run = &H::ShowAbout},
};

const MenuRow kMenus[] = {
    {M::MainFile, QT_TRANSLATE_NOOP("Commands", "&File"), MenuBar::Main},
    {M::MainView, QT_TRANSLATE_NOOP("Commands", "&View"), MenuBar::Main},
    {M::MainHelp, QT_TRANSLATE_NOOP("Commands", "&Help"), MenuBar::Main},
    {M::SurveyFile, QT_TRANSLATE_NOOP("Commands", "&File"), MenuBar::Survey},
    {M::Edit, QT_TRANSLATE_NOOP("Commands", "&Edit"), MenuBar::Survey},
    {M::Roll, QT_TRANSLATE_NOOP("Commands", "R&oll option"), MenuBar::Survey, {M::Edit, 60}},
    {M::SurveyView, QT_TRANSLATE_NOOP("Commands", "&View"), MenuBar::Survey},
    {M::Window, QT_TRANSLATE_NOOP("Commands", "&Window"), MenuBar::Survey},
    {M::SurveyHelp, QT_TRANSLATE_NOOP("Commands", "&Help"), MenuBar::Survey},
};

} // namespace

std::span<const CommandRow> MainWindowCommands() { return kCommands; }

std::span<const MenuRow> MainWindowMenus() { return kMenus; }

const CommandRow* CommandOf(int id)
{
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [id](const CommandRow& row) { return row.id == id; });
    return found == std::end(kCommands) ? nullptr : &*found;
}

#pragma once

#include "app/CommandHost.h"
#include "app/CommandIds.h"
#include "app/ToolbarIcons.h"
#include "survey/EditOperations.h"

#include <QKeySequence>
#include <optional>
#include <span>

class CChildFrame;
class PlotLink;
namespace survey {
class CKestrixDoc;
} // namespace survey

// The menus of the two menu bars, and the Edit menu's "Roll option" popup.
enum class MenuId { None, MainFile, MainView, MainHelp, SurveyFile, Edit, Roll, SurveyView, Window, SurveyHelp };

// Where an item stands in a menu or the tool bar: items go in slot order, and
// a separator stands between slots of different tens ("groups").
struct Place {
    MenuId menu = MenuId::None;
    int slot = 0;
};
constexpr int GroupOf(int slot) { return slot / 10; }

// What the enabled and checked tests look at, gathered once per update.
struct CommandState {
    const CChildFrame* activeWindow = nullptr; // the active survey window, or none
    // Its survey, unless read-only: the survey, its depth plots' shared
    // state and whether its windows include the quality plot, the plan and
    // the section.
    const survey::CKestrixDoc* survey = nullptr;
    const PlotLink* plots = nullptr;
    bool showsQualityPlot = false;
    bool showsPlan = false;
    bool showsSection = false;
    bool gridFrame = false; // its XYZ exports turn the components to grid north
    bool xyzDepthColumn = false; // its XYZ exports end each row with the depth
    bool fixedScales = false; // its depth plots keep their fixed value ranges
    bool listingSelection = false;             // the active listing has rows selected
    bool listsEveryReading = false;            // the active survey's listing shows every reading
    bool plotActive = false;                   // the active window is a plot
    bool toolBarShown = false;
    bool statusBarShown = false;
};

struct CommandRow;
using CommandTest = bool (*)(const CommandState& state, const CommandRow& row);
using CommandHandler = void (CommandHost::*)();

// One command of the main window. A row with neither handler nor edit is
// shown but never enabled.
struct CommandRow {
    const char* name; // for tests and readers: "FileOpen"
    int id;           // CommandIds.h, kept as the action's data
    // Label with its mnemonic ("&") and, after a tab, the keys it shows;
    // "%1" stands for the program's name. Translated in context "Commands".
    const char* label = nullptr;
    const char* prompt = "";  // status bar text while highlighted; none leaves the pane empty
    const char* toolTip = ""; // none: Qt's, from the label
    // Keys that work in the whole main window, whichever menu is shown:
    // a standard key, or a list in portable text ("Ctrl+E; Ctrl+S").
    QKeySequence::StandardKey standardKey = QKeySequence::UnknownKey;
    const char* keys = "";
    Place places[2] = {};
    int toolSlot = 0; // place on the tool bar, or 0
    ToolIcon icon = ToolIcon::None;
    CommandHandler run = nullptr;
    std::optional<survey::EditOperation> edit = std::nullopt; // made on the active survey
    CommandTest enabled = nullptr;                            // none: always, with a handler
    CommandTest checked = nullptr;                            // none: not checkable
    bool undoStack = false; // Undo and Redo: the undo group's action, its text and state its own

    // Whether the row does something when chosen.
    bool IsHandled() const { return run || edit || undoStack; }
};

// A menu and, for a popup, its place in its parent menu.
struct MenuRow {
    MenuId id;
    const char* title; // translated in context "Commands"
    MenuBar bar;
    Place inside = {}; // a popup's place; none for a menu of the bar
};

// Every command of the main window, in no particular order.
std::span<const CommandRow> MainWindowCommands();
// Every menu: those of a bar in bar order.
std::span<const MenuRow> MainWindowMenus();
// The row of command `id`, or none.
const CommandRow* CommandOf(int id);

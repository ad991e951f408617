#pragma once

#include "app/UserPrompts.h"

#include <QString>
#include <optional>

class QWidget;
class SurveyDocument;

// The edits file of a survey open in the windows: saving it, making its
// edits after the load, and the question before unsaved edits are lost.
// Failures are shown through `prompts` with `parent` as the dialogs' parent.
// Where a survey's edits were last saved is kept in the user's settings by
// the survey's path, so edits saved away from read-only media are found again.

// The edits file beside `document`'s file: its full name with ".edits".
QString EditsPathBeside(const SurveyDocument& document);
// The edits file Save Edits writes: the one the survey's edits were restored
// from or last saved to, else the one beside it.
QString EditsPathOf(const SurveyDocument& document);

// Writes the survey's edits to EditsPathOf (an earlier file stays whole
// until the new one is complete). False, after a message, when it failed.
bool SaveEdits(SurveyDocument& document, UserPrompts& prompts, QWidget* parent);
// Writes them to a file chosen in a save dialog, which Save Edits and the
// next opening of the survey then use. False when cancelled or it failed.
bool SaveEditsAs(SurveyDocument& document, UserPrompts& prompts, QWidget* parent);

// After a successful load: when the survey has an edits file, makes its
// edits as one undoable step and returns the status bar's text, "Edits
// restored: 5 deletions, ...". With a file beside the survey and one where
// its edits were last saved, the newer is taken and the text names it. A
// file that cannot be read or does not fit the survey is shown with its line
// and reason; nothing of it is made and the file is left as it is.
std::optional<QString> RestoreSavedEdits(SurveyDocument& document, UserPrompts& prompts, QWidget* parent);

// "Save the edits to NAME?": Save writes them and is true unless that
// failed, Discard gives them up (true), Cancel keeps the survey open (false).
bool AskToSaveEdits(SurveyDocument& document, UserPrompts& prompts, QWidget* parent);

#pragma once

#include <QIcon>

// The image of the tool bar's button for command `id` (New, Open, Save
// Edits, Export, Cut, Copy, Paste, Undo, Redo, Print, About), drawn at
// 16 x 15 pixels and twice that.
QIcon ToolbarIcon(int id);

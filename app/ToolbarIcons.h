#pragma once

#include <QIcon>

// The tool bar's button images.
enum class ToolIcon { None, New, Open, SaveEdits, Export, Cut, Copy, Paste, Undo, Redo, Print, Help };

// The image `icon`, drawn at 16 x 15 pixels and twice that; none for None.
QIcon ToolbarIcon(ToolIcon icon);

#pragma once

#include "survey/EditOperations.h"

#include <span>

// One item of the Edit menu: the edit it makes on the active survey.
struct EditItem {
    int id; // CommandIds.h
    const char* label;
    survey::EditOperation operation;
    bool checkable;       // checked while its state is the survey's (survey::IsInForce)
    bool separatorBefore; // a separator line above it
};

// The Edit menu's own items, in menu order.
std::span<const EditItem> EditMenuItems();
// The items of its "Roll option" popup, which ends the menu after a separator.
// Labels carry their mnemonics ("&"), which the menus do not show.
std::span<const EditItem> RollOptionItems();

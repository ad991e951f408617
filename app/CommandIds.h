#pragma once

// Command ids of menus 128 and 129, the tool bar and the accelerators. The
// Edit menu's ids are the survey document's (EditCommands.h).
enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_EXPORT = 57603,
    ID_FILE_PRINT = 57607,
    ID_FILE_MRU_FIRST = 57616, // recent files 1 to 16: 57616 to 57631
    ID_FILE_MRU_LAST = 57631,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE = 57651,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_INDICATOR_DEPTH = 32807,
};

// Resource ids of the two menus.
enum MenuId : int { IDR_MAINFRAME = 128, IDR_KESTRIXTYPE = 129 };

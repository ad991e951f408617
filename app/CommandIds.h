#pragma once

// Command ids of the menus, the tool bar and the accelerators, kept as data
// on their actions. The commands themselves are rows of CommandTable.h.
enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_EXPORT = 57603,
    ID_FILE_SAVE_EDITS = 57604,
    ID_FILE_PRINT = 57607,
    ID_FILE_MRU_FIRST = 57616, // recent files 1 to 16: 57616 to 57631
    ID_FILE_MRU_LAST = 57631,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE = 57651,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_EDIT_DELETE_OBSERVATIONS = 32778,
    ID_EDIT_ADD_CONTROL_POINTS = 32788,
    ID_EDIT_CLEAR_CONTROL_POINTS = 32790,
    ID_EDIT_FIT_DEGREE_1 = 32784,
    ID_EDIT_FIT_DEGREE_2 = 32785,
    ID_EDIT_FIT_DEGREE_3 = 32786,
    ID_EDIT_FIT_DEGREE_4 = 32791,
    ID_ROLL_NO_ADJUSTMENT = 32806,
    ID_ROLL_ADD_90 = 32800,
    ID_ROLL_ADD_180 = 32804,
    ID_ROLL_SUBTRACT_90 = 32803,
    ID_FILE_SAVE_PLOT = 32810,
    ID_EDIT_FIT_LOCAL = 32811,
    ID_EDIT_DELETE_FLAGGED = 32812,
    ID_EDIT_SPIKE_SETTINGS = 32813,
    ID_EDIT_SITE = 32814,
    ID_EDIT_MINIMUM_CURVATURE = 32815,
    ID_FILE_EXPORT_RESULTS = 32816,
    ID_FILE_EXPORT_ANOMALIES = 32817,
    ID_FILE_GRID_FRAME = 32818,
    // The depth plots' View and Window items.
    ID_VIEW_WHOLE_HOLE = 32830,
    ID_VIEW_ANOMALIES = 32831,
    ID_VIEW_FIXED_SCALES = 32870,
    ID_WINDOW_SHOW_ALL = 32832,
    ID_VIEW_QUALITY = 32833,
    ID_VIEW_PLAN = 32840,
    ID_VIEW_SECTION = 32841,
    // The listing's rows and finding a depth.
    ID_VIEW_EVERY_READING = 32860,
    ID_EDIT_GO_TO_DEPTH = 32861,
    // The hole's name and the survey's report.
    ID_EDIT_HOLE_NAME = 32875,
    ID_FILE_SAVE_REPORT = 32876,
    // Control points by number, edits anywhere, the XYZ depth column, help.
    ID_EDIT_CONTROL_POINTS = 32880,
    ID_FILE_SAVE_EDITS_AS = 32881,
    ID_FILE_XYZ_DEPTH = 32882,
    ID_HELP_GUIDE = 32883,
};

// The two menu bars: the main one while no survey window is open, the
// survey one once a listing window has been active.
enum class MenuBar { Main, Survey };

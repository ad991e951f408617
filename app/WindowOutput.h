#pragma once

class CMainFrame;
class UserPrompts;

// The active survey window out of the program.

// File > "Save Plot As...": writes the active plot window of `frame` as a PNG,
// SVG or PDF picture at a size the user chooses; nothing without a plot window.
void SaveActivePlot(CMainFrame& frame, UserPrompts& prompts);
// File > "Save Report As...": writes the active window's survey as one PDF
// (views/SurveyReport.h) where the user chooses, beside the survey by default.
void SaveActiveReport(CMainFrame& frame, UserPrompts& prompts);
// File > "Print...": prints the active survey window of `frame`, a plot
// scaled to the page, the listing as text; nothing without a window.
void PrintActiveWindow(CMainFrame& frame, UserPrompts& prompts);

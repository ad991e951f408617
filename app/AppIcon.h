#pragma once

#include <QIcon>

// The program icon (resource 128), from the sizes built into the program.
QIcon ProgramIcon();
// The raw survey file's icon (resource 129), shown by every listing window.
QIcon DocumentIcon();

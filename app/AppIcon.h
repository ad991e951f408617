#pragma once

#include <QIcon>

// The program icon, from the sizes built into the program.
QIcon ProgramIcon();
// The raw survey file's icon, shown by every listing window.
QIcon DocumentIcon();

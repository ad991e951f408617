#pragma once

#include <QIcon>

// The program icon (resource 128), from the sizes built into the program.
QIcon ProgramIcon();

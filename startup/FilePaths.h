#pragma once

#include <QString>

#include <string>

// The one conversion between the windows' file paths and the cores' byte
// strings: the file system's encoding, as Qt opens files, so a path typed or
// chosen in a dialog names the same file in the cores under any locale.
// Texts the cores build around a path (messages) come back the same way.

std::string ToFilePath(const QString& path);
QString FromFilePath(const std::string& path);

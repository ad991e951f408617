#pragma once

#include <QString>

// `text` (a file name, a window title) as a menu item shows it: each "&"
// doubled, so none becomes a mnemonic.
QString EscapeMenuText(const QString& text);

// A numbered item of a list in a menu: "&3 demo.txt", the number its mnemonic
// for 1 to 9; `text` is escaped.
QString NumberedMenuText(int number, const QString& text);

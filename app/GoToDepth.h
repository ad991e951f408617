#pragma once

#include "survey/NearestReading.h"

#include <QString>
#include <variant>

class QWidget;
class SurveyDocument;
class UserPrompts;

// The Go to Depth box's text for a survey spanning `extent`.
QString DepthPromptText(const survey::DepthExtent& extent);

// A typed depth: one number as the C locale reads it (a point before the
// decimals, whatever the user's locale), from the shallowest to the deepest
// reading. The depth, or the message that refuses the text.
std::variant<double, QString> ReadDepthToGoTo(const QString& text, const survey::DepthExtent& extent);

// Asks a depth and shows the reading nearest it: the listing selects its row
// (with every reading listed; otherwise the nearest listed row) in the middle
// of its window, and every depth plot marks it, its zoomed depth window
// centred on it. A refused depth is said in a message box and shows nothing.
void GoToDepth(SurveyDocument& document, UserPrompts& prompts, QWidget* parent);

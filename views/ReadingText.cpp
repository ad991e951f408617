#include "views/ReadingText.h"

#include "textio/NumberText.h"

QString Plain(double value, int decimals)
{
    return QString::fromStdString(textio::Format("%.*lf", decimals, value + 0.0)); // + 0.0: no "-0"
}

QString Degrees(double value) { return Plain(value, 2) + QStringLiteral("\u00b0"); }

QString Nanotesla(double value) { return Plain(value, 0) + QStringLiteral(" nT"); }

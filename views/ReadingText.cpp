#include "views/ReadingText.h"

#include "textio/NumberText.h"

QString Plain(double value, int decimals)
{
    QString text = QString::fromStdString(textio::Format("%.*lf", decimals, value));
    // A small negative value rounds to zero, which has no sign.
    if (text.startsWith(QLatin1Char('-')) && text.count(QLatin1Char('0')) + text.count(QLatin1Char('.')) == text.size() - 1)
        text.remove(0, 1);
    return text;
}

QString Degrees(double value) { return Plain(value, 2) + QStringLiteral("\u00b0"); }

QString Nanotesla(double value) { return Plain(value, 0) + QStringLiteral(" nT"); }

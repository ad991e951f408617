#include "app/MenuText.h"

QString EscapeMenuText(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return escaped;
}

QString NumberedMenuText(int number, const QString& text)
{
    const QString shown = EscapeMenuText(text);
    return number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(shown) : shown;
}

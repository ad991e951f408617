#include "app/AppIcon.h"

namespace {

QIcon IconOfSizes(const QString& name)
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/kestrix/icons/%1-%2.png").arg(name).arg(size), QSize(size, size));
    return icon;
}

} // namespace

QIcon ProgramIcon() { return IconOfSizes(QStringLiteral("kestrix")); }

QIcon DocumentIcon() { return IconOfSizes(QStringLiteral("kestrix-survey")); }

#include "app/RecentFileList.h"

#include "app/ProgramInfo.h"

#include <QDir>
#include <QSettings>

namespace {

const QString kGroup = QStringLiteral("Recent File List");

QString KeyOf(int index) { return QStringLiteral("File%1").arg(index + 1); }

bool SamePath(const QString& a, const QString& b)
{
    return QDir::cleanPath(a) == QDir::cleanPath(b);
}

} // namespace

void RecentFileList::Load()
{
    m_paths.clear();
    QSettings settings(kProgramMaker, kProgramName);
    settings.beginGroup(kGroup);
    for (int i = 0; i < kMaxEntries; ++i) {
        const QString path = settings.value(KeyOf(i)).toString();
        if (!path.isEmpty())
            m_paths.append(path);
    }
}

void RecentFileList::Add(const QString& path)
{
    m_paths.removeIf([&](const QString& listed) { return SamePath(listed, path); });
    m_paths.prepend(path);
    while (m_paths.size() > kMaxEntries)
        m_paths.removeLast();
    Save();
}

void RecentFileList::Remove(const QString& path)
{
    if (m_paths.removeIf([&](const QString& listed) { return SamePath(listed, path); }) > 0)
        Save();
}

void RecentFileList::Save() const
{
    QSettings settings(kProgramMaker, kProgramName);
    settings.remove(kGroup);
    settings.beginGroup(kGroup);
    for (int i = 0; i < m_paths.size(); ++i)
        settings.setValue(KeyOf(i), m_paths[i]);
    settings.endGroup();
    settings.sync();
}

QString RecentFileList::Abbreviate(const QString& path, int maxLength)
{
    if (path.size() <= maxLength)
        return path;
    const QString native = QDir::toNativeSeparators(path);
    const QChar separator = QDir::separator();
    QStringList parts = native.split(separator);
    const QString name = parts.takeLast();
    if (parts.isEmpty())
        return name;
    // Keep the root folder ("" for an absolute path, so the result starts with
    // the separator) and drop the folders after it, nearest the root first.
    const QString root = parts.takeFirst();
    const QString ellipsis = root + separator + QStringLiteral("...") + separator;
    while (!parts.isEmpty()) {
        parts.removeFirst();
        QString candidate = ellipsis;
        for (const QString& part : parts)
            candidate += part + separator;
        candidate += name;
        if (candidate.size() <= maxLength)
            return candidate;
    }
    return name;
}

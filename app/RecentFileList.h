#pragma once

#include <QString>
#include <QStringList>

// The recent-file list: at most 10 paths, newest first, kept in the settings
// store under the program's maker and name, group "Recent File List", keys
// File1 to File10. It is the only thing the program stores.
class RecentFileList {
public:
    static constexpr int kMaxEntries = 10;

    // Reads the list from the settings store (missing or empty keys skipped).
    void Load();
    // Puts `path` first (moving it up if listed) and writes the list back.
    void Add(const QString& path);
    // Takes `path` out of the list, if listed, and writes the list back.
    void Remove(const QString& path);

    const QStringList& Paths() const { return m_paths; }

    // `path` shortened for the File menu to about `maxLength` characters: the
    // file name is always kept, folders near it give way to "..." first.
    static QString Abbreviate(const QString& path, int maxLength = 30);

private:
    void Save() const;

    QStringList m_paths;
};

#pragma once

#include <QStringList>

/// The most recently used dictionaries, newest first, kept in the
/// settings file's "Recent File List" section.
class RecentFiles
{
public:
    static constexpr int kSize = 4;

    static QStringList Load();
    /// Puts the path first (removing it elsewhere) and saves the list.
    static void Add(const QString& path);
    static void Remove(const QString& path);

private:
    static void Save(const QStringList& files);
};

#include "app/RecentFiles.h"

#include "settings/ProfileFile.h"
#include "tessary/GlobalVarsForDll.h"

namespace {

constexpr const char* kSection = "Recent File List";

ProfileFile File()
{
    return ProfileFile(GlobalVarsForDll::csIni.toStdString());
}

} // namespace

QStringList RecentFiles::Load()
{
    QStringList files;
    const ProfileFile file = File();
    for (int i = 1; i <= kSize; ++i) {
        const std::string value = file.ReadString(kSection, "File" + std::to_string(i), "");
        if (!value.empty())
            files << QString::fromStdString(value);
    }
    return files;
}

void RecentFiles::Add(const QString& path)
{
    QStringList files = Load();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kSize)
        files.removeLast();
    Save(files);
}

void RecentFiles::Remove(const QString& path)
{
    QStringList files = Load();
    files.removeAll(path);
    Save(files);
}

void RecentFiles::Save(const QStringList& files)
{
    const ProfileFile file = File();
    for (int i = 1; i <= kSize; ++i) {
        const std::string key = "File" + std::to_string(i);
        if (i <= files.size())
            file.WriteString(kSection, key, files[i - 1].toStdString());
        else
            file.DeleteKey(kSection, key);
    }
}

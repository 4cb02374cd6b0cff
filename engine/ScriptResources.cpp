#include "engine/ScriptResources.h"

#include "dictionary/FileSystem.h"
#include "dictionary/LineFile.h"
#include "dictionary/TextRules.h"

#include <algorithm>

bool ScriptResources::Contains(std::string_view name) const
{
    if (EqualsNoCase(name, "Stringtable"))
        return true;
    return std::find(dialogs.begin(), dialogs.end(), name) != dialogs.end() ||
           std::find(menus.begin(), menus.end(), name) != menus.end();
}

void ScriptResources::Recognise(std::string_view line, int shownKinds)
{
    if (shownKinds & Menus) {
        std::size_t p = line.find(" MENU ");
        if (p == std::string_view::npos) {
            p = line.find(" MENU");
            if (p != std::string_view::npos && p + 5 != line.size())
                p = std::string_view::npos;
        }
        if (p != std::string_view::npos) {
            const std::string_view name = line.substr(0, p);
            if (!Contains(name))
                menus.emplace_back(name);
        }
    }
    if (shownKinds & Dialogs) {
        std::size_t p = line.find(" DIALOG ");
        if (p == std::string_view::npos)
            p = line.find(" DIALOGEX ");
        if (p != std::string_view::npos) {
            const std::string_view name = line.substr(0, p);
            if (!Contains(name))
                dialogs.emplace_back(name);
        }
    }
}

bool ScriptResources::Scan(const std::string& path, int shownKinds)
{
    LineFile file;
    if (!file.OpenForReading(ResolveExistingPath(path)))
        return false;
    std::string line;
    for (auto n = file.ReadFirstLine(line); n >= 0; n = file.ReadLine(line)) {
        if (n > 0)
            Recognise(line, shownKinds);
    }
    return true;
}

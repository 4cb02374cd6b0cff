#include "engine/ScriptResources.h"

#include "dictionary/FileSystem.h"
#include "dictionary/LineFile.h"
#include "dictionary/TextRules.h"
#include "engine/ResourceKind.h"

#include <algorithm>

bool ScriptResources::Contains(std::string_view name) const
{
    if (EqualsNoCase(name, "Stringtable"))
        return true;
    return std::find(dialogs.begin(), dialogs.end(), name) != dialogs.end() ||
           std::find(menus.begin(), menus.end(), name) != menus.end();
}

std::vector<std::pair<int, std::string_view>> ScriptResources::Declarations(std::string_view line,
                                                                            int shownKinds)
{
    std::vector<std::pair<int, std::string_view>> found;
    if (shownKinds & Menus) {
        std::size_t p = line.find(" MENU ");
        if (p == std::string_view::npos) {
            p = line.find(" MENU");
            if (p != std::string_view::npos && p + 5 != line.size())
                p = std::string_view::npos;
        }
        if (p != std::string_view::npos)
            found.emplace_back(KindMenu, line.substr(0, p));
    }
    if (shownKinds & Dialogs) {
        std::size_t p = line.find(" DIALOG ");
        if (p == std::string_view::npos)
            p = line.find(" DIALOGEX ");
        if (p != std::string_view::npos)
            found.emplace_back(KindDialog, line.substr(0, p));
    }
    return found;
}

void ScriptResources::Recognise(std::string_view line, int shownKinds)
{
    for (const auto& [kind, name] : Declarations(line, shownKinds)) {
        if (!Contains(name))
            (kind == KindMenu ? menus : dialogs).emplace_back(name);
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

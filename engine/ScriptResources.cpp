#include "engine/ScriptResources.h"

#include "dictionary/Codec.h"
#include "dictionary/FileSystem.h"
#include "dictionary/TextRules.h"
#include "engine/ResourceKind.h"
#include "engine/ScriptKeywords.h"
#include "engine/ScriptText.h"

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
    // The scanner's own keyword tests, so that the tree lists exactly the
    // resources whose texts extraction takes.
    const LineKeywords k = FindKeywords(line);
    if ((shownKinds & Menus) && k.menu != LineKeywords::npos)
        found.emplace_back(KindMenu, line.substr(0, k.menu));
    const std::size_t dialog = k.dialog != LineKeywords::npos ? k.dialog : k.dialogEx;
    if ((shownKinds & Dialogs) && dialog != LineKeywords::npos)
        found.emplace_back(KindDialog, line.substr(0, dialog));
    return found;
}

void ScriptResources::Recognise(std::string_view line, int shownKinds)
{
    for (const auto& [kind, name] : Declarations(line, shownKinds)) {
        if (!Contains(name))
            (kind == KindMenu ? menus : dialogs).emplace_back(name);
    }
}

namespace {

void ScanLines(ScriptText& file, ScriptResources& resources, int shownKinds)
{
    std::string line;
    for (auto n = file.ReadFirstLine(line); n >= 0; n = file.ReadLine(line)) {
        if (n > 0)
            resources.Recognise(line, shownKinds);
    }
}

} // namespace

bool ScriptResources::Scan(const std::string& path, int shownKinds)
{
    ScriptText file;
    if (!file.Open(ResolveExistingPath(path), OpenOriginalsCodePage()) || file.Failed())
        return false;
    ScanLines(file, *this, shownKinds);
    return true;
}

void ScriptResources::ScanText(std::string_view script, int shownKinds)
{
    ScriptText file;
    file.OpenMemory(script, OpenOriginalsCodePage());
    ScanLines(file, *this, shownKinds);
}

#include "engine/ScriptStatistics.h"

#include "dictionary/ContextDictionary.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/TextRules.h"
#include "engine/ResourceTree.h"

#include <algorithm>

ResourceStatistics CountResources(const ResourceTree& tree, const ContextDictionary& context)
{
    ResourceStatistics statistics;
    for (const auto& file : tree.Files()) {
        ScriptCounts& counts = statistics.scripts.emplace_back();
        counts.source = file->source;
        if (const ResourceTreeItem* dialogs = tree.FindCategory(*file, ResourceTree::CategoryDialogs))
            counts.dialogs = static_cast<int>(dialogs->children.size());
        if (const ResourceTreeItem* menus = tree.FindCategory(*file, ResourceTree::CategoryMenus))
            counts.menus = static_cast<int>(menus->children.size());
        counts.stringTables = context.HasStringTable(file->source) ? 1 : 0;
        statistics.total.dialogs += counts.dialogs;
        statistics.total.menus += counts.menus;
        statistics.total.stringTables += counts.stringTables;
    }
    std::stable_sort(statistics.scripts.begin(), statistics.scripts.end(),
                     [](const ScriptCounts& a, const ScriptCounts& b) {
                         return AnsiLower(a.source) < AnsiLower(b.source);
                     });
    return statistics;
}

TranslationShare ShareOf(const GeneralDictionary& general)
{
    TranslationShare share;
    share.total = general.TextCount();
    share.translated = general.CountTranslated();
    share.untranslated = share.total - share.translated;
    const double base = share.total > 0 ? share.total : 1;
    share.translatedPercent = share.translated / base * 100.0;
    share.untranslatedPercent = share.untranslated / base * 100.0;
    share.translatedDegrees = share.translated * 360.0 / base;
    return share;
}

void SetTreeFiles(ResourceTree& tree, const FileList& files)
{
    std::vector<std::pair<std::string, std::string>> map;
    for (const auto& entry : files.Files())
        map.emplace_back(entry.value.source, entry.value.destination);
    tree.SetFileMap(std::move(map));
    tree.SetHasFileMap(true);
}

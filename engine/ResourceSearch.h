#pragma once

#include <string>
#include <string_view>
#include <vector>

class ContextDictionary;
class GeneralDictionary;
class ResourceTree;
struct ResourceTreeItem;

/// One resource holding a text that was searched for.
struct ResourceMatch
{
    std::string file;         ///< the script, as the dictionary keys it
    std::string resourceName; ///< "STRINGTABLE" for a string table
    std::string matched;      ///< the original, in-context or general translation that holds the text
};

/// Searches every text of the dictionary for the text (without regard to
/// case) and gives every in-context entry whose original holds it, else
/// whose in-context translation holds it, else whose general translation
/// does; each entry gives one match at most, in the dictionary's order.
std::vector<ResourceMatch> FindInResources(const GeneralDictionary& general, const ContextDictionary& context,
                                           std::string_view text);

/// A match placed in the resource tree.
struct LocatedMatch
{
    ResourceMatch match;
    const ResourceTreeItem* item = nullptr; ///< the dialog, menu or string-table item
    int kind = 0;                           ///< 3 string table, 4 menu, 5 dialog
};

/// The matches whose resource the tree shows, with its item and kind and
/// the script named as the tree names it, ordered by file without regard to
/// case (stable); matches the tree does not know are dropped.
std::vector<LocatedMatch> LocateMatches(const ResourceTree& tree, std::vector<ResourceMatch> matches);

/// "Dialog box", "Menu" or "Stringtable".
std::string_view ResourceTypeName(int kind);

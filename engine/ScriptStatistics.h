#pragma once

#include <string>
#include <vector>

class ContextDictionary;
class FileList;
class GeneralDictionary;
class ResourceTree;

/// The resources of one script, as the resource tree shows them.
struct ScriptCounts
{
    std::string source;
    int dialogs = 0;
    int menus = 0;
    int stringTables = 0; ///< 1 when the in-context dictionary holds a string table of the script
};

/// One row per script of the tree, sorted by path without regard to case,
/// and the column sums (source left empty).
struct ResourceStatistics
{
    std::vector<ScriptCounts> scripts;
    ScriptCounts total;
};
ResourceStatistics CountResources(const ResourceTree& tree, const ContextDictionary& context);

/// How much of the dictionary is translated; a dictionary without texts
/// counts as one text for the shares.
struct TranslationShare
{
    int total = 0;
    int translated = 0;
    int untranslated = 0;
    double translatedPercent = 0;
    double untranslatedPercent = 0;
    /// The translated sector of a full circle.
    double translatedDegrees = 0;
};
TranslationShare ShareOf(const GeneralDictionary& general);

/// Gives the tree every script of the list of files (as the resource tree
/// window shows them).
void SetTreeFiles(ResourceTree& tree, const FileList& files);

#include "engine/ResourceSearch.h"

#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "dictionary/TextRules.h"
#include "engine/ResourceKind.h"
#include "engine/ResourceTree.h"

#include <algorithm>

namespace {

// Whether the text holds the lower-cased needle, without regard to case.
bool HoldsNoCase(std::string_view text, const std::string& needle, std::string& scratch)
{
    if (needle.size() > text.size())
        return false;
    scratch.assign(text);
    for (char& c : scratch)
        c = AnsiToLower(c);
    return scratch.find(needle) != std::string::npos;
}

} // namespace

std::vector<ResourceMatch> FindInResources(const GeneralDictionary& general, const ContextDictionary& context,
                                           std::string_view text)
{
    std::vector<ResourceMatch> matches;
    if (text.empty())
        return matches;
    const std::string needle = AnsiLower(text);
    std::string scratch;
    for (const auto& file : context.Files()) {
        for (const auto& entry : file.value) {
            const ContextEntry& e = entry.value;
            const std::string* matched = nullptr;
            if (HoldsNoCase(e.original, needle, scratch)) {
                matched = &e.original;
            } else if (HoldsNoCase(e.contextTranslation, needle, scratch)) {
                matched = &e.contextTranslation;
            } else if (const std::string* translation = general.FindTranslation(e.original);
                       translation && HoldsNoCase(*translation, needle, scratch)) {
                matched = translation;
            }
            if (!matched)
                continue;
            const std::size_t plus = entry.key.find('+');
            matches.push_back({file.key, entry.key.substr(0, plus), *matched});
        }
    }
    return matches;
}

std::vector<LocatedMatch> LocateMatches(const ResourceTree& tree, std::vector<ResourceMatch> matches)
{
    std::vector<LocatedMatch> located;
    located.reserve(matches.size());
    for (ResourceMatch& match : matches) {
        const ResourceTreeItem* item = tree.FindResourceItem(match.file, match.resourceName);
        const int kind = ResourceTree::KindOf(item);
        if (kind != KindStringTable && kind != KindMenu && kind != KindDialog)
            continue;
        // The script as the list of files spells it.
        match.file = ResourceTree::FileOf(item)->source;
        located.push_back({std::move(match), item, kind});
    }
    std::stable_sort(located.begin(), located.end(), [](const LocatedMatch& a, const LocatedMatch& b) {
        return std::lexicographical_compare(a.match.file.begin(), a.match.file.end(), b.match.file.begin(),
                                            b.match.file.end(), [](char x, char y) {
                                                return static_cast<unsigned char>(AnsiToLower(x)) <
                                                       static_cast<unsigned char>(AnsiToLower(y));
                                            });
    });
    return located;
}

std::string_view ResourceTypeName(int kind)
{
    switch (kind) {
    case KindDialog:
        return MessageText(MsgDialogBox);
    case KindMenu:
        return MessageText(MsgMenu);
    case KindStringTable:
        return MessageText(MsgStringtable);
    default:
        return {};
    }
}

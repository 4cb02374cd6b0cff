#include "engine/ResourceSearch.h"

#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "dictionary/TextRules.h"
#include "engine/ResourceKind.h"
#include "engine/ResourceTree.h"

#include <algorithm>

namespace {

// Every byte lower-cased, looked up instead of computed.
struct LowerTable
{
    unsigned char lower[256];
    LowerTable()
    {
        for (int b = 0; b < 256; ++b)
            lower[b] = static_cast<unsigned char>(AnsiToLower(static_cast<char>(b)));
    }
};

// Whether the text holds the lower-cased needle, without regard to case and
// without copying the text.
bool HoldsNoCase(std::string_view text, std::string_view needle, const LowerTable& table)
{
    if (needle.size() > text.size())
        return false;
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    const auto* n = reinterpret_cast<const unsigned char*>(needle.data());
    const std::size_t last = text.size() - needle.size();
    for (std::size_t i = 0; i <= last; ++i) {
        if (table.lower[t[i]] != n[0])
            continue;
        std::size_t k = 1;
        while (k < needle.size() && table.lower[t[i + k]] == n[k])
            ++k;
        if (k == needle.size())
            return true;
    }
    return false;
}

} // namespace

std::vector<ResourceMatch> FindInResources(const GeneralDictionary& general, const ContextDictionary& context,
                                           std::string_view text)
{
    std::vector<ResourceMatch> matches;
    if (text.empty())
        return matches;
    static const LowerTable table;
    const std::string needle = AnsiLower(text);
    for (const auto& file : context.Files()) {
        for (const auto& entry : file.value) {
            const ContextEntry& e = entry.value;
            const std::string* matched = nullptr;
            if (HoldsNoCase(e.original, needle, table)) {
                matched = &e.original;
            } else if (HoldsNoCase(e.contextTranslation.str(), needle, table)) {
                matched = &e.contextTranslation.str();
            } else if (const std::string* translation = general.FindTranslation(e.original);
                       translation && HoldsNoCase(*translation, needle, table)) {
                matched = translation;
            }
            if (!matched)
                continue;
            const std::size_t plus = entry.key.find('+');
            matches.push_back({std::string(file.key), std::string(entry.key.substr(0, plus)), *matched});
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

#include "engine/AccessKeys.h"

#include "dictionary/Codec.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "engine/Literal.h"

#include <unordered_map>

namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The bytes of the character at a place of a text.
std::string_view CharacterAt(std::string_view text, std::size_t at)
{
    const int codePage = CurrentLiteralEncoding().codePage;
    std::size_t length = CharacterLength(text, at, codePage);
    if (codePage == kUtf8CodePage) {
        const auto b = static_cast<unsigned char>(text[at]);
        length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    }
    return text.substr(at, length);
}

} // namespace

int FollowAccessKey(std::string_view oldShown, int position, std::string_view newShown)
{
    if (position <= 0)
        return 0;
    if (oldShown == newShown)
        return AccessKeyPlace(newShown, position);
    if (static_cast<std::size_t>(position) <= oldShown.size()) {
        const std::string_view letter = CharacterAt(oldShown, static_cast<std::size_t>(position - 1));
        const std::vector<bool> places = AccessKeyPlaces(newShown);
        // The same letter in the same case first, then in the other case.
        for (const bool exact : {true, false}) {
            for (std::size_t i = 0; i < places.size(); ++i) {
                if (!places[i] || newShown.size() - i < letter.size())
                    continue;
                const std::string_view there = newShown.substr(i, letter.size());
                if (there == letter ||
                    (!exact && letter.size() == 1 && LowerAscii(there[0]) == LowerAscii(letter[0])))
                    return static_cast<int>(i) + 1;
            }
        }
    }
    return AccessKeyPlace(newShown, position);
}

void FollowAccessKeys(ContextEntry& entry, std::string_view oldShown, std::string_view newShown)
{
    if (const std::vector<std::int16_t>* values = entry.occurrences.values()) {
        std::vector<std::int16_t> moved = *values;
        for (std::int16_t& value : moved)
            value = static_cast<std::int16_t>(FollowAccessKey(oldShown, value, newShown));
        entry.shortcut = moved.front();
        entry.occurrences.assign(std::move(moved));
        entry.Collapse();
        return;
    }
    if (entry.shortcut > 0)
        entry.shortcut = static_cast<std::int16_t>(FollowAccessKey(oldShown, entry.shortcut, newShown));
}

std::string_view ShownTextOf(const ContextEntry& entry, const GeneralDictionary& general)
{
    if (!entry.contextTranslation.empty())
        return entry.contextTranslation.str();
    const std::string* translation = general.FindTranslation(entry.original);
    return translation && !translation->empty() ? std::string_view(*translation)
                                                : std::string_view(entry.original);
}

void SetGeneralTranslations(GeneralDictionary& general, ContextDictionary& context,
                            const std::vector<std::pair<std::string, std::string>>& changes, int codePage)
{
    const LiteralEncodingScope encoding(LiteralEncoding{codePage, true});
    // What each changed original showed before and shows now.
    std::unordered_map<std::string_view, std::pair<std::string, std::string>> shown;
    for (const auto& [original, translation] : changes) {
        const std::string* before = general.FindTranslation(original);
        if (!before)
            continue;
        const std::string was = before->empty() ? original : *before;
        const std::string now = translation.empty() ? original : translation;
        general.SetTranslation(original, translation);
        if (was != now)
            shown[original] = {was, now};
    }
    if (shown.empty())
        return;
    for (auto& file : context.Files()) {
        for (auto& entry : file.value) {
            ContextEntry& e = entry.value;
            if (!e.contextTranslation.empty())
                continue;
            if (const auto it = shown.find(e.original); it != shown.end())
                FollowAccessKeys(e, it->second.first, it->second.second);
        }
    }
}

void SetGeneralTranslation(GeneralDictionary& general, ContextDictionary& context, std::string_view original,
                           std::string_view translation, int codePage)
{
    SetGeneralTranslations(general, context, {{std::string(original), std::string(translation)}}, codePage);
}

void SetContextTranslation(ContextEntry& entry, std::string_view translation,
                           const GeneralDictionary& general, int codePage)
{
    const LiteralEncodingScope encoding(LiteralEncoding{codePage, true});
    const std::string was(ShownTextOf(entry, general));
    entry.contextTranslation = translation;
    const std::string_view now = ShownTextOf(entry, general);
    if (was != now)
        FollowAccessKeys(entry, was, now);
}

#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

class ContextDictionary;
class GeneralDictionary;
struct ContextEntry;

/// Where the access key at a position (1-based) of a text goes when the text
/// shown becomes another: on the same letter where the new text has it (in
/// either case), else at the same position; in both cases on a character
/// that can carry a key (AccessKeyPlace). None stays none.
int FollowAccessKey(std::string_view oldShown, int position, std::string_view newShown);

/// Moves every occurrence's key of an entry from one shown text to another.
void FollowAccessKeys(ContextEntry& entry, std::string_view oldShown, std::string_view newShown);

/// Sets general translations (original, translation). The resources that
/// show a changed translation (their entries of that original have no
/// in-context translation) keep each access key on its letter. The texts
/// are in the translations' code page, which decides what a character is.
void SetGeneralTranslations(GeneralDictionary& general, ContextDictionary& context,
                            const std::vector<std::pair<std::string, std::string>>& changes, int codePage);
void SetGeneralTranslation(GeneralDictionary& general, ContextDictionary& context, std::string_view original,
                           std::string_view translation, int codePage);

/// Sets the in-context translation of an entry; its access keys follow
/// their letters into the text it now shows.
void SetContextTranslation(ContextEntry& entry, std::string_view translation,
                           const GeneralDictionary& general, int codePage);

/// The text an entry shows: its in-context translation, else the general
/// one, else its original.
std::string_view ShownTextOf(const ContextEntry& entry, const GeneralDictionary& general);

#pragma once

#include <map>
#include <string>
#include <vector>

class CTrelvarDoc;
class TranslationMemory;
struct MemoryUnit;

// What goes into the memory (a dictionary's translations, the files of
// translation tools) and what comes out of it into a dictionary.

/// What the memory calls the language of a dictionary's translations: its
/// code page ("cp1252", "cp932"), "utf-8" for a Unicode dictionary.
std::string TranslationLanguage(const CTrelvarDoc& doc);

/// The translations of a dictionary as units: its general translations and
/// the resources' own (with "script:resource" as their context); texts not
/// to translate are left out.
std::vector<MemoryUnit> UnitsOfDictionary(const CTrelvarDoc& doc);

/// Makes the memory hold what the dictionary holds now (its units under
/// the dictionary's path). False, error set, when the memory could not be
/// written: the dictionary is not concerned.
bool RememberDictionary(TranslationMemory& memory, const CTrelvarDoc& doc, std::string& error);

/// Adds a dictionary (.dic), a PO, XLIFF or TMX file, as the source named
/// by its full path; the units it gave in count. Unsure translations are
/// left out.
bool AddToMemory(TranslationMemory& memory, const std::string& path, std::string& error,
                 int* count = nullptr);

/// What a pre-translation did.
struct PretranslationSummary
{
    int filled = 0;                           ///< texts that got a translation
    int exact = 0;                            ///< of those, from an exact match
    std::map<std::string, int> sources;       ///< where they came from
    std::vector<std::string> filledOriginals; ///< in the dictionary's encoding
    std::vector<std::string> problems;
};

/// Fills the texts without a translation with the best match of the memory
/// whose score reaches minScore (100: exact matches only). A translation
/// the dictionary has is never replaced; access keys of the resources go
/// to the same letter in the new translation.
PretranslationSummary Pretranslate(CTrelvarDoc& doc, TranslationMemory& memory, int minScore = 100);

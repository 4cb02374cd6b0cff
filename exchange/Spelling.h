#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

/// Tells whether a word is spelt right in the language of the translations.
class WordSpeller
{
public:
    virtual ~WordSpeller() = default;
    /// The word in UTF-8.
    virtual bool Correct(const std::string& word) = 0;
    virtual std::vector<std::string> Suggestions(const std::string& word) = 0;
    /// Takes the word as spelt right from now on (this speller only).
    virtual void Add(const std::string& word) = 0;
};

/// The words of a translation a speller reads (UTF-8), each with its byte
/// offset: access-key marks, escapes ("\n", "\t", "\101"), printf and
/// FormatMessage placeholders and words with digits are not words.
std::vector<std::pair<std::size_t, std::string>> SpellingWords(std::string_view utf8);

/// Hunspell with the system's dictionary of a language ("fr_FR", "de_DE";
/// /usr/share/hunspell) and the user's own word list
/// ($XDG_DATA_HOME/lingorel/words.txt, one word a line). Null, with the
/// reason, when the language has no dictionary.
std::unique_ptr<WordSpeller> OpenHunspell(const std::string& language, std::string& error);
/// The languages Hunspell has dictionaries for here.
std::vector<std::string> HunspellLanguages();
/// Adds a word to the user's own list.
bool AddUserWord(const std::string& word);

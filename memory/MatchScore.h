#pragma once

#include <string>
#include <string_view>
#include <vector>

// How close two texts are for a translator, from 0 to 100. A placeholder
// ("%s", "%1", "%-5.2f"), an escape ("\n") and a character weigh what it
// costs to mend them: a placeholder or escape lost, added or changed weighs
// three characters, a letter that differs only in case a fifth of one, and
// the access-key mark ("&") nothing ("&&" is an ampersand). 100 is kept for
// texts equal byte for byte.

/// One symbol of a text as the score sees it: a character's code point, or
/// a placeholder or escape as one symbol of its own.
struct ScoreSymbol
{
    char32_t value = 0;
    bool special = false; ///< a placeholder or an escape
    std::string text;     ///< a special symbol's text
};

std::vector<ScoreSymbol> ScoreSymbols(std::string_view utf8);

/// The similarity of two UTF-8 texts, 0..100.
int MatchScore(std::string_view a, std::string_view b);

/// The words of a text that a full-text index finds it by (letters and
/// digits; ASCII letters in lower case), without placeholders and escapes.
std::vector<std::string> IndexWords(std::string_view utf8);

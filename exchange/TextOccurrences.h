#pragma once

#include <cstdint>
#include <string>
#include <vector>

class MessageReporter;
class NotExtractedList;

/// One text of a script where an extraction meets it.
struct TextOccurrence
{
    std::string resource;
    int kind = 0;          ///< 3 string table, 4 menu, 5 dialog
    std::int64_t line = 0; ///< from 1
    int group = 0;         ///< texts sharing access keys share it
    std::string decoded;   ///< the text as the script writes it, mnemonic removed
    int decodedShortcut = 0;
    std::string text; ///< normalised, as the dictionary keys it
};

/// Every text the script gives a dictionary, in script order, read as an
/// extraction reads it (the same encodings and excluded resources) without
/// touching any dictionary. False (reported) when the script cannot be read
/// to its end.
bool ReadTextOccurrences(const std::string& path, int originalsCodePage, int translationsCodePage,
                         NotExtractedList* notExtracted, std::vector<TextOccurrence>& occurrences,
                         MessageReporter* reporter = nullptr);

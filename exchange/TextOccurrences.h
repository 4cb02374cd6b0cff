#pragma once

#include <cstdint>
#include <string>
#include <string_view>
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
    int shortcut = 0; ///< in text
    /// What identifies the text in the compiled program: a control's or a
    /// menu item's identifier, a string's, "CAPTION" or "POPUP" (a pop-up is
    /// known by its place); empty when the line names none.
    std::string identifier;
};

/// Every text the script gives a dictionary, in script order, read as an
/// extraction reads it (the same encodings and excluded resources) without
/// touching any dictionary. False (reported) when the script cannot be read
/// to its end.
/// The identifier of a text on its statement's line (see TextOccurrence).
std::string StatementIdentifier(std::string_view statement, int kind);

bool ReadTextOccurrences(const std::string& path, int originalsCodePage, int translationsCodePage,
                         NotExtractedList* notExtracted, std::vector<TextOccurrence>& occurrences,
                         MessageReporter* reporter = nullptr);

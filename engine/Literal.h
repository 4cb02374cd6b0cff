#pragma once

#include <string>
#include <string_view>

/// The first string literal of a script line, decoded, with the untouched
/// characters around it.
struct DecodedLiteral
{
    std::string prefix;        // up to and including the opening quote
    std::string text;          // escapes resolved, mnemonic ampersand removed
    std::string suffix;        // from the closing quote to the end of the line
    int shortcut = 0;          // 1-based position of the mnemonic character; 0 = none
    std::string itemReference; // combo-box strings only: the control identifier
};

/// Decodes the first literal of a line. Escapes: \" \\ "" && resolve to one
/// character; \xHH and octal escapes give one byte. An escape that gives a
/// zero byte is kept as the two characters "\0", as \n and \t are kept, so
/// that encoding writes it back. A single "&" marks the next character as the
/// mnemonic. A literal without closing quote runs to the end of the line.
DecodedLiteral DecodeLiteral(std::string_view line);

/// Blanks are spaces only; tabs are ordinary characters.
void TrimBlanks(std::string& text);
void StripEllipsis(std::string& text);
void StripColon(std::string& text);
/// TrimBlanks, StripEllipsis, StripColon.
void Normalise(std::string& text);
std::string Normalised(std::string_view text);

std::string LeadingBlanks(std::string_view text);
std::string TrailingBlanks(std::string_view text);
std::string ColonSuffix(std::string_view text);
std::string EllipsisSuffix(std::string_view text);

/// Writes a text in literal form (quotes and ampersands doubled, lone
/// backslashes doubled, bytes above 127 as octal escapes). shortcutOut is
/// where the mnemonic character landed in the encoded text.
void EncodeLiteral(std::string& text, int shortcutIn, int& shortcutOut);
/// Inserts "&" before the character at the 1-based position, if there is one.
bool InsertMnemonic(std::string& text, int position);

// Conversions for showing texts in previews and lists.
void TrimBlanksAndTabs(std::string& text);
void DecodeOctalForDisplay(std::string& text);
bool ExpandLineBreaks(std::string& text);
bool ExpandTabs(std::string& text);

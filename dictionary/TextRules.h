#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Byte-wise text rules shared by the stores and the engine. Texts are 8-bit
// strings in the Windows-1252 code page; nothing here re-encodes them.

/// Lower-cases ASCII letters and the upper-case letters of the Windows-1252
/// upper half, byte by byte, as the ANSI lower-casing of that code page does.
char AnsiToLower(char c);
std::string AnsiLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

/// False for texts that a dialog editor gives new controls ("Static",
/// "Button", "List1" ... "Tree7") and for the empty text.
bool IsTranslatableText(std::string_view text);

/// Replaces every "\X" followed by two hexadecimal digits by the byte they
/// give (the form imported text files use for bytes that cannot be typed).
std::string DecodeXEscapes(std::string_view text);

/// Where the accelerator of a menu item's text begins: the place of its
/// first "\t" escape, read as the script reads escapes (the "\t" of an
/// escaped backslash, as in "res\\taskbar.gif", is none); npos when there
/// is none.
std::size_t TabEscapeAt(std::string_view text);

/// The URLs and file names of a text, which a translation keeps as they are
/// (the program opens them): words with "://", starting "www.", or ending
/// with the extension of a file ("res\\logo.gif"), as (place, length).
std::vector<std::pair<std::size_t, std::size_t>> VerbatimSpans(std::string_view text);

/// The value of a hexadecimal digit, -1 for any other character.
int HexDigitValue(char c);

/// A decimal number at the start of a text the way atoi reads it (blanks,
/// sign, digits up to the first other byte), kept in 32 bits: numbers
/// written unsigned, such as colours, come back with their bits.
int ParseIntPrefix(std::string_view text);

/// The sign and the digits a text starts with, after blanks and tabs (with
/// anyWhiteSpace, every white-space character of C). Digits are read while
/// the magnitude stays at most stop: the one that passes it is the last.
struct DecimalPrefix
{
    bool negative = false;
    std::int64_t magnitude = 0;
};
DecimalPrefix ReadDecimalPrefix(std::string_view text, bool anyWhiteSpace, std::int64_t stop);

/// The text without the blanks and tabs around it.
std::string_view TrimBlanksAndTabs(std::string_view text);

/// Splits a line at the given separator byte the way strtok does: runs of
/// separators count as one and leading ones are skipped. At most maxFields
/// fields are produced; the last one stops at the next separator too.
template <class Out>
void SplitFields(std::string_view line, char separator, std::size_t maxFields, Out&& out)
{
    std::size_t i = 0;
    std::size_t count = 0;
    while (count < maxFields) {
        while (i < line.size() && line[i] == separator)
            ++i;
        if (i >= line.size())
            break;
        std::size_t end = line.find(separator, i);
        if (end == std::string_view::npos)
            end = line.size();
        out(line.substr(i, end - i));
        ++count;
        i = end;
    }
}

/// Removes one leading and then one trailing double quote, if present.
std::string_view StripQuotes(std::string_view field);

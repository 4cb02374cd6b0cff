#pragma once

#include <string>
#include <string_view>
#include <vector>

// Combo-box strings of DLGINIT blocks. Each entry is a header line
// ("IDC_COMBO1, 0x403, L, 0", L = string length with its zero byte) followed
// by data lines holding the bytes as 16-bit little-endian words, nine per
// line, and a closing "\000" item when the string length is even.

struct ComboHeader
{
    std::string itemReference;
    long length = 0; // L; the string has L - 1 bytes
};

/// Reads an entry header; false when the line holds no "0x403," after an
/// identifier.
bool ParseComboHeader(std::string_view line, ComboHeader& header);

/// Whether the line holds nothing but entry data: words written as 0x and
/// hexadecimal digits and the closing "\000" item, separated by commas.
bool IsComboDataLine(std::string_view line);

/// Collects the bytes of one entry from its data lines, word by word.
class ComboWordReader
{
public:
    explicit ComboWordReader(long length);

    /// Takes the words of one data line; returns true while more are needed.
    bool Feed(std::string_view line);
    bool NeedsMore() const { return m_word < m_words; }
    /// Whether the closing zero item sits alone on the line after the words.
    bool ClosingItemOnOwnLine() const;
    /// The decoded string (up to its first zero byte).
    std::string Text() const;

private:
    long m_length;
    long m_words;
    long m_word = 0;
    std::string m_bytes;
};

/// A combo-box string in the form a literal's text takes in the dictionary,
/// so that one text has one spelling wherever it stands: a backslash is
/// "\\", a tab "\t" and the other control characters that have a letter
/// escape are written with it; every other byte stays as it is.
std::string ComboTextFromBytes(std::string_view bytes);
/// The bytes of a combo-box string from its dictionary form: the escapes the
/// compiler would resolve in a literal give their byte; an escape of a zero
/// byte, which would end the string, stays as it is written.
std::string ComboBytesFromText(std::string_view text);

/// The header and data lines of an entry for the bytes (no line ends).
std::vector<std::string> FormatComboData(std::string_view text, std::string_view itemReference);

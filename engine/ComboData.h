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

/// The header and data lines of an entry for the text (no line ends).
std::vector<std::string> FormatComboData(std::string_view text, std::string_view itemReference);

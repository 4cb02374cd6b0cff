#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// The fixed keywords by which the engine, the preview reader and the
// resource tree recognise a raw script line. The script is never parsed
// with a grammar: a line is classified by the keywords it holds, so these
// tests are the one place where "what is a resource statement" is decided.

/// Where the keywords of one line stand, found in a single pass: most
/// keywords begin with a blank, and searching for each on its own would
/// stop at every blank of the line again and again.
struct LineKeywords
{
    static constexpr std::size_t npos = std::string_view::npos;
    /// " MENU " or " MENUEX ", or either ending the line after a plain name
    /// ("IDR_MAIN MENU" as newer editors write it).
    std::size_t menu = npos;
    std::size_t dialog = npos;   // " DIALOG ", or ending the line after a plain name
    std::size_t dialogEx = npos; // " DIALOGEX ", likewise
    std::size_t dlginit = npos;  // " DLGINIT"
    std::size_t end = npos;      // " END"
    bool menuItem = false;       // "MENUITEM" or a "POPUP" with its text
    bool skippedType = false;    // TEXTINCLUDE, ACCELERATORS, VERSIONINFO
    bool comboData = false;      // "0x403,"
    bool fileResource = false;   // " CURSOR ", " BITMAP ", " ICON ", " WAVE ", " RT_ANIICON ", "VBControl"
    bool spacedEnd = false;      // " END "
    bool tabEnd = false;         // tab, END
};

LineKeywords FindKeywords(std::string_view line);

/// Whether the line starts with the keyword, a literal: its length is known
/// where the test is made, and most lines start with a blank, so the first
/// byte decides before a compare.
template <std::size_t N>
bool StartsWithKeyword(std::string_view line, const char (&keyword)[N])
{
    constexpr std::size_t size = N - 1;
    return line.size() >= size && line.front() == keyword[0] && std::memcmp(line.data(), keyword, size) == 0;
}

/// The line without blanks, tabs and carriage returns at either end.
/// Every line of a script goes through it, often more than once: inline.
inline std::string_view TrimmedLine(std::string_view line)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    std::size_t begin = 0;
    std::size_t end = line.size();
    // Indentation is mostly spaces: eight of them are passed at once.
    constexpr std::uint64_t kSpaces = 0x2020202020202020ull;
    for (std::uint64_t word = 0; begin + 8 <= end; begin += 8) {
        std::memcpy(&word, line.data() + begin, 8);
        if (word != kSpaces)
            break;
    }
    while (begin < end && blank(line[begin]))
        ++begin;
    while (end > begin && blank(line[end - 1]))
        --end;
    return line.substr(begin, end - begin);
}

/// Whether the line opens a string table: STRINGTABLE at its start,
/// followed by a blank, a tab or nothing more.
bool IsStringTableLine(std::string_view line);

/// The end of a block: END alone or ending the line, "END " at the start,
/// " END " or tab-END anywhere, or a closing brace alone on its line.
bool IsEndLine(std::string_view line, const LineKeywords& keywords);
bool IsEndLine(std::string_view line);
/// BEGIN or an opening brace alone on the line.
bool IsBeginLine(std::string_view line);
/// Whether the line opens a block: a BEGIN line, or a statement that ends
/// with BEGIN or a brace ("SdkDiffMenu MENU BEGIN").
bool OpensBlock(std::string_view line);

/// Whether the line ends with the keyword after a plain resource name (a
/// single word without commas), so that "IDR_MAIN MENU" declares a menu
/// while "IDD_ABOUT, DIALOG" in a DESIGNINFO block declares nothing.
/// Returns the keyword's position (at its blank) or npos.
std::size_t KeywordEndingLine(std::string_view line, std::string_view keyword);

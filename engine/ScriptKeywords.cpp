#include "engine/ScriptKeywords.h"

#include <cstring>

namespace {

bool At(std::string_view line, std::size_t i, std::string_view keyword)
{
    return line.size() - i >= keyword.size() &&
           std::memcmp(line.data() + i, keyword.data(), keyword.size()) == 0;
}

void First(std::size_t& position, std::size_t i)
{
    if (position == std::string_view::npos)
        position = i;
}

bool StartsWith(std::string_view line, std::string_view keyword)
{
    // Most lines start with a blank: the first byte decides before a compare.
    return line.size() >= keyword.size() && line.front() == keyword.front() &&
           line.compare(0, keyword.size(), keyword) == 0;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

} // namespace

std::string_view TrimmedLine(std::string_view line)
{
    while (!line.empty() && IsBlank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && IsBlank(line.back()))
        line.remove_suffix(1);
    return line;
}

std::size_t KeywordEndingLine(std::string_view line, std::string_view keyword)
{
    std::string_view right = line;
    while (!right.empty() && IsBlank(right.back()))
        right.remove_suffix(1);
    if (right.size() <= keyword.size() + 1 || right.substr(right.size() - keyword.size()) != keyword)
        return std::string_view::npos;
    const std::size_t blank = right.size() - keyword.size() - 1;
    if (right[blank] != ' ')
        return std::string_view::npos;
    const std::string_view name = TrimmedLine(right.substr(0, blank));
    if (name.empty() || name.find_first_of(" \t,\"") != std::string_view::npos)
        return std::string_view::npos;
    return blank;
}

namespace {

// The pairs of bytes a keyword can start with (" M" of " MENU ", "PO" of
// "POPUP", "0x" of "0x403,", ...): each first byte has a bit, set in the
// table of the second bytes that may follow it. The scan skips every other
// pair in a tight loop.
struct KeywordStarts
{
    unsigned char first[256] = {};
    unsigned char second[256] = {};
    constexpr void Pair(unsigned char bit, char a, std::string_view followers)
    {
        first[static_cast<unsigned char>(a)] |= bit;
        for (char c : followers)
            second[static_cast<unsigned char>(c)] |= bit;
    }
    constexpr KeywordStarts()
    {
        Pair(1, ' ', "MDECBIWR");
        Pair(2, 'M', "E");  // MENUITEM
        Pair(4, 'P', "O");  // POPUP "
        Pair(8, 'T', "E");  // TEXTINCLUDE
        Pair(16, 'A', "C"); // ACCELERATORS
        Pair(32, 'V', "EB"); // VERSIONINFO, VBControl
        Pair(64, '0', "x"); // 0x403,
        Pair(128, '\t', "E"); // tab, END
    }
};
constexpr KeywordStarts kStarts;

} // namespace

LineKeywords FindKeywords(std::string_view line)
{
    LineKeywords k;
    const std::size_t n = line.size();
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    for (std::size_t i = 0; i < n; ++i) {
        // Every keyword is at least two bytes long.
        while (i + 1 < n && !(kStarts.first[bytes[i]] & kStarts.second[bytes[i + 1]]))
            ++i;
        if (i + 1 >= n)
            break;
        switch (line[i]) {
        case ' ':
            if (i + 1 >= n)
                break;
            switch (line[i + 1]) {
            case 'M':
                if (At(line, i, " MENU ") || At(line, i, " MENUEX "))
                    First(k.menu, i);
                break;
            case 'D':
                if (At(line, i, " DIALOG "))
                    First(k.dialog, i);
                else if (At(line, i, " DIALOGEX "))
                    First(k.dialogEx, i);
                else if (At(line, i, " DLGINIT"))
                    First(k.dlginit, i);
                break;
            case 'E':
                if (At(line, i, " END")) {
                    First(k.end, i);
                    k.spacedEnd = k.spacedEnd || At(line, i, " END ");
                }
                break;
            case 'C':
                k.fileResource = k.fileResource || At(line, i, " CURSOR ");
                break;
            case 'B':
                k.fileResource = k.fileResource || At(line, i, " BITMAP ");
                break;
            case 'I':
                k.fileResource = k.fileResource || At(line, i, " ICON ");
                break;
            case 'W':
                k.fileResource = k.fileResource || At(line, i, " WAVE ");
                break;
            case 'R':
                k.fileResource = k.fileResource || At(line, i, " RT_ANIICON ");
                break;
            default:
                break;
            }
            break;
        case 'M':
            k.menuItem = k.menuItem || At(line, i, "MENUITEM");
            break;
        case 'P':
            k.menuItem = k.menuItem || At(line, i, "POPUP \"");
            break;
        case 'T':
            k.skippedType = k.skippedType || At(line, i, "TEXTINCLUDE");
            break;
        case 'A':
            k.skippedType = k.skippedType || At(line, i, "ACCELERATORS");
            break;
        case 'V':
            k.skippedType = k.skippedType || At(line, i, "VERSIONINFO");
            k.fileResource = k.fileResource || At(line, i, "VBControl");
            break;
        case '0':
            k.comboData = k.comboData || At(line, i, "0x403,");
            break;
        case '\t':
            k.tabEnd = k.tabEnd || At(line, i, "\tEND");
            break;
        default:
            break;
        }
    }
    // Newer editors end the statement line with the keyword.
    std::size_t last = n;
    while (last > 0 && IsBlank(line[last - 1]))
        --last;
    const char end = last > 0 ? line[last - 1] : '\0';
    if (end != 'U' && end != 'G' && end != 'X')
        return k;
    if (k.menu == LineKeywords::npos) {
        k.menu = KeywordEndingLine(line, "MENU");
        if (k.menu == LineKeywords::npos)
            k.menu = KeywordEndingLine(line, "MENUEX");
    }
    if (k.dialog == LineKeywords::npos && k.dialogEx == LineKeywords::npos) {
        k.dialog = KeywordEndingLine(line, "DIALOG");
        if (k.dialog == LineKeywords::npos)
            k.dialogEx = KeywordEndingLine(line, "DIALOGEX");
    }
    return k;
}

bool IsStringTableLine(std::string_view line)
{
    if (!StartsWith(line, "STRINGTABLE"))
        return false;
    return line.size() == 11 || line[11] == ' ' || line[11] == '\t' || TrimmedLine(line.substr(11)).empty();
}

bool IsEndLine(std::string_view line, const LineKeywords& k)
{
    if (line.size() == 3 && line.find("END") != std::string_view::npos)
        return true;
    if (k.end != LineKeywords::npos && k.end + 4 == line.size())
        return true;
    if (StartsWith(line, "END ") || k.spacedEnd || k.tabEnd)
        return true;
    return TrimmedLine(line) == "}";
}

bool IsEndLine(std::string_view line)
{
    LineKeywords k;
    const std::size_t end = line.find(" END");
    k.end = end;
    k.spacedEnd = line.find(" END ") != std::string_view::npos;
    k.tabEnd = line.find("\tEND") != std::string_view::npos;
    return IsEndLine(line, k);
}

bool IsBeginLine(std::string_view line)
{
    const std::string_view trimmed = TrimmedLine(line);
    return trimmed == "BEGIN" || trimmed == "{";
}

bool OpensBlock(std::string_view line)
{
    const std::string_view trimmed = TrimmedLine(line);
    if (trimmed == "BEGIN" || trimmed == "{")
        return true;
    auto endsWithWord = [&trimmed](std::string_view word) {
        return trimmed.size() > word.size() && trimmed.substr(trimmed.size() - word.size()) == word &&
               IsBlank(trimmed[trimmed.size() - word.size() - 1]);
    };
    return endsWithWord("BEGIN") || endsWithWord("{");
}

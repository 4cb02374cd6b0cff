#include "engine/ScriptKeywords.h"

#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// The line without the blanks at its end, where the keywords that end a
// statement or a block stand.
std::string_view WithoutTrailingBlanks(std::string_view line)
{
    while (!line.empty() && IsBlank(line.back()))
        line.remove_suffix(1);
    return line;
}

} // namespace

std::size_t KeywordEndingLine(std::string_view line, std::string_view keyword)
{
    const std::string_view right = WithoutTrailingBlanks(line);
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
// table of the second bytes that may follow it. They test short lines;
// longer ones are tested sixteen places at a time, by the first three bytes
// of each keyword, where the processor can (KeywordCandidates).
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
        Pair(2, 'M', "E");    // MENUITEM
        Pair(4, 'P', "O");    // POPUP "
        Pair(8, 'T', "E");    // TEXTINCLUDE
        Pair(16, 'A', "C");   // ACCELERATORS
        Pair(32, 'V', "EB");  // VERSIONINFO, VBControl
        Pair(64, '0', "x");   // 0x403,
        Pair(128, '\t', "E"); // tab, END
    }
};
constexpr KeywordStarts kStarts;

#if defined(__SSE2__)
// Where a keyword may start in the sixteen bytes at p (p[16] and p[17] are
// read too): a bit for each byte that begins the first three bytes of one
// (" ME" of " MENU ", "POP" of "POPUP", ...). Three bytes rather than the
// pairs of the tables above: blanks before identifiers (" ID") and words
// such as "TEMPLATE" would each stop the search for nothing.
[[gnu::always_inline]] inline unsigned KeywordCandidates(const unsigned char* p)
{
    const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
    const __m128i b2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2));
    const auto is = [](__m128i bytes, char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
    const auto both = [](__m128i a, __m128i b) { return _mm_and_si128(a, b); };
    const auto either = [](__m128i a, __m128i b) { return _mm_or_si128(a, b); };
    const __m128i thenE = is(b1, 'E');
    const __m128i thenI = is(b2, 'I');
    const __m128i thenN = is(b2, 'N');
    const __m128i thenC = is(b2, 'C');
    // After a blank: MENU, DIALOG, DLGINIT, END, CURSOR, BITMAP, ICON, WAVE
    // and RT_ANIICON.
    const __m128i afterBlank =
        either(either(either(both(is(b1, 'M'), is(b2, 'E')), both(is(b1, 'D'), either(thenI, is(b2, 'L')))),
                      either(both(thenE, thenN), both(is(b1, 'C'), is(b2, 'U')))),
               either(either(both(is(b1, 'B'), thenI), both(is(b1, 'I'), thenC)),
                      either(both(is(b1, 'W'), is(b2, 'A')), both(is(b1, 'R'), is(b2, 'T')))));
    // END after a tab, MENUITEM, TEXTINCLUDE and VERSIONINFO.
    const __m128i hereV = is(b0, 'V');
    const __m128i withE =
        both(thenE, either(both(either(is(b0, '\t'), is(b0, 'M')), thenN),
                           either(both(is(b0, 'T'), is(b2, 'X')), both(hereV, is(b2, 'R')))));
    // POPUP, ACCELERATORS, VBControl and 0x403.
    const __m128i others = either(
        either(both(is(b0, 'P'), both(is(b1, 'O'), is(b2, 'P'))),
               both(is(b0, 'A'), both(is(b1, 'C'), thenC))),
        either(both(hereV, both(is(b1, 'B'), thenC)), both(is(b0, '0'), both(is(b1, 'x'), is(b2, '4')))));
    const __m128i found = either(either(both(is(b0, ' '), afterBlank), withE), others);
    return static_cast<unsigned>(_mm_movemask_epi8(found));
}
#endif

// Calls look(i) at every position of the line where a keyword may start,
// in order, or at more: look decides. Sixteen bytes are tested at once where
// the processor can, the last bytes of a long line in a block that overlaps
// the one before.
template <class Look>
void ForEachKeywordStart(const unsigned char* bytes, std::size_t n, Look&& look)
{
#if defined(__SSE2__)
    std::size_t base = 0;
    for (; base + 18 <= n; base += 16) {
        for (unsigned mask = KeywordCandidates(bytes + base); mask != 0; mask &= mask - 1)
            look(base + static_cast<std::size_t>(std::countr_zero(mask)));
    }
    // Every keyword is at least four bytes long: the last two places start
    // none.
    if (base + 2 >= n)
        return;
    if (n >= 18) {
        // The last sixteen places of the line, of which those before base
        // were tested above.
        const std::size_t start = n - 18;
        for (unsigned mask = KeywordCandidates(bytes + start) >> (base - start); mask != 0; mask &= mask - 1)
            look(base + static_cast<std::size_t>(std::countr_zero(mask)));
        return;
    }
    // A short line is tested byte by byte: copying it into a padded block
    // would cost more, as the block is read back before the copy is done.
#endif
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if ((kStarts.first[bytes[i]] & kStarts.second[bytes[i + 1]]) != 0)
            look(i);
    }
}

} // namespace

LineKeywords FindKeywords(std::string_view line)
{
    LineKeywords k;
    const std::size_t n = line.size();
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    // Every keyword is at least two bytes long.
    // The test of each place is inlined into the search: it runs at about
    // two places of every line.
    ForEachKeywordStart(
        bytes, n, [&](std::size_t i) __attribute__((always_inline)) {
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
        });
    // Newer editors end the statement line with the keyword.
    const std::string_view right = WithoutTrailingBlanks(line);
    const char end = right.empty() ? '\0' : right.back();
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
    if (!StartsWithKeyword(line, "STRINGTABLE"))
        return false;
    return line.size() == 11 || line[11] == ' ' || line[11] == '\t' || TrimmedLine(line.substr(11)).empty();
}

bool IsEndLine(std::string_view line, const LineKeywords& k)
{
    if (k.spacedEnd || k.tabEnd || StartsWithKeyword(line, "END "))
        return true;
    // Else the end is the last word of the line: END alone or after a blank
    // (the line's first " END"), or a brace alone.
    const std::string_view right = WithoutTrailingBlanks(line);
    if (right.empty() || (right.back() != 'D' && right.back() != '}'))
        return false;
    return line == "END" || (k.end != LineKeywords::npos && k.end + 4 == line.size()) ||
           TrimmedLine(right) == "}";
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

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
// table of the second bytes that may follow it. Processors with SSE2 test
// the same pairs sixteen at a time (KeywordCandidates).
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
// Where a keyword may start in the sixteen bytes at p (p[16] is read too):
// a bit for each byte that begins one of the pairs of the tables above,
// tested here for sixteen bytes at once.
[[gnu::always_inline]] inline unsigned KeywordCandidates(const unsigned char* p)
{
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
    const auto is = [](__m128i bytes, char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
    const auto both = [](__m128i a, __m128i b) { return _mm_and_si128(a, b); };
    const auto either = [](__m128i a, __m128i b) { return _mm_or_si128(a, b); };
    // A blank before one of eight letters, an E after a tab, M, T or V,
    // and PO, AC, VB and 0x.
    const __m128i nextE = is(next, 'E');
    const __m128i nextB = is(next, 'B');
    const __m128i hereV = is(here, 'V');
    const __m128i afterBlank =
        either(either(either(is(next, 'M'), is(next, 'D')), either(nextE, is(next, 'C'))),
               either(either(nextB, is(next, 'I')), either(is(next, 'W'), is(next, 'R'))));
    const __m128i beforeE = either(either(is(here, '\t'), is(here, 'M')), either(is(here, 'T'), hereV));
    const __m128i pairs =
        either(either(both(is(here, ' '), afterBlank), both(beforeE, nextE)),
               either(either(both(is(here, 'P'), is(next, 'O')), both(is(here, 'A'), is(next, 'C'))),
                      either(both(hereV, nextB), both(is(here, '0'), is(next, 'x')))));
    return static_cast<unsigned>(_mm_movemask_epi8(pairs));
}
#endif

// Calls look(i) at every position of the line where a keyword may start,
// in order. Sixteen bytes are tested at once where the processor can; the
// last bytes of a long line in a block that overlaps the one before, those
// of a short one in a copy padded with zeros, which neither start nor
// follow a keyword.
template <class Look>
void ForEachKeywordStart(const unsigned char* bytes, std::size_t n, Look&& look)
{
#if defined(__SSE2__)
    std::size_t base = 0;
    for (; base + 17 <= n; base += 16) {
        for (unsigned mask = KeywordCandidates(bytes + base); mask != 0; mask &= mask - 1)
            look(base + static_cast<std::size_t>(std::countr_zero(mask)));
    }
    if (base + 1 >= n)
        return;
    if (n >= 17) {
        // The last sixteen pairs of the line, of which those before base
        // were tested above.
        const std::size_t start = n - 17;
        for (unsigned mask = KeywordCandidates(bytes + start) >> (base - start); mask != 0; mask &= mask - 1)
            look(base + static_cast<std::size_t>(std::countr_zero(mask)));
        return;
    }
    unsigned char tail[32] = {};
    std::memcpy(tail, bytes + base, n - base);
    for (unsigned mask = KeywordCandidates(tail); mask != 0; mask &= mask - 1) {
        const auto at = static_cast<std::size_t>(std::countr_zero(mask));
        if (base + at + 1 < n)
            look(base + at);
    }
#else
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if ((kStarts.first[bytes[i]] & kStarts.second[bytes[i + 1]]) != 0)
            look(i);
    }
#endif
}

} // namespace

LineKeywords FindKeywords(std::string_view line)
{
    LineKeywords k;
    const std::size_t n = line.size();
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    // Every keyword is at least two bytes long.
    ForEachKeywordStart(bytes, n, [&](std::size_t i) {
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

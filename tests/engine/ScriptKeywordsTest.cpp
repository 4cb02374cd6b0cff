#include "engine/ScriptKeywords.h"

#include "engine/ByteSearch.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <string_view>

// The keyword scan tests many bytes at once and treats the end of a line
// apart; what it finds must be what a plain search of each keyword finds,
// wherever in the line and at whatever line length.

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool Has(std::string_view line, std::string_view word)
{
    return line.find(word) != npos;
}

std::size_t FirstOf(std::string_view line, std::string_view a, std::string_view b)
{
    return std::min(line.find(a), line.find(b));
}

LineKeywords Searched(std::string_view line)
{
    LineKeywords k;
    k.menu = FirstOf(line, " MENU ", " MENUEX ");
    k.dialog = line.find(" DIALOG ");
    k.dialogEx = line.find(" DIALOGEX ");
    k.dlginit = line.find(" DLGINIT");
    k.end = line.find(" END");
    k.spacedEnd = Has(line, " END ");
    k.tabEnd = Has(line, "\tEND");
    k.menuItem = Has(line, "MENUITEM") || Has(line, "POPUP \"");
    k.skippedType = Has(line, "TEXTINCLUDE") || Has(line, "ACCELERATORS") || Has(line, "VERSIONINFO");
    k.comboData = Has(line, "0x403,");
    k.fileResource = Has(line, " CURSOR ") || Has(line, " BITMAP ") || Has(line, " ICON ") ||
                     Has(line, " WAVE ") || Has(line, " RT_ANIICON ") || Has(line, "VBControl");
    // Newer editors end the statement line with the keyword.
    if (k.menu == npos) {
        k.menu = KeywordEndingLine(line, "MENU");
        if (k.menu == npos)
            k.menu = KeywordEndingLine(line, "MENUEX");
    }
    if (k.dialog == npos && k.dialogEx == npos) {
        k.dialog = KeywordEndingLine(line, "DIALOG");
        if (k.dialog == npos)
            k.dialogEx = KeywordEndingLine(line, "DIALOGEX");
    }
    return k;
}

// The end of a block as the rule states it, tested the long way: END alone,
// a first " END" that ends the line, "END " first, " END " or tab-END
// anywhere, or a brace alone.
bool EndsBlock(std::string_view line)
{
    return line == "END" || (Has(line, " END") && line.find(" END") + 4 == line.size()) ||
           line.substr(0, 4) == "END " || Has(line, " END ") || Has(line, "\tEND") ||
           TrimmedLine(line) == "}";
}

} // namespace

TEST(ScriptKeywords, TheScanFindsWhatAPlainSearchFinds)
{
    static constexpr std::array<std::string_view, 26> kPieces{
        " MENU ",       " MENUEX ",  " DIALOG ",  " DIALOGEX ", " DLGINIT", " END",        " END ",
        "\tEND",        "END",       "MENUITEM",  "POPUP \"",   "POPUP",    "TEXTINCLUDE", "ACCELERATORS",
        "VERSIONINFO",  "VBControl", "0x403,",    " CURSOR ",   " BITMAP ", " ICON ",      " WAVE ",
        " RT_ANIICON ", " MENU",     " DIALOGEX", "}",          "IDR_MAIN"};
    static constexpr std::string_view kBytes = " \t\"MPTAVE0xDICBWRONU,ab{}";
    std::mt19937 random(20261208);
    for (int round = 0; round < 30000; ++round) {
        std::string line;
        const std::size_t length = random() % 90;
        while (line.size() < length) {
            if (random() % 3 == 0)
                line += kPieces[random() % kPieces.size()];
            else
                line += kBytes[random() % kBytes.size()];
        }
        if (random() % 4 == 0)
            line.resize(random() % (line.size() + 1));
        const LineKeywords found = FindKeywords(line);
        const LineKeywords searched = Searched(line);
        SCOPED_TRACE("line: [" + line + "]");
        ASSERT_EQ(found.menu, searched.menu);
        ASSERT_EQ(found.dialog, searched.dialog);
        ASSERT_EQ(found.dialogEx, searched.dialogEx);
        ASSERT_EQ(found.dlginit, searched.dlginit);
        ASSERT_EQ(found.end, searched.end);
        ASSERT_EQ(found.spacedEnd, searched.spacedEnd);
        ASSERT_EQ(found.tabEnd, searched.tabEnd);
        ASSERT_EQ(found.menuItem, searched.menuItem);
        ASSERT_EQ(found.skippedType, searched.skippedType);
        ASSERT_EQ(found.comboData, searched.comboData);
        ASSERT_EQ(found.fileResource, searched.fileResource);
        ASSERT_EQ(IsEndLine(line, found), EndsBlock(line));
    }
}

TEST(ByteSearch, FindsTheFirstByteAtEveryPlaceAndLength)
{
    // The search goes sixteen bytes at a time and finishes byte by byte: the
    // first occurrence must be found on either side of a block's edge, a
    // later one must not hide it, and bytes after the end must not count.
    const auto reference = [](const char* p, std::size_t n) {
        const void* hit = std::memchr(p, '"', n);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - p) : n;
    };
    for (std::size_t at = 0; at < 50; ++at) {
        std::string s(80, 'a');
        s[at] = '"';
        s[50] = '"';
        for (std::size_t from = 0; from < 3; ++from) {
            for (std::size_t n = 0; n + from <= 60; ++n)
                ASSERT_EQ(FindByte(s.data() + from, n, '"'), reference(s.data() + from, n))
                    << at << " " << from << " " << n;
        }
    }
}

TEST(ByteSearch, APlainRunEndsAtTheFirstByteItsKindLeavesOut)
{
    // Each kind of run against a byte-by-byte reading of its rule, with the
    // byte that ends it at every place, before a block's edge and after it.
    const auto reference = [](const char* p, std::size_t n, PlainRun kind) {
        for (std::size_t i = 0; i < n; ++i) {
            const auto b = static_cast<unsigned char>(p[i]);
            if (b == '"' || b == '&' || b == '\\')
                return i;
            if (kind != PlainRun::AnyByte && b >= 0x80)
                return i;
            if (kind == PlainRun::Printable && b < ' ')
                return i;
        }
        return n;
    };
    const auto run = [](const char* p, std::size_t n, PlainRun kind) {
        switch (kind) {
        case PlainRun::AnyByte:
            return PlainRunEnd<PlainRun::AnyByte>(p, n);
        case PlainRun::Ascii:
            return PlainRunEnd<PlainRun::Ascii>(p, n);
        case PlainRun::Printable:
            return PlainRunEnd<PlainRun::Printable>(p, n);
        }
        return n;
    };
    for (const char ender : {'"', '&', '\\', '\t', '\x7f', '\x80', '\xff', '\0', ' '}) {
        for (std::size_t at = 0; at < 40; ++at) {
            std::string s(48, 'a');
            s[at] = ender;
            for (const PlainRun kind : {PlainRun::AnyByte, PlainRun::Ascii, PlainRun::Printable}) {
                for (std::size_t n = 0; n <= s.size(); ++n)
                    ASSERT_EQ(run(s.data(), n, kind), reference(s.data(), n, kind))
                        << int(static_cast<unsigned char>(ender)) << " " << at << " " << n;
            }
        }
    }
}

TEST(ByteSearch, ATrimmedLineLosesItsBlanksAtBothEndsAtEveryLength)
{
    // Blanks, tabs and carriage returns on either side of a word, at every
    // length around the sixteen bytes tested at once, and lines all blank.
    const auto reference = [](std::string_view line) {
        const std::size_t begin = line.find_first_not_of(" \t\r");
        if (begin == std::string_view::npos)
            return std::string_view();
        return line.substr(begin, line.find_last_not_of(" \t\r") - begin + 1);
    };
    const std::string blanks = " \t\r";
    for (std::size_t lead = 0; lead < 40; ++lead) {
        for (std::size_t word = 0; word < 20; ++word) {
            for (std::size_t trail = 0; trail < 40; trail += 3) {
                std::string line;
                for (std::size_t i = 0; i < lead; ++i)
                    line += blanks[i % 3];
                line += std::string(word, 'x');
                if (word > 2)
                    line[lead + 1] = ' '; // a blank inside stays
                for (std::size_t i = 0; i < trail; ++i)
                    line += blanks[(i + 1) % 3];
                ASSERT_EQ(TrimmedLine(line), reference(line)) << lead << " " << word << " " << trail;
            }
        }
    }
}

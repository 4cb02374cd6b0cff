#include "engine/Literal.h"

#include "engine/ComboData.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

TEST(DecodeLiteral, SplitsTheLineAroundItsFirstLiteral)
{
    const DecodedLiteral d = DecodeLiteral("    LTEXT           \"E&xit\",IDC_STATIC,7,7,\"x\"");
    EXPECT_EQ(d.prefix, "    LTEXT           \"");
    EXPECT_EQ(d.text, "Exit");
    EXPECT_EQ(d.shortcut, 2);
    EXPECT_EQ(d.suffix, "\",IDC_STATIC,7,7,\"x\"");

    const DecodedLiteral none = DecodeLiteral("    PUSHBUTTON IDOK,1,2");
    EXPECT_EQ(none.text, "");
    EXPECT_EQ(none.prefix, "");
    EXPECT_EQ(DecodeLiteral("X \"\"").text, "");
}

TEST(DecodeLiteral, ResolvesEscapesAndMnemonics)
{
    const struct
    {
        const char* line;
        std::string text;
        int shortcut;
        const char* suffix;
    } cases[] = {
        {"\"Fish && Chips\"", "Fish & Chips", 0, "\""},
        {"\"&a&b&c\"", "abc", 3, "\""},
        {"\"He said \"\"hi\"\"\"", "He said \"hi\"", 0, "\""},
        {"\"a\\\"b\\\\c\"", "a\"b\\\\c", 0, "\""},
        {"\"caf\\351 \\x41\\x4\"", "caf\xE9 A\x04", 0, "\""},
        {"\"Line\\nTab\\t\\r\"", "Line\\nTab\\t\\r", 0, "\""},
        {"\"\\12x\"", "\nx", 0, "\""},
        {"\"zero\\0 and \\000 and \\x00!\"", "zero\\0 and \\000 and \\x00!", 0, "\""},
        {"\"\\0\\065\"", "\\0005", 0, "\""},
        {"\"\\xZZ\"", "\\\\xZZ", 0, "\""},
        {"\"Open&\"", "Open", 5, "\""},
        {"\"no end", "no end", 0, ""},
        {"\"trailing \\", "trailing \\", 0, ""},
    };
    for (const auto& c : cases) {
        const DecodedLiteral d = DecodeLiteral(c.line);
        EXPECT_EQ(d.text, c.text) << c.line;
        EXPECT_EQ(d.shortcut, c.shortcut) << c.line;
        EXPECT_EQ(d.suffix, c.suffix) << c.line;
    }
}

TEST(Normalise, StripsBlanksThenEllipsisThenColon)
{
    const struct
    {
        const char* text;
        const char* normalised;
        const char* colon;
        const char* dots;
    } cases[] = {
        {"Name :", "Name", " :", ""},
        {"Save As...", "Save As", "", "..."},
        {"Name: ...", "Name", "", " ..."},
        {"  Open ...  ", "Open", "", ""},
        {"Go...", "Go...", "", ""},
        {"a...b...", "a...b...", "", ""},
        {":", ":", "", ""},
        {"x:", "x", ":", ""},
        {"   ", "", "", ""},
        {"\tTab\t", "\tTab\t", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Normalised(c.text), c.normalised) << c.text;
        EXPECT_EQ(ColonSuffix(c.text), c.colon) << c.text;
        EXPECT_EQ(EllipsisSuffix(c.text), c.dots) << c.text;
    }
    EXPECT_EQ(LeadingBlanks("  a "), "  ");
    EXPECT_EQ(TrailingBlanks("  a "), " ");
    EXPECT_EQ(TrailingBlanks("   "), "   ");
}

// The rule spelled out on copies: blanks off both ends, then " ..." or
// "...", then " :" or ":", each cut only when its first occurrence ends
// the text after at least as many characters as it has.
std::string NormalisedTheLongWay(std::string text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    text = text.substr(first, text.find_last_not_of(' ') + 1 - first);
    auto cut = [&text](const std::string& pattern) {
        const std::size_t p = text.find(pattern);
        if (p == std::string::npos || p < pattern.size() || p + pattern.size() != text.size())
            return false;
        text.resize(p);
        return true;
    };
    if (!cut(" ..."))
        cut("...");
    if (!cut(" :"))
        cut(":");
    return text;
}

TEST(Normalise, TheNormalFormIsAPartOfTheTextForEveryShortText)
{
    // Every text of up to seven characters made of blanks, dots, colons and a letter.
    std::vector<std::string> texts{""};
    for (std::size_t from = 0, length = 0; length < 7; ++length) {
        const std::size_t to = texts.size();
        for (std::size_t i = from; i < to; ++i)
            for (char c : std::string_view(" .:a"))
                texts.push_back(texts[i] + c);
        from = to;
    }
    for (const std::string& text : texts) {
        const std::string expected = NormalisedTheLongWay(text);
        const std::string_view view = NormalisedView(text);
        ASSERT_EQ(view, expected) << "[" << text << "]";
        ASSERT_TRUE(view.data() >= text.data() && view.data() + view.size() <= text.data() + text.size());
        std::string normalised = text;
        Normalise(normalised);
        ASSERT_EQ(normalised, expected) << "[" << text << "]";
    }
}

TEST(EncodeLiteral, EscapesAndMovesTheShortcut)
{
    const struct
    {
        std::string text;
        int shortcutIn;
        std::string encoded;
        int shortcutOut;
    } cases[] = {
        {"a\\tb", 3, "a\\tb", 3},
        {"a\\b\\c", 0, "a\\b\\c", 0},
        {"C:\\\\dir", 4, "C:\\\\dir", 4},
        {"end\\", 0, "end\\\\", 0},
        {"\\\xE9", 2, "\\\\\\351", 3},
        {"a\x01"
         "b\\nc",
         4, "a\\001b\\nc", 7},
        {"\xE9t\xE9", 2, "\\351t\\351", 5},
        {"say \"hi\" & go", 12, "say \"\"hi\"\" && go", 15},
        {"nul\\0x", 0, "nul\\0x", 0},
        {"nul\\0001", 0, "nul\\0001", 0},
        {"", 3, "", 3},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        int out = -9;
        EncodeLiteral(text, c.shortcutIn, out);
        EXPECT_EQ(text, c.encoded) << c.text;
        EXPECT_EQ(out, c.shortcutOut) << c.text;
        // What is encoded decodes back to the same text, except a
        // backslash that escaped nothing, which comes back escaped.
        if (c.text.find("\\") == std::string::npos || c.text.find("\\\\") != std::string::npos) {
            EXPECT_EQ(DecodeLiteral("\"" + text + "\"").text, c.text) << c.text;
        }
    }
}

TEST(EncodeLiteral, RoundTripsEveryByte)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    std::string text = all;
    int shortcut = 0;
    EncodeLiteral(text, 0, shortcut);
    EXPECT_EQ(DecodeLiteral("\"" + text + "\"").text, all);
}

TEST(InsertMnemonic, OnlyInsideTheText)
{
    std::string text = "Ouvrir";
    EXPECT_TRUE(InsertMnemonic(text, 1));
    EXPECT_EQ(text, "&Ouvrir");
    EXPECT_FALSE(InsertMnemonic(text, 0));
    EXPECT_FALSE(InsertMnemonic(text, 8));
    std::string empty;
    EXPECT_FALSE(InsertMnemonic(empty, 1));
}

TEST(DisplayConversions, ExpandEscapesForPreviews)
{
    std::string text = "a\\r\\nb\\nc\\rd";
    EXPECT_TRUE(ExpandLineBreaks(text));
    EXPECT_EQ(text, "a\r\nb\nc\rd");
    EXPECT_FALSE(ExpandLineBreaks(text));
    text = "x\\ty";
    EXPECT_TRUE(ExpandTabs(text));
    EXPECT_EQ(text, "x\ty");
    text = "caf\\351s \\&101 \\q!\\";
    DecodeOctalForDisplay(text);
    EXPECT_EQ(text, "caf\xE9s &A \\q!");
    text = " \t a b\t ";
    TrimBlanksAndTabs(text);
    EXPECT_EQ(text, "a b");
}

TEST(ComboData, EighteenCharactersTakeTwoLines)
{
    const std::string text = "ABCDEFGHIJKLMNOPQR";
    const auto lines = FormatComboData(text, "IDC_COMBO1");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "\tIDC_COMBO1, 0x403, 19, 0");
    EXPECT_EQ(lines[1], "0x4241, 0x4443, 0x4645, 0x4847, 0x4a49, 0x4c4b, 0x4e4d, 0x504f, 0x5251, ");
    EXPECT_EQ(lines[2], "\"\\000\"");

    ComboHeader header;
    ASSERT_TRUE(ParseComboHeader(lines[0], header));
    EXPECT_EQ(header.itemReference, "IDC_COMBO1");
    EXPECT_EQ(header.length, 19);
    ComboWordReader reader(header.length);
    EXPECT_FALSE(reader.Feed(lines[1]));
    EXPECT_TRUE(reader.ClosingItemOnOwnLine());
    EXPECT_EQ(reader.Text(), text);
}

TEST(ComboData, OddAndEvenLengthsAndBytesAbove127)
{
    for (const std::string text : {"", "B", "Black", "Blue", "\xE9t\xE9", "A string of twenty-one",
                                   "0123456789abcdefghijklmnopqrstuvwxyz"}) {
        const auto lines = FormatComboData(text, "IDC_X");
        ComboHeader header;
        ASSERT_TRUE(ParseComboHeader(lines[0], header));
        EXPECT_EQ(header.length, static_cast<long>(text.size()) + 1);
        ComboWordReader reader(header.length);
        std::size_t used = 1;
        bool more = true;
        while (more && used < lines.size())
            more = reader.Feed(lines[used++]);
        if (!more && reader.ClosingItemOnOwnLine())
            ++used;
        EXPECT_EQ(used, lines.size()) << text;
        EXPECT_EQ(reader.Text(), text);
        // An even length ends with the zero item, an odd one does not.
        EXPECT_EQ(lines.back().find("\"\\000\"") != std::string::npos, text.size() % 2 == 0) << text;
    }
    EXPECT_EQ(FormatComboData("Black", "IDC_X")[1], "0x6c42, 0x6361, 0x006b, ");
    ComboHeader bad;
    EXPECT_FALSE(ParseComboHeader("0x403, 5, 0", bad));
}

namespace {

// A literal's body decoded, then encoded again with its mnemonic.
std::string RoundTrip(const std::string& body)
{
    DecodedLiteral d = DecodeLiteral("\"" + body + "\"");
    int shortcut = 0;
    EncodeLiteral(d.text, d.shortcut, shortcut);
    InsertMnemonic(d.text, shortcut);
    return d.text;
}

} // namespace

TEST(EncodeLiteral, CompilesToWhatTheSourceCompiledTo)
{
    // Whatever the decoded form, writing it back gives a literal that the
    // resource compiler reads as the same bytes.
    const char* tokens[] = {"a",     "0",     "5",     "x",   "n",    "t",     "\\\\",  "\\\"",
                            "\"\"",  "&&",    "\\n",   "\\t", "\\0",  "\\000", "\\x00", "\\x41",
                            "\\351", "\\012", "\xE9",  "\t",  " ",    "\\q",   "\\x",   "\\011",
                            "\xA4",  "\\244", "\\x0d", "7",   "\\00", "\\x0",  "f",     "&a"};
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (int round = 0; round < 20000; ++round) {
        std::string body;
        const unsigned length = next() % 8;
        bool mnemonic = false;
        for (unsigned i = 0; i < length; ++i) {
            std::string token = tokens[next() % std::size(tokens)];
            // One mnemonic at most.
            if (token == "&a" && mnemonic)
                token = "a";
            mnemonic = mnemonic || token == "&a";
            body += token;
        }
        EXPECT_EQ(CompileLiteral(RoundTrip(body)), CompileLiteral(body)) << body;
    }
}

TEST(EncodeLiteral, TypedTextsCompileToWhatTheyShow)
{
    // An escaped backslash stays one: "C:\\temp" is a path, and so is its
    // translation, never a tab.
    DecodedLiteral d = DecodeLiteral("\"C:\\\\temp\"");
    EXPECT_EQ(d.text, "C:\\\\temp");
    std::string translation = "D:\\\\temp";
    int shortcut = 0;
    EncodeLiteral(translation, 0, shortcut);
    EXPECT_EQ(CompileLiteral(translation), "D:\\temp");
    // Escapes typed as the dictionary shows them mean what they show.
    const struct
    {
        std::string typed;
        std::string compiled;
    } cases[] = {
        {"Line\\nNext", "Line\nNext"},
        {"a\\tb", "a\tb"},
        {"say \\\"hi\\\"", "say \"hi\""},
        {"say \"hi\"", "say \"hi\""},
        {"100\xA4", "100\xA4"},
        {"C:\\path\\", "C:\\path\\"},
        {"\x0D\x0A", "\r\n"},
        {"nul\\0", std::string("nul\0", 4)},
    };
    for (const auto& c : cases) {
        std::string text = c.typed;
        EncodeLiteral(text, 0, shortcut);
        EXPECT_EQ(CompileLiteral(text), c.compiled) << c.typed;
    }
}

TEST(DecodeLiteral, ALiteralRunsOnAfterABackslash)
{
    const std::string first = "    IDS_X \"The first\\n\\";
    const DecodedLiteral open = DecodeLiteral(first);
    EXPECT_FALSE(open.closed);
    EXPECT_TRUE(LiteralRunsOn(open, first));
    const DecodedLiteral closed = DecodeLiteral("    IDS_X \"done\"");
    EXPECT_TRUE(closed.closed);
    EXPECT_FALSE(LiteralRunsOn(closed, "    IDS_X \"done\""));
    const std::string unterminated = "    IDS_X \"no end";
    EXPECT_FALSE(LiteralRunsOn(DecodeLiteral(unterminated), unterminated));
    EXPECT_FALSE(LiteralRunsOn(DecodeLiteral("no quote \\"), "no quote \\"));
}

#include "engine/Literal.h"

#include "engine/ComboData.h"

#include <gtest/gtest.h>

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
        {"\"a\\\"b\\\\c\"", "a\"b\\c", 0, "\""},
        {"\"caf\\351 \\x41\\x4\"", "caf\xE9 A\x04", 0, "\""},
        {"\"Line\\nTab\\t\\r\"", "Line\\nTab\\t\\r", 0, "\""},
        {"\"\\12x\"", "\nx", 0, "\""},
        {"\"zero\\0 and \\000 and \\x00!\"", "zero\\0 and \\0 and \\0!", 0, "\""},
        {"\"\\xZZ\"", "\\xZZ", 0, "\""},
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
        {"a\\b\\c", 0, "a\\b\\\\c", 0},
        {"C:\\dir", 4, "C:\\\\dir", 5},
        {"\xE9t\xE9", 2, "\\351t\\351", 5},
        {"say \"hi\" & go", 12, "say \"\"hi\"\" && go", 15},
        {"\\\"", 0, "\\\\\"\"", 0},
        {"nul\\0x", 0, "nul\\0x", 0},
        {"nul\\01", 0, "nul\\0001", 0},
        {"", 3, "", 3},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        int out = -9;
        EncodeLiteral(text, c.shortcutIn, out);
        EXPECT_EQ(text, c.encoded) << c.text;
        EXPECT_EQ(out, c.shortcutOut) << c.text;
        // Whatever is encoded decodes back to the same text.
        EXPECT_EQ(DecodeLiteral("\"" + text + "\"").text, c.text) << c.text;
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

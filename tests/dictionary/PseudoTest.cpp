// Pseudo-translation: what it keeps (placeholders, escapes, accelerators,
// access keys, whole characters) and what it changes.
#include "dictionary/Codec.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/PseudoTranslation.h"

#include <gtest/gtest.h>

namespace {

std::string Utf8(const std::string& cp1252)
{
    return Codec::ForCodePage(1252).ToUtf8(cp1252);
}

} // namespace

TEST(Pseudo, AccentsBracketsAndLengthensButKeepsPlaceholders)
{
    EXPECT_EQ(Utf8(PseudoTranslate("Open file", 30, 1252)), "[Öþéñ ƒîlé~~~]");
    // printf conversions, FormatMessage inserts, escapes and the accelerator
    // come through as they are.
    EXPECT_EQ(Utf8(PseudoTranslate("%d of %-5.2f, %s%% and %1 or %2!d!", 0, 1252)),
              "[%d öƒ %-5.2f, %s%% åñð %1 ör %2!d!]");
    EXPECT_EQ(Utf8(PseudoTranslate("Line\\nnext \\\\ end", 0, 1252)), "[Lîñé\\nñéxt \\\\ éñð]");
    EXPECT_EQ(Utf8(PseudoTranslate("Save\\tCtrl+S", 50, 1252)), "[Šåvé~~]\\tCtrl+S");
    // Lengthened by the percentage of its characters, rounded up.
    EXPECT_EQ(PseudoTranslate("abcdefghij", 30, 1252).size(), 1 + 10 + 3 + 1u);
    EXPECT_EQ(PseudoTranslate("", 30, 1252), "[]");
}

TEST(Pseudo, NeverSplitsACharacterAndUsesTheTranslationsCodePage)
{
    // A Unicode dictionary: accented letters in UTF-8, other characters kept.
    EXPECT_EQ(PseudoTranslate("Köln 日本", 0, kUtf8CodePage), "[Ķöļñ 日本]");
    // Shift-JIS has no accented Latin letter: letters stay, the double-byte
    // characters (one with a backslash as trail byte) stay whole.
    const std::string hyou = "\x95\x5C";
    EXPECT_EQ(PseudoTranslate("ab" + hyou, 0, 932), "[ab" + hyou + "]");
}

TEST(Pseudo, AccessKeysFollowTheirLetters)
{
    std::vector<std::size_t> positions;
    const std::string pseudo = PseudoTranslate("Save As", 30, kUtf8CodePage, &positions);
    ASSERT_EQ(positions.size(), 7u);
    // "A" (position 5) is the start of "Å" in the result.
    EXPECT_EQ(pseudo.substr(positions[5], 2), "Å");

    GeneralDictionary general;
    ContextDictionary context;
    general.AddText("Save As", "");
    general.AddText("Open", "Ouvrir");
    general.AddText("IDOK", "");
    general.SetDoNotTranslate("IDOK");
    context.AddEntry("/a.rc", "IDR_MENU+Save As", "Save As", "", 6, "");
    context.AddEntry("/a.rc", "IDD_X+Save As", "Save As", "", 1, "");
    context.AddEntry("/a.rc", "IDR_MENU+Open", "Open", "", 1, "");
    EXPECT_EQ(PseudoTranslateDictionary(general, context, 30, 1252), 1);
    std::string translation;
    ASSERT_TRUE(general.GetTranslation("Save As", translation));
    EXPECT_EQ(Utf8(translation), "[Šåvé Åš~~~]");
    EXPECT_TRUE(general.GetTranslation("Open", translation));
    EXPECT_EQ(translation, "Ouvrir"); // translated texts are left alone
    EXPECT_TRUE(general.GetTranslation("IDOK", translation) == false || translation.empty());
    // The shortcuts now point at the same letters in the pseudo text.
    const auto* section = context.FindFile("/a.rc");
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(ContextDictionary::FindEntry(*section, "IDR_MENU+Save As")->shortcut, 7); // the Å of "As"
    EXPECT_EQ(ContextDictionary::FindEntry(*section, "IDD_X+Save As")->shortcut, 2);    // the Š
    EXPECT_EQ(ContextDictionary::FindEntry(*section, "IDR_MENU+Open")->shortcut, 1);    // untouched
}

// The views of a line the scanner reads, and the places a mnemonic may take.
#include "engine/ScriptCode.h"

#include "dictionary/ContextDictionary.h"
#include "engine/AccessKeys.h"
#include "engine/Literal.h"

#include <gtest/gtest.h>

TEST(ScriptCode, CommentsAndLiteralsAreBlankAndKeywordsUpperCaseAtTheSamePlaces)
{
    EXPECT_EQ(ScriptCode::KeywordsOf("  menuitem \"Open // END\", 1 // x"),
              "  MENUITEM \"           \", 1     ");
    EXPECT_EQ(ScriptCode::CodeOf("  menuitem \"Open // END\", 1 // x"), "  MENUITEM \"Open // END\", 1     ");
    // Identifiers keep their case; a keyword inside a word is no keyword.
    EXPECT_EQ(ScriptCode::CodeOf("IDC_Menu Menu IDmenu"), "IDC_Menu MENU IDmenu");
    // Doubled and escaped quotes stay inside the literal.
    EXPECT_EQ(ScriptCode::KeywordsOf("\"a\"\"b\\\"c\" END"), "\"       \" END");
    EXPECT_EQ(ScriptCode::KeywordsOf("  # define X \"BEGIN\""), std::string(20, ' '));

    // A block comment runs over lines, and a literal in it opens nothing.
    ScriptCode code;
    code.Next("LTEXT \"a\" /* \"x");
    EXPECT_EQ(code.Keywords(), "LTEXT \" \"      ");
    EXPECT_EQ(code.FirstQuote(), 6u);
    EXPECT_TRUE(code.InComment());
    code.Next("  END */ LTEXT \"b\"");
    EXPECT_EQ(code.Keywords(), "         LTEXT \" \"");
    EXPECT_EQ(code.FirstQuote(), 15u);
    EXPECT_FALSE(code.InComment());
    code.Next("// LTEXT \"c\"");
    EXPECT_EQ(code.FirstQuote(), std::string_view::npos);

    // In a double-byte code page the second byte of a character may be a
    // backslash: it escapes nothing, and the literal ends at its quote.
    const LiteralEncodingScope shiftJis(LiteralEncoding{932, true});
    EXPECT_EQ(ScriptCode::KeywordsOf("\"\x95\x5C\" END"), "\"  \" END");
}

TEST(AccessKeyPlace, TheKeyGoesToTheNextCharacterThatCanCarryIt)
{
    EXPECT_EQ(AccessKeyPlace("Add Manifest", 4), 5);
    EXPECT_EQ(AccessKeyPlace("\"Q\"", 1), 2);
    EXPECT_EQ(AccessKeyPlace("a\\nb", 2), 4);
    EXPECT_EQ(AccessKeyPlace("Go\\tCtrl+G", 5), 2); // past the text: the last one before the accelerator
    EXPECT_EQ(AccessKeyPlace("   ", 2), 0);
    EXPECT_EQ(AccessKeyPlace("Open", 0), 0);
    EXPECT_EQ(AccessKeyPlace("A & B", 3), 5);
    const LiteralEncodingScope utf8(LiteralEncoding{65001, true});
    EXPECT_EQ(AccessKeyPlace("\xC3\xA9t\xC3\xA9", 2), 3); // never inside a character
}

TEST(AccessKeyPlace, AKeyFollowsItsLetterIntoANewText)
{
    EXPECT_EQ(FollowAccessKey("Open", 1, "Ouvrir"), 1);
    EXPECT_EQ(FollowAccessKey("Print", 1, "Imprimer"), 3);           // P in either case
    EXPECT_EQ(FollowAccessKey("Save As", 6, "Enregistrer sous"), 6); // no A: its place
    EXPECT_EQ(FollowAccessKey("Save", 0, "Enregistrer"), 0);         // none stays none
    EXPECT_EQ(FollowAccessKey("Tab", 3, "\\t"), 0);
}

TEST(AccessKeyPlace, TheOccurrencesOfATextKeepTheirOwnKeysThroughTheFile)
{
    std::vector<std::int16_t> keys;
    EXPECT_EQ(ContextDictionary::ReadShortcutField("3", keys), 3);
    EXPECT_TRUE(keys.empty());
    EXPECT_EQ(ContextDictionary::ReadShortcutField("", keys), -1);
    EXPECT_EQ(ContextDictionary::ReadShortcutField("1,0,3", keys), 1);
    EXPECT_EQ(keys, (std::vector<std::int16_t>{1, 0, 3}));
    EXPECT_EQ(ContextDictionary::ReadShortcutField("2,x", keys), 2);
    EXPECT_EQ(keys, (std::vector<std::int16_t>{2, 0}));

    ContextEntry entry;
    entry.shortcut = 1;
    entry.AddOccurrence(0);
    entry.AddOccurrence(1);
    std::string field;
    ContextDictionary::AppendShortcutField(field, entry);
    EXPECT_EQ(field, "1,0,1");
    EXPECT_EQ(entry.ShortcutOf(1), 0);
    // A list whose keys all agree is one key again.
    entry.SetShortcutOf(1, 1, entry.DistinctOccurrences());
    EXPECT_TRUE(entry.occurrences.empty());
    EXPECT_EQ(entry.ShortcutOf(2), 1);
    // One occurrence of three set on its own.
    entry.SetShortcutOf(2, 4, 3);
    field.clear();
    ContextDictionary::AppendShortcutField(field, entry);
    EXPECT_EQ(field, "1,1,4");
}

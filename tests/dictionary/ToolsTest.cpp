#include "TestSupport.h"
#include "dictionary/Codec.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/DictionaryTools.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "dictionary/TextRules.h"
#include "engine/ResourceKind.h"
#include "engine/ResourceSearch.h"
#include "engine/ResourceTree.h"
#include "engine/ScriptStatistics.h"

#include <gtest/gtest.h>

namespace {

// Two scripts whose resources the tree knows, and a dictionary of them.
struct SearchFixture
{
    TempDir dir;
    std::string alpha = dir.File("alpha.rc");
    std::string beta = dir.File("Beta.rc");
    GeneralDictionary general;
    ContextDictionary context;
    ResourceTree tree;

    SearchFixture()
    {
        WriteBytes(alpha,
                   "IDD_MAIN DIALOG 0, 0, 100, 50\r\nBEGIN\r\n  PUSHBUTTON \"Open file\",1,0,0,10,10\r\n"
                   "END\r\nIDR_MENU MENU\r\nBEGIN\r\n  MENUITEM \"&Close\", 2\r\nEND\r\n");
        WriteBytes(beta, "STRINGTABLE\r\nBEGIN\r\n  1 \"Ready\"\r\nEND\r\n");
        general.AddText("Open file", "Ouvrir le fichier");
        general.AddText("&Close", "&Fermer");
        general.AddText("Ready", "Pr\xEAt");
        context.AddEntry(beta, "STRINGTABLE+1", "Ready", "", 0, "");
        context.AddEntry(alpha, "IDD_MAIN+1", "Open file", "", 0, "");
        context.AddEntry(alpha, "IDR_MENU+2", "&Close", "Quitter", 0, "");
        // An entry of a resource the script no longer declares.
        context.AddEntry(alpha, "IDD_GONE+1", "Open file", "", 0, "");
        tree.SetFileMap({{beta, dir.File("out/Beta.rc")}, {alpha, dir.File("out/alpha.rc")}});
        tree.SetStores(&general, &context, nullptr);
        tree.RebuildTree();
    }
};

} // namespace

TEST(FindInResources, MatchesOriginalThenInContextThenGeneralTranslationWithoutCase)
{
    SearchFixture f;
    // The original holds it, in another case.
    auto matches = FindInResources(f.general, f.context, "OPEN");
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(matches[0].resourceName, "IDD_MAIN");
    EXPECT_EQ(matches[0].matched, "Open file");
    // Only the translation in this resource holds it.
    matches = FindInResources(f.general, f.context, "quitter");
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].resourceName, "IDR_MENU");
    EXPECT_EQ(matches[0].matched, "Quitter");
    // Only the general translation holds it; upper-case accented letters
    // match their lower-case forms.
    matches = FindInResources(f.general, f.context, "PR\xCAT");
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].file, AnsiLower(f.beta)); // as the in-context dictionary keys it
    EXPECT_EQ(matches[0].resourceName, "STRINGTABLE");
    EXPECT_EQ(matches[0].matched, "Pr\xEAt");
    // An entry whose original and translation both hold it counts once.
    EXPECT_EQ(FindInResources(f.general, f.context, "e").size(), 4u);
    EXPECT_TRUE(FindInResources(f.general, f.context, "").empty());
    EXPECT_TRUE(FindInResources(f.general, f.context, "absent").empty());
}

TEST(FindInResources, TheTreeGivesKindsDropsUnknownResourcesAndOrdersByFile)
{
    SearchFixture f;
    const auto located = LocateMatches(f.tree, FindInResources(f.general, f.context, "e"));
    ASSERT_EQ(located.size(), 3u); // IDD_GONE is not in the tree
    // alpha.rc before Beta.rc: the order ignores case.
    EXPECT_EQ(located[0].match.resourceName, "IDD_MAIN");
    EXPECT_EQ(located[0].kind, KindDialog);
    EXPECT_EQ(located[1].match.resourceName, "IDR_MENU");
    EXPECT_EQ(located[1].kind, KindMenu);
    EXPECT_EQ(located[2].kind, KindStringTable);
    EXPECT_EQ(located[2].match.file, f.beta); // spelt as the list of files spells it
    EXPECT_EQ(ResourceTypeName(located[0].kind), "Dialog box");
    EXPECT_EQ(ResourceTypeName(located[1].kind), "Menu");
    EXPECT_EQ(ResourceTypeName(located[2].kind), "Stringtable");
    ASSERT_NE(located[0].item, nullptr);
    EXPECT_EQ(located[0].item->text, "IDD_MAIN");
}

TEST(Import, FillsOnlyMissingTranslationsAndAddsNoText)
{
    GeneralDictionary target;
    target.AddText("Open", "Ouvrir");
    target.AddText("Close", "");
    target.AddText("Save", "");
    GeneralDictionary imported(false);
    imported.AddText("Open", "Ouvre"); // would replace: refused
    imported.AddText("Close", "Fermer");
    imported.AddText("Save", "");          // nothing to bring
    imported.AddText("Print", "Imprimer"); // not a text of the target
    EXPECT_EQ(ImportTranslations(target, imported), 1);
    EXPECT_EQ(*target.FindTranslation("Open"), "Ouvrir");
    EXPECT_EQ(*target.FindTranslation("Close"), "Fermer");
    EXPECT_EQ(*target.FindTranslation("Save"), "");
    EXPECT_EQ(target.FindTranslation("Print"), nullptr);
    EXPECT_EQ(target.TextCount(), 3);
    // A second import of the same file has nothing left to do.
    EXPECT_EQ(ImportTranslations(target, imported), 0);
}

TEST(Import, ReadsTheDicRecordLayoutAndDecodesHexEscapes)
{
    TempDir dir;
    RecordingReporter reporter;
    // A text file: records of quoted fields joined by byte 0xA4, no header.
    const std::string text = dir.File("words.txt");
    WriteBytes(text, "\"Close\"\xA4\"\\X41 fermer\"\r\n\"Tab\\X09\"\xA4\"Onglet\"\r\n");
    auto imported = ReadImportFile(text, false, &reporter);
    ASSERT_TRUE(imported.has_value());
    EXPECT_EQ(*imported->FindTranslation("Close"), "A fermer");
    EXPECT_EQ(*imported->FindTranslation("Tab\t"), "Onglet");
    EXPECT_TRUE(reporter.ids.empty());
    // The export layout (a semicolon between the fields) or bytes of no
    // text give no record: said, nothing read.
    WriteBytes(text, "\"Close\";\"Fermer\"\r\n");
    EXPECT_FALSE(ReadImportFile(text, false, &reporter).has_value());
    WriteBytes(text, std::string("\x7F"
                                 "ELF\x02\x01\0\0\n\x01\x02",
                                 12));
    EXPECT_FALSE(ReadImportFile(text, false, &reporter).has_value());
    EXPECT_EQ(reporter.ids, (std::vector<int>{MsgNoRecordRead, MsgNoRecordRead}));
    EXPECT_FALSE(ReadImportFile("", false, &reporter).has_value());
    EXPECT_EQ(reporter.ids.back(), MsgInvalidFileName);

    // A UTF-8 file without its mark is read as UTF-8, as one with it.
    WriteBytes(text, "\"Fichier\"\xA4\"Fichier \xC3\xA9t\xC3\xA9\"\r\n");
    imported = ReadImportFile(text, false, &reporter);
    ASSERT_TRUE(imported.has_value());
    EXPECT_TRUE(imported->IsUnicode());
    ConvertTexts(*imported, {1252, 1252}, {kUtf8CodePage, kUtf8CodePage});
    EXPECT_EQ(*imported->FindTranslation("Fichier"), "Fichier \xC3\xA9t\xC3\xA9");
    reporter.ids.clear();

    // A .dic must begin with a dictionary header, in English or French.
    const std::string dic = dir.File("other.dic");
    WriteBytes(dic, "Dictionnaire g\xE9n\xE9ral\r\n\"Close\"\xA4\"Fermer\"\xA4\"0\"\r\n");
    imported = ReadImportFile(dic, true, &reporter);
    ASSERT_TRUE(imported.has_value());
    EXPECT_EQ(*imported->FindTranslation("Close"), "Fermer");
    WriteBytes(dic, "\"Close\"\xA4\"Fermer\"\xA4\"0\"\r\n");
    EXPECT_FALSE(ReadImportFile(dic, true, &reporter).has_value());
    EXPECT_FALSE(ReadImportFile(dir.File("missing.dic"), true, &reporter).has_value());
    EXPECT_EQ(reporter.ids, (std::vector<int>{MsgNotGeneralDictionary, MsgErrorOpeningFile}));
}

TEST(Export, WritesOneQuotedLinePerTextAndNothingWhenItCannot)
{
    TempDir dir;
    GeneralDictionary general;
    general.AddText("Open", "Ouvrir");
    general.AddText("Two\r\nlines", "");
    general.AddText("Say \"hi\"", "Dis \"salut\"");
    RecordingReporter reporter;
    const std::string path = dir.File("texts.txt");
    ASSERT_TRUE(ExportTexts(general, path, &reporter));
    EXPECT_EQ(ReadBytes(path), "\"Open\";\"Ouvrir\"\r\n"
                               "\"Two\\X0D\\X0Alines\";\"\"\r\n"
                               "\"Say \"hi\"\";\"Dis \"salut\"\"\r\n");
    // An existing file is replaced whole; a folder that does not exist
    // leaves nothing behind.
    EXPECT_FALSE(ExportTexts(general, dir.File("no/such/folder/texts.txt"), &reporter));
    EXPECT_EQ(reporter.ids, std::vector<int>{MsgCannotSaveFile});
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "no"));
}

TEST(UnusedTexts, ATextIsUsedOnlyByAnEntryWithExactlyThatOriginal)
{
    GeneralDictionary general;
    for (const char* text : {"Open", "open", "Close", "Gone"})
        general.AddText(text, "");
    ContextDictionary context;
    context.AddEntry("a.rc", "IDD_A+1", "Open", "", 0, "");
    context.AddEntry("b.rc", "IDD_B+1", "Close", "Fermer", 0, "");
    EXPECT_EQ(UnusedTexts(general, context), (std::vector<std::string>{"open", "Gone"}));
}

TEST(Statistics, OneRowPerScriptInPathOrderWithTheSums)
{
    SearchFixture f;
    const ResourceStatistics statistics = CountResources(f.tree, f.context);
    ASSERT_EQ(statistics.scripts.size(), 2u);
    EXPECT_EQ(statistics.scripts[0].source, f.alpha); // before Beta.rc without regard to case
    EXPECT_EQ(statistics.scripts[0].dialogs, 1);
    EXPECT_EQ(statistics.scripts[0].menus, 1);
    EXPECT_EQ(statistics.scripts[0].stringTables, 0);
    EXPECT_EQ(statistics.scripts[1].stringTables, 1);
    EXPECT_EQ(statistics.total.dialogs, 1);
    EXPECT_EQ(statistics.total.menus, 1);
    EXPECT_EQ(statistics.total.stringTables, 1);
    EXPECT_TRUE(CountResources(ResourceTree{}, f.context).scripts.empty());
}

TEST(Statistics, TheTranslatedShareAndItsSector)
{
    GeneralDictionary general;
    for (int i = 0; i < 40; ++i)
        general.AddText("Text " + std::to_string(i), i < 10 ? "Texte" : "");
    const TranslationShare share = ShareOf(general);
    EXPECT_EQ(share.translated, 10);
    EXPECT_EQ(share.untranslated, 30);
    EXPECT_DOUBLE_EQ(share.translatedPercent, 25.0);
    EXPECT_DOUBLE_EQ(share.untranslatedPercent, 75.0);
    EXPECT_DOUBLE_EQ(share.translatedDegrees, 90.0);
    const TranslationShare empty = ShareOf(GeneralDictionary{});
    EXPECT_EQ(empty.total, 0);
    EXPECT_DOUBLE_EQ(empty.translatedPercent, 0.0);
    EXPECT_DOUBLE_EQ(empty.untranslatedPercent, 0.0);
}

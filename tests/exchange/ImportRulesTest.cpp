// What files of other tools bring into a dictionary at its edges: names
// several scripts share, texts in two code pages, access keys a translation
// leaves out, scripts outside the dictionary's folder.
#include "TestSupport.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "exchange/TranslationExchange.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

ExchangeEntry InResource(const std::string& script, const std::string& resource, const std::string& original,
                         const std::string& translation)
{
    ExchangeEntry e;
    e.script = script;
    e.resource = resource;
    e.original = original;
    e.translation = translation;
    return e;
}

} // namespace

TEST(ImportRules, AScriptNameTwoScriptsShareChangesNeitherAndIsReportedAsAmbiguous)
{
    TempDir dir;
    CTrelvarDoc doc;
    ASSERT_TRUE(doc.CreateDictionary("d", dir.Path().string(), dir.Path().string(), dir.Path().string()));
    doc.General()->AddText("Open", "");
    for (const char* script : {"a/app.rc", "b/app.rc"})
        doc.Context()->AddEntry(dir.File(script), "IDR_MENU+Open", "Open", "", 1, "");
    ExchangeDocument exchange;
    exchange.entries.push_back(InResource("app.rc", "IDR_MENU", "Open", "&Ouvrir"));
    const ImportSummary summary = ApplyExchange(exchange, doc);
    EXPECT_EQ(summary.resourceEntries, 0);
    ASSERT_EQ(summary.problems.size(), 1u);
    EXPECT_NE(summary.problems[0].find("ambiguous"), std::string::npos) << summary.problems[0];
    EXPECT_NE(summary.problems[0].find("a/app.rc, b/app.rc"), std::string::npos) << summary.problems[0];
    for (const char* script : {"a/app.rc", "b/app.rc"}) {
        const ContextEntry* entry =
            ContextDictionary::FindEntry(*doc.Context()->FindFile(dir.File(script)), "IDR_MENU+Open");
        EXPECT_EQ(entry->contextTranslation, "") << script;
    }
    // Named by its path, each is found.
    exchange.entries[0].script = "b/app.rc";
    EXPECT_EQ(ApplyExchange(exchange, doc).resourceEntries, 1);
    EXPECT_EQ(ContextDictionary::FindEntry(*doc.Context()->FindFile(dir.File("b/app.rc")), "IDR_MENU+Open")
                  ->contextTranslation,
              "Ouvrir");
}

TEST(ImportRules, OriginalsAndTranslationsInTwoCodePagesAreEachConvertedInTheirOwn)
{
    // Western originals, Cyrillic translations: "Café" is E9 in the one
    // and would read "Cafй" in the other.
    TempDir dir;
    CTrelvarDoc doc;
    ASSERT_TRUE(doc.CreateDictionary("d", dir.Path().string(), dir.Path().string(), dir.Path().string()));
    doc.SetEncodings(1252, 1251);
    doc.General()->AddText("Caf\xE9", "");
    doc.General()->AddText("Menu", "\xCC\xE5\xED\xFE");
    std::vector<std::string> problems;
    const ExchangeDocument out = BuildExchange(doc, problems);
    ASSERT_EQ(out.entries.size(), 2u);
    EXPECT_EQ(out.entries[0].original, "Caf\xC3\xA9");
    EXPECT_EQ(out.entries[1].translation, "\xD0\x9C\xD0\xB5\xD0\xBD\xD1\x8E"); // Меню

    ExchangeDocument in;
    ExchangeEntry e;
    e.original = "Caf\xC3\xA9";
    e.translation = "\xD0\x9A\xD0\xB0\xD1\x84\xD0\xB5"; // Кафе
    in.entries.push_back(e);
    e.original = "Caf\xD0\xB9"; // "Cafй" is no text of the dictionary
    e.translation = "x";
    in.entries.push_back(e);
    const ImportSummary summary = ApplyExchange(in, doc);
    EXPECT_EQ(summary.translations, 1);
    EXPECT_EQ(*doc.General()->FindTranslation("Caf\xE9"), "\xCA\xE0\xF4\xE5");
    ASSERT_EQ(summary.problems.size(), 1u);
    // A translation the translations' code page cannot hold is refused.
    in.entries.resize(1);
    in.entries[0].translation = "Caf\xC3\xA9";
    const ImportSummary refused = ApplyExchange(in, doc);
    EXPECT_EQ(refused.translations, 0);
    EXPECT_EQ(refused.problems.size(), 1u);
    EXPECT_EQ(*doc.General()->FindTranslation("Caf\xE9"), "\xCA\xE0\xF4\xE5");
}

TEST(ImportRules, ATranslationWithoutAMarkTakesAwayAKeyThatWouldShow)
{
    TempDir dir;
    CTrelvarDoc doc;
    ASSERT_TRUE(doc.CreateDictionary("d", dir.Path().string(), dir.Path().string(), dir.Path().string()));
    doc.General()->AddText("Open", "");
    doc.General()->AddText("Save", "");
    // Keys before the last letter of "Ouvrir" and past the end of "Sauver".
    doc.Context()->AddEntry(dir.File("app.rc"), "IDR_MENU+Open", "Open", "", 6, "");
    doc.Context()->AddEntry(dir.File("app.rc"), "IDR_MENU+Save", "Save", "", 7, "");
    ExchangeDocument exchange;
    exchange.entries.push_back(InResource("app.rc", "IDR_MENU", "Open", "Ouvrir"));
    exchange.entries.push_back(InResource("app.rc", "IDR_MENU", "Save", "Sauver"));
    ApplyExchange(exchange, doc);
    const auto& section = *doc.Context()->FindFile(dir.File("app.rc"));
    EXPECT_EQ(ContextDictionary::FindEntry(section, "IDR_MENU+Open")->ShortcutOf(0), -1);
    // A key that shows nothing in the new text stays as it was.
    EXPECT_EQ(ContextDictionary::FindEntry(section, "IDR_MENU+Save")->ShortcutOf(0), 7);
}

TEST(ImportRules, AScriptOutsideTheDictionarysFolderIsNamedByItsWholePath)
{
    // "/x/dict2/app.rc" begins with the text of the folder "/x/dict" but
    // does not lie in it.
    TempDir dir;
    std::filesystem::create_directories(dir.File("dict"));
    CTrelvarDoc doc;
    ASSERT_TRUE(doc.CreateDictionary("d", dir.File("dict"), dir.File("dict"), dir.File("dict")));
    doc.General()->AddText("Open", "Ouvrir");
    doc.Context()->AddEntry(dir.File("dict2/app.rc"), "IDR_MENU+Open", "Open", "Ouvrir", 1, "");
    doc.Context()->AddEntry(dir.File("dict/sub/app.rc"), "IDR_MENU+Open", "Open", "Ouvrir", 1, "");
    std::vector<std::string> problems;
    const ExchangeDocument out = BuildExchange(doc, problems);
    std::vector<std::string> scripts;
    for (const ExchangeEntry& e : out.entries) {
        if (!e.script.empty())
            scripts.push_back(e.script);
    }
    std::sort(scripts.begin(), scripts.end());
    std::vector<std::string> expected{dir.File("dict2/app.rc"), "sub/app.rc"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(scripts, expected);
}

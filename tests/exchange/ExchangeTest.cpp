// Exchange with translation tools: a dictionary written to PO or XLIFF and
// read back into a freshly extracted one is the same dictionary, byte for
// byte; what a file cannot bring in is reported and changes nothing.
#include "TestSupport.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/Codec.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/PseudoTranslation.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptRuns.h"
#include "exchange/ExchangeFormats.h"
#include "exchange/TranslationExchange.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

// A dictionary of the scripts in the folder, extracted and not translated.
void Extracted(CTrelvarDoc& doc, const TempDir& dir, const std::string& name,
               const std::vector<std::string>& scripts, bool unicode)
{
    ASSERT_TRUE(
        doc.CreateDictionary(name, dir.Path().string(), dir.Path().string(), dir.Path().string(), unicode));
    for (const std::string& script : scripts)
        ASSERT_EQ(InsertScript(*doc.Files(), script, dir.File("out-" + name), {}).message, 0) << script;
    ExtractScripts(doc, scripts, nullptr, nullptr, nullptr);
}

// The work a translator leaves in a dictionary: translations, texts not to
// translate, in-context translations (one equal to the general one) and
// access keys moved or taken away.
void Translate(CTrelvarDoc& doc)
{
    PseudoTranslateDictionary(*doc.General(), *doc.Context(), 30, doc.TranslationsCodePage());
    int n = 0;
    for (const auto& text : doc.General()->Texts()) {
        if (++n % 11 == 0)
            doc.General()->SetDoNotTranslate(text.key);
    }
    n = 0;
    bool sameAsGeneral = false;
    for (auto& file : doc.Context()->Files()) {
        for (auto& item : file.value) {
            ContextEntry& e = item.value;
            ++n;
            if (n % 7 == 0)
                e.contextTranslation = "own " + std::to_string(n) + " & more";
            if (n % 13 == 0 && !sameAsGeneral) {
                e.contextTranslation = *doc.General()->FindTranslation(e.original);
                sameAsGeneral = true;
            }
            if (n % 5 == 0 && e.shortcut > 0)
                e.shortcut = -1;
            if (n % 9 == 0 && e.shortcut > 0)
                e.shortcut = 2;
        }
    }
    doc.MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
}

void RoundTrip(ExchangeFormat format, bool unicode)
{
    if (CorpusDir().empty())
        GTEST_SKIP() << "the corpus of real scripts is not available";
    const std::vector<std::string> scripts = EveryNthCorpusScript(40);
    TempDir dir;
    CTrelvarDoc translated;
    Extracted(translated, dir, "a", scripts, unicode);
    Translate(translated);
    ASSERT_TRUE(translated.Save());

    std::vector<std::string> problems;
    const ExchangeDocument exported = BuildExchange(translated, problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    const std::string file = dir.File(format == ExchangeFormat::Po ? "a.po" : "a.xlf");
    std::string error;
    ASSERT_TRUE(WriteExchangeFile(exported, format, file, error)) << error;
    // A new file as any program makes it, not a temporary file's private one.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(static_cast<mode_t>(fs::status(file).permissions() & fs::perms::all), 0666 & ~mask);

    CTrelvarDoc fresh;
    Extracted(fresh, dir, "b", scripts, unicode);
    ExchangeDocument read;
    ASSERT_TRUE(ReadExchangeFile(file, format, read, error)) << error;
    ASSERT_EQ(read.entries.size(), exported.entries.size());
    const ImportSummary summary = ApplyExchange(read, fresh);
    EXPECT_TRUE(summary.problems.empty()) << summary.problems.front();
    EXPECT_GT(summary.translations, 200);
    EXPECT_GT(summary.resourceEntries, 100);
    fresh.MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
    ASSERT_TRUE(fresh.Save());
    EXPECT_TRUE(ReadBytes(dir.File("a.dic")) == ReadBytes(dir.File("b.dic")));
    EXPECT_TRUE(ReadBytes(dir.File("a.ent")) == ReadBytes(dir.File("b.ent")));

    // Read into the dictionary it came from, it changes nothing.
    const ImportSummary again = ApplyExchange(read, translated);
    EXPECT_EQ(again.translations + again.resourceEntries + again.doNotTranslate, 0);
}

// A one-text dictionary with one in-context entry, in the folder.
void Small(CTrelvarDoc& doc, const TempDir& dir)
{
    ASSERT_TRUE(doc.CreateDictionary("s", dir.Path().string(), dir.Path().string(), dir.Path().string()));
    doc.General()->AddText("Open", "");
    doc.General()->AddText("Save", "Enregistrer");
    doc.Context()->AddEntry(dir.File("app.rc"), "IDR_MENU+Open", "Open", "", 1, "");
}

} // namespace

TEST(Exchange, PoRoundTripRestoresEveryTranslationAndAccessKey)
{
    RoundTrip(ExchangeFormat::Po, false);
}

TEST(Exchange, XliffRoundTripRestoresEveryTranslationAndAccessKey)
{
    RoundTrip(ExchangeFormat::Xliff, false);
}

TEST(Exchange, UnicodeDictionariesRoundTripToo)
{
    RoundTrip(ExchangeFormat::Po, true);
}

TEST(Exchange, AccessKeysAndContextsAreWrittenAsScriptsWriteThem)
{
    EXPECT_EQ(MarkAccessKey("Save & Exit", 8), "Save && &Exit");
    int shortcut = 0;
    EXPECT_EQ(UnmarkAccessKey("Save && &Exit", shortcut), "Save & Exit");
    EXPECT_EQ(shortcut, 8);
    // The last single "&" wins; a final one is an ampersand.
    EXPECT_EQ(UnmarkAccessKey("&a&b&", shortcut), "ab&");
    EXPECT_EQ(shortcut, 2);
    EXPECT_EQ(MarkAccessKey("Open", 0), "Open");
    EXPECT_EQ(MarkAccessKey("Open", 9), "Open");

    std::string script, resource;
    ASSERT_TRUE(SplitContext("C:\\src\\app.rc:IDD_ABOUT", script, resource));
    EXPECT_EQ(script, "C:\\src\\app.rc");
    EXPECT_EQ(resource, "IDD_ABOUT");
    EXPECT_FALSE(SplitContext("no resource:", script, resource));
    EXPECT_FALSE(SplitContext("nothing", script, resource));

    // "#N" names an occurrence; a number no count reaches is part of the
    // resource's name (a fuzzer's find: it overflowed the reading).
    ExchangeEntry entry;
    ASSERT_TRUE(ReadEntryContext("app.rc:IDD_A#3", entry));
    EXPECT_EQ(entry.resource, "IDD_A");
    EXPECT_EQ(entry.occurrence, 2u);
    ASSERT_TRUE(ReadEntryContext("app.rc:IDD_A#" + std::string(40, '9'), entry));
    EXPECT_EQ(entry.resource, "IDD_A#" + std::string(40, '9'));
    EXPECT_EQ(entry.occurrence, 0u);
}

TEST(Exchange, WhatCannotComeInIsReportedAndChangesNothing)
{
    TempDir dir;
    CTrelvarDoc doc;
    Small(doc, dir);
    const std::string po = dir.File("in.po");
    WriteBytes(po, "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                   // a character Windows-1252 has not
                   "msgid \"Open\"\nmsgstr \"Ouvrir \xE2\x98\x83\"\n\n"
                   "msgid \"Unknown\"\nmsgstr \"Inconnu\"\n\n"
                   // unsure, and empty: nothing changes
                   "#, fuzzy\nmsgid \"Save\"\nmsgstr \"Sauver\"\n\n"
                   "#. do not translate\nmsgctxt \"app.rc:IDR_MENU\"\nmsgid \"Open\"\nmsgstr \"\"\n\n"
                   "msgctxt \"other.rc:IDR_MENU\"\nmsgid \"Open\"\nmsgstr \"&Ouvrir\"\n");
    ExchangeDocument read;
    std::string error;
    ASSERT_TRUE(ReadExchangeFile(po, ExchangeFormat::Po, read, error)) << error;
    const ImportSummary summary = ApplyExchange(read, doc);
    EXPECT_EQ(summary.translations, 0);
    EXPECT_EQ(summary.resourceEntries, 0);
    ASSERT_EQ(summary.problems.size(), 3u);
    EXPECT_NE(summary.problems[0].find("cannot hold"), std::string::npos) << summary.problems[0];
    EXPECT_NE(summary.problems[1].find("\"Unknown\" is not a text of the dictionary"), std::string::npos);
    EXPECT_NE(summary.problems[2].find("other.rc:IDR_MENU"), std::string::npos) << summary.problems[2];
    // What the translator marked unsure waits for review: counted, no error.
    EXPECT_EQ(summary.unsure, 1);
    EXPECT_EQ(*doc.General()->FindTranslation("Open"), "");
    EXPECT_EQ(*doc.General()->FindTranslation("Save"), "Enregistrer");

    // A file in another character set comes in converted; a broken one
    // not at all.
    WriteBytes(po, "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n\n"
                   "msgid \"Open\"\nmsgstr \"Ouvrir \xE9\"\n");
    read = {};
    ASSERT_TRUE(ReadExchangeFile(po, ExchangeFormat::Po, read, error)) << error;
    EXPECT_EQ(read.entries.at(0).translation, "Ouvrir \xC3\xA9");
    WriteBytes(po, "msgid \"Open\"\nmsgstr \"Ouvrir");
    EXPECT_FALSE(ReadExchangeFile(po, ExchangeFormat::Po, read, error));
    const std::string xlf = dir.File("in.xlf");
    WriteBytes(xlf, "<xliff version=\"1.2\"><file><body><trans-unit id=\"1\"><source>Open</source>");
    EXPECT_FALSE(ReadExchangeFile(xlf, ExchangeFormat::Xliff, read, error));
    EXPECT_FALSE(ReadExchangeFile(dir.File("none.po"), ExchangeFormat::Po, read, error));
}

TEST(Exchange, XliffUnitsOfTranslationToolsComeIn)
{
    TempDir dir;
    CTrelvarDoc doc;
    Small(doc, dir);
    // Inline elements and states as tools write them.
    const std::string xlf = dir.File("in.xlf");
    WriteBytes(
        xlf, "<?xml version=\"1.0\"?><xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">"
             "<file original=\"s\" source-language=\"en\" target-language=\"fr\" datatype=\"winres\"><body>"
             "<trans-unit id=\"1\"><source>Open</source><target>Ou<g id=\"1\">vrir</g></target></trans-unit>"
             "<trans-unit id=\"2\"><source>Save</source><target state=\"needs-review-translation\">Sauver"
             "</target></trans-unit>"
             "<group resname=\"app.rc\"><group resname=\"IDR_MENU\"><trans-unit id=\"3\" translate=\"no\">"
             "<source>Open</source><target>O&amp;uvrir</target></trans-unit></group></group>"
             "</body></file></xliff>");
    ExchangeDocument read;
    std::string error;
    ASSERT_TRUE(ReadExchangeFile(xlf, ExchangeFormat::Xliff, read, error)) << error;
    EXPECT_EQ(read.targetLanguage, "fr");
    const ImportSummary summary = ApplyExchange(read, doc);
    EXPECT_EQ(summary.translations, 1);
    EXPECT_EQ(summary.resourceEntries, 1);
    EXPECT_TRUE(summary.problems.empty());
    EXPECT_EQ(summary.unsure, 1);
    EXPECT_EQ(*doc.General()->FindTranslation("Open"), "Ouvrir");
    const ContextEntry* entry =
        ContextDictionary::FindEntry(*doc.Context()->FindFile(dir.File("app.rc")), "IDR_MENU+Open");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->contextTranslation, "");
    EXPECT_EQ(entry->shortcut, 2);
}

TEST(Exchange, AMemoryOfAnotherToolComesInAsTheDictionaryHoldsItsTexts)
{
    // Windows texts as a script writes them: "&" the key, "&&" an ampersand;
    // a text held twice keeps its first translation; units in another
    // language pair are left out.
    TempDir dir;
    const std::string tmx = dir.File("m.tmx");
    auto unit = [](const std::string& en, const std::string& fr) {
        return "<tu><tuv xml:lang=\"en-US\"><seg>" + en + "</seg></tuv><tuv xml:lang=\"fr-FR\"><seg>" + fr +
               "</seg></tuv></tu>";
    };
    WriteBytes(tmx, "<?xml version=\"1.0\"?><tmx version=\"1.4\"><header creationtool=\"Other\" "
                    "srclang=\"en-US\" datatype=\"plaintext\" segtype=\"sentence\" adminlang=\"en\" "
                    "o-tmf=\"x\"/><body>" +
                        unit("&amp;File", "&amp;Fichier") + unit("File", "Dossier") +
                        unit("Save &amp;&amp; E&amp;xit", "Enregistrer &amp;&amp; &amp;quitter") +
                        unit("Fish &amp; Chips", "Poisson &amp; frites") +
                        "<tu><tuv xml:lang=\"de\"><seg>Datei</seg></tuv><tuv xml:lang=\"en\"><seg>Open</seg>"
                        "</tuv></tu></body></tmx>");
    ExchangeDocument read;
    std::string error;
    ASSERT_TRUE(ReadExchangeFile(tmx, ExchangeFormat::Tmx, read, error)) << error;
    EXPECT_EQ(read.sourceLanguage, "en-US");
    EXPECT_EQ(read.targetLanguage, "fr-FR");
    std::vector<std::string> pairs;
    for (const ExchangeEntry& e : read.entries)
        pairs.push_back(e.original + "=" + e.translation);
    EXPECT_EQ(pairs, (std::vector<std::string>{"File=Fichier", "Save & Exit=Enregistrer & quitter",
                                               "Fish & Chips=Poisson & frites"}));

    // Our own memory holds the texts as the dictionary does: back unchanged.
    read.entries = {read.entries[1]};
    read.entries[0].original = "R&D";
    read.entries[0].translation = "R&D";
    ASSERT_TRUE(WriteExchangeFile(read, ExchangeFormat::Tmx, tmx, error)) << error;
    ExchangeDocument again;
    ASSERT_TRUE(ReadExchangeFile(tmx, ExchangeFormat::Tmx, again, error)) << error;
    ASSERT_EQ(again.entries.size(), 1u);
    EXPECT_EQ(again.entries[0].translation, "R&D");
}

TEST(Exchange, BytesTheCodePageLeavesUndefinedTravelAsControlCharacters)
{
    // A script read in the wrong code page leaves bytes Windows-1252 does
    // not define in the dictionary; they go out and come back unchanged.
    TempDir dir;
    CTrelvarDoc from;
    ASSERT_TRUE(from.CreateDictionary("a", dir.Path().string(), dir.Path().string(), dir.Path().string()));
    from.General()->AddText("A\x81"
                            "B",
                            "C\x8D\xE9");
    std::vector<std::string> problems;
    const ExchangeDocument exchange = BuildExchange(from, problems);
    EXPECT_TRUE(problems.empty());
    ASSERT_EQ(exchange.entries.size(), 1u);
    EXPECT_EQ(exchange.entries[0].original, "A\xC2\x81"
                                            "B");
    EXPECT_EQ(exchange.entries[0].translation, "C\xC2\x8D\xC3\xA9");
    CTrelvarDoc to;
    ASSERT_TRUE(to.CreateDictionary("b", dir.Path().string(), dir.Path().string(), dir.Path().string()));
    to.General()->AddText("A\x81"
                          "B",
                          "");
    const ImportSummary summary = ApplyExchange(exchange, to);
    EXPECT_TRUE(summary.problems.empty());
    EXPECT_EQ(*to.General()->FindTranslation("A\x81"
                                             "B"),
              "C\x8D\xE9");
}

TEST(Exchange, ANewGeneralTranslationIsNotPinnedByTheResourcesAccessKeys)
{
    // The translator changes the general translation and leaves the
    // entries of the resources (which carried the old one with its access
    // key): the resources follow the general translation.
    TempDir dir;
    CTrelvarDoc doc;
    Small(doc, dir);
    doc.General()->SetTranslation("Open", "Ouvrir");
    std::vector<std::string> problems;
    ExchangeDocument exchange = BuildExchange(doc, problems);
    ASSERT_EQ(exchange.entries.size(), 3u);
    EXPECT_EQ(exchange.entries[2].translation, "&Ouvrir");
    exchange.entries[0].translation = "Ouvrir...";
    const ImportSummary summary = ApplyExchange(exchange, doc);
    EXPECT_EQ(summary.translations, 1);
    EXPECT_EQ(summary.resourceEntries, 0);
    const ContextEntry* entry =
        ContextDictionary::FindEntry(*doc.Context()->FindFile(dir.File("app.rc")), "IDR_MENU+Open");
    EXPECT_EQ(entry->contextTranslation, "");
    EXPECT_EQ(entry->shortcut, 1);
    // A resource whose entry the translator changed too gets its own.
    exchange.entries[2].translation = "O&uvrir";
    EXPECT_EQ(ApplyExchange(exchange, doc).resourceEntries, 1);
    EXPECT_EQ(entry->contextTranslation, "Ouvrir");
    EXPECT_EQ(entry->shortcut, 2);
}

TEST(Exchange, NewTargetsAreUnsureAndInlineElementsKeepTheirBlanks)
{
    TempDir dir;
    CTrelvarDoc doc;
    Small(doc, dir);
    doc.General()->AddText("   ", "");
    const std::string xlf = dir.File("in.xlf");
    WriteBytes(
        xlf, "<?xml version=\"1.0\"?><xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">"
             "<file original=\"s\" source-language=\"en\" datatype=\"winres\"><body>"
             "<trans-unit id=\"1\"><source>Open</source><target><g id=\"1\">Fichier</g> "
             "<g id=\"2\">ouvert</g></target></trans-unit>"
             "<trans-unit id=\"2\"><source>Save</source><target state=\"new\">Sauver</target></trans-unit>"
             "<trans-unit id=\"3\"><source xml:space=\"preserve\">   </source>"
             "<target xml:space=\"preserve\">   </target></trans-unit>"
             "</body></file></xliff>");
    ExchangeDocument read;
    std::string error;
    ASSERT_TRUE(ReadExchangeFile(xlf, ExchangeFormat::Xliff, read, error)) << error;
    const ImportSummary summary = ApplyExchange(read, doc);
    EXPECT_EQ(*doc.General()->FindTranslation("Open"), "Fichier ouvert");
    EXPECT_EQ(*doc.General()->FindTranslation("Save"), "Enregistrer"); // "new" is not sure
    EXPECT_EQ(summary.unsure, 1);
    // A text of blanks goes out and comes back as it is.
    std::vector<std::string> problems;
    const ExchangeDocument written = BuildExchange(doc, problems);
    ASSERT_TRUE(WriteExchangeFile(written, ExchangeFormat::Xliff, dir.File("out.xlf"), error)) << error;
    ExchangeDocument again;
    ASSERT_TRUE(ReadExchangeFile(dir.File("out.xlf"), ExchangeFormat::Xliff, again, error)) << error;
    const auto blank = std::find_if(again.entries.begin(), again.entries.end(),
                                    [](const ExchangeEntry& e) { return e.original == "   "; });
    ASSERT_NE(blank, again.entries.end());
    EXPECT_EQ(blank->translation, "   ");
}

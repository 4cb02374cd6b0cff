// The translation memory: how close matches are scored and ordered, how
// sources come and go, two programs writing at once, a memory that cannot
// be used, and pre-translation that never replaces a translation.
#include "TestSupport.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptRuns.h"
#include "memory/MatchScore.h"
#include "memory/MemorySources.h"
#include "memory/TranslationMemory.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::unique_ptr<TranslationMemory> OpenIn(const TempDir& dir)
{
    std::string error;
    auto memory = TranslationMemory::Open(dir.File("data/memory.db"), error);
    EXPECT_TRUE(memory) << error;
    return memory;
}

std::vector<MemoryUnit> Units(std::initializer_list<std::pair<const char*, const char*>> pairs)
{
    std::vector<MemoryUnit> units;
    for (const auto& [original, translation] : pairs)
        units.push_back({original, translation, {}, "cp1252", "cp1252"});
    return units;
}

TEST(MemoryScore, WeighsWhatATranslatorMends)
{
    EXPECT_EQ(MatchScore("Open file", "Open file"), 100);
    // The access-key mark is no difference worth a point but the last.
    EXPECT_EQ(MatchScore("&Open file", "Open file"), 99);
    EXPECT_EQ(MatchScore("Save && Exit", "Save & Exit"), 99);
    // A letter's case costs less than a letter; a placeholder more.
    const int casing = MatchScore("Open File", "Open file");
    const int letter = MatchScore("Open Pile", "Open file");
    const int placeholder = MatchScore("Delete %s items?", "Delete %d items?");
    const int word = MatchScore("Delete s items?", "Delete d items?");
    EXPECT_GT(casing, letter);
    EXPECT_LT(placeholder, word);
    EXPECT_LT(MatchScore("Line %1 of %2", "Line %1 of"), MatchScore("Line 1 of 2", "Line 1 of"));
    // An escape is one symbol, as the script writes it.
    EXPECT_EQ(ScoreSymbols("a\\nb").size(), 3u);
    EXPECT_EQ(ScoreSymbols("%-5.2f%%").size(), 2u);
    EXPECT_LT(MatchScore("Cancel", "Are you sure you want to delete this file?"), 30);
    EXPECT_EQ(IndexWords("&Open %s file\\n"), (std::vector<std::string>{"open", "file"}));
}

TEST(Memory, FindsExactMatchesFirstThenCloseOnesByScore)
{
    TempDir dir;
    auto memory = OpenIn(dir);
    std::string error;
    ASSERT_TRUE(memory->ReplaceSource("a.dic",
                                      Units({{"Open file", "Ouvrir le fichier"},
                                             {"Open files", "Ouvrir les fichiers"},
                                             {"Open the file now", "Ouvrir le fichier maintenant"},
                                             {"Close", "Fermer"}}),
                                      error))
        << error;
    ASSERT_TRUE(memory->ReplaceSource("b.po", Units({{"Open file", "Ouvrir un fichier"}}), error));
    const auto matches = memory->Find("Open file", 5);
    ASSERT_GE(matches.size(), 4u);
    EXPECT_EQ(matches[0].score, 100);
    EXPECT_EQ(matches[1].score, 100);
    EXPECT_EQ(matches[2].original, "Open files");
    EXPECT_EQ(matches[3].original, "Open the file now");
    EXPECT_GT(matches[2].score, matches[3].score);
    for (const MemoryMatch& m : matches)
        EXPECT_NE(m.original, "Close");
    EXPECT_EQ(memory->Find("Open file", 1).size(), 1u);
    EXPECT_TRUE(memory->Find("Open file", 5, 100, "cp1251").empty());
    EXPECT_TRUE(memory->Find("Nothing alike", 5).empty());
    // Which texts the memory knows exactly, at once.
    EXPECT_EQ(memory->ExactlyKnown({"Close", "close", "Open file", "Nothing alike"}),
              (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(memory->ExactlyKnown({"Close"}, "cp1251"), std::vector<bool>{false});
}

TEST(Memory, ASourceIsAddedUpdatedAndRemovedWhole)
{
    TempDir dir;
    auto memory = OpenIn(dir);
    std::string error;
    int changed = 0;
    ASSERT_TRUE(memory->ReplaceSource("a.dic", Units({{"Yes", "Oui"}, {"No", "Non"}}), error, &changed));
    EXPECT_EQ(changed, 2);
    // Again with one changed and one gone: the source holds what it gives.
    ASSERT_TRUE(memory->ReplaceSource("a.dic", Units({{"Yes", "Si"}, {"Maybe", "Peut-\xC3\xAAtre"}}), error,
                                      &changed));
    EXPECT_EQ(changed, 3);
    ASSERT_TRUE(memory->ReplaceSource("a.dic", Units({{"Yes", "Si"}, {"Maybe", "Peut-\xC3\xAAtre"}}), error,
                                      &changed));
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(memory->Find("Yes", 5, 100).at(0).translation, "Si");
    EXPECT_TRUE(memory->Find("No", 5, 100).empty());
    ASSERT_TRUE(memory->ReplaceSource("b.dic", Units({{"Yes", "Ja"}}), error));
    const MemoryStats stats = memory->Stats();
    EXPECT_EQ(stats.units, 3);
    ASSERT_EQ(stats.sources.size(), 2u);
    EXPECT_EQ(memory->RemoveSource("a.dic", error), 2);
    EXPECT_EQ(memory->Stats().units, 1);
    EXPECT_EQ(memory->RemoveSource("unknown", error), 0);
}

TEST(Memory, AddedUnitsAreIndexedOnceInMemoriesOldAndNew)
{
    // A memory made by a version that indexed each unit through a trigger:
    // opened now, it keeps no such trigger, and every unit a source adds is
    // in the full-text index exactly once.
    TempDir dir;
    OpenIn(dir);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir.File("data/memory.db").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TRIGGER units_added AFTER INSERT ON units BEGIN "
                           "INSERT INTO units_text(rowid, original) VALUES (new.id, new.original); END;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    auto memory = OpenIn(dir);
    std::string error;
    ASSERT_TRUE(memory->ReplaceSource("a.dic", Units({{"Open the file", "Ouvrir le fichier"}}), error));
    ASSERT_TRUE(memory->ReplaceSource(
        "b.dic", Units({{"Open the files", "Ouvrir les fichiers"}, {"Close the file", "Fermer"}}), error));
    // Updated and removed ones leave the index as they leave the memory.
    ASSERT_TRUE(
        memory->ReplaceSource("b.dic", Units({{"Open the files", "Ouvrir tous les fichiers"}}), error));
    const auto matches = memory->Find("Open the file", 10, 50);
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(matches[1].translation, "Ouvrir tous les fichiers");
    EXPECT_TRUE(memory->Find("Close the file", 10, 100).empty());
    memory.reset();
    ASSERT_EQ(sqlite3_open(dir.File("data/memory.db").c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "INSERT INTO units_text(units_text) VALUES ('integrity-check')", nullptr,
                           nullptr, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_stmt* count = nullptr;
    sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM sqlite_master WHERE name = 'units_added'", -1, &count,
                       nullptr);
    ASSERT_EQ(sqlite3_step(count), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(count, 0), 0);
    sqlite3_finalize(count);
    sqlite3_close(db);
}

TEST(Memory, TwoProgramsAddingAtOnceLoseNothing)
{
    TempDir dir;
    OpenIn(dir); // the schema, made once
    const pid_t children[2] = {fork(), 0};
    if (children[0] == 0) {
        std::string error;
        auto memory = TranslationMemory::Open(dir.File("data/memory.db"), error);
        for (int round = 0; round < 30 && memory; ++round) {
            std::vector<MemoryUnit> units;
            for (int i = 0; i < 50; ++i)
                units.push_back({"first " + std::to_string(i), "un " + std::to_string(round), {}, "", ""});
            if (!memory->ReplaceSource("first.dic", units, error))
                _exit(1);
        }
        _exit(memory ? 0 : 1);
    }
    std::string error;
    auto memory = TranslationMemory::Open(dir.File("data/memory.db"), error);
    ASSERT_TRUE(memory) << error;
    for (int round = 0; round < 30; ++round) {
        std::vector<MemoryUnit> units;
        for (int i = 0; i < 50; ++i)
            units.push_back({"second " + std::to_string(i), "deux " + std::to_string(round), {}, "", ""});
        ASSERT_TRUE(memory->ReplaceSource("second.dic", units, error)) << error;
    }
    int status = 0;
    ASSERT_EQ(waitpid(children[0], &status, 0), children[0]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const MemoryStats stats = memory->Stats();
    EXPECT_EQ(stats.units, 100);
    EXPECT_EQ(memory->Find("first 7", 1, 100).at(0).translation, "un 29");
}

TEST(Memory, ADamagedMemorySaysSoAndIsNotOpened)
{
    TempDir dir;
    std::filesystem::create_directories(dir.File("data"));
    WriteBytes(dir.File("data/memory.db"), std::string(4096, 'x'));
    std::string error;
    EXPECT_FALSE(TranslationMemory::Open(dir.File("data/memory.db"), error));
    EXPECT_NE(error.find("cannot be used"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(dir.File("data/memory.db")), std::string(4096, 'x'));
}

// A dictionary of one script, extracted.
void Extracted(CTrelvarDoc& doc, const TempDir& dir, const std::string& name, const std::string& script)
{
    WriteBytes(dir.File(name + ".rc"), script);
    ASSERT_TRUE(doc.CreateDictionary(name, dir.Path().string(), dir.Path().string(), dir.File("out/")));
    ASSERT_EQ(InsertScript(*doc.Files(), dir.File(name + ".rc"), dir.File("out/" + name + ".rc"), {}).message,
              0);
    ExtractScripts(doc, {dir.File(name + ".rc")}, nullptr, nullptr, nullptr);
}

TEST(Memory, PretranslationFillsOnlyWhatHasNoTranslation)
{
    TempDir dir;
    auto memory = OpenIn(dir);
    CTrelvarDoc first;
    Extracted(
        first, dir, "first",
        "IDR_M MENU\r\nBEGIN\r\n    POPUP \"&File\"\r\n    BEGIN\r\n        MENUITEM \"&Open file\", 1\r\n"
        "        MENUITEM \"E&xit\", 2\r\n    END\r\nEND\r\n");
    first.General()->SetTranslation("File", "Fichier");
    first.General()->SetTranslation("Open file", "Ouvrir le fichier");
    first.General()->SetTranslation("Exit", "Quitter");
    std::string error;
    ASSERT_TRUE(RememberDictionary(*memory, first, error)) << error;

    CTrelvarDoc second;
    Extracted(
        second, dir, "second",
        "IDR_N MENU\r\nBEGIN\r\n    POPUP \"&File\"\r\n    BEGIN\r\n        MENUITEM \"&Open files\", 1\r\n"
        "        MENUITEM \"E&xit\", 2\r\n    END\r\nEND\r\n");
    second.General()->SetTranslation("Exit", "Sortir");
    const PretranslationSummary exact = Pretranslate(second, *memory);
    EXPECT_EQ(exact.filled, 1);
    EXPECT_EQ(exact.exact, 1);
    EXPECT_EQ(*second.General()->FindTranslation("File"), "Fichier");
    EXPECT_EQ(*second.General()->FindTranslation("Exit"), "Sortir"); // never replaced
    EXPECT_TRUE(second.General()->FindTranslation("Open files")->empty());
    // The access key of the resource goes to the same letter.
    const ContextEntry* file =
        ContextDictionary::FindEntry(*second.Context()->FindFile(dir.File("second.rc")), "IDR_N+File");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->ShortcutOf(0), 1);
    const PretranslationSummary close = Pretranslate(second, *memory, 80);
    EXPECT_EQ(close.filled, 1);
    EXPECT_EQ(close.exact, 0);
    EXPECT_EQ(*second.General()->FindTranslation("Open files"), "Ouvrir le fichier");
    EXPECT_EQ(close.sources.begin()->first, first.PathName());
}

} // namespace

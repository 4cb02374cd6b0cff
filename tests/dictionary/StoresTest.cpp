#include "TestSupport.h"
#include "dictionary/Codec.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/FileList.h"
#include "dictionary/FileSystem.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/NotExtractedList.h"
#include "dictionary/OrderedMap.h"
#include "dictionary/TextRules.h"

#include <gtest/gtest.h>
#include <unordered_set>
#include <utility>

TEST(TextRules, PlaceholderCaptionsAreNotTranslatable)
{
    for (const char* text : {"", "Button", "Static", "Tree7", "List1", "Animate3", "Generic1", "Hotkey2",
                             "Progress4", "Slider5", "Spin6", "Tab1"})
        EXPECT_FALSE(IsTranslatableText(text)) << text;
    for (const char* text : {"Tree8", "static", "Tree0", "List", "Lists1", "Tab10", "OK", "1"})
        EXPECT_TRUE(IsTranslatableText(text)) << text;
}

TEST(TextRules, LowerCasingCoversTheWindows1252UpperHalf)
{
    EXPECT_EQ(AnsiLower("C:\\SRC\\App.RC"), "c:\\src\\app.rc");
    EXPECT_EQ(AnsiLower("\xC9T\xC9 \xD7 \x8A\x9F"), "\xE9t\xE9 \xD7 \x9A\xFF");
    EXPECT_TRUE(EqualsNoCase("\xC0la", "\xE0LA"));
    EXPECT_FALSE(EqualsNoCase("abc", "abcd"));
}

TEST(TextRules, XEscapesDecodeTwoHexDigits)
{
    EXPECT_EQ(DecodeXEscapes("caf\\XE9 \\X41\\X42c"), "caf\xE9 ABc");
    EXPECT_EQ(DecodeXEscapes("no escape \\x41"), "no escape \\x41");
    EXPECT_EQ(DecodeXEscapes("end \\X4"), "end \x04");
    EXPECT_EQ(DecodeXEscapes("bad \\Xzz"), "bad \\Xzz");
}

TEST(OrderedMap, KeepsInsertionOrderAcrossErasures)
{
    OrderedMap<int> map;
    for (int i = 0; i < 500; ++i)
        map.Insert("k" + std::to_string(i), i);
    EXPECT_FALSE(map.Insert("k3", 99).second);
    EXPECT_EQ(*map.Find("k3"), 3);
    for (int i = 0; i < 500; i += 2)
        map.Erase("k" + std::to_string(i)); // enough to compact
    map.Assign("k1", -1);
    map.Assign("new", 1000);
    std::vector<int> values;
    for (const auto& e : map)
        values.push_back(e.value);
    ASSERT_EQ(values.size(), 251u);
    EXPECT_EQ(values[0], -1);
    EXPECT_EQ(values[1], 3);
    EXPECT_EQ(values.back(), 1000);
    EXPECT_EQ(*map.Find("k499"), 499);
    EXPECT_EQ(map.Find("k0"), nullptr);
}

TEST(GeneralDictionary, FirstTextWinsAndUnknownTextsAreNotAdded)
{
    GeneralDictionary dic;
    dic.AddText("File", "Fichier");
    dic.AddText("File", "Dossier");
    dic.AddText("Static", "Statique");
    dic.AddText("Tree7", "");
    dic.AddText("Tree8", "");
    dic.SetTranslation("Unknown", "Inconnu");
    dic.SetTranslation("Tree8", "Arbre");
    std::string translation = "stale";
    EXPECT_TRUE(dic.GetTranslation("File", translation));
    EXPECT_EQ(translation, "Fichier");
    EXPECT_FALSE(dic.GetTranslation("Unknown", translation));
    EXPECT_EQ(translation, "");
    EXPECT_FALSE(dic.GetTranslation("", translation));
    EXPECT_EQ(dic.TextCount(), 2);
    EXPECT_EQ(dic.CountTranslated(), 2);
    EXPECT_TRUE(dic.RemoveText("Tree8"));
    EXPECT_FALSE(dic.RemoveText("Tree8"));

    dic.SetDoNotTranslate("OK");
    EXPECT_TRUE(dic.IsDoNotTranslate("OK"));
    EXPECT_FALSE(dic.ClearDoNotTranslate(""));
    EXPECT_TRUE(dic.ClearDoNotTranslate("OK"));
    EXPECT_FALSE(dic.IsDoNotTranslate("OK"));

    GeneralDictionary decoding;
    decoding.SetDecode(true);
    decoding.AddText("Caf\\XE9", "Caf\\XE9 cr\\XE8me");
    EXPECT_TRUE(decoding.GetTranslation("Caf\xE9", translation));
    EXPECT_EQ(translation, "Caf\xE9 cr\xE8me");
}

TEST(ContextDictionary, EntriesAreKeyedByLowerCasePathAndFirstOneWins)
{
    ContextDictionary ctx;
    ctx.AddEntry("C:\\Src\\App.rc", "IDD_A+OK", "OK", "", 1, "");
    ctx.AddEntry("c:\\src\\app.rc", "IDD_A+OK", "OK", "D'accord", 2, "");
    ctx.AddEntry("c:\\src\\other.rc", "IDD_A+Static", "Static", "", 0, "");
    EXPECT_EQ(ctx.FileCount(), 2); // the section exists even though the entry was refused
    const auto* section = ctx.FindFile("C:\\SRC\\APP.RC");
    ASSERT_NE(section, nullptr);
    const ContextEntry* entry = ContextDictionary::FindEntry(*section, "IDD_A+OK");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->shortcut, 1);
    EXPECT_EQ(entry->contextTranslation, "");
    EXPECT_EQ(ctx.Files().begin()->key, "c:\\src\\app.rc");
    EXPECT_TRUE(ctx.RemoveFile("c:\\SRC\\app.rc"));
    EXPECT_FALSE(ctx.RemoveFile("c:\\src\\app.rc"));
}

TEST(ContextDictionary, ResourceQueriesDoNotConfuseNamePrefixes)
{
    GeneralDictionary general;
    general.AddText("Open", "Ouvrir");
    general.AddText("Close", "");
    general.AddText("Item", "");
    ContextDictionary ctx;
    ctx.AddEntry("app.rc", "IDD_A+Open", "Open", "", 1, "");
    ctx.AddEntry("app.rc", "IDD_AB+Close", "Close", "", 0, "");
    ctx.AddEntry("app.rc", "IDD_A+Item", "Item", "Article", 0, "IDC_COMBO1");
    ctx.AddEntry("app.rc", "IDD_AB+Item", "Item", "", 0, "idc_combo1");
    ctx.AddEntry("app.rc", "STRINGTABLE+Ready", "Ready", "", 0, "");

    // IDD_A is translated (its untranslated item has an in-context
    // translation); IDD_AB, a longer name, is not.
    EXPECT_EQ(ctx.UntranslatedResources("app.rc", general),
              (std::unordered_set<std::string>{"IDD_AB", "STRINGTABLE"}));
    EXPECT_TRUE(ctx.UntranslatedResources("unknown.rc", general).empty());
    EXPECT_TRUE(ctx.HasStringTable("APP.RC"));
    EXPECT_FALSE(ctx.HasStringTable("unknown.rc"));

    std::vector<std::string> texts;
    ctx.TextsOfItem("app.rc", "IDD_AB", "IDC_COMBO1", texts);
    EXPECT_EQ(texts, std::vector<std::string>{"Item"});
    ctx.TextsOfItem("app.rc", "IDD_A", "idc_combo1", texts);
    EXPECT_EQ(texts, std::vector<std::string>{"Item"});

    EXPECT_TRUE(ctx.ClearShortcuts("app.rc", "IDD_A"));
    EXPECT_FALSE(ctx.ClearShortcuts("app.rc", "IDD_A"));
    EXPECT_FALSE(ctx.ClearShortcuts());
}

TEST(NotExtractedList, MarksTheScriptsWhoseEntriesChange)
{
    NotExtractedList list;
    list.Add("c:\\src\\app.rc+IDD_ABOUT+5");
    EXPECT_TRUE(list.IsTouched("C:\\SRC\\APP.RC"));
    list.ForgetTouched("c:\\src\\app.rc");
    EXPECT_FALSE(list.IsTouched("c:\\src\\app.rc"));
    list.Add("c:\\src\\app.rc+IDD_ABOUT+5");
    EXPECT_FALSE(list.IsTouched("c:\\src\\app.rc")); // already there: nothing changed
    EXPECT_TRUE(list.Contains("C:\\Src\\App.rc+IDD_ABOUT+5"));
    EXPECT_FALSE(list.Contains("c:\\src\\app.rc+idd_about+5"));
    EXPECT_FALSE(list.Remove("c:\\src\\app.rc+IDD_ABOUT+4"));
    EXPECT_FALSE(list.IsTouched("c:\\src\\app.rc"));
    EXPECT_TRUE(list.Remove("c:\\src\\app.rc+IDD_ABOUT+5"));
    EXPECT_TRUE(list.IsTouched("c:\\src\\app.rc"));
    EXPECT_EQ(NotExtractedList::MakeKey("a.rc", "IDR_MAIN", 4), "a.rc+IDR_MAIN+4");
}

TEST(FileList, LookupsIgnoreCaseButPathsKeepIt)
{
    FileList list;
    EXPECT_TRUE(list.AddFile("/Work/App.rc", "/Out/App.rc", ""));
    EXPECT_FALSE(list.AddFile("/work/app.rc", "/elsewhere.rc", "1+2"));
    std::string destination, stamp;
    EXPECT_TRUE(list.Find("/WORK/APP.RC", destination, stamp));
    EXPECT_EQ(destination, "/Out/App.rc");
    EXPECT_EQ(list.Files().begin()->value.source, "/Work/App.rc");
    list.RemoveFile("/work/app.RC");
    EXPECT_FALSE(list.HasFiles());
}

TEST(FileStamps, AreFileTimesInTwoSignedHalves)
{
    EXPECT_EQ(FormatStamp(0x01D5'0000'8000'0001ULL), "-2147483647+30736384");
    EXPECT_EQ(ParseStamp("-2147483647+30736384"), 0x01D5'0000'8000'0001ULL);
    EXPECT_EQ(ParseStamp(""), 0u);
    TempDir dir;
    const std::string path = dir.File("a.rc");
    WriteBytes(path, "x");
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::from_sys(
                                               std::chrono::sys_seconds{std::chrono::seconds{1577836800}}));
    // 2020-01-01 00:00 UTC as a Windows file time.
    EXPECT_EQ(*LastWriteFileTime(path), 132223104000000000ULL);
}

class ChangedFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 4; ++i) {
            paths.push_back(dir.File("s" + std::to_string(i) + ".rc"));
            WriteBytes(paths.back(), "x");
        }
    }
    // Stamps every file an hour before its current time, so all count as changed.
    void AddAllAsOld(FileList& list)
    {
        for (const auto& p : paths)
            list.AddFile(p, p + ".out", FormatStamp(*LastWriteFileTime(p) - 36000000000ULL));
    }
    void CheckAll(FileList& list)
    {
        for (const auto& p : paths)
            list.CheckChanged(p, p + ".out");
    }
    TempDir dir;
    std::vector<std::string> paths;
};

TEST_F(ChangedFiles, YesAndNoAskForEveryFile)
{
    ScriptedQuestion question(
        {YesNoAllQuestion::Yes, YesNoAllQuestion::No, YesNoAllQuestion::No, YesNoAllQuestion::Yes});
    FileList list(1, &question);
    AddAllAsOld(list);
    CheckAll(list);
    EXPECT_EQ(question.asked.size(), 4u);
    EXPECT_EQ(question.asked[0],
              "The file " + paths[0] + " has changed, do you want to extract the new resources ?");
    EXPECT_EQ(list.ChangedCount(), 2);
    EXPECT_TRUE(list.IsChanged(paths[0]));
    EXPECT_TRUE(list.IsChanged(paths[3]));
}

TEST_F(ChangedFiles, YesAllAndNoAllHoldForTheRound)
{
    ScriptedQuestion yesAll({YesNoAllQuestion::No, YesNoAllQuestion::YesAll});
    FileList list(1, &yesAll);
    AddAllAsOld(list);
    CheckAll(list);
    EXPECT_EQ(yesAll.asked.size(), 2u);
    EXPECT_EQ(list.ChangedCount(), 3);

    ScriptedQuestion noAll({YesNoAllQuestion::Yes, YesNoAllQuestion::NoAll});
    FileList other(1, &noAll);
    AddAllAsOld(other);
    CheckAll(other);
    EXPECT_EQ(noAll.asked.size(), 2u);
    EXPECT_EQ(other.ChangedCount(), 1);
    // A new round starts with the answer reset by the caller. Scripts
    // already asked about are not asked about again...
    other.SetLastAnswer(0);
    other.ForgetAllChanged();
    noAll.answers = {YesNoAllQuestion::Yes, YesNoAllQuestion::Yes, YesNoAllQuestion::Yes,
                     YesNoAllQuestion::Yes};
    CheckAll(other);
    EXPECT_EQ(noAll.asked.size(), 2u);
    EXPECT_EQ(other.ChangedCount(), 0);
    // ...until they change again.
    for (const auto& p : paths)
        TouchFile(p, 10);
    CheckAll(other);
    EXPECT_EQ(noAll.asked.size(), 6u);
    EXPECT_EQ(other.ChangedCount(), 4);
}

TEST_F(ChangedFiles, WithoutAskingNewerFilesAreQueuedAndUpToDateOnesAreNot)
{
    ScriptedQuestion question;
    FileList list(0, &question);
    AddAllAsOld(list);
    list.StampFile(paths[1]);
    list.AddFile(dir.File("gone.rc"), "gone.out", "");
    CheckAll(list);
    list.CheckChanged(dir.File("gone.rc"), "gone.out");
    EXPECT_TRUE(question.asked.empty());
    EXPECT_EQ(list.ChangedCount(), 3);
    EXPECT_FALSE(list.IsChanged(paths[1]));
    list.ForgetChanged(paths[0]);
    EXPECT_EQ(list.ChangedCount(), 2);
}

TEST(Codec, Windows1252BothWays)
{
    // Only well-formed UTF-8 counts as typed text: no overlong forms, no
    // surrogates, nothing above U+10FFFF.
    EXPECT_TRUE(Codec::IsValidUtf8("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"));
    for (const char* bad : {"\xE0\x81\x81", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3"})
        EXPECT_FALSE(Codec::IsValidUtf8(bad)) << bad;
    const Codec codec;
    EXPECT_EQ(codec.ToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    std::string bytes;
    EXPECT_TRUE(codec.FromUtf8("caf\xC3\xA9 \xE2\x82\xAC", bytes));
    EXPECT_EQ(bytes, "caf\xE9 \x80");
    EXPECT_FALSE(codec.FromUtf8("\xCE\xA9mega", bytes)); // no Greek letters in Windows-1252
    EXPECT_EQ(bytes, "caf\xE9 \x80");
    EXPECT_FALSE(codec.FromUtf8("\xFF", bytes)); // not UTF-8
    for (int b = 1; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            continue; // undefined in the code page
        const std::string one(1, static_cast<char>(b));
        std::string back;
        ASSERT_TRUE(codec.FromUtf8(codec.ToUtf8(one), back)) << b;
        EXPECT_EQ(back, one);
    }
    const Codec cyrillic("WINDOWS-1251");
    EXPECT_EQ(cyrillic.ToUtf8("\xC0"), "\xD0\x90");
}

TEST(OrderedMap, FindsEveryKeyAfterManyInsertionsAndErasures)
{
    // The flat index grows, and erasing moves probed slots back: every live
    // key must stay findable and every erased one gone, in insertion order.
    OrderedMap<int> map;
    for (int i = 0; i < 5000; ++i)
        map.Insert("key " + std::to_string(i), i);
    for (int i = 0; i < 5000; i += 3)
        EXPECT_TRUE(map.Erase("key " + std::to_string(i)));
    int expected = 0;
    for (const auto& e : map) {
        while (expected % 3 == 0)
            ++expected;
        EXPECT_EQ(e.value, expected);
        ++expected;
    }
    for (int i = 0; i < 5000; ++i) {
        const int* found = map.Find("key " + std::to_string(i));
        EXPECT_EQ(found != nullptr, i % 3 != 0) << i;
    }
    EXPECT_EQ(map.Size(), 5000u - 1667u);
    EXPECT_TRUE(map.InsertWith("key 0", [] { return 7; }).second);
    EXPECT_FALSE(map.InsertWith("key 1", [] { return 7; }).second);
}

TEST(OrderedMap, ACursorSearchFindsWhatFindFinds)
{
    // The cursor only guesses where to look: in insertion order, backwards,
    // repeated, for keys erased (their entries are empty and dead) and after
    // the entries were compacted under it, it must find what Find finds.
    OrderedMap<int> map;
    std::vector<std::string> keys;
    for (int i = 0; i < 300; ++i) {
        keys.push_back("text " + std::to_string(i % 7 == 0 ? i / 7 : i));
        map.Insert(keys.back(), i);
    }
    keys.push_back("");
    keys.push_back("absent");
    auto agree = [&](const std::vector<std::string>& order, std::size_t& cursor) {
        for (const std::string& key : order)
            ASSERT_EQ(map.FindAfter(key, cursor), std::as_const(map).Find(key)) << key;
    };
    std::size_t cursor = 0;
    agree(keys, cursor);
    std::vector<std::string> backwards(keys.rbegin(), keys.rend());
    agree(backwards, cursor);
    std::vector<std::string> twice;
    for (const std::string& key : keys)
        twice.insert(twice.end(), {key, key});
    agree(twice, cursor);
    for (int i = 0; i < 300; i += 2)
        map.Erase("text " + std::to_string(i));
    std::size_t stale = 1;
    agree(keys, stale); // some erased, the index not yet compacted
    stale = 0;          // the first entry, erased: its key is now empty
    EXPECT_EQ(map.FindAfter("", stale), nullptr);
    map.Insert("", 1000);
    for (int i = 1; i < 300; i += 4)
        map.Erase("text " + std::to_string(i)); // now compacted
    stale = 250;
    agree(keys, stale);
    agree(twice, stale);
}

TEST(OrderedMap, KeysStayWholeThroughMovesAndCompaction)
{
    // A map holds the bytes of its keys: they go with the map when it is
    // moved, the map moved from takes new keys without writing over them,
    // an empty key is a live one, and a key longer than a block of bytes is
    // kept whole.
    auto keyOf = [](int i) { return i == 0 ? std::string() : "key " + std::to_string(i); };
    const std::string longKey(100000, 'x');
    OrderedMap<int> map;
    map.Insert(longKey, 3000);
    for (int i = 0; i < 3000; ++i)
        map.Insert(keyOf(i), i);
    OrderedMap<int> moved(std::move(map));
    for (int i = 0; i < 3000; ++i) {
        map.Insert("reused " + std::to_string(i), -i);
        moved.Insert("added " + std::to_string(i), 3001 + i);
    }
    OrderedMap<int> assigned;
    assigned.Insert("replaced", 1);
    assigned = std::move(moved);
    moved.Insert("after the move", 1);
    for (int i = 0; i < 3000; ++i) {
        if (i % 3 != 1) { // more dead than live: compacts
            assigned.Erase(keyOf(i));
            assigned.Erase("added " + std::to_string(i));
        }
    }
    std::vector<std::string> expected{longKey};
    for (int i = 1; i < 3000; i += 3)
        expected.push_back(keyOf(i));
    for (int i = 1; i < 3000; i += 3)
        expected.push_back("added " + std::to_string(i));
    std::vector<std::string> keys;
    for (const auto& e : assigned)
        keys.emplace_back(e.key);
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(*assigned.Find(longKey), 3000);
    EXPECT_EQ(*assigned.Find("added 2998"), 5999);
    EXPECT_EQ(map.Size(), 3000u);
    EXPECT_EQ(*map.Find("reused 2999"), -2999);
    OrderedMap<int> empty;
    empty.Insert("", 5);
    EXPECT_EQ(empty.Size(), 1u);
    EXPECT_EQ(empty.begin()->value, 5);
}

TEST(ContextDictionary, UntranslatedResourcesTakeEveryNameAKeyCanBelongTo)
{
    GeneralDictionary general;
    ContextDictionary context;
    general.AddText("Ctrl+N", "");
    general.AddText("Ready", "Prêt");
    // A resource named with a "+" (a quoted name) and a text holding one.
    context.AddEntry("/a.rc", "IDD_A+B+Ready", "Ready", "", 0, "");
    context.AddEntry("/a.rc", "IDR_MENU+Ctrl+N", "Ctrl+N", "", 0, "");
    context.AddEntry("/a.rc", "IDD_C+Ctrl+N", "Ctrl+N", "Ctrl+N", 0, "");
    EXPECT_EQ(context.UntranslatedResources("/a.rc", general),
              (std::unordered_set<std::string>{"IDR_MENU", "IDR_MENU+Ctrl"}));
}

TEST(SparseText, AnEntrysRareTextsCopyMoveAndEmptyLikeStrings)
{
    // In-context translations and combo identifiers hold no memory while
    // empty; they must still behave as the strings they replace.
    ContextEntry a;
    EXPECT_TRUE(a.contextTranslation.empty());
    EXPECT_EQ(a.contextTranslation, "");
    a.contextTranslation = "Ouvrir";
    a.itemReference = std::string("IDC_LIST");
    ContextEntry copy = a;
    copy.contextTranslation = "Fermer";
    EXPECT_EQ(a.contextTranslation, "Ouvrir"); // the copy has its own text
    EXPECT_EQ(copy.itemReference, "IDC_LIST");
    const ContextEntry& same = copy;
    copy = same; // assigned to itself, the entry keeps its texts
    EXPECT_EQ(copy.contextTranslation, "Fermer");
    ContextEntry moved = std::move(copy);
    EXPECT_EQ(moved.contextTranslation, "Fermer");
    moved.contextTranslation = std::string(); // emptied by a moved string too
    moved.itemReference = "";
    EXPECT_TRUE(moved.contextTranslation.empty());
    EXPECT_EQ(moved.itemReference.size(), 0u);
    const std::string& read = a.contextTranslation;
    EXPECT_EQ(read, "Ouvrir");
}

#include "TestSupport.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/DictionaryFormat.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/LineFile.h"
#include "dictionary/Messages.h"
#include "dictionary/NotExtractedList.h"

#include <gtest/gtest.h>

namespace {

const std::string S = "\xA4"; // the field separator of .dic and .ent files

std::string Q(const std::string& field)
{
    return "\"" + field + "\"";
}

} // namespace

TEST(DicFile, RecordsAreQuotedFieldsSeparatedByA4)
{
    TempDir dir;
    GeneralDictionary dic;
    dic.SetFilePath(dir.File("d.dic"));
    dic.AddText("File", "Fichier");
    dic.AddText("Empty", "");
    dic.AddText("He said \"no\"", "Il a dit \"non\"");
    dic.AddText("OK", "");
    dic.SetDoNotTranslate("OK");
    dic.SetDoNotTranslate("Only in the set");
    ASSERT_TRUE(dic.Save());
    const std::string expected = "General dictionary\r\n" + Q("File") + S + Q("Fichier") + S + Q("0") +
                                 "\r\n" + Q("Empty") + S + Q("") + S + Q("0") + "\r\n" + Q("He said \"no\"") +
                                 S + Q("Il a dit \"non\"") + S + Q("0") + "\r\n" + Q("OK") + S + Q("") + S +
                                 Q("1") + "\r\n";
    EXPECT_EQ(ReadBytes(dic.FilePath()), expected);

    GeneralDictionary back;
    back.SetFilePath(dic.FilePath());
    ASSERT_TRUE(back.Load());
    std::string translation;
    EXPECT_TRUE(back.GetTranslation("He said \"no\"", translation));
    EXPECT_EQ(translation, "Il a dit \"non\"");
    EXPECT_TRUE(back.GetTranslation("Empty", translation));
    EXPECT_EQ(translation, "");
    EXPECT_TRUE(back.IsDoNotTranslate("OK"));
    EXPECT_FALSE(back.IsDoNotTranslate("Only in the set"));
    // Loaded and saved again: the same bytes.
    back.SetFilePath(dir.File("again.dic"));
    ASSERT_TRUE(back.Save());
    EXPECT_EQ(ReadBytes(back.FilePath()), expected);
}

TEST(DicFile, ReadingToleratesOddLines)
{
    TempDir dir;
    const std::string path = dir.File("odd.dic");
    WriteBytes(path, "General dictionary\n" + S + S + Q("Lead") + S + S + Q("Tete") + "\n" + "\n" +
                         Q("NoFields") + "\n" + Q("Static") + S + Q("x") + "\n" + "bare" + S + "word" + S +
                         "1" + S + "extra\n" + "\"\n");
    GeneralDictionary dic;
    dic.SetFilePath(path);
    ASSERT_TRUE(dic.Load());
    std::string t;
    EXPECT_TRUE(dic.GetTranslation("Lead", t));
    EXPECT_EQ(t, "Tete");
    EXPECT_TRUE(dic.GetTranslation("NoFields", t));
    EXPECT_EQ(t, "");
    EXPECT_FALSE(dic.GetTranslation("Static", t));
    EXPECT_TRUE(dic.GetTranslation("bare", t));
    EXPECT_EQ(t, "word");
    EXPECT_TRUE(dic.IsDoNotTranslate("bare"));
    EXPECT_EQ(dic.TextCount(), 3);
}

// A record is whole when each of its fields is quoted and single separators
// part them; any other line is read field by field, a run of separators
// counting as one, and counts as damaged.
TEST(DicFile, ARecordIsWholeOnlyWhenEveryFieldIsQuoted)
{
    struct Case
    {
        std::string line;
        bool whole;
        std::vector<std::string> fields;
    };
    const std::vector<Case> dic = {
        {Q("a") + S + Q("b") + S + Q("0"), true, {"a", "b", "0"}},
        {Q("") + S + Q("") + S + Q(""), true, {"", "", ""}},
        {Q("a") + S + Q("b"), false, {"a", "b"}},
        {Q("a") + S + Q("b") + S + Q("0") + S + Q("x"), false, {"a", "b", "0"}},
        {Q("a") + S + S + Q("b") + S + Q("0"), false, {"a", "b", "0"}},
        {S + Q("a") + S + Q("b") + S + Q("0"), false, {"a", "b", "0"}},
        {Q("a") + S + Q("b") + S + "\"0", false, {"a", "b", "0"}},
        {std::string("a") + S + "b" + S + "c", false, {"a", "b", "c"}},
        {"\"", false, {""}},
        {S + S, false, {}},
    };
    for (const Case& c : dic) {
        const RecordFields<3> record = SplitRecord<3>(c.line, '\xA4', 3);
        EXPECT_EQ(record.whole, c.whole) << c.line;
        EXPECT_EQ(std::vector<std::string>(record.fields.begin(), record.fields.begin() + record.count),
                  c.fields)
            << c.line;
    }
    // An in-context record has four fields, or five with an item reference.
    const std::string four = Q("k") + S + Q("o") + S + Q("t") + S + Q("1");
    EXPECT_TRUE((SplitRecord<5>(four, '\xA4', 4).whole));
    EXPECT_TRUE((SplitRecord<5>(four + S + Q("IDC_A"), '\xA4', 4).whole));
    EXPECT_FALSE((SplitRecord<5>(four + S + Q("IDC_A") + S + Q("x"), '\xA4', 4).whole));
    EXPECT_FALSE((SplitRecord<5>(Q("k") + S + Q("o") + S + Q("t"), '\xA4', 4).whole));
}

TEST(DicFile, PlainTextFilesHaveNoHeader)
{
    TempDir dir;
    const std::string path = dir.File("import.txt");
    WriteBytes(path, Q("First") + S + Q("Premier") + "\r\n");
    GeneralDictionary dic(false);
    dic.SetFilePath(path);
    ASSERT_TRUE(dic.Load());
    EXPECT_EQ(dic.TextCount(), 1);
}

TEST(EntFile, ThreeRecordsRoundTrip)
{
    TempDir dir;
    ContextDictionary ctx;
    ctx.SetFilePath(dir.File("d.ent"));
    ctx.AddEntry("c:\\src\\app.rc", "IDD_ABOUT+OK", "OK", "", 1, "");
    ctx.AddEntry("c:\\src\\app.rc", "IDR_MAIN+&New\\tCtrl+N", "&New\\tCtrl+N", "&Nouveau", -1, "");
    ctx.AddEntry("c:\\src\\app.rc", "IDD_ABOUT+Red", "Red", "Rouge", 0, "IDC_COMBO1");
    ASSERT_TRUE(ctx.Save());
    const std::string expected = "Specific dictionary\r\n" + Q("c:\\src\\app.rc+IDD_ABOUT+OK") + S + Q("OK") +
                                 S + Q("") + S + Q("1") + "\r\n" +
                                 Q("c:\\src\\app.rc+IDR_MAIN+&New\\tCtrl+N") + S + Q("&New\\tCtrl+N") + S +
                                 Q("&Nouveau") + S + Q("") + "\r\n" + Q("c:\\src\\app.rc+IDD_ABOUT+Red") + S +
                                 Q("Red") + S + Q("Rouge") + S + Q("0") + S + Q("IDC_COMBO1") + "\r\n";
    EXPECT_EQ(ReadBytes(ctx.FilePath()), expected);

    ContextDictionary back;
    back.SetFilePath(ctx.FilePath());
    ASSERT_TRUE(back.Load());
    const auto* section = back.FindFile("c:\\src\\app.rc");
    ASSERT_NE(section, nullptr);
    const ContextEntry* menu = ContextDictionary::FindEntry(*section, "IDR_MAIN+&New\\tCtrl+N");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->shortcut, -1);
    EXPECT_EQ(menu->contextTranslation, "&Nouveau");
    EXPECT_EQ(ContextDictionary::FindEntry(*section, "IDD_ABOUT+Red")->itemReference, "IDC_COMBO1");
    back.SetFilePath(dir.File("again.ent"));
    ASSERT_TRUE(back.Save());
    EXPECT_EQ(ReadBytes(back.FilePath()), expected);
}

// A large file is read by two threads, one half each; whatever the place
// where the halves meet (inside a text, on a CR, on its LF), the result is
// that of one pass: the same sections in the same order, the first of two
// records of one key kept, the same first damaged line.
TEST(EntFile, ALargeFileReadInHalvesGivesWhatOnePassGives)
{
    TempDir dir;
    const std::string path = dir.File("big.ent");
    auto record = [](const std::string& script, int i, const std::string& translation) {
        const std::string text = "Text " + std::to_string(i);
        return Q(script + "+IDD_" + std::to_string(i % 50) + "+" + text) + S + Q(text) + S + Q(translation) +
               S + Q("0");
    };
    auto make = [&](std::size_t pad) {
        std::string bytes =
            "Specific dictionary\r\n" + record("/p/first.rc", 0, std::string(pad, 'x')) + "\r\n";
        // Scripts whose records go on across the middle, or come back
        // after another script's; LF-only lines among CR LF ones.
        for (int i = 1; i < 24000; ++i) {
            const std::string script = i < 9000    ? "/p/a.rc"
                                       : i < 15000 ? "/p/b.rc"
                                       : i % 2     ? "/p/a.rc"
                                                   : "/p/c.rc";
            bytes += record(script, i, i % 3 ? "" : "T" + std::to_string(i)) + (i % 7 ? "\r\n" : "\n");
        }
        bytes += record("/p/a.rc", 9001, "second, not kept") + "\r\n"; // a key read before
        bytes += Q("/p/a.rc+IDD_1+cut short") + S + Q("cut\r\n");      // damaged
        bytes += record("/p/d.rc", 1, "") + "\r\n";
        return bytes;
    };
    // With size - 2 * at bytes more at the start, the file's middle falls on
    // what is byte `at` of the file without them.
    const std::string base = make(0);
    const std::size_t cr = base.rfind("\r\n", base.size() / 2);
    const std::size_t lf = base.rfind("\"\n", base.size() / 2) + 1;
    for (std::size_t at : {cr - 10, cr - 1, cr, cr + 1, cr + 2, lf, lf + 1}) {
        const std::size_t pad = base.size() - 2 * at;
        const std::string bytes = make(pad);
        ASSERT_GT(bytes.size(), std::size_t(1) << 20);
        WriteBytes(path, bytes);

        ContextDictionary onePass;
        LineFile memory;
        memory.OpenMemory(bytes);
        ASSERT_TRUE(onePass.Read(memory));
        ContextDictionary halves;
        halves.SetFilePath(path);
        ASSERT_TRUE(halves.Load());
        std::string expected, got;
        LineFile out;
        out.OpenMemoryForWriting(&expected);
        onePass.Write(out);
        out.Close();
        out.OpenMemoryForWriting(&got);
        halves.Write(out);
        out.Close();
        ASSERT_EQ(got, expected) << pad;
        EXPECT_EQ(halves.DamagedLine(), onePass.DamagedLine()) << pad;
        EXPECT_EQ(halves.DamagedLine(), 24003);
        EXPECT_EQ(halves.FileCount(), 5);
    }
}

TEST(EntFile, LinesWithoutAFirstFieldAreIgnored)
{
    TempDir dir;
    const std::string path = dir.File("d.ent");
    WriteBytes(path, "Dictionnaire sp\xE9"
                     "cifique\r\n" +
                         S + S + "\r\n" + Q("a.rc+X+T") + "\r\n" + Q("a.rc+Y+U") + S + Q("U") + S + Q("V") +
                         S + Q("3") + "\r\n");
    ContextDictionary ctx;
    ctx.SetFilePath(path);
    ASSERT_TRUE(ctx.Load());
    EXPECT_EQ(ctx.EntryCount(), 1); // the record without an original is a placeholder caption: refused
    EXPECT_EQ(ContextDictionary::FindEntry(*ctx.FindFile("a.rc"), "Y+U")->shortcut, 3);
}

TEST(DictionaryKeys, APlusSignInTheScriptsFolderStaysInThePath)
{
    TempDir dir;
    const std::string script = "/src/visual c++ 2008/app.rc";
    ContextDictionary ctx;
    ctx.SetFilePath(dir.File("d.ent"));
    ctx.AddEntry(script, "IDD_ABOUT+C++ rules", "C++ rules", "", -1, "");
    ctx.AddEntry("/src/other/plain+tool.rc2", "IDD_X+Y", "Y", "", -1, "");
    ASSERT_TRUE(ctx.Save());
    ContextDictionary back;
    back.SetFilePath(ctx.FilePath());
    ASSERT_TRUE(back.Load());
    ASSERT_NE(back.FindFile(script), nullptr);
    EXPECT_NE(ContextDictionary::FindEntry(*back.FindFile(script), "IDD_ABOUT+C++ rules"), nullptr);
    // Without ".rc" before a plus sign the first one ends the path.
    ASSERT_NE(back.FindFile("/src/other/plain"), nullptr);

    NotExtractedList list;
    list.Add("/Src/Visual C++ 2008/App.rc+IDD_ABOUT+5");
    EXPECT_TRUE(list.Contains("/src/visual c++ 2008/app.rc+IDD_ABOUT+5"));
    EXPECT_FALSE(list.Contains("/src/visual c++ 2008/app.rc+idd_about+5"));
    EXPECT_TRUE(list.IsTouched("/src/visual c++ 2008/app.rc"));
    std::string source, resource;
    int kind = 0;
    ASSERT_TRUE(
        NotExtractedList::SplitKey("/Src/Visual C++ 2008/App.rc+IDD_ABOUT+5", source, resource, kind));
    EXPECT_EQ(source, "/Src/Visual C++ 2008/App.rc");
    EXPECT_EQ(resource, "IDD_ABOUT");
    EXPECT_EQ(kind, 5);
    EXPECT_FALSE(NotExtractedList::SplitKey("app.rc+5", source, resource, kind));
}

TEST(FilFile, FolderLineAndRecords)
{
    TempDir dir;
    FileList list;
    list.SetFilePath(dir.File("d.fil"));
    list.SetDefaultFolders("c:\\src", "c:\\dst");
    list.AddFile("c:\\src\\app.rc", "c:\\dst\\app.rc", "-1+2");
    list.AddFile("c:\\src\\b.rc", "c:\\dst", "");
    ASSERT_TRUE(list.Save());
    const std::string expected = "List of files\r\n" + Q("c:\\src") + ";" + Q("c:\\dst") + "\r\n" +
                                 Q("c:\\src\\app.rc") + ";" + Q("c:\\dst\\app.rc") + ";" + Q("-1+2") +
                                 "\r\n" + Q("c:\\src\\b.rc") + ";" + Q("c:\\dst") + ";" + Q("") + "\r\n";
    EXPECT_EQ(ReadBytes(list.FilePath()), expected);

    FileList back;
    back.SetFilePath(list.FilePath());
    ASSERT_TRUE(back.Load());
    EXPECT_EQ(back.DefaultSourceFolder(), "c:\\src");
    EXPECT_EQ(back.DefaultDestinationFolder(), "c:\\dst");
    std::string destination, stamp;
    ASSERT_TRUE(back.Find("c:\\src\\app.rc", destination, stamp));
    EXPECT_EQ(stamp, "-1+2");
    back.SetFilePath(dir.File("again.fil"));
    ASSERT_TRUE(back.Save());
    EXPECT_EQ(ReadBytes(back.FilePath()), expected);
}

TEST(FilFile, EmptyFieldsKeepTheirPlace)
{
    TempDir dir;
    FileList list;
    list.SetFilePath(dir.File("d.fil"));
    list.SetDefaultFolders("", "/dst");
    list.AddFile("/src/a.rc", "/dst/a.rc", "");
    ASSERT_TRUE(list.Save());
    FileList back(0);
    back.SetFilePath(list.FilePath());
    ASSERT_TRUE(back.Load());
    EXPECT_EQ(back.DefaultSourceFolder(), "");
    EXPECT_EQ(back.DefaultDestinationFolder(), "/dst");

    // Lines of another shape are still read piece by piece.
    WriteBytes(list.FilePath(), "List of files\r\n\"/s\" ; \"/d\"\r\n/src/b.rc\";\"/dst/b.rc\r\n");
    ASSERT_TRUE(back.Load());
    EXPECT_EQ(back.DefaultSourceFolder(), "/s");
    EXPECT_EQ(back.DefaultDestinationFolder(), " ; ");
    ASSERT_NE(back.Find("/src/b.rc"), nullptr);
    EXPECT_EQ(back.Find("/src/b.rc")->destination, "/dst/b.rc");
}

TEST(FilFile, AnEmptyFolderLineIsSkippedAndAnEmptyStampMeansChanged)
{
    TempDir dir;
    const std::string script = dir.File("App.rc");
    WriteBytes(script, "x");
    const std::string path = dir.File("d.fil");
    WriteBytes(path,
               "Liste des fichiers\r\n\r\n" + Q(script) + ";" + Q(dir.File("out.rc")) + ";" + Q("") + "\r\n");
    ScriptedQuestion question({YesNoAllQuestion::Yes});
    FileList list(1, &question);
    list.SetFilePath(path);
    ASSERT_TRUE(list.Load());
    EXPECT_EQ(list.FileCount(), 1);
    EXPECT_EQ(list.DefaultSourceFolder(), "");
    EXPECT_EQ(question.asked.size(), 1u);
    EXPECT_TRUE(list.IsChanged(script));
}

TEST(FilFile, AStampOfAnUnchangedFileIsNotQueued)
{
    TempDir dir;
    const std::string script = dir.File("app.rc");
    WriteBytes(script, "x");
    FileList list;
    list.SetFilePath(dir.File("d.fil"));
    list.AddFile(script, dir.File("out.rc"), "");
    list.StampFile(script);
    ASSERT_TRUE(list.Save());
    FileList back(1, nullptr);
    back.SetFilePath(list.FilePath());
    ASSERT_TRUE(back.Load());
    EXPECT_EQ(back.ChangedCount(), 0);
    TouchFile(script, 60);
    FileList later(0, nullptr);
    later.SetFilePath(list.FilePath());
    ASSERT_TRUE(later.Load());
    EXPECT_EQ(later.ChangedCount(), 1);
}

TEST(NirFile, KeysRoundTripAndAWrongHeaderIsRefused)
{
    TempDir dir;
    NotExtractedList list;
    list.SetFilePath(dir.File("d.nir"));
    list.Add("c:\\src\\app.rc+IDD_ABOUT+5");
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(ReadBytes(list.FilePath()),
              "Not imported resources\r\n" + Q("c:\\src\\app.rc+IDD_ABOUT+5") + "\r\n");

    NotExtractedList back;
    back.SetFilePath(list.FilePath());
    ASSERT_TRUE(back.Load());
    EXPECT_TRUE(back.Contains("c:\\src\\app.rc+IDD_ABOUT+5"));
    EXPECT_TRUE(back.IsTouched("c:\\src\\app.rc"));

    WriteBytes(back.FilePath(), "Not imported resources \r\n" + Q("x.rc+IDD_X+5") + "\r\n");
    RecordingReporter reporter;
    EXPECT_FALSE(back.Load(&reporter));
    ASSERT_EQ(reporter.texts.size(), 1u);
    EXPECT_EQ(reporter.texts[0], back.FilePath() + " is not a not imported resources file");
    EXPECT_TRUE(back.Contains("c:\\src\\app.rc+IDD_ABOUT+5")); // unchanged
    EXPECT_FALSE(back.Contains("x.rc+IDD_X+5"));

    NotExtractedList missing;
    missing.SetFilePath(dir.File("none.nir"));
    EXPECT_TRUE(missing.Load(&reporter));
    EXPECT_EQ(missing.Count(), 0);
    EXPECT_EQ(reporter.texts.size(), 1u);
}

TEST(DictionaryFiles, GarbageNeverCrashes)
{
    TempDir dir;
    std::string garbage;
    unsigned seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        garbage += static_cast<char>(seed >> 16);
    }
    for (const char* name : {"g.dic", "g.ent", "g.fil", "g.nir"}) {
        const std::string path = dir.File(name);
        WriteBytes(path, garbage);
        GeneralDictionary dic;
        dic.SetFilePath(path);
        dic.Load();
        ContextDictionary ctx;
        ctx.SetFilePath(path);
        ctx.Load();
        FileList fil(0);
        fil.SetFilePath(path);
        fil.Load();
        NotExtractedList nir;
        nir.SetFilePath(path);
        nir.Load();
        dic.SetFilePath(path + ".out");
        EXPECT_TRUE(dic.Save());
    }
}

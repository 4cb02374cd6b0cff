#include "TestSupport.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "dictionary/NotExtractedList.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const std::string S = "\xA4";

class RecordingProgress : public ProgressSink
{
public:
    void SetRange(int maximum) override { range = maximum; }
    void SetPosition(int position) override { positions.push_back(position); }
    int range = -1;
    std::vector<int> positions;
};

// A complete dictionary "d" in the folder, with one text.
std::string WriteDictionary(const TempDir& dir, const std::string& dicHeader = "General dictionary")
{
    WriteBytes(dir.File("d.dic"), dicHeader + "\r\n\"File\"" + S + "\"Fichier\"" + S + "\"0\"\r\n");
    WriteBytes(dir.File("d.ent"),
               "Specific dictionary\r\n\"a.rc+IDD_A+File\"" + S + "\"File\"" + S + "\"\"" + S + "\"1\"\r\n");
    WriteBytes(dir.File("d.fil"), "List of files\r\n\"/src\";\"/dst\"\r\n");
    return dir.File("d.dic");
}

} // namespace

TEST(Document, OpensTheFourFilesAndNamesItself)
{
    TempDir dir;
    const std::string dic = WriteDictionary(dir);
    WriteBytes(dir.File("d.nir"), "Not imported resources\r\n\"a.rc+IDD_B+5\"\r\n");
    CTrelvarDoc doc;
    RecordingReporter reporter;
    RecordingProgress progress;
    doc.SetReporter(&reporter);
    ASSERT_TRUE(doc.OnOpenDocument(dic, &progress));
    EXPECT_TRUE(reporter.texts.empty());
    EXPECT_EQ(progress.range, 4);
    EXPECT_EQ(progress.positions.back(), 4);
    EXPECT_EQ(doc.Name(), "d");
    EXPECT_EQ(doc.Folder(), dir.Path().string());
    EXPECT_EQ(doc.DefaultSourceFolder(), "/src");
    EXPECT_EQ(doc.DefaultDestinationFolder(), "/dst");
    EXPECT_EQ(doc.ChangeMask(), -1);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.General()->TextCount(), 1);
    EXPECT_EQ(doc.Context()->EntryCount(), 1);
    EXPECT_TRUE(doc.NotExtracted()->Contains("a.rc+IDD_B+5"));
}

TEST(Document, AMissingNirIsSilentAndAFrenchHeaderIsWrittenBackInEnglish)
{
    TempDir dir;
    const std::string dic = WriteDictionary(dir, "Dictionnaire g\xE9n\xE9ral");
    CTrelvarDoc doc;
    RecordingReporter reporter;
    doc.SetReporter(&reporter);
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    EXPECT_TRUE(reporter.texts.empty());
    EXPECT_EQ(doc.NotExtracted()->Count(), 0);
    doc.MarkChanged(CTrelvarDoc::GeneralChanged);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(doc.Save());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ReadBytes(dic).substr(0, 20), "General dictionary\r\n");
    EXPECT_EQ(ReadBytes(dir.File("d.nir")), "Not imported resources\r\n");
    EXPECT_EQ(ReadBytes(dir.File("d.fil")), "List of files\r\n\"/src\";\"/dst\"\r\n");
}

TEST(Document, WrongHeadersFailInOrderAndKeepTheOpenDictionary)
{
    TempDir dir;
    const std::string dic = WriteDictionary(dir);
    CTrelvarDoc doc;
    RecordingReporter reporter;
    doc.SetReporter(&reporter);
    ASSERT_TRUE(doc.OnOpenDocument(dic));

    TempDir other;
    const std::string bad = WriteDictionary(other);
    const struct
    {
        std::string file;
        std::string content;
        std::vector<std::string> messages;
    } cases[] = {
        {"d.dic", "\r\n", {other.File("d.dic") + " is not a general dictionary file"}},
        {"d.dic", "General dictionary \r\n", {other.File("d.dic") + " is not a general dictionary file"}},
        {"d.ent", "General dictionary\r\n", {other.File("d.ent") + " is not a specific dictionary file"}},
        {"d.fil", "List of file\r\n", {other.File("d.fil") + " is not a list of files file"}},
    };
    for (const auto& c : cases) {
        WriteDictionary(other);
        WriteBytes(other.File(c.file), c.content);
        reporter.texts.clear();
        EXPECT_FALSE(doc.OnOpenDocument(bad));
        EXPECT_EQ(reporter.texts, c.messages);
    }
    WriteDictionary(other);
    fs::remove(other.File("d.ent"));
    reporter.texts.clear();
    EXPECT_FALSE(doc.OnOpenDocument(bad));
    // A missing file is said to be missing, and nothing else.
    EXPECT_EQ(reporter.texts, (std::vector<std::string>{"Error when opening file " + other.File("d.ent") +
                                                        "\nNo such file or directory"}));
    EXPECT_EQ(doc.PathName(), dic);
    EXPECT_EQ(doc.General()->TextCount(), 1);
}

TEST(Document, LoadingFindsChangedScripts)
{
    TempDir dir;
    const std::string dic = WriteDictionary(dir);
    const std::string script = dir.File("app.rc");
    WriteBytes(script, "x");
    WriteBytes(dir.File("d.fil"),
               "List of files\r\n\"\";\"\"\r\n\"" + script + "\";\"" + dir.File("out.rc") + "\";\"\"\r\n");
    CTrelvarDoc doc;
    ScriptedQuestion question({YesNoAllQuestion::NoAll});
    doc.SetQuestion(&question);
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    EXPECT_EQ(doc.Files()->ChangedCount(), 0);
    EXPECT_EQ(question.asked.size(), 1u);

    doc.SetAskOnChange(0);
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    EXPECT_EQ(doc.Files()->ChangedCount(), 1);
    EXPECT_EQ(question.asked.size(), 1u);
}

TEST(Document, CreateDictionaryWritesThreeFilesAndOpensThem)
{
    TempDir dir;
    CTrelvarDoc doc;
    RecordingReporter reporter;
    doc.SetReporter(&reporter);
    EXPECT_FALSE(doc.CreateDictionary("", dir.Path().string(), "", ""));
    EXPECT_FALSE(doc.CreateDictionary("new", "", "", ""));
    ASSERT_TRUE(doc.CreateDictionary("new", dir.Path().string(), "/home/src", "/home/dst"));
    EXPECT_TRUE(reporter.texts.empty());
    EXPECT_EQ(ReadBytes(dir.File("new.dic")), "General dictionary\r\n");
    EXPECT_EQ(ReadBytes(dir.File("new.ent")), "Specific dictionary\r\n");
    EXPECT_EQ(ReadBytes(dir.File("new.fil")), "List of files\r\n\"/home/src\";\"/home/dst\"\r\n");
    EXPECT_FALSE(fs::exists(dir.File("new.nir")));
    EXPECT_TRUE(doc.IsOpen());
    EXPECT_EQ(doc.PathName(), dir.File("new.dic"));
    EXPECT_EQ(doc.DefaultSourceFolder(), "/home/src");
}

TEST(Document, CreateDictionaryRefusesExistingFilesAndCleansUpAfterAFailure)
{
    TempDir dir;
    CTrelvarDoc doc;
    RecordingReporter reporter;
    doc.SetReporter(&reporter);
    WriteBytes(dir.File("x.fil"), "List of files\r\n");
    const std::string location = dir.Path().string() + "/";
    EXPECT_FALSE(doc.CreateDictionary("x", location, "", ""));
    ASSERT_EQ(reporter.texts.size(), 1u);
    EXPECT_EQ(reporter.texts[0], "The files " + location + "x.dic, " + location + "x.ent, " + location +
                                     "x.fil, " + location + "x.nir already exist.");
    EXPECT_FALSE(fs::exists(dir.File("x.dic")));
    EXPECT_FALSE(doc.IsOpen());

    // The .fil cannot be created (a folder of that name is in the way): no
    // file of the set appears, and no temporary file stays.
    fs::create_directory(dir.File("y.fil"));
    reporter.texts.clear();
    EXPECT_FALSE(doc.CreateDictionary("y", dir.Path().string(), "", ""));
    EXPECT_EQ(reporter.texts,
              std::vector<std::string>{"Error when creating file " + dir.File("y.fil") + "\nIs a directory"});
    EXPECT_FALSE(fs::exists(dir.File("y.dic")));
    EXPECT_FALSE(fs::exists(dir.File("y.ent")));
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().filename().string().find(".lingorel-"), std::string::npos) << entry.path();
}

TEST(Document, ASaveThatFailsChangesNothingOnTheDisk)
{
    TempDir dir;
    const std::string dic = WriteDictionary(dir);
    CTrelvarDoc doc;
    RecordingReporter reporter;
    doc.SetReporter(&reporter);
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    const std::string before = ReadBytes(dic);
    fs::remove(dir.File("d.ent"));
    fs::create_directory(dir.File("d.ent"));
    doc.General()->SetTranslation("File", "Dossier");
    doc.MarkChanged(CTrelvarDoc::GeneralChanged);
    EXPECT_FALSE(doc.Save());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(reporter.texts,
              std::vector<std::string>{"Cannot save the file " + dir.File("d.ent") + "\nIs a directory"});
    // The dictionary is one unit: the .dic that could be written was not
    // put in place without the others.
    EXPECT_EQ(ReadBytes(dic), before);
    EXPECT_FALSE(fs::exists(dir.File("d.nir")));
}

TEST(Document, CompanionPathsReplaceOnlyTheFileExtension)
{
    EXPECT_EQ(CTrelvarDoc::CompanionPath("/a.b/dict.dic", ".ent"), "/a.b/dict.ent");
    EXPECT_EQ(CTrelvarDoc::CompanionPath("/a.b/dict", ".fil"), "/a.b/dict.fil");
    EXPECT_EQ(CTrelvarDoc::CompanionPath("c:\\x.y\\d.DIC", ".nir"), "c:\\x.y\\d.nir");
}

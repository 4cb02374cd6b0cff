// What lies around the save of a dictionary: exports, the lock, readers,
// recovery after a crash, damaged lists, shared and linked destinations.
// Each case is the smallest that lost or hid a user's work.
#include "FaultFixture.h"
#include "dictionary/DictionaryCommit.h"
#include "dictionary/DictionaryLock.h"
#include "dictionary/DictionaryTools.h"
#include "dictionary/FileList.h"
#include "dictionary/FileSystem.h"
#include "dictionary/LineFile.h"
#include "dictionary/Messages.h"
#include "exchange/ExchangeFormats.h"
#include "exchange/TranslationExchange.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

// Runs the function in a child process as an unprivileged user (nobody),
// where a file's permissions hold even for the tests run as root; returns
// its exit code.
int AsAnotherUser(const std::function<int()>& run)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(100);
        ::_exit(run());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

int g_renames = 0;
bool FailTheSecondRename(const char* step)
{
    return std::string_view(step) == "rename" && ++g_renames == 2;
}

// A save that stops between its renames, as a crash there leaves it: the
// journal stays, the .dic is new, the others are old.
void SaveCutBetweenRenames(const std::string& dic, const std::string& script)
{
    CTrelvarDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    MakeNew(doc, script);
    g_renames = 0;
    SetFaultHook(FailTheSecondRename);
    EXPECT_FALSE(doc.Save());
    SetFaultHook(nullptr);
    ASSERT_TRUE(FileExists(DictionaryCommit::JournalPath(dic)));
}

// A file system without hard links (vfat, some network shares): link()
// fails as it does there, for the code under test as it is.
bool g_refuseLinks = false;

} // namespace

extern "C" int link(const char* from, const char* to) noexcept
{
    if (g_refuseLinks) {
        errno = EPERM;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_linkat, AT_FDCWD, from, AT_FDCWD, to, 0));
}

TEST(Seams, AnExportIsWrittenWholeOrNotAtAll)
{
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    CTrelvarDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dic, nullptr, CTrelvarDoc::Access::ReadOnly));
    std::vector<std::string> problems;
    const ExchangeDocument exchange = BuildExchange(doc, problems);
    const std::function<bool(const std::string&)> writers[] = {
        [&](const std::string& path) {
            std::string error;
            return WriteExchangeFile(exchange, ExchangeFormat::Po, path, error);
        },
        [&](const std::string& path) {
            std::string error;
            return WriteExchangeFile(exchange, ExchangeFormat::Xliff, path, error);
        },
        [&](const std::string& path) { return ExportTexts(*doc.General(), path, nullptr); }};
    for (const auto& write : writers) {
        // A full disk at any step: the old file stays whole, and it is said.
        const std::string target = dir.File("old.out");
        int steps = 0;
        for (int stopAt = 1;; ++stopAt) {
            WriteBytes(target, "OLD");
            ArmFaults(stopAt, false);
            const bool written = write(target);
            ArmFaults(-1, false);
            if (written)
                break;
            EXPECT_EQ(ReadBytes(target), "OLD") << "step " << stopAt;
            ASSERT_LT(++steps, 50);
        }
        EXPECT_GT(steps, 0);
        EXPECT_GT(ReadBytes(target).size(), 5u);
        EXPECT_EQ(TemporaryFiles(dir), 0);
        // What is no regular file is never replaced.
        EXPECT_FALSE(write("/dev/full"));
        EXPECT_FALSE(write(dir.Path().string()));
    }
}

TEST(Seams, AnExportNeverWritesOverTheDictionarysOwnFiles)
{
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    CTrelvarDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    fs::create_symlink(dir.File("d.ent"), dir.File("link.po"));
    for (const char* own : {"d.dic", "d.ent", "d.fil", "d.nir", ".d.dic.lock", ".d.dic.journal", "link.po"})
        EXPECT_TRUE(doc.IsOwnFile(dir.File(own))) << own;
    EXPECT_TRUE(doc.IsOwnFile(dir.Path().string() + "/./d.dic"));
    EXPECT_FALSE(doc.IsOwnFile(dir.File("d.po")));
    EXPECT_FALSE(doc.IsOwnFile(dir.File("app.rc")));
}

TEST(Seams, TheLockHoldsThroughAReadOnlyDescriptorAndRefusesWhenNoneCanBeHad)
{
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    const std::string lock = DictionaryLock::LockPath(dic);
    ASSERT_TRUE(FileExists(lock));
    // The lock file belongs to another user, who may not write it: a
    // read-only descriptor holds the lock all the same.
    ::chmod(lock.c_str(), 0444);
    ::chmod(dir.Path().c_str(), 0777);
    const int held = AsAnotherUser([&] {
        DictionaryLock mine;
        if (!mine.Acquire(dic, 0))
            return 1;
        DictionaryLock second;
        return second.Acquire(dic, 0) ? 2 : second.Unusable() ? 3 : 0;
    });
    EXPECT_EQ(held, 0);
    // No lock file, and none may be made: a writer refuses, and says why.
    fs::remove(lock);
    // (The other user may not write the folder; a test run by that user
    // itself may not either.)
    ::chmod(dir.Path().c_str(), ::getuid() == 0 ? 0755 : 0555);
    const int refused = AsAnotherUser([&] {
        CTrelvarDoc doc;
        RecordingReporter reporter;
        doc.SetReporter(&reporter);
        if (doc.OnOpenDocument(dic))
            return 1;
        if (reporter.ids != std::vector<int>{MsgLockUnusable} ||
            reporter.texts.front().find(lock) == std::string::npos)
            return 2;
        // Reading goes on without it.
        return doc.OnOpenDocument(dic, nullptr, CTrelvarDoc::Access::ReadOnly) ? 0 : 3;
    });
    EXPECT_EQ(refused, 0);
    ::chmod(dir.Path().c_str(), 0755);
}

TEST(Seams, AReaderNeverSeesHalfADictionary)
{
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    const std::string script = dir.File("app.rc");
    SaveCutBetweenRenames(dic, script);
    // A reader completes the save a crash left before it reads.
    CTrelvarDoc reader;
    ASSERT_TRUE(reader.OnOpenDocument(dic, nullptr, CTrelvarDoc::Access::ReadOnly));
    EXPECT_EQ(*reader.General()->FindTranslation("File"), "NEW");
    EXPECT_EQ(
        ContextDictionary::FindEntry(*reader.Context()->FindFile(script), "IDD_A+File")->contextTranslation,
        "NEWCTX");
    EXPECT_FALSE(FileExists(DictionaryCommit::JournalPath(dic)));

    // While a writer is saving (its journal there, its lock held), a reader
    // waits, then says the dictionary is not readable yet.
    SaveCutBetweenRenames(dic, script);
    DictionaryLock writer;
    ASSERT_TRUE(writer.Acquire(dic, 0));
    CTrelvarDoc waiting;
    RecordingReporter reporter;
    waiting.SetReporter(&reporter);
    waiting.SetLockWait(100);
    EXPECT_FALSE(waiting.OnOpenDocument(dic, nullptr, CTrelvarDoc::Access::ReadOnly));
    EXPECT_EQ(reporter.ids, std::vector<int>{MsgSaveNotCompleted});
}

TEST(Seams, RecoveryRenamesOnlyWhatItHasChecked)
{
    {
        // A journal naming a new file cut short: the old dictionary stays.
        TempDir dir;
        const std::string dic = MakeDictionary(dir);
        const std::string script = dir.File("app.rc");
        SetFaultHook([](const char* step) { return std::string_view(step) == "rename"; });
        {
            CTrelvarDoc doc;
            ASSERT_TRUE(doc.OnOpenDocument(dic));
            MakeNew(doc, script);
            EXPECT_FALSE(doc.Save());
        }
        SetFaultHook(nullptr);
        for (const auto& entry : fs::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(".d.ent.lingorel-", 0) == 0)
                fs::resize_file(entry.path(), 10);
        }
        EXPECT_EQ(NewParts(dic, script), 0);
        EXPECT_EQ(TemporaryFiles(dir), 0);
    }
    {
        // A journal naming a file outside the dictionary's folder, or one
        // that is not the dictionary's: nothing is renamed over it.
        TempDir dir;
        const std::string dic = MakeDictionary(dir);
        fs::create_directories(dir.File("elsewhere"));
        WriteBytes(dir.File("elsewhere/victim.txt"), "MINE");
        WriteBytes(dir.File(".d.dic.lingorel-1-AAAAAA"), "General dictionary\r\n");
        WriteBytes(DictionaryCommit::JournalPath(dic), "Lingorel journal\n" +
                                                           dir.File(".d.dic.lingorel-1-AAAAAA") + "\t" +
                                                           dir.File("elsewhere/victim.txt") + "\nend\n");
        {
            CTrelvarDoc doc;
            ASSERT_TRUE(doc.OnOpenDocument(dic));
        }
        EXPECT_EQ(ReadBytes(dir.File("elsewhere/victim.txt")), "MINE");
        EXPECT_EQ(NewParts(dic, dir.File("app.rc")), 0);
    }
    {
        // A folder whose name holds a tab: the journal reads back exactly,
        // and the save a crash cut is completed.
        TempDir top;
        fs::create_directories(top.Path() / "a\tb");
        const std::string folder = (top.Path() / "a\tb").string();
        CTrelvarDoc made;
        ASSERT_TRUE(made.CreateDictionary("d", folder, "/old-src", "/old-dst"));
        const std::string script = folder + "/app.rc";
        WriteBytes(script, kScript);
        ASSERT_EQ(InsertScript(*made.Files(), script, folder + "/out.rc", {}).message, 0);
        ExtractScripts(made, {script}, nullptr, nullptr, nullptr);
        ASSERT_TRUE(made.Save());
        made.Close();
        const std::string dic = folder + "/d.dic";
        SaveCutBetweenRenames(dic, script);
        CTrelvarDoc check;
        RecordingReporter reporter;
        check.SetReporter(&reporter);
        EXPECT_TRUE(check.OnOpenDocument(dic)) << (reporter.texts.empty() ? "" : reporter.texts.front());
        check.Close();
        EXPECT_EQ(NewParts(dic, script), 4);
    }
}

TEST(Seams, ADamagedListOfFilesOrExcludedResourcesIsNotSavedOver)
{
    for (const char* damage : {"fil-cut", "fil-binary", "nir-binary"}) {
        TempDir dir;
        const std::string dic = MakeDictionary(dir);
        const std::string damaged =
            dir.File(std::string_view(damage).substr(0, 3) == "fil" ? "d.fil" : "d.nir");
        std::string bytes = ReadBytes(damaged);
        if (std::string_view(damage) == "fil-cut")
            bytes.resize(bytes.size() - 6);
        else
            bytes += std::string("\x7F\x01\x02 garbage\r\n", 13);
        WriteBytes(damaged, bytes);
        CTrelvarDoc doc;
        RecordingReporter reporter;
        doc.SetReporter(&reporter);
        EXPECT_FALSE(doc.OnOpenDocument(dic)) << damage;
        EXPECT_EQ(reporter.ids, std::vector<int>{MsgFileDamaged}) << damage;
        // Opened with the user's word, it is not written over without it.
        ScriptedQuestion yes({YesNoAllQuestion::Yes, YesNoAllQuestion::Yes, YesNoAllQuestion::Yes});
        doc.SetQuestion(&yes);
        reporter.ids.clear();
        ASSERT_TRUE(doc.OnOpenDocument(dic))
            << damage << " " << (reporter.texts.empty() ? "" : reporter.texts.back());
        doc.MarkChanged(CTrelvarDoc::GeneralChanged);
        EXPECT_FALSE(doc.Save()) << damage;
        EXPECT_EQ(ReadBytes(damaged), bytes) << damage;
    }
}

TEST(Seams, TwoScriptsNeverShareADestination)
{
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    fs::create_directories(dir.File("x"));
    fs::create_directories(dir.File("y"));
    WriteBytes(dir.File("x/app.rc"), kScript);
    WriteBytes(dir.File("y/app.rc"), kScript);
    CTrelvarDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    ASSERT_EQ(InsertScript(*doc.Files(), dir.File("x/app.rc"), dir.File("gen/"), {}).message, 0);
    ScriptInsertion second = InsertScript(*doc.Files(), dir.File("y/app.rc"), dir.File("gen/"), {});
    EXPECT_EQ(second.message, MsgDestinationTaken);
    EXPECT_EQ(second.Arguments(), (std::vector<std::string>{dir.File("gen/app.rc"), dir.File("x/app.rc")}));
    // Nor is another script's own file a destination.
    EXPECT_EQ(InsertScript(*doc.Files(), dir.File("y/app.rc"), dir.File("app.rc"), {}).message,
              MsgDestinationTaken);

    // A list edited by hand: the first of the two is generated, the second
    // refused.
    doc.Files()->AddFile(dir.File("y/app.rc"), dir.File("gen/app.rc"), {});
    RecordingReporter reporter;
    const auto generated = GenerateScripts(
        doc, {{dir.File("x/app.rc"), dir.File("gen/app.rc")}, {dir.File("y/app.rc"), dir.File("gen/app.rc")}},
        nullptr, nullptr, &reporter);
    EXPECT_EQ(generated, std::vector<std::size_t>{0});
    EXPECT_EQ(reporter.ids, std::vector<int>{MsgDestinationTaken});
}

TEST(Seams, ALinkedDestinationStaysALink)
{
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    fs::create_directories(dir.File("build"));
    WriteBytes(dir.File("build/app-fr.rc"), "OLD");
    fs::create_symlink(dir.File("build/app-fr.rc"), dir.File("out.rc"));
    CTrelvarDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    doc.General()->SetTranslation("File", "Fichier");
    const auto pair = std::make_pair(dir.File("app.rc"), dir.File("out.rc"));
    EXPECT_EQ(GenerateScripts(doc, {pair}, nullptr, nullptr, nullptr).size(), 1u);
    EXPECT_TRUE(fs::is_symlink(dir.File("out.rc")));
    EXPECT_NE(ReadBytes(dir.File("build/app-fr.rc")).find("Fichier"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir.File("build/app-fr.qv")), "OLD");
    // A link to what is no regular file is refused, and the device stays.
    fs::remove(dir.File("out.rc"));
    fs::create_symlink("/dev/null", dir.File("out.rc"));
    RecordingReporter reporter;
    EXPECT_TRUE(GenerateScripts(doc, {pair}, nullptr, nullptr, &reporter).empty());
    EXPECT_EQ(reporter.ids, std::vector<int>{MsgCannotSaveFile});
    struct stat st
    {
    };
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(Seams, SmallerLeaksAreStopped)
{
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    {
        // A folder or a pipe to insert is said to be what it is.
        CTrelvarDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(dic));
        ASSERT_EQ(::mkfifo(dir.File("pipe.rc").c_str(), 0644), 0);
        EXPECT_EQ(InsertScript(*doc.Files(), dir.File("pipe.rc"), dir.File("o/"), {}).message,
                  MsgNotARegularFile);
        fs::create_directories(dir.File("folder.rc"));
        EXPECT_EQ(InsertScript(*doc.Files(), dir.File("folder.rc"), dir.File("o/"), {}).message,
                  MsgNotARegularFile);
    }
    {
        // A journal that is a folder: the save fails, and says which file.
        fs::create_directories(DictionaryCommit::JournalPath(dic));
        CTrelvarDoc doc;
        RecordingReporter reporter;
        doc.SetReporter(&reporter);
        ASSERT_TRUE(doc.OnOpenDocument(dic));
        doc.MarkChanged(CTrelvarDoc::GeneralChanged);
        EXPECT_FALSE(doc.Save());
        ASSERT_EQ(reporter.ids, std::vector<int>{MsgCannotSaveFile});
        EXPECT_NE(reporter.texts.front().find(".d.dic.journal"), std::string::npos) << reporter.texts.front();
        fs::remove(DictionaryCommit::JournalPath(dic));
    }
    {
        // What a killed generation left beside a destination goes at the
        // next open.
        const std::string stale = dir.File(".out.rc.lingorel-999999-ABCDEF");
        WriteBytes(stale, "half");
        CTrelvarDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(dic, nullptr, CTrelvarDoc::Access::ReadOnly));
        EXPECT_FALSE(fs::exists(stale));
    }
    {
        // A name too long for the lock file leaves nothing behind.
        CTrelvarDoc doc;
        EXPECT_FALSE(doc.CreateDictionary(std::string(250, 'n'), dir.Path().string(), "", ""));
        for (const auto& entry : fs::directory_iterator(dir.Path()))
            EXPECT_EQ(entry.path().filename().string().find("nnnnn"), std::string::npos) << entry.path();
    }
}

TEST(Seams, ScriptsThatCannotBeMadeDurableReplaceNothing)
{
    // Two scripts over existing destinations, and every flush refused:
    // both destinations keep their bytes, neither is reported saved.
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char* name : {"one.rc", "two.rc"}) {
        WriteBytes(dir.File(name), "old " + std::string(name));
        pairs.emplace_back(dir.File("app.rc"), dir.File(name));
    }
    CTrelvarDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    doc.General()->SetTranslation("File", "Fichier");
    RecordingReporter reporter;
    SetFaultHook([](const char* step) { return std::string_view(step) == "sync"; });
    const auto generated = GenerateScripts(doc, pairs, nullptr, nullptr, &reporter);
    SetFaultHook(nullptr);
    EXPECT_TRUE(generated.empty());
    EXPECT_EQ(reporter.ids, (std::vector<int>{MsgCannotSaveFile, MsgCannotSaveFile}));
    EXPECT_EQ(ReadBytes(dir.File("one.rc")), "old one.rc");
    EXPECT_EQ(ReadBytes(dir.File("two.rc")), "old two.rc");
    EXPECT_EQ(TemporaryFiles(dir), 0);
}

TEST(Seams, WithoutHardLinksTheBackupIsACopy)
{
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    WriteBytes(dir.File("out.rc"), "OLD");
    CTrelvarDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    doc.General()->SetTranslation("File", "Fichier");
    const auto pair = std::make_pair(dir.File("app.rc"), dir.File("out.rc"));
    g_refuseLinks = true;
    const auto one = GenerateScripts(doc, {pair}, nullptr, nullptr, nullptr);
    const auto two =
        GenerateScripts(doc, {pair, {dir.File("app.rc"), dir.File("other.rc")}}, nullptr, nullptr, nullptr);
    g_refuseLinks = false;
    EXPECT_EQ(one.size(), 1u);
    EXPECT_EQ(two.size(), 2u);
    EXPECT_NE(ReadBytes(dir.File("out.rc")).find("Fichier"), std::string::npos);
    // The second generation backed up the first one's script, a copy.
    EXPECT_NE(ReadBytes(dir.File("out.qv")).find("Fichier"), std::string::npos);
    EXPECT_EQ(fs::hard_link_count(dir.File("out.qv")), 1u);
    EXPECT_FALSE(fs::exists(dir.File("other.qv")));
}

TEST(Seams, AJournalWithoutItsEndChangesNothingAndGoes)
{
    // The save stopped while it wrote its journal: whole new files beside
    // the old ones, and a journal without its last line.
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    const std::string script = dir.File("app.rc");
    const std::string journal = DictionaryCommit::JournalPath(dic);
    g_renames = 0;
    SetFaultHook(FailTheSecondRename); // the first that puts a new file in place
    {
        CTrelvarDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(dic));
        MakeNew(doc, script);
        EXPECT_FALSE(doc.Save());
        SetFaultHook(nullptr);
        const std::string text = ReadBytes(journal);
        ASSERT_GE(text.size(), 4u);
        ASSERT_EQ(text.substr(text.size() - 4), "end\n");
        WriteBytes(journal, text.substr(0, text.size() - 4));
        doc.Close();
    }
    EXPECT_EQ(NewParts(dic, script), 0);
    EXPECT_FALSE(FileExists(journal));
    EXPECT_EQ(TemporaryFiles(dir), 0);
}

// What crashes, full disks, odd files and odd paths leave of a user's work.
// A child process is killed before every single step of a save and of a
// generation (the fault hook is asked before each write, flush, link and
// rename), and a full disk is simulated at every step as well: each time
// the dictionary must be wholly old or wholly new, and the destination
// whole.
#include "FaultFixture.h"
#include "TestSupport.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/DictionaryLock.h"
#include "dictionary/FileList.h"
#include "dictionary/FileSystem.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/LineFile.h"
#include "dictionary/Messages.h"
#include "dictionary/NotExtractedList.h"
#include "dictionary/SafeFiles.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptRuns.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(Faults, AKilledSaveLeavesTheWholeOldOrTheWholeNewDictionary)
{
    int steps = 0, oldOnes = 0, newOnes = 0;
    for (int stopAt = 1;; ++stopAt) {
        TempDir dir;
        const std::string dic = MakeDictionary(dir);
        const std::string script = dir.File("app.rc");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            CTrelvarDoc doc;
            if (!doc.OnOpenDocument(dic))
                ::_exit(2);
            MakeNew(doc, script);
            ArmFaults(stopAt, true);
            ::_exit(doc.Save() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        const int exit = WEXITSTATUS(status);
        ASSERT_TRUE(exit == 0 || exit == 99) << "step " << stopAt;
        const int parts = NewParts(dic, script);
        EXPECT_TRUE(parts == 0 || parts == 4) << "killed at step " << stopAt << ": " << parts << " new files";
        oldOnes += parts == 0;
        newOnes += parts == 4;
        // The next open cleaned up after the killed process.
        EXPECT_EQ(TemporaryFiles(dir), 0) << "step " << stopAt;
        if (exit == 0) {
            steps = stopAt - 1;
            break;
        }
    }
    EXPECT_GT(steps, 12); // every file written, flushed and renamed, and the journal
    EXPECT_GT(oldOnes, 0);
    EXPECT_GT(newOnes, 1);
    RecordProperty("killedSaves", std::to_string(steps) + " steps: " + std::to_string(oldOnes) + " old, " +
                                      std::to_string(newOnes) + " new");
}

TEST(Faults, AFullDiskAtAnyStepOfASaveChangesNothingOrCompletesOnTheNextOpen)
{
    for (int stopAt = 1;; ++stopAt) {
        TempDir dir;
        const std::string dic = MakeDictionary(dir);
        const std::string script = dir.File("app.rc");
        bool saved = false;
        {
            CTrelvarDoc doc;
            RecordingReporter reporter;
            doc.SetReporter(&reporter);
            ASSERT_TRUE(doc.OnOpenDocument(dic));
            MakeNew(doc, script);
            ArmFaults(stopAt, false);
            saved = doc.Save();
            const bool faulted = g_step >= stopAt;
            ArmFaults(-1, false);
            if (!faulted) {
                EXPECT_TRUE(saved);
                break;
            }
            EXPECT_FALSE(saved) << "step " << stopAt;
            EXPECT_TRUE(doc.IsModified());
            ASSERT_FALSE(reporter.texts.empty());
            EXPECT_NE(reporter.texts.back().find("No space left on device"), std::string::npos)
                << reporter.texts.back();
        }
        const int parts = NewParts(dic, script);
        EXPECT_TRUE(parts == 0 || parts == 4) << "failed at step " << stopAt << ": " << parts << " new files";
        EXPECT_EQ(TemporaryFiles(dir), 0) << "step " << stopAt;
    }
}

TEST(Faults, AKilledOrFailedGenerationKeepsTheDestinationAndItsBackupWhole)
{
    const std::string oldDestination = "old translation\r\n", oldBackup = "older translation\r\n";
    // One script, and two, which are made durable together.
    for (std::size_t scripts : {1u, 2u}) {
        for (bool kill : {true, false}) {
            for (int stopAt = 1;; ++stopAt) {
                TempDir dir;
                const std::string dic = MakeDictionary(dir);
                std::vector<std::pair<std::string, std::string>> pairs;
                for (std::size_t n = 0; n < scripts; ++n) {
                    const std::string out = dir.File("out" + std::to_string(n) + ".rc");
                    WriteBytes(out, oldDestination);
                    WriteBytes(dir.File("out" + std::to_string(n) + ".qv"), oldBackup);
                    pairs.emplace_back(dir.File("app.rc"), out);
                }
                bool done = false;
                const pid_t child = kill ? ::fork() : 0;
                ASSERT_GE(child, 0);
                if (child == 0) {
                    CTrelvarDoc doc;
                    RecordingReporter reporter;
                    doc.SetReporter(&reporter);
                    if (!doc.OnOpenDocument(dic)) {
                        if (kill)
                            ::_exit(2);
                        FAIL();
                    }
                    doc.General()->SetTranslation("File", "Fichier");
                    ArmFaults(stopAt, kill);
                    const auto generated = GenerateScripts(doc, pairs, nullptr, nullptr, &reporter);
                    // Past the last step nothing was hit; a failed link is no
                    // failure (the backup is then copied).
                    done = g_step < stopAt;
                    ArmFaults(-1, false);
                    if (kill)
                        ::_exit(generated.size() == scripts ? 0 : 1);
                    if (done) {
                        EXPECT_EQ(generated.size(), scripts);
                    }
                } else {
                    int status = 0;
                    ::waitpid(child, &status, 0);
                    done = WIFEXITED(status) && WEXITSTATUS(status) == 0;
                }
                for (std::size_t n = 0; n < scripts; ++n) {
                    const std::string now = ReadBytes(pairs[n].second);
                    const std::string kept = ReadBytes(dir.File("out" + std::to_string(n) + ".qv"));
                    const bool isNew = now.find("\"Fichier\"") != std::string::npos;
                    EXPECT_TRUE(now == oldDestination || (isNew && now.size() > 40)) << "step " << stopAt;
                    if (isNew) {
                        EXPECT_EQ(kept, oldDestination) << "step " << stopAt;
                    } else {
                        EXPECT_TRUE(kept == oldBackup || kept == oldDestination) << "step " << stopAt;
                    }
                }
                // The next generation removes what a killed one left.
                RemoveStaleTemporaryFiles(dir.Path().string());
                EXPECT_EQ(TemporaryFiles(dir), 0) << "step " << stopAt;
                if (done)
                    break;
            }
        }
    }
}

TEST(Faults, GenerationNeverWritesOverItsOwnSource)
{
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    const std::string script = dir.File("app.rc");
    fs::create_symlink(script, dir.File("link.rc"));
    CTrelvarDoc doc;
    RecordingReporter reporter;
    doc.SetReporter(&reporter);
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    doc.General()->SetTranslation("File", "Fichier");
    // A destination that reaches the source through a link, and one that
    // is the source itself (a list of files edited by hand).
    for (const std::string& destination : {dir.File("link.rc"), script}) {
        EXPECT_TRUE(GenerateScripts(doc, {{script, destination}}, nullptr, nullptr, &reporter).empty());
        EXPECT_EQ(reporter.ids.back(), MsgSourceEqualsDestination);
        EXPECT_EQ(ReadBytes(script), kScript);
        EXPECT_FALSE(fs::exists(dir.File("app.qv")));
    }
    // A source that is the backup the destination's old content would go to.
    const std::string backupNamed = dir.File("tr.qv");
    fs::copy_file(script, backupNamed);
    WriteBytes(dir.File("tr.rc"), "old translation\r\n");
    EXPECT_TRUE(
        GenerateScripts(doc, {{backupNamed, dir.File("tr.rc")}}, nullptr, nullptr, &reporter).empty());
    EXPECT_EQ(reporter.ids.back(), MsgCannotBackUpFile);
    EXPECT_EQ(ReadBytes(backupNamed), kScript);
    EXPECT_EQ(ReadBytes(dir.File("tr.rc")), "old translation\r\n");
    // Inserting it is refused in the first place.
    EXPECT_EQ(InsertScript(*doc.Files(), dir.File("link.rc"), script, {}).message,
              MsgSourceEqualsDestination);
}

TEST(Faults, AListThatCouldNotBeReadIsNotWrittenBackEmpty)
{
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    WriteBytes(dir.File("d.nir"), "Not imported resources\r\n\"x.rc+IDD_X+5\"\r\n");
    for (const char* damage : {"header", "folder"}) {
        const std::string nir = dir.File("d.nir");
        const std::string before = ReadBytes(nir);
        if (std::string(damage) == "header") {
            WriteBytes(nir, "Not imported resources \r\n\"x.rc+IDD_X+5\"\r\n");
        } else {
            fs::remove(nir);
            fs::create_directory(nir);
        }
        const std::string damaged = fs::is_directory(nir) ? std::string() : ReadBytes(nir);
        CTrelvarDoc doc;
        RecordingReporter reporter;
        doc.SetReporter(&reporter);
        ASSERT_TRUE(doc.OnOpenDocument(dic));
        ASSERT_EQ(doc.UnreadableFiles(), std::vector<std::string>{nir}) << damage;
        doc.General()->SetTranslation("File", "Fichier");
        doc.MarkChanged(CTrelvarDoc::GeneralChanged);
        EXPECT_FALSE(doc.Save());
        EXPECT_EQ(reporter.ids.back(), MsgUnreadableNotSaved);
        EXPECT_EQ(fs::is_directory(nir) ? std::string() : ReadBytes(nir), damaged);
        EXPECT_EQ(doc.General()->FindTranslation("File")->size(), 7u);
        // The user agrees (the window asks): then it is replaced.
        doc.ReplaceUnreadable();
        if (fs::is_directory(nir))
            fs::remove(nir);
        EXPECT_TRUE(doc.Save());
        WriteBytes(nir, before);
    }
}

TEST(Faults, OnlyRegularFilesAreReadAndHugeLinesAreRefused)
{
    TempDir dir;
    const std::string fifo = dir.File("fifo.rc");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string reason;
    EXPECT_FALSE(IsReadableRegularFile(fifo, &reason));
    LineFile file;
    EXPECT_FALSE(file.OpenForReading(fifo)); // returns at once instead of waiting for a writer
    EXPECT_EQ(file.ErrorText(), "not a regular file");
    EXPECT_FALSE(file.OpenForReading("/dev/zero"));

    // A script whose "line" never ends is not extracted, and not stamped.
    const std::string dic = MakeDictionary(dir);
    const std::string script = dir.File("app.rc");
    WriteBytes(script, std::string(LineFile::kMaxLine + 10, 'x'));
    CTrelvarDoc doc;
    RecordingReporter reporter;
    doc.SetReporter(&reporter);
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    const std::string stamp = doc.Files()->Find(script)->stamp;
    const ExtractionRun run = ExtractScripts(doc, {script}, nullptr, nullptr, &reporter);
    EXPECT_EQ(run.extracted, 0);
    EXPECT_EQ(reporter.ids.back(), MsgErrorReadingFile);
    EXPECT_EQ(doc.Files()->Find(script)->stamp, stamp);
    EXPECT_NE(doc.Context()->FindFile(script), nullptr); // what it knew of the script stays
    fs::remove(script);
}

TEST(Faults, PathsTheFilesCannotHoldAreRefused)
{
    TempDir dir;
    const std::string quoted = dir.File("a\"b");
    fs::create_directory(quoted);
    CTrelvarDoc doc;
    RecordingReporter reporter;
    doc.SetReporter(&reporter);
    EXPECT_FALSE(doc.CreateDictionary("d", quoted, "", ""));
    EXPECT_EQ(reporter.ids.back(), MsgPathNotStorable);
    const std::string dic = MakeDictionary(dir);
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    WriteBytes(quoted + "/app.rc", kScript);
    const ScriptInsertion result = InsertScript(*doc.Files(), quoted + "/app.rc", dir.File("x.rc"), {});
    EXPECT_EQ(result.message, MsgPathNotStorable);
    EXPECT_EQ(result.argument, quoted + "/app.rc");
}

TEST(Faults, ADestinationIsAFileByItsNameOrWhatIsThere)
{
    TempDir dir;
    const std::string script = dir.File("app.rc");
    WriteBytes(script, kScript);
    fs::create_directories(dir.File("my.rc.d"));
    WriteBytes(dir.File("existing"), "x");
    const struct
    {
        std::string destination;
        std::string recorded;
    } cases[] = {
        {dir.File("out/D.RC"), dir.File("out/D.RC")},
        {dir.File("out/d.Rc2"), dir.File("out/d.Rc2")},
        {dir.File("my.rc.d/out"), dir.File("my.rc.d/out/app.rc")},
        {dir.File("my.rc.d"), dir.File("my.rc.d/app.rc")},
        {dir.File("existing"), dir.File("existing")},
    };
    for (const auto& c : cases) {
        FileList list;
        const ScriptInsertion result = InsertScript(list, script, c.destination, {});
        EXPECT_EQ(result.message, 0) << c.destination;
        EXPECT_EQ(result.destination, c.recorded) << c.destination;
    }
}

TEST(Faults, ReadOnlyFilesStayReadOnly)
{
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    CTrelvarDoc doc;
    RecordingReporter reporter;
    doc.SetReporter(&reporter);
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    // A destination checked out read-only is not replaced through a rename.
    const std::string out = dir.File("out.rc");
    WriteBytes(out, "read-only\r\n");
    fs::permissions(out, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    doc.General()->SetTranslation("File", "Fichier");
    EXPECT_TRUE(GenerateScripts(doc, {{dir.File("app.rc"), out}}, nullptr, nullptr, &reporter).empty());
    EXPECT_EQ(reporter.texts.back(), "Cannot save the file " + out + "\nPermission denied");
    EXPECT_EQ(ReadBytes(out), "read-only\r\n");
    // Nor is a dictionary file.
    fs::permissions(dir.File("d.ent"), fs::perms::owner_read);
    doc.MarkChanged(CTrelvarDoc::GeneralChanged);
    EXPECT_FALSE(doc.Save());
    EXPECT_EQ(reporter.texts.back(), "Cannot save the file " + dir.File("d.ent") + "\nPermission denied");
    EXPECT_EQ(ReadBytes(dic).find("Fichier"), std::string::npos);
    fs::permissions(dir.File("d.ent"), fs::perms::owner_all);
}

TEST(Faults, StaleTemporaryFilesGoAndLiveOnesStay)
{
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    // A process number that is surely gone: a child that has ended.
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = dir.File(".d.dic.lingorel-" + std::to_string(gone) + "-abcdef");
    const std::string live = dir.File(".d.dic.lingorel-" + std::to_string(::getppid()) + "-abcdef");
    const std::string other = dir.File(".d.dic.other-" + std::to_string(gone) + "-abcdef");
    for (const std::string& path : {stale, live, other})
        WriteBytes(path, "x");
    CTrelvarDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_TRUE(fs::exists(other));
}

TEST(Faults, StampsThatAreNoTimeMeanChanged)
{
    EXPECT_FALSE(ParseValidStamp("-1+-1"));
    EXPECT_FALSE(ParseValidStamp("99999999999+99999999999"));
    EXPECT_FALSE(ParseValidStamp("1+2+3"));
    EXPECT_FALSE(ParseValidStamp(""));
    EXPECT_FALSE(ParseValidStamp("12 + 3"));
    EXPECT_FALSE(ParseValidStamp("0+2147483647")); // the year 30828
    const auto now = LastWriteFileTime("/");
    ASSERT_TRUE(now);
    EXPECT_EQ(ParseValidStamp(FormatStamp(*now)), now);

    TempDir dir;
    const std::string script = dir.File("app.rc");
    WriteBytes(script, kScript);
    for (const char* stamp : {"-1+-1", "0+2147483647", "x"}) {
        WriteBytes(dir.File("d.fil"), "List of files\r\n\"\";\"\"\r\n\"" + script + "\";\"" +
                                          dir.File("out.rc") + "\";\"" + stamp + "\"\r\n");
        FileList list;
        list.SetFilePath(dir.File("d.fil"));
        list.SetAskOnChange(0);
        ASSERT_TRUE(list.Load());
        EXPECT_TRUE(list.IsChanged(script)) << stamp;
    }
}

TEST(Faults, TwoWritersTakeTurns)
{
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    DictionaryLock first;
    ASSERT_TRUE(first.Acquire(dic, 0));
    CTrelvarDoc doc;
    RecordingReporter reporter;
    doc.SetReporter(&reporter);
    doc.SetLockWait(100);
    const pid_t child = ::fork();
    if (child == 0) {
        // Another process: it waits, then says the dictionary is in use.
        CTrelvarDoc other;
        RecordingReporter otherReporter;
        other.SetReporter(&otherReporter);
        other.SetLockWait(100);
        const bool opened = other.OnOpenDocument(dic);
        ::_exit(!opened && other.InUse() && otherReporter.ids.back() == MsgDictionaryInUse ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // Read-only opening needs no lock.
    EXPECT_TRUE(doc.OnOpenDocument(dic, nullptr, CTrelvarDoc::Access::ReadOnly));
    EXPECT_TRUE(doc.IsReadOnly());
    doc.MarkChanged(CTrelvarDoc::GeneralChanged);
    EXPECT_FALSE(doc.Save());
    EXPECT_EQ(reporter.ids.back(), MsgDictionaryReadOnly);
    first.Release();
    EXPECT_TRUE(doc.OnOpenDocument(dic));
    EXPECT_FALSE(doc.IsReadOnly());
}

TEST(Faults, AFileCutInTheMiddleOfARecordOpensOnlyWhenTheUserAgrees)
{
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    const std::string ent = dir.File("d.ent");
    std::string bytes = ReadBytes(ent);
    bytes.resize(bytes.size() - 6); // the last record loses its end
    WriteBytes(ent, bytes);
    for (int answer : {YesNoAllQuestion::No, YesNoAllQuestion::Yes}) {
        CTrelvarDoc doc;
        RecordingReporter reporter;
        ScriptedQuestion question({answer});
        doc.SetReporter(&reporter);
        doc.SetQuestion(&question);
        const bool opened = doc.OnOpenDocument(dic);
        ASSERT_EQ(question.asked.size(), 1u);
        EXPECT_NE(question.asked[0].find(ent + " could not be read at line 2"), std::string::npos);
        if (answer == YesNoAllQuestion::No) {
            EXPECT_FALSE(opened);
            EXPECT_EQ(reporter.ids, std::vector<int>{MsgFileDamaged});
        } else {
            ASSERT_TRUE(opened);
            EXPECT_EQ(doc.UnreadableFiles(), std::vector<std::string>{ent});
            EXPECT_FALSE(doc.Save()); // not over the damaged file without the user's word
            EXPECT_EQ(ReadBytes(ent), bytes);
        }
    }
}

TEST(Faults, TwoDamagedFilesAreAskedAboutInTheirOrder)
{
    // The stores are read at once, but the user hears of them in turn: the
    // general dictionary first, then the in-context one.
    TempDir dir;
    const std::string dic = MakeDictionary(dir);
    for (const std::string& path : {dic, dir.File("d.ent")}) {
        std::string bytes = ReadBytes(path);
        bytes.resize(bytes.size() - 4);
        WriteBytes(path, bytes);
    }
    CTrelvarDoc doc;
    ScriptedQuestion question({YesNoAllQuestion::Yes, YesNoAllQuestion::Yes});
    doc.SetQuestion(&question);
    ASSERT_TRUE(doc.OnOpenDocument(dic));
    ASSERT_EQ(question.asked.size(), 2u);
    EXPECT_NE(question.asked[0].find(dic + " could not be read"), std::string::npos);
    EXPECT_NE(question.asked[1].find(dir.File("d.ent") + " could not be read"), std::string::npos);
    EXPECT_EQ(doc.UnreadableFiles(), (std::vector<std::string>{dic, dir.File("d.ent")}));
}

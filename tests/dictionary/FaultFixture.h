#pragma once

// A small dictionary, the changes that make a new one of it, and the fault
// hook that kills or fails a save at a chosen step: what the tests of
// crashes, full disks and the seams around a save share.
#include "TestSupport.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/NotExtractedList.h"
#include "dictionary/SafeFiles.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptRuns.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

inline int g_step = 0;
inline int g_stopAt = -1;
inline bool g_kill = false;

// Counts the steps; at the chosen one, ends the process as a kill would
// or makes the step fail as a full disk would.
inline bool Hook(const char*)
{
    if (++g_step != g_stopAt)
        return false;
    if (g_kill)
        ::_exit(99);
    return true;
}

inline void ArmFaults(int stopAt, bool kill)
{
    g_step = 0;
    g_stopAt = stopAt;
    g_kill = kill;
    SetFaultHook(stopAt < 0 ? nullptr : Hook);
}

inline const char* const kScript =
    "IDD_A DIALOG 0, 0, 10, 10\r\nBEGIN\r\n    LTEXT \"File\",IDC_STATIC,1,1,8,8\r\nEND\r\n";

// A dictionary with one script, extracted and saved: the "old" one.
inline std::string MakeDictionary(const TempDir& dir)
{
    CTrelvarDoc doc;
    EXPECT_TRUE(doc.CreateDictionary("d", dir.Path().string(), "/old-src", "/old-dst"));
    WriteBytes(dir.File("app.rc"), kScript);
    EXPECT_EQ(InsertScript(*doc.Files(), dir.File("app.rc"), dir.File("out.rc"), {}).message, 0);
    ExtractScripts(doc, {dir.File("app.rc")}, nullptr, nullptr, nullptr);
    EXPECT_TRUE(doc.Save());
    return dir.File("d.dic");
}

// The changes that make the "new" dictionary, one in each of its files.
inline void MakeNew(CTrelvarDoc& doc, const std::string& script)
{
    doc.General()->SetTranslation("File", "NEW");
    ContextDictionary::FindEntry(*doc.Context()->FindFile(script), "IDD_A+File")->contextTranslation =
        "NEWCTX";
    doc.SetDefaultFolders("/new-src", "/new-dst");
    doc.NotExtracted()->Add(script + "+IDD_NEW+5");
    doc.MarkChanged(CTrelvarDoc::GeneralChanged);
}

// Which of the four files hold the new dictionary: 0 none, 4 all.
inline int NewParts(const std::string& dic, const std::string& script)
{
    CTrelvarDoc doc;
    if (!doc.OnOpenDocument(dic))
        return -1;
    const std::string* translation = doc.General()->FindTranslation("File");
    const auto* section = doc.Context()->FindFile(script);
    const ContextEntry* entry = section ? ContextDictionary::FindEntry(*section, "IDD_A+File") : nullptr;
    return (translation && *translation == "NEW") + (entry && entry->contextTranslation == "NEWCTX") +
           (doc.DefaultSourceFolder() == "/new-src") + doc.NotExtracted()->Contains(script + "+IDD_NEW+5");
}

inline int TemporaryFiles(const TempDir& dir)
{
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        n += entry.path().filename().string().find(".lingorel-") != std::string::npos;
    return n;
}

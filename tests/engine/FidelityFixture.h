#pragma once

// The document of one small script taken through the whole road as the
// program and the command-line tool take it: create, insert, extract, save,
// reopen, translate, generate.
#include "TestSupport.h"
#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptRuns.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

inline std::string Crlf(std::initializer_list<const char*> lines)
{
    std::string out;
    for (const char* line : lines)
        out += std::string(line) + "\r\n";
    return out;
}

inline void Replace(std::string& text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

class Fidelity : public ::testing::Test
{
protected:
    // A new dictionary with the script inserted and extracted, saved.
    void Start(const std::string& script)
    {
        source = dir.File("app.rc");
        destination = dir.File("out.rc");
        WriteBytes(source, script);
        doc.SetReporter(&reporter);
        ASSERT_TRUE(doc.CreateDictionary("d", dir.Path().string(), dir.Path().string(), dir.Path().string()));
        ASSERT_EQ(InsertScript(*doc.Files(), source, destination, {}).message, 0);
        Extract();
    }
    void Extract()
    {
        ExtractScripts(doc, {source}, nullptr, nullptr, &reporter);
        ASSERT_TRUE(doc.Save());
    }
    // Saved and opened again: what a user finds the next day.
    void Reopen()
    {
        ASSERT_TRUE(doc.Save());
        ASSERT_TRUE(doc.OnOpenDocument(dir.File("d.dic")));
    }
    std::string Generate()
    {
        GenerateScripts(doc, {{source, destination}}, nullptr, nullptr, &reporter);
        return ReadBytes(destination);
    }
    std::vector<std::string> Texts() const { return Originals(*doc.General()); }
    const ContextEntry* Entry(const std::string& key) const
    {
        const auto* section = doc.Context()->FindFile(source);
        return section ? ContextDictionary::FindEntry(*section, key) : nullptr;
    }
    void Translate(const std::string& original, const std::string& translation)
    {
        ASSERT_NE(doc.General()->FindTranslation(original), nullptr) << original;
        doc.General()->SetTranslation(original, translation);
    }

    TempDir dir;
    RecordingReporter reporter;
    CTrelvarDoc doc;
    std::string source;
    std::string destination;
};

#pragma once

// What the exchange tests share: the real tools of translators run from the
// shell, and a translated dictionary beside a fresh one of the same script.
#include "cli/CliRunner.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

inline bool HaveTool(const std::string& tool)
{
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// A shell command's exit code; its output (both streams) in out.
inline int Shell(const TempDir& dir, const std::string& command, std::string* out = nullptr)
{
    const int status = std::system((command + " >" + Quote(dir.File(".sh")) + " 2>&1").c_str());
    if (out)
        *out = ReadBytes(dir.File(".sh"));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The translated sample, and a fresh dictionary of the same script.
struct SampleAndFresh
{
    TempDir dir;
    std::string sample = dir.File("s/sample.dic");
    std::string fresh = dir.File("f/fresh.dic");

    SampleAndFresh()
    {
        EXPECT_EQ(RunCli(dir, {"sample", "--folder", dir.File("s")}).exit, 0);
        std::filesystem::create_directories(dir.File("f"));
        EXPECT_EQ(RunCli(dir, {"new", dir.File("f"), "fresh"}).exit, 0);
        EXPECT_EQ(
            RunCli(dir, {"insert", fresh, dir.File("s/sample.rc"), "--destination", dir.File("f/out")}).exit,
            0);
        EXPECT_EQ(RunCli(dir, {"extract", fresh}).exit, 0);
    }
    // The texts and entries of both dictionaries, headers left out.
    static std::string Body(const std::string& path)
    {
        return ReadBytes(path).substr(ReadBytes(path).find('\n'));
    }
    void ExpectSame() const
    {
        EXPECT_TRUE(Body(sample) == Body(fresh));
        EXPECT_TRUE(Body(dir.File("s/sample.ent")) == Body(dir.File("f/fresh.ent")));
    }
};

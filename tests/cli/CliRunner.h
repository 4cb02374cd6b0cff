#pragma once

// Runs lorvo-cli as a user runs it, from the tests.
#include "TestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

/// What a run of lorvo-cli gave.
struct Result
{
    int exit = -1;
    std::string out;
    std::string err;
};

inline std::string Quote(const std::string& arg)
{
    std::string q = "'";
    for (char c : arg) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

inline Result RunCli(const TempDir& dir, const std::vector<std::string>& args)
{
    // Each test has a translation memory of its own.
    std::string command = "XDG_DATA_HOME=" + Quote(dir.File(".data")) + " " + Quote(LORVO_CLI);
    for (const std::string& arg : args)
        command += " " + Quote(arg);
    command += " </dev/null >" + Quote(dir.File(".out")) + " 2>" + Quote(dir.File(".err"));
    const int status = std::system(command.c_str());
    Result r;
    r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadBytes(dir.File(".out"));
    r.err = ReadBytes(dir.File(".err"));
    return r;
}

inline std::string SampleScript()
{
    return ReadBytes((SourceDir() / "samples" / "sample.rc").string());
}

inline std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t p = text.find(from);
    EXPECT_NE(p, std::string::npos) << from;
    if (p != std::string::npos)
        text.replace(p, from.size(), to);
    return text;
}

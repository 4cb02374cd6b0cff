#pragma once

#include <string>
#include <utility>
#include <vector>

// What every command of lorvo-cli is given, and the paths it names.

/// Exit codes of lorvo-cli.
enum CliExit : int
{
    ExitOk = 0,
    ExitError = 1,
    ExitUsage = 2,
    ExitIncomplete = 3
};

/// Options and arguments of one command line, after the command name.
struct CliArguments
{
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options; // --name value
    std::vector<std::string> flags;                           // --name of the command's own switches
    bool ask = false;                                         // ask the changed-file question on the terminal
    bool raw = false;     // texts on the command line are bytes, not UTF-8
    std::string codePage; // --code-page; empty when not given

    const std::string* Option(const std::string& name) const;
    /// Every value of an option that may be given more than once.
    std::vector<std::string> Options(const std::string& name) const;
    bool Flag(const std::string& name) const;
};

/// The path made absolute and normal; a trailing separator (a folder) stays.
std::string Absolute(const std::string& path);
/// The extension of a path, without its dot; "" when it has none.
std::string Extension(const std::string& path);

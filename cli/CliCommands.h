#pragma once

#include <string>
#include <vector>

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

struct CliCommand
{
    const char* name;
    const char* usage;                     // the line after "lorvo-cli "
    const char* summary;                   // one sentence
    std::vector<std::string> valueOptions; // options that take a value
    std::size_t minArgs;
    std::size_t maxArgs; // SIZE_MAX for any number
    int (*run)(const CliArguments&);
    std::vector<std::string> flagOptions = {}; // switches without a value
};

const std::vector<CliCommand>& CliCommands();
/// The commands that search and move translations (find, import, export,
/// and the two maintenance lists).
std::vector<CliCommand> ToolCommands();

enum class ExchangeFormat;
/// export and import of the files of translation tools.
int RunExchangeExport(const CliArguments& args, ExchangeFormat format);
int RunExchangeImport(const CliArguments& args, ExchangeFormat format);
/// The checks of the translated result.
int RunCheck(const CliArguments& args);

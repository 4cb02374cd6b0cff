// lorvo-cli: the road from resource scripts to translated scripts without
// a window, over the same core the program uses.
#include "cli/CliCommands.h"
#include "cli/CliDocs.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iostream>

namespace {

void PrintCommandHelp(const CliCommand& c, std::ostream& out)
{
    out << "Usage: lorvo-cli " << c.usage << "\n\n" << c.summary << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintOverview(std::cerr);
        return ExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintOverview(std::cout);
        return ExitOk;
    }
    // For packaging: the manual page and the shell completion come from the
    // same table as the help.
    if (name == "--man") {
        PrintManPage(std::cout, LINGOREL_VERSION);
        return ExitOk;
    }
    if (name == "--bash-completion") {
        PrintBashCompletion(std::cout);
        return ExitOk;
    }
    const CliCommand* command = nullptr;
    for (const CliCommand& c : CliCommands()) {
        if (name == c.name)
            command = &c;
    }
    if (!command) {
        std::cerr << "lorvo-cli: unknown command '" << name << "'\n\n";
        PrintOverview(std::cerr);
        return ExitUsage;
    }

    CliArguments args;
    bool onlyPositional = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (onlyPositional || arg.size() < 2 || arg.rfind("--", 0) != 0) {
            args.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyPositional = true;
        } else if (arg == "--help" || arg == "-h") {
            PrintCommandHelp(*command, std::cout);
            return ExitOk;
        } else if (arg == "--ask") {
            args.ask = true;
        } else if (arg == "--raw") {
            args.raw = true;
        } else if (arg == "--code-page" && i + 1 < argc) {
            args.codePage = argv[++i];
        } else {
            bool known = false;
            for (const std::string& flag : command->flagOptions) {
                if (arg == "--" + flag) {
                    args.flags.push_back(flag);
                    known = true;
                }
            }
            for (const std::string& option : command->valueOptions) {
                if (!known && arg == "--" + option && i + 1 < argc) {
                    args.options.emplace_back(option, argv[++i]);
                    known = true;
                    break;
                }
            }
            if (!known) {
                std::cerr << "lorvo-cli " << command->name << ": unknown or incomplete option '" << arg
                          << "'\n";
                PrintCommandHelp(*command, std::cerr);
                return ExitUsage;
            }
        }
    }
    if (args.positional.size() < command->minArgs || args.positional.size() > command->maxArgs) {
        std::cerr << "lorvo-cli " << command->name << ": wrong number of arguments\n";
        PrintCommandHelp(*command, std::cerr);
        return ExitUsage;
    }
    return command->run(args);
}

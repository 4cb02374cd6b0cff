// lorvo-cli: the road from resource scripts to translated scripts without
// a window, over the same core the program uses.
#include "cli/CliCommands.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iostream>

namespace {

void PrintOverview(std::ostream& out)
{
    out << "Usage: lorvo-cli <command> [options] [arguments]\n\n"
        << "Translates the texts of Windows resource scripts (.rc) through a dictionary.\n\n"
        << "Commands:\n";
    std::size_t width = 0;
    for (const CliCommand& c : CliCommands())
        width = std::max(width, std::strlen(c.name));
    for (const CliCommand& c : CliCommands())
        out << "  " << c.name << std::string(width + 2 - std::strlen(c.name), ' ') << c.summary << '\n';
    out << "\nOptions of every command:\n"
        << "  --ask              ask on the terminal whether changed scripts are to be extracted\n"
        << "                     (without it the answer is \"No All\")\n"
        << "  --raw              texts on the command line are bytes of the dictionary's code page\n"
        << "                     (by default they are UTF-8 and converted)\n"
        << "  --code-page NAME   code page of an 8-bit dictionary's texts (default cp1252)\n"
        << "  --help             show the help of the command\n\n"
        << "Run 'lorvo-cli <command> --help' for the arguments of a command.\n";
}

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

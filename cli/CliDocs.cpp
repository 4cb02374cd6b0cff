#include "cli/CliDocs.h"

#include "cli/CliCommands.h"

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>

namespace {

struct GlobalOption
{
    const char* name;
    const char* argument; // empty for a switch
    const char* help;
};

const GlobalOption kGlobalOptions[] = {
    {"--ask", "",
     "ask on the terminal whether changed scripts are to be extracted (without it the answer is \"No All\")"},
    {"--raw", "",
     "texts on the command line are bytes of the dictionary's code page (by default they are UTF-8 "
     "and converted)"},
    {"--code-page", "NAME",
     "code page of an 8-bit dictionary's texts when it records none (default cp1252); a dictionary records "
     "the one it was made with, and this option is then used instead"},
    {"--help", "", "show the help of the command"},
};

// Roff text: a leading dot or quote and backslashes must not be read as
// requests or escapes.
std::string Roff(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out.front() == '.' || out.front() == '\''))
        out.insert(0, "\\&");
    return out;
}

} // namespace

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
    out << "\nOptions of every command:\n";
    for (const GlobalOption& o : kGlobalOptions) {
        std::string head =
            std::string(o.name) + (*o.argument ? std::string(" ") + o.argument : std::string());
        out << "  " << head << std::string(head.size() < 19 ? 19 - head.size() : 1, ' ') << o.help << '\n';
    }
    out << "\nRun 'lorvo-cli <command> --help' for the arguments of a command.\n";
}

void PrintManPage(std::ostream& out, const char* version)
{
    out << ".TH LORVO\\-CLI 1 \"\" \"Lingorel " << version << "\" \"User Commands\"\n"
        << ".SH NAME\nlorvo\\-cli \\- translate Windows resource scripts through a dictionary\n"
        << ".SH SYNOPSIS\n.B lorvo\\-cli\n.I command\n[\\fIoptions\\fR] [\\fIarguments\\fR]\n"
        << ".SH DESCRIPTION\n"
        << "Translates the texts of Windows resource scripts (.rc) through a dictionary: the same road as "
           "the program \\fBlorvo\\fR(1), without a window.\n"
        << ".SH COMMANDS\n";
    for (const CliCommand& c : CliCommands()) {
        out << ".TP\n.B " << Roff(c.usage) << '\n' << Roff(c.summary) << '\n';
        if (!c.valueOptions.empty() || !c.flagOptions.empty()) {
            out << "Options:";
            for (const std::string& o : c.valueOptions)
                out << " \\fB\\-\\-" << Roff(o) << "\\fR \\fIVALUE\\fR";
            for (const std::string& o : c.flagOptions)
                out << " \\fB\\-\\-" << Roff(o) << "\\fR";
            out << ".\n";
        }
    }
    out << ".SH OPTIONS\nOptions of every command:\n";
    for (const GlobalOption& o : kGlobalOptions) {
        out << ".TP\n.B " << Roff(o.name);
        if (*o.argument)
            out << " \" \\fI" << o.argument << "\\fR\"";
        out << '\n' << Roff(o.help) << '\n';
    }
    out << ".SH EXIT STATUS\n0 on success, 1 when the command reported a problem, 2 for a usage error, "
           "3 when \\fBshow\\fR does not meet the resource's END.\n"
        << ".SH FILES\nA dictionary is four files side by side: \\fIname\\fR.dic (the general dictionary), "
           ".ent (the in-context dictionary), .fil (the scripts and their destinations) and .nir (the "
           "resources not to extract).\n"
        << ".SH SEE ALSO\n\\fBlorvo\\fR(1)\n";
}

void PrintBashCompletion(std::ostream& out)
{
    out << "# bash completion for lorvo-cli, made by lorvo-cli itself\n"
        << "_lorvo_cli()\n{\n"
        << "    local cur=${COMP_WORDS[COMP_CWORD]}\n"
        << "    if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
        << "        COMPREPLY=($(compgen -W '";
    for (const CliCommand& c : CliCommands())
        out << c.name << ' ';
    out << "--help' -- \"$cur\"))\n        return\n    fi\n"
        << "    local options='";
    for (const GlobalOption& o : kGlobalOptions)
        out << o.name << ' ';
    out << "'\n    case ${COMP_WORDS[1]} in\n";
    for (const CliCommand& c : CliCommands()) {
        out << "    " << c.name << ") options+='";
        for (const std::string& o : c.valueOptions)
            out << " --" << o;
        for (const std::string& o : c.flagOptions)
            out << " --" << o;
        out << "' ;;\n";
    }
    out << "    esac\n"
        << "    if [[ $cur == -* ]]; then\n"
        << "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
        << "    else\n"
        << "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
        << "    fi\n}\n"
        << "complete -o filenames -F _lorvo_cli lorvo-cli\n";
}

// Bringing in the translations of scripts translated by hand: one pair, or
// every translated copy of a script in a folder, one dictionary each.
#include "cli/AlignCommands.h"

#include "cli/CliSession.h"
#include "exchange/ScriptAlignment.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>

namespace fs = std::filesystem;

namespace {

// Aligns one pair in the open dictionary and saves it; the exit code.
int AlignOne(Session& session, const std::string& original, const std::string& translated,
             const std::string& destination, bool replace)
{
    CTrelvarDoc& doc = session.Doc();
    std::string inserted;
    const std::string source = AlignableScript(doc, original, destination, session.Reporter(), &inserted);
    if (!inserted.empty())
        std::cout << "Inserted " << original << " -> " << inserted << '\n';
    if (source.empty())
        return ExitError;
    const AlignmentSummary summary = AlignTranslatedScript(doc, source, translated, replace);
    for (const std::string& problem : summary.problems)
        std::cerr << problem << '\n';
    if (summary.aligned > 0)
        doc.MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
    if ((summary.aligned > 0 || doc.IsModified()) && !session.Save())
        return ExitError;
    if (summary.kept > 0)
        std::cout << summary.kept
                  << " translation(s) of the dictionary were kept (--replace replaces them)\n";
    std::cout << AlignmentSummaryLine(summary) << '\n';
    if (!summary.read || summary.unmatched > 0 || !summary.problems.empty())
        return ExitError;
    return session.Exit();
}

int RunAlign(const CliArguments& args)
{
    Session session(args);
    if (!session.Open(args.positional[0]))
        return ExitError;
    const std::string* destination = args.Option("destination");
    return AlignOne(session, Absolute(args.positional[1]), Absolute(args.positional[2]),
                    destination ? Absolute(*destination) : std::string(), args.Flag("replace"));
}

bool IsScript(const fs::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".rc";
}

int RunAlignAll(const CliArguments& args)
{
    const std::string original = Absolute(args.positional[0]);
    const std::string folder = Absolute(args.positional[1]);
    const std::string* dictionaries = args.Option("dictionaries");
    if (!dictionaries) {
        std::cerr << "lorvo-cli align-all: --dictionaries names the folder of the dictionaries\n";
        return ExitUsage;
    }
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        std::cerr << "lorvo-cli align-all: " << folder << " is not a folder\n";
        return ExitError;
    }
    // Every script of the folder but the original, in a stable order.
    std::vector<fs::path> translated;
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error) && IsScript(it->path()) &&
            !fs::equivalent(it->path(), original, error))
            translated.push_back(it->path());
    }
    std::sort(translated.begin(), translated.end());
    if (translated.empty()) {
        std::cerr << "lorvo-cli align-all: no translated script (.rc) in " << folder << '\n';
        return ExitError;
    }
    // Each dictionary is named after its script, or after the script's
    // folder when several have one name (lang/de/app.rc, lang/fr/app.rc).
    std::map<std::string, int> sameName;
    for (const fs::path& path : translated)
        ++sameName[path.stem().string()];
    const std::string home = Absolute(*dictionaries);
    fs::create_directories(home, error);
    int exit = ExitOk;
    for (const fs::path& path : translated) {
        const std::string name = sameName[path.stem().string()] > 1 ? path.parent_path().filename().string()
                                                                    : path.stem().string();
        const std::string dic = (fs::path(home) / (name + ".dic")).string();
        std::cout << path.string() << " -> " << dic << '\n';
        Session session(args);
        if (!fs::exists(dic)) {
            // A Unicode dictionary holds every language a copy may be in.
            if (!session.Doc().CreateDictionary(name, home, fs::path(original).parent_path().string(),
                                                (fs::path(home) / name).string() + "/", true, 0))
                return ExitError;
            std::cout << "Created " << dic << '\n';
        } else if (!session.Open(dic)) {
            exit = ExitError;
            continue;
        }
        const std::string destination = (fs::path(home) / name).string() + "/";
        const int one = AlignOne(session, original, path.string(), destination, args.Flag("replace"));
        if (one != ExitOk)
            exit = ExitError;
    }
    return exit;
}

} // namespace

std::vector<CliCommand> AlignCommands()
{
    return {
        {"align",
         "align <dict.dic> <original.rc> <translated.rc> [--replace] [--destination D]",
         "Takes the translations of a script translated by hand into the dictionary of its original "
         "(inserting and extracting the original first when the dictionary does not have it). Resources "
         "pair by kind and name, texts by their control, menu item or string identifier; each text gets "
         "the translation most of its occurrences have, a resource that differs its own, each occurrence "
         "its access key. Existing translations are kept unless --replace. Texts on one side only are "
         "reported; the exit code is then 1, and what was aligned is kept.",
         {"destination"},
         3,
         3,
         RunAlign,
         {"replace"}},
        {"align-all",
         "align-all <original.rc> <folder> --dictionaries <folder> [--replace]",
         "Aligns every translated copy (.rc) of the original found in the folder, each into a dictionary "
         "of its own in the dictionaries' folder, named after the copy or its folder; dictionaries "
         "made for it are Unicode.",
         {"dictionaries"},
         2,
         2,
         RunAlignAll,
         {"replace"}},
    };
}

// The commands that search the dictionary and move translations in and out
// of it, with the same core and messages as the program's windows.
#include "cli/ToolCommands.h"

#include "cli/CliSession.h"
#include "cli/ExchangeCommands.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/DictionaryTools.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/LineFile.h"
#include "dictionary/Messages.h"
#include "dictionary/PseudoTranslation.h"
#include "dictionary/SampleCopy.h"
#include "dictionary/TextRules.h"
#include "engine/AccessKeys.h"
#include "engine/ResourceSearch.h"
#include "engine/ResourceTree.h"
#include "engine/ScriptStatistics.h"
#include "exchange/ExchangeFormats.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>

namespace fs = std::filesystem;

namespace {

int RunFind(const CliArguments& args)
{
    Session session(args);
    if (!session.Open(args.positional[0], CTrelvarDoc::Access::ReadOnly))
        return ExitError;
    std::string text;
    if (!session.Text(args.positional[1], text))
        return ExitError;
    CTrelvarDoc& doc = session.Doc();
    // The resources are looked up as the resource tree shows them.
    ResourceTree tree;
    SetTreeFiles(tree, *doc.Files());
    tree.SetStores(doc.General(), doc.Context(), doc.NotExtracted());
    tree.RebuildTree();
    const std::vector<LocatedMatch> located =
        LocateMatches(tree, FindInResources(*doc.General(), *doc.Context(), text));
    if (located.empty()) {
        std::cerr << MessageText(MsgTextNotFound) << '\n';
        return ExitError;
    }
    for (const LocatedMatch& m : located) {
        std::cout << m.match.file << '\t' << session.Shown(m.match.resourceName) << '\t'
                  << ResourceTypeName(m.kind);
        if (args.Flag("matched"))
            std::cout << '\t' << session.Shown(m.match.matched);
        std::cout << '\n';
    }
    return session.Exit();
}

// A file of translation tools goes to the exchange commands: the format
// --format names, else the one of the file's extension. Nothing when the
// file is the program's own text or dictionary format.
std::optional<int> RunAsExchange(const CliArguments& args, const char* command,
                                 int (*run)(const CliArguments&, ExchangeFormat))
{
    const std::string* named = args.Option("format");
    if (const auto format = ExchangeFormatOf(args.positional[1], named))
        return run(args, *format);
    if (!named)
        return std::nullopt;
    std::cerr << "lorvo-cli " << command << ": --format takes po, xliff or tmx\n";
    return ExitUsage;
}

int RunImport(const CliArguments& args)
{
    if (const auto exit = RunAsExchange(args, "import", RunExchangeImport))
        return *exit;
    Session session(args);
    if (!session.Open(args.positional[0]))
        return ExitError;
    const std::string path = Absolute(args.positional[1]);
    // A .dic file must carry the dictionary header; any other file is read
    // as records of the same layout without it.
    const bool dictionaryFile = EqualsNoCase(Extension(path), "dic");
    std::optional<GeneralDictionary> imported = ReadImportFile(path, dictionaryFile, &session.Reporter());
    if (!imported)
        return ExitError;
    CTrelvarDoc& doc = session.Doc();
    ConvertTexts(*imported, {session.CodePage(), session.CodePage()},
                 {doc.OriginalsCodePage(), doc.TranslationsCodePage()});
    const auto changes = TranslationsToImport(*doc.General(), *imported, nullptr, args.Flag("replace"));
    SetGeneralTranslations(*doc.General(), *doc.Context(), changes, doc.TranslationsCodePage());
    const int count = static_cast<int>(changes.size());
    if (count > 0) {
        doc.MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
        if (!session.Save())
            return ExitError;
    }
    std::cout << FormatMessage(MsgImportedTranslations, {std::to_string(count)}) << '\n';
    return session.Exit();
}

int RunExport(const CliArguments& args)
{
    if (const auto exit = RunAsExchange(args, "export", RunExchangeExport))
        return *exit;
    Session session(args);
    const std::string path = Absolute(args.positional[1]);
    const std::string extension = Extension(path);
    // The HTML page is the Dictionary window's list as it shows it.
    if (extension == "htm" || extension == "html") {
        session.Reporter().Report(MsgCannotExportWithoutList, {});
        return ExitError;
    }
    if (!session.Open(args.positional[0], CTrelvarDoc::Access::ReadOnly))
        return ExitError;
    if (session.Doc().IsOwnFile(path)) {
        session.Reporter().Report(MsgExportOverDictionary, {path, session.Doc().PathName()});
        return ExitError;
    }
    if (!ExportTexts(*session.Doc().General(), path, &session.Reporter())) {
        session.Reporter().Report(MsgCannotExport, {});
        return ExitError;
    }
    std::cout << "Exported " << session.Doc().General()->TextCount() << " text(s) to " << path << '\n';
    return session.Exit();
}

int RunUnused(const CliArguments& args)
{
    const bool remove = args.Flag("remove");
    Session session(args);
    if (!session.Open(args.positional[0],
                      remove ? CTrelvarDoc::Access::ReadWrite : CTrelvarDoc::Access::ReadOnly))
        return ExitError;
    CTrelvarDoc& doc = session.Doc();
    const std::vector<std::string> unused = UnusedTexts(*doc.General(), *doc.Context());
    for (const std::string& text : unused)
        std::cout << session.Shown(text) << '\n';
    if (!remove || unused.empty())
        return session.Exit();
    int removed = 0;
    for (const std::string& text : unused)
        removed += doc.General()->RemoveText(text) ? 1 : 0;
    doc.MarkChanged(CTrelvarDoc::GeneralChanged);
    if (!session.Save())
        return ExitError;
    std::cerr << "Removed " << removed << " text(s)\n";
    return session.Exit();
}

int RunDoNotTranslate(const CliArguments& args)
{
    const std::vector<std::string> removals = args.Options("remove");
    const std::vector<std::string> additions = args.Options("add");
    const bool changing = !removals.empty() || !additions.empty();
    Session session(args);
    if (!session.Open(args.positional[0],
                      changing ? CTrelvarDoc::Access::ReadWrite : CTrelvarDoc::Access::ReadOnly))
        return ExitError;
    CTrelvarDoc& doc = session.Doc();
    GeneralDictionary& general = *doc.General();
    if (!changing) {
        for (const auto& text : general.DoNotTranslate())
            std::cout << session.Shown(text.key) << '\n';
        return session.Exit();
    }
    bool changed = false;
    for (const std::string& typed : additions) {
        std::string text;
        if (!session.Text(typed, text))
            continue;
        if (!general.FindTranslation(text)) {
            session.Reporter().Report(MsgTextNotInDictionary, {typed});
            continue;
        }
        general.SetDoNotTranslate(text);
        changed = true;
    }
    for (const std::string& typed : removals) {
        std::string text;
        if (!session.Text(typed, text))
            continue;
        // A text that is not on the list is an error, as an unknown text
        // to add is.
        if (general.ClearDoNotTranslate(text))
            changed = true;
        else
            session.Reporter().Report(MsgNotOnDoNotTranslateList, {typed});
    }
    if (changed) {
        doc.MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
        if (!session.Save())
            return ExitError;
    }
    return session.Exit();
}

} // namespace

// Every untranslated text filled with its pseudo-translation, in the
// dictionary itself or in a copy of it (--output).
int RunPseudo(const CliArguments& args)
{
    int expand = 30;
    if (const std::string* given = args.Option("expand")) {
        char* end = nullptr;
        const long value = std::strtol(given->c_str(), &end, 10);
        if (given->empty() || *end != '\0' || value < 0 || value > 400) {
            std::cerr << "lorvo-cli pseudo: --expand takes a percentage from 0 to 400\n";
            return ExitUsage;
        }
        expand = static_cast<int>(value);
    }
    std::string dictionary = Absolute(args.positional[0]);
    if (const std::string* output = args.Option("output")) {
        // The copy is the four files under the new name; the real
        // dictionary is only read.
        const fs::path to = Absolute(*output);
        const fs::path from = dictionary;
        for (const char* ext : {".dic", ".ent", ".fil", ".nir"}) {
            const fs::path target = fs::path(to).replace_extension(ext);
            if (fs::exists(target)) {
                std::cerr << "lorvo-cli pseudo: " << target.string() << " already exists\n";
                return ExitError;
            }
        }
        // Each file is copied whole or not at all; a copy that fails takes
        // the files copied before it away, and says why.
        std::vector<std::string> copied;
        for (const char* ext : {".dic", ".ent", ".fil", ".nir"}) {
            const std::string source = fs::path(from).replace_extension(ext).string();
            const std::string target = fs::path(to).replace_extension(ext).string();
            std::string bytes;
            LineFile in;
            LineFile out;
            const bool present = fs::exists(source);
            if (present && (!in.OpenForReading(source) || !in.ReadAll(bytes))) {
                std::cerr << "lorvo-cli pseudo: " << source << ": " << in.ErrorText() << '\n';
            } else if (!present) {
                continue; // a dictionary without its .nir
            } else if (out.OpenForWriting(target, nullptr)) {
                out.WriteRaw(bytes.data(), bytes.size());
                if (out.Close()) {
                    copied.push_back(target);
                    continue;
                }
                std::cerr << "lorvo-cli pseudo: " << target << ": " << out.ErrorText() << '\n';
            } else {
                std::cerr << "lorvo-cli pseudo: " << target << ": " << out.ErrorText() << '\n';
            }
            for (const std::string& made : copied)
                fs::remove(made);
            return ExitError;
        }
        dictionary = fs::path(to).replace_extension(".dic").string();
    }
    Session session(args);
    if (!session.Open(dictionary))
        return ExitError;
    CTrelvarDoc& doc = session.Doc();
    if (args.Option("output")) {
        // The copy generates into a folder of its own beside it, never over
        // the real dictionary's translated scripts.
        const std::string folder = fs::path(dictionary).replace_extension("").string() + "-scripts";
        std::vector<FileList::Record> records;
        for (const auto& entry : doc.Files()->Files())
            records.push_back(entry.value);
        for (const FileList::Record& r : records)
            doc.Files()->RemoveFile(r.source);
        // Scripts of one name from several folders each keep a file of
        // their own there: app.rc, app-2.rc, ...
        std::set<std::string> taken;
        for (const FileList::Record& r : records) {
            const fs::path name = fs::path(r.destination).filename();
            std::string unique = name.string();
            for (int n = 2; !taken.insert(AnsiLower(unique)).second; ++n)
                unique = name.stem().string() + "-" + std::to_string(n) + name.extension().string();
            doc.Files()->AddFile(r.source, folder + "/" + unique, r.stamp);
        }
        doc.SetDefaultFolders(doc.DefaultSourceFolder(), folder);
        doc.SetModifiedFlag();
    }
    const int filled =
        PseudoTranslateDictionary(*doc.General(), *doc.Context(), expand, doc.TranslationsCodePage());
    if (filled > 0 || doc.IsModified()) {
        doc.MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
        if (!session.Save())
            return ExitError;
    }
    std::cout << filled << " text(s) pseudo-translated in " << dictionary << '\n';
    return session.Exit();
}

// The user's copy of the sample, made from the templates the program ships
// (share/lingorel/sample beside the program's bin folder).
int RunSample(const CliArguments& args)
{
    std::error_code ec;
    const std::string program = fs::read_symlink("/proc/self/exe", ec).parent_path().string();
    const std::string* given = args.Option("folder");
    const std::string folder = given ? Absolute(*given) : UserSampleFolder();
    if (folder.empty()) {
        std::cerr << "lorvo-cli sample: neither XDG_DATA_HOME nor HOME is set: give --folder\n";
        return ExitUsage;
    }
    std::string error;
    if (!PlaceSample(SampleTemplatesFor(program), folder, error)) {
        std::cerr << "lorvo-cli sample: " << error << '\n';
        return ExitError;
    }
    std::cout << folder << "/sample.dic\n";
    return ExitOk;
}

std::vector<CliCommand> ToolCommands()
{
    return {
        {"find",
         "find <dict.dic> <text> [--matched]",
         "Lists the file, resource and type of every resource whose original, in-context or general "
         "translation holds the text, in any case (exit code 1 when none does); --matched adds the "
         "text that holds it.",
         {},
         2,
         2,
         RunFind,
         {"matched"}},
        {"import",
         "import <dict.dic> <file.dic|file.txt|file.po|file.xlf|file.tmx> [--format po|xliff|tmx] "
         "[--replace|--keep]",
         "Gives the texts of the dictionary that have no translation yet the translations of another "
         "dictionary (.dic), of a text file in the same record layout (UTF-8 or the dictionary's code "
         "page) or of a translation memory (.tmx); existing translations are kept unless --replace. From "
         "a PO or XLIFF file (by its extension or --format) it takes every translation, access key and "
         "text-not-to-translate mark the file gives for the dictionary's texts, in place of the "
         "dictionary's unless --keep; empty and unsure (fuzzy, needs-review) translations change "
         "nothing and are no error. Exit code 1 when the file cannot be read or a text, script or "
         "resource of it is not the dictionary's or has characters the dictionary cannot hold.",
         {"format"},
         2,
         2,
         RunImport,
         {"replace", "keep"}},
        {"export",
         "export <dict.dic> <file.txt|file.po|file.pot|file.xlf|file.tmx> [--format po|xliff|tmx] "
         "[--template] [--source-language L] [--target-language L]",
         "Writes every text and its translation, one \"original\";\"translation\" line each; or, to a PO "
         "or XLIFF file (UTF-8), every text without context and the texts of each resource that have "
         "their own translation or access key with the script and resource as context (\"&\" marks "
         "the access key), with the script lines that use them and the kind and name of the resource; "
         "with --template (or to a .pot file), a PO template of every text and every text of every "
         "resource, untranslated, which msgmerge keeps a translator's file up to date with; to a TMX "
         "file, every translated text as a unit of a translation memory.",
         {"format", "source-language", "target-language"},
         2,
         2,
         RunExport,
         {"template"}},
        {"check",
         "check <dict.dic> [script.rc]... [--only KIND[,KIND]...] [--language L] [--warnings-as-errors]",
         "Checks the translated result of the scripts (all when none is named) resource by resource and "
         "prints each finding as script.rc:LINE: RESOURCE: message [KIND]. Errors: two texts of one dialog "
         "or pop-up menu with the same access key (access-key-clash), an access key lost (access-key), "
         "printf or %1 placeholders that differ (placeholder), a menu item's accelerator after \\t changed "
         "(accelerator). Warnings: an access key added (access-key), a translation larger than its control "
         "as the preview measures it (fit), leading or trailing blanks, final colon or ellipsis that differ "
         "(punctuation), an escape lost or added (escape, an error), a URL or file name changed "
         "(url-or-file), with --language (a Hunspell dictionary such as fr_FR) a misspelt word of a "
         "translation (spelling). Exit code 1 when it found an error, or a warning with "
         "--warnings-as-errors.",
         {"only", "language"},
         1,
         SIZE_MAX,
         RunCheck,
         {"warnings-as-errors"}},
        {"unused",
         "unused <dict.dic> [--remove]",
         "Lists the texts of the dictionary that no resource uses any more; --remove deletes them.",
         {},
         1,
         1,
         RunUnused,
         {"remove"}},
        {"do-not-translate",
         "do-not-translate <dict.dic> [--remove TEXT]... [--add TEXT]...",
         "Lists the texts not to translate, or takes texts off that list or puts them on it.",
         {"remove", "add"},
         1,
         1,
         RunDoNotTranslate},
        {"pseudo",
         "pseudo <dict.dic> [--expand PERCENT] [--output other.dic]",
         "Gives every untranslated text an accented, bracketed form lengthened by PERCENT (30 by "
         "default), keeping access keys, placeholders and accelerators, so that previews and builds show "
         "truncation before anyone translates; with --output the dictionary is copied first and left as "
         "it is, and the copy generates into <output>-scripts/.",
         {"expand", "output"},
         1,
         1,
         RunPseudo},
        {"sample",
         "sample [--folder DIR]",
         "Makes the user's own copy of the sample script and dictionary (in $XDG_DATA_HOME/lingorel/sample "
         "unless DIR is given; an existing copy is kept) and prints the dictionary's path.",
         {"folder"},
         0,
         0,
         RunSample},
    };
}

#include "cli/CliCommands.h"

#include "cli/AlignCommands.h"
#include "cli/CliSession.h"
#include "cli/ExchangeCommands.h"
#include "cli/MemoryCommands.h"
#include "cli/PreviewJson.h"
#include "cli/ToolCommands.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "dictionary/NotExtractedList.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/AccessKeys.h"
#include "engine/ResourceKind.h"
#include "engine/ResourceTree.h"
#include "engine/ScriptResources.h"
#include "engine/ScriptRuns.h"
#include "engine/ScriptStatistics.h"
#include "engine/ScriptText.h"
#include "preview/model/PreviewDialogInfo.h"
#include "preview/model/PreviewMenu.h"
#include "preview/model/PreviewReader.h"
#include "preview/model/PreviewTranslator.h"
#include "preview/model/StyleNameTable.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace {

int RunNew(const CliArguments& args)
{
    Session session(args);
    const std::string folder = Absolute(args.positional[0]);
    const std::string* source = args.Option("source-folder");
    const std::string* destination = args.Option("destination-folder");
    const std::string* encoding = args.Option("encoding");
    const int codePage = encoding ? ParseCodePage(*encoding) : session.CodePage();
    if (codePage == 0) {
        std::cerr << "lorvo-cli new: unknown encoding '" << *encoding
                  << "' (utf-8, or a Windows code page such as cp1252, cp932, cp1251)\n";
        return ExitUsage;
    }
    const bool unicode = codePage == kUtf8CodePage;
    // An 8-bit dictionary records its code page, which every command then
    // reads its texts in.
    if (!session.Doc().CreateDictionary(
            args.positional[1], folder, source ? Absolute(*source) : std::string(),
            destination ? Absolute(*destination) : std::string(), unicode, unicode ? 0 : codePage))
        return ExitError;
    std::cout << "Created " << session.Doc().PathName() << '\n';
    return session.Exit();
}

int RunInsert(const CliArguments& args)
{
    // insert <dict> <script>... [--destination D]; the older form
    // insert <dict> <script> <destination> still holds when the third
    // argument is not an existing file.
    std::vector<std::string> scripts(args.positional.begin() + 1, args.positional.end());
    std::string destination;
    if (const std::string* given = args.Option("destination")) {
        destination = Absolute(*given);
    } else if (scripts.size() == 2 && !fs::is_regular_file(scripts[1])) {
        destination = Absolute(scripts[1]);
        scripts.pop_back();
    }
    if (scripts.size() > 1 && !destination.empty() && destination.back() != '/' &&
        !fs::is_directory(destination)) {
        std::cerr << "lorvo-cli insert: the destination of several scripts must be a folder\n";
        return ExitUsage;
    }
    Session session(args);
    if (!session.Open(args.positional[0]))
        return ExitError;
    CTrelvarDoc& doc = session.Doc();
    int inserted = 0;
    for (const std::string& script : scripts) {
        const std::string source = Absolute(script);
        const ScriptInsertion result =
            InsertScript(*doc.Files(), source, destination, doc.DefaultDestinationFolder());
        if (result.message != 0) {
            // Among several scripts, say which one the message is about.
            if (scripts.size() > 1)
                std::cerr << source << ":\n";
            session.Reporter().Report(result.message, result.Arguments());
            continue;
        }
        ++inserted;
        std::cout << "Inserted " << source << " -> " << result.destination << '\n';
        if (!doc.IsUnicode()) {
            for (const int page : OtherDeclaredCodePages(source, doc.OriginalsCodePage()))
                std::cout << FormatMessage(
                                 MsgScriptCodePageDiffers,
                                 {source, std::to_string(page), std::to_string(doc.OriginalsCodePage())})
                          << '\n';
        }
    }
    if (inserted > 0) {
        doc.SetModifiedFlag();
        if (!session.Save())
            return ExitError;
    }
    return session.Exit();
}

// Opens the dictionary, then takes the scripts named on the command line,
// or every script of the list.
bool SelectScripts(Session& session, const CliArguments& args, std::vector<const FileList::Record*>& records)
{
    if (!session.Open(args.positional[0]))
        return false;
    if (args.positional.size() == 1) {
        for (const auto& entry : session.Doc().Files()->Files())
            records.push_back(&entry.value);
        return true;
    }
    bool ok = true;
    for (std::size_t i = 1; i < args.positional.size(); ++i) {
        if (const FileList::Record* record = session.FindScript(args.positional[i]))
            records.push_back(record);
        else
            ok = false;
    }
    return ok;
}

int RunExtract(const CliArguments& args)
{
    Session session(args);
    std::vector<const FileList::Record*> records;
    if (!SelectScripts(session, args, records))
        return ExitError;
    std::vector<std::string> sources;
    for (const FileList::Record* record : records)
        sources.push_back(record->source);
    TerminalProgress progress;
    const ExtractionRun run = ExtractScripts(session.Doc(), sources, progress.AllFiles(),
                                             progress.CurrentFile(), &session.Reporter());
    if (run.extracted > 0 && !session.Save())
        return ExitError;
    std::cout << "Extracted " << run.extracted << " of " << sources.size()
              << " file(s); the dictionary holds " << session.Doc().General()->TextCount() << " text(s)\n";
    return session.Exit();
}

int RunGenerate(const CliArguments& args)
{
    Session session(args);
    std::vector<const FileList::Record*> records;
    if (!SelectScripts(session, args, records))
        return ExitError;
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const FileList::Record* record : records)
        pairs.emplace_back(record->source, record->destination);
    std::vector<std::size_t> done;
    {
        TerminalProgress progress;
        done = GenerateScripts(session.Doc(), pairs, progress.AllFiles(), progress.CurrentFile(),
                               &session.Reporter());
    }
    for (std::size_t i : done)
        std::cout << "Generated " << pairs[i].second << '\n';
    return done.size() == pairs.size() ? session.Exit() : ExitError;
}

int RunTranslate(const CliArguments& args)
{
    Session session(args);
    if (!session.Open(args.positional[0]))
        return ExitError;
    std::string original, translation;
    if (!session.Text(args.positional[1], original) || !session.Text(args.positional[2], translation))
        return ExitError;
    GeneralDictionary& general = *session.Doc().General();
    if (!general.FindTranslation(original)) {
        session.Reporter().Report(MsgTextNotInDictionary, {args.positional[1]});
        return ExitError;
    }
    SetGeneralTranslation(general, *session.Doc().Context(), original, translation,
                          session.Doc().TranslationsCodePage());
    session.Doc().MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
    if (!session.Save())
        return ExitError;
    return session.Exit();
}

int RunExcludeOrInclude(const CliArguments& args, bool exclude)
{
    const std::string& kindName = args.positional[3];
    if (kindName != "menu" && kindName != "dialog") {
        std::cerr << "lorvo-cli: the kind must be 'menu' or 'dialog', not '" << kindName << "'\n";
        return ExitUsage;
    }
    Session session(args);
    if (!session.Open(args.positional[0]))
        return ExitError;
    const FileList::Record* record = session.FindScript(args.positional[1]);
    if (!record)
        return ExitError;
    const std::string& name = args.positional[2];
    const int kind = kindName == "menu" ? KindMenu : KindDialog;
    ScriptResources resources;
    resources.Scan(record->source, kind == KindMenu ? ScriptResources::Menus : ScriptResources::Dialogs);
    const auto& names = kind == KindMenu ? resources.menus : resources.dialogs;
    const std::string key = NotExtractedList::MakeKey(record->source, name, kind);
    NotExtractedList& list = *session.Doc().NotExtracted();
    if (exclude && std::find(names.begin(), names.end(), name) == names.end()) {
        session.Reporter().Report(MsgResourceNotInFile, {name, record->source});
        return ExitError;
    }
    if (exclude)
        list.Add(key);
    else if (!list.Remove(key))
        std::cout << name << " was not excluded\n";
    session.Doc().SetModifiedFlag();
    if (!session.Save())
        return ExitError;
    return session.Exit();
}

int RunExclude(const CliArguments& args)
{
    return RunExcludeOrInclude(args, true);
}

int RunInclude(const CliArguments& args)
{
    return RunExcludeOrInclude(args, false);
}

int RunStats(const CliArguments& args)
{
    Session session(args);
    if (!session.Open(args.positional[0], CTrelvarDoc::Access::ReadOnly))
        return ExitError;
    const CTrelvarDoc& doc = session.Doc();
    const TranslationShare share = ShareOf(*doc.General());
    std::cout << "Texts\t" << share.total << "\nTranslated\t" << share.translated << "\nUntranslated\t"
              << share.untranslated << "\n\nFile\tDialog boxes\tMenus\tStringtable\n";
    // The resources as the resource tree shows them.
    ResourceTree tree;
    SetTreeFiles(tree, *doc.Files());
    tree.SetStores(doc.General(), doc.Context(), doc.NotExtracted());
    tree.RebuildTree();
    const ResourceStatistics statistics = CountResources(tree, *doc.Context());
    for (const ScriptCounts& c : statistics.scripts)
        std::cout << c.source << '\t' << c.dialogs << '\t' << c.menus << '\t' << c.stringTables << '\n';
    if (!statistics.scripts.empty())
        std::cout << FormatText("Total in %d file(s)", {std::to_string(statistics.scripts.size())}) << '\t'
                  << statistics.total.dialogs << '\t' << statistics.total.menus << '\t'
                  << statistics.total.stringTables << '\n';
    return session.Exit();
}

int RunShow(const CliArguments& args)
{
    const std::string& kindName = args.positional[2];
    if (kindName != "menu" && kindName != "dialog") {
        std::cerr << "lorvo-cli: the kind must be 'menu' or 'dialog', not '" << kindName << "'\n";
        return ExitUsage;
    }
    const int kind = kindName == "menu" ? KindMenu : KindDialog;
    std::string script = Absolute(args.positional[0]);
    const std::string& name = args.positional[1];
    const std::string* dictionary = args.Option("translated");

    Session session(args);
    PreviewTranslator translator;
    if (dictionary) {
        if (!session.Open(*dictionary, CTrelvarDoc::Access::ReadOnly))
            return ExitError;
        CTrelvarDoc& doc = session.Doc();
        // The script as the dictionary names it, when it is one of its own.
        if (const FileList::Record* record = doc.Files()->Find(script))
            script = record->source;
        translator.Prepare(doc.General(), doc.Context(), doc.NotExtracted(), script, name, kind);
    }
    StyleNameTable styles;
    int counter = 1000;
    PreviewReader reader(styles, counter);
    PreviewDialogInfo dialog;
    PreviewMenu menu;
    const PreviewReader::Result result = reader.Read(script, name, kind, dialog, menu);
    if (!result.opened) {
        session.Reporter().Report(MsgErrorOpeningFile, {args.positional[0]});
        return ExitError;
    }
    PreviewTranslator* translating = dictionary ? &translator : nullptr;
    if (kind == KindDialog) {
        FillDialogDisplay(dialog, translating, dictionary ? session.Doc().Context() : nullptr, script, name);
        std::cout << DialogJson(dialog, result.ended, dictionary != nullptr) << '\n';
    } else {
        FillMenuDisplay(menu, translating);
        std::cout << MenuJson(menu, result.ended, dictionary != nullptr) << '\n';
    }
    if (!result.ended)
        return ExitIncomplete;
    return session.Exit();
}

} // namespace

const std::vector<CliCommand>& CliCommands()
{
    static const std::vector<CliCommand> commands = [] {
        std::vector<CliCommand> all = {
            {"new",
             "new <folder> <name> [--source-folder DIR] [--destination-folder DIR] [--encoding ENC]",
             "Creates the dictionary <folder>/<name>.dic with its companion files. ENC is utf-8 for a "
             "Unicode dictionary, or the code page of an 8-bit one (cp1252, cp932, ...; the default).",
             {"source-folder", "destination-folder", "encoding"},
             2,
             2,
             RunNew},
            {"insert",
             "insert <dict.dic> <script.rc>... [--destination D]",
             "Adds resource scripts to the dictionary in one run; the destination is a folder, or a .rc "
             "file for a single script (default: the dictionary's destination folder). The older form "
             "'insert <dict.dic> <script.rc> <destination>' is still understood.",
             {"destination"},
             2,
             100000,
             RunInsert},
            {"extract",
             "extract <dict.dic> [<script.rc>...]",
             "Extracts the texts of the named scripts (all scripts when none is named) into the dictionary.",
             {},
             1,
             SIZE_MAX,
             RunExtract},
            {"generate",
             "generate <dict.dic> [<script.rc>...]",
             "Writes the translated copy of the named scripts (all scripts when none is named).",
             {},
             1,
             SIZE_MAX,
             RunGenerate},
            {"translate",
             "translate <dict.dic> <original> <translation>",
             "Sets the general translation of a text of the dictionary.",
             {},
             3,
             3,
             RunTranslate},
            {"exclude",
             "exclude <dict.dic> <script.rc> <resource-name> menu|dialog",
             "Puts a menu or dialog on the list of resources not to extract.",
             {},
             4,
             4,
             RunExclude},
            {"include",
             "include <dict.dic> <script.rc> <resource-name> menu|dialog",
             "Takes a menu or dialog off the list of resources not to extract.",
             {},
             4,
             4,
             RunInclude},
            {"stats",
             "stats <dict.dic>",
             "Shows the number of texts, translated and untranslated, and the resources of each script.",
             {},
             1,
             1,
             RunStats},
            {"show",
             "show <script.rc> <resource-name> dialog|menu [--translated <dict.dic>]",
             "Reads one dialog or menu as the preview does and prints its description as JSON "
             "(exit code 3 when the resource's END is not met).",
             {"translated"},
             3,
             3,
             RunShow},
        };
        for (CliCommand& command : ToolCommands())
            all.push_back(std::move(command));
        for (CliCommand& command : AlignCommands())
            all.push_back(std::move(command));
        for (CliCommand& command : MemoryCommands())
            all.push_back(std::move(command));
        return all;
    }();
    return commands;
}

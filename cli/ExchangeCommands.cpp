// Export to and import from the files of translation tools (gettext PO,
// XLIFF), and the checks of a translated result.
#include "cli/ExchangeCommands.h"

#include "cli/CliSession.h"
#include "dictionary/Messages.h"
#include "dictionary/TextRules.h"
#include "exchange/ExchangeFormats.h"
#include "exchange/Spelling.h"
#include "exchange/TranslationCheck.h"
#include "exchange/TranslationExchange.h"
#include "preview/FitModule.h"

#include <cstdlib>
#include <dlfcn.h>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>

int RunExchangeExport(const CliArguments& args, ExchangeFormat format)
{
    Session session(args);
    if (!session.Open(args.positional[0], CTrelvarDoc::Access::ReadOnly))
        return ExitError;
    const std::string path = Absolute(args.positional[1]);
    if (session.Doc().IsOwnFile(path)) {
        session.Reporter().Report(MsgExportOverDictionary, {path, session.Doc().PathName()});
        return ExitError;
    }
    std::vector<std::string> problems;
    // A template holds every entry, untranslated: a translator's file merged
    // with it keeps whatever it can hold.
    const bool asTemplate = args.Flag("template") || AnsiLower(Extension(path)) == "pot";
    if (asTemplate && format != ExchangeFormat::Po) {
        std::cerr << "lorvo-cli export: a template is a PO file (.pot)\n";
        return ExitUsage;
    }
    ExchangeDocument exchange = BuildExchange(session.Doc(), problems, nullptr, asTemplate);
    if (const std::string* language = args.Option("source-language"))
        exchange.sourceLanguage = *language;
    if (const std::string* language = args.Option("target-language"))
        exchange.targetLanguage = *language;
    for (const std::string& problem : problems)
        std::cerr << problem << '\n';
    std::string error;
    if (!WriteExchangeFile(exchange, format, path, error)) {
        std::cerr << "Cannot save the file " << path << ": " << error << '\n';
        return ExitError;
    }
    std::size_t general = 0;
    std::size_t units = 0; // what a memory holds: translated general texts
    for (const ExchangeEntry& e : exchange.entries) {
        general += e.script.empty() ? 1 : 0;
        units += e.script.empty() && !e.translation.empty() && !e.doNotTranslate ? 1 : 0;
    }
    if (format == ExchangeFormat::Tmx) {
        std::cout << "Exported " << units << " translation unit(s) to " << path << '\n';
        return problems.empty() ? session.Exit() : ExitError;
    }
    std::cout << "Exported " << general << " text(s) and " << exchange.entries.size() - general
              << " entr(ies) of resources to " << path << '\n';
    return problems.empty() ? session.Exit() : ExitError;
}

int RunExchangeImport(const CliArguments& args, ExchangeFormat format)
{
    const std::string path = Absolute(args.positional[1]);
    ExchangeDocument exchange;
    std::string error;
    if (!ReadExchangeFile(path, format, exchange, error)) {
        std::cerr << "Error when opening file " << path << ": " << error << '\n';
        return ExitError;
    }
    Session session(args);
    if (!session.Open(args.positional[0]))
        return ExitError;
    CTrelvarDoc& doc = session.Doc();
    const bool replace = args.Flag("replace") || (ImportReplacesByDefault(format) && !args.Flag("keep"));
    const ImportSummary summary = ApplyExchange(exchange, doc, nullptr, replace);
    for (const std::string& problem : summary.problems)
        std::cerr << problem << '\n';
    if (summary.unsure > 0)
        std::cout << summary.unsure << " translation(s) marked unsure (fuzzy) were left for their review\n";
    if (summary.kept > 0)
        std::cout << summary.kept
                  << " translation(s) of the dictionary were kept (--replace replaces them)\n";
    if (summary.translations + summary.resourceEntries + summary.doNotTranslate > 0) {
        doc.MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
        if (!session.Save())
            return ExitError;
    }
    std::cout << summary.translations << " translation(s), " << summary.resourceEntries
              << " entr(ies) of resources and " << summary.doNotTranslate
              << " text(s) not to translate imported\n";
    return summary.problems.empty() ? session.Exit() : ExitError;
}

namespace {

// The preview's measure of texts, from the module that holds Qt's font
// machinery (loaded once and kept: Qt is not made to be unloaded). Null,
// with the reason, when the module cannot be loaded.
std::unique_ptr<FitMeasure> LoadFitMeasure(int translationsCodePage, std::string& error)
{
    void* module = ::dlopen(kFitModuleName, RTLD_NOW | RTLD_LOCAL);
    auto make =
        module ? reinterpret_cast<NewFitMeasureFunction>(::dlsym(module, kNewFitMeasureFunction)) : nullptr;
    if (!make) {
        const char* reason = ::dlerror();
        error = reason ? reason : kFitModuleName;
        return nullptr;
    }
    return std::unique_ptr<FitMeasure>(make(translationsCodePage));
}

} // namespace

// The checks of the translated result; the fit of texts is measured with
// the preview's fonts, which needs Qt's font machinery but no display.
int RunCheck(const CliArguments& args)
{
    std::set<CheckKind> kinds;
    for (const std::string& given : args.Options("only")) {
        std::stringstream list(given);
        std::string name;
        while (std::getline(list, name, ',')) {
            const auto kind = CheckKindNamed(name);
            if (!kind) {
                std::cerr << "lorvo-cli check: unknown kind " << name << "; the kinds are";
                for (CheckKind k : AllCheckKinds())
                    std::cerr << ' ' << CheckKindName(k);
                std::cerr << '\n';
                return ExitUsage;
            }
            kinds.insert(*kind);
        }
    }
    if (kinds.empty()) {
        const auto all = AllCheckKinds();
        kinds.insert(all.begin(), all.end());
    }
    Session session(args);
    if (!session.Open(args.positional[0], CTrelvarDoc::Access::ReadOnly))
        return ExitError;
    std::vector<std::string> scripts;
    for (std::size_t i = 1; i < args.positional.size(); ++i) {
        const FileList::Record* record = session.FindScript(args.positional[i]);
        if (!record)
            return ExitError;
        scripts.push_back(record->source);
    }
    std::unique_ptr<FitMeasure> fit;
    if (kinds.count(CheckKind::Fit)) {
        std::string error;
        fit = LoadFitMeasure(session.Doc().TranslationsCodePage(), error);
        if (!fit) {
            std::cerr << "lorvo-cli check: the fit of texts cannot be measured: " << error << '\n';
            return ExitError;
        }
    }
    // Spelling is checked in the language the user names: asked for alone
    // without one, the command says which languages it has.
    std::unique_ptr<WordSpeller> speller;
    const std::string* language = args.Option("language");
    if (kinds.count(CheckKind::Spelling) && language) {
        std::string error;
        speller = OpenHunspell(*language, error);
        if (!speller) {
            std::cerr << "lorvo-cli check: " << error << '\n';
            return ExitError;
        }
    } else if (kinds.size() == 1 && kinds.count(CheckKind::Spelling)) {
        std::cerr << "lorvo-cli check: name the language of the translations with --language; there are";
        for (const std::string& known : HunspellLanguages())
            std::cerr << ' ' << known;
        std::cerr << '\n';
        return ExitUsage;
    }
    int errors = 0;
    int warnings = 0;
    for (const CheckFinding& finding :
         CheckTranslations(session.Doc(), scripts, fit.get(), nullptr, speller.get())) {
        if (!kinds.count(finding.kind))
            continue;
        std::cout << FormatFinding(finding) << '\n';
        (finding.warning ? warnings : errors) += 1;
    }
    std::cerr << errors << " error(s), " << warnings << " warning(s)\n";
    if (errors > 0 || (warnings > 0 && args.Flag("warnings-as-errors")))
        return ExitError;
    return session.Exit();
}

// Export to and import from the files of translation tools (gettext PO,
// XLIFF), and the checks of a translated result.
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "exchange/ExchangeFormats.h"
#include "exchange/TranslationExchange.h"

#include <iostream>

int RunExchangeExport(const CliArguments& args, ExchangeFormat format)
{
    Session session(args);
    if (!session.Open(args.positional[0], CTrelvarDoc::Access::ReadOnly))
        return ExitError;
    const std::string path = Absolute(args.positional[1]);
    std::vector<std::string> problems;
    ExchangeDocument exchange = BuildExchange(session.Doc(), problems);
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
    for (const ExchangeEntry& e : exchange.entries)
        general += e.script.empty() ? 1 : 0;
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
    const ImportSummary summary = ApplyExchange(exchange, doc);
    for (const std::string& problem : summary.problems)
        std::cerr << problem << '\n';
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

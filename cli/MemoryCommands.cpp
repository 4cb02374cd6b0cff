// The user's translation memory from the command line, and the
// pre-translation of a dictionary from it.
#include "cli/MemoryCommands.h"

#include "cli/CliSession.h"
#include "exchange/TranslationCheck.h"
#include "memory/MemorySources.h"
#include "memory/TranslationMemory.h"

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <set>

namespace {

std::unique_ptr<TranslationMemory> OpenMemory(const CliArguments& args)
{
    const std::string* given = args.Option("memory");
    const std::string path = given ? Absolute(*given) : TranslationMemory::DefaultPath();
    std::string error;
    auto memory = TranslationMemory::Open(path, error);
    if (!memory)
        std::cerr << "lorvo-cli: " << error << '\n';
    return memory;
}

int NumberOption(const CliArguments& args, const char* name, int fallback, int low, int high)
{
    const std::string* given = args.Option(name);
    if (!given)
        return fallback;
    try {
        std::size_t end = 0;
        const int value = std::stoi(*given, &end);
        if (end == given->size() && value >= low && value <= high)
            return value;
    } catch (const std::exception&) {
    }
    return -1;
}

int RunMemory(const CliArguments& args)
{
    const std::string& action = args.positional[0];
    const std::vector<std::string> rest(args.positional.begin() + 1, args.positional.end());
    const bool wantsArguments = action == "add" || action == "remove" || action == "find";
    if (!(wantsArguments || action == "stats") || wantsArguments == rest.empty() ||
        (action != "add" && rest.size() > 1)) {
        std::cerr << "lorvo-cli memory: add <file>..., remove <source>, find <text> [--limit N] or stats\n";
        return ExitUsage;
    }
    const int limit = NumberOption(args, "limit", 5, 1, 1000);
    if (limit < 0) {
        std::cerr << "lorvo-cli memory: --limit takes a number from 1 to 1000\n";
        return ExitUsage;
    }
    const auto memory = OpenMemory(args);
    if (!memory)
        return ExitError;
    std::string error;
    if (action == "add") {
        int failed = 0;
        for (const std::string& file : rest) {
            int count = 0;
            if (AddToMemory(*memory, file, error, &count)) {
                std::cout << "Added " << count << " unit(s) from " << Absolute(file) << '\n';
            } else {
                std::cerr << file << ": " << error << '\n';
                ++failed;
            }
        }
        return failed == 0 ? ExitOk : ExitError;
    }
    if (action == "remove") {
        // A source is named as it was added: by its full path.
        std::string source = rest[0];
        for (const auto& [known, count] : memory->Stats().sources) {
            if (known == Absolute(rest[0]))
                source = known;
        }
        const std::int64_t removed = memory->RemoveSource(source, error);
        if (removed < 0) {
            std::cerr << "lorvo-cli memory: " << error << '\n';
            return ExitError;
        }
        std::cout << "Removed " << removed << " unit(s) of " << source << '\n';
        return removed > 0 ? ExitOk : ExitError;
    }
    if (action == "find") {
        for (const MemoryMatch& match : memory->Find(rest[0], limit, 50))
            std::cout << match.score << '\t' << match.original << '\t' << match.translation << '\t'
                      << match.source << '\n';
        return ExitOk;
    }
    const MemoryStats stats = memory->Stats();
    for (const auto& [source, count] : stats.sources)
        std::cout << count << '\t' << source << '\n';
    std::cout << stats.units << " unit(s) from " << stats.sources.size() << " source(s)\n";
    return ExitOk;
}

int RunPretranslate(const CliArguments& args)
{
    const int minScore = NumberOption(args, "min-score", 100, 50, 100);
    if (minScore < 0) {
        std::cerr << "lorvo-cli pretranslate: --min-score takes a number from 50 to 100\n";
        return ExitUsage;
    }
    const auto memory = OpenMemory(args);
    if (!memory)
        return ExitError;
    Session session(args);
    if (!session.Open(args.positional[0]))
        return ExitError;
    CTrelvarDoc& doc = session.Doc();
    const PretranslationSummary summary = Pretranslate(doc, *memory, minScore);
    for (const std::string& problem : summary.problems)
        std::cerr << problem << '\n';
    if (summary.filled > 0) {
        doc.MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
        if (!session.Save())
            return ExitError;
    }
    for (const auto& [source, count] : summary.sources)
        std::cout << count << '\t' << source << '\n';
    std::cout << summary.filled << " text(s) filled, " << summary.exact << " from exact matches\n";
    // What was filled is checked as generation will write it; the fit is
    // left to the check command, which measures with the preview's fonts.
    if (summary.filled > 0) {
        const std::set<std::string> filled(summary.filledOriginals.begin(), summary.filledOriginals.end());
        int shown = 0;
        for (const CheckFinding& finding : CheckTranslations(doc, {}, nullptr, nullptr)) {
            if (finding.kind == CheckKind::Fit || filled.count(finding.original) == 0)
                continue;
            std::cout << FormatFinding(finding) << '\n';
            ++shown;
        }
        if (shown > 0)
            std::cout << shown << " finding(s) in what was filled\n";
    }
    return summary.problems.empty() ? session.Exit() : ExitError;
}

} // namespace

std::vector<CliCommand> MemoryCommands()
{
    return {
        {"memory",
         "memory add <file>... | remove <source> | find <text> [--limit N] | stats [--memory M]",
         "The user's translation memory ($XDG_DATA_HOME/lingorel/memory.db): add a dictionary (.dic), PO, "
         "XLIFF or TMX file as a source "
         "(again: its units are updated), remove a source, find the best matches of a text (tab-separated "
         "score, original, translation, source), or count what it holds. Every save of a dictionary adds "
         "or updates its translations.",
         {"limit", "memory"},
         1,
         SIZE_MAX,
         RunMemory},
        {"pretranslate",
         "pretranslate <dict.dic> [--min-score 100] [--memory M]",
         "Fills the texts without a translation from the translation memory: exact matches, or close ones "
         "from --min-score (50 to 100); a translation the dictionary has is never replaced, and the "
         "resources' access keys go to the same letter. Prints where the translations came from and the "
         "checks' findings on what was filled.",
         {"min-score", "memory"},
         1,
         1,
         RunPretranslate},
    };
}

#include "exchange/ScriptAlignment.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/Feedback.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/Messages.h"
#include "dictionary/NotExtractedList.h"
#include "dictionary/ScriptInsertion.h"
#include "engine/ScriptRuns.h"
#include "exchange/TextOccurrences.h"
#include "exchange/TranslationExchange.h"

#include <map>
#include <set>
#include <unordered_map>

namespace {

// A resource as both scripts name it.
std::string ResourceKey(const TextOccurrence& o)
{
    return std::to_string(o.kind) + '\n' + o.resource;
}

std::string Where(const std::string& file, const TextOccurrence& o)
{
    return file + ':' + std::to_string(o.line) + ": " + o.resource + ": ";
}

std::string Shown(int codePage, const std::string& text)
{
    std::string utf8;
    return TextToExchange(codePage, text, utf8) ? utf8 : text;
}

// The translation most occurrences give (the first of equal counts).
const std::string& Most(const std::vector<const std::string*>& translations)
{
    std::map<std::string_view, int> counts;
    const std::string* best = translations.front();
    int bestCount = 0;
    for (const std::string* t : translations) {
        const int n = ++counts[*t];
        if (n > bestCount) {
            best = t;
            bestCount = n;
        }
    }
    return *best;
}

struct Pair
{
    const TextOccurrence* original;
    const TextOccurrence* translated;
    std::size_t occurrence; // of the text in its resource, from 0
};

bool Read(const CTrelvarDoc& doc, const std::string& path, int codePage, NotExtractedList* notExtracted,
          std::vector<TextOccurrence>& texts, AlignmentSummary& summary)
{
    struct Lines : MessageReporter
    {
        std::vector<std::string>* out;
        void Report(int id, const std::vector<std::string>& arguments) override
        {
            out->push_back(FormatMessage(id, arguments));
        }
    } lines;
    lines.out = &summary.problems;
    const int originals = codePage == 0 ? doc.OriginalsCodePage() : codePage;
    const int translations = doc.TranslationsCodePage();
    if (!ReadTextOccurrences(path, originals, translations, notExtracted, texts, &lines)) {
        summary.read = false;
        return false;
    }
    return true;
}

} // namespace

// The place of a text: its resource, its identifier, and how many texts of
// that identifier came before it there.
std::vector<std::string> TextPlaces(const std::vector<TextOccurrence>& texts)
{
    std::vector<std::string> places;
    places.reserve(texts.size());
    std::unordered_map<std::string, int> seen;
    for (const TextOccurrence& o : texts) {
        std::string key = ResourceKey(o) + '\n' + o.identifier;
        const int before = seen[key]++;
        places.push_back(key + '\n' + std::to_string(before));
    }
    return places;
}

std::string AlignableScript(CTrelvarDoc& doc, const std::string& original, const std::string& destination,
                            MessageReporter& reporter, std::string* inserted)
{
    const FileList::Record* record = doc.Files()->Find(original);
    if (!record) {
        const ScriptInsertion insertion =
            InsertScript(*doc.Files(), original, destination, doc.DefaultDestinationFolder());
        if (insertion.message != 0) {
            reporter.Report(insertion.message, insertion.Arguments());
            return {};
        }
        doc.SetModifiedFlag();
        if (inserted)
            *inserted = insertion.destination;
        record = doc.Files()->Find(original);
    }
    if (!record)
        return {};
    const std::string source = record->source;
    if (!doc.Context()->FindFile(source))
        ExtractScripts(doc, {source}, nullptr, nullptr, &reporter);
    return doc.Context()->FindFile(source) ? source : std::string();
}

AlignmentSummary AlignTranslatedScript(CTrelvarDoc& doc, const std::string& original,
                                       const std::string& translated, bool replace, ProgressSink* progress)
{
    AlignmentSummary summary;
    if (!doc.Context()->FindFile(original)) {
        summary.problems.push_back(original +
                                   " is not a script of the dictionary: insert and extract it first.");
        summary.read = false;
        return summary;
    }
    // The original is read as its extraction reads it; the translated copy
    // in its own encoding, into the code page of the dictionary's
    // translations.
    std::vector<TextOccurrence> originals;
    std::vector<TextOccurrence> translations;
    if (!Read(doc, original, 0, doc.NotExtracted(), originals, summary) ||
        !Read(doc, translated, doc.TranslationsCodePage(), nullptr, translations, summary))
        return summary;

    // The resources left out of the dictionary are left out of the copy too.
    std::set<std::string> resources;
    for (const TextOccurrence& o : originals)
        resources.insert(ResourceKey(o));
    if (const NotExtractedList* excluded = doc.NotExtracted(); excluded && excluded->Count() > 0) {
        std::erase_if(translations, [&](const TextOccurrence& t) {
            return excluded->Contains(NotExtractedList::MakeKey(original, t.resource, t.kind));
        });
    }
    std::map<std::string, const TextOccurrence*> translatedResources;
    std::map<std::string, int> originalCounts;
    std::map<std::string, int> translatedCounts;
    for (const TextOccurrence& t : translations) {
        translatedResources.emplace(ResourceKey(t), &t);
        ++translatedCounts[ResourceKey(t)];
    }
    for (const TextOccurrence& o : originals)
        ++originalCounts[ResourceKey(o)];

    const std::vector<std::string> originalPlaces = TextPlaces(originals);
    const std::vector<std::string> translatedPlaces = TextPlaces(translations);
    std::unordered_map<std::string, std::size_t> byPlace;
    for (std::size_t i = 0; i < translations.size(); ++i)
        byPlace.emplace(translatedPlaces[i], i);

    const int originalsPage = doc.OriginalsCodePage();
    const int translationsPage = doc.TranslationsCodePage();
    // Whole resources on one side only are one line each.
    std::set<std::string> told;
    for (const TextOccurrence& o : originals) {
        const std::string resource = ResourceKey(o);
        if (translatedResources.count(resource) == 0) {
            if (told.insert(resource).second)
                summary.problems.push_back(Where(original, o) + "the resource is not in " + translated + ".");
            ++summary.unmatched;
        } else if (originalCounts[resource] != translatedCounts[resource] && told.insert(resource).second) {
            const TextOccurrence& t = *translatedResources[resource];
            summary.problems.push_back(Where(translated, t) + std::to_string(translatedCounts[resource]) +
                                       " text(s) where " + original + " has " +
                                       std::to_string(originalCounts[resource]) + ".");
        }
    }
    for (const TextOccurrence& t : translations) {
        if (resources.count(ResourceKey(t)) == 0 && told.insert(ResourceKey(t)).second)
            summary.problems.push_back(Where(translated, t) + "the resource is not in " + original + ".");
    }

    // The pairs, and each text's occurrence in its resource as the
    // dictionary counts them.
    GeneralDictionary& general = *doc.General();
    std::vector<Pair> pairs;
    std::vector<bool> paired(translations.size(), false);
    std::unordered_map<std::string, std::size_t> occurrences;
    for (std::size_t i = 0; i < originals.size(); ++i) {
        const TextOccurrence& o = originals[i];
        const std::size_t occurrence = occurrences[o.resource + '+' + o.text]++;
        if (translatedResources.count(ResourceKey(o)) == 0)
            continue;
        const auto found = byPlace.find(originalPlaces[i]);
        if (found == byPlace.end()) {
            summary.problems.push_back(Where(original, o) + "\"" + Shown(originalsPage, o.text) +
                                       "\" has no counterpart in " + translated + ".");
            ++summary.unmatched;
            continue;
        }
        paired[found->second] = true;
        if (general.IsDoNotTranslate(o.text))
            continue;
        pairs.push_back({&o, &translations[found->second], occurrence});
    }
    for (std::size_t i = 0; i < translations.size(); ++i) {
        const TextOccurrence& t = translations[i];
        if (paired[i] || resources.count(ResourceKey(t)) == 0)
            continue;
        summary.problems.push_back(Where(translated, t) + "\"" + Shown(translationsPage, t.text) +
                                   "\" has no counterpart in " + original + ".");
        ++summary.unmatched;
    }

    // The general translation of a text is the one most of its occurrences
    // have; a resource's is the one most of its own have.
    std::map<std::string, std::vector<const std::string*>> byText;
    std::map<std::pair<std::string, std::string>, std::vector<const Pair*>> byResource;
    for (const Pair& p : pairs) {
        byText[p.original->text].push_back(&p.translated->text);
        byResource[{p.original->resource, p.original->text}].push_back(&p);
    }
    ExchangeDocument exchange;
    std::map<std::string, std::string> generalOf;
    for (const auto& [text, translationsOfText] : byText) {
        ExchangeEntry e;
        const std::string& chosen = Most(translationsOfText);
        generalOf[text] = chosen;
        if (!TextToExchange(originalsPage, text, e.original) ||
            !TextToExchange(translationsPage, chosen, e.translation)) {
            summary.problems.push_back("\"" + Shown(originalsPage, text) +
                                       "\" cannot be carried into the dictionary.");
            continue;
        }
        exchange.entries.push_back(std::move(e));
    }
    for (const auto& [key, resourcePairs] : byResource) {
        std::vector<const std::string*> given;
        for (const Pair* p : resourcePairs)
            given.push_back(&p->translated->text);
        const std::string& chosen = Most(given);
        if (chosen != generalOf[key.second])
            ++summary.inContext;
        // Every occurrence of the text shares the resource's translation;
        // the first is given first, the others carry their own keys.
        const Pair* first = nullptr;
        for (const Pair* p : resourcePairs) {
            if (!first && p->translated->text == chosen)
                first = p;
        }
        if (first->occurrence > 0) {
            // The text's first occurrence has no counterpart: it takes the
            // translation, and its key where the first one that has a
            // counterpart has it.
            ExchangeEntry head;
            head.script = original;
            head.resource = first->original->resource;
            head.kind = first->original->kind;
            if (TextToExchange(originalsPage, first->original->text, head.original) &&
                TextToExchange(translationsPage, MarkAccessKey(chosen, first->translated->shortcut),
                               head.translation))
                exchange.entries.push_back(std::move(head));
        }
        for (const Pair* p : resourcePairs) {
            if (p->translated->text != chosen) {
                summary.problems.push_back(Where(translated, *p->translated) + "\"" +
                                           Shown(originalsPage, p->original->text) + "\" is translated \"" +
                                           Shown(translationsPage, p->translated->text) + "\" here and \"" +
                                           Shown(translationsPage, chosen) +
                                           "\" elsewhere in the resource: a resource has one translation "
                                           "of a text.");
                ++summary.unmatched;
                continue;
            }
            ExchangeEntry e;
            e.script = original;
            e.resource = p->original->resource;
            e.kind = p->original->kind;
            e.occurrence = p->occurrence;
            if (!TextToExchange(originalsPage, p->original->text, e.original) ||
                !TextToExchange(translationsPage, MarkAccessKey(chosen, p->translated->shortcut),
                                e.translation))
                continue;
            exchange.entries.push_back(std::move(e));
            ++summary.aligned;
        }
    }

    const ImportSummary applied = ApplyExchange(exchange, doc, progress, replace);
    summary.general = applied.translations;
    summary.kept = applied.kept;
    for (const std::string& problem : applied.problems) {
        summary.problems.push_back(problem);
        ++summary.unmatched;
    }
    return summary;
}

std::string AlignmentSummaryLine(const AlignmentSummary& summary)
{
    return std::to_string(summary.aligned) + " texts aligned, " + std::to_string(summary.general) +
           " general translations, " + std::to_string(summary.inContext) + " in context, " +
           std::to_string(summary.unmatched) + " unmatched";
}

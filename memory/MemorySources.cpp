#include "memory/MemorySources.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "exchange/ExchangeFormats.h"
#include "exchange/TranslationExchange.h"
#include "memory/TranslationMemory.h"

#include <filesystem>

namespace {

std::string Language(int codePage)
{
    return codePage == 65001 ? "utf-8" : "cp" + std::to_string(codePage);
}

} // namespace

std::string TranslationLanguage(const CTrelvarDoc& doc)
{
    return Language(doc.TranslationsCodePage());
}

std::vector<MemoryUnit> UnitsOfDictionary(const CTrelvarDoc& doc)
{
    std::vector<MemoryUnit> units;
    const GeneralDictionary& general = *doc.General();
    const int originals = doc.OriginalsCodePage();
    const int translations = doc.TranslationsCodePage();
    const std::string source = Language(originals);
    const std::string target = Language(translations);
    for (const auto& text : general.Texts()) {
        if (text.value.empty() || general.IsDoNotTranslate(text.key))
            continue;
        MemoryUnit unit;
        if (!TextToExchange(originals, text.key, unit.original) ||
            !TextToExchange(translations, text.value, unit.translation))
            continue;
        unit.sourceLanguage = source;
        unit.targetLanguage = target;
        units.push_back(std::move(unit));
    }
    for (const auto& file : doc.Context()->Files()) {
        const std::string script = std::filesystem::path(file.key).filename().string();
        for (const auto& item : file.value) {
            const ContextEntry& entry = item.value;
            if (entry.contextTranslation.empty() || general.IsDoNotTranslate(entry.original))
                continue;
            const std::string_view key = item.key;
            const std::string resource(
                key.substr(0, key.size() - std::min(key.size(), entry.original.size() + 1)));
            MemoryUnit unit;
            if (!TextToExchange(originals, entry.original, unit.original) ||
                !TextToExchange(translations, entry.contextTranslation.str(), unit.translation))
                continue;
            unit.context = JoinContext(script, resource);
            unit.sourceLanguage = source;
            unit.targetLanguage = target;
            units.push_back(std::move(unit));
        }
    }
    return units;
}

bool RememberDictionary(TranslationMemory& memory, const CTrelvarDoc& doc, std::string& error)
{
    return memory.ReplaceSource(doc.PathName(), UnitsOfDictionary(doc), error);
}

bool AddToMemory(TranslationMemory& memory, const std::string& path, std::string& error, int* count)
{
    const std::string source = std::filesystem::absolute(path).lexically_normal().string();
    std::vector<MemoryUnit> units;
    if (std::filesystem::path(path).extension() == ".dic") {
        CTrelvarDoc doc;
        if (!doc.OnOpenDocument(source, nullptr, CTrelvarDoc::Access::ReadOnly)) {
            error = "the dictionary " + source + " cannot be opened";
            return false;
        }
        units = UnitsOfDictionary(doc);
    } else {
        const auto format = ExchangeFormatOf(path);
        if (!format) {
            error = "not a dictionary (.dic), PO, XLIFF or TMX file";
            return false;
        }
        ExchangeDocument exchange;
        if (!ReadExchangeFile(path, *format, exchange, error))
            return false;
        for (const ExchangeEntry& e : exchange.entries) {
            if (e.translation.empty() || e.fuzzy || e.doNotTranslate)
                continue;
            MemoryUnit unit;
            unit.original = e.original;
            unit.translation = e.translation;
            if (!e.script.empty()) {
                int shortcut = 0;
                unit.translation = UnmarkAccessKey(e.translation, shortcut);
                unit.context = EntryContext(e);
            }
            unit.sourceLanguage = exchange.sourceLanguage;
            unit.targetLanguage = exchange.targetLanguage;
            units.push_back(std::move(unit));
        }
    }
    if (count)
        *count = static_cast<int>(units.size());
    return memory.ReplaceSource(source, units, error);
}

PretranslationSummary Pretranslate(CTrelvarDoc& doc, TranslationMemory& memory, int minScore)
{
    PretranslationSummary summary;
    GeneralDictionary& general = *doc.General();
    const int originals = doc.OriginalsCodePage();
    const std::string language = TranslationLanguage(doc);
    ExchangeDocument exchange;
    struct Taken
    {
        std::string original;
        std::string source;
        bool exact;
    };
    std::vector<Taken> taken;
    for (const auto& text : general.Texts()) {
        if (!text.value.empty() || general.IsDoNotTranslate(text.key))
            continue;
        ExchangeEntry entry;
        if (!TextToExchange(originals, text.key, entry.original))
            continue;
        const std::vector<MemoryMatch> best = memory.Find(entry.original, 1, minScore, language);
        if (best.empty())
            continue;
        entry.translation = best.front().translation;
        exchange.entries.push_back(std::move(entry));
        taken.push_back({std::string(text.key), best.front().source, best.front().score == 100});
    }
    const ImportSummary applied = ApplyExchange(exchange, doc, nullptr, false);
    summary.problems = applied.problems;
    // What the dictionary now holds: a translation its encoding cannot
    // hold was reported and not taken.
    for (const Taken& t : taken) {
        const std::string* now = general.FindTranslation(t.original);
        if (!now || now->empty())
            continue;
        ++summary.filled;
        summary.exact += t.exact ? 1 : 0;
        ++summary.sources[t.source];
        summary.filledOriginals.push_back(t.original);
    }
    return summary;
}

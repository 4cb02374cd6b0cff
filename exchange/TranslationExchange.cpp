#include "exchange/TranslationExchange.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/Codec.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/Feedback.h"
#include "dictionary/FileList.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/TextRules.h"
#include "engine/AccessKeys.h"
#include "engine/Literal.h"
#include "exchange/TextOccurrences.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>

namespace {

using References = std::vector<std::pair<std::string, std::int64_t>>;

// Scripts inside the dictionary's folder are named from there, so that the
// file still applies when the project moves.
std::string ShownScript(const std::string& path, const std::string& folder)
{
    if (!folder.empty() && path.size() > folder.size() + 1 && path.compare(0, folder.size(), folder) == 0 &&
        path[folder.size()] == '/')
        return path.substr(folder.size() + 1);
    return path;
}

// The resource of an in-context entry: its key is the resource, "+" and
// the text.
std::string ResourceOfKey(std::string_view key, std::string_view original)
{
    if (key.size() > original.size() && key.ends_with(original) &&
        key[key.size() - original.size() - 1] == '+')
        return std::string(key.substr(0, key.size() - original.size() - 1));
    return std::string(key.substr(0, key.find('+')));
}

std::string ReferenceKey(const std::string& script, const std::string& resource, const std::string& text)
{
    return AnsiLower(script) + '\n' + resource + '\n' + text;
}

// The section of the script an exchange file names: by its path (from the
// dictionary's folder when relative), else by its file name when only one
// script of the dictionary has it. A name several scripts share names none:
// their paths are then in namesakes, for the user.
ContextDictionary::Section* FindSection(ContextDictionary& context, const std::string& script,
                                        const std::string& folder, std::vector<std::string>& namesakes)
{
    namespace fs = std::filesystem;
    namesakes.clear();
    fs::path path(script);
    if (path.is_relative() && !folder.empty())
        path = fs::path(folder) / path;
    if (ContextDictionary::Section* section = context.FindFile(path.lexically_normal().string()))
        return section;
    const std::string name = AnsiLower(fs::path(script).filename().string());
    ContextDictionary::Section* found = nullptr;
    for (auto& file : context.Files()) {
        if (fs::path(file.key).filename().string() != name)
            continue;
        namesakes.push_back(ShownScript(std::string(file.key), folder));
        found = &file.value;
    }
    return namesakes.size() == 1 ? found : nullptr;
}

// An 8-bit code page leaves a few bytes undefined (0x81, 0x8D, 0x8F, 0x90
// and 0x9D in Windows-1252); a dictionary may hold them all the same (a
// script read in the wrong code page). They travel as the C1 control
// characters of the same value, as Windows converts them, so that they come
// back as they went.
bool IsEightBit(int codePage)
{
    return codePage != kUtf8CodePage && !IsDbcsCodePage(codePage);
}

bool ToExchange(const Codec& codec, int codePage, std::string_view bytes, std::string& out)
{
    if (codec.ToUtf8Strict(bytes, out))
        return true;
    if (!IsEightBit(codePage))
        return false;
    out.clear();
    std::string one;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (codec.ToUtf8Strict(std::string(1, c), one)) {
            out += one;
        } else if (b >= 0x80 && b <= 0x9F) {
            out += static_cast<char>(0xC2);
            out += c;
        } else {
            return false;
        }
    }
    return true;
}

// A control character another tool gives as the script's own escape: XLIFF
// tools flatten the inline element that stands for one into its content
// ("\001"), and a translator may type it so. The script reads both alike,
// and a dictionary holds such a character as the byte, so a lone backslash
// with the octal code of a control character becomes that byte; an escaped
// backslash ("\\001") stays two characters.
std::string ControlBytesOfEscapes(const std::string& text)
{
    if (text.find('\\') == std::string::npos)
        return text;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        int value = 0;
        std::size_t k = i + 1;
        while (k < text.size() && k < i + 4 && text[k] >= '0' && text[k] <= '7')
            value = value * 8 + (text[k++] - '0');
        if (k > i + 1 && value >= 1 && value < 0x20) {
            out += static_cast<char>(value);
            i = k - 1;
        } else {
            out += text[i];
            if (text[i + 1] == '\\')
                out += text[++i]; // an escaped backslash, whatever follows
        }
    }
    return out;
}

bool FromExchange(const Codec& codec, int codePage, const std::string& exchanged, std::string& out)
{
    const std::string utf8 = ControlBytesOfEscapes(exchanged);
    if (codec.FromUtf8(utf8, out))
        return true;
    if (!IsEightBit(codePage) || !Codec::IsValidUtf8(utf8))
        return false;
    out.clear();
    std::string one;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = CharacterLength(utf8, i, kUtf8CodePage);
        const std::string character = utf8.substr(i, n);
        if (codec.FromUtf8(character, one))
            out += one;
        else if (n == 2 && static_cast<unsigned char>(utf8[i]) == 0xC2 &&
                 static_cast<unsigned char>(utf8[i + 1]) <= 0x9F)
            out += utf8[i + 1];
        else
            return false;
        i += n;
    }
    return true;
}

} // namespace

bool TextToExchange(int codePage, std::string_view bytes, std::string& out)
{
    return ToExchange(Codec::Cached(codePage), codePage, bytes, out);
}

std::string JoinContext(const std::string& script, const std::string& resource)
{
    return script + ':' + resource;
}

bool SplitContext(const std::string& context, std::string& script, std::string& resource)
{
    const std::size_t colon = context.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == context.size())
        return false;
    script = context.substr(0, colon);
    resource = context.substr(colon + 1);
    return true;
}

std::string MarkAccessKey(const std::string& text, int shortcut)
{
    std::string out;
    out.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (static_cast<int>(i) + 1 == shortcut)
            out += '&';
        out += text[i];
        if (text[i] == '&')
            out += '&';
    }
    return out;
}

std::string UnmarkAccessKey(const std::string& marked, int& shortcut)
{
    shortcut = 0;
    std::string out;
    out.reserve(marked.size());
    for (std::size_t i = 0; i < marked.size(); ++i) {
        if (marked[i] == '&' && i + 1 < marked.size()) {
            ++i;
            // "&&" is an ampersand; a single "&" marks the next character
            // (the last one wins, as in a script).
            if (marked[i] != '&')
                shortcut = static_cast<int>(out.size()) + 1;
        }
        out += marked[i];
    }
    return out;
}

std::string EntryContext(const ExchangeEntry& entry)
{
    // A context that named no resource when read is given back as it was.
    if (entry.resource.empty())
        return entry.script;
    std::string context = JoinContext(entry.script, entry.resource);
    if (entry.occurrence > 0)
        context += "#" + std::to_string(entry.occurrence + 1);
    return context;
}

namespace {

bool AllDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A context written several times over, as xliff2po joins the ids of a
// text that repeats three times or more ("g23g23"): one of them.
std::string_view OnceOver(std::string_view context)
{
    for (std::size_t period = 1; period <= context.size() / 2; ++period) {
        if (context.size() % period != 0)
            continue;
        bool repeats = true;
        for (std::size_t i = period; i < context.size() && repeats; i += period)
            repeats = context.substr(i, period) == context.substr(0, period);
        if (repeats)
            return context.substr(0, period);
    }
    return context;
}

} // namespace

bool ReadEntryContext(const std::string& given, ExchangeEntry& entry)
{
    std::string_view context = given;
    if (context.size() > 1 && (context[0] == 'g' || context.find(kUnitNumberMark) != std::string_view::npos))
        context = OnceOver(context);
    if (context.size() > 1 && context[0] == 'g' && AllDigits(context.substr(1))) {
        entry.script.clear();
        entry.resource.clear();
        entry.occurrence = 0;
        return true;
    }
    const std::size_t mark = context.rfind(kUnitNumberMark);
    if (mark != std::string_view::npos && AllDigits(context.substr(mark + 2)))
        context = context.substr(0, mark);
    if (!SplitContext(std::string(context), entry.script, entry.resource))
        return false;
    entry.occurrence = 0;
    const std::size_t hash = entry.resource.rfind('#');
    // "#N" counts occurrences: a number too long to be one is a name.
    if (hash != std::string::npos && hash > 0 && entry.resource.size() - hash <= 6 &&
        AllDigits(std::string_view(entry.resource).substr(hash + 1))) {
        const unsigned long n = std::stoul(entry.resource.substr(hash + 1));
        if (n >= 2 && n < 100000) {
            entry.occurrence = n - 1;
            entry.resource.resize(hash);
        }
    }
    return true;
}

ExchangeDocument BuildExchange(const CTrelvarDoc& doc, std::vector<std::string>& problems,
                               ProgressSink* progress, bool everyEntry)
{
    ExchangeDocument exchange;
    exchange.name = doc.Name();
    const GeneralDictionary& general = *doc.General();
    const ContextDictionary& context = *doc.Context();
    const Codec& originals = Codec::Cached(doc.OriginalsCodePage());
    const Codec& translations = Codec::Cached(doc.TranslationsCodePage());
    const std::string& folder = doc.Folder();

    // Where each text is used, from the scripts themselves.
    // Looked up by the dictionary's own keys, without a copy of each.
    struct TextHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    std::unordered_map<std::string, References, TextHash, std::equal_to<>> generalReferences;
    std::unordered_map<std::string, References> resourceReferences;
    std::unordered_map<std::string, int> resourceKinds; // by script and resource
    if (progress)
        progress->SetRange(doc.Files()->FileCount() + 1);
    int step = 0;
    std::vector<TextOccurrence> occurrences;
    for (const auto& file : doc.Files()->Files()) {
        const std::string& source = file.value.source;
        const std::string shown = ShownScript(source, folder);
        occurrences.clear();
        ReadTextOccurrences(source, doc.OriginalsCodePage(), doc.TranslationsCodePage(), doc.NotExtracted(),
                            occurrences);
        for (const TextOccurrence& o : occurrences) {
            generalReferences[o.text].emplace_back(shown, o.line);
            resourceReferences[ReferenceKey(source, o.resource, o.text)].emplace_back(shown, o.line);
            resourceKinds.emplace(ReferenceKey(source, o.resource, {}), o.kind);
        }
        if (progress)
            progress->SetPosition(++step);
    }

    auto utf8 = [&](const Codec& codec, int codePage, std::string_view bytes, std::string& out) {
        if (ToExchange(codec, codePage, bytes, out))
            return true;
        problems.push_back("\"" + Codec::RepairUtf8(codec.ToUtf8(bytes)) +
                           "\" has bytes its code page does not define; it is left out.");
        return false;
    };
    for (const auto& text : general.Texts()) {
        ExchangeEntry e;
        if (!utf8(originals, doc.OriginalsCodePage(), text.key, e.original) ||
            !utf8(translations, doc.TranslationsCodePage(), everyEntry ? std::string_view() : text.value,
                  e.translation))
            continue;
        e.doNotTranslate = general.IsDoNotTranslate(text.key);
        if (auto it = generalReferences.find(text.key); it != generalReferences.end())
            e.references = std::move(it->second);
        exchange.entries.push_back(std::move(e));
    }
    for (const auto& file : context.Files()) {
        const FileList::Record* record = doc.Files()->Find(file.key);
        const std::string source = record ? record->source : std::string(file.key);
        const std::string shown = ShownScript(source, folder);
        for (const auto& item : file.value) {
            const ContextEntry& entry = item.value;
            const std::string* generalTranslation = general.FindTranslation(entry.original);
            const std::string& displayed = entry.contextTranslation.empty() && generalTranslation
                                               ? *generalTranslation
                                               : entry.contextTranslation;
            // Untranslated texts keep the access key the script gives them;
            // translated ones say where theirs is. A template holds them all,
            // untranslated.
            const bool ownKeys = entry.DistinctOccurrences() > 1;
            if (!everyEntry && entry.contextTranslation.empty() &&
                (displayed.empty() || (entry.shortcut == 0 && !ownKeys)))
                continue;
            const std::string resource = ResourceOfKey(item.key, entry.original);
            // Each occurrence whose key is its own has an entry of its own.
            const std::size_t count = everyEntry ? 1 : entry.DistinctOccurrences();
            for (std::size_t occurrence = 0; occurrence < count; ++occurrence) {
                ExchangeEntry e;
                e.script = shown;
                e.resource = resource;
                e.occurrence = occurrence;
                const std::string marked =
                    everyEntry ? std::string() : MarkAccessKey(displayed, entry.ShortcutOf(occurrence));
                if (!utf8(originals, doc.OriginalsCodePage(), entry.original, e.original) ||
                    !utf8(translations, doc.TranslationsCodePage(), marked, e.translation))
                    break;
                e.inContext = !everyEntry && !entry.contextTranslation.empty() && generalTranslation &&
                              *generalTranslation == entry.contextTranslation;
                if (const auto kind = resourceKinds.find(ReferenceKey(source, resource, {}));
                    kind != resourceKinds.end())
                    e.kind = kind->second;
                if (auto it = resourceReferences.find(ReferenceKey(source, e.resource, entry.original));
                    it != resourceReferences.end())
                    e.references = it->second;
                exchange.entries.push_back(std::move(e));
            }
        }
    }
    if (progress)
        progress->SetPosition(++step);
    return exchange;
}

ImportSummary ApplyExchange(const ExchangeDocument& exchange, CTrelvarDoc& doc, ProgressSink* progress,
                            bool replace)
{
    ImportSummary summary;
    GeneralDictionary& general = *doc.General();
    ContextDictionary& context = *doc.Context();
    const Codec& originals = Codec::Cached(doc.OriginalsCodePage());
    const Codec& translations = Codec::Cached(doc.TranslationsCodePage());
    const std::string where = " (" + CodePageName(doc.TranslationsCodePage()) + ")";
    // The general translations this file changed, with what they were.
    std::unordered_map<std::string, std::string> previous;
    if (progress)
        progress->SetRange(static_cast<int>(exchange.entries.size()));
    int step = 0;
    // The general translations first: an entry of a resource whose
    // translation is the general one has none of its own. They are set at
    // once, so that the resources keep their access keys on their letters.
    std::vector<std::pair<std::string, std::string>> generalChanges;
    // The first occurrence's key of each entry whose general translation
    // changes, as it was: an entry the file gives that key again is no
    // change.
    std::unordered_map<const ContextEntry*, int> keysBefore;
    std::vector<std::string> namesakes;
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1) {
            for (const auto& file : context.Files()) {
                for (const auto& entry : file.value) {
                    if (previous.count(entry.value.original) != 0)
                        keysBefore.emplace(&entry.value, entry.value.ShortcutOf(0));
                }
            }
            SetGeneralTranslations(general, context, generalChanges, doc.TranslationsCodePage());
        }
        for (const ExchangeEntry& e : exchange.entries) {
            if (e.script.empty() != (pass == 0))
                continue;
            if (progress && (++step & 0x3FF) == 0)
                progress->SetPosition(step);
            const std::string shownContext =
                e.script.empty() ? "" : " in " + JoinContext(e.script, e.resource);
            std::string original;
            if (!FromExchange(originals, doc.OriginalsCodePage(), e.original, original)) {
                summary.problems.push_back("\"" + e.original + "\"" + shownContext +
                                           " has characters the dictionary's originals cannot hold.");
                continue;
            }
            const std::string* current = general.FindTranslation(original);
            if (!current) {
                summary.problems.push_back("\"" + e.original + "\"" + shownContext +
                                           " is not a text of the dictionary.");
                continue;
            }
            if (pass == 0 && e.doNotTranslate && !general.IsDoNotTranslate(original)) {
                general.SetDoNotTranslate(original);
                ++summary.doNotTranslate;
            }
            if (e.translation.empty())
                continue;
            // What a translator marked unsure waits for its review: no error.
            if (e.fuzzy) {
                ++summary.unsure;
                continue;
            }
            std::string translation;
            if (!FromExchange(translations, doc.TranslationsCodePage(), e.translation, translation)) {
                summary.problems.push_back("The translation of \"" + e.original + "\"" + shownContext +
                                           " has characters that the dictionary's encoding" + where +
                                           " cannot hold: it is not imported.");
                continue;
            }
            if (pass == 0) {
                if (!replace && !current->empty() && *current != translation) {
                    ++summary.kept;
                    continue;
                }
                if (*current != translation && previous.emplace(original, *current).second) {
                    generalChanges.emplace_back(original, translation);
                    ++summary.translations;
                }
                continue;
            }
            ContextDictionary::Section* section = FindSection(context, e.script, doc.Folder(), namesakes);
            if (namesakes.size() > 1) {
                std::string list;
                for (const std::string& one : namesakes)
                    list += (list.empty() ? "" : ", ") + one;
                summary.problems.push_back("\"" + e.original + "\" in " + JoinContext(e.script, e.resource) +
                                           " is ambiguous: " + e.script + " may be " + list +
                                           "; it is not imported.");
                continue;
            }
            ContextEntry* entry =
                section ? ContextDictionary::FindEntry(*section, e.resource + '+' + original) : nullptr;
            if (!entry) {
                summary.problems.push_back("\"" + e.original + "\" is not a text of " +
                                           JoinContext(e.script, e.resource) + ".");
                continue;
            }
            int shortcut = 0;
            const std::string text = UnmarkAccessKey(translation, shortcut);
            const auto before = previous.find(original);
            // Kept: a resource that showed a translation before this file.
            if (!replace && (!entry->contextTranslation.empty() ||
                             !(before == previous.end() ? current->empty() : before->second.empty()))) {
                ++summary.kept;
                continue;
            }
            // The general translation, or the one it had before this file
            // changed it (the entry then only carried its access key), is
            // no translation of the resource's own.
            const bool isGeneral = text == *current || (entry->contextTranslation.empty() &&
                                                        before != previous.end() && text == before->second);
            std::string own = isGeneral && !e.inContext ? std::string() : text;
            // The entry stands for one occurrence of the text in the
            // resource (the first, or the one its context names); the others
            // keep their own keys. All share one translation.
            const std::size_t occurrence = e.occurrence;
            if (occurrence > 0 && own != entry->contextTranslation.str()) {
                summary.problems.push_back("\"" + e.original + "\" in " + EntryContext(e) +
                                           " is translated otherwise than its first occurrence: one text has "
                                           "one translation in a resource.");
                continue;
            }
            const int known = entry->ShortcutOf(occurrence);
            int key = shortcut;
            if (key == 0) {
                // No key marked: one that would show is taken away, one
                // that shows nothing stays as it is.
                key = known >= 1 && static_cast<std::size_t>(known) <= text.size() ? -1 : known;
            } else if (own.empty() && before != previous.end() && text == before->second &&
                       text != *current) {
                // The old general translation, as it was exported: its key
                // goes with its letter into the new one.
                const LiteralEncodingScope encoding(LiteralEncoding{doc.TranslationsCodePage(), true});
                key = FollowAccessKey(text, key, *current);
            }
            const auto was = keysBefore.find(entry);
            const bool changed =
                own != entry->contextTranslation || key != (was != keysBefore.end() ? was->second : known);
            if (own != entry->contextTranslation || key != known) {
                entry->contextTranslation = std::move(own);
                entry->SetShortcutOf(occurrence, key, std::max(entry->DistinctOccurrences(), occurrence + 1));
            }
            if (changed)
                ++summary.resourceEntries;
        }
    }
    if (progress)
        progress->SetPosition(static_cast<int>(exchange.entries.size()));
    return summary;
}

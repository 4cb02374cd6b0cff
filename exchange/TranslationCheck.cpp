#include "exchange/TranslationCheck.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/Codec.h"
#include "dictionary/Feedback.h"
#include "dictionary/FileList.h"
#include "dictionary/PseudoTranslation.h"
#include "dictionary/TextRules.h"
#include "engine/Literal.h"
#include "exchange/Spelling.h"
#include "exchange/TextOccurrences.h"
#include "exchange/TranslationExchange.h"
#include "preview/model/PreviewDialogInfo.h"
#include "preview/model/PreviewMenu.h"
#include "preview/model/PreviewReader.h"
#include "preview/model/PreviewTranslator.h"
#include "preview/model/StyleNameTable.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <set>

namespace {

constexpr std::array<const char*, 9> kKindNames = {"access-key-clash", "access-key",  "placeholder",
                                                   "accelerator",      "fit",         "punctuation",
                                                   "escape",           "url-or-file", "spelling"};

// A text's placeholders: printf conversions in their order, FormatMessage
// inserts in any order. "%%" is no placeholder; escapes are skipped.
struct Placeholders
{
    std::vector<std::string> printf;
    std::multiset<std::string> numbered;
    bool operator==(const Placeholders&) const = default;
    std::string Shown() const
    {
        std::string out;
        for (const std::string& p : printf)
            out += (out.empty() ? "" : " ") + p;
        for (const std::string& p : numbered)
            out += (out.empty() ? "" : " ") + p;
        return out.empty() ? "none" : "\"" + out + "\"";
    }
};

Placeholders PlaceholdersOf(std::string_view text)
{
    Placeholders found;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '\\') {
            i += 2;
            continue;
        }
        const std::size_t n = text[i] == '%' ? PlaceholderLength(text.substr(i)) : 0;
        if (n == 0) {
            ++i;
            continue;
        }
        const std::string_view p = text.substr(i, n);
        if (p != "%%") {
            if (std::isdigit(static_cast<unsigned char>(p[1])))
                found.numbered.emplace(p);
            else
                found.printf.emplace_back(p);
        }
        i += n;
    }
    return found;
}

// What follows "\t" in a menu item: its accelerator; nothing without one.
std::optional<std::string> AcceleratorOf(const std::string& text)
{
    std::size_t tab = TabEscapeAt(text);
    std::size_t skip = 2;
    if (tab == std::string::npos) {
        tab = text.find('\t');
        skip = 1;
    }
    if (tab == std::string::npos)
        return std::nullopt;
    return text.substr(tab + skip);
}

// The escapes of a text as the script reads them, each with how often it
// stands there: "\n", "\\", "\"" ... A menu item's "\t" is its
// accelerator's, checked on its own.
std::map<std::string, int> EscapesOf(std::string_view text, bool menuItem)
{
    std::map<std::string, int> found;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '\\')
            continue;
        const std::string escape(text.substr(i, 2));
        ++i;
        if (!(menuItem && escape == "\\t"))
            ++found[escape];
    }
    return found;
}

std::string ShownEscapes(const std::map<std::string, int>& escapes)
{
    std::string out;
    for (const auto& [escape, count] : escapes) {
        for (int k = 0; k < count; ++k)
            out += (out.empty() ? "" : " ") + escape;
    }
    return out.empty() ? "none" : out;
}

// The ends of a text that translations are to keep.
struct Ends
{
    std::size_t leading = 0;
    std::size_t trailing = 0;
    int colons = 0;
    bool ellipsis = false;
};

Ends EndsOf(const std::string& text)
{
    Ends e;
    e.leading = LeadingBlanks(text).size();
    if (e.leading == text.size())
        return e;
    e.trailing = TrailingBlanks(text).size();
    const std::string_view core(text.data(), text.size() - e.trailing);
    // "Name:", "Nom :"; "Nom ::" has two.
    for (std::size_t i = core.size(); i > 0 && (core[i - 1] == ':' || core[i - 1] == ' '); --i)
        e.colons += core[i - 1] == ':' ? 1 : 0;
    e.ellipsis = core.ends_with("...") || core.ends_with("\xE2\x80\xA6") ||
                 (core.ends_with("\x85") && !core.ends_with("\xE2\x80\x85"));
    return e;
}

// The access key of a text in a form where upper and lower case meet
// (Latin letters with and without accents); 0 when it has none.
char32_t AccessKeyOf(const std::string& text, int shortcut, const Codec& codec, int codePage)
{
    if (shortcut < 1 || static_cast<std::size_t>(shortcut) > text.size())
        return 0;
    const std::size_t at = static_cast<std::size_t>(shortcut) - 1;
    const std::string utf8 = codec.ToUtf8(text.substr(at, CharacterLength(text, at, codePage)));
    char32_t c = 0;
    const auto b = static_cast<unsigned char>(utf8[0]);
    const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    c = extra == 0 ? b : b & (0x3F >> extra);
    for (int k = 1; k <= extra && k < static_cast<int>(utf8.size()); ++k)
        c = (c << 6) | (static_cast<unsigned char>(utf8[static_cast<std::size_t>(k)]) & 0x3F);
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149)
        return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E) ? (c % 2 == 1 ? c + 1 : c)
                                                                        : (c % 2 == 0 ? c + 1 : c);
    return c;
}

// One text of the script with its translated result.
struct Checked
{
    const TextOccurrence* occurrence;
    std::string result;
    int resultKey = 0;
    int requestedKey = 0; // where the dictionary puts the key, before it moves
    bool translated = false;
};

// What stands at a key's place that cannot carry it; empty when it can.
std::string MisplacedKey(const std::string& text, int key)
{
    if (key < 1 || static_cast<std::size_t>(key) > text.size())
        return {};
    const std::size_t at = static_cast<std::size_t>(key) - 1;
    if (AccessKeyPlaces(text)[at])
        return {};
    const std::size_t tab = TabEscapeAt(text);
    if (tab != std::string::npos && at >= tab)
        return "inside the accelerator";
    switch (text[at]) {
    case ' ':
        return "before a blank";
    case '"':
        return "before a quote";
    case '&':
        return "before an ampersand";
    case '\\':
        return "before an escape";
    default:
        return at > 0 && text[at - 1] == '\\' ? "inside an escape"
                                              : "before a character that cannot carry it";
    }
}

// The text with every ampersand taken away and doubled quotes single: a
// control's script text and an occurrence's decoded text meet there.
std::string Bare(std::string text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&')
            continue;
        if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"')
            ++i;
        out += text[i];
    }
    return out;
}

class ScriptChecker
{
public:
    ScriptChecker(const CTrelvarDoc& doc, std::string source, FitMeasure* fit, WordSpeller* speller,
                  std::vector<CheckFinding>& out)
        : m_doc(doc), m_source(std::move(source)), m_fit(fit), m_speller(speller), m_out(out),
          m_originals(Codec::Cached(doc.OriginalsCodePage())),
          m_translations(Codec::Cached(doc.TranslationsCodePage()))
    {
    }

    void Run()
    {
        std::vector<TextOccurrence> occurrences;
        ReadTextOccurrences(m_source, m_doc.OriginalsCodePage(), m_doc.TranslationsCodePage(),
                            m_doc.NotExtracted(), occurrences);
        // Resource by resource, in script order.
        for (std::size_t begin = 0; begin < occurrences.size();) {
            std::size_t end = begin;
            while (end < occurrences.size() && occurrences[end].resource == occurrences[begin].resource &&
                   occurrences[end].kind == occurrences[begin].kind)
                ++end;
            CheckResource(occurrences, begin, end);
            begin = end;
        }
    }

private:
    std::string Original(const std::string& text, int key) const
    {
        return "\"" + m_originals.ToUtf8(MarkAccessKey(text, key)) + "\"";
    }
    std::string Translation(const Checked& c) const
    {
        return "\"" + m_translations.ToUtf8(MarkAccessKey(c.result, c.resultKey)) + "\"";
    }

    void Add(const TextOccurrence& o, CheckKind kind, bool warning, std::string message)
    {
        m_out.push_back({m_source, o.line, o.resource, o.kind, kind, warning, o.text, std::move(message)});
    }

    void CheckResource(const std::vector<TextOccurrence>& occurrences, std::size_t begin, std::size_t end)
    {
        const TextOccurrence& first = occurrences[begin];
        PreviewTranslator translator;
        translator.Prepare(m_doc.General(), m_doc.Context(), m_doc.NotExtracted(), m_source, first.resource,
                           first.kind);
        ResourceScript& script = translator.Script();
        script.SetEncodings(m_doc.OriginalsCodePage(), m_doc.TranslationsCodePage());
        std::vector<Checked> checked;
        bool anyTranslated = false;
        for (std::size_t i = begin; i < end; ++i) {
            const TextOccurrence& o = occurrences[i];
            Checked c;
            c.occurrence = &o;
            std::string text = o.decoded;
            c.resultKey = o.decodedShortcut;
            c.result = script.TranslateText(text, c.resultKey, &c.translated);
            c.requestedKey = script.LastRequestedShortcut();
            if (c.translated)
                CheckText(c);
            anyTranslated = anyTranslated || c.translated;
            checked.push_back(std::move(c));
        }
        if (first.kind == 4 || first.kind == 5)
            CheckClashes(checked);
        if (first.kind == 5 && anyTranslated && m_fit)
            CheckFit(translator, first.resource, checked);
    }

    void CheckText(const Checked& c)
    {
        const TextOccurrence& o = *c.occurrence;
        const bool hadKey =
            o.decodedShortcut >= 1 && static_cast<std::size_t>(o.decodedShortcut) <= o.decoded.size();
        const bool hasKey = c.resultKey >= 1 && static_cast<std::size_t>(c.resultKey) <= c.result.size();
        // A key the dictionary places where no key can go: generation moves
        // it. (A script whose own key stands before a blank passes that on.)
        if (const std::string where = MisplacedKey(c.result, c.requestedKey);
            !where.empty() && MisplacedKey(o.decoded, o.decodedShortcut).empty())
            Add(o, CheckKind::AccessKey, false,
                "the access key of " + Translation(c) + " was placed " + where + " (position " +
                    std::to_string(c.requestedKey) + ")");
        if (hadKey && !hasKey)
            Add(o, CheckKind::AccessKey, false,
                Original(o.decoded, o.decodedShortcut) + " has an access key; its translation " +
                    Translation(c) + " has none");
        else if (!hadKey && hasKey)
            Add(o, CheckKind::AccessKey, true,
                Original(o.decoded, 0) + " has no access key; its translation " + Translation(c) +
                    " has one");

        const Placeholders before = PlaceholdersOf(o.decoded);
        const Placeholders after = PlaceholdersOf(c.result);
        if (!(before == after))
            Add(o, CheckKind::Placeholder, false,
                "placeholders differ: " + before.Shown() + " in " + Original(o.decoded, o.decodedShortcut) +
                    ", " + after.Shown() + " in " + Translation(c));

        // A menu item's accelerator follows "\t"; in a string table "\t" is
        // a tab like any other escape.
        const bool menuItem = o.kind == 4;
        const auto accelerator = menuItem ? AcceleratorOf(o.decoded) : std::nullopt;
        const auto translatedAccelerator = menuItem ? AcceleratorOf(c.result) : std::nullopt;
        if (accelerator != translatedAccelerator)
            Add(o, CheckKind::Accelerator, false,
                "the accelerator " +
                    (accelerator ? "\"" + m_originals.ToUtf8(*accelerator) + "\"" : "(none)") + " of " +
                    Original(o.decoded, o.decodedShortcut) + " is " +
                    (translatedAccelerator ? "\"" + m_translations.ToUtf8(*translatedAccelerator) + "\""
                                           : "missing") +
                    " in " + Translation(c));

        const auto escapes = EscapesOf(o.decoded, menuItem);
        const auto translatedEscapes = EscapesOf(c.result, menuItem);
        if (escapes != translatedEscapes)
            Add(o, CheckKind::Escape, false,
                "escapes differ: " + ShownEscapes(escapes) + " in " + Original(o.decoded, o.decodedShortcut) +
                    ", " + ShownEscapes(translatedEscapes) + " in " + Translation(c));

        for (const auto& [at, length] : VerbatimSpans(o.decoded)) {
            const std::string word = o.decoded.substr(at, length);
            if (c.result.find(word) == std::string::npos)
                Add(o, CheckKind::Verbatim, true,
                    "\"" + m_originals.ToUtf8(word) + "\" of " + Original(o.decoded, o.decodedShortcut) +
                        " is not in " + Translation(c));
        }

        if (m_speller && c.translated) {
            std::set<std::string> told;
            for (const auto& [at, word] : SpellingWords(m_translations.ToUtf8(c.result))) {
                if (m_speller->Correct(word) || !told.insert(word).second)
                    continue;
                std::string message = "\"" + word + "\" is not a word of the language";
                const std::vector<std::string> suggestions = m_speller->Suggestions(word);
                for (std::size_t i = 0; i < suggestions.size() && i < 3; ++i)
                    message += (i == 0 ? " (perhaps \"" : ", \"") + suggestions[i] + "\"";
                Add(o, CheckKind::Spelling, true,
                    message + (suggestions.empty() ? "" : ")") + " in " + Translation(c));
            }
        }

        const Ends was = EndsOf(o.decoded);
        const Ends is = EndsOf(c.result);
        std::vector<std::string> differences;
        if (was.leading != is.leading)
            differences.push_back("leading blanks");
        if (was.trailing != is.trailing)
            differences.push_back("trailing blanks");
        if (was.colons != is.colons)
            differences.push_back("final colons");
        if (was.ellipsis != is.ellipsis)
            differences.push_back("final ellipsis");
        if (!differences.empty()) {
            std::string what;
            for (const std::string& d : differences)
                what += (what.empty() ? "" : ", ") + d;
            Add(o, CheckKind::Punctuation, true,
                what + " differ: " + Original(o.decoded, o.decodedShortcut) + " and " + Translation(c));
        }
    }

    // Two texts of one dialog or pop-up with the same access key, which the
    // original texts did not share.
    void CheckClashes(const std::vector<Checked>& checked)
    {
        const int originals = m_doc.OriginalsCodePage();
        const int translations = m_doc.TranslationsCodePage();
        std::map<std::pair<int, char32_t>, const Checked*> taken;
        for (const Checked& c : checked) {
            const char32_t key =
                AccessKeyOf(c.result, c.resultKey, c.translated ? m_translations : m_originals,
                            c.translated ? translations : originals);
            if (key == 0)
                continue;
            auto [at, added] = taken.emplace(std::make_pair(c.occurrence->group, key), &c);
            if (added)
                continue;
            const Checked& other = *at->second;
            if (!c.translated && !other.translated)
                continue;
            const TextOccurrence& a = *other.occurrence;
            const TextOccurrence& b = *c.occurrence;
            if (AccessKeyOf(a.decoded, a.decodedShortcut, m_originals, originals) ==
                AccessKeyOf(b.decoded, b.decodedShortcut, m_originals, originals))
                continue;
            Add(b, CheckKind::AccessKeyClash, false,
                "the access key of " + Translation(c) + " is also the key of " + Translation(other) +
                    " (line " + std::to_string(a.line) + ")");
        }
    }

    // Translations larger than their controls, as the preview frames them.
    void CheckFit(PreviewTranslator& translator, const std::string& resource,
                  const std::vector<Checked>& checked)
    {
        static const StyleNameTable styles;
        int counter = 1000;
        PreviewReader reader(styles, counter);
        PreviewDialogInfo dialog;
        PreviewMenu menu;
        if (!reader.Read(m_source, resource, 5, dialog, menu).opened)
            return;
        FillDialogDisplay(dialog, &translator, m_doc.Context(), m_source, resource);
        for (int index : m_fit->TooLarge(dialog)) {
            const auto control = std::find_if(dialog.controls.begin(), dialog.controls.end(),
                                              [index](const auto& c) { return c->index == index; });
            if (control == dialog.controls.end())
                continue;
            const std::string bare =
                Bare((*control)->rawText.empty() ? (*control)->text : (*control)->rawText);
            const Checked* where = &checked.front();
            for (const Checked& c : checked) {
                if (Bare(c.occurrence->decoded) == bare) {
                    where = &c;
                    break;
                }
            }
            Add(*where->occurrence, CheckKind::Fit, true,
                "\"" + m_translations.ToUtf8((*control)->displayText) + "\" does not fit its control");
        }
    }

    const CTrelvarDoc& m_doc;
    std::string m_source;
    FitMeasure* m_fit;
    WordSpeller* m_speller;
    std::vector<CheckFinding>& m_out;
    const Codec& m_originals;
    const Codec& m_translations;
};

} // namespace

const char* CheckKindName(CheckKind kind)
{
    return kKindNames[static_cast<std::size_t>(kind)];
}

std::optional<CheckKind> CheckKindNamed(std::string_view name)
{
    for (std::size_t i = 0; i < kKindNames.size(); ++i) {
        if (name == kKindNames[i])
            return static_cast<CheckKind>(i);
    }
    return std::nullopt;
}

std::vector<CheckKind> AllCheckKinds()
{
    std::vector<CheckKind> all;
    for (std::size_t i = 0; i < kKindNames.size(); ++i)
        all.push_back(static_cast<CheckKind>(i));
    return all;
}

std::string FormatFinding(const CheckFinding& f)
{
    return f.script + ":" + std::to_string(f.line) + ": " + f.resource + ": " +
           (f.warning ? "warning: " : "") + f.message + " [" + CheckKindName(f.kind) + "]";
}

std::vector<CheckFinding> CheckTranslations(const CTrelvarDoc& doc, const std::vector<std::string>& scripts,
                                            FitMeasure* fit, ProgressSink* progress, WordSpeller* speller)
{
    std::vector<std::string> sources = scripts;
    if (sources.empty()) {
        for (const auto& file : doc.Files()->Files())
            sources.push_back(file.value.source);
    }
    if (progress)
        progress->SetRange(static_cast<int>(sources.size()));
    std::vector<CheckFinding> findings;
    int step = 0;
    for (const std::string& source : sources) {
        std::vector<CheckFinding> found;
        ScriptChecker(doc, source, fit, speller, found).Run();
        std::stable_sort(found.begin(), found.end(),
                         [](const CheckFinding& a, const CheckFinding& b) { return a.line < b.line; });
        findings.insert(findings.end(), found.begin(), found.end());
        if (progress)
            progress->SetPosition(++step);
    }
    return findings;
}

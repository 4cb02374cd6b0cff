// TMX 1.4b files, the exchange format of translation memories.
#include "exchange/TmxFormat.h"

#include "dictionary/TextRules.h"
#include "exchange/InlineText.h"
#include "exchange/TranslationExchange.h"

#include <pugixml.hpp>
#include <unordered_set>

namespace {

// A language tag names the language of another when they are equal or one
// is the other with a region ("fr" and "fr-CA"), in any case.
bool SameLanguage(std::string_view a, std::string_view b)
{
    const std::string la = AnsiLower(a);
    const std::string lb = AnsiLower(b);
    if (la.empty() || lb.empty())
        return false;
    const auto base = [](const std::string& tag) { return tag.substr(0, tag.find_first_of("-_")); };
    return la == lb || base(la) == lb || base(lb) == la || base(la) == base(lb);
}

std::string LanguageOf(pugi::xml_node tuv)
{
    const char* lang = tuv.attribute("xml:lang").value();
    return *lang ? lang : tuv.attribute("lang").value(); // TMX 1.1 wrote "lang"
}

constexpr const char* kCreationTool = "Lingorel";

// A text as the dictionary holds it, from a memory of another tool that
// writes it as a script does: "&&" an ampersand, "&" before a character
// the mark of the access key (dropped: the key is the resource's). An "&"
// before a blank or at the end is a character.
std::string WithoutKeyMarks(const std::string& marked)
{
    std::string out;
    out.reserve(marked.size());
    for (std::size_t i = 0; i < marked.size(); ++i) {
        if (marked[i] == '&' && i + 1 < marked.size() && marked[i + 1] != ' ') {
            ++i;
            if (marked[i] != '&') {
                out += marked[i];
                continue;
            }
        }
        out += marked[i];
    }
    return out;
}

} // namespace

bool WriteTmxFile(const ExchangeDocument& exchange, const std::string& path, std::string& error)
{
    const std::string target = exchange.targetLanguage.empty() ? "und" : exchange.targetLanguage;
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node tmx = document.append_child("tmx");
    tmx.append_attribute("version") = "1.4";
    pugi::xml_node header = tmx.append_child("header");
    header.append_attribute("creationtool") = kCreationTool;
    header.append_attribute("creationtoolversion") = "1";
    header.append_attribute("datatype") = "plaintext";
    header.append_attribute("segtype") = "sentence";
    header.append_attribute("adminlang") = "en";
    header.append_attribute("srclang") = exchange.sourceLanguage.c_str();
    header.append_attribute("o-tmf") = kCreationTool;
    pugi::xml_node body = tmx.append_child("body");
    for (const ExchangeEntry& e : exchange.entries) {
        if (!e.script.empty() || e.translation.empty() || e.doNotTranslate)
            continue;
        pugi::xml_node tu = body.append_child("tu");
        for (const auto& [language, text] :
             {std::pair<const std::string&, const std::string&>{exchange.sourceLanguage, e.original},
              std::pair<const std::string&, const std::string&>{target, e.translation}}) {
            pugi::xml_node tuv = tu.append_child("tuv");
            tuv.append_attribute("xml:lang") = language.c_str();
            AppendInlineText(tuv.append_child("seg"), text);
        }
    }
    return SaveXmlFile(document, path, error);
}

bool ReadTmxFile(const std::string& path, ExchangeDocument& exchange, std::string& error)
{
    pugi::xml_document document;
    if (!LoadXmlFile(path, "tmx", "a TMX file", document, error))
        return false;
    const pugi::xml_node tmx = document.child("tmx");
    const std::string source = tmx.child("header").attribute("srclang").value();
    if (!source.empty() && source != "*all*")
        exchange.sourceLanguage = source;
    const bool ours =
        std::string_view(tmx.child("header").attribute("creationtool").value()) == kCreationTool;
    // A memory may hold a text several times (a program's menu and its
    // dialog): the first unit of each text is its translation.
    std::unordered_set<std::string> seen;
    for (pugi::xml_node tu : tmx.child("body").children("tu")) {
        pugi::xml_node from;
        pugi::xml_node to;
        for (pugi::xml_node tuv : tu.children("tuv")) {
            const std::string language = LanguageOf(tuv);
            if (!from && SameLanguage(language, exchange.sourceLanguage))
                from = tuv;
            else if (!to &&
                     (exchange.targetLanguage.empty() || SameLanguage(language, exchange.targetLanguage)))
                to = tuv;
        }
        if (!from || !to)
            continue;
        if (exchange.targetLanguage.empty())
            exchange.targetLanguage = LanguageOf(to);
        ExchangeEntry e;
        e.original = InlineTextOf(from.child("seg"));
        e.translation = InlineTextOf(to.child("seg"));
        if (!ours) {
            e.original = WithoutKeyMarks(e.original);
            e.translation = WithoutKeyMarks(e.translation);
        }
        // A unit without a translation says nothing.
        if (!e.original.empty() && !e.translation.empty() && seen.insert(e.original).second)
            exchange.entries.push_back(std::move(e));
    }
    return true;
}

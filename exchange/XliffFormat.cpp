// XLIFF 1.2 files: the general texts as units of the file's body, the
// entries of each resource in a group per script and a group per resource.
#include "exchange/XliffFormat.h"

#include "exchange/ExchangeFiles.h"
#include "exchange/InlineText.h"
#include "exchange/TranslationExchange.h"

#include <map>
#include <pugixml.hpp>

namespace {

constexpr const char* kNamespace = "urn:oasis:names:tc:xliff:document:1.2";
// Our own attribute, in a namespace of its own as XLIFF allows.
constexpr const char* kOwnNamespace = "urn:lingorel:exchange";
constexpr const char* kInContext = "lr:in-context";
constexpr const char* kOccurrence = "lr:occurrence";

void AddUnit(pugi::xml_node parent, const ExchangeEntry& e, const std::string& id)
{
    pugi::xml_node unit = parent.append_child("trans-unit");
    unit.append_attribute("id") = id.c_str();
    unit.append_attribute("xml:space") = "preserve";
    if (e.doNotTranslate)
        unit.append_attribute("translate") = "no";
    if (e.inContext)
        unit.append_attribute(kInContext) = "yes";
    if (e.occurrence > 0)
        unit.append_attribute(kOccurrence) = std::to_string(e.occurrence + 1).c_str();
    // A translation is a translation to every tool (translate-toolkit
    // counts a target without approval as unsure).
    if (!e.translation.empty())
        unit.append_attribute("approved") = "yes";
    AppendInlineText(unit.append_child("source"), e.original);
    if (!e.translation.empty()) {
        pugi::xml_node target = unit.append_child("target");
        target.append_attribute("state") = "translated";
        AppendInlineText(target, e.translation);
    }
    std::string about;
    if (!e.script.empty()) {
        const std::string kind = ResourceKindName(e.kind);
        about = (kind.empty() ? "Resource" : kind) + " " + e.resource;
        if (e.occurrence > 0)
            about += ", occurrence " + std::to_string(e.occurrence + 1) + " of the text there";
    }
    if (!e.references.empty()) {
        std::string used = "Used in ";
        for (std::size_t i = 0; i < e.references.size(); ++i) {
            const auto& [script, line] = e.references[i];
            used += (i ? ", " : "") + script + (line > 0 ? ":" + std::to_string(line) : "");
        }
        about += (about.empty() ? "" : ". ") + used;
    }
    if (!about.empty()) {
        pugi::xml_node note = unit.append_child("note");
        note.append_attribute("from") = "lingorel";
        note.text() = about.c_str();
    }
}

// Whether a target's state is one a translator is not sure of: XLIFF's
// needs-* states and "new", or a unit not approved.
bool IsUnsure(pugi::xml_node unit, pugi::xml_node target)
{
    const std::string state = target.attribute("state").value();
    if (state == "translated" || state == "signed-off" || state == "final")
        return std::string_view(unit.attribute("approved").value()) == "no";
    return state == "new" || state.rfind("needs-", 0) == 0 ||
           std::string_view(unit.attribute("approved").value()) == "no";
}

void ReadUnits(pugi::xml_node parent, const std::string& script, const std::string& resource,
               ExchangeDocument& exchange)
{
    for (pugi::xml_node node : parent.children()) {
        const std::string name = node.name();
        if (name == "group") {
            // A script's group holds a group per resource.
            const std::string resname = node.attribute("resname").value();
            if (script.empty())
                ReadUnits(node, resname, {}, exchange);
            else
                ReadUnits(node, script, resource.empty() ? resname : resource, exchange);
            continue;
        }
        if (name != "trans-unit")
            continue;
        ExchangeEntry e;
        e.script = script;
        e.resource = resource;
        e.original = InlineTextOf(node.child("source"));
        const pugi::xml_node target = node.child("target");
        e.translation = InlineTextOf(target);
        e.doNotTranslate = std::string(node.attribute("translate").value()) == "no";
        e.inContext = std::string(node.attribute(kInContext).value()) == "yes";
        if (const int occurrence = node.attribute(kOccurrence).as_int(); occurrence >= 2)
            e.occurrence = static_cast<std::size_t>(occurrence - 1);
        e.fuzzy = IsUnsure(node, target);
        exchange.entries.push_back(std::move(e));
    }
}

} // namespace

bool WriteXliffFile(const ExchangeDocument& exchange, const std::string& path, std::string& error)
{
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node xliff = document.append_child("xliff");
    xliff.append_attribute("version") = "1.2";
    xliff.append_attribute("xmlns") = kNamespace;
    xliff.append_attribute("xmlns:lr") = kOwnNamespace;
    pugi::xml_node file = xliff.append_child("file");
    file.append_attribute("original") = exchange.name.c_str();
    file.append_attribute("datatype") = "winres";
    file.append_attribute("source-language") = exchange.sourceLanguage.c_str();
    if (!exchange.targetLanguage.empty())
        file.append_attribute("target-language") = exchange.targetLanguage.c_str();
    pugi::xml_node body = file.append_child("body");

    // The resources' entries grouped by script and resource, in the order met.
    std::map<std::string, std::size_t> scriptIndex;
    std::vector<std::pair<pugi::xml_node, std::map<std::string, pugi::xml_node>>> scripts;
    int general = 0;
    int own = 0;
    for (const ExchangeEntry& e : exchange.entries) {
        if (e.script.empty()) {
            AddUnit(body, e, "g" + std::to_string(++general));
            continue;
        }
        auto [at, added] = scriptIndex.emplace(e.script, scripts.size());
        if (added) {
            pugi::xml_node group = body.append_child("group");
            group.append_attribute("id") = ("s" + std::to_string(scripts.size() + 1)).c_str();
            group.append_attribute("resname") = e.script.c_str();
            scripts.push_back({group, {}});
        }
        auto& [scriptGroup, resources] = scripts[at->second];
        pugi::xml_node& resourceGroup = resources[e.resource];
        if (!resourceGroup) {
            resourceGroup = scriptGroup.append_child("group");
            resourceGroup.append_attribute("id") =
                (std::string(scriptGroup.attribute("id").value()) + "-" + std::to_string(resources.size()))
                    .c_str();
            resourceGroup.append_attribute("resname") = e.resource.c_str();
            // XLIFF's own names of the kinds of a Windows resource.
            if (e.kind == 5 || e.kind == 4 || e.kind == 3)
                resourceGroup.append_attribute("restype") = e.kind == 5   ? "dialog"
                                                            : e.kind == 4 ? "menu"
                                                                          : "x-stringtable";
        }
        // The id carries the entry's context as a PO file gives it: a tool
        // that makes a PO of this file (xliff2po) uses the id as context
        // where a text repeats, and the import reads it back.
        AddUnit(resourceGroup, e, EntryContext(e) + kUnitNumberMark + std::to_string(++own));
    }
    return SaveXmlFile(document, path, error);
}

bool ReadXliffFile(const std::string& path, ExchangeDocument& exchange, std::string& error)
{
    pugi::xml_document document;
    if (!LoadXmlFile(path, "xliff", "an XLIFF file", document, error))
        return false;
    const pugi::xml_node xliff = document.child("xliff");
    for (pugi::xml_node file : xliff.children("file")) {
        if (exchange.name.empty())
            exchange.name = file.attribute("original").value();
        if (const char* source = file.attribute("source-language").value(); *source)
            exchange.sourceLanguage = source;
        exchange.targetLanguage = file.attribute("target-language").value();
        ReadUnits(file.child("body"), {}, {}, exchange);
    }
    return true;
}

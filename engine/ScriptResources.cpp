#include "engine/ScriptResources.h"

#include "dictionary/Codec.h"
#include "dictionary/FileSystem.h"
#include "dictionary/TextRules.h"
#include "engine/Literal.h"
#include "engine/ResourceKind.h"
#include "engine/ScriptText.h"

#include <algorithm>

bool ScriptResources::Contains(std::string_view name) const
{
    if (EqualsNoCase(name, "Stringtable"))
        return true;
    return std::find(dialogs.begin(), dialogs.end(), name) != dialogs.end() ||
           std::find(menus.begin(), menus.end(), name) != menus.end();
}

std::pair<int, std::string_view> ScriptResources::Reader::Next(std::string_view line, int shownKinds)
{
    m_code.Next(line);
    m_structure.Next(m_code.Keywords(), m_code.Directive());
    if (!m_structure.Declares())
        return {0, {}};
    const std::string_view name = line.substr(0, m_structure.NameEnd());
    switch (m_structure.Current()) {
    case ScriptStructure::Resource::Menu:
        return (shownKinds & Menus) ? std::pair<int, std::string_view>{KindMenu, name}
                                    : std::pair<int, std::string_view>{0, {}};
    case ScriptStructure::Resource::Dialog:
        return (shownKinds & Dialogs) ? std::pair<int, std::string_view>{KindDialog, name}
                                      : std::pair<int, std::string_view>{0, {}};
    default:
        return {0, {}};
    }
}

void ScriptResources::Recognise(std::string_view line, int shownKinds)
{
    const auto [kind, name] = m_reader.Next(line, shownKinds);
    if (kind != 0 && !Contains(name))
        (kind == KindMenu ? menus : dialogs).emplace_back(name);
}

namespace {

void ScanLines(ScriptText& file, ScriptResources& resources, int shownKinds)
{
    const LiteralEncodingScope encoding(LiteralEncoding{file.WorkingCodePage(), !file.Transcoded()});
    std::string line;
    for (auto n = file.ReadFirstLine(line); n >= 0; n = file.ReadLine(line)) {
        if (n > 0)
            resources.Recognise(line, shownKinds);
    }
}

} // namespace

bool ScriptResources::Scan(const std::string& path, int shownKinds)
{
    ScriptText file;
    if (!file.Open(ResolveExistingPath(path), OpenOriginalsCodePage()) || file.Failed())
        return false;
    ScanLines(file, *this, shownKinds);
    return true;
}

void ScriptResources::ScanText(std::string_view script, int shownKinds)
{
    ScriptText file;
    file.OpenMemory(script, OpenOriginalsCodePage());
    ScanLines(file, *this, shownKinds);
}

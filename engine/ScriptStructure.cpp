#include "engine/ScriptStructure.h"

#include "engine/ScriptCode.h"

#include <algorithm>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

bool IsWordChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// One field of a statement: a literal with its quotes, a brace, or a run of
// characters up to a blank, a comma or a brace.
struct Token
{
    std::string_view text;
    std::size_t at = 0;
    bool commaAfter = false; // the next character but blanks is a comma
};

Token NextToken(std::string_view line, std::size_t& i)
{
    const std::size_t n = line.size();
    while (i < n && IsBlank(line[i]))
        ++i;
    Token token;
    token.at = i;
    if (i >= n)
        return token;
    std::size_t end = i + 1;
    if (line[i] == '"') {
        // The inside of a literal is blank in a keyword view: it ends at the
        // next quote.
        while (end < n && line[end] != '"')
            ++end;
        end = std::min(n, end + 1);
    } else if (line[i] != '{' && line[i] != '}' && line[i] != ',') {
        while (end < n && !IsBlank(line[end]) && line[end] != ',' && line[end] != '{' && line[end] != '}' &&
               line[end] != '"')
            ++end;
    }
    token.text = line.substr(i, end - i);
    i = end;
    std::size_t k = i;
    while (k < n && IsBlank(line[k]))
        ++k;
    token.commaAfter = k < n && line[k] == ',';
    return token;
}

bool StartsLikeName(std::string_view token)
{
    return !token.empty() && (IsWordChar(token.front()) || token.front() == '"');
}

// The resource types the compiler knows by name; a statement with one of
// them starts a new resource wherever it stands.
ScriptStructure::Resource KnownType(std::string_view type, bool& known)
{
    using R = ScriptStructure::Resource;
    known = true;
    if (type == "DIALOG" || type == "DIALOGEX")
        return R::Dialog;
    if (type == "MENU" || type == "MENUEX")
        return R::Menu;
    if (type == "DLGINIT")
        return R::DlgInit;
    static constexpr std::string_view kOthers[] = {
        "ACCELERATORS", "BITMAP",       "CURSOR", "DESIGNINFO",  "DLGINCLUDE", "FONT",       "HTML",
        "ICON",         "MESSAGETABLE", "RCDATA", "TEXTINCLUDE", "TOOLBAR",    "VERSIONINFO"};
    known = std::find(std::begin(kOthers), std::end(kOthers), type) != std::end(kOthers);
    return R::Other;
}

// Whether the statement goes on on the next line after this one.
bool LeavesOpen(std::string_view keywords)
{
    std::size_t end = keywords.size();
    while (end > 0 && IsBlank(keywords[end - 1]))
        --end;
    if (end == 0)
        return false;
    const char last = keywords[end - 1];
    if (last == ',' || last == '|')
        return true;
    return end >= 3 && keywords.substr(end - 3, 3) == "NOT" && (end == 3 || !IsWordChar(keywords[end - 4]));
}

// The second field of a DLGINIT entry is the kind of its data; 0x403 is a
// combo box's strings.
bool IsComboHeader(std::string_view keywords)
{
    const std::size_t comma = keywords.find(',');
    if (comma == std::string_view::npos)
        return false;
    std::size_t i = comma + 1;
    const Token type = NextToken(keywords, i);
    const std::string_view t = type.text;
    return t.size() == 5 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X') && t.substr(2) == "403";
}

} // namespace

void ScriptStructure::Reset()
{
    *this = ScriptStructure();
}

void ScriptStructure::Declare(Resource resource, std::size_t nameEnd)
{
    m_resource = resource;
    m_lineResource = resource;
    m_declares = true;
    m_nameEnd = nameEnd;
    m_depth = 0;
    m_lineDepth = 0;
    m_groups.clear();
    m_popupGroup = 0;
    m_resourceGroup = ++m_lastGroup;
    m_lineGroup = m_resourceGroup;
    m_statements.Reset();
}

void ScriptStructure::CountBlocks(std::string_view keywords, std::size_t from)
{
    std::size_t i = from;
    for (Token token = NextToken(keywords, i); !token.text.empty(); token = NextToken(keywords, i)) {
        const std::string_view t = token.text;
        if (t == "BEGIN" || t == "{") {
            int group = m_resourceGroup;
            if (m_depth > 0)
                group = m_popupGroup != 0 ? m_popupGroup : ++m_lastGroup;
            m_popupGroup = 0;
            m_groups.push_back(group);
            ++m_depth;
            m_statements.Reset();
        } else if ((t == "END" || t == "}") && m_depth > 0) {
            m_groups.pop_back();
            --m_depth;
            m_statements.Reset();
            if (m_depth == 0) {
                m_resource = Resource::None;
                m_ends = true;
                return;
            }
        }
    }
}

void ScriptStructure::Next(std::string_view keywords, bool directive)
{
    m_declares = false;
    m_hasText = false;
    m_caption = false;
    m_comboEntry = false;
    m_ends = false;
    m_lineResource = m_resource;
    m_lineDepth = m_depth;
    m_lineGroup = m_groups.empty() ? m_resourceGroup : m_groups.back();
    if (directive)
        return;
    std::size_t i = 0;
    const Token first = NextToken(keywords, i);
    if (first.text.empty())
        return;
    const std::size_t afterFirst = i;
    const Token second = NextToken(keywords, i);
    const bool continued = m_open;
    m_open = LeavesOpen(keywords);

    // A statement: STRINGTABLE, or a name and a type. A type the compiler
    // knows starts a resource even where the blocks before it did not add
    // up (an #if that hides a BEGIN); any other word does so outside blocks.
    if (first.text == "STRINGTABLE") {
        Declare(Resource::StringTable, 0);
        CountBlocks(keywords, afterFirst);
        return;
    }
    // A name may be a keyword's word in another case ("Menu MENU"), but a
    // header line (STYLE, MENU IDR_MAIN, LANGUAGE ...) declares nothing.
    if (StartsLikeName(first.text) && !first.commaAfter && !second.text.empty() &&
        IsWordChar(second.text.front())) {
        bool known = false;
        const Resource resource = KnownType(second.text, known);
        if (known || (m_depth == 0 && !continued && !IsScriptKeyword(first.text))) {
            // A name written with blanks (a wizard's template:
            // "IDD_[!output ROOT]PAGE DIALOG") ends at a text resource's
            // type further on.
            std::size_t k = i;
            Token later = second;
            for (int words = 0; !known && words < 8 && !later.commaAfter && !later.text.empty(); ++words) {
                later = NextToken(keywords, k);
                if (later.text.empty() || !IsWordChar(later.text.front()))
                    break;
                bool laterKnown = false;
                const Resource type = KnownType(later.text, laterKnown);
                if (laterKnown && type != Resource::Other) {
                    Declare(type, later.at - 1);
                    CountBlocks(keywords, k);
                    return;
                }
            }
            Declare(resource, second.at > 0 ? second.at - 1 : 0);
            CountBlocks(keywords, i);
            return;
        }
    }
    if (m_resource == Resource::None)
        return;

    if (m_depth == 0) {
        // Header lines until the block opens.
        if (first.text != "BEGIN" && first.text != "{") {
            m_caption = m_resource == Resource::Dialog && first.text == "CAPTION";
            m_hasText = m_caption;
        }
        CountBlocks(keywords, 0);
        return;
    }
    switch (m_resource) {
    case Resource::Dialog:
        m_hasText = m_depth == 1 && m_statements.TextOnLine(keywords);
        break;
    case Resource::Menu:
        m_hasText = m_statements.TextOnLine(keywords);
        if (first.text == "POPUP")
            m_popupGroup = ++m_lastGroup;
        break;
    case Resource::StringTable:
        m_hasText = m_depth == 1 && m_statements.TextOnLine(keywords);
        break;
    case Resource::DlgInit:
        m_comboEntry = m_depth == 1 && first.commaAfter && IsComboHeader(keywords);
        m_hasText = m_comboEntry;
        break;
    case Resource::None:
    case Resource::Other:
        break;
    }
    CountBlocks(keywords, 0);
}

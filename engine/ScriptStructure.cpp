#include "engine/ScriptStructure.h"

#include "engine/ByteSearch.h"
#include "engine/ScriptCode.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// Letters, digits, the underscore; and the bytes that end a token.
struct ByteClasses
{
    bool word[256] = {};
    bool ends[256] = {};
    constexpr ByteClasses()
    {
        for (int c = 0; c < 256; ++c)
            word[c] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        for (unsigned char c : std::string_view(" \t\r,{}\""))
            ends[c] = true;
    }
};
constexpr ByteClasses kBytes;

bool IsWordChar(char c)
{
    return kBytes.word[static_cast<unsigned char>(c)];
}

// The place of the first byte at or after i that is not a blank. Lines are
// indented and their fields aligned with runs of spaces: eight are passed
// at once.
std::size_t SkipBlanks(std::string_view line, std::size_t i)
{
    constexpr std::uint64_t kSpaces = 0x2020202020202020ull;
    const std::size_t n = line.size();
    for (std::uint64_t word = 0; i + 8 <= n; i += 8) {
        std::memcpy(&word, line.data() + i, 8);
        if (word != kSpaces)
            break;
    }
    while (i < n && IsBlank(line[i]))
        ++i;
    return i;
}

using Token = ScriptStructure::Token;

// Whether the next character but blanks after the token is a comma.
bool CommaAfter(std::string_view line, const Token& token)
{
    const std::size_t k = SkipBlanks(line, token.end);
    return k < line.size() && line[k] == ',';
}

Token NextToken(std::string_view line, std::size_t& i)
{
    const std::size_t n = line.size();
    i = SkipBlanks(line, i);
    Token token;
    token.at = i;
    if (i >= n)
        return token;
    std::size_t end = i + 1;
    if (line[i] == '"') {
        // The inside of a literal is blank in a keyword view: it ends at the
        // next quote.
        end += FindByte(line.data() + end, n - end, '"');
        end = std::min(n, end + 1);
    } else if (line[i] != '{' && line[i] != '}' && line[i] != ',') {
        while (end < n && !kBytes.ends[static_cast<unsigned char>(line[end])])
            ++end;
    }
    token.text = line.substr(i, end - i);
    token.end = end;
    i = end;
    return token;
}

// The statements of a dialog's or a menu's block: a line inside a block
// that begins with one declares no resource.
bool IsBodyStatement(std::string_view word)
{
    switch (word.size()) {
    case 3:
        return word == "END";
    case 4:
        return word == "ICON";
    case 5:
        return word == "LTEXT" || word == "RTEXT" || word == "CTEXT" || word == "BEGIN" || word == "POPUP";
    case 7:
        return word == "CONTROL" || word == "LISTBOX";
    case 8:
        return word == "MENUITEM" || word == "GROUPBOX" || word == "EDITTEXT" || word == "CHECKBOX" ||
               word == "COMBOBOX";
    case 9:
        return word == "SCROLLBAR";
    case 10:
        return word == "PUSHBUTTON";
    case 11:
        return word == "RADIOBUTTON";
    case 12:
        return word == "AUTOCHECKBOX";
    case 13:
        return word == "DEFPUSHBUTTON";
    case 15:
        return word == "AUTORADIOBUTTON";
    default:
        return false;
    }
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
    CountBlocks(keywords, NextToken(keywords, i));
}

void ScriptStructure::CountBlocks(std::string_view keywords, const Token& first)
{
    // The marks of a block are whole words, BEGIN and END, or braces, and
    // they stand first or last on their line ("IDR_MAIN MENU BEGIN",
    // "POPUP \"&File\" BEGIN", "END // of the dialog").
    if (first.text.empty())
        return;
    Mark(first.text);
    std::size_t end = keywords.size();
    while (end > first.end && IsBlank(keywords[end - 1]))
        --end;
    if (end <= first.end)
        return;
    std::size_t start = end;
    if (keywords[end - 1] == '{' || keywords[end - 1] == '}')
        --start;
    else
        while (start > first.end && IsWordChar(keywords[start - 1]))
            --start;
    if (start > first.end || !IsWordChar(keywords[start - 1]))
        Mark(keywords.substr(start, end - start));
}

void ScriptStructure::Mark(std::string_view word)
{
    if ((m_resource == Resource::None && m_ends) || word.empty() ||
        (word.front() != 'B' && word.front() != 'E' && word.front() != '{' && word.front() != '}'))
        return;
    if (word == "BEGIN" || word == "{") {
        int group = m_resourceGroup;
        if (m_depth > 0)
            group = m_popupGroup != 0 ? m_popupGroup : ++m_lastGroup;
        m_popupGroup = 0;
        m_groups.push_back(group);
        ++m_depth;
        m_statements.Reset();
    } else if ((word == "END" || word == "}") && m_depth > 0) {
        m_groups.pop_back();
        --m_depth;
        m_statements.Reset();
        if (m_depth == 0) {
            m_resource = Resource::None;
            m_ends = true;
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
    const bool continued = m_open;
    m_open = LeavesOpen(keywords);
    // Most lines are the controls and items of a block: no statement there.
    const bool maybeStatement = m_depth == 0 || !IsBodyStatement(first.text);
    const Token second = maybeStatement ? NextToken(keywords, i) : Token{};

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
    if (StartsLikeName(first.text) && !second.text.empty() && IsWordChar(second.text.front()) &&
        !CommaAfter(keywords, first)) {
        bool known = false;
        const Resource resource = KnownType(second.text, known);
        if (known || (m_depth == 0 && !continued && !IsScriptKeyword(first.text))) {
            // A name written with blanks (a wizard's template:
            // "IDD_[!output ROOT]PAGE DIALOG") ends at a text resource's
            // type further on.
            std::size_t k = i;
            Token later = second;
            for (int words = 0; !known && words < 8 && !later.text.empty() && !CommaAfter(keywords, later);
                 ++words) {
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
        CountBlocks(keywords, first);
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
        m_comboEntry = m_depth == 1 && CommaAfter(keywords, first) && IsComboHeader(keywords);
        m_hasText = m_comboEntry;
        break;
    case Resource::None:
    case Resource::Other:
        break;
    }
    CountBlocks(keywords, first);
}

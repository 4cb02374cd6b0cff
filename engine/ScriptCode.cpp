#include "engine/ScriptCode.h"

#include "dictionary/Codec.h"
#include "engine/ByteSearch.h"
#include "engine/Literal.h"

#include <algorithm>
#include <iterator>

namespace {

// The words the resource compiler reads as keywords, in upper case and in
// order: statements, resource types, the options of statements and items.
constexpr std::string_view kKeywords[] = {
    "ACCELERATORS",  "ALT",           "ASCII",       "AUTO3STATE",  "AUTOCHECKBOX", "AUTORADIOBUTTON",
    "BEGIN",         "BITMAP",        "BLOCK",       "BUTTON",      "CAPTION",      "CHARACTERISTICS",
    "CHECKBOX",      "CHECKED",       "CLASS",       "COMBOBOX",    "CONTROL",      "CTEXT",
    "CURSOR",        "DEFPUSHBUTTON", "DESIGNINFO",  "DIALOG",      "DIALOGEX",     "DISCARDABLE",
    "DLGINCLUDE",    "DLGINIT",       "EDITTEXT",    "END",         "EXSTYLE",      "FILEFLAGS",
    "FILEFLAGSMASK", "FILEOS",        "FILESUBTYPE", "FILETYPE",    "FILEVERSION",  "FIXED",
    "FONT",          "GRAYED",        "GROUPBOX",    "HELP",        "HTML",         "ICON",
    "IMPURE",        "INACTIVE",      "LANGUAGE",    "LISTBOX",     "LOADONCALL",   "LTEXT",
    "MENU",          "MENUBARBREAK",  "MENUBREAK",   "MENUEX",      "MENUITEM",     "MESSAGETABLE",
    "MOVEABLE",      "NOINVERT",      "NOT",         "POPUP",       "PRELOAD",      "PRODUCTVERSION",
    "PURE",          "PUSHBOX",       "PUSHBUTTON",  "RADIOBUTTON", "RCDATA",       "RTEXT",
    "SCROLLBAR",     "SEPARATOR",     "SHIFT",       "STATE3",      "STRINGTABLE",  "STYLE",
    "TEXTINCLUDE",   "TOOLBAR",       "VALUE",       "VERSION",     "VERSIONINFO",  "VIRTKEY",
};

constexpr std::size_t kLongestKeyword = 15;

bool IsWordStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsWordChar(char c)
{
    return IsWordStart(c) || (c >= '0' && c <= '9');
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

bool IsScriptKeyword(std::string_view word)
{
    if (word.empty() || word.size() > kLongestKeyword)
        return false;
    char upper[kLongestKeyword];
    std::transform(word.begin(), word.end(), upper, Upper);
    const std::string_view key(upper, word.size());
    return std::binary_search(std::begin(kKeywords), std::end(kKeywords), key);
}

void ScriptCode::Reset()
{
    m_inComment = false;
    m_line = {};
    m_codeIsLine = true;
    m_keywordsIsLine = true;
    m_directive = false;
    m_firstQuote = std::string_view::npos;
}

void ScriptCode::Blank(std::size_t from, std::size_t to)
{
    MakeCode();
    std::fill(m_code.begin() + static_cast<std::ptrdiff_t>(from),
              m_code.begin() + static_cast<std::ptrdiff_t>(to), ' ');
    std::fill(m_keywords.begin() + static_cast<std::ptrdiff_t>(from),
              m_keywords.begin() + static_cast<std::ptrdiff_t>(to), ' ');
}

void ScriptCode::MakeCode()
{
    // The code view differs from the line only once a comment or a keyword
    // changes it; nothing changed it before.
    if (m_codeIsLine) {
        m_code.assign(m_line);
        m_codeIsLine = false;
    }
}

std::size_t ScriptCode::LiteralEnd(std::size_t open, bool dbcs, int codePage) const
{
    // The literal runs to its closing quote: a doubled quote and an escaped
    // character are inside it, and so are both bytes of a two-byte
    // character, whose second byte may be a backslash.
    const std::string_view line = m_line;
    const std::size_t n = line.size();
    std::size_t j = open + 1;
    while (j < n) {
        j += LiteralSpecialEnd(line.data() + j, n - j, dbcs);
        if (j >= n)
            break;
        const char c = line[j];
        if (c == '\\') {
            j += 2;
        } else if (c == '"') {
            if (j + 1 < n && line[j + 1] == '"')
                j += 2;
            else
                return j;
        } else {
            j += std::max<std::size_t>(1, CharacterLength(line, j, codePage));
        }
    }
    return n;
}

void ScriptCode::Next(std::string_view line)
{
    m_line = line;
    m_codeIsLine = true;
    m_keywordsIsLine = true;
    m_directive = false;
    m_firstQuote = std::string_view::npos;
    const std::size_t n = line.size();
    if (!m_inComment && CodeSpecialEnd(line.data(), n) == n)
        return;

    m_keywords.assign(line);
    m_keywordsIsLine = false;
    const int codePage = CurrentLiteralEncoding().codePage;
    const bool dbcs = IsDbcsCodePage(codePage);
    std::size_t first = 0;
    while (first < n && (line[first] == ' ' || line[first] == '\t'))
        ++first;
    m_directive = !m_inComment && first < n && line[first] == '#';

    std::size_t i = 0;
    while (i < n) {
        if (m_inComment) {
            const std::size_t close = line.find("*/", i);
            const std::size_t end = close == std::string_view::npos ? n : close + 2;
            Blank(i, end);
            if (close != std::string_view::npos)
                m_inComment = false;
            i = end;
            continue;
        }
        i += CodeSpecialEnd(line.data() + i, n - i);
        if (i >= n)
            break;
        const char c = line[i];
        if (c == '"') {
            if (m_firstQuote == std::string_view::npos)
                m_firstQuote = i;
            const std::size_t close = LiteralEnd(i, dbcs, codePage);
            std::fill(m_keywords.begin() + static_cast<std::ptrdiff_t>(i + 1),
                      m_keywords.begin() + static_cast<std::ptrdiff_t>(close), ' ');
            i = close + 1;
        } else if (c == '/' && i + 1 < n && line[i + 1] == '/') {
            Blank(i, n);
            break;
        } else if (c == '/' && i + 1 < n && line[i + 1] == '*') {
            m_inComment = true;
            Blank(i, i + 2);
            i += 2;
        } else if (c >= 'a' && c <= 'z') {
            // A word with a lower-case letter: a keyword is written in upper
            // case in both views.
            std::size_t start = i;
            while (start > 0 && IsWordChar(line[start - 1]))
                --start;
            std::size_t end = i;
            while (end < n && IsWordChar(line[end]))
                ++end;
            if (IsWordStart(line[start]) && IsScriptKeyword(line.substr(start, end - start))) {
                MakeCode();
                for (std::size_t k = start; k < end; ++k) {
                    m_code[k] = Upper(m_code[k]);
                    m_keywords[k] = Upper(m_keywords[k]);
                }
            }
            i = end;
        } else {
            ++i;
        }
    }
    if (m_directive) {
        Blank(0, n);
        m_firstQuote = std::string_view::npos;
    }
}

std::string ScriptCode::CodeOf(std::string_view line)
{
    ScriptCode code;
    code.Next(line);
    return std::string(code.Code());
}

std::string ScriptCode::KeywordsOf(std::string_view line)
{
    ScriptCode code;
    code.Next(line);
    return std::string(code.Keywords());
}

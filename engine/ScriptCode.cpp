#include "engine/ScriptCode.h"

#include "dictionary/Codec.h"
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

// Whether the line may need either view to differ from it: a quote, a
// slash, a directive or a lower-case letter that may begin a keyword.
bool MayDiffer(std::string_view line)
{
    for (char c : line) {
        if (c == '"' || c == '/' || c == '#' || (c >= 'a' && c <= 'z'))
            return true;
    }
    return false;
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
    std::fill(m_code.begin() + static_cast<std::ptrdiff_t>(from),
              m_code.begin() + static_cast<std::ptrdiff_t>(to), ' ');
    std::fill(m_keywords.begin() + static_cast<std::ptrdiff_t>(from),
              m_keywords.begin() + static_cast<std::ptrdiff_t>(to), ' ');
}

void ScriptCode::Next(std::string_view line)
{
    m_line = line;
    m_codeIsLine = true;
    m_keywordsIsLine = true;
    m_directive = false;
    m_firstQuote = std::string_view::npos;
    if (!m_inComment && !MayDiffer(line))
        return;

    m_code.assign(line);
    m_keywords.assign(line);
    m_codeIsLine = false;
    m_keywordsIsLine = false;
    const int codePage = CurrentLiteralEncoding().codePage;
    const std::size_t first = line.find_first_not_of(" \t");
    m_directive = !m_inComment && first != std::string_view::npos && line[first] == '#';

    const std::size_t n = line.size();
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
        const char c = line[i];
        if (c == '"') {
            if (m_firstQuote == std::string_view::npos)
                m_firstQuote = i;
            // The literal runs to its closing quote: a doubled quote and an
            // escaped character are inside it, and so are both bytes of a
            // two-byte character, whose second byte may be a backslash.
            std::size_t j = i + 1;
            while (j < n) {
                const std::size_t length = CharacterLength(line, j, codePage);
                if (length > 1) {
                    j += length;
                } else if (line[j] == '\\' && j + 1 < n) {
                    j += 2;
                } else if (line[j] == '"' && j + 1 < n && line[j + 1] == '"') {
                    j += 2;
                } else if (line[j] == '"') {
                    break;
                } else {
                    ++j;
                }
            }
            j = std::min(j, n);
            std::fill(m_keywords.begin() + static_cast<std::ptrdiff_t>(i + 1),
                      m_keywords.begin() + static_cast<std::ptrdiff_t>(j), ' ');
            i = j + 1;
            continue;
        }
        if (c == '/' && i + 1 < n && line[i + 1] == '/') {
            Blank(i, n);
            break;
        }
        if (c == '/' && i + 1 < n && line[i + 1] == '*') {
            m_inComment = true;
            Blank(i, i + 2);
            i += 2;
            continue;
        }
        if (IsWordStart(c) && (i == 0 || !IsWordChar(line[i - 1]))) {
            std::size_t j = i;
            bool lower = false;
            while (j < n && IsWordChar(line[j])) {
                lower = lower || (line[j] >= 'a' && line[j] <= 'z');
                ++j;
            }
            if (lower && IsScriptKeyword(line.substr(i, j - i))) {
                for (std::size_t k = i; k < j; ++k) {
                    m_code[k] = Upper(m_code[k]);
                    m_keywords[k] = Upper(m_keywords[k]);
                }
            }
            i = j;
            continue;
        }
        i += std::max<std::size_t>(1, CharacterLength(line, i, codePage));
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

#include "engine/StatementTracker.h"

#include "engine/ByteSearch.h"
#include "engine/ScriptCode.h"

#include <cstdint>

namespace {

// Letters, digits and the underscore: the bytes of a statement's keyword.
struct WordBytes
{
    bool is[256] = {};
    constexpr WordBytes()
    {
        for (int c = 0; c < 256; ++c)
            is[c] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    }
};
constexpr WordBytes kWordBytes;

bool IsWordChar(char c)
{
    return kWordBytes.is[static_cast<unsigned char>(c)];
}

// The statements that have no text.
constexpr std::string_view kNoTextWords[] = {
    "ICON",    "MENU",     "FONT",     "CLASS",    "STYLE",     "LISTBOX",        "EXSTYLE",
    "VERSION", "EDITTEXT", "COMBOBOX", "LANGUAGE", "SCROLLBAR", "CHARACTERISTICS"};

// For each length up to 15, the first letters of those statements, a bit
// per letter.
struct NoTextStarts
{
    std::uint32_t letters[16] = {};
    constexpr NoTextStarts()
    {
        for (std::string_view word : kNoTextWords)
            letters[word.size()] |= 1u << (word[0] - 'A');
    }
};
constexpr NoTextStarts kNoTextStarts;

bool HasNoText(std::string_view word)
{
    // Looked for by length and first letter first: most statements (LTEXT,
    // PUSHBUTTON, ...) are not compared at all, and a test of a bit is
    // guessed right where a jump by length, which changes from line to
    // line, is not.
    const std::size_t size = word.size();
    if (size >= 16 || size == 0 || word[0] < 'A' || word[0] > 'Z' ||
        (kNoTextStarts.letters[size] & (1u << (word[0] - 'A'))) == 0)
        return false;
    for (std::string_view noText : kNoTextWords) {
        if (word == noText)
            return true;
    }
    return false;
}

// Whether a statement goes on on the next line after this one.
bool LeavesOpen(std::string_view trimmed)
{
    const char last = trimmed.back();
    if (last == ',' || last == '|')
        return true;
    return trimmed.size() >= 3 && trimmed.substr(trimmed.size() - 3) == "NOT" &&
           (trimmed.size() == 3 || !IsWordChar(trimmed[trimmed.size() - 4]));
}

// The words that begin a statement of a dialog, a menu or a resource's
// header. A line that begins with one starts a new statement even when the
// line before ended with a comma: the compiler accepts a stray comma at the
// end of a control.
constexpr std::string_view kStatementWords[] = {
    "AUTO3STATE", "AUTOCHECKBOX", "AUTORADIOBUTTON", "BEGIN",   "CAPTION",   "CHARACTERISTICS",
    "CHECKBOX",   "CLASS",        "COMBOBOX",        "CONTROL", "CTEXT",     "DEFPUSHBUTTON",
    "EDITTEXT",   "END",          "EXSTYLE",         "FONT",    "GROUPBOX",  "ICON",
    "LANGUAGE",   "LISTBOX",      "LTEXT",           "MENU",    "MENUITEM",  "POPUP",
    "PUSHBOX",    "PUSHBUTTON",   "RADIOBUTTON",     "RTEXT",   "SCROLLBAR", "STATE3",
    "STYLE",      "VERSION"};

bool StartsStatement(std::string_view word)
{
    for (std::string_view statement : kStatementWords) {
        if (word == statement)
            return true;
    }
    return false;
}

std::string_view FirstWord(std::string_view trimmed)
{
    std::size_t end = 0;
    while (end < trimmed.size() && IsWordChar(trimmed[end]))
        ++end;
    return trimmed.substr(0, end);
}

} // namespace

void StatementTracker::Reset()
{
    m_open = false;
    m_textPending = false;
    m_control = false;
}

bool StatementTracker::TextOnLine(std::string_view line)
{
    const std::string_view trimmed = TrimmedLine(line);
    if (trimmed.empty())
        return false;
    const std::string_view word = FirstWord(trimmed);
    const bool continuation =
        (m_open || trimmed.front() == ',' || trimmed.front() == '|') && !(m_open && StartsStatement(word));
    m_open = LeavesOpen(trimmed);
    const bool hasQuote = FindByte(trimmed.data(), trimmed.size(), '"') < trimmed.size();

    if (continuation) {
        if (!m_textPending)
            return false;
        if (m_control) {
            // The first field of the line decides: a literal is the text,
            // anything else (a bitmap's name) means there is none.
            m_textPending = false;
            return trimmed.front() == '"';
        }
        if (hasQuote)
            m_textPending = false;
        return hasQuote;
    }

    const std::size_t wordEnd = word.size();
    m_control = word == "CONTROL";
    if (HasNoText(word)) {
        m_textPending = false;
        return false;
    }
    if (m_control) {
        const std::string_view rest = TrimmedLine(trimmed.substr(wordEnd));
        if (rest.empty()) {
            m_textPending = true;
            m_open = true;
            return false;
        }
        m_textPending = false;
        return rest.front() == '"';
    }
    m_textPending = !hasQuote;
    return hasQuote;
}

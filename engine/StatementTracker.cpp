#include "engine/StatementTracker.h"

#include "engine/ScriptKeywords.h"

#include <array>

namespace {

bool IsWordChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool HasNoText(std::string_view word)
{
    static constexpr std::array<std::string_view, 13> kWithoutText{
        "EDITTEXT", "COMBOBOX", "LISTBOX", "SCROLLBAR", "ICON",    "CLASS",          "MENU",
        "FONT",     "STYLE",    "EXSTYLE", "LANGUAGE",  "VERSION", "CHARACTERISTICS"};
    for (std::string_view keyword : kWithoutText) {
        if (word == keyword)
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
    const bool continuation = m_open || trimmed.front() == ',' || trimmed.front() == '|';
    m_open = LeavesOpen(trimmed);
    const bool hasQuote = trimmed.find('"') != std::string_view::npos;

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

    std::size_t wordEnd = 0;
    while (wordEnd < trimmed.size() && IsWordChar(trimmed[wordEnd]))
        ++wordEnd;
    const std::string_view word = trimmed.substr(0, wordEnd);
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

#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

/// What the resource compiler reads of each line of a script.
///
/// Before the compiler reads a statement, its preprocessor drops the
/// comments ("//" to the end of the line, and "/* ... */" over any number of
/// lines) and the directives; the compiler then reads its keywords in any
/// case ("menu", "Begin"), and a keyword inside a literal is only text.
/// ScriptCode takes the lines of a script in turn and gives two views of
/// each, of the same length as the line, so that a place found in a view is
/// the same place in the line:
/// - Code(): comments and directives blanked, keywords in upper case, the
///   literals as they are written;
/// - Keywords(): Code() with the characters between the quotes of each
///   literal blanked too, so that a search for keywords meets none there.
/// Lines that hold no quote, no slash and no lower-case keyword (most of a
/// script) are their own views, without a copy.
class ScriptCode
{
public:
    /// The start of a script: no comment is open.
    void Reset();
    /// Takes the next line of the script; the views are valid until the next
    /// call, and as long as the line's own bytes.
    void Next(std::string_view line);

    std::string_view Code() const { return m_codeIsLine ? m_line : std::string_view(m_code); }
    std::string_view Keywords() const { return m_keywordsIsLine ? m_line : std::string_view(m_keywords); }
    /// A preprocessor directive: its first character but blanks is "#".
    bool Directive() const { return m_directive; }
    /// Where the first literal outside the comments opens (its quote), or
    /// npos when the line has none.
    std::size_t FirstQuote() const { return m_firstQuote; }
    /// Whether a "/*" comment is still open after the line.
    bool InComment() const { return m_inComment; }

    /// The views of a single line, for tests and one-line tools.
    static std::string CodeOf(std::string_view line);
    static std::string KeywordsOf(std::string_view line);

private:
    void Blank(std::size_t from, std::size_t to);
    void MakeCode();
    /// Where the literal whose quote opens at the place closes (its quote),
    /// or the line's end.
    std::size_t LiteralEnd(std::size_t open, bool dbcs, int codePage) const;

    std::string_view m_line;
    std::string m_code;
    std::string m_keywords;
    bool m_codeIsLine = true;
    bool m_keywordsIsLine = true;
    bool m_inComment = false;
    bool m_directive = false;
    std::size_t m_firstQuote = std::string_view::npos;
};

/// Whether a word (in any case) is one of the resource compiler's keywords.
bool IsScriptKeyword(std::string_view word);

/// The line without blanks, tabs and carriage returns at either end.
/// Every line of a script goes through it, often more than once: inline.
inline std::string_view TrimmedLine(std::string_view line)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    std::size_t begin = 0;
    std::size_t end = line.size();
    // Indentation is mostly spaces: eight of them are passed at once.
    constexpr std::uint64_t kSpaces = 0x2020202020202020ull;
    for (std::uint64_t word = 0; begin + 8 <= end; begin += 8) {
        std::memcpy(&word, line.data() + begin, 8);
        if (word != kSpaces)
            break;
    }
    while (begin < end && blank(line[begin]))
        ++begin;
    while (end > begin && blank(line[end - 1]))
        --end;
    return line.substr(begin, end - begin);
}

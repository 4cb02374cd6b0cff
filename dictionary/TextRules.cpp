#include "dictionary/TextRules.h"

#include <algorithm>
#include <array>
#include <cstdint>

char AnsiToLower(char c)
{
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z')
        return static_cast<char>(b + 32);
    // Windows-1252: À..Þ except the multiplication sign, and the four
    // letters of the 0x80 row that have lower-case partners.
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7)
        return static_cast<char>(b + 32);
    switch (b) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
        return static_cast<char>(b + 16);
    case 0x9F:
        return static_cast<char>(0xFF);
    default:
        return c;
    }
}

std::string AnsiLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = AnsiToLower(c);
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AnsiToLower(a[i]) != AnsiToLower(b[i]))
            return false;
    }
    return true;
}

bool IsTranslatableText(std::string_view text)
{
    if (text.empty() || text == "Button" || text == "Static")
        return false;
    static constexpr std::array<std::string_view, 9> kPlaceholders{
        "Animate", "Generic", "Hotkey", "List", "Progress", "Slider", "Spin", "Tab", "Tree"};
    if (text.size() < 2)
        return true;
    const char last = text.back();
    if (last < '1' || last > '7')
        return true;
    const std::string_view stem = text.substr(0, text.size() - 1);
    for (std::string_view p : kPlaceholders) {
        if (stem == p)
            return false;
    }
    return true;
}

DecimalPrefix ReadDecimalPrefix(std::string_view text, bool anyWhiteSpace, std::int64_t stop)
{
    const auto space = [anyWhiteSpace](char c) {
        return c == ' ' || c == '\t' || (anyWhiteSpace && (c == '\n' || c == '\r' || c == '\v' || c == '\f'));
    };
    std::size_t i = 0;
    while (i < text.size() && space(text[i]))
        ++i;
    DecimalPrefix number;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        number.negative = text[i++] == '-';
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        number.magnitude = number.magnitude * 10 + (text[i++] - '0');
        if (number.magnitude > stop)
            break;
    }
    return number;
}

int ParseIntPrefix(std::string_view text)
{
    const DecimalPrefix number = ReadDecimalPrefix(text, false, 1LL << 32);
    return static_cast<int>(
        static_cast<std::uint32_t>(number.negative ? -number.magnitude : number.magnitude));
}

std::string_view TrimBlanksAndTabs(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string DecodeXEscapes(std::string_view text)
{
    std::string out;
    std::size_t i = 0;
    for (;;) {
        const std::size_t p = text.find("\\X", i);
        if (p == std::string_view::npos) {
            out.append(text.substr(i));
            return out;
        }
        out.append(text.substr(i, p - i));
        // Like "%X" on the two characters: the leading hexadecimal digits
        // count. Without any digit the escape is kept as it stands, and a
        // zero byte is dropped (it would end the text in every C API).
        int value = 0;
        std::size_t k = p + 2;
        const std::size_t end = std::min(text.size(), p + 4);
        while (k < end && HexDigitValue(text[k]) >= 0)
            value = value * 16 + HexDigitValue(text[k++]);
        if (k == p + 2) {
            out.append("\\X");
            i = p + 2;
            continue;
        }
        if (value != 0)
            out += static_cast<char>(value);
        i = end;
    }
}

std::string_view StripQuotes(std::string_view field)
{
    if (!field.empty() && field.front() == '"')
        field.remove_prefix(1);
    if (!field.empty() && field.back() == '"')
        field.remove_suffix(1);
    return field;
}

std::size_t TabEscapeAt(std::string_view text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '\\')
            continue;
        if (text[i + 1] == 't')
            return i;
        ++i; // the escaped character, a backslash too
    }
    return std::string_view::npos;
}

std::vector<std::pair<std::size_t, std::size_t>> VerbatimSpans(std::string_view text)
{
    static constexpr std::string_view kExtensions[] = {
        "avi", "bmp", "chm", "cpp",  "css", "cur", "dat", "dll", "doc", "exe", "gif",
        "h",   "hlp", "htm", "html", "ico", "ini", "jpg", "js",  "lib", "log", "ocx",
        "pdf", "png", "rc",  "rgs",  "sys", "tlb", "txt", "wav", "xml", "xsd", "zip"};
    constexpr std::string_view kBreaks = " \"'()<>,;";
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && kBreaks.find(text[i]) != std::string_view::npos)
            ++i;
        std::size_t end = i;
        while (end < text.size() && kBreaks.find(text[end]) == std::string_view::npos)
            ++end;
        std::string_view word = text.substr(i, end - i);
        const std::size_t at = i;
        i = end;
        // The sentence's own stop after it is not part of it.
        while (!word.empty() && (word.back() == '.' || word.back() == ':' || word.back() == '!'))
            word.remove_suffix(1);
        if (word.size() < 4)
            continue;
        const std::size_t dot = word.rfind('.');
        const std::string extension =
            dot == std::string_view::npos ? std::string() : AnsiLower(word.substr(dot + 1));
        const bool url = word.find("://") != std::string_view::npos || AnsiLower(word.substr(0, 4)) == "www.";
        const bool file =
            dot != std::string_view::npos && dot > 0 &&
            std::find(std::begin(kExtensions), std::end(kExtensions), extension) != std::end(kExtensions);
        if (url || file)
            spans.emplace_back(at, word.size());
    }
    return spans;
}

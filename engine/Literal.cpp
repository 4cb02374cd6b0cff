#include "engine/Literal.h"

#include "dictionary/TextRules.h"

namespace {

bool IsOctal(char c)
{
    return c >= '0' && c <= '7';
}

bool EndsWithAt(std::string_view text, std::string_view pattern, std::size_t minPos)
{
    const std::size_t p = text.find(pattern);
    return p != std::string_view::npos && p >= minPos && p + pattern.size() == text.size();
}

// Cuts the first occurrence of the pattern when it ends the text and at
// least minPos characters precede it.
bool CutSuffix(std::string& text, std::string_view pattern, std::size_t minPos)
{
    const std::size_t p = text.find(pattern);
    if (p == std::string::npos || p < minPos || p + pattern.size() != text.size())
        return false;
    text.resize(p);
    return true;
}

std::size_t ReplaceAll(std::string& text, std::string_view from, std::string_view to)
{
    std::size_t count = 0;
    std::size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        pos += to.size();
        ++count;
    }
    return count;
}

} // namespace

DecodedLiteral DecodeLiteral(std::string_view line)
{
    DecodedLiteral d;
    const std::size_t q = line.find('"');
    if (q == std::string_view::npos)
        return d;
    d.prefix.assign(line.substr(0, q + 1));
    std::string& text = d.text;
    std::size_t i = q + 1;
    const std::size_t n = line.size();
    while (i < n) {
        const char c = line[i];
        const char next = i + 1 < n ? line[i + 1] : '\0';
        const bool hasNext = i + 1 < n;
        if (c == '\\' && hasNext && (next == '"' || next == '\\')) {
            text += next;
            i += 2;
        } else if (c == '"' && hasNext && next == '"') {
            text += '"';
            i += 2;
        } else if (c == '&' && hasNext && next == '&') {
            text += '&';
            i += 2;
        } else if (c == '\\' && next == 'x' && hasNext) {
            // Two hexadecimal digits at most; without any the escape is text.
            int value = 0;
            std::size_t k = i + 2;
            while (k < n && k < i + 4 && HexDigitValue(line[k]) >= 0)
                value = value * 16 + HexDigitValue(line[k++]);
            if (k == i + 2) {
                text += "\\x";
            } else if (value == 0) {
                text += "\\0";
            } else {
                text += static_cast<char>(value);
            }
            i = k;
        } else if (c == '\\' && hasNext && next >= '0' && next <= '3') {
            // Up to three octal digits, as the resource compiler reads them.
            int value = 0;
            std::size_t k = i + 1;
            while (k < n && k < i + 4 && IsOctal(line[k]))
                value = value * 8 + (line[k++] - '0');
            if (value == 0)
                text += "\\0";
            else
                text += static_cast<char>(value);
            i = k;
        } else if (c == '&') {
            d.shortcut = static_cast<int>(text.size()) + 1;
            i += 1;
        } else if (c == '"') {
            break;
        } else {
            text += c;
            i += 1;
        }
    }
    d.suffix.assign(line.substr(i));
    return d;
}

void TrimBlanks(std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    text.erase(text.find_last_not_of(' ') + 1);
    text.erase(0, first);
}

void StripEllipsis(std::string& text)
{
    if (!CutSuffix(text, " ...", 4))
        CutSuffix(text, "...", 3);
}

void StripColon(std::string& text)
{
    if (!CutSuffix(text, " :", 2))
        CutSuffix(text, ":", 1);
}

void Normalise(std::string& text)
{
    TrimBlanks(text);
    StripEllipsis(text);
    StripColon(text);
}

std::string Normalised(std::string_view text)
{
    std::string out(text);
    Normalise(out);
    return out;
}

std::string LeadingBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return std::string(first == std::string_view::npos ? text.size() : first, ' ');
}

std::string TrailingBlanks(std::string_view text)
{
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(last == std::string_view::npos ? text.size() : text.size() - last - 1, ' ');
}

std::string ColonSuffix(std::string_view text)
{
    if (EndsWithAt(text, " :", 2))
        return " :";
    if (EndsWithAt(text, ":", 1))
        return ":";
    return {};
}

std::string EllipsisSuffix(std::string_view text)
{
    if (EndsWithAt(text, " ...", 4))
        return " ...";
    if (EndsWithAt(text, "...", 3))
        return "...";
    return {};
}

void EncodeLiteral(std::string& text, int shortcutIn, int& shortcutOut)
{
    shortcutOut = shortcutIn;
    if (text.empty())
        return;
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char c = text[k];
        const auto b = static_cast<unsigned char>(c);
        const char next = k + 1 < text.size() ? text[k + 1] : '\0';
        int shift = 0;
        if (c == '"') {
            out += "\"\"";
            shift = 1;
        } else if (c == '&') {
            out += "&&";
            shift = 1;
        } else if (c == '\\' && next == '0') {
            // A zero escape stays one; before another octal digit it is
            // written with all three digits so the digit is not absorbed.
            const bool digitFollows = k + 2 < text.size() && IsOctal(text[k + 2]);
            out += digitFollows ? "\\000" : "\\0";
            shift = digitFollows ? 2 : 0;
            ++k;
        } else if (c == '\\' && next != '\0' &&
                   std::string_view("abfnrtv").find(next) != std::string_view::npos) {
            out += c;
        } else if (c == '\\') {
            out += "\\\\";
            shift = 1;
        } else if (b > 127) {
            out += '\\';
            out += static_cast<char>('0' + (b >> 6));
            out += static_cast<char>('0' + ((b >> 3) & 7));
            out += static_cast<char>('0' + (b & 7));
            shift = 3;
        } else {
            out += c;
        }
        if (shortcutIn > 0 && static_cast<int>(k) < shortcutIn - 1)
            shortcutOut += shift;
    }
    text = std::move(out);
}

bool InsertMnemonic(std::string& text, int position)
{
    if (text.empty() || position < 1 || position > static_cast<int>(text.size()))
        return false;
    text.insert(static_cast<std::size_t>(position - 1), 1, '&');
    return true;
}

void TrimBlanksAndTabs(std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    text.erase(text.find_last_not_of(" \t") + 1);
    text.erase(0, first);
}

void DecodeOctalForDisplay(std::string& text)
{
    auto octal = [](std::string_view three) {
        int value = 0;
        for (char c : three) {
            if (!IsOctal(c))
                break;
            value = value * 8 + (c - '0');
        }
        return static_cast<char>(value & 0xFF);
    };
    std::string out;
    out.reserve(text.size());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i + 2 >= n)
            continue; // a backslash among the last two characters is dropped
        const char next = text[i + 1];
        if (next >= '0' && next <= '3' && i + 3 < n) {
            out += octal(std::string_view(text).substr(i + 1, 3));
            i += 3;
        } else if (next == '&' && i + 4 < n && text[i + 2] >= '0' && text[i + 2] <= '3') {
            out += '&';
            out += octal(std::string_view(text).substr(i + 2, 3));
            i += 4;
        } else {
            out += c;
        }
    }
    text = std::move(out);
}

bool ExpandLineBreaks(std::string& text)
{
    std::size_t count = ReplaceAll(text, "\\r\\n", "\r\n");
    count += ReplaceAll(text, "\\r", "\r");
    count += ReplaceAll(text, "\\n", "\n");
    return count > 0;
}

bool ExpandTabs(std::string& text)
{
    return ReplaceAll(text, "\\t", "\t") > 0;
}

#include "engine/ComboData.h"

#include "dictionary/Codec.h"
#include "dictionary/TextRules.h"
#include "engine/Literal.h"

#include <cstdio>
#include <cstdlib>

namespace {

int HexByte(char high, char low)
{
    const int h = HexDigitValue(high);
    const int l = HexDigitValue(low);
    if (h < 0)
        return 0;
    return l < 0 ? h : h * 16 + l; // "%x" stops at the first non-digit
}

// Entries longer than this are not combo strings but damaged data; reading
// stops there instead of swallowing the rest of the script.
constexpr long kMaxLength = 1 << 20;

} // namespace

bool ParseComboHeader(std::string_view line, ComboHeader& header)
{
    const std::size_t p = line.find("0x403,");
    if (p == std::string_view::npos || p <= 2)
        return false;
    header.itemReference = std::string(TrimBlanksAndTabs(line.substr(0, p - 2)));
    const std::string_view rest = line.substr(p + 6);
    const std::string field(rest.substr(0, rest.find(',')));
    header.length = std::atol(field.c_str());
    if (header.length > kMaxLength)
        header.length = kMaxLength;
    return true;
}

bool IsComboDataLine(std::string_view line)
{
    bool any = false;
    for (;;) {
        const std::size_t comma = line.find(',');
        const std::string_view token = TrimBlanksAndTabs(line.substr(0, comma));
        if (!token.empty()) {
            bool word = token.size() > 2 && token.size() <= 6 && token[0] == '0' &&
                        (token[1] == 'x' || token[1] == 'X');
            for (std::size_t i = 2; word && i < token.size(); ++i)
                word = HexDigitValue(token[i]) >= 0;
            if (!word && token != "\"\\000\"")
                return false;
            any = true;
        }
        if (comma == std::string_view::npos)
            return any;
        line.remove_prefix(comma + 1);
    }
}

ComboWordReader::ComboWordReader(long length) : m_length(length), m_words(length > 0 ? length / 2 : 0)
{
    m_bytes.reserve(static_cast<std::size_t>(m_words) * 2 + 1);
}

bool ComboWordReader::Feed(std::string_view line)
{
    line = TrimBlanksAndTabs(line);
    while (m_word < m_words) {
        const std::size_t comma = line.find(',');
        const std::string_view token = TrimBlanksAndTabs(line.substr(0, comma));
        char low = 0;
        char high = 0;
        if (token.size() == 6) {
            low = static_cast<char>(HexByte(token[4], token[5]));
            high = static_cast<char>(HexByte(token[2], token[3]));
        }
        m_bytes += low;
        m_bytes += high;
        ++m_word;
        line =
            comma == std::string_view::npos ? std::string_view() : TrimBlanksAndTabs(line.substr(comma + 1));
        if (line.empty())
            break;
    }
    return NeedsMore();
}

bool ComboWordReader::ClosingItemOnOwnLine() const
{
    // With no word at all the zero item is on the first data line.
    return m_words > 0 && m_length % 2 == 1 && (m_length - 1) % 9 == 0;
}

std::string ComboWordReader::Text() const
{
    std::string text = m_bytes;
    if (m_length > 0 && static_cast<std::size_t>(m_length - 1) < text.size())
        text.resize(static_cast<std::size_t>(m_length - 1));
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos)
        text.resize(zero);
    return text;
}

std::vector<std::string> FormatComboData(std::string_view text, std::string_view itemReference)
{
    std::vector<std::string> lines;
    const std::size_t n = text.size();
    lines.push_back("\t" + std::string(itemReference) + ", 0x403, " + std::to_string(n + 1) + ", 0");
    const std::size_t count = n / 2 + 1;
    std::string buffer;
    for (std::size_t j = 0; j < count; ++j) {
        if (j == count - 1 && n % 2 == 0) {
            buffer += "\"\\000\"";
        } else {
            const auto high = 2 * j + 1 < n ? static_cast<unsigned char>(text[2 * j + 1]) : 0u;
            const auto low = static_cast<unsigned char>(text[2 * j]);
            char item[16];
            std::snprintf(item, sizeof item, "0x%.2x%.2x, ", high, low);
            buffer += item;
        }
        if ((j + 1) % 9 == 0) {
            lines.push_back(buffer);
            buffer.clear();
        }
    }
    if (!buffer.empty())
        lines.push_back(buffer);
    return lines;
}

namespace {

constexpr std::string_view kEscapeLetters = "abfnrtv";
constexpr std::string_view kEscapedBytes = "\a\b\f\n\r\t\v";

// The length of an octal ("\351", up to three digits) or hexadecimal
// ("\xE9", up to two digits) escape at i, or 0.
std::size_t NumericEscapeLength(std::string_view text, std::size_t i)
{
    std::size_t k = i + 1;
    if (k < text.size() && text[k] >= '0' && text[k] <= '7') {
        while (k < text.size() && k < i + 4 && text[k] >= '0' && text[k] <= '7')
            ++k;
        return k - i;
    }
    if (k < text.size() && text[k] == 'x') {
        ++k;
        while (k < text.size() && k < i + 4 && HexDigitValue(text[k]) >= 0)
            ++k;
        return k > i + 2 ? k - i : 0;
    }
    return 0;
}

} // namespace

std::string ComboTextFromBytes(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    const int codePage = CurrentLiteralEncoding().codePage;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = CharacterLength(bytes, i, codePage);
        if (length > 1) {
            text.append(bytes.substr(i, length));
            i += length;
            continue;
        }
        const char c = bytes[i++];
        if (c == '\\') {
            text += "\\\\";
        } else if (const std::size_t at = kEscapedBytes.find(c); at != std::string_view::npos) {
            text += '\\';
            text += kEscapeLetters[at];
        } else {
            text += c;
        }
    }
    return text;
}

std::string ComboBytesFromText(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    const int codePage = CurrentLiteralEncoding().codePage;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = CharacterLength(text, i, codePage);
        if (length > 1 || text[i] != '\\' || i + 1 >= text.size()) {
            bytes.append(text.substr(i, std::max<std::size_t>(1, length)));
            i += std::max<std::size_t>(1, length);
            continue;
        }
        const char e = text[i + 1];
        if (const std::size_t at = kEscapeLetters.find(e); at != std::string_view::npos) {
            bytes += kEscapedBytes[at];
            i += 2;
        } else if (e == '\\' || e == '"') {
            bytes += e;
            i += 2;
        } else if (const std::size_t escape = NumericEscapeLength(text, i); escape > 0) {
            // A byte written as an octal or hexadecimal escape, unless zero.
            const std::string compiled = CompileLiteral(text.substr(i, escape));
            if (compiled.size() == 1 && compiled[0] == '\0')
                bytes.append(text.substr(i, escape));
            else
                bytes += compiled;
            i += escape;
        } else {
            // An escape of a zero byte, or one the compiler would keep.
            bytes += '\\';
            ++i;
        }
    }
    return bytes;
}

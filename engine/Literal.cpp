#include "engine/Literal.h"

#include "dictionary/Codec.h"
#include "dictionary/TextRules.h"
#include "engine/ByteSearch.h"

#include <algorithm>

namespace {

thread_local LiteralEncoding g_encoding;

// The length of the character starting at i: 2 for a lead byte of a DBCS
// code page followed by its trail byte, else 1.
std::size_t CharLength(std::string_view text, std::size_t i)
{
    const int page = g_encoding.codePage;
    if (IsDbcsCodePage(page) && i + 1 < text.size() &&
        IsDbcsLeadByte(page, static_cast<unsigned char>(text[i])))
        return 2;
    return 1;
}

// A byte value an escape gives, as the walk's text holds it.
void AppendEscapedByte(std::string& out, int value)
{
    if (g_encoding.codePage == kUtf8CodePage && value >= 0x80) {
        out += static_cast<char>(0xC0 | (value >> 6));
        out += static_cast<char>(0x80 | (value & 0x3F));
        return;
    }
    out += static_cast<char>(value);
}

bool IsOctal(char c)
{
    return c >= '0' && c <= '7';
}

// Whether the first occurrence of the pattern ends the text, with at least
// minPos characters before it. Most texts do not end with the pattern: that
// is decided without a search.
bool EndsWithAt(std::string_view text, std::string_view pattern, std::size_t minPos)
{
    if (text.size() < pattern.size() || text.substr(text.size() - pattern.size()) != pattern)
        return false;
    const std::size_t p = text.find(pattern);
    return p >= minPos && p + pattern.size() == text.size();
}

// Cuts the pattern off the text when EndsWithAt holds.
bool CutSuffix(std::string_view& text, std::string_view pattern, std::size_t minPos)
{
    if (!EndsWithAt(text, pattern, minPos))
        return false;
    text.remove_suffix(pattern.size());
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

const LiteralEncoding& CurrentLiteralEncoding()
{
    return g_encoding;
}

LiteralEncodingScope::LiteralEncodingScope(LiteralEncoding encoding) : m_saved(g_encoding)
{
    g_encoding = encoding;
}

LiteralEncodingScope::~LiteralEncodingScope()
{
    g_encoding = m_saved;
}

DecodedLiteral DecodeLiteral(std::string_view line)
{
    DecodedLiteral d;
    DecodeLiteral(line, d);
    return d;
}

void DecodeLiteral(std::string_view line, DecodedLiteral& d, std::size_t from, LiteralMode mode)
{
    d.prefix.clear();
    d.text.clear();
    d.suffix.clear();
    d.shortcut = 0;
    d.itemReference.clear();
    d.closed = false;
    if (from >= line.size())
        return;
    const std::size_t q = from + FindByte(line.data() + from, line.size() - from, '"');
    if (q == line.size())
        return;
    const bool mnemonics = mode == LiteralMode::Text;
    d.prefix.assign(line.substr(0, q + 1));
    std::string& text = d.text;
    const std::size_t n = line.size();
    // The text is rarely longer than the rest of the line.
    text.reserve(n - q - 1);

    // A zero escape stays in the text as it was written. When a digit
    // follows it in the text, the short form would absorb that digit on
    // the way back ("\0" then "5" is not "\05"), so it is widened to its
    // full length, which nothing can extend.
    std::size_t zeroStart = std::string::npos;
    std::size_t zeroEnd = std::string::npos;
    bool zeroHex = false;
    auto append = [&](char c) {
        if (text.size() == zeroEnd) {
            const bool merges = zeroHex ? HexDigitValue(c) >= 0 : IsOctal(c);
            const std::size_t full = 4; // "\x00" or "\000"
            if (merges && zeroEnd - zeroStart < full) {
                const std::size_t grow = full - (zeroEnd - zeroStart);
                text.replace(zeroStart, zeroEnd - zeroStart, zeroHex ? "\\x00" : "\\000");
                // A mnemonic already set on the digit moves with it.
                if (d.shortcut == static_cast<int>(zeroEnd) + 1)
                    d.shortcut += static_cast<int>(grow);
            }
        }
        zeroEnd = std::string::npos;
        text += c;
    };
    auto keepZero = [&](std::string_view written, bool hex) {
        zeroStart = text.size();
        text.append(written);
        zeroEnd = text.size();
        zeroHex = hex;
    };
    // The byte an escape gives (not zero); a UTF-8 text keeps one above 127
    // as an escape, for alone it is no character.
    auto appendByte = [&](int value) {
        append(static_cast<char>(value));
        if (g_encoding.codePage == kUtf8CodePage && value >= 0x80) {
            text.pop_back();
            AppendEscapedByte(text, value);
        }
    };

    // Most of a text is plain characters: they are copied in runs.
    // In double-byte code pages a high byte starts a character, which is
    // taken whole below.
    const bool dbcs = IsDbcsCodePage(g_encoding.codePage);
    std::size_t i = q + 1;
    while (i < n) {
        if (zeroEnd == std::string::npos) {
            const std::size_t k = i + (dbcs ? PlainRunEnd<PlainRun::Ascii>(line.data() + i, n - i)
                                            : PlainRunEnd<PlainRun::AnyByte>(line.data() + i, n - i));
            if (k > i) {
                text.append(line.data() + i, k - i);
                i = k;
                continue;
            }
        }
        const char c = line[i];
        const bool hasNext = i + 1 < n;
        const char next = hasNext ? line[i + 1] : '\0';
        if (CharLength(line, i) == 2) {
            // Both bytes of a two-byte character, whatever the second is.
            append(c);
            text += next;
            i += 2;
        } else if (c == '\\' && next == '"') {
            append('"');
            i += 2;
        } else if (c == '\\' && next == '\\') {
            // An escaped backslash stays escaped: the text shows escapes the
            // way the script writes them, so "C:\\temp" is not "C:\temp".
            append('\\');
            append('\\');
            i += 2;
        } else if (c == '"' && next == '"') {
            append('"');
            i += 2;
        } else if (c == '&' && next == '&' && mnemonics) {
            append('&');
            i += 2;
        } else if (c == '\\' && next == 'x') {
            // Two hexadecimal digits at most; without any the escape is text.
            int value = 0;
            std::size_t k = i + 2;
            while (k < n && k < i + 4 && HexDigitValue(line[k]) >= 0)
                value = value * 16 + HexDigitValue(line[k++]);
            if (k == i + 2) {
                // Without digits it escapes nothing: a backslash and an x,
                // which a hexadecimal digit after it must not turn into one.
                append('\\');
                append('\\');
                append('x');
            } else if (value == 0) {
                keepZero(line.substr(i, k - i), true);
            } else {
                appendByte(value);
            }
            i = k;
        } else if (c == '\\' && IsOctal(next)) {
            // Up to three octal digits, as the resource compiler reads them.
            int value = 0;
            std::size_t k = i + 1;
            while (k < n && k < i + 4 && IsOctal(line[k]))
                value = value * 8 + (line[k++] - '0');
            value &= 0xFF;
            if (value == 0) {
                keepZero(line.substr(i, k - i), false);
            } else {
                appendByte(value);
            }
            i = k;
        } else if (c == '&' && mnemonics) {
            d.shortcut = static_cast<int>(text.size()) + 1;
            i += 1;
        } else if (c == '"') {
            d.closed = true;
            break;
        } else {
            append(c);
            i += 1;
        }
    }
    d.suffix.assign(line.substr(i));
}

bool LiteralRunsOn(const DecodedLiteral& decoded, std::string_view line)
{
    if (decoded.prefix.empty() || decoded.closed || line.empty() || line.back() != '\\')
        return false;
    if (!IsDbcsCodePage(g_encoding.codePage))
        return true;
    // The last byte must be a backslash of its own, not the second byte of
    // a two-byte character.
    std::size_t i = 0;
    while (i + 1 < line.size())
        i += CharLength(line, i);
    return i == line.size() - 1;
}

std::string CompileLiteral(std::string_view body)
{
    std::string out;
    out.reserve(body.size());
    const std::size_t n = body.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = body[i];
        if (CharLength(body, i) == 2) {
            out += c;
            out += body[++i];
            continue;
        }
        if (c == '"' && i + 1 < n && body[i + 1] == '"') {
            out += '"';
            ++i;
            continue;
        }
        if (c != '\\' || i + 1 >= n) {
            out += c;
            continue;
        }
        const char e = body[i + 1];
        static constexpr std::string_view kLetters = "abfnrtv";
        static constexpr std::string_view kBytes = "\a\b\f\n\r\t\v";
        if (const std::size_t letter = kLetters.find(e); letter != std::string_view::npos) {
            out += kBytes[letter];
            ++i;
        } else if (e == '\\' || e == '"') {
            out += e;
            ++i;
        } else if (IsOctal(e)) {
            int value = 0;
            std::size_t k = i + 1;
            while (k < n && k < i + 4 && IsOctal(body[k]))
                value = value * 8 + (body[k++] - '0');
            AppendEscapedByte(out, value & 0xFF);
            i = k - 1;
        } else if (e == 'x' && i + 2 < n && HexDigitValue(body[i + 2]) >= 0) {
            int value = 0;
            std::size_t k = i + 2;
            while (k < n && k < i + 4 && HexDigitValue(body[k]) >= 0)
                value = value * 16 + HexDigitValue(body[k++]);
            AppendEscapedByte(out, value);
            i = k - 1;
        } else {
            out += c; // an unknown escape keeps its backslash
        }
    }
    return out;
}

namespace {

// Takes the characters of the set off both ends of the text.
void TrimSet(std::string& text, const char* set)
{
    const std::size_t first = text.find_first_not_of(set);
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    text.erase(text.find_last_not_of(set) + 1);
    text.erase(0, first);
}

} // namespace

void TrimBlanks(std::string& text)
{
    TrimSet(text, " ");
}

namespace {

void CutEllipsis(std::string_view& text)
{
    if (!CutSuffix(text, " ...", 4))
        CutSuffix(text, "...", 3);
}

void CutColon(std::string_view& text)
{
    if (!CutSuffix(text, " :", 2))
        CutSuffix(text, ":", 1);
}

} // namespace

void StripEllipsis(std::string& text)
{
    std::string_view rest = text;
    CutEllipsis(rest);
    text.resize(rest.size());
}

void StripColon(std::string& text)
{
    std::string_view rest = text;
    CutColon(rest);
    text.resize(rest.size());
}

std::string_view NormalisedView(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return text.substr(text.size());
    text = text.substr(first, text.find_last_not_of(' ') + 1 - first);
    // Most texts end with neither decoration: their last character says so.
    if (text.back() == '.')
        CutEllipsis(text);
    if (text.back() == ':')
        CutColon(text);
    return text;
}

void Normalise(std::string& text)
{
    const std::string_view core = NormalisedView(text);
    const auto first = static_cast<std::size_t>(core.data() - text.data());
    const std::size_t size = core.size();
    text.erase(first + size);
    text.erase(0, first);
}

std::string Normalised(std::string_view text)
{
    return std::string(NormalisedView(text));
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

void EncodeLiteral(std::string& text, int shortcutIn, int& shortcutOut, LiteralMode mode)
{
    shortcutOut = shortcutIn;
    if (text.empty())
        return;
    auto octal = [](std::string& out, unsigned char b) {
        out += '\\';
        out += static_cast<char>('0' + (b >> 6));
        out += static_cast<char>('0' + ((b >> 3) & 7));
        out += static_cast<char>('0' + (b & 7));
    };
    // Bytes above 127 go raw into a converted script: they are parts of its
    // characters.
    const bool high = g_encoding.escapeHighBytes && !IsDbcsCodePage(g_encoding.codePage) &&
                      g_encoding.codePage != kUtf8CodePage;
    auto escapedAsByte = [high](unsigned char b) { return b < 32 || (high && b > 127); };
    // Printable ASCII other than a quote, an ampersand or a backslash is
    // written as it is: most texts are nothing else and stay as they are,
    // and in the others runs of it are copied at once.
    const auto plainRunEnd = [&text](std::size_t k) {
        return k + PlainRunEnd<PlainRun::Printable>(text.data() + k, text.size() - k);
    };
    const std::size_t first = plainRunEnd(0);
    if (first == text.size())
        return;
    // Written into a string kept from the last call: the text takes its
    // memory and leaves its own for the next.
    thread_local std::string t_out;
    std::string& out = t_out;
    out.clear();
    out.reserve(text.size() + 8);
    out.append(text, 0, first);
    for (std::size_t k = first; k < text.size(); ++k) {
        if (const std::size_t end = plainRunEnd(k); end > k) {
            out.append(text, k, end - k);
            k = end - 1;
            continue;
        }
        const char c = text[k];
        const auto b = static_cast<unsigned char>(c);
        const bool hasNext = k + 1 < text.size();
        const char next = hasNext ? text[k + 1] : '\0';
        const std::size_t before = out.size();
        std::size_t taken = 1;
        if (CharLength(text, k) == 2) {
            out += c;
            out += next;
            taken = 2;
        } else if (c == '"') {
            out += "\"\"";
        } else if (c == '&' && mode == LiteralMode::Text) {
            out += "&&";
        } else if (c == '\\' && hasNext && (next == '\\' || next == '"')) {
            // An escaped backslash or quote, as the text shows it.
            out += c;
            out += next;
            taken = 2;
        } else if (c == '\\' && (!hasNext || escapedAsByte(static_cast<unsigned char>(next)))) {
            // A backslash that would escape the closing quote or the
            // escape written for the next byte stands for itself.
            out += "\\\\";
        } else if (c == '\\') {
            out += c; // an escape, kept as the text shows it
        } else if (escapedAsByte(b)) {
            // Control bytes and bytes above 127 never go raw into a script.
            octal(out, b);
        } else {
            out += c;
        }
        // The mnemonic lands on the first written character of its own.
        if (shortcutIn > 0 && static_cast<int>(k) < shortcutIn - 1)
            shortcutOut += static_cast<int>(out.size() - before) - static_cast<int>(taken);
        k += taken - 1;
    }
    text.swap(out);
}

namespace {

// Walks the characters of a text that can carry a mnemonic, in order, and
// calls take(place) for each until it returns true.
template <class Take>
void ForEachAccessKeyPlace(std::string_view text, Take&& take)
{
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            // An escape is two characters that stand for one: no key on it,
            // and none after the tab of an accelerator.
            if (text[i + 1] == 't')
                return;
            i += 2;
            continue;
        }
        const std::size_t length = CharLength(text, i);
        const auto b = static_cast<unsigned char>(c);
        const bool utf8Continuation = g_encoding.codePage == kUtf8CodePage && (b & 0xC0) == 0x80;
        if (c != ' ' && c != '"' && c != '&' && b >= 0x20 && b != 0x7F && !utf8Continuation && take(i))
            return;
        i += length;
    }
}

} // namespace

std::vector<bool> AccessKeyPlaces(std::string_view text)
{
    std::vector<bool> places(text.size(), false);
    ForEachAccessKeyPlace(text, [&places](std::size_t i) {
        places[i] = true;
        return false;
    });
    return places;
}

int AccessKeyPlace(std::string_view text, int position)
{
    if (position <= 0 || text.empty())
        return 0;
    const auto at = static_cast<std::size_t>(position - 1);
    // The place itself or the next that can carry a key, else the last one
    // before it.
    std::size_t before = std::string_view::npos;
    std::size_t found = std::string_view::npos;
    ForEachAccessKeyPlace(text, [&](std::size_t i) {
        if (i >= at) {
            found = i;
            return true;
        }
        before = i;
        return false;
    });
    if (found == std::string_view::npos)
        found = before;
    return found == std::string_view::npos ? 0 : static_cast<int>(found) + 1;
}

bool InsertMnemonic(std::string& text, int position)
{
    if (text.empty() || position < 1 || position > static_cast<int>(text.size()))
        return false;
    // Positions count bytes: one that falls inside a character of several
    // bytes (a shortcut carried over from an original in another script)
    // moves to the start of that character, never splitting it.
    std::size_t at = static_cast<std::size_t>(position - 1);
    if (g_encoding.codePage == kUtf8CodePage) {
        while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
            --at;
    } else if (IsDbcsCodePage(g_encoding.codePage)) {
        std::size_t start = 0;
        for (std::size_t next = 0; next <= at; next += CharLength(text, next))
            start = next;
        at = start;
    }
    text.insert(at, 1, '&');
    return true;
}

void TrimBlanksAndTabs(std::string& text)
{
    TrimSet(text, " \t");
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
        if (CharLength(text, i) == 2) {
            out += c;
            out += text[++i];
            continue;
        }
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

#include "dictionary/DictionaryFormat.h"

#include "dictionary/TextRules.h"

namespace {

bool NeedsEscape(char c, char next, char special)
{
    return c == '\r' || c == '\n' || c == special || (c == '\\' && next == 'X');
}

// Quotes the field, writing the bytes the layout cannot carry as "\XHH".
void AppendEscaped(std::string& out, std::string_view field, char special)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '"';
    std::size_t plain = 0; // start of the bytes not copied yet
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char next = i + 1 < field.size() ? field[i + 1] : '\0';
        if (!NeedsEscape(field[i], next, special))
            continue;
        out.append(field.substr(plain, i - plain));
        const auto b = static_cast<unsigned char>(field[i]);
        out += "\\X";
        out += kHex[b >> 4];
        out += kHex[b & 15];
        plain = i + 1;
    }
    out.append(field.substr(plain));
    out += '"';
}

} // namespace

void AppendQuotedField(std::string& out, std::string_view field)
{
    AppendEscaped(out, field, kDicSeparator);
}

void AppendQuotedPath(std::string& out, std::string_view field)
{
    AppendEscaped(out, field, '"');
}

void AppendQuotedText(std::string& out, std::string_view field)
{
    AppendEscaped(out, field, '\n');
}

std::string DecodeField(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    std::size_t i = 0;
    for (;;) {
        const std::size_t p = field.find("\\X", i);
        if (p == std::string_view::npos || p + 4 > field.size()) {
            out.append(field.substr(i));
            return out;
        }
        out.append(field.substr(i, p - i));
        const int high = HexDigitValue(field[p + 2]);
        const int low = HexDigitValue(field[p + 3]);
        if (high < 0 || low < 0) {
            // Not an escape: the two characters stand for themselves.
            out.append("\\X");
            i = p + 2;
            continue;
        }
        out += static_cast<char>(high * 16 + low);
        i = p + 4;
    }
}

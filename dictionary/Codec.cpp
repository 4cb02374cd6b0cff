#include "dictionary/Codec.h"

#include <cerrno>
#include <iconv.h>

namespace {

// One conversion, the whole input at once. stopOnInvalid: fail instead of
// substituting when a sequence cannot be converted.
bool Convert(const char* to, const char* from, std::string_view in, std::string& out, bool stopOnInvalid,
             std::string_view replacement)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string result;
    result.resize(in.size() * 4 + 16);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = result.data();
    std::size_t outLeft = result.size();
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            const std::size_t used = result.size() - outLeft;
            result.resize(result.size() * 2);
            outPtr = result.data() + used;
            outLeft = result.size() - used;
            continue;
        }
        if (stopOnInvalid) {
            ok = false;
            break;
        }
        // Skip one byte and put the replacement in its place.
        ++inPtr;
        --inLeft;
        const std::size_t used = result.size() - outLeft;
        result.resize(used);
        result.append(replacement);
        result.resize(result.size() + inLeft * 4 + 16);
        outPtr = result.data() + used + replacement.size();
        outLeft = result.size() - used - replacement.size();
    }
    iconv_close(cd);
    if (!ok)
        return false;
    result.resize(result.size() - outLeft);
    out = std::move(result);
    return true;
}

} // namespace

Codec::Codec(std::string codePage) : m_codePage(std::move(codePage))
{
    BuildTables();
}

void Codec::BuildTables()
{
    std::string upper;
    for (char c : m_codePage)
        upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    const bool known = upper == "WINDOWS-1252" || upper == "CP1252" || upper.rfind("ISO-8859-", 0) == 0 ||
                       upper.rfind("WINDOWS-125", 0) == 0 || upper.rfind("CP125", 0) == 0;
    if (!known || !IsValid())
        return;
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        std::string utf8;
        if (b != 0 && Convert("UTF-8", m_codePage.c_str(), one, utf8, true, {}) && !utf8.empty()) {
            m_toUtf8[b] = utf8;
            // Decode the character to its code point for the way back.
            char32_t cp = 0;
            const auto u = reinterpret_cast<const unsigned char*>(utf8.data());
            if (utf8.size() == 1)
                cp = u[0];
            else if (utf8.size() == 2)
                cp = ((u[0] & 0x1F) << 6) | (u[1] & 0x3F);
            else if (utf8.size() == 3)
                cp = ((u[0] & 0x0F) << 12) | ((u[1] & 0x3F) << 6) | (u[2] & 0x3F);
            else
                cp = ((u[0] & 0x07) << 18) | ((u[1] & 0x3F) << 12) | ((u[2] & 0x3F) << 6) | (u[3] & 0x3F);
            m_fromUnicode.emplace(cp, static_cast<char>(b));
        } else {
            m_toUtf8[b] = b == 0 ? std::string(1, '\0') : std::string("\xEF\xBF\xBD");
        }
    }
    m_singleByte = true;
}

bool Codec::IsValid() const
{
    iconv_t cd = iconv_open("UTF-8", m_codePage.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    iconv_close(cd);
    return true;
}

std::string Codec::ToUtf8(std::string_view bytes) const
{
    if (m_singleByte) {
        std::string out;
        out.reserve(bytes.size() + bytes.size() / 4);
        for (char c : bytes)
            out += m_toUtf8[static_cast<unsigned char>(c)];
        return out;
    }
    std::string out;
    if (!Convert("UTF-8", m_codePage.c_str(), bytes, out, false, "\xEF\xBF\xBD"))
        return std::string(bytes);
    return out;
}

bool Codec::FromUtf8(std::string_view utf8, std::string& out) const
{
    if (!IsValidUtf8(utf8))
        return false;
    if (m_singleByte) {
        std::string result;
        result.reserve(utf8.size());
        const auto u = reinterpret_cast<const unsigned char*>(utf8.data());
        for (std::size_t i = 0; i < utf8.size();) {
            char32_t cp = 0;
            int extra = 0;
            if (u[i] < 0x80) {
                cp = u[i];
            } else if ((u[i] & 0xE0) == 0xC0) {
                cp = u[i] & 0x1F;
                extra = 1;
            } else if ((u[i] & 0xF0) == 0xE0) {
                cp = u[i] & 0x0F;
                extra = 2;
            } else {
                cp = u[i] & 0x07;
                extra = 3;
            }
            for (int k = 1; k <= extra; ++k)
                cp = (cp << 6) | (u[i + k] & 0x3F);
            i += extra + 1;
            if (cp == 0) {
                result += '\0';
                continue;
            }
            const auto found = m_fromUnicode.find(cp);
            if (found == m_fromUnicode.end())
                return false;
            result += found->second;
        }
        out = std::move(result);
        return true;
    }
    return Convert(m_codePage.c_str(), "UTF-8", utf8, out, true, {});
}

bool Codec::IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        int extra = 0;
        if (c < 0x80)
            extra = 0;
        else if ((c & 0xE0) == 0xC0 && c >= 0xC2)
            extra = 1;
        else if ((c & 0xF0) == 0xE0)
            extra = 2;
        else if ((c & 0xF8) == 0xF0 && c <= 0xF4)
            extra = 3;
        else
            return false;
        if (extra > 0 && i + extra >= text.size())
            return false;
        // The second byte also rules out overlong forms, surrogates and
        // code points above U+10FFFF.
        const auto second = extra > 0 ? static_cast<unsigned char>(text[i + 1]) : 0x80;
        if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second > 0x9F) || (c == 0xF0 && second < 0x90) ||
            (c == 0xF4 && second > 0x8F))
            return false;
        for (int k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += extra + 1;
    }
    return true;
}

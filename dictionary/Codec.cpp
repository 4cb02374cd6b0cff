#include "dictionary/Codec.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <iconv.h>
#include <map>
#include <memory>

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
    std::string upper;
    for (char c : m_codePage)
        upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    m_utf8 = upper == "UTF-8" || upper == "UTF8";
    if (!m_utf8)
        BuildTables();
}

Codec Codec::ForCodePage(int codePage)
{
    return Codec(CodePageName(codePage));
}

const Codec& Codec::Cached(int codePage)
{
    static std::map<int, std::unique_ptr<Codec>> codecs;
    auto& codec = codecs[codePage];
    if (!codec)
        codec = std::make_unique<Codec>(ForCodePage(codePage));
    return *codec;
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
    if (m_utf8)
        return IsValidUtf8(bytes) ? std::string(bytes) : RepairUtf8(bytes);
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

bool Codec::ToUtf8Strict(std::string_view bytes, std::string& out) const
{
    if (m_utf8) {
        if (!IsValidUtf8(bytes))
            return false;
        out.assign(bytes);
        return true;
    }
    if (m_singleByte) {
        std::string result;
        result.reserve(bytes.size() + bytes.size() / 4);
        for (char c : bytes) {
            const std::string& one = m_toUtf8[static_cast<unsigned char>(c)];
            if (one == "\xEF\xBF\xBD")
                return false;
            result += one;
        }
        out = std::move(result);
        return true;
    }
    return Convert("UTF-8", m_codePage.c_str(), bytes, out, true, {});
}

bool Codec::FromUtf8(std::string_view utf8, std::string& out) const
{
    if (!IsValidUtf8(utf8))
        return false;
    if (m_utf8) {
        out.assign(utf8);
        return true;
    }
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

std::string Codec::RepairUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    std::size_t i = 0;
    while (i < text.size()) {
        // The longest well-formed sequence starting here, else one byte.
        std::size_t length = 1;
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0xC2 && c <= 0xF4)
            length = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        if (length > 1 && i + length <= text.size() && IsValidUtf8(text.substr(i, length))) {
            out.append(text.substr(i, length));
            i += length;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

std::string CodePageName(int codePage)
{
    switch (codePage) {
    case kUtf8CodePage:
    case 0:
        return "UTF-8";
    case 874:
        return "CP874";
    case 932:
        return "CP932";
    case 936:
        return "CP936";
    case 949:
        return "CP949";
    case 950:
        return "CP950";
    case 1200:
        return "UTF-16LE";
    case 1201:
        return "UTF-16BE";
    default:
        return "WINDOWS-" + std::to_string(codePage);
    }
}

int CodePageOfCharset(int charset)
{
    switch (charset) {
    case 128: // SHIFTJIS
        return 932;
    case 129: // HANGUL
        return 949;
    case 134: // GB2312
        return 936;
    case 136: // CHINESEBIG5
        return 950;
    case 161: // GREEK
        return 1253;
    case 162: // TURKISH
        return 1254;
    case 163: // VIETNAMESE
        return 1258;
    case 177: // HEBREW
        return 1255;
    case 178: // ARABIC
        return 1256;
    case 186: // BALTIC
        return 1257;
    case 204: // RUSSIAN
        return 1251;
    case 222: // THAI
        return 874;
    case 238: // EASTEUROPE
        return 1250;
    default: // ANSI and the others
        return 1252;
    }
}

int ParseCodePage(std::string_view name)
{
    std::string n;
    for (char c : name)
        n += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (n == "utf-8" || n == "utf8" || n == "65001" || n == "unicode")
        return kUtf8CodePage;
    if (n == "shift_jis" || n == "shift-jis" || n == "sjis")
        return 932;
    if (n == "gbk" || n == "gb2312")
        return 936;
    if (n == "big5")
        return 950;
    if (n == "euc-kr" || n == "uhc")
        return 949;
    for (std::string_view prefix : {"windows-", "cp", "ansi"}) {
        if (n.rfind(prefix, 0) == 0) {
            n.erase(0, prefix.size());
            break;
        }
    }
    if (n.empty() || n.size() > 5 || n.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const int number = std::stoi(n);
    switch (number) {
    case 874:
    case 932:
    case 936:
    case 949:
    case 950:
    case 1250:
    case 1251:
    case 1252:
    case 1253:
    case 1254:
    case 1255:
    case 1256:
    case 1257:
    case 1258:
        return number;
    default:
        return number == kUtf8CodePage ? number : 0;
    }
}

bool IsDbcsCodePage(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

bool IsDbcsLeadByte(int codePage, unsigned char b)
{
    switch (codePage) {
    case 932:
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950:
        return b >= 0x81 && b <= 0xFE;
    default:
        return false;
    }
}

namespace {
std::atomic<int> g_openOriginals{1252};
std::atomic<int> g_openTranslations{1252};
} // namespace

void SetOpenEncodings(int originals, int translations)
{
    g_openOriginals = originals > 0 ? originals : 1252;
    g_openTranslations = translations > 0 ? translations : 1252;
}

int OpenOriginalsCodePage()
{
    return g_openOriginals;
}

int OpenTranslationsCodePage()
{
    return g_openTranslations;
}

std::size_t CharacterLength(std::string_view text, std::size_t i, int codePage)
{
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80)
        return 1;
    std::size_t n = 1;
    if (codePage == kUtf8CodePage)
        n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    else if (IsDbcsLeadByte(codePage, b))
        n = 2;
    return std::min(n, text.size() - i);
}

const std::vector<int>& EightBitCodePages()
{
    static const std::vector<int> pages = {1252, 1250, 1251, 1253, 1254, 1255, 1256,
                                           1257, 1258, 874,  932,  936,  949,  950};
    return pages;
}

int CharsetOfCodePage(int codePage)
{
    for (const int charset : {128, 129, 134, 136, 161, 162, 163, 177, 178, 186, 204, 222, 238}) {
        if (CodePageOfCharset(charset) == codePage)
            return charset;
    }
    return 0;
}

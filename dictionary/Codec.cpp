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

Codec::Codec(std::string codePage) : m_codePage(std::move(codePage)) {}

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
    std::string out;
    if (!Convert("UTF-8", m_codePage.c_str(), bytes, out, false, "\xEF\xBF\xBD"))
        return std::string(bytes);
    return out;
}

bool Codec::FromUtf8(std::string_view utf8, std::string& out) const
{
    if (!IsValidUtf8(utf8))
        return false;
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
        for (int k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += extra + 1;
    }
    return true;
}

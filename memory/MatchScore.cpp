#include "memory/MatchScore.h"

#include "dictionary/PseudoTranslation.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

namespace {

constexpr double kSpecialWeight = 3.0;
constexpr double kCaseWeight = 0.2;
// Texts longer than this are compared on their beginning: a memory holds
// user-interface texts, and the score stays quick.
constexpr std::size_t kLongest = 400;

// The code point at i (a byte that is no UTF-8 stands for itself); i moves on.
char32_t NextCodePoint(std::string_view s, std::size_t& i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    int more = 0;
    char32_t c = b;
    if (b >= 0xF0 && b < 0xF8) {
        c = b & 0x07;
        more = 3;
    } else if (b >= 0xE0) {
        c = b & 0x0F;
        more = 2;
    } else if (b >= 0xC0) {
        c = b & 0x1F;
        more = 1;
    }
    if (more > 0 && i + static_cast<std::size_t>(more) >= s.size()) {
        ++i;
        return b;
    }
    ++i;
    for (int k = 0; k < more; ++k) {
        const auto next = static_cast<unsigned char>(s[i]);
        if ((next & 0xC0) != 0x80)
            return b;
        c = (c << 6) | (next & 0x3F);
        ++i;
    }
    return c;
}

bool SameButCase(char32_t a, char32_t b)
{
    return a != b && a < 0x10000 && b < 0x10000 &&
           std::towlower(static_cast<wint_t>(a)) == std::towlower(static_cast<wint_t>(b));
}

double Weight(const ScoreSymbol& s)
{
    return s.special ? kSpecialWeight : 1.0;
}

double Substitution(const ScoreSymbol& a, const ScoreSymbol& b)
{
    if (a.special || b.special) {
        if (a.special && b.special && a.text == b.text)
            return 0;
        return std::max(Weight(a), Weight(b));
    }
    if (a.value == b.value)
        return 0;
    return SameButCase(a.value, b.value) ? kCaseWeight : 1.0;
}

std::string Utf8Of(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(std::tolower(static_cast<int>(c)));
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

} // namespace

std::vector<ScoreSymbol> ScoreSymbols(std::string_view s)
{
    std::vector<ScoreSymbol> symbols;
    std::size_t i = 0;
    while (i < s.size() && symbols.size() < kLongest) {
        if (s[i] == '&') {
            // "&&" is an ampersand, and so is a single one before a blank
            // or at the end; one before a character marks the access key.
            if (i + 1 < s.size() && s[i + 1] == '&') {
                symbols.push_back({U'&', false, {}});
                i += 2;
            } else if (i + 1 >= s.size() || s[i + 1] == ' ') {
                symbols.push_back({U'&', false, {}});
                ++i;
            } else {
                ++i;
            }
            continue;
        }
        if (s[i] == '\\' && i + 1 < s.size()) {
            std::size_t length = 2;
            while (length < 4 && i + length < s.size() && s[i + 1] >= '0' && s[i + 1] <= '7' &&
                   s[i + length] >= '0' && s[i + length] <= '7')
                ++length;
            symbols.push_back({0, true, std::string(s.substr(i, length))});
            i += length;
            continue;
        }
        if (s[i] == '%') {
            if (const std::size_t length = PlaceholderLength(s.substr(i))) {
                symbols.push_back({0, true, std::string(s.substr(i, length))});
                i += length;
                continue;
            }
        }
        symbols.push_back({NextCodePoint(s, i), false, {}});
    }
    return symbols;
}

int MatchScore(std::string_view a, std::string_view b)
{
    if (a == b)
        return 100;
    const std::vector<ScoreSymbol> x = ScoreSymbols(a);
    const std::vector<ScoreSymbol> y = ScoreSymbols(b);
    double lengthX = 0;
    double lengthY = 0;
    for (const ScoreSymbol& s : x)
        lengthX += Weight(s);
    for (const ScoreSymbol& s : y)
        lengthY += Weight(s);
    const double longest = std::max(lengthX, lengthY);
    if (longest == 0)
        return 99;
    // Weighted edit distance, one row at a time.
    std::vector<double> previous(y.size() + 1);
    std::vector<double> current(y.size() + 1);
    previous[0] = 0;
    for (std::size_t j = 0; j < y.size(); ++j)
        previous[j + 1] = previous[j] + Weight(y[j]);
    for (std::size_t i = 0; i < x.size(); ++i) {
        current[0] = previous[0] + Weight(x[i]);
        for (std::size_t j = 0; j < y.size(); ++j) {
            current[j + 1] = std::min({previous[j + 1] + Weight(x[i]), current[j] + Weight(y[j]),
                                       previous[j] + Substitution(x[i], y[j])});
        }
        std::swap(previous, current);
    }
    const double distance = previous[y.size()];
    const int score = static_cast<int>(std::floor(100.0 * (1.0 - distance / longest) + 0.5));
    // Only texts equal byte for byte are a perfect match.
    return std::clamp(score, 0, 99);
}

std::vector<std::string> IndexWords(std::string_view s)
{
    std::vector<std::string> words;
    std::string word;
    const auto flush = [&] {
        if (!word.empty())
            words.push_back(std::move(word));
        word.clear();
    };
    for (const ScoreSymbol& symbol : ScoreSymbols(s)) {
        const char32_t c = symbol.value;
        const bool letter = !symbol.special && (c >= 0x80 || std::isalnum(static_cast<int>(c)));
        if (!letter) {
            flush();
            continue;
        }
        word += symbol.text.empty() ? Utf8Of(c) : symbol.text;
    }
    flush();
    return words;
}

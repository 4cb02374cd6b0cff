#include "dictionary/PseudoTranslation.h"

#include "dictionary/Codec.h"
#include "dictionary/ContextDictionary.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/TextRules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <unordered_set>

namespace {

// The accented form of each ASCII letter, in the code page (empty when the
// code page has no such letter: the letter then stays).
const std::array<std::string, 128>& AccentedLetters(int codePage)
{
    static thread_local int madeFor = 0;
    static thread_local std::array<std::string, 128> table;
    if (madeFor == codePage)
        return table;
    static const char* const kLower[26] = {"å", "ƀ", "ç", "ð", "é", "ƒ", "ĝ", "ĥ", "î", "ĵ", "ķ", "ļ", "ɱ",
                                           "ñ", "ö", "þ", "ǫ", "ŕ", "š", "ţ", "û", "ṽ", "ŵ", "ẋ", "ý", "ž"};
    static const char* const kUpper[26] = {"Å", "Ɓ", "Ç", "Ð", "É", "Ƒ", "Ĝ", "Ĥ", "Î", "Ĵ", "Ķ", "Ļ", "Ṁ",
                                           "Ñ", "Ö", "Þ", "Ǫ", "Ŕ", "Š", "Ţ", "Û", "Ṽ", "Ŵ", "Ẋ", "Ý", "Ž"};
    const Codec& codec = Codec::Cached(codePage);
    table = {};
    for (int i = 0; i < 26; ++i) {
        codec.FromUtf8(kLower[i], table[static_cast<std::size_t>('a' + i)]);
        codec.FromUtf8(kUpper[i], table[static_cast<std::size_t>('A' + i)]);
    }
    madeFor = codePage;
    return table;
}

} // namespace

std::size_t PlaceholderLength(std::string_view text)
{
    if (text.size() < 2 || text[0] != '%')
        return 0;
    std::size_t i = 1;
    if (text[i] == '%')
        return 2;
    if (std::isdigit(static_cast<unsigned char>(text[i])) && text[i] != '0') {
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
        // FormatMessage's "%1!d!" carries its own format between '!'.
        if (i < text.size() && text[i] == '!') {
            const std::size_t close = text.find('!', i + 1);
            if (close != std::string_view::npos)
                return close + 1;
        }
        return i;
    }
    while (i < text.size() && std::string_view("-+ #0").find(text[i]) != std::string_view::npos)
        ++i;
    while (i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '*'))
        ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '*'))
            ++i;
    }
    for (std::string_view length : {"I64", "I32", "ll", "hh", "l", "h", "L", "I", "w"}) {
        if (text.substr(i, length.size()) == length) {
            i += length.size();
            break;
        }
    }
    if (i < text.size() && std::string_view("diouxXeEfgGaAcCsSpn").find(text[i]) != std::string_view::npos)
        return i + 1;
    return 0;
}

std::string PseudoTranslate(std::string_view text, int expandPercent, int codePage,
                            std::vector<std::size_t>* positions)
{
    const auto& accented = AccentedLetters(codePage);
    std::string out = "[";
    if (positions)
        positions->assign(text.size(), 0);
    std::size_t characters = 0;
    std::size_t i = 0;
    // The accelerator of a menu item, after "\t", is kept whole after the
    // closing bracket, and so are a final colon or ellipsis that the text
    // keeps ("Save() failed:"): they stay at the end of the translation.
    const std::size_t tab = TabEscapeAt(text);
    std::size_t end = tab == std::string_view::npos ? text.size() : tab;
    while (end > 0 && (text[end - 1] == ':' || text[end - 1] == '.' || text[end - 1] == ' '))
        --end;
    auto copy = [&](std::size_t n) {
        for (std::size_t k = 0; k < n; ++k) {
            if (positions)
                (*positions)[i + k] = out.size() + k;
        }
        out.append(text.substr(i, n));
        i += n;
        ++characters;
    };
    // URLs and file names are opened by the program: they stay as they are.
    const auto verbatim = VerbatimSpans(text.substr(0, end));
    auto verbatimAt = [&verbatim](std::size_t at) -> std::size_t {
        for (const auto& [start, length] : verbatim) {
            if (start == at)
                return length;
        }
        return 0;
    };
    while (i < end) {
        const char c = text[i];
        if (const std::size_t n = verbatimAt(i); n > 0) {
            const std::size_t stop = i + n;
            while (i < stop) // copy moves i on
                copy(CharacterLength(text, i, codePage));
        } else if (const std::size_t n = PlaceholderLength(text.substr(i, end - i)); n > 0) {
            copy(n);
        } else if (c == '\\' && i + 1 < end) {
            copy(2);
        } else if (static_cast<unsigned char>(c) < 0x80 && std::isalpha(static_cast<unsigned char>(c)) &&
                   !accented[static_cast<unsigned char>(c)].empty()) {
            if (positions)
                (*positions)[i] = out.size();
            out += accented[static_cast<unsigned char>(c)];
            ++i;
            ++characters;
        } else {
            copy(CharacterLength(text, i, codePage));
        }
    }
    // Lengthened as translations into longer languages are.
    const std::size_t extra = (characters * static_cast<std::size_t>(expandPercent) + 99) / 100;
    out.append(extra, '~');
    out += ']';
    for (; i < text.size(); ++i) {
        if (positions)
            (*positions)[i] = out.size();
        out += text[i];
    }
    return out;
}

int PseudoTranslateDictionary(GeneralDictionary& general, ContextDictionary& context, int expandPercent,
                              int codePage)
{
    // The texts to fill, gathered first: setting one does not disturb the walk.
    std::vector<std::string> untranslated;
    for (const auto& entry : general.Texts()) {
        if (entry.value.empty() && !general.IsDoNotTranslate(entry.key))
            untranslated.emplace_back(entry.key);
    }
    std::vector<std::size_t> positions;
    const std::unordered_set<std::string_view> filled(untranslated.begin(), untranslated.end());
    for (const std::string& text : untranslated)
        general.SetTranslation(text, PseudoTranslate(text, expandPercent, codePage));
    // Each access key goes with its letter, in every occurrence;
    // in-context translations stay.
    const auto moved = [&positions](int shortcut) {
        return shortcut <= 0 || static_cast<std::size_t>(shortcut) > positions.size()
                   ? shortcut
                   : static_cast<int>(positions[static_cast<std::size_t>(shortcut) - 1]) + 1;
    };
    for (auto& file : context.Files()) {
        for (auto& entry : file.value) {
            ContextEntry& e = entry.value;
            if (!e.contextTranslation.empty() || filled.count(e.original) == 0)
                continue;
            PseudoTranslate(e.original, expandPercent, codePage, &positions);
            if (const std::vector<std::int16_t>* values = e.occurrences.values()) {
                std::vector<std::int16_t> keys = *values;
                for (std::int16_t& key : keys)
                    key = static_cast<std::int16_t>(moved(key));
                e.shortcut = keys.front();
                e.occurrences.assign(std::move(keys));
            } else {
                e.shortcut = static_cast<std::int16_t>(moved(e.shortcut));
            }
        }
    }
    return static_cast<int>(untranslated.size());
}

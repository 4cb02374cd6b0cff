#include "exchange/Spelling.h"

#include "dictionary/DataFolder.h"
#include "dictionary/PseudoTranslation.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <hunspell.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kDictionaries = "/usr/share/hunspell";

fs::path UserWords()
{
    const std::string data = UserDataFolder();
    return fs::path(data.empty() ? std::string("lingorel") : data) / "words.txt";
}

bool WordByte(unsigned char c)
{
    return c >= 0x80 || std::isalnum(c) || c == '\'' || c == '-';
}

class Hunspeller : public WordSpeller
{
public:
    explicit Hunspeller(Hunhandle* handle) : m_handle(handle) {}
    ~Hunspeller() override { Hunspell_destroy(m_handle); }
    bool Correct(const std::string& word) override { return Hunspell_spell(m_handle, word.c_str()) != 0; }
    std::vector<std::string> Suggestions(const std::string& word) override
    {
        char** list = nullptr;
        const int n = Hunspell_suggest(m_handle, &list, word.c_str());
        std::vector<std::string> out;
        for (int i = 0; i < n && i < 8; ++i)
            out.emplace_back(list[i]);
        Hunspell_free_list(m_handle, &list, n);
        return out;
    }
    void Add(const std::string& word) override { Hunspell_add(m_handle, word.c_str()); }

private:
    Hunhandle* m_handle;
};

} // namespace

std::vector<std::pair<std::size_t, std::string>> SpellingWords(std::string_view s)
{
    std::vector<std::pair<std::size_t, std::string>> words;
    std::string word;
    std::size_t start = 0;
    bool digits = false;
    const auto flush = [&] {
        // Hyphens and apostrophes join words, they do not start or end one.
        while (!word.empty() && (word.back() == '-' || word.back() == '\''))
            word.pop_back();
        if (!word.empty() && !digits)
            words.emplace_back(start, word);
        word.clear();
        digits = false;
    };
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == '&') {
            // An access-key mark inside a word leaves the word whole.
            if (i + 1 < s.size() && s[i + 1] == '&') {
                flush();
                i += 2;
            } else {
                ++i;
            }
            continue;
        }
        if (c == '\\') {
            flush();
            i += 2;
            while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && i < s.size())
                ++i;
            continue;
        }
        if (c == '%') {
            if (const std::size_t length = PlaceholderLength(s.substr(i))) {
                flush();
                i += length;
                continue;
            }
        }
        if (!WordByte(c) || (word.empty() && (c == '-' || c == '\''))) {
            flush();
            ++i;
            continue;
        }
        if (word.empty())
            start = i;
        digits = digits || std::isdigit(c);
        word += static_cast<char>(c);
        ++i;
    }
    flush();
    return words;
}

std::vector<std::string> HunspellLanguages()
{
    std::vector<std::string> languages;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(kDictionaries, error)) {
        if (entry.path().extension() == ".dic" &&
            fs::exists(fs::path(entry.path()).replace_extension(".aff")))
            languages.push_back(entry.path().stem().string());
    }
    std::sort(languages.begin(), languages.end());
    return languages;
}

std::unique_ptr<WordSpeller> OpenHunspell(const std::string& language, std::string& error)
{
    const fs::path base = fs::path(kDictionaries) / language;
    const std::string aff = base.string() + ".aff";
    const std::string dic = base.string() + ".dic";
    if (language.find('/') != std::string::npos || !fs::exists(aff) || !fs::exists(dic)) {
        error = "no spelling dictionary for " + language + " (install its hunspell-* package)";
        return nullptr;
    }
    Hunhandle* handle = Hunspell_create(aff.c_str(), dic.c_str());
    if (!handle) {
        error = "the spelling dictionary " + dic + " cannot be read";
        return nullptr;
    }
    std::ifstream words(UserWords());
    std::string word;
    while (std::getline(words, word)) {
        if (!word.empty())
            Hunspell_add(handle, word.c_str());
    }
    return std::make_unique<Hunspeller>(handle);
}

bool AddUserWord(const std::string& word)
{
    std::error_code error;
    fs::create_directories(UserWords().parent_path(), error);
    std::ofstream out(UserWords(), std::ios::app);
    out << word << '\n';
    return static_cast<bool>(out);
}

#include "dictionary/NotExtractedList.h"

#include "dictionary/DictionaryFormat.h"
#include "dictionary/Feedback.h"
#include "dictionary/LineFile.h"
#include "dictionary/Messages.h"
#include "dictionary/TextRules.h"

#include <cerrno>
#include <charconv>
#include <sys/stat.h>

std::string NotExtractedList::MakeKey(std::string_view source, std::string_view resourceName, int kind)
{
    std::string key(source);
    key += '+';
    key += resourceName;
    key += '+';
    key += std::to_string(kind);
    return key;
}

namespace {

// The key ends with "+resource+kind"; neither holds a plus sign, while the
// script's path may.
std::size_t PathEnd(std::string_view key)
{
    const std::size_t last = key.rfind('+');
    if (last == std::string_view::npos || last == 0)
        return last;
    const std::size_t before = key.rfind('+', last - 1);
    return before == std::string_view::npos ? last : before;
}

} // namespace

bool NotExtractedList::SplitKey(std::string_view key, std::string& source, std::string& resourceName,
                                int& kind)
{
    const std::size_t last = key.rfind('+');
    const std::size_t end = PathEnd(key);
    if (last == std::string_view::npos || end == last)
        return false;
    source = std::string(key.substr(0, end));
    resourceName = std::string(key.substr(end + 1, last - end - 1));
    kind = 0;
    const std::string_view digits = key.substr(last + 1);
    std::from_chars(digits.data(), digits.data() + digits.size(), kind);
    return true;
}

std::string NotExtractedList::Normalise(std::string_view key)
{
    std::string out(key);
    const std::size_t plus = PathEnd(out);
    const std::size_t end = plus == std::string::npos ? out.size() : plus;
    for (std::size_t i = 0; i < end; ++i)
        out[i] = AnsiToLower(out[i]);
    return out;
}

bool NotExtractedList::Contains(std::string_view key) const
{
    return m_keys.Contains(Normalise(key));
}

void NotExtractedList::Add(std::string_view key)
{
    if (m_keys.Insert(Normalise(key), std::string(key)).second)
        m_touched.Insert(AnsiLower(key.substr(0, PathEnd(key))), 0);
}

bool NotExtractedList::Remove(std::string_view key)
{
    if (!m_keys.Erase(Normalise(key)))
        return false;
    m_touched.Insert(AnsiLower(key.substr(0, PathEnd(key))), 0);
    return true;
}

bool NotExtractedList::IsTouched(std::string_view source) const
{
    return m_touched.Contains(AnsiLower(source));
}

void NotExtractedList::ForgetTouched(std::string_view source)
{
    m_touched.Erase(AnsiLower(source));
}

bool NotExtractedList::Load(MessageReporter* reporter)
{
    LineFile file;
    if (!file.OpenForReading(m_path)) {
        // No file: nothing excluded. A file that is there but cannot be
        // read is a failure: saving must not replace it with an empty list.
        struct stat st
        {
        };
        if (::stat(m_path.c_str(), &st) != 0 && errno == ENOENT)
            return true;
        if (reporter)
            reporter->Report(MsgErrorOpeningFile, {m_path, file.ErrorText()});
        return false;
    }
    return Read(file, reporter);
}

bool NotExtractedList::Read(LineFile& file, MessageReporter* reporter)
{
    std::string line;
    if (file.ReadFirstLine(line) <= 0 || line != kNirHeader) {
        file.Close();
        if (reporter)
            reporter->Report(MsgNotNotImportedResources, {m_path});
        return false;
    }
    m_keys.Clear();
    m_damagedLine = 0;
    // A key is the script's path, the resource's name and its kind, joined
    // by "+", between quotes: anything else is a line of a damaged file.
    auto whole = [](std::string_view record) {
        if (record.size() < 2 || record.front() != '"' || record.back() != '"')
            return false;
        const std::string_view key = record.substr(1, record.size() - 2);
        const std::size_t plus = key.rfind('+');
        return plus != std::string_view::npos && plus + 1 < key.size() &&
               key.find_first_not_of("0123456789", plus + 1) == std::string_view::npos;
    };
    std::int64_t number = 1;
    while (file.ReadLine(line) >= 0) {
        ++number;
        if (line.empty())
            continue;
        if (m_damagedLine == 0 && !whole(line))
            m_damagedLine = number;
        Add(StripQuotes(line));
    }
    return ReadToTheEnd(file, m_path, reporter);
}

bool NotExtractedList::Save(MessageReporter* reporter) const
{
    return SaveStore(m_path, *this, reporter);
}

void NotExtractedList::Write(LineFile& file) const
{
    file.WriteLine(std::string(kNirHeader));
    std::string record;
    for (const auto& entry : m_keys) {
        record.clear();
        AppendQuoted(record, entry.value);
        file.WriteLine(record);
    }
}

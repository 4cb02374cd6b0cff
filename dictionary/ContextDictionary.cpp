#include "dictionary/ContextDictionary.h"

#include "dictionary/DictionaryFormat.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/LineFile.h"
#include "dictionary/TextRules.h"

#include <array>
#include <charconv>

void ContextDictionary::AddEntry(std::string_view file, std::string_view textKey, std::string_view original,
                                 std::string_view contextTranslation, int shortcut,
                                 std::string_view itemReference)
{
    const std::string key = AnsiLower(file);
    Section* section = m_files.Find(key);
    if (!section)
        section = m_files.Insert(key, Section()).first;
    if (!IsTranslatableText(original) || section->Contains(textKey))
        return;
    ContextEntry entry;
    entry.original = std::string(original);
    entry.contextTranslation = std::string(contextTranslation);
    entry.itemReference = std::string(itemReference);
    entry.shortcut = static_cast<std::int16_t>(shortcut);
    section->Insert(textKey, std::move(entry));
}

ContextDictionary::Section* ContextDictionary::FindFile(std::string_view file)
{
    return m_files.Find(AnsiLower(file));
}

const ContextDictionary::Section* ContextDictionary::FindFile(std::string_view file) const
{
    return m_files.Find(AnsiLower(file));
}

ContextEntry* ContextDictionary::FindEntry(Section& section, std::string_view textKey)
{
    return section.Find(textKey);
}

const ContextEntry* ContextDictionary::FindEntry(const Section& section, std::string_view textKey)
{
    return section.Find(textKey);
}

void ContextDictionary::ReplaceEntry(Section& section, std::string_view textKey, ContextEntry entry)
{
    if (ContextEntry* existing = section.Find(textKey))
        *existing = std::move(entry);
}

bool ContextDictionary::RemoveFile(std::string_view file)
{
    return m_files.Erase(AnsiLower(file));
}

bool ContextDictionary::KeyBelongsTo(std::string_view textKey, std::string_view resourceName)
{
    if (resourceName.empty() || textKey.substr(0, resourceName.size()) != resourceName)
        return false;
    return resourceName.back() == '+' ||
           (textKey.size() > resourceName.size() && textKey[resourceName.size()] == '+');
}

bool ContextDictionary::IsResourceTranslated(std::string_view file, std::string_view resourceName,
                                             const GeneralDictionary& general) const
{
    const Section* section = FindFile(file);
    if (!section)
        return true;
    for (const auto& entry : *section) {
        if (!KeyBelongsTo(entry.key, resourceName) || !entry.value.contextTranslation.empty())
            continue;
        const std::string* translation = general.FindTranslation(entry.value.original);
        if (!translation || translation->empty())
            return false;
    }
    return true;
}

bool ContextDictionary::HasStringTable(std::string_view file) const
{
    const Section* section = FindFile(file);
    if (!section)
        return false;
    for (const auto& entry : *section) {
        if (KeyBelongsTo(entry.key, "STRINGTABLE"))
            return true;
    }
    return false;
}

void ContextDictionary::TextsOfItem(std::string_view file, std::string_view resourceName,
                                    std::string_view itemReference, std::vector<std::string>& texts) const
{
    texts.clear();
    const Section* section = FindFile(file);
    if (!section)
        return;
    for (const auto& entry : *section) {
        if (KeyBelongsTo(entry.key, resourceName) && EqualsNoCase(entry.value.itemReference, itemReference))
            texts.push_back(entry.value.original);
    }
}

bool ContextDictionary::ClearShortcuts()
{
    bool changed = false;
    for (auto& file : m_files) {
        for (auto& entry : file.value) {
            if (entry.value.shortcut > 0) {
                entry.value.shortcut = 0;
                changed = true;
            }
        }
    }
    return changed;
}

bool ContextDictionary::ClearShortcuts(std::string_view file, std::string_view resourceName)
{
    Section* section = FindFile(file);
    if (!section)
        return false;
    bool changed = false;
    for (auto& entry : *section) {
        if (KeyBelongsTo(entry.key, resourceName) && entry.value.shortcut > 0) {
            entry.value.shortcut = 0;
            changed = true;
        }
    }
    return changed;
}

int ContextDictionary::EntryCount() const
{
    std::size_t count = 0;
    for (const auto& file : m_files)
        count += file.value.Size();
    return static_cast<int>(count);
}

bool ContextDictionary::Load(MessageReporter*)
{
    LineFile file;
    if (!file.OpenForReading(m_path))
        return false;
    m_files.Clear();
    std::string line;
    file.ReadFirstLine(line); // the header
    Section* lastSection = nullptr;
    std::string lastFile;
    while (file.ReadLine(line) >= 0) {
        if (line.empty())
            continue;
        std::array<std::string_view, 5> fields{};
        std::size_t n = 0;
        SplitFields(line, kDicSeparator, 5, [&](std::string_view f) { fields[n++] = f; });
        if (n == 0 || fields[0].empty())
            continue;
        for (auto& f : fields)
            f = StripQuotes(f);
        const std::size_t plus = ScriptPathEnd(fields[0]);
        const std::string_view source = fields[0].substr(0, plus);
        const std::string_view textKey =
            plus == std::string_view::npos ? std::string_view() : fields[0].substr(plus + 1);
        int shortcut = -1;
        if (!fields[3].empty()) {
            // The decimal value of the field, like atoi.
            std::string_view digits = fields[3];
            while (!digits.empty() && digits.front() == ' ')
                digits.remove_prefix(1);
            if (!digits.empty() && digits.front() == '+')
                digits.remove_prefix(1);
            shortcut = 0;
            std::from_chars(digits.data(), digits.data() + digits.size(), shortcut);
        }
        // Consecutive records of one script are the rule; skip re-hashing it.
        if (!lastSection || source != lastFile) {
            AddEntry(source, textKey, fields[1], fields[2], shortcut, fields[4]);
            lastFile = std::string(source);
            lastSection = FindFile(source);
            continue;
        }
        if (!IsTranslatableText(fields[1]) || lastSection->Contains(textKey))
            continue;
        ContextEntry entry;
        entry.original = std::string(fields[1]);
        entry.contextTranslation = std::string(fields[2]);
        entry.itemReference = std::string(fields[4]);
        entry.shortcut = static_cast<std::int16_t>(shortcut);
        lastSection->Insert(textKey, std::move(entry));
    }
    return true;
}

bool ContextDictionary::Save(MessageReporter* reporter) const
{
    LineFile file;
    if (!file.OpenForWriting(m_path, reporter))
        return false;
    file.WriteLine(std::string(kEntHeader));
    std::string record;
    for (const auto& fileEntry : m_files) {
        for (const auto& entry : fileEntry.value) {
            const ContextEntry& e = entry.value;
            record.clear();
            record += '"';
            record += fileEntry.key;
            record += '+';
            record += entry.key;
            record += '"';
            record += kDicSeparator;
            AppendQuoted(record, e.original);
            record += kDicSeparator;
            AppendQuoted(record, e.contextTranslation);
            record += kDicSeparator;
            AppendQuoted(record, e.shortcut >= 0 ? std::to_string(e.shortcut) : std::string());
            if (!e.itemReference.empty()) {
                record += kDicSeparator;
                AppendQuoted(record, e.itemReference);
            }
            file.WriteLine(record);
        }
    }
    return file.Close();
}

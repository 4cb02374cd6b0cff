#include "dictionary/ContextDictionary.h"

#include "dictionary/Alongside.h"
#include "dictionary/DictionaryFormat.h"
#include "dictionary/Feedback.h"
#include "dictionary/GeneralDictionary.h"
#include "dictionary/LineFile.h"
#include "dictionary/Messages.h"
#include "dictionary/TextRules.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <unordered_map>

void OccurrenceShortcuts::assign(std::vector<std::int16_t> values)
{
    if (values.empty())
        m_values.reset();
    else
        m_values = std::make_unique<std::vector<std::int16_t>>(std::move(values));
}

void ContextEntry::SetShortcutOf(std::size_t occurrence, int value, std::size_t count)
{
    count = std::max(count, occurrences.size());
    if (count <= 1) {
        SetAllShortcuts(value);
        return;
    }
    std::vector<std::int16_t> values =
        occurrences.empty() ? std::vector<std::int16_t>(count, shortcut) : *occurrences.values();
    values.resize(count, shortcut);
    if (occurrence < count)
        values[occurrence] = static_cast<std::int16_t>(value);
    shortcut = values.front();
    occurrences.assign(std::move(values));
    Collapse();
}

void ContextEntry::AddOccurrence(int value)
{
    if (occurrences.empty())
        occurrences.assign({shortcut});
    occurrences.push_back(static_cast<std::int16_t>(value));
}

void ContextEntry::Collapse()
{
    const std::vector<std::int16_t>* values = occurrences.values();
    if (!values)
        return;
    // None is none, whether written 0 or left empty.
    const auto none = [](int v) { return v <= 0; };
    for (std::int16_t v : *values) {
        if (v != shortcut && !(none(v) && none(shortcut)))
            return;
    }
    occurrences.clear();
}

ContextEntry* ContextDictionary::AddEntry(std::string_view file, std::string_view textKey,
                                          std::string_view original, std::string_view contextTranslation,
                                          int shortcut, std::string_view itemReference)
{
    return AddEntry(FileSection(file), textKey, original, contextTranslation, shortcut, itemReference);
}

ContextEntry* ContextDictionary::AddEntry(Section& section, std::string_view textKey,
                                          std::string_view original, std::string_view contextTranslation,
                                          int shortcut, std::string_view itemReference)
{
    if (!IsTranslatableText(original))
        return nullptr;
    const auto [entry, added] = section.InsertWith(textKey, [&] {
        ContextEntry made;
        made.original = std::string(original);
        made.contextTranslation = std::string(contextTranslation);
        made.itemReference = std::string(itemReference);
        made.shortcut = static_cast<std::int16_t>(shortcut);
        return made;
    });
    return added ? entry : nullptr;
}

void ContextDictionary::AddOccurrence(Section& section, std::string_view textKey, std::string_view original,
                                      int shortcut, std::string_view itemReference)
{
    if (!IsTranslatableText(original))
        return;
    if (ContextEntry* known = section.Find(textKey)) {
        known->AddOccurrence(shortcut);
        return;
    }
    AddEntry(section, textKey, original, {}, shortcut, itemReference);
}

void ContextDictionary::CollapseOccurrences(Section& section)
{
    for (auto& entry : section)
        entry.value.Collapse();
}

ContextDictionary::Section& ContextDictionary::FileSection(std::string_view file)
{
    const std::string key = AnsiLower(file);
    if (Section* section = m_files.Find(key))
        return *section;
    return *m_files.Insert(key, Section()).first;
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

const ContextEntry* ContextDictionary::FindEntry(const Section& section, std::string_view textKey,
                                                 std::size_t& cursor)
{
    return section.FindAfter(textKey, cursor);
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

ContextDictionary::Section ContextDictionary::TakeFile(std::string_view file)
{
    const std::string key = AnsiLower(file);
    Section taken;
    if (Section* section = m_files.Find(key)) {
        taken = std::move(*section);
        m_files.Erase(key);
    }
    return taken;
}

void ContextDictionary::PutFile(std::string_view file, Section section)
{
    const std::string key = AnsiLower(file);
    m_files.Erase(key);
    if (!section.Empty())
        m_files.Insert(key, std::move(section));
}

void ContextDictionary::CarryOver(std::string_view file, const Section& previous,
                                  const GeneralDictionary& general)
{
    Section* section = FindFile(file);
    if (!section || previous.Empty())
        return;
    auto translated = [&general](const ContextEntry& entry) {
        if (!entry.contextTranslation.empty())
            return true;
        const std::string* translation = general.FindTranslation(entry.original);
        return translation && !translation->empty();
    };
    // The translator's choice of shortcuts stays: the old list when the text
    // occurs as often as before, else the first occurrence's shortcut, the
    // later occurrences keeping their own from the script.
    auto take = [&](ContextEntry& entry, const ContextEntry& old) {
        entry.contextTranslation = old.contextTranslation;
        if (!translated(old))
            return;
        if (!old.occurrences.empty() && old.occurrences.size() == entry.occurrences.size()) {
            entry.occurrences = old.occurrences;
            entry.shortcut = old.shortcut;
            return;
        }
        if (const std::vector<std::int16_t>* values = entry.occurrences.values()) {
            std::vector<std::int16_t> mine = *values;
            mine[0] = old.shortcut;
            entry.occurrences.assign(std::move(mine));
        }
        entry.shortcut = old.shortcut;
    };
    // Entries gone from the script, by original, in their order.
    std::unordered_map<std::string_view, std::vector<const ContextEntry*>> gone;
    for (const auto& old : previous) {
        if (!section->Contains(old.key) && (!old.value.contextTranslation.empty() || translated(old.value)))
            gone[old.value.original].push_back(&old.value);
    }
    for (auto& entry : *section) {
        if (const ContextEntry* old = previous.Find(entry.key)) {
            take(entry.value, *old);
            continue;
        }
        auto it = gone.find(entry.value.original);
        if (it == gone.end() || it->second.empty())
            continue;
        take(entry.value, *it->second.front());
        it->second.erase(it->second.begin());
    }
}

bool ContextDictionary::KeyBelongsTo(std::string_view textKey, std::string_view resourceName)
{
    if (resourceName.empty() || textKey.substr(0, resourceName.size()) != resourceName)
        return false;
    return resourceName.back() == '+' ||
           (textKey.size() > resourceName.size() && textKey[resourceName.size()] == '+');
}

std::unordered_set<std::string>
ContextDictionary::UntranslatedResources(std::string_view file, const GeneralDictionary& general) const
{
    std::unordered_set<std::string> names;
    const Section* section = FindFile(file);
    if (!section)
        return names;
    for (const auto& entry : *section) {
        if (!entry.value.contextTranslation.empty())
            continue;
        const std::string* translation = general.FindTranslation(entry.value.original);
        if (translation && !translation->empty())
            continue;
        // Every name the key can belong to: the key up to each of its "+".
        const std::string_view key = entry.key;
        for (std::size_t plus = key.find('+'); plus != std::string_view::npos;
             plus = key.find('+', plus + 1)) {
            if (plus > 0)
                names.emplace(key.substr(0, plus));
        }
    }
    return names;
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
        if (KeyBelongsTo(entry.key, resourceName) &&
            EqualsNoCase(entry.value.itemReference.str(), itemReference))
            texts.push_back(entry.value.original);
    }
}

namespace {

bool ClearShortcutsOf(ContextEntry& entry)
{
    bool changed = entry.shortcut > 0;
    if (const std::vector<std::int16_t>* values = entry.occurrences.values())
        changed =
            changed || std::any_of(values->begin(), values->end(), [](std::int16_t v) { return v > 0; });
    if (!changed)
        return false;
    entry.SetAllShortcuts(0);
    return true;
}

} // namespace

bool ContextDictionary::ClearShortcuts()
{
    bool changed = false;
    for (auto& file : m_files) {
        for (auto& entry : file.value)
            changed = ClearShortcutsOf(entry.value) || changed;
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
        if (KeyBelongsTo(entry.key, resourceName))
            changed = ClearShortcutsOf(entry.value) || changed;
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

void ContextDictionary::MatchScripts(const std::vector<std::string>& sources)
{
    std::vector<std::string> known;
    known.reserve(sources.size());
    for (const std::string& source : sources)
        known.push_back(AnsiLower(source));
    auto isKnown = [&known](std::string_view path) {
        return std::find(known.begin(), known.end(), path) != known.end();
    };
    bool misfiled = false;
    for (const auto& section : m_files)
        misfiled = misfiled || !isKnown(section.key);
    if (!misfiled)
        return;
    // The longest known path that the whole key starts with, then "+".
    auto owner = [&known](const std::string& key) -> const std::string* {
        const std::string* best = nullptr;
        for (const std::string& path : known) {
            if (key.size() > path.size() && key.compare(0, path.size(), path) == 0 &&
                key[path.size()] == '+' && (!best || path.size() > best->size()))
                best = &path;
        }
        return best;
    };
    // Whether an entry of the section may belong to a known script whose
    // path the section's key only starts with, or that starts with it.
    auto mayRefile = [&known](std::string_view file) {
        for (const std::string& path : known) {
            if (path.size() < file.size()
                    ? file.compare(0, path.size(), path) == 0 && file[path.size()] == '+'
                    : path.compare(0, file.size(), file) == 0)
                return true;
        }
        return false;
    };
    // Rebuilt in the same order, so that saving writes the same records.
    FileMap rebuilt;
    std::string key;
    for (auto& section : m_files) {
        const bool keep = isKnown(section.key);
        // A section none of whose entries can move goes over whole.
        if ((keep || !mayRefile(section.key)) && !rebuilt.Contains(section.key)) {
            rebuilt.Insert(section.key, std::move(section.value));
            continue;
        }
        for (auto& entry : section.value) {
            key.assign(section.key).append(1, '+').append(entry.key);
            const std::string* found = keep ? nullptr : owner(key);
            const std::string_view file = found ? std::string_view(*found) : section.key;
            const std::string_view textKey =
                found ? std::string_view(key).substr(found->size() + 1) : entry.key;
            Section* target = rebuilt.Find(file);
            if (!target)
                target = rebuilt.Insert(file, Section()).first;
            target->Insert(textKey, std::move(entry.value));
        }
        if (section.value.Empty() && !rebuilt.Contains(section.key))
            rebuilt.Insert(section.key, Section());
    }
    m_files = std::move(rebuilt);
}

namespace {

// A file this large is read by two threads, each one half of it.
constexpr std::int64_t kTwoReadersFrom = std::int64_t(1) << 20;

} // namespace

// The shortcut field holds the first occurrence's shortcut in decimal (empty
// when it is negative); when the occurrences of the text do not all have that
// one, the field lists every occurrence's, separated by commas ("1,0,3").
// A reader that takes the field's decimal value, as every version before
// did, reads the first occurrence's.
int ContextDictionary::ReadShortcutField(std::string_view field, std::vector<std::int16_t>& occurrences)
{
    occurrences.clear();
    if (field.empty())
        return -1;
    // The decimal value of the field, like atoi.
    auto number = [](std::string_view& digits) {
        while (!digits.empty() && digits.front() == ' ')
            digits.remove_prefix(1);
        if (!digits.empty() && digits.front() == '+')
            digits.remove_prefix(1);
        int value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        digits.remove_prefix(static_cast<std::size_t>(end - digits.data()));
        return ec == std::errc() ? value : 0;
    };
    std::string_view rest = field;
    const int first = number(rest);
    if (rest.empty() || rest.front() != ',')
        return first;
    occurrences.push_back(static_cast<std::int16_t>(first));
    while (!rest.empty() && rest.front() == ',') {
        rest.remove_prefix(1);
        occurrences.push_back(static_cast<std::int16_t>(number(rest)));
    }
    return first;
}

void ContextDictionary::AppendShortcutField(std::string& out, const ContextEntry& entry)
{
    const std::vector<std::int16_t>* values = entry.occurrences.values();
    if (!values) {
        if (entry.shortcut >= 0)
            out += std::to_string(entry.shortcut);
        return;
    }
    for (std::size_t i = 0; i < values->size(); ++i) {
        if (i > 0)
            out += ',';
        out += std::to_string(std::max<int>(0, (*values)[i]));
    }
}

bool ContextDictionary::Load(MessageReporter* reporter)
{
    LineFile file;
    if (!file.OpenForReading(m_path))
        return false;
    // The second half begins with the first line that begins at the file's
    // middle or after it.
    const std::int64_t size = file.Size();
    LineFile secondHalf;
    std::string line;
    if (size < kTwoReadersFrom || !secondHalf.OpenForReading(m_path) ||
        !secondHalf.SetReadRange(size / 2, size) || secondHalf.ReadLine(line) < 0 ||
        secondHalf.LastLineEnd() == LineFile::LineEnd::None)
        return Read(file, reporter);
    const std::int64_t middle = size / 2 + static_cast<std::int64_t>(line.size()) +
                                (secondHalf.LastLineEnd() == LineFile::LineEnd::CrLf ? 2 : 1);
    if (!file.SetReadRange(0, middle))
        return Read(file, reporter);
    return ReadHalves(file, &secondHalf, reporter);
}

void ContextDictionary::Append(FileMap files)
{
    for (auto& section : files) {
        Section* mine = m_files.Find(section.key);
        if (!mine) {
            m_files.Insert(section.key, std::move(section.value));
            continue;
        }
        for (auto& entry : section.value)
            mine->InsertWith(entry.key, [&entry] { return std::move(entry.value); });
    }
}

bool ContextDictionary::Read(LineFile& file, MessageReporter* reporter)
{
    return ReadHalves(file, nullptr, reporter);
}

bool ContextDictionary::ReadHalves(LineFile& file, LineFile* secondHalf, MessageReporter* reporter)
{
    m_files.Clear();
    m_damagedLine = 0;
    std::int64_t firstLines = 0;
    auto readFirst = [&] {
        std::string header;
        file.ReadFirstLine(header);
        firstLines = ReadRecords(file, 1);
    };
    ContextDictionary second;
    if (secondHalf)
        RunAlongside([&] { second.ReadRecords(*secondHalf, 0); }, readFirst);
    else
        readFirst();
    // Read in one pass, a failure in the first half would have ended the
    // reading there.
    if (secondHalf && !file.Failed()) {
        if (m_damagedLine == 0 && second.m_damagedLine != 0)
            m_damagedLine = firstLines + second.m_damagedLine;
        Append(std::move(second.m_files));
    }
    // A read that stopped early (a read error, a line no dictionary holds)
    // loaded part of the file only.
    const LineFile* failed = file.Failed()                        ? &file
                             : secondHalf && secondHalf->Failed() ? secondHalf
                                                                  : nullptr;
    if (failed) {
        if (reporter)
            reporter->Report(MsgErrorReadingFile, {m_path, failed->ErrorText()});
        return false;
    }
    return true;
}

std::int64_t ContextDictionary::ReadRecords(LineFile& file, std::int64_t number)
{
    std::string line;
    Section* lastSection = nullptr;
    std::string lastFile;
    std::array<std::string, 5> decoded;
    std::vector<std::int16_t> occurrences;
    while (file.ReadLine(line) >= 0) {
        ++number;
        if (line.empty())
            continue;
        RecordFields<5> record = SplitRecord<5>(line, kDicSeparator, 4);
        if (m_damagedLine == 0 && !record.whole)
            m_damagedLine = number;
        if (record.count == 0)
            continue;
        auto& fields = record.fields;
        // Fields in the file layout are decoded ("\XHH" back to its byte);
        // most hold no escape and are used in place.
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (HasFieldEscape(fields[i])) {
                decoded[i] = DecodeField(fields[i]);
                fields[i] = decoded[i];
            }
        }
        const std::size_t plus = ScriptPathEnd(fields[0]);
        const std::string_view source = fields[0].substr(0, plus);
        const std::string_view textKey =
            plus == std::string_view::npos ? std::string_view() : fields[0].substr(plus + 1);
        const int shortcut = ReadShortcutField(fields[3], occurrences);
        // Consecutive records of one script are the rule; skip re-hashing it.
        if (!lastSection || source != lastFile) {
            lastSection = &FileSection(source);
            lastFile = std::string(source);
        }
        ContextEntry* entry = AddEntry(*lastSection, textKey, fields[1], fields[2], shortcut, fields[4]);
        if (entry && !occurrences.empty()) {
            entry->occurrences.assign(std::move(occurrences));
            entry->Collapse();
        }
    }
    return number;
}

bool ContextDictionary::Save(MessageReporter* reporter) const
{
    return SaveStore(m_path, *this, reporter);
}

void ContextDictionary::Write(LineFile& file) const
{
    file.WriteLine(std::string(kEntHeader));
    std::string record;
    std::string key;
    for (const auto& fileEntry : m_files) {
        for (const auto& entry : fileEntry.value) {
            const ContextEntry& e = entry.value;
            record.clear();
            key.assign(fileEntry.key).append(1, '+').append(entry.key);
            AppendQuotedField(record, key);
            record += kDicSeparator;
            AppendQuotedField(record, e.original);
            record += kDicSeparator;
            AppendQuotedField(record, e.contextTranslation.str());
            record += kDicSeparator;
            record += '"';
            AppendShortcutField(record, e);
            record += '"';
            if (!e.itemReference.empty()) {
                record += kDicSeparator;
                AppendQuotedField(record, e.itemReference.str());
            }
            file.WriteLine(record);
        }
    }
}

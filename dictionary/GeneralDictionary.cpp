#include "dictionary/GeneralDictionary.h"

#include "dictionary/DictionaryFormat.h"
#include "dictionary/Feedback.h"
#include "dictionary/LineFile.h"
#include "dictionary/Messages.h"
#include "dictionary/TextRules.h"

#include <array>

void GeneralDictionary::AddText(std::string_view original, std::string_view translation)
{
    if (m_decode) {
        const std::string decodedOriginal = DecodeXEscapes(original);
        const std::string decodedTranslation = DecodeXEscapes(translation);
        if (IsTranslatableText(decodedOriginal))
            m_texts.Insert(decodedOriginal, decodedTranslation);
        return;
    }
    if (IsTranslatableText(original))
        m_texts.Insert(original, std::string(translation));
}

bool GeneralDictionary::GetTranslation(std::string_view original, std::string& translation) const
{
    translation.clear();
    if (original.empty())
        return false;
    const std::string* found = m_texts.Find(original);
    if (!found)
        return false;
    translation = *found;
    return true;
}

const std::string* GeneralDictionary::FindTranslation(std::string_view original, std::size_t& cursor) const
{
    return m_texts.FindAfter(original, cursor);
}

const std::string* GeneralDictionary::FindTranslation(std::string_view original) const
{
    return m_texts.Find(original);
}

void GeneralDictionary::SetTranslation(std::string_view original, std::string_view translation)
{
    if (std::string* found = m_texts.Find(original))
        found->assign(translation);
}

bool GeneralDictionary::RemoveText(std::string_view original)
{
    return m_texts.Erase(original);
}

int GeneralDictionary::CountTranslated() const
{
    int count = 0;
    for (const auto& entry : m_texts) {
        if (!entry.value.empty())
            ++count;
    }
    return count;
}

void GeneralDictionary::SetDoNotTranslate(std::string_view original)
{
    m_doNotTranslate.Insert(original, 0);
}

bool GeneralDictionary::ClearDoNotTranslate(std::string_view original)
{
    if (original.empty())
        return false;
    return m_doNotTranslate.Erase(original);
}

bool GeneralDictionary::Load(MessageReporter* reporter)
{
    LineFile file;
    if (!file.OpenForReading(m_path))
        return false;
    return Read(file, reporter);
}

bool GeneralDictionary::Read(LineFile& file, MessageReporter* reporter)
{
    m_texts.Clear();
    m_doNotTranslate.Clear();
    m_damagedLine = 0;
    m_wholeRecords = 0;
    m_otherLines = 0;
    std::string line;
    std::int64_t length = file.ReadFirstLine(line);
    std::int64_t number = 1;
    m_unicode = line.rfind(kUtf8Mark, 0) == 0;
    if (m_unicode) {
        line.erase(0, kUtf8Mark.size());
        length -= static_cast<std::int64_t>(kUtf8Mark.size());
    }
    if (m_hasHeader) {
        length = file.ReadLine(line);
        ++number;
    }
    // A dictionary file holds its texts in the file layout ("\XHH" for the
    // bytes it cannot carry raw); an imported text file may hold "\X"
    // escapes typed by hand, decoded when asked.
    std::array<std::string, 2> decoded;
    auto decode = [&](std::string_view field, std::string& storage) -> std::string_view {
        if (m_hasHeader ? !HasFieldEscape(field) : !m_decode)
            return field;
        storage = m_hasHeader ? DecodeField(field) : DecodeXEscapes(field);
        return storage;
    };
    while (length >= 0) {
        if (length > 0) {
            // A dictionary's records have three fields; a text file's may
            // have two.
            const RecordFields<3> record = SplitRecord<3>(line, kDicSeparator, m_hasHeader ? 3 : 2);
            if (m_hasHeader && m_damagedLine == 0 && !record.whole)
                m_damagedLine = number;
            ++(record.whole ? m_wholeRecords : m_otherLines);
            const std::string_view original = decode(record.fields[0], decoded[0]);
            if (record.fields[2] == "1")
                SetDoNotTranslate(original);
            if (IsTranslatableText(original)) {
                const std::string_view translation = decode(record.fields[1], decoded[1]);
                m_texts.InsertWith(original, [translation] { return std::string(translation); });
            }
        }
        length = file.ReadLine(line);
        ++number;
    }
    return ReadToTheEnd(file, m_path, reporter);
}

bool GeneralDictionary::Save(MessageReporter* reporter) const
{
    return SaveStore(m_path, *this, reporter);
}

void GeneralDictionary::Write(LineFile& file) const
{
    file.WriteLine((m_unicode ? std::string(kUtf8Mark) : std::string()) + std::string(kDicHeader));
    std::string record;
    for (const auto& entry : m_texts) {
        record.clear();
        AppendQuotedField(record, entry.key);
        record += kDicSeparator;
        AppendQuotedField(record, entry.value);
        record += kDicSeparator;
        record += IsDoNotTranslate(entry.key) ? "\"1\"" : "\"0\"";
        file.WriteLine(record);
    }
}

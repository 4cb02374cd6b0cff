#pragma once

#include "dictionary/OrderedMap.h"

#include <cstdint>
#include <string>
#include <string_view>

class LineFile;
class MessageReporter;

/// Every distinct original text of the project with its general
/// translation, and the set of texts that must not be translated.
/// Stored in the ".dic" file.
class GeneralDictionary
{
public:
    using TextMap = OrderedMap<std::string>;
    using TextSet = OrderedMap<char>;

    /// hasHeader: the file's first line is a header (a .dic file) rather than
    /// data (a plain text file being imported).
    explicit GeneralDictionary(bool hasHeader = true) : m_hasHeader(hasHeader) {}

    /// When set, AddText first decodes "\X" escapes in both texts.
    void SetDecode(bool decode) { m_decode = decode; }
    bool Decode() const { return m_decode; }
    /// Texts in UTF-8, marked in the file (a Unicode dictionary).
    void SetUnicode(bool unicode) { m_unicode = unicode; }
    bool IsUnicode() const { return m_unicode; }

    const std::string& FilePath() const { return m_path; }
    void SetFilePath(std::string path) { m_path = std::move(path); }

    /// Adds a translatable text unless it is already known (first one wins).
    void AddText(std::string_view original, std::string_view translation);
    /// False for an empty or unknown original; the translation is cleared first.
    bool GetTranslation(std::string_view original, std::string& translation) const;
    /// The stored translation, or null for an unknown text.
    const std::string* FindTranslation(std::string_view original) const;
    /// The same, for texts looked up in the order they were added: the cursor
    /// (0 at first) remembers where the last one was found.
    const std::string* FindTranslation(std::string_view original, std::size_t& cursor) const;
    /// Replaces the translation of a known text; unknown texts are not added.
    void SetTranslation(std::string_view original, std::string_view translation);
    bool RemoveText(std::string_view original);
    int TextCount() const { return static_cast<int>(m_texts.Size()); }
    int CountTranslated() const;
    const TextMap& Texts() const { return m_texts; }

    bool IsDoNotTranslate(std::string_view original) const { return m_doNotTranslate.Contains(original); }
    void SetDoNotTranslate(std::string_view original);
    bool ClearDoNotTranslate(std::string_view original);
    const TextSet& DoNotTranslate() const { return m_doNotTranslate; }

    /// Reads the file at FilePath(); false when it cannot be opened.
    bool Load(MessageReporter* reporter = nullptr);
    /// Reads the records from a file open for reading (a file or bytes in
    /// memory); false (reported) when the reading stopped early.
    bool Read(LineFile& file, MessageReporter* reporter = nullptr);
    /// The first line of the last file read that is not a whole record
    /// (cut short, split, with fields missing); 0 when there is none.
    std::int64_t DamagedLine() const { return m_damagedLine; }
    /// How many lines of the last file read were whole records, and how
    /// many non-empty ones were not.
    std::int64_t WholeRecords() const { return m_wholeRecords; }
    std::int64_t OtherLines() const { return m_otherLines; }
    /// Writes the header and every text; reports "Cannot save the file %s".
    bool Save(MessageReporter* reporter = nullptr) const;
    /// Writes the header and every text to a file open for writing.
    void Write(LineFile& file) const;

private:
    bool m_decode = false;
    bool m_unicode = false;
    bool m_hasHeader;
    std::int64_t m_damagedLine = 0;
    std::int64_t m_wholeRecords = 0;
    std::int64_t m_otherLines = 0;
    std::string m_path;
    TextMap m_texts;
    TextSet m_doNotTranslate;
};

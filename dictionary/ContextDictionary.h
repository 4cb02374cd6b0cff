#pragma once

#include "dictionary/OrderedMap.h"
#include "dictionary/SparseText.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class GeneralDictionary;
class LineFile;
class MessageReporter;

/// The shortcuts of every occurrence of a text in one resource, in script
/// order, kept only when they are not all the first one's (a menu with
/// "&Fold" and "Fold"): one pointer, with no memory of its own otherwise.
class OccurrenceShortcuts
{
public:
    OccurrenceShortcuts() = default;
    OccurrenceShortcuts(const OccurrenceShortcuts& other) { *this = other; }
    OccurrenceShortcuts(OccurrenceShortcuts&&) noexcept = default;
    OccurrenceShortcuts& operator=(const OccurrenceShortcuts& other)
    {
        if (this != &other)
            m_values =
                other.m_values ? std::make_unique<std::vector<std::int16_t>>(*other.m_values) : nullptr;
        return *this;
    }
    OccurrenceShortcuts& operator=(OccurrenceShortcuts&&) noexcept = default;

    bool empty() const { return !m_values; }
    /// The number of occurrences kept (0 when none is).
    std::size_t size() const { return m_values ? m_values->size() : 0; }
    int operator[](std::size_t occurrence) const { return (*m_values)[occurrence]; }
    const std::vector<std::int16_t>* values() const { return m_values.get(); }
    void assign(std::vector<std::int16_t> values);
    void push_back(std::int16_t value) { m_values->push_back(value); }
    void clear() { m_values.reset(); }

private:
    std::unique_ptr<std::vector<std::int16_t>> m_values;
};

/// One text in one resource of one script; a text that occurs several times
/// in the resource has one entry, and its occurrences are counted in script
/// order from 0.
struct ContextEntry
{
    std::string original;
    /// Translation valid only in this resource; empty = none.
    SparseText contextTranslation;
    /// Control identifier of a combo-box string; empty otherwise.
    SparseText itemReference;
    /// 1-based position of the shortcut letter in the displayed translation;
    /// 0 or negative = none. The first occurrence's, and every occurrence's
    /// unless occurrences says otherwise.
    std::int16_t shortcut = 0;
    /// Every occurrence's shortcut, when they differ.
    OccurrenceShortcuts occurrences;

    /// The shortcut of an occurrence (0 or negative = none).
    int ShortcutOf(std::size_t occurrence) const
    {
        return occurrence < occurrences.size() ? occurrences[occurrence] : shortcut;
    }
    /// How many occurrences have a shortcut of their own (1 when all share
    /// the first one's).
    std::size_t DistinctOccurrences() const { return occurrences.empty() ? 1 : occurrences.size(); }
    /// Sets the shortcut of one of the count occurrences of the text; the
    /// others keep theirs. With a count of 1, every occurrence takes it.
    void SetShortcutOf(std::size_t occurrence, int value, std::size_t count);
    /// Sets the shortcut of every occurrence.
    void SetAllShortcuts(int value)
    {
        shortcut = static_cast<std::int16_t>(value);
        occurrences.clear();
    }
    /// Adds the next occurrence an extraction meets; the entry was made by
    /// the first, and the list is whole until Collapse.
    void AddOccurrence(int value);
    /// Drops the list when every occurrence has the first one's shortcut.
    void Collapse();
};

/// The in-context ("specific") dictionary: per source script, one entry per
/// text of each resource, keyed by resource name + "+" + normalised text.
/// Stored in the ".ent" file. Scripts are keyed by their lower-cased path.
class ContextDictionary
{
public:
    using Section = OrderedMap<ContextEntry>;
    using FileMap = OrderedMap<Section>;

    const std::string& FilePath() const { return m_path; }
    void SetFilePath(std::string path) { m_path = std::move(path); }

    /// Creates the file's section if needed, then stores a new entry unless
    /// the text is a placeholder caption or the key is already present.
    /// Returns the new entry, or null when none was added.
    ContextEntry* AddEntry(std::string_view file, std::string_view textKey, std::string_view original,
                           std::string_view contextTranslation, int shortcut, std::string_view itemReference);
    /// The same into a section at hand (an extraction adds every text of
    /// one script to one section).
    static ContextEntry* AddEntry(Section& section, std::string_view textKey, std::string_view original,
                                  std::string_view contextTranslation, int shortcut,
                                  std::string_view itemReference);
    /// An occurrence an extraction meets: the first makes the entry, a later
    /// one of the same text in the same resource adds its shortcut to the
    /// entry's list of occurrences (whole until CollapseOccurrences).
    static void AddOccurrence(Section& section, std::string_view textKey, std::string_view original,
                              int shortcut, std::string_view itemReference);
    /// After an extraction: the entries whose occurrences all share the
    /// first one's shortcut keep that one only.
    static void CollapseOccurrences(Section& section);
    /// The shortcut field of a record: the first occurrence's shortcut, and
    /// every occurrence's in the list when the field holds one.
    static int ReadShortcutField(std::string_view field, std::vector<std::int16_t>& occurrences);
    static void AppendShortcutField(std::string& out, const ContextEntry& entry);
    /// The file's section, created (empty, at the end) when absent.
    Section& FileSection(std::string_view file);

    /// The section of a script; the path is compared without regard to case.
    Section* FindFile(std::string_view file);
    const Section* FindFile(std::string_view file) const;
    static ContextEntry* FindEntry(Section& section, std::string_view textKey);
    static const ContextEntry* FindEntry(const Section& section, std::string_view textKey);
    /// The same, for keys looked up in the order they were added: the cursor
    /// (0 at first) remembers where the last one was found.
    static const ContextEntry* FindEntry(const Section& section, std::string_view textKey,
                                         std::size_t& cursor);
    /// Replaces an existing entry; does nothing when the key is absent.
    static void ReplaceEntry(Section& section, std::string_view textKey, ContextEntry entry);
    bool RemoveFile(std::string_view file);
    /// Removes the file's section and hands it over (empty when absent).
    Section TakeFile(std::string_view file);
    /// Puts a section taken before back in place of the file's section.
    void PutFile(std::string_view file, Section section);
    /// After a re-extraction of the file: the work the user put into the
    /// entries of its previous section comes back. An entry that is still
    /// there keeps its in-context translation, and its shortcut when it is
    /// translated; an entry that is gone hands both to the first new entry of
    /// the same original (texts that moved to another resource, for example
    /// when the script's resources were misread before).
    void CarryOver(std::string_view file, const Section& previous, const GeneralDictionary& general);

    /// The names of the file's resources that hold a text with neither a
    /// general nor an in-context translation, found in one pass over its
    /// entries: an entry belongs to every name its key starts with before a
    /// "+" (so IDD_A never takes IDD_AB's texts). An unknown file has none.
    std::unordered_set<std::string> UntranslatedResources(std::string_view file,
                                                          const GeneralDictionary& general) const;
    bool HasStringTable(std::string_view file) const;
    /// Originals of the resource's entries whose item reference equals the
    /// given one, ignoring case.
    void TextsOfItem(std::string_view file, std::string_view resourceName, std::string_view itemReference,
                     std::vector<std::string>& texts) const;
    /// Sets every positive shortcut to 0; true when any changed.
    bool ClearShortcuts();
    bool ClearShortcuts(std::string_view file, std::string_view resourceName);

    int FileCount() const { return static_cast<int>(m_files.Size()); }
    int EntryCount() const;
    const FileMap& Files() const { return m_files; }
    FileMap& Files() { return m_files; }

    /// Whether a text key belongs to the named resource. The key must begin
    /// with the name and the name must end there ("IDD_A" does not own the
    /// keys of "IDD_AB").
    static bool KeyBelongsTo(std::string_view textKey, std::string_view resourceName);

    /// Files the records of each section under the script they belong to.
    /// A record's key joins the script's path, the resource and the text with
    /// "+", and a path may hold "+" itself (a folder "Visual C++"); reading
    /// guesses the path's end, and once the list of files is known, a key
    /// that starts with a known script's path and "+" goes to that script.
    void MatchScripts(const std::vector<std::string>& sources);

    /// Reads the file at FilePath(); a large one is read by two threads, one
    /// half each, with the same result as one pass.
    bool Load(MessageReporter* reporter = nullptr);
    /// Reads the records from a file open for reading (a file or bytes in
    /// memory); false (reported) when the reading stopped early.
    bool Read(LineFile& file, MessageReporter* reporter = nullptr);
    /// The first line of the last file read that is not a whole record; 0
    /// when there is none.
    std::int64_t DamagedLine() const { return m_damagedLine; }
    bool Save(MessageReporter* reporter = nullptr) const;
    void Write(LineFile& file) const;

private:
    /// Adds the records of the lines read from the file until its end; the
    /// number is that of the line before the first. Returns the number of
    /// the last line read.
    std::int64_t ReadRecords(LineFile& file, std::int64_t number);
    /// Reads the header and the records of the file, or of its first half
    /// while another thread reads the second half (from its first line on).
    bool ReadHalves(LineFile& file, LineFile* secondHalf, MessageReporter* reporter);
    /// Adds the sections read from a later part of the file, as reading on
    /// would have added them.
    void Append(FileMap files);

    std::string m_path;
    FileMap m_files;
    std::int64_t m_damagedLine = 0;
};

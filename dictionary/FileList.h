#pragma once

#include "dictionary/OrderedMap.h"

#include <cstdint>
#include <string>
#include <string_view>

class LineFile;
class MessageReporter;
class YesNoAllQuestion;

/// The resource scripts of the project, each with its destination and the
/// stamp of its last extraction, plus the default source and destination
/// folders. Stored in the ".fil" file.
///
/// Paths keep the case they were given (they are opened as they stand on a
/// case-sensitive file system); lookups compare them without regard to case.
class FileList
{
public:
    struct Record
    {
        std::string source;
        std::string destination;
        std::string stamp; // "%d+%d" of the last extraction; empty = never
    };
    using RecordMap = OrderedMap<Record>;
    using ChangedMap = OrderedMap<Record>;

    /// askOnChange: the [General] AskExtract setting; question: who answers
    /// "The file %s has changed ..." (none = every changed file is queued).
    explicit FileList(int askOnChange = 1, YesNoAllQuestion* question = nullptr)
        : m_askOnChange(askOnChange), m_question(question)
    {
    }

    const std::string& FilePath() const { return m_path; }
    void SetFilePath(std::string path) { m_path = std::move(path); }

    const std::string& DefaultSourceFolder() const { return m_sourceFolder; }
    const std::string& DefaultDestinationFolder() const { return m_destinationFolder; }
    void SetDefaultFolders(std::string source, std::string destination)
    {
        m_sourceFolder = std::move(source);
        m_destinationFolder = std::move(destination);
    }
    /// The code pages of an 8-bit dictionary's originals and translations,
    /// kept in a third field of the folder line ("1251", or "1252/1251"
    /// when they differ), which a reader that takes two folders from that
    /// line passes over; {0, 0} when the list records none (a dictionary
    /// made before, or a Unicode one).
    std::pair<int, int> RecordedCodePages() const { return m_codePages; }
    void SetRecordedCodePages(int originals, int translations) { m_codePages = {originals, translations}; }

    /// False when the source is already in the list; else adds or replaces it.
    bool AddFile(std::string_view source, std::string_view destination, std::string_view stamp);
    bool Find(std::string_view source, std::string& destination, std::string& stamp) const;
    const Record* Find(std::string_view source) const;
    bool RemoveFile(std::string_view source);
    bool HasFiles() const { return !m_files.Empty(); }
    int FileCount() const { return static_cast<int>(m_files.Size()); }
    const RecordMap& Files() const { return m_files; }

    /// Records the file's current last-write time as its stamp, if it exists.
    void StampFile(std::string_view source);
    /// Records a last-write time as the file's stamp: the time the script
    /// had when it was opened to be read, so that a change made while it
    /// was read still counts as a change.
    void StampFile(std::string_view source, std::uint64_t writeTime);

    /// The changed-file test: queues the file for extraction when it has no
    /// stamp or was written since; may ask the question first. A version of
    /// a file that was already asked about (or queued) is not asked about
    /// again: one question per changed script. True when the file was
    /// queued by this call.
    bool CheckChanged(std::string_view source, std::string_view destination);
    int ChangedCount() const { return static_cast<int>(m_changed.Size()); }
    const ChangedMap& Changed() const { return m_changed; }
    bool IsChanged(std::string_view source) const;
    void ForgetChanged(std::string_view source);
    void ForgetAllChanged() { m_changed.Clear(); }

    int AskOnChange() const { return m_askOnChange; }
    void SetAskOnChange(int ask) { m_askOnChange = ask; }
    int LastAnswer() const { return m_lastAnswer; }
    void SetLastAnswer(int answer) { m_lastAnswer = answer; }
    void SetQuestion(YesNoAllQuestion* question) { m_question = question; }

    bool Load(MessageReporter* reporter = nullptr);
    /// Reads the records from a file open for reading (a file or bytes in
    /// memory); false (reported) when the reading stopped early.
    bool Read(LineFile& file, MessageReporter* reporter = nullptr);
    bool Save(MessageReporter* reporter = nullptr) const;
    /// The first line of the last file read that is not a whole record;
    /// 0 when there is none.
    std::int64_t DamagedLine() const { return m_damagedLine; }
    void Write(LineFile& file) const;

    /// The code pages field of the folder line ({0, 0} for anything else).
    static std::pair<int, int> ParseCodePages(std::string_view field);
    static std::string FormatCodePages(int originals, int translations);

private:
    bool CheckChanged(std::string_view source, std::string_view destination, std::string_view stamp);

    std::string m_path;
    std::string m_sourceFolder;
    std::string m_destinationFolder;
    std::pair<int, int> m_codePages{0, 0};
    std::int64_t m_damagedLine = 0;
    RecordMap m_files;
    ChangedMap m_changed;
    OrderedMap<std::uint64_t> m_seen; // lower-cased source -> the file time asked about
    int m_askOnChange;
    int m_lastAnswer = 0;
    YesNoAllQuestion* m_question;
};

#pragma once

#include "dictionary/ContextDictionary.h"
#include "dictionary/LineFile.h"
#include "dictionary/SafeFiles.h"
#include "engine/Literal.h"
#include "engine/ResourceKind.h"
#include "engine/ScriptCode.h"
#include "engine/ScriptStructure.h"
#include "engine/ScriptText.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class GeneralDictionary;
class MessageReporter;
class NotExtractedList;
class ProgressSink;
class ScriptReadAhead;

/// One text of a script as an extraction meets it.
struct ScriptTextOccurrence
{
    std::string_view resource;
    int kind = KindNone;
    std::int64_t line = 0; ///< of the statement's first line, from 1
    /// The texts that share access keys have the same group: a dialog's,
    /// the items of one pop-up menu, the titles of a menu bar.
    int group = 0;
    const DecodedLiteral* decoded = nullptr; ///< as the script writes it
    std::string_view text;                   ///< normalised, as the dictionary keys it
    int shortcut = 0;                        ///< in the normalised text
    /// The line that holds the text, as read (its statement's keyword and
    /// identifiers are there); a combo-box string's control is in decoded.
    std::string_view statement;
};

/// One resource script being processed: extraction of its texts into a
/// dictionary, generation of its translated copy, or translation of the
/// texts of one resource for a preview.
///
/// The script is walked line by line, and each line is classified as the
/// resource compiler reads it (ScanLine, through ScriptCode and
/// ScriptStructure): whether it lies in a dialog, menu, string table or
/// DLGINIT combo entry, whether that resource is excluded, whether it is a
/// CAPTION line, and whether its first literal is a text.
class ResourceScript
{
public:
    ResourceScript();
    ~ResourceScript();
    ResourceScript(const ResourceScript&) = delete;
    ResourceScript& operator=(const ResourceScript&) = delete;

    void SetGeneralDictionary(GeneralDictionary* general) { m_general = general; }
    void SetContextDictionary(ContextDictionary* context) { m_context = context; }
    /// Null means nothing is excluded.
    void SetNotExtractedList(NotExtractedList* list) { m_notExtracted = list; }
    /// Kind imposed by a preview; KindNone lets the scanner decide.
    void SetFixedKind(int kind) { m_fixedKind = kind; }
    /// Called for every text an extraction puts into the dictionaries.
    void SetOccurrenceObserver(std::function<void(const ScriptTextOccurrence&)> observer)
    {
        m_observer = std::move(observer);
    }
    void SetAllFilesBar(ProgressSink* bar)
    {
        m_allFilesBar = bar;
        m_nextProgressBytes = 0;
    }
    void SetCurrentFileBar(ProgressSink* bar)
    {
        m_currentFileBar = bar;
        m_nextProgressBytes = 0;
    }
    void SetAllFilesDivisor(std::int64_t divisor)
    {
        m_allFilesDivisor = divisor > 0 ? divisor : 1;
        m_nextProgressBytes = 0;
    }
    void SetReporter(MessageReporter* reporter);
    /// The code pages of the dictionary's originals and translations
    /// (65001 for a Unicode dictionary); scripts are read in the first.
    void SetEncodings(int originals, int translations);
    /// Whether the dictionary's code page is known for sure (recorded or
    /// chosen): generation may then write characters above ASCII as they are
    /// where the script writes its own that way.
    void SetCodePageKnown(bool known) { m_codePageKnown = known; }
    int OriginalsCodePage() const { return m_originalsCodePage; }
    int TranslationsCodePage() const { return m_translationsCodePage; }
    void ResetAllFilesBar();
    void ResetCurrentFileBar();

    /// Opens the source script; reports "Error when opening file %s".
    bool OpenSource(const std::string& path);
    /// The scripts are read ahead there, when they are opened in its order.
    void SetReadAhead(ScriptReadAhead* ahead) { m_readAhead = ahead; }
    /// The file the source script was read from (unknown for a script in
    /// memory or when none is open).
    FileIdentity SourceIdentity() const { return m_source ? m_source->Identity() : FileIdentity{}; }
    /// Takes the script from memory (the bytes must outlive the run); path
    /// names it in the dictionaries.
    void OpenSourceMemory(const std::string& path, std::string_view bytes);
    /// Writes the generated script into a string instead of a file.
    void OpenMemoryDestination(std::string* out);
    /// Opens the source and a new destination, backing up an existing
    /// destination under the extension "qv" first.
    bool OpenForGeneration(const std::string& source, const std::string& destination);

    /// Classifies one raw line. Returns whether the line may carry a text;
    /// inResource carries over from line to line.
    bool ScanLine(std::string_view line, bool& inResource, bool& isCaption, bool& isComboData);

    /// Puts every text of the script's wanted resources into the
    /// dictionaries. False (reported) when the script could not be read to
    /// its end; the dictionaries then keep what they knew of it.
    bool Extract();
    /// Writes the translated copy of the source to the destination.
    void Generate();
    /// Generation of many scripts: Close() leaves each whole new script
    /// waiting in the list instead of putting it in place, so that all are
    /// made durable at once (ReplaceAllKeepingBackups). Null: each script
    /// is put in place when it is closed.
    void SetPendingReplacements(std::vector<PendingReplacement>* pending) { m_pending = pending; }
    /// Closes both files. The generated script replaces the destination
    /// here, and only when it is whole; the old destination becomes the
    /// backup at the same moment. False when the destination could not be
    /// written (reported); the destination and its backup are then as
    /// they were.
    bool Close();

    /// The translation of a decoded text with its decorations put back; the
    /// text becomes its normalised form and the shortcut the position of the
    /// mnemonic in the result. An untranslated text comes back unchanged.
    /// found (when given) tells whether a translation was found, which it
    /// was even when it equals the original.
    std::string TranslateText(std::string& text, int& shortcut, bool* found = nullptr);
    /// The same into a string that keeps its memory from one text to the
    /// next; the text stays as it is, and its normalised form is returned
    /// (a part of the text).
    std::string_view TranslateInto(std::string_view text, int& shortcut, std::string& result,
                                   bool* found = nullptr);
    /// Where the last translation's key was asked to be (the dictionary's
    /// position, before it moved to a character that can carry it); 0 when
    /// none was.
    int LastRequestedShortcut() const { return m_requestedShortcut; }
    /// In-context translation of the current resource first, then the
    /// general one (which may be empty), or null when the text has none the
    /// script can take. The shortcut becomes the in-context entry's, if any.
    /// The translation is the dictionary's own string when the script takes
    /// its bytes as they are, else converted, holding it in the walk's
    /// encoding; either is valid until the next lookup.
    /// count: the lookup is of one occurrence of the text in the script (not
    /// a second try of the same text in another form).
    const std::string* LookupTranslation(std::string_view text, std::string& converted, int& shortcut,
                                         bool count = true);
    /// The occurrences of each text are counted again from the first (a
    /// preview translating one resource in order).
    void ResetOccurrences();

    /// Progress after a line of the given length in bytes (with its line end).
    void AdvanceProgress(std::int64_t bytes)
    {
        m_allFilesBytes += bytes;
        m_currentFileBytes += bytes;
        // A bar moves once per divisor's worth of bytes: lines in between only count.
        m_nextProgressBytes -= bytes;
        if (m_nextProgressBytes <= 0)
            MoveBars();
    }
    void MoveBars();

    const std::string& SourcePath() const { return m_sourcePath; }
    /// The script whose resources TranslateText looks up, without opening it.
    void SetSourcePath(std::string path) { m_sourcePath = std::move(path); }
    const std::string& CurrentResourceName() const { return m_resourceName; }
    void SetCurrentResourceName(std::string name)
    {
        m_resourceName = std::move(name);
        m_lookupKeyPrefix = std::string::npos;
    }
    int CurrentKind() const { return m_currentKind; }
    void SetCurrentKind(int kind) { m_currentKind = kind; }
    bool Skipping() const { return m_skipping; }

    /// The shortcut of a decoded text as a position in its normalised form.
    static int CoreShortcut(int shortcut, std::size_t leadingBlanks);

private:
    struct RawLine
    {
        std::string text;
        LineFile::LineEnd end = LineFile::LineEnd::None;
        std::string_view original; // the bytes read (in the source, open for the whole run)
        bool lossy = false;
        int codePage = 0;
    };

    template <class Handle, class PassOn>
    void Walk(Handle&& handle, PassOn&& passOn);
    std::int64_t ReadLine(std::string_view& line, bool first = false);
    /// Hands the line just read back, so that the next read returns it.
    void UnreadLine(std::string line);
    void SetUpCurrentFileBar();
    /// After a walk: false (reported) when the source could not be read to
    /// its end.
    bool SourceReadWhole();
    bool IsExcluded(std::string_view name, int kind) const;
    /// Decodes a combo-box entry from its header line, reading its data lines.
    DecodedLiteral DecodeComboData(std::string_view header);
    /// The literal of a handled line, with the lines that belong to it (a
    /// combo entry's data, a literal continued after a backslash) read too
    /// and kept in m_consumed; decoded into a literal that keeps its memory
    /// for the next line.
    DecodedLiteral& DecodeHandledLine(std::string_view line, bool isCaption, bool isComboData);
    void HandleGenerated(std::string_view line, bool isCaption, bool isComboData);
    void AddComboText(const std::string& text);
    void FindComboTranslationByBytes(std::string_view text, int& shortcut, std::string& result);
    /// The line as the walk read it: its text with its original bytes.
    RawLine CurrentPlace() const;
    /// Writes a line as it was read.
    void CopyLine(const RawLine& line);
    void CopySource(std::string_view original, LineFile::LineEnd end);
    void FlushCopies();
    /// Writes changed lines in the script's encoding; false (nothing
    /// written) when a character has no place there.
    bool WriteChanged(const std::vector<std::string>& lines, LineFile::LineEnd end, int codePage);
    /// One changed line, from its parts.
    bool WriteChangedLine(std::string_view prefix, std::string_view text, std::string_view suffix,
                          LineFile::LineEnd end, int codePage);
    /// The stored translation as the walk takes it: itself, or its
    /// conversion into converted; null when the conversion fails.
    const std::string* Working(const std::string& stored, std::string& converted) const;
    const ContextDictionary::Section* LookupSection() const;
    /// Whether the current resource is one not to extract.
    bool LookupExcluded() const;
    /// The current resource's entry of the text; count: this is the text's
    /// next occurrence, whose number goes to m_occurrence.
    const ContextEntry* EntryOf(std::string_view text, bool count);

    std::string m_sourcePath;
    std::string m_destinationPath;
    std::string m_backupPath; // empty when the destination is new
    std::string m_folderMade; // the destinations' folder, made or there
    ScriptReadAhead* m_readAhead = nullptr;
    bool m_readFailed = false;
    bool m_codePageKnown = false;
    std::unique_ptr<ScriptText> m_source;
    int m_originalsCodePage = 1252;
    int m_translationsCodePage = 1252;
    bool m_lossySkipped = false;
    // The last line read: its original bytes (when converted), state and place.
    std::string_view m_lineOriginal;
    bool m_lineLossy = false;
    int m_lineCodePage = 0;
    std::unique_ptr<LineFile> m_destination;
    GeneralDictionary* m_general = nullptr;
    ContextDictionary* m_context = nullptr;
    NotExtractedList* m_notExtracted = nullptr;
    MessageReporter* m_reporter;
    bool m_skipping = false;
    int m_fixedKind = KindNone;
    int m_currentKind = KindNone;
    ProgressSink* m_allFilesBar = nullptr;
    ProgressSink* m_currentFileBar = nullptr;
    std::int64_t m_allFilesPosition = 0;
    std::int64_t m_currentFilePosition = 0;
    std::int64_t m_allFilesDivisor = 1;
    std::int64_t m_currentFileDivisor = 1;
    std::int64_t m_allFilesBytes = 0;
    std::int64_t m_currentFileBytes = 0;
    std::int64_t m_nextProgressBytes = 0; // bytes until either bar's position changes
    std::string m_resourceName;
    LineFile::LineEnd m_lineEnd = LineFile::LineEnd::None;
    std::vector<RawLine> m_consumed; // lines read with the last handled line
    std::optional<RawLine> m_unread;
    std::string m_heldLine; // a line handed back, while it is read again
    // The run of the source's bytes copied and not yet written.
    const char* m_copyStart = nullptr;
    const char* m_copyEnd = nullptr;
    std::size_t m_endUnit = 1; // bytes of a line end's character in the script
    // Scratch of generation and lookups, kept to reuse their memory.
    std::vector<std::string> m_written;
    std::vector<std::string> m_encoded;
    std::string m_lookupKey;
    // The bytes of m_lookupKey that are the resource's name and its '+', or
    // npos when the name changed since.
    std::size_t m_lookupKeyPrefix = std::string::npos;
    std::string m_translation;
    DecodedLiteral m_decoded;
    std::string m_result;
    std::int64_t m_lineNumber = 0;
    ScriptCode m_code;
    ScriptStructure m_structure;
    // Of the last line the scanner found a text on: where its literal opens
    // (after any comment) and the group of access keys it belongs to.
    std::size_t m_textStart = 0;
    int m_textGroup = 0;
    // A literal runs on over at most this many lines; no real script comes near.
    static constexpr int kMaxJoinedLines = 10000;
    // The source's section of the context dictionary, looked up once per
    // generation run (nothing removes sections while a run goes on).
    const OrderedMap<ContextEntry>* m_runSection = nullptr;
    // Where the last text was found in each dictionary: a script is read in
    // the order its texts were added, so the next one is usually just after.
    std::size_t m_generalCursor = 0;
    std::size_t m_contextCursor = 0;
    bool m_inRun = false;
    std::function<void(const ScriptTextOccurrence&)> m_observer;
    // How many occurrences of each text with shortcuts of its own were met.
    std::unordered_map<const ContextEntry*, std::size_t> m_occurrenceCounts;
    std::size_t m_occurrence = 0;
    int m_requestedShortcut = 0;
    std::vector<PendingReplacement>* m_pending = nullptr;
};

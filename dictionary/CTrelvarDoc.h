#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

class ContextDictionary;
class DictionaryLock;
class FileList;
class GeneralDictionary;
class MessageReporter;
class NotExtractedList;
class ProgressSink;
class YesNoAllQuestion;

/// The dictionary document: the four stores of one translation project and
/// what is known about them (name, folder, default folders, what changed).
///
/// This is the UI-free half of the document; the window side adds the
/// "Dictionary" window, the recent-file list and the views.
class CTrelvarDoc
{
public:
    /// Bits of the change mask.
    enum ChangeBits : int
    {
        GeneralChanged = 1,
        ContextChanged = 2
    };

    CTrelvarDoc();
    ~CTrelvarDoc();
    CTrelvarDoc(const CTrelvarDoc&) = delete;
    CTrelvarDoc& operator=(const CTrelvarDoc&) = delete;

    /// Who hears the messages and answers the changed-file question.
    void SetReporter(MessageReporter* reporter);
    void SetQuestion(YesNoAllQuestion* question) { m_question = question; }
    /// The [General] AskExtract setting handed to every list of files loaded.
    void SetAskOnChange(int ask) { m_askOnChange = ask; }

    enum class Access
    {
        ReadWrite, ///< the dictionary is locked against other writers while open
        ReadOnly   ///< nothing is locked and nothing can be saved
    };

    /// Opens the dictionary whose ".dic" file is given: takes its lock
    /// (waiting a little for another program to let it go), completes a save
    /// that a crash interrupted, checks the three headers, then loads the
    /// four stores, stepping the bar (0..4) after each. On failure the open
    /// dictionary stays as it was; InUse() tells whether the lock was taken.
    bool OnOpenDocument(const std::string& dicPath, ProgressSink* progress = nullptr,
                        Access access = Access::ReadWrite);
    /// Saves the four files as one unit: all of them are written first, then
    /// put in place together, so that the disk holds the whole old or the
    /// whole new dictionary whatever happens. Nothing is written over a file
    /// that could not be read until ReplaceUnreadable() allows it. The
    /// document stays modified unless the save succeeded.
    bool Save();
    /// Creates the file set of a new dictionary and opens it.
    /// unicode: its texts are stored in UTF-8 (else in 8-bit code pages).
    /// codePage: the code page an 8-bit dictionary records for its texts
    /// (0: none yet; the first save records the one in use).
    bool CreateDictionary(const std::string& name, const std::string& location,
                          const std::string& sourceFolder, const std::string& destinationFolder,
                          bool unicode = false, int codePage = 0);

    /// A Unicode dictionary (marked in its .dic file) keeps every text in
    /// UTF-8; an 8-bit one keeps its originals and its translations each in
    /// one code page, 1252 unless told (the program takes them from the
    /// character sets of the dictionary's fonts). Scripts are read in the
    /// originals' encoding.
    bool IsUnicode() const;
    int OriginalsCodePage() const;
    int TranslationsCodePage() const;
    /// The code pages of an 8-bit dictionary; a Unicode one stays UTF-8.
    /// The code pages of an 8-bit dictionary's texts; record: they are
    /// known (a setting or a choice of the user's, not a default), so that
    /// the next save records them in the list of files.
    void SetEncodings(int originals, int translations, bool record = true);
    /// The code pages of 8-bit texts in the dictionary's languages (those
    /// set, whether the dictionary itself is 8-bit or Unicode): an 8-bit
    /// file imported into it is read in them.
    int EightBitOriginalsCodePage() const { return m_originalsCodePage; }
    int EightBitTranslationsCodePage() const { return m_translationsCodePage; }
    /// Whether the dictionary's list of files records its 8-bit code pages
    /// (then open uses them); a dictionary made before records none until
    /// it is saved.
    bool RecordsCodePages() const;
    /// Whether the code pages in use are known (recorded, or chosen by the
    /// user), not only assumed.
    bool CodePagesKnown() const { return m_codePagesKnown; }

    bool IsOpen() const { return m_general != nullptr; }
    const std::string& PathName() const { return m_pathName; }
    const std::string& Name() const { return m_name; }
    const std::string& Folder() const { return m_folder; }
    const std::string& DefaultSourceFolder() const { return m_sourceFolder; }
    const std::string& DefaultDestinationFolder() const { return m_destinationFolder; }
    void SetDefaultFolders(std::string source, std::string destination);

    GeneralDictionary* General() const { return m_general.get(); }
    ContextDictionary* Context() const { return m_context.get(); }
    FileList* Files() const { return m_files.get(); }
    NotExtractedList* NotExtracted() const { return m_notExtracted.get(); }

    int ChangeMask() const { return m_changeMask; }
    void SetChangeMask(int mask) { m_changeMask = mask; }
    /// Records an edit: raises the given mask bits and the modified flag.
    void MarkChanged(int bits);

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }

    /// Companion path of a ".dic" path: the same path with the extension
    /// replaced (".ent", ".fil", ".nir").
    static std::string CompanionPath(const std::string& dicPath, const char* extension);
    /// Whether the path names one of the open dictionary's own files (its
    /// four files, its journal, its lock), by what it is on the disk or, for
    /// one not there yet, by its name: an export never writes over them.
    bool IsOwnFile(const std::string& path) const;

    bool IsReadOnly() const { return m_readOnly; }
    /// Whether the last open failed because another program has the
    /// dictionary open.
    bool InUse() const { return m_inUse; }
    /// How long an open waits for another program's lock (milliseconds).
    void SetLockWait(int milliseconds) { m_lockWait = milliseconds; }
    /// Files of the open dictionary that could not be read; what the
    /// program holds of them is incomplete.
    const std::vector<std::string>& UnreadableFiles() const { return m_unreadable; }
    /// The user agrees that the next save replaces the unreadable files.
    void ReplaceUnreadable() { m_unreadable.clear(); }
    /// Closes the dictionary and lets other programs have it.
    void Close();

private:
    struct Loaded;
    bool CheckHeaders(const std::string& dic, const std::string& ent, const std::string& fil) const;
    /// Reads the four files into new stores; none when a file cannot be
    /// opened, is no dictionary file, or is damaged and the user says no.
    std::optional<Loaded> LoadFiles(const std::string& dicPath, ProgressSink* progress);
    /// Waits until no save of the dictionary is under way, completing one a
    /// crash interrupted; false (reported) when it stays under way.
    bool WaitForSaves(const std::string& dicPath);

    MessageReporter* m_reporter;
    YesNoAllQuestion* m_question = nullptr;
    int m_askOnChange = 1;
    int m_changeMask = -1;
    std::string m_pathName;
    std::string m_name;
    std::string m_folder;
    std::string m_sourceFolder;
    std::string m_destinationFolder;
    std::unique_ptr<GeneralDictionary> m_general;
    std::unique_ptr<ContextDictionary> m_context;
    std::unique_ptr<NotExtractedList> m_notExtracted;
    std::unique_ptr<FileList> m_files;
    bool m_modified = false;
    bool m_readOnly = false;
    bool m_inUse = false;
    int m_lockWait = 5000;
    int m_originalsCodePage = 1252;
    int m_translationsCodePage = 1252;
    bool m_codePagesKnown = false;
    std::vector<std::string> m_unreadable;
    std::unique_ptr<DictionaryLock> m_lock;
};

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// Puts the new files of a dictionary in place as one unit.
///
/// The four files are first written in full under temporary names. Then a
/// journal naming each temporary file and its target is written (itself
/// through a temporary file, so it exists whole or not at all), the files
/// are renamed over their targets, and the journal is removed.
///
/// The journal ("Lingorel journal 2") has a line per file: the temporary
/// file's name and the target's name in the dictionary's folder, the new
/// file's size and an FNV-1a sum of its bytes, separated by tabs; bytes of a
/// name below 32, 127 and the backslash are written "\XHH". Recovery renames
/// only when every name is one of the dictionary's four files and a
/// temporary file of the program's naming for it, and every new file is
/// whole (under its temporary name, or already renamed); else the old
/// dictionary stays and the temporary files go. Whatever
/// moment a crash or a full disk interrupts this, the next open finds the
/// whole old dictionary (no journal: the temporary files are stale and go)
/// or completes the renames the journal lists and finds the whole new one.
class DictionaryCommit
{
public:
    explicit DictionaryCommit(std::string dicPath) : m_dicPath(std::move(dicPath)) {}
    ~DictionaryCommit();
    DictionaryCommit(const DictionaryCommit&) = delete;
    DictionaryCommit& operator=(const DictionaryCommit&) = delete;

    /// A complete temporary file and the file it is to replace.
    void Add(std::string temporary, std::string target);
    /// Puts every file in place; false (reason set) when the journal could
    /// not be written (nothing changed) or a rename failed (the next open
    /// completes the commit).
    bool Commit(std::string& reason);
    /// Removes the temporary files; nothing changes.
    void Abandon();

    /// Completes a commit that a crash interrupted, if there is one. Call
    /// with the dictionary's lock held, before reading its files.
    static void Recover(const std::string& dicPath);
    static std::string JournalPath(const std::string& dicPath);
    /// One renaming a journal asks for, as read.
    struct JournalRecord
    {
        std::string temporary; // in the dictionary's folder
        std::string target;
        std::uint64_t size = 0;
        std::uint64_t sum = 0;
        bool fingerprinted = false; // a journal of the earlier layout has none
    };
    /// Reads a journal's text: false when it is not whole, or names a file
    /// that is not one of the dictionary's or a temporary file of its own.
    static bool ParseJournal(std::string_view text, const std::string& dicPath,
                             std::vector<JournalRecord>& records);

    /// The file whose writing or renaming made Commit fail.
    const std::string& FailedPath() const { return m_failedPath; }

private:
    std::string m_dicPath;
    std::string m_failedPath;
    std::vector<std::pair<std::string, std::string>> m_files;
    bool m_done = false;
};

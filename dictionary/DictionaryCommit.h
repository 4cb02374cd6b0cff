#pragma once

#include <string>
#include <utility>
#include <vector>

/// Puts the new files of a dictionary in place as one unit.
///
/// The four files are first written in full under temporary names. Then a
/// journal naming each temporary file and its target is written (itself
/// through a temporary file, so it exists whole or not at all), the files
/// are renamed over their targets, and the journal is removed. Whatever
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

private:
    std::string m_dicPath;
    std::vector<std::pair<std::string, std::string>> m_files;
    bool m_done = false;
};

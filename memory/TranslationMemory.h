#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

/// One translation the memory holds. Texts are UTF-8, as the exchange files
/// carry them ("&" marks an access key, escapes as the script writes them).
struct MemoryUnit
{
    std::string original;
    std::string translation;
    std::string context; ///< "script:resource" for a resource's own, else empty
    std::string sourceLanguage;
    std::string targetLanguage; ///< a language, or the code page ("cp1252")
};

/// A unit found for a text, with how close its original is (0..100).
struct MemoryMatch
{
    int score = 0;
    std::string original;
    std::string translation;
    std::string context;
    std::string source; ///< the dictionary or file it came from
};

struct MemoryStats
{
    std::int64_t units = 0;
    std::vector<std::pair<std::string, std::int64_t>> sources; ///< source, units
};

/// The user's translation memory: an SQLite database with a full-text
/// index of the originals. Units come from sources (a dictionary, a PO,
/// XLIFF or TMX file) and are replaced or removed a source at a time.
/// Several programs may use one memory at once: the database's own locks
/// and write-ahead log keep each change whole.
class TranslationMemory
{
public:
    ~TranslationMemory();
    TranslationMemory(const TranslationMemory&) = delete;
    TranslationMemory& operator=(const TranslationMemory&) = delete;

    /// Opens (creating when needed) the memory at path; null with the
    /// reason in error when it cannot be used (damaged, not a database,
    /// locked too long, no room).
    static std::unique_ptr<TranslationMemory> Open(const std::string& path, std::string& error);
    /// $XDG_DATA_HOME/lingorel/memory.db (~/.local/share when unset).
    static std::string DefaultPath();

    /// Makes the units of a source what is given: new ones added, changed
    /// ones updated, those no longer given removed; one transaction.
    /// False (error set) when the memory could not be written.
    bool ReplaceSource(const std::string& source, const std::vector<MemoryUnit>& units, std::string& error,
                       int* changed = nullptr);
    /// Removes every unit of a source; how many, -1 on failure.
    std::int64_t RemoveSource(const std::string& source, std::string& error);
    /// The best matches of a text, best first, exact ones first; at most
    /// limit, none under minScore; only units into targetLanguage when
    /// one is given.
    std::vector<MemoryMatch> Find(const std::string& text, int limit, int minScore = 50,
                                  const std::string& targetLanguage = {});
    /// For each text, whether the memory holds a translation of exactly
    /// that original (into targetLanguage when one is given).
    std::vector<bool> ExactlyKnown(const std::vector<std::string>& texts,
                                   const std::string& targetLanguage = {});
    MemoryStats Stats();

private:
    explicit TranslationMemory(sqlite3* db) : m_db(db) {}
    bool Execute(const char* sql, std::string& error);
    std::int64_t DocumentsWith(const std::string& word);

    sqlite3* m_db;
};

#include "memory/TranslationMemory.h"

#include "dictionary/DataFolder.h"
#include "memory/MatchScore.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sqlite3.h>
#include <unordered_map>

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS sources(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE);
CREATE TABLE IF NOT EXISTS units(
  id INTEGER PRIMARY KEY,
  source INTEGER NOT NULL REFERENCES sources(id),
  context TEXT NOT NULL DEFAULT '',
  original TEXT NOT NULL,
  original_key INTEGER NOT NULL,
  translation TEXT NOT NULL,
  source_language TEXT NOT NULL DEFAULT '',
  target_language TEXT NOT NULL DEFAULT '',
  changed INTEGER NOT NULL DEFAULT 0);
CREATE INDEX IF NOT EXISTS units_of_source ON units(source);
CREATE INDEX IF NOT EXISTS units_by_original ON units(original_key);
CREATE VIRTUAL TABLE IF NOT EXISTS units_text USING fts5(original, content='units', content_rowid='id',
  tokenize='unicode61 remove_diacritics 0');
CREATE VIRTUAL TABLE IF NOT EXISTS units_words USING fts5vocab(units_text, 'row');
-- New units are indexed by the statement that adds them, all at once: a
-- trigger indexing them one by one took five times as long. Memories made
-- before had that trigger.
DROP TRIGGER IF EXISTS units_added;
CREATE TRIGGER IF NOT EXISTS units_removed AFTER DELETE ON units BEGIN
  INSERT INTO units_text(units_text, rowid, original) VALUES ('delete', old.id, old.original);
END;
)sql";

// Candidates for close matches the index gives, before they are scored.
constexpr int kCandidates = 150;
// How many originals the words of a close search may find before ranking
// them takes longer than a keystroke.
constexpr std::int64_t kCommonWord = 2500;

// A prepared statement, finalised when it goes.
class Statement
{
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr); }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    explicit operator bool() const { return m_statement != nullptr; }
    sqlite3_stmt* get() const { return m_statement; }
    Statement& Bind(int index, const std::string& text)
    {
        sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Bind(int index, std::int64_t value)
    {
        sqlite3_bind_int64(m_statement, index, value);
        return *this;
    }
    int Step() { return sqlite3_step(m_statement); }
    void Reset()
    {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
    std::string Text(int column) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(m_statement, column)))
                    : std::string();
    }
    std::int64_t Integer(int column) const { return sqlite3_column_int64(m_statement, column); }

private:
    sqlite3_stmt* m_statement = nullptr;
};

// What the index of originals keeps of one: a hash (an index of whole
// texts would be as big as the texts).
std::int64_t OriginalKey(const std::string& original)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : original)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return static_cast<std::int64_t>(hash);
}

std::string Quoted(const std::string& word)
{
    std::string quoted = "\"";
    for (char c : word) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

TranslationMemory::~TranslationMemory()
{
    sqlite3_close_v2(m_db);
}

std::string TranslationMemory::DefaultPath()
{
    const std::string data = UserDataFolder();
    return (data.empty() ? std::string("lingorel") : data) + "/memory.db";
}

std::unique_ptr<TranslationMemory> TranslationMemory::Open(const std::string& path, std::string& error)
{
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        error = db ? sqlite3_errmsg(db) : "cannot open";
        sqlite3_close_v2(db);
        return nullptr;
    }
    // Another program writing waits its turn rather than failing.
    sqlite3_busy_timeout(db, 10000);
    std::unique_ptr<TranslationMemory> memory(new TranslationMemory(db));
    // The index merges its segments when they pile up rather than after
    // every few inserts: adding a large source is then much quicker.
    const char* tuning = "INSERT INTO units_text(units_text, rank) VALUES ('automerge', 0);"
                         "INSERT INTO units_text(units_text, rank) VALUES ('crisismerge', 64);";
    if (!memory->Execute("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA cache_size=-65536;",
                         error) ||
        !memory->Execute(kSchema, error) || !memory->Execute(tuning, error)) {
        error = "the translation memory " + path + " cannot be used: " + error;
        return nullptr;
    }
    return memory;
}

bool TranslationMemory::Execute(const char* sql, std::string& error)
{
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error = message ? message : sqlite3_errmsg(m_db);
    sqlite3_free(message);
    return false;
}

bool TranslationMemory::ReplaceSource(const std::string& source, const std::vector<MemoryUnit>& units,
                                      std::string& error, int* changed)
{
    if (changed)
        *changed = 0;
    if (!Execute("BEGIN IMMEDIATE", error))
        return false;
    bool ok = true;
    {
        Statement name(m_db,
                       "INSERT INTO sources(name) VALUES (?) ON CONFLICT(name) DO UPDATE SET name = name "
                       "RETURNING id");
        name.Bind(1, source);
        const std::int64_t sourceId = name.Step() == SQLITE_ROW ? name.Integer(0) : -1;
        name.Reset();
        ok = sourceId >= 0;
        // What the source holds now, by context and original: the unit's
        // id, and its translation with its languages.
        const auto value = [](const std::string& translation, const std::string& from,
                              const std::string& to) { return translation + '\n' + from + '\n' + to; };
        std::unordered_map<std::string, std::pair<std::int64_t, std::string>> held;
        Statement select(m_db, "SELECT id, context, original, translation, source_language, target_language "
                               "FROM units WHERE source = ?");
        select.Bind(1, sourceId);
        while (select.Step() == SQLITE_ROW)
            held.emplace(
                select.Text(1) + '\n' + select.Text(2),
                std::make_pair(select.Integer(0), value(select.Text(3), select.Text(4), select.Text(5))));
        // The units added get ids above every one there is: they are indexed
        // together after the loop.
        Statement last(m_db, "SELECT COALESCE(MAX(id), 0) FROM units");
        const std::int64_t lastBefore = last.Step() == SQLITE_ROW ? last.Integer(0) : 0;
        Statement insert(m_db, "INSERT INTO units(source, context, original, original_key, translation, "
                               "source_language, target_language, changed) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        Statement update(m_db, "UPDATE units SET translation = ?, source_language = ?, target_language = ?, "
                               "changed = ? WHERE id = ?");
        Statement remove(m_db, "DELETE FROM units WHERE id = ?");
        const std::int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                                     std::chrono::system_clock::now().time_since_epoch())
                                     .count();
        std::set<std::int64_t> kept;
        int count = 0;
        for (const MemoryUnit& unit : units) {
            if (!ok)
                break;
            if (unit.original.empty() || unit.translation.empty())
                continue;
            const auto found = held.find(unit.context + '\n' + unit.original);
            const std::string given = value(unit.translation, unit.sourceLanguage, unit.targetLanguage);
            if (found != held.end()) {
                if (!kept.insert(found->second.first).second || found->second.second == given)
                    continue;
                update.Bind(1, unit.translation).Bind(2, unit.sourceLanguage).Bind(3, unit.targetLanguage);
                update.Bind(4, now).Bind(5, found->second.first);
                ok = update.Step() == SQLITE_DONE;
                update.Reset();
                found->second.second = given;
            } else {
                insert.Bind(1, sourceId).Bind(2, unit.context).Bind(3, unit.original);
                insert.Bind(4, OriginalKey(unit.original)).Bind(5, unit.translation);
                insert.Bind(6, unit.sourceLanguage).Bind(7, unit.targetLanguage).Bind(8, now);
                ok = insert.Step() == SQLITE_DONE;
                if (ok)
                    held.emplace(unit.context + '\n' + unit.original,
                                 std::make_pair(sqlite3_last_insert_rowid(m_db), given));
                if (ok)
                    kept.insert(sqlite3_last_insert_rowid(m_db));
                insert.Reset();
            }
            ++count;
            if (!ok)
                break;
        }
        if (ok) {
            Statement index(m_db, "INSERT INTO units_text(rowid, original) SELECT id, original FROM units "
                                  "WHERE id > ? AND source = ?");
            index.Bind(1, lastBefore).Bind(2, sourceId);
            ok = index.Step() == SQLITE_DONE;
        }
        for (const auto& [key, unit] : held) {
            if (!ok || kept.count(unit.first) != 0)
                continue;
            remove.Bind(1, unit.first);
            ok = remove.Step() == SQLITE_DONE;
            remove.Reset();
            ++count;
        }
        if (!ok)
            error = sqlite3_errmsg(m_db);
        if (changed)
            *changed = count;
    }
    std::string ignored;
    if (!ok) {
        Execute("ROLLBACK", ignored);
        return false;
    }
    return Execute("COMMIT", error);
}

std::int64_t TranslationMemory::RemoveSource(const std::string& source, std::string& error)
{
    Statement remove(m_db, "DELETE FROM units WHERE source = (SELECT id FROM sources WHERE name = ?)");
    remove.Bind(1, source);
    if (remove.Step() != SQLITE_DONE) {
        error = sqlite3_errmsg(m_db);
        return -1;
    }
    const std::int64_t removed = sqlite3_changes64(m_db);
    Statement forget(m_db, "DELETE FROM sources WHERE name = ?");
    forget.Bind(1, source);
    forget.Step();
    return removed;
}

std::int64_t TranslationMemory::DocumentsWith(const std::string& word)
{
    Statement count(m_db, "SELECT doc FROM units_words WHERE term = ?");
    count.Bind(1, word);
    return count.Step() == SQLITE_ROW ? count.Integer(0) : 0;
}

std::vector<bool> TranslationMemory::ExactlyKnown(const std::vector<std::string>& texts,
                                                  const std::string& targetLanguage)
{
    std::vector<bool> known(texts.size(), false);
    Statement exact(m_db, "SELECT 1 FROM units WHERE original_key = ? AND original = ? AND translation <> '' "
                          "AND (? = '' OR target_language = ?) LIMIT 1");
    for (std::size_t i = 0; i < texts.size(); ++i) {
        exact.Bind(1, OriginalKey(texts[i]))
            .Bind(2, texts[i])
            .Bind(3, targetLanguage)
            .Bind(4, targetLanguage);
        known[i] = exact.Step() == SQLITE_ROW;
        exact.Reset();
    }
    return known;
}

std::vector<MemoryMatch> TranslationMemory::Find(const std::string& text, int limit, int minScore,
                                                 const std::string& targetLanguage)
{
    std::vector<MemoryMatch> matches;
    std::set<std::int64_t> seen;
    const auto take = [&](Statement& rows) {
        while (rows.Step() == SQLITE_ROW) {
            if (!seen.insert(rows.Integer(0)).second ||
                (!targetLanguage.empty() && rows.Text(5) != targetLanguage))
                continue;
            MemoryMatch match;
            match.original = rows.Text(1);
            match.score = MatchScore(text, match.original);
            if (match.score < minScore)
                continue;
            match.translation = rows.Text(2);
            match.context = rows.Text(3);
            match.source = rows.Text(4);
            matches.push_back(std::move(match));
        }
    };
    Statement exact(m_db, "SELECT units.id, original, translation, context, sources.name, target_language "
                          "FROM units JOIN sources ON sources.id = units.source "
                          "WHERE original_key = ? AND original = ?");
    exact.Bind(1, OriginalKey(text)).Bind(2, text);
    take(exact);
    if (minScore < 100) {
        // The rarest words of the text find the candidates; the score
        // then orders them.
        std::vector<std::pair<std::int64_t, std::string>> words;
        std::set<std::string> distinct;
        for (std::string& word : IndexWords(text)) {
            if (distinct.insert(word).second)
                words.emplace_back(DocumentsWith(word), std::move(word));
        }
        std::sort(words.begin(), words.end());
        // A long word finds its other forms by its beginning ("cancels",
        // "cancelled" by "cance").
        const auto term = [](const std::string& word) {
            const bool ascii = std::all_of(word.begin(), word.end(), [](char c) { return (c & 0x80) == 0; });
            return ascii && word.size() >= 5
                       ? Quoted(word.substr(0, std::max<std::size_t>(4, word.size() - 2))) + '*'
                       : Quoted(word);
        };
        // Texts that share one of the rarest words; when even the rarest is
        // everywhere ("the", "to"), texts that share all of them, which are
        // few: ranking what a common word finds would take long.
        std::string query;
        const bool common = !words.empty() && words.front().first > kCommonWord;
        std::int64_t found = 0;
        for (std::size_t i = 0; i < words.size() && i < (common ? 6 : 4); ++i) {
            found += words[i].first;
            if (!common && i > 0 && found > kCommonWord)
                break;
            query += (query.empty() ? "" : common ? " AND " : " OR ") + term(words[i].second);
        }
        if (!query.empty()) {
            Statement close(
                m_db, "SELECT units.id, units.original, units.translation, units.context, sources.name, "
                      "units.target_language "
                      "FROM units JOIN sources ON sources.id = units.source WHERE units.id IN (SELECT rowid "
                      "FROM units_text "
                      "WHERE units_text MATCH ? ORDER BY rank LIMIT ?)");
            close.Bind(1, query).Bind(2, static_cast<std::int64_t>(kCandidates));
            take(close);
        }
    }
    std::stable_sort(matches.begin(), matches.end(), [](const MemoryMatch& a, const MemoryMatch& b) {
        // A general translation before a resource's own of the same score.
        return a.score != b.score ? a.score > b.score : a.context.empty() && !b.context.empty();
    });
    if (matches.size() > static_cast<std::size_t>(std::max(limit, 0)))
        matches.resize(static_cast<std::size_t>(std::max(limit, 0)));
    return matches;
}

MemoryStats TranslationMemory::Stats()
{
    MemoryStats stats;
    Statement sources(m_db,
                      "SELECT sources.name, COUNT(*) FROM units JOIN sources ON sources.id = units.source "
                      "GROUP BY units.source ORDER BY sources.name");
    while (sources.Step() == SQLITE_ROW) {
        stats.sources.emplace_back(sources.Text(0), sources.Integer(1));
        stats.units += sources.Integer(1);
    }
    return stats;
}
